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
        {"empty", "", {}, {}, {}},
        {"no final line end", "a\r\nb", {"a", "b"}, {"a", "b"}, {"a", "b"}},
        {"lone cr", "a\rb\r", {"a", "b"}, {"a", "b"}, {"a", "b"}},
        {"lone lf", "a\nb\r\n", {"a", "b"}, {"a\nb"}, {"a\nb"}},
        {"lf then cr", "a\n\rb", {"a", "", "b"}, {"a\n", "b"}, {"a\n", "b"}},
        {"empty inner line", "a\r\n\r\nb\r\n", {"a", "", "b"}, {"a", "", "b"}, {"a", "", "b"}},
        {"only line end", "\r\n", {""}, {""}, {""}},
        {"cr cr lf", "a\r\r\n", {"a", ""}, {"a", ""}, {"a", ""}},
        {"nul inside a line", B("ab\0cd\r\nef\r\n", 11), {"ab"}, {"ab"}, {"ab", "ef"}},
        {"nul at line start", B("ab\r\n\0cd\r\nef\r\n", 13), {"ab"}, {"ab"}, {"ab"}},
        {"nul in last entry", B("ab\r\ncd\0x", 8), {"ab", "cd"}, {"ab", "cd"}, {"ab", "cd"}},
        {"trailing lone lf", "a\r\nb\n", {"a", "b"}, {"a", "b\n"}, {"a", "b\n"}},
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
        for (auto rules : {LineRules::Run, LineRules::Dialog, LineRules::Keeper}) {
            Lines seen;
            forEachLine(c.bytes, rules, [&](std::string_view l) { seen.emplace_back(l); });
            EXPECT_EQ(seen, splitLines(c.bytes, rules));
        }
    }
}

using LineFileIo = cindral::test::SandboxTest;

// Writing and reading lines are pinned through the lists that use these
// routines (custom records, masks, keeper lists); here what they leave alone.
TEST_F(LineFileIo, AMissingFileReadsAsNoLinesAndAWriteCreatesNoFolder) {
    Lines lines{"stale"};
    EXPECT_EQ(readLineFile(files_, at("list.dat"), LineRules::Run, lines), ReadStatus::Missing);
    EXPECT_TRUE(lines.empty());
    const std::string target = at("NoSuchFolder\\list.dat");
    EXPECT_FALSE(writeLineFile(files_, target, {"x"}));
    EXPECT_FALSE(box_.exists(target));
}
