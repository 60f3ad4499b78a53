// Clock, system version, the program's own path and the text rules of the
// system code page.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace cindral::platform {

// GetVersionEx platform ids.
constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWin9x = 1;
constexpr std::uint32_t kPlatformNt = 2;

struct SystemVersion {
    std::uint32_t platformId = 0xFFFFFFFF;  // anything else than the three above: unknown
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

class System {
public:
    virtual ~System() = default;

    virtual SystemTime localTime() = 0;   // GetLocalTime
    virtual SystemVersion version() = 0;  // GetVersionEx
    // Full path of the running executable (GetModuleFileName).
    virtual std::string executablePath() = 0;

    // Upper and lower case by the rules of the system's 8-bit code page
    // (CharUpperBuffA / CharLowerBuffA). Where the code page is UTF-8 only
    // ASCII letters change, so multi-byte names are never corrupted and the
    // length never changes.
    virtual std::string upperCase(const std::string& text) = 0;
    virtual std::string lowerCase(const std::string& text) = 0;
    // Negative, zero or positive, comparing without regard to case in the
    // user's locale (lstrcmpiA).
    virtual int compareNoCase(const std::string& a, const std::string& b) = 0;
    // The user's decimal separator (GetLocaleInfo LOCALE_SDECIMAL).
    virtual std::string decimalSeparator() = 0;
};

}  // namespace cindral::platform
