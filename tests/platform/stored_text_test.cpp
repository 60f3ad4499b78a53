#include "platform/stored_text.h"

#include <gtest/gtest.h>

namespace cindral::platform {
namespace {

// A stand-in for code page 1252: every byte its own code point, as Latin-1.
std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

TEST(StoredText, ValidUtf8StaysAndAnyOtherFileIsDecodedWhole) {
    struct Row {
        std::string bytes;
        bool decoded;
    };
    const Row rows[] = {
        {"", false},
        {"plain\r\nascii\r\n", false},
        {"user@caf\xC3\xA9[1].txt\r\n", false},
        {"\xE6\x97\xA5\xE6\x9C\xAC\r\n\xF0\x9F\x98\x80", false},
        {"\xEF\xBB\xBFk=v", false},
        {"user@caf\xE9[1].txt\r\n", true},
        // One legacy line decides for the whole file, a line that looks like UTF-8 too.
        {"\xC3\xA9\r\ncaf\xE9\r\n", true},
        {"\xC0\xAF", true},          // overlong "/"
        {"\xE0\x80\xAF", true},      // overlong "/"
        {"\xED\xA0\x80", true},      // a surrogate
        {"\xF4\x90\x80\x80", true},  // beyond U+10FFFF
        {"ab\xE6\x97", true},        // cut short
        {"\xE6\x97x", true},         // a continuation missing
        {"\xFF\xFEk\0=\0", false},   // UTF-16: left to the profile functions
        {std::string("a\0\xE9", 3), true},
    };
    for (const Row& r : rows) {
        const std::string expected = r.decoded ? latin1ToUtf8(r.bytes) : r.bytes;
        EXPECT_EQ(StoredTextAsUtf8(r.bytes, latin1ToUtf8), expected) << r.bytes;
        EXPECT_EQ(IsUtf8(r.bytes), !r.decoded && r.bytes.rfind("\xFF\xFE", 0) != 0) << r.bytes;
    }
    // With no legacy code page known, the bytes stay as they are.
    EXPECT_EQ(StoredTextAsUtf8("caf\xE9", nullptr), "caf\xE9");
}

}  // namespace
}  // namespace cindral::platform
