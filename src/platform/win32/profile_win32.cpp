// Profile files through the kernel32 profile functions.
#include <windows.h>

#include <vector>

#include "platform/profile_text.h"
#include "platform/win32/code_page_win32.h"
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
    explicit Win32ProfileFiles(Files& files) : files_(files) {}

    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def) override {
        std::string text;
        if (legacyText(file, text))
            return profile_text::readString(&text, section, key, def, kProfileBufferSize);
        char buffer[kProfileBufferSize] = {};
        DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                                sizeof buffer, fullPath(file).c_str());
        if (length >= sizeof buffer) length = sizeof buffer - 1;
        return std::string(buffer, length);
    }

    int readInt(const std::string& file, const std::string& section, const std::string& key,
                int def) override {
        std::string text;
        if (legacyText(file, text)) return profile_text::readInt(&text, section, key, def);
        return static_cast<int>(
            GetPrivateProfileIntA(section.c_str(), key.c_str(), def, fullPath(file).c_str()));
    }

    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        // The file becomes UTF-8 first, so the profile function rewrites
        // text it has read correctly.
        std::string text;
        if (legacyText(file, text) && !files_.writeFileAtomic(file, text)) return false;
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                          fullPath(file).c_str()) != FALSE;
    }

private:
    // Under a UTF-8 code page the profile functions read a file without a
    // byte-order mark as UTF-8: the names of a file in the legacy code page
    // would come back as U+FFFD, and a write would store those for good.
    // Such a file is decoded and parsed here instead. True, with the decoded
    // text, only for such a file.
    bool legacyText(const std::string& file, std::string& text) {
        std::string bytes;
        if (!ActiveCodePageIsUtf8() || !files_.readFile(file, bytes)) return false;
        text = files_.storedText(bytes);
        return text != bytes;
    }

    Files& files_;
};

}  // namespace

std::unique_ptr<ProfileFiles> createProfileFiles(Files& files) {
    return std::make_unique<Win32ProfileFiles>(files);
}

}  // namespace cindral::platform::win32
