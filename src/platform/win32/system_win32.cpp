// Clock, version, module path and the code page's text rules.
#include <windows.h>

#include <vector>

#include "platform/ascii_case.h"
#include "platform/win32/code_page_win32.h"
#include "platform/win32/system_time_win32.h"
#include "platform/win32/win32_backends.h"

namespace cindral::platform::win32 {
namespace {

class Win32System : public System {
public:
    SystemTime localTime() override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return fromSystemTime(st);
    }

    SystemVersion version() override {
        SystemVersion v;
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;
        if (!GetVersionExA(&info)) return v;
        v.platformId = info.dwPlatformId;
        v.major = info.dwMajorVersion;
        v.minor = info.dwMinorVersion;
        return v;
    }

    std::string executablePath() override {
        // GetModuleFileName truncates silently when the buffer is too small;
        // a result that fills the whole buffer is asked again with more room.
        for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
            std::vector<char> buffer(size);
            const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
            if (length == 0) return std::string();
            if (length < size) return std::string(buffer.data(), length);
        }
        return std::string();
    }

    // Under a UTF-8 code page CharUpperBuffA and CharLowerBuffA change some
    // multi-byte letters too (Wine: "é" to "É"), in place, so a letter whose
    // other case has another length cannot come out whole; and file masks
    // fold byte by byte, so an upper-cased template name would stop matching
    // the very file it names. Only ASCII letters change there.
    std::string upperCase(const std::string& text) override {
        std::string copy = text;
        if (ActiveCodePageIsUtf8()) {
            for (char& c : copy)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        } else if (!copy.empty()) {
            CharUpperBuffA(&copy[0], static_cast<DWORD>(copy.size()));
        }
        return copy;
    }

    std::string lowerCase(const std::string& text) override {
        std::string copy = text;
        if (ActiveCodePageIsUtf8()) {
            for (char& c : copy) c = asciiLower(c);
        } else if (!copy.empty()) {
            CharLowerBuffA(&copy[0], static_cast<DWORD>(copy.size()));
        }
        return copy;
    }

    int compareNoCase(const std::string& a, const std::string& b) override {
        return lstrcmpiA(a.c_str(), b.c_str());
    }

    std::string decimalSeparator() override {
        char buffer[16] = {};
        const int length =
            GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
        if (length <= 1) return ".";
        return std::string(buffer, length - 1);
    }
};

}  // namespace

std::unique_ptr<System> createSystem() { return std::make_unique<Win32System>(); }

}  // namespace cindral::platform::win32
