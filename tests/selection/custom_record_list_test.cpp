#include "selection/custom_record_list.h"

#include <gtest/gtest.h>

#include "selection/line_file.h"
#include "selection/mask_list.h"
#include "support/fixtures.h"

using namespace cindral::selection;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

TEST(RecordField, LeadingIntegersSaturateAndEnabledMeansExactlyOne) {
    const struct {
        const char* text;
        int value;
    } numbers[] = {{"+1", 1},
                   {"-1", -1},
                   {"-", 0},
                   {"2147483647", 2147483647},
                   {"4294967297", 2147483647},
                   {"-99999999999", -2147483647 - 1}};
    for (const auto& c : numbers) EXPECT_EQ(ReadLeadingInteger(c.text), c.value) << c.text;

    // A ";" typed into a title shifts the fifth field ("A;B;K;0;;1;").
    const struct {
        const char* line;
        bool enabled, checked;
    } records[] = {
        {"T;K;0;;01;", true, true}, {"T;K;0;; 1;", false, false},  {"T;K;0;;1", false, false},
        {"T;K;0;;2;", false, true}, {"A;B;K;0;;1;", false, false},
    };
    for (const auto& c : records) {
        EXPECT_EQ(IsRecordEnabled(c.line), c.enabled) << c.line;
        EXPECT_EQ(IsRecordChecked(c.line), c.checked) << c.line;
    }
}

class RecordFiles : public cindral::test::SandboxTest {
protected:
    std::string path() { return at("CustomRegistry.dat"); }
    void put(const std::string& bytes) { write(path(), bytes); }
};

// Adding and saving is met by data_file_faults_test; here a deletion, saved
// with the text after a NUL that the dialog neither shows nor drops.
TEST_F(RecordFiles, DeleteByPositionIsSavedWholeWithTheTextAfterANul) {
    put("A;K1;0;;1;\r\nB;K2;3;V;1;\r\nC;K3;1;;2;\r\n\0junk\r\nD;K;0;;1;\r\n"s);
    CustomRecordList list;
    ASSERT_EQ(list.load(files_, path()), ReadStatus::Ok);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_FALSE(list.remove(3));
    ASSERT_TRUE(list.remove(1));
    list.add("E;K;0;;1;");
    ASSERT_TRUE(list.save(files_, path()));
    EXPECT_EQ(read(path()), "A;K1;0;;1;\r\nC;K3;1;;2;\r\nE;K;0;;1;\r\n\0junk\r\nD;K;0;;1;\r\n"s);
}

// A mark is written only where it changed, as the whole fifth field, so the
// runs read it as the row shows it: an unchecked "11" or "-1" must not come
// out as "01" (read as 1, run), and a checked "1" without its ";" must not
// stay unread. "2" stays while checked, a line with fewer ";" stays as it is.
// A new line's five closed fields are met by the Erase Items dialog's Add.
TEST_F(RecordFiles, WriteBackTouchesOnlyChangedLinesThatExist) {
    // A lone LF ends the record for the runs: G is short, and H keeps its
    // action; unchecking I must not swallow J.
    put("A;K;0;;11;\r\nshort;line\r\nB;K;0;;0;\r\nC;K;0;;2;\r\nD;K;0;;\r\nE;K;0;;-1;x\r\n"
        "F;K;0;;1\r\nG;K;0\nH;K;0;;1;\r\nI;K;0;;1\nJ;K;0;;1;\r\n");
    // The checked rows of "short;line" and of G cannot be stored, and say so.
    ASSERT_FALSE(WriteBackChecks(files_, path(),
                                 {false, true, true, true, true, false, true, true, false, false}));
    EXPECT_EQ(read(path()),
              "A;K;0;;0;\r\nshort;line\r\nB;K;0;;1;\r\nC;K;0;;2;\r\nD;K;0;;1;\r\nE;K;0;;0;x\r\n"
              "F;K;0;;1;\r\nG;K;0\nH;K;0;;1;\r\nI;K;0;;0;\nJ;K;0;;1;\r\n");
    EXPECT_EQ(EnabledRecordTitles(files_, path()), (Lines{"B", "D", "F", "H", "J"}));
    EXPECT_TRUE(WriteBackChecks(files_, path(),
                                {false, false, true, true, true, false, true, false, false}));
}

TEST_F(RecordFiles, CountCheckedRecordsUsesTheRunsLineRules) {
    EXPECT_EQ(CountCheckedRecords(files_, path()), 0);
    // The lone LF ends a line for the runs (two records), not for the dialog.
    put("A;K;0;;1;\nB;K;0;;01;\r\nC;K;0;;0;\r\nD;K;0;;2;\r\nE;K;0;;1x;\r\nF;K;0;;1;\n");
    EXPECT_EQ(CountCheckedRecords(files_, path()), 4);
    EXPECT_EQ(EnabledRecordTitles(files_, path()), (Lines{"A", "B", "E", "F"}));
    CustomRecordList dialog;
    dialog.load(files_, path());
    EXPECT_EQ(dialog.size(), 5u);

    // Del on such a row takes the record it shows and leaves the runs' next
    // one, which only then gets a row; a lone LF at the end goes with its line.
    ASSERT_TRUE(dialog.removeRecord(4));
    ASSERT_TRUE(dialog.removeRecord(0));
    EXPECT_FALSE(dialog.removeRecord(4));
    ASSERT_TRUE(dialog.save(files_, path()));
    EXPECT_EQ(read(path()), "B;K;0;;01;\r\nC;K;0;;0;\r\nD;K;0;;2;\r\nE;K;0;;1x;\r\n");
}

TEST_F(RecordFiles, MasksAreSavedAndReadForTheRunExactlyAsTyped) {
    const std::string masks = at("DriveScan.dat");
    MaskList list;
    list.load(files_, masks);
    for (const char* m : {"*.tmp", " *.bak ", "*", "*.tmp", ""}) list.add(m);
    ASSERT_TRUE(list.save(files_, masks));
    EXPECT_EQ(read(masks), "*.tmp\r\n *.bak \r\n*\r\n*.tmp\r\n\r\n");
    EXPECT_EQ(ReadMasksForRun(files_, masks), (Lines{"*.tmp", " *.bak ", "*", "*.tmp", ""}));
}

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
