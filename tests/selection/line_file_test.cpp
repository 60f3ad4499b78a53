#include "selection/line_file.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

using namespace cindral::selection;
using Lines = std::vector<std::string>;

TEST(LineFileSplit, EachReaderFollowsItsOwnLineEndAndNulRules) {
    const auto B = [](const char* s, std::size_t n) { return std::string(s, n); };
    const struct {
        const char* name;
        std::string bytes;
        Lines run, dialog, keeper;
    } cases[] = {
        {"no final line end", "a\r\nb", {"a", "b"}, {"a", "b"}, {"a", "b"}},
        {"lone cr", "a\rb\r", {"a", "b"}, {"a", "b"}, {"a", "b"}},
        {"lone lf", "a\nb\r\n", {"a", "b"}, {"a\nb"}, {"a\nb"}},
        {"only line end", "\r\n", {""}, {""}, {""}},
        {"nul inside a line", B("ab\0cd\r\nef\r\n", 11), {"ab"}, {"ab"}, {"ab", "ef"}},
        {"nul at line start", B("ab\r\n\0cd\r\nef\r\n", 13), {"ab"}, {"ab"}, {"ab"}},
        {"byte-order mark",
         "\xEF\xBB\xBF*.tmp\r\n\xEF\xBB\xBF",
         {"*.tmp", "\xEF\xBB\xBF"},
         {"*.tmp", "\xEF\xBB\xBF"},
         {"*.tmp", "\xEF\xBB\xBF"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(splitLines(c.bytes, LineRules::Run), c.run);
        EXPECT_EQ(splitLines(c.bytes, LineRules::Dialog), c.dialog);
        EXPECT_EQ(splitLines(c.bytes, LineRules::Keeper), c.keeper);
    }
}

using LineFileIo = cindral::test::SandboxTest;

// Writing and reading lines are pinned through the lists that use these
// routines (custom records, masks, keeper lists); here a missing file.
TEST_F(LineFileIo, AMissingFileReadsAsNoLines) {
    Lines lines{"stale"};
    EXPECT_EQ(readLineFile(files_, at("list.dat"), LineRules::Run, lines), ReadStatus::Missing);
    EXPECT_TRUE(lines.empty());
}
