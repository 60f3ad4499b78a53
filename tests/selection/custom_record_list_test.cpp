#include "selection/custom_record_list.h"

#include <gtest/gtest.h>

#include "selection/data_test_platform.h"
#include "selection/mask_list.h"

using namespace cindral::selection;
using Lines = std::vector<std::string>;

TEST(RecordField, FieldsRunUpToTheirClosingSemicolon) {
    const std::string line = "Title;HKCU\\Key;3;Val;1;";
    EXPECT_EQ(RecordField(line, 1), "Title");
    EXPECT_EQ(RecordField(line, 2), "HKCU\\Key");
    EXPECT_EQ(RecordField(line, 3), "3");
    EXPECT_EQ(RecordField(line, 4), "Val");
    EXPECT_EQ(RecordField(line, 5), "1");
    EXPECT_EQ(RecordField(line, 0), "");
    EXPECT_EQ(RecordField(line, 6), "");
    // A field no ";" closes reads as empty.
    EXPECT_EQ(RecordField("T;K;0;;1", 5), "");
    EXPECT_EQ(RecordField("no separators", 1), "");
    EXPECT_EQ(RecordField("", 1), "");
    // A ";" typed into the title shifts every later field.
    EXPECT_EQ(RecordField("A;B;K;0;;1;", 1), "A");
    EXPECT_EQ(RecordField("A;B;K;0;;1;", 5), "");
}

TEST(RecordField, LeadingIntegerReading) {
    struct {
        const char* text;
        int value;
    } cases[] = {{"0", 0},   {"00", 0},    {"no", 0},  {"", 0},      {"1", 1},
                 {"01", 1},  {"1x", 1},    {" 1", 0},  {"+1", 1},    {"-1", -1},
                 {"-", 0},   {"2", 2},     {"12;", 12}, {"2147483647", 2147483647},
                 {"4294967297", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(ReadLeadingInteger(c.text), c.value) << c.text;
}

TEST(RecordField, EnabledMeansExactlyOneWhileCheckedMeansNotZero) {
    struct {
        const char* line;
        bool enabled;
        bool checked;
    } cases[] = {
        {"T;K;0;;1;", true, true},   {"T;K;0;;01;", true, true}, {"T;K;0;;1x;", true, true},
        {"T;K;0;; 1;", false, false}, {"T;K;0;;0;", false, false}, {"T;K;0;;;", false, false},
        {"T;K;0;;1", false, false},  {"T;K;0;;2;", false, true}, {"", false, false},
        {"T;K;0;;4294967297;", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsRecordEnabled(c.line), c.enabled) << c.line;
        EXPECT_EQ(IsRecordChecked(c.line), c.checked) << c.line;
    }
}

TEST(RecordLine, AddBuildsFiveClosedFields) {
    EXPECT_EQ(MakeRecordLine("T", "K", 0, ""), "T;K;0;;1;");
    EXPECT_EQ(MakeRecordLine("T", "K", 3, "V"), "T;K;3;V;1;");
    // The value name is stored whatever the action.
    EXPECT_EQ(MakeRecordLine("T", "F", 0, "name.txt"), "T;F;0;name.txt;1;");
    const RecordRow row = RecordRowOf("T;K;3;V;1;");
    EXPECT_EQ(row.title, "T");
    EXPECT_EQ(row.target, "K");
    EXPECT_EQ(row.action, 3);
    EXPECT_EQ(row.name, "V");
    EXPECT_TRUE(row.checked);
}

TEST(RecordLine, CheckWriteBackChangesOnlyTheCharacterAfterTheFourthSemicolon) {
    std::string line = "T;K;0;V;11;";
    SetRecordCheck(line, false);
    EXPECT_EQ(line, "T;K;0;V;01;");
    EXPECT_TRUE(IsRecordEnabled(line));  // "01" still reads as 1

    line = "T;K;0;V;0;";
    SetRecordCheck(line, true);
    EXPECT_EQ(line, "T;K;0;V;1;");

    line = "T;K;0";  // fewer than four ";": left intact
    SetRecordCheck(line, true);
    EXPECT_EQ(line, "T;K;0");
    line = "";
    SetRecordCheck(line, true);
    EXPECT_EQ(line, "");

    line = "T;K;0;;";  // nothing after the fourth ";": the field is completed
    SetRecordCheck(line, true);
    EXPECT_EQ(line, "T;K;0;;1;");
    EXPECT_TRUE(IsRecordChecked(line));
}

class RecordFiles : public ::testing::Test {
protected:
    cindral::test::DataTestPlatform env;
    std::string path() { return env.sandbox.root() + "CustomRegistry.dat"; }
};

TEST_F(RecordFiles, AddAndDeleteByPositionAreSavedWhole) {
    CustomRecordList list;
    EXPECT_EQ(list.load(env.files, path()), ReadStatus::Missing);
    list.add(MakeRecordLine("A", "K1", 0, ""));
    list.add(MakeRecordLine("B", "K2", 3, "V"));
    list.add(MakeRecordLine("C", "K3", 1, ""));
    ASSERT_TRUE(list.save(env.files, path()));
    EXPECT_EQ(env.read(path()), "A;K1;0;;1;\r\nB;K2;3;V;1;\r\nC;K3;1;;1;\r\n");

    CustomRecordList again;
    ASSERT_EQ(again.load(env.files, path()), ReadStatus::Ok);
    EXPECT_FALSE(again.remove(3));
    ASSERT_TRUE(again.remove(1));
    ASSERT_TRUE(again.save(env.files, path()));
    EXPECT_EQ(env.read(path()), "A;K1;0;;1;\r\nC;K3;1;;1;\r\n");
    ASSERT_TRUE(again.remove(0));
    ASSERT_TRUE(again.remove(0));
    ASSERT_TRUE(again.save(env.files, path()));
    EXPECT_EQ(env.read(path()), "");
}

TEST_F(RecordFiles, RowsShowWhatTheDialogListShows) {
    ASSERT_TRUE(env.sandbox.writeFile(path(), "A;K;2;V;2;\r\nno fields\r\nB;K;0;;0;\r\n"));
    CustomRecordList list;
    list.load(env.files, path());
    const auto rows = list.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].checked);  // "2": checked in the dialog
    EXPECT_EQ(rows[1].title, "");
    EXPECT_FALSE(rows[1].checked);
    EXPECT_FALSE(rows[2].checked);
}

