// Profile (INI) files on Linux: the Windows profile-file rules of
// platform/profile_text.h applied to files reached through the Files service
// (so the paths are Windows paths mapped by its drive map). Every call reads
// the file afresh; a write replaces the whole file atomically.
#pragma once

#include <mutex>
#include <string>

#include "platform/files.h"
#include "platform/profile.h"

namespace cindral::platform {

class PosixProfileFiles : public ProfileFiles {
public:
    explicit PosixProfileFiles(Files& files);

    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def) override;
    int readInt(const std::string& file, const std::string& section, const std::string& key,
                int def) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    Files& files_;
    // Serialises read-modify-write cycles of this process, as the Win32
    // functions do; another process writing the same file at the same moment
    // can still lose one of the two updates, as on Windows.
    std::mutex mutex_;
};

}  // namespace cindral::platform
