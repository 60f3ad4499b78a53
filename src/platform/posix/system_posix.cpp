#include "platform/posix/system_posix.h"

#include <langinfo.h>
#include <locale.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/posix/files_posix.h"

namespace cindral::platform {
namespace {

unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
unsigned char upperAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

}  // namespace

PosixSystem::PosixSystem(const PosixFiles& files) : files_(files) {}

SystemTime PosixSystem::localTime() {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    struct tm tm;
    SystemTime t;
    if (!::localtime_r(&now.tv_sec, &tm)) return t;
    t.year = static_cast<std::uint16_t>(tm.tm_year + 1900);
    t.month = static_cast<std::uint16_t>(tm.tm_mon + 1);
    t.dayOfWeek = static_cast<std::uint16_t>(tm.tm_wday);
    t.day = static_cast<std::uint16_t>(tm.tm_mday);
    t.hour = static_cast<std::uint16_t>(tm.tm_hour);
    t.minute = static_cast<std::uint16_t>(tm.tm_min);
    // A leap second (60) does not exist in SYSTEMTIME.
    t.second = static_cast<std::uint16_t>(tm.tm_sec > 59 ? 59 : tm.tm_sec);
    t.milliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
    return t;
}

SystemVersion PosixSystem::version() {
    SystemVersion v;
    v.platformId = 0xFFFFFFFF;
    struct utsname name;
    if (::uname(&name) == 0) {
        char* end = nullptr;
        v.major = static_cast<std::uint32_t>(std::strtoul(name.release, &end, 10));
        if (end && *end == '.')
            v.minor = static_cast<std::uint32_t>(std::strtoul(end + 1, nullptr, 10));
    }
    return v;
}

std::string PosixSystem::executablePath() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::string();
        if (static_cast<std::size_t>(n) < buffer.size())
            return files_.toWindowsPath(std::string(buffer.data(), static_cast<std::size_t>(n)));
        if (buffer.size() >= (1u << 20)) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

std::string PosixSystem::upperCase(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(upperAscii(static_cast<unsigned char>(c)));
    return out;
}

std::string PosixSystem::lowerCase(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(lowerAscii(static_cast<unsigned char>(c)));
    return out;
}

int PosixSystem::compareNoCase(const std::string& a, const std::string& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int x = lowerAscii(static_cast<unsigned char>(a[i]));
        const int y = lowerAscii(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string PosixSystem::decimalSeparator() {
    locale_t locale = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return ".";
    const char* radix = ::nl_langinfo_l(RADIXCHAR, locale);
    std::string separator = (radix && *radix) ? radix : ".";
    ::freelocale(locale);
    return separator;
}

}  // namespace cindral::platform
