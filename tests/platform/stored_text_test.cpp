#include "platform/stored_text.h"

#include <gtest/gtest.h>

namespace cindral::platform {
namespace {

TEST(StoredText, ValidUtf8StaysAndAnyOtherFileIsDecodedWhole) {
    // A fake legacy code page that marks what it was given.
    const LegacyDecoder legacy = [](std::string_view b) { return "legacy:" + std::string(b); };
    const std::pair<std::string, bool> rows[] = {
        {"user@caf\xC3\xA9[1].txt\r\n", false},
        {"\xE6\x97\xA5\xE6\x9C\xAC\r\n\xF0\x9F\x98\x80", false},
        // One legacy line decides for the whole file, a line that looks like UTF-8 too.
        {"\xC3\xA9\r\ncaf\xE9\r\n", true},
        {"\xC0\xAF", true},                      // overlong "/"
        {"\xE0\x80\xAF", true},                  // overlong "/"
        {"\xED\xA0\x80", true},                  // a surrogate
        {"\xF4\x90\x80\x80", true},              // beyond U+10FFFF
        {"ab\xE6\x97", true},                    // cut short
        {std::string("\xFF\xFEk\0", 4), false},  // UTF-16: left to the profile functions
    };
    for (const auto& [bytes, decoded] : rows)
        EXPECT_EQ(StoredTextAsUtf8(bytes, legacy), decoded ? "legacy:" + bytes : bytes) << bytes;
    // With no legacy code page known, the bytes stay as they are.
    EXPECT_EQ(StoredTextAsUtf8("caf\xE9", nullptr), "caf\xE9");
}

}  // namespace
}  // namespace cindral::platform
