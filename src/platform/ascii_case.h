// Case folding of ASCII letters only, as the registry and profile files
// compare names: other bytes, whatever the code page, compare as they are.
#pragma once

#include <cstddef>
#include <string>

namespace cindral::platform {

inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline bool equalAsciiNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

}  // namespace cindral::platform
