// Profile (INI) files with the semantics of GetPrivateProfileStringA,
// GetPrivateProfileIntA and WritePrivateProfileStringA: section and key names
// compared without regard to case, values trimmed of blanks, at most 2047
// characters read (the program always reads into a 2048-byte buffer).
#pragma once

#include <string>

namespace cindral::platform {

constexpr std::size_t kProfileBufferSize = 2048;

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;

    // GetPrivateProfileStringA into a 2048-byte buffer: the value (at most
    // 2047 characters), or the default when file, section or key is missing.
    virtual std::string readString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& def) = 0;
    // GetPrivateProfileIntA.
    virtual int readInt(const std::string& file, const std::string& section, const std::string& key,
                        int def) = 0;
    // WritePrivateProfileStringA: replaces an existing key in place, appends a
    // new key to its section and a new section to the file, creates the file.
    virtual bool writeString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

}  // namespace cindral::platform
