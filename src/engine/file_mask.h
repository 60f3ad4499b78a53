// Name masks of the folder walker: "*" any run of characters (the empty run
// included), "?" exactly one character, "[a-z0-9_]" one character of a set
// with ranges, "[!...]" one character not in the set; every other character
// matches itself, letters without regard to case. The whole name must match;
// "*.*" has no special meaning, so it needs a "." in the name.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"

namespace cindral::engine {

// Lower-case mapping of every 8-bit character, taken once from the system's
// rules so that matching a name costs no call into the platform.
class CaseFold {
public:
    CaseFold();  // ASCII letters only
    explicit CaseFold(platform::System& sys);
    unsigned char operator()(unsigned char c) const { return table_[c]; }

private:
    std::array<unsigned char, 256> table_{};
};

class FileMask {
public:
    // Masks with more "*" than this are refused.
    static constexpr int kMaxStars = 30;

    FileMask() = default;
    FileMask(const std::string& mask, const CaseFold& fold);

    // False for an unclosed "[", a "-" with nothing before it in a set, or
    // more than kMaxStars "*". An invalid mask matches nothing.
    bool valid() const { return valid_; }
    bool matches(const std::string& name) const;

private:
    enum class Kind : std::uint8_t { Literal, AnyOne, Star, Set };
    struct Token {
        Kind kind;
        unsigned char ch;   // Literal: the folded character
        std::uint16_t set;  // Set: index into sets_
    };
    bool one(const Token& t, unsigned char c) const;

    bool valid_ = false;
    std::vector<Token> tokens_;
    std::vector<std::bitset<256>> sets_;  // folded members; negation already applied
    CaseFold fold_;
};

}  // namespace cindral::engine
