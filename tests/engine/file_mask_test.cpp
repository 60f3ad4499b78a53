#include "engine/file_mask.h"

#include <gtest/gtest.h>

#include <string>

namespace cindral::engine {
namespace {

struct MatchRow {
    const char* mask;
    const char* name;
    bool expected;
};

TEST(FileMask, MatchesWholeNamesWithWildcardsSetsAndCase) {
    const MatchRow rows[] = {
        {"*.tmp", "a.tmp", true},
        {"*.TMP", "B.Tmp", true},
        {"*.tmp", "a.tmp.bak", false},
        {"*.tmp", ".tmp", true},
        {"*.*", "README", false},  // no special rule: it needs a dot
        {"*.*", "a.", true},
        {"*", "", true},
        {"*", "anything at all", true},
        {"", "", true},
        {"", "a", false},
        {"?", "", false},
        {"?", "a", true},
        {"?", "ab", false},
        {"file?.txt", "file1.txt", true},
        {"file?.txt", "file.txt", false},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "abcabc", true},
        {"a*b*c", "abcab", false},
        {"*ab", "aaab", true},
        {"[a-c]x", "bx", true},
        {"[a-c]x", "Bx", true},
        {"[A-C]x", "bx", true},
        {"[a-c]x", "dx", false},
        {"[!a-c]x", "dx", true},
        {"[!a-c]x", "Ax", false},
        {"[abc]", "C", true},
        {"[a-]", "-", true},  // a "-" closing a set is itself
        {"[z-a]", "m", false},
        {"[]x", "x", false},  // an empty set matches no character
        {"[*]", "*", true},   // "*" in a set is a plain character
        {"[*]", "a", false},
        {"~*.*", "~WRL0001.tmp", true},
        {"~*.*", "x~a.b", false},
    };
    const CaseFold fold;
    for (const auto& r : rows) {
        FileMask m(r.mask, fold);
        ASSERT_TRUE(m.valid()) << r.mask;
        EXPECT_EQ(m.matches(r.name), r.expected) << "mask " << r.mask << " name " << r.name;
    }
}

TEST(FileMask, RefusesBrokenSyntaxAndThenMatchesNothing) {
    const CaseFold fold;
    for (const char* bad : {"[abc", "x[", "[!", "[-a]", "[!-a]", "a[b-]c[", "[a-c-e]"}) {
        FileMask m(bad, fold);
        EXPECT_FALSE(m.valid()) << bad;
        EXPECT_FALSE(m.matches("abc")) << bad;
        EXPECT_FALSE(m.matches("")) << bad;
    }
    EXPECT_TRUE(FileMask(std::string(30, '*'), fold).valid());
    EXPECT_FALSE(FileMask(std::string(31, '*'), fold).valid());
    // Stars inside a set are characters, not wildcards.
    EXPECT_TRUE(FileMask(std::string(30, '*') + "[" + std::string(5, '*') + "]", fold).valid());
}

TEST(FileMask, ManyStarsOnALongNameStayFast) {
    // A backtracking matcher without the last-star rule takes exponential
    // time here; the test finishes at once or not at all.
    const CaseFold fold;
    FileMask m("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", fold);
    ASSERT_TRUE(m.valid());
    EXPECT_FALSE(m.matches(std::string(2000, 'a')));
}

TEST(CaseFold, DefaultFoldsAsciiLettersOnly) {
    const CaseFold fold;
    EXPECT_EQ(fold('A'), 'a');
    EXPECT_EQ(fold('z'), 'z');
    EXPECT_EQ(fold('['), '[');
    EXPECT_EQ(fold(0xC9), 0xC9);  // a UTF-8 lead byte must never change
    FileMask m("\xC3\x89*", fold);
    EXPECT_TRUE(m.matches("\xC3\x89t\xC3\xA9"));
    EXPECT_FALSE(m.matches("\xC3\xA9t\xC3\xA9"));
}

}  // namespace
}  // namespace cindral::engine
