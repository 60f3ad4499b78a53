#include "platform/win32/find_first_win32.h"

#include <atomic>

namespace cindral::platform::win32 {

HANDLE findFirstFile(const std::string& pattern, WIN32_FIND_DATAA& data) {
    // Spelled out: the headers offer these only to programs that need
    // Windows 7.
    constexpr auto kInfoBasic = static_cast<FINDEX_INFO_LEVELS>(1);  // FindExInfoBasic
    constexpr DWORD kLargeFetch = 2;                                 // FIND_FIRST_EX_LARGE_FETCH
    static std::atomic<bool> plainOnly{false};
    if (!plainOnly.load(std::memory_order_relaxed)) {
        HANDLE find = FindFirstFileExA(pattern.c_str(), kInfoBasic, &data, FindExSearchNameMatch,
                                       nullptr, kLargeFetch);
        if (find != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return find;
        plainOnly.store(true, std::memory_order_relaxed);
    }
    return FindFirstFileA(pattern.c_str(), &data);
}

}  // namespace cindral::platform::win32
