// The profile text rules: a section, a key and a value, then the file.
#include "platform/profile_text.h"

#include <cctype>
#include <cstdlib>

#include "fuzz_platform.h"
#include "platform/profile.h"

namespace {

bool plainName(const std::string& name) {
    if (name.empty()) return false;
    for (unsigned char c : name)
        if (!std::isalnum(c) && c != '_' && c != '.') return false;
    return true;
}

bool plainValue(const std::string& value) {
    if (value.empty() || value.size() >= cindral::platform::kProfileBufferSize) return false;
    for (unsigned char c : value)
        if (c <= ' ' || c >= 0x7f || c == '"' || c == '\'') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral::platform;
    const auto parts = cindral::fuzz::splitInput(data, size, 4);
    const std::string& section = parts[0];
    const std::string& key = parts[1];
    const std::string& value = parts[2];
    const std::string& file = parts[3];
    profile_text::readString(&file, section, key, "default", kProfileBufferSize);
    profile_text::readInt(&file, section, key, 7);
    profile_text::profileTextToInt(value);
    bool changed = false;
    const std::string written = profile_text::writeString(&file, section, key, value, changed);
    // Whatever the file held before, a plain value written under plain names
    // reads back as written.
    if (plainName(section) && plainName(key) && plainValue(value) &&
        profile_text::readString(&written, section, key, "", kProfileBufferSize) != value)
        std::abort();
    return 0;
}
