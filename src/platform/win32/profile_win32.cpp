// Profile files through the kernel32 profile functions.
#include <windows.h>

#include <vector>

#include "platform/win32/win32_backends.h"

namespace cindral::platform::win32 {
namespace {

// The profile functions look for a bare file name in the Windows folder, not
// in the current one. The program always means a file of its own, so the
// name is made a full path first.
std::string fullPath(const std::string& file) {
    DWORD needed = GetFullPathNameA(file.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return file;
    std::vector<char> buffer(needed + 1);
    DWORD got = GetFullPathNameA(file.c_str(), needed + 1, buffer.data(), nullptr);
    if (got == 0 || got > needed) return file;
    return std::string(buffer.data(), got);
}

class Win32ProfileFiles : public ProfileFiles {
public:
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def) override {
        char buffer[kProfileBufferSize] = {};
        DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                                sizeof buffer, fullPath(file).c_str());
        if (length >= sizeof buffer) length = sizeof buffer - 1;
        return std::string(buffer, length);
    }

    int readInt(const std::string& file, const std::string& section, const std::string& key,
                int def) override {
        return static_cast<int>(
            GetPrivateProfileIntA(section.c_str(), key.c_str(), def, fullPath(file).c_str()));
    }

    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                          fullPath(file).c_str()) != FALSE;
    }
};

}  // namespace

std::unique_ptr<ProfileFiles> createProfileFiles() { return std::make_unique<Win32ProfileFiles>(); }

}  // namespace cindral::platform::win32
