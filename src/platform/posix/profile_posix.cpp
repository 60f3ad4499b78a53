#include "platform/posix/profile_posix.h"

#include "platform/profile_text.h"

namespace cindral::platform {

PosixProfileFiles::PosixProfileFiles(Files& files) : files_(files) {}

std::string PosixProfileFiles::readString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& def) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string bytes;
    const bool exists = files_.readTextFile(file, bytes);
    return profile_text::readString(exists ? &bytes : nullptr, section, key, def,
                                    kProfileBufferSize);
}

int PosixProfileFiles::readInt(const std::string& file, const std::string& section,
                               const std::string& key, int def) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string bytes;
    const bool exists = files_.readTextFile(file, bytes);
    return profile_text::readInt(exists ? &bytes : nullptr, section, key, def);
}

bool PosixProfileFiles::writeString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string bytes;
    const bool exists = files_.readTextFile(file, bytes);
    // A file that exists but cannot be read must not be replaced by one
    // holding only the new key.
    if (!exists && files_.fileExists(file)) return false;
    bool changed = false;
    const std::string updated =
        profile_text::writeString(exists ? &bytes : nullptr, section, key, value, changed);
    if (!changed) return true;
    return files_.writeFileAtomic(file, updated);
}

}  // namespace cindral::platform
