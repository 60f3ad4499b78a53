// Clock, version, executable path and text rules on Linux.
#pragma once

#include <string>

#include "platform/system.h"

namespace cindral::platform {

class PosixFiles;

class PosixSystem : public System {
public:
    // `files` names the executable in Windows terms through its drive map.
    explicit PosixSystem(const PosixFiles& files);

    SystemTime localTime() override;
    // Platform id 0xFFFFFFFF (none of the Windows families, so the program
    // shows "Unknown Operating System"); major and minor are the kernel's.
    SystemVersion version() override;
    // /proc/self/exe as a Windows path; empty when no drive holds it.
    std::string executablePath() override;

    // Names are UTF-8 here, so only ASCII letters change case: a multi-byte
    // character is never split or altered.
    std::string upperCase(const std::string& text) override;
    std::string lowerCase(const std::string& text) override;
    // ASCII letters compared as lower case, every other byte by its value
    // (lstrcmpi's word sort of punctuation is not reproduced: only the order
    // of letters, digits and the case-blindness are the same).
    int compareNoCase(const std::string& a, const std::string& b) override;
    // The radix character of the user's LC_NUMERIC locale (from the
    // environment, without touching the process locale); "." when none.
    std::string decimalSeparator() override;

private:
    const PosixFiles& files_;
};

}  // namespace cindral::platform
