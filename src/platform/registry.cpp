#include "platform/registry.h"

#include <cstring>

namespace cindral::platform {

RegKey openOrCreateKey(Registry& reg, RootKey root, const std::string& path) {
    return reg.createKey(reg.root(root), path);
}

static std::string withoutLeadingBackslash(const std::string& path) {
    if (!path.empty() && path[0] == '\\') return path.substr(1);
    return path;
}

RegKey openKeyForReading(Registry& reg, RootKey root, const std::string& path) {
    return reg.openKey(reg.root(root), withoutLeadingBackslash(path), kKeyRead);
}

RegKey openKeyForReadingWithFallbacks(Registry& reg, RootKey root, const std::string& path) {
    const std::string p = withoutLeadingBackslash(path);
    for (std::uint32_t access : {kKeyRead, kKeyQueryEnumerate, kKeyQueryValue}) {
        RegKey key = reg.openKey(reg.root(root), p, access);
        if (key != kNoKey) return key;
    }
    return kNoKey;
}

std::uint32_t readNumber(Registry& reg, RegKey key, const std::string& name, std::uint32_t def) {
    if (key == kNoKey) return def;
    RegValue v;
    if (!reg.queryValue(key, name, v) || v.type != kRegDword || v.data.size() != 4) return def;
    std::uint32_t n = 0;
    const auto* b = reinterpret_cast<const unsigned char*>(v.data.data());
    n = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
        (std::uint32_t(b[3]) << 24);
    return n;
}

std::string readText(Registry& reg, RegKey key, const std::string& name, const std::string& def) {
    if (key == kNoKey) return def;
    RegValue v;
    if (!reg.queryValue(key, name, v) || v.type != kRegSz) return def;
    const auto nul = v.data.find('\0');
    return nul == std::string::npos ? v.data : v.data.substr(0, nul);
}

bool writeNumber(Registry& reg, RegKey key, const std::string& name, std::uint32_t value) {
    if (key == kNoKey) return false;
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = char((value >> (8 * i)) & 0xFF);
    return reg.setValue(key, name, kRegDword, data);
}

bool writeText(Registry& reg, RegKey key, const std::string& name, const std::string& value) {
    if (key == kNoKey) return false;
    std::string data = value;
    data.push_back('\0');
    return reg.setValue(key, name, kRegSz, data);
}

bool valueExists(Registry& reg, RegKey key, const std::string& name) {
    if (key == kNoKey) return false;
    RegValue v;
    return reg.queryValue(key, name, v);
}

}  // namespace cindral::platform
