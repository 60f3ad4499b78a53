#include "engine/file_mask.h"

#include <gtest/gtest.h>

#include <string>

namespace cindral::engine {
namespace {

TEST(FileMask, MatchesWholeNamesWithWildcardsSetsAndCase) {
    struct Row {
        const char* mask;
        const char* name;
        bool expected;
    } rows[] = {
        {"*.tmp", "a.tmp", true},  {"*.TMP", "B.Tmp", true},     {"*.tmp", "a.tmp.bak", false},
        {"*.tmp", ".tmp", true},   {"*.*", "README", false},     {"*.*", "a.", true},
        {"*", "", true},           {"", "", true},               {"", "a", false},
        {"?", "", false},          {"?", "ab", false},           {"file?.txt", "file.txt", false},
        {"a*b*c", "abcabc", true}, {"a*b*c", "abcab", false},    {"*ab", "aaab", true},
        {"[a-c]x", "Bx", true},    {"[A-C]x", "bx", true},       {"[a-c]x", "dx", false},
        {"[!a-c]x", "dx", true},   {"[!a-c]x", "Ax", false},     {"[z-a]", "m", false},
        {"[a-]", "-", true},  // a "-" closing a set is itself
        {"[]x", "x", false},  // an empty set matches no character
        {"[*]", "*", true},        {"[*]", "a", false},  // "*" in a set is a plain character
        {"~*.*", "~WRL0001.tmp", true}, {"~*.*", "x~a.b", false},
        // Only ASCII letters fold: a UTF-8 lead byte must never change.
        {"\xC3\x89*", "\xC3\x89t\xC3\xA9", true}, {"\xC3\x89*", "\xC3\xA9t\xC3\xA9", false},
    };
    const CaseFold fold;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("mask ") + r.mask + " name " + r.name);
        FileMask m(r.mask, fold);
        ASSERT_TRUE(m.valid());
        EXPECT_EQ(m.matches(r.name), r.expected);
    }
}

TEST(FileMask, RefusesBrokenSyntaxAndThenMatchesNothing) {
    const CaseFold fold;
    for (const char* bad : {"[abc", "x[", "[!", "[-a]", "[!-a]", "a[b-]c[", "[a-c-e]"}) {
        SCOPED_TRACE(bad);
        FileMask m(bad, fold);
        EXPECT_FALSE(m.valid());
        EXPECT_FALSE(m.matches("abc"));
        EXPECT_FALSE(m.matches(""));
    }
    EXPECT_TRUE(FileMask(std::string(30, '*'), fold).valid());
    EXPECT_FALSE(FileMask(std::string(31, '*'), fold).valid());
    // Stars inside a set are characters, not wildcards.
    EXPECT_TRUE(FileMask(std::string(30, '*') + "[" + std::string(5, '*') + "]", fold).valid());
}

TEST(FileMask, ManyStarsOnALongNameStayFast) {
    // A backtracking matcher without the last-star rule takes exponential
    // time here; the test finishes at once or not at all.
    FileMask m("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", CaseFold());
    ASSERT_TRUE(m.valid());
    EXPECT_FALSE(m.matches(std::string(2000, 'a')));
}

}  // namespace
}  // namespace cindral::engine