TEST_F(RecordFiles, WriteBackTouchesOnlyLinesThatExist) {
    ASSERT_TRUE(env.sandbox.writeFile(path(), "A;K;0;;11;\r\nshort;line\r\nB;K;0;;0;\r\n"));
    ASSERT_TRUE(WriteBackChecks(env.files, path(), {false, true, true, true, false}));
    EXPECT_EQ(env.read(path()), "A;K;0;;01;\r\nshort;line\r\nB;K;0;;1;\r\n");
}

TEST_F(RecordFiles, WriteBackOnMissingFileCreatesNothing) {
    EXPECT_TRUE(WriteBackChecks(env.files, path(), {true}));
    EXPECT_FALSE(env.sandbox.exists(path()));
}

TEST_F(RecordFiles, UnreadableFileIsNeverReplaced) {
    ASSERT_TRUE(env.sandbox.writeFile(path(), "A;K;0;;1;\r\n"));
    env.files.unreadable = {path()};
    CustomRecordList list;
    EXPECT_EQ(list.load(env.files, path()), ReadStatus::Unreadable);
    list.add("B;K;0;;1;");
    EXPECT_FALSE(list.save(env.files, path()));
    EXPECT_FALSE(WriteBackChecks(env.files, path(), {false}));
    EXPECT_EQ(env.read(path()), "A;K;0;;1;\r\n");
}

TEST_F(RecordFiles, TextAfterANulSurvivesAnEdit) {
    const std::string damaged("A;K;0;;1;\r\n\0junk\r\nB;K;0;;1;\r\n", 29);
    ASSERT_TRUE(env.sandbox.writeFile(path(), damaged));
    CustomRecordList list;
    list.load(env.files, path());
    ASSERT_EQ(list.size(), 1u);
    list.add("C;K;0;;1;");
    ASSERT_TRUE(list.save(env.files, path()));
    EXPECT_EQ(env.read(path()), std::string("A;K;0;;1;\r\nC;K;0;;1;\r\n\0junk\r\nB;K;0;;1;\r\n", 40));
}

TEST_F(RecordFiles, FailedSaveReportsAndKeepsFile) {
    ASSERT_TRUE(env.sandbox.writeFile(path(), "A;K;0;;1;\r\n"));
    CustomRecordList list;
    list.load(env.files, path());
    list.add("B;K;0;;1;");
    env.files.failWrites = true;
    EXPECT_FALSE(list.save(env.files, path()));
    EXPECT_EQ(env.read(path()), "A;K;0;;1;\r\n");
}

TEST_F(RecordFiles, CountCheckedRecordsUsesTheRunsLineRules) {
    EXPECT_EQ(CountCheckedRecords(env.files, path()), 0);
    // The lone LF ends a line for the runs (two records), not for the dialog.
    ASSERT_TRUE(env.sandbox.writeFile(
        path(), "A;K;0;;1;\nB;K;0;;01;\r\nC;K;0;;0;\r\nD;K;0;;2;\r\nE;K;0;;1x;\r\n"));
    EXPECT_EQ(CountCheckedRecords(env.files, path()), 3);
    EXPECT_EQ(EnabledRecordTitles(env.files, path()), (Lines{"A", "B", "E"}));
    CustomRecordList dialog;
    dialog.load(env.files, path());
    EXPECT_EQ(dialog.size(), 4u);
}

TEST_F(RecordFiles, MasksAreKeptExactlyAsTyped) {
    const std::string masks = env.sandbox.root() + "DriveScan.dat";
    MaskList list;
    list.load(env.files, masks);
    list.add("*.tmp");
    list.add(" *.bak ");
    list.add("*");
    list.add("*.tmp");
    ASSERT_TRUE(list.save(env.files, masks));
    EXPECT_EQ(env.read(masks), "*.tmp\r\n *.bak \r\n*\r\n*.tmp\r\n");
    EXPECT_EQ(ReadMasksForRun(env.files, masks), (Lines{"*.tmp", " *.bak ", "*", "*.tmp"}));
}

TEST(MaskList, DeleteIsOfferedOnlyForSelectedEntriesWithText) {
    MaskList list;
    list.add("*.tmp");
    list.add("");
    EXPECT_TRUE(list.canDelete(0));
    EXPECT_FALSE(list.canDelete(1));
    EXPECT_FALSE(list.canDelete(-1));
    EXPECT_FALSE(list.canDelete(2));
    EXPECT_EQ(DeleteMaskQuestion("*.tmp"), "Are you sure you want to delete mask \"*.tmp\"?");
    EXPECT_EQ(DeleteRecordQuestion("T"), "Are you sure you want to delete \"T\"?");
}
