#include "app/log_book.h"

#include <gtest/gtest.h>

#include "app/log_lines.h"
#include "support/fixtures.h"

using namespace cindral::app;
using Lines = std::vector<std::string>;

class LogBookTest : public cindral::test::SandboxTest {
protected:
    std::string logPath() { return at("logs.txt"); }
    void oldLog(const std::string& bytes) { write(logPath(), bytes); }
    LogBook book{files_, logPath()};
    Lines view() { return cindral::test::viewLines(book); }
};

// Every text a progress line showed reaches the file, and a line longer than
// a storage chunk is saved whole, in pieces: the long line one, the next one.
TEST_F(LogBookTest, EveryTextOfARewrittenLineAndALineLongerThanAStorageChunkAreSaved) {
    book.deleteLastLine();          // nothing to delete
    book.replaceLastLine("first");  // nothing to replace: appended
    EXPECT_EQ(view(), (Lines{"first"}));
    book.clearView();
    book.setRecording(true);
    book.createBufferFromFile();
    book.addLine("[Cleaning Drive Scan with Mask]");
    book.addLine("Analyzing Folder: C:\\b");
    book.replaceLastLine("Removing File: C:\\b\\x.tmp");
    book.replaceLastLine("");
    book.replaceLastLine("Analyzing Folder: C:\\c");
    book.deleteLastLine();
    EXPECT_EQ(view(), (Lines{"[Cleaning Drive Scan with Mask]"}));
    const std::string big(3u << 20, 'q');
    book.addLine(big);
    book.addLine("after");
    ASSERT_TRUE(book.saveBuffer());
    EXPECT_EQ(read(logPath()),
              "[Cleaning Drive Scan with Mask]\r\nAnalyzing Folder: C:\\b\r\n"
              "Removing File: C:\\b\\x.tmp\r\nAnalyzing Folder: C:\\c\r\n" +
                  big + "\r\nafter\r\n");
}

TEST_F(LogBookTest, RunBlockFollowsTheOldFileAndAutomaticEmptyingTakesViewAndBuffer) {
    oldLog("one\r\ntwo\r\n");
    book.addLine("Cindral v3.0 initialized: 03.05.2006 09:04:07 <OK>");
    book.setRecording(true);
    book.createBufferFromFile();
    book.addLine(RunHeaderLine("03.05.2006", "09:04:07"));
    book.clearView();  // the buffer keeps its lines
    book.addLine(RunHeaderRule());
    book.addLine("[Cleaning Clipboard]");
    book.appendTrailer("Done");
    const std::string rule64(64, '-');
    ASSERT_TRUE(book.saveBuffer());
    EXPECT_EQ(read(logPath()),
              "one\r\ntwo\r\nCindral v.3.0 has started work: 03.05.2006 09:04:07\r\n" +
                  std::string(83, '-') + "\r\n[Cleaning Clipboard]\r\n" + rule64 + "\r\nDone\r\n" +
                  rule64 + "\r\n\r\n");

    EXPECT_FALSE(book.emptyIfAtLeast(3));
    book.addLine("[Cleaning x]");
    // A stored limit of 0 or below would empty the view after every line.
    for (std::int32_t limit : {0, -7, INT32_MIN}) EXPECT_FALSE(book.emptyIfAtLeast(limit)) << limit;
    EXPECT_TRUE(book.emptyIfAtLeast(3));
    EXPECT_EQ(book.viewLineCount(), 0u);
    EXPECT_EQ(book.bufferLineCount(), 0u);
    EXPECT_TRUE(book.hasBuffer());
}

// A failing disk, a read or a write, is met by every call of a save in
// data_file_faults_test; here what the book itself must refuse.
TEST_F(LogBookTest, NoBufferOrALogFileNotReadWholeIsNeverSavedAndLogCommandsKeepARunsBlock) {
    book.appendTrailer("no buffer");  // makes none
    EXPECT_FALSE(book.saveBuffer());
    book.setRecording(true);
    const std::string old("a\r\n\0b\r\n", 7);  // text past a NUL is not read
    oldLog(old);
    book.createBufferFromFile();
    book.addLine("run line");
    book.appendTrailer("Done");
    EXPECT_FALSE(book.saveBuffer());
    EXPECT_EQ(read(logPath()), old);
    // A file read whole is saved again as usual.
    oldLog("good\r\n");
    book.createBufferFromFile();
    EXPECT_TRUE(book.saveBuffer());
    // Nor does a run make one: a NUL in a line (a registry name may hold
    // one) is kept as "?", and the next run saves again.
    book.addLine(std::string("Cleaning Registry Value: a\0b <OK>", 33));
    ASSERT_TRUE(book.saveBuffer());
    book.createBufferFromFile();
    book.addLine("next run");
    EXPECT_TRUE(book.saveBuffer());
    EXPECT_EQ(read(logPath()), "good\r\nCleaning Registry Value: a?b <OK>\r\nnext run\r\n");

    // View Log and Clear Log during a run must not replace the run's buffer,
    // or the saved log would lose the run's header and everything before the click.
    oldLog("old 1\r\nold 2\r\n");
    book.createBufferFromFile();
    book.addLine(RunHeaderLine("03.05.2006", "09:04:07"));
    book.addLine(RunHeaderRule());
    EXPECT_EQ(book.viewLog(true).action, LogCommand::Action::OpenFile);
    EXPECT_EQ(book.prepareClearLog(true).action, LogCommand::Action::AskToDelete);
    ASSERT_TRUE(book.confirmClearLog(true));
    EXPECT_EQ(read(logPath()), "");
    book.addLine("[Cleaning Clipboard]");
    ASSERT_TRUE(book.saveBuffer());
    EXPECT_EQ(read(logPath()), RunHeaderLine("03.05.2006", "09:04:07") + "\r\n" + RunHeaderRule() +
                                   "\r\n[Cleaning Clipboard]\r\n");
}

TEST_F(LogBookTest, ClearLogAsksWithTheSizeInWholeKilobytesAndOnlyAnEmptyLogIsNotOpened) {
    EXPECT_EQ(book.viewLog(false).action, LogCommand::Action::ShowNoRecords);
    oldLog(std::string(4095, 'x'));
    const LogCommand cmd = book.prepareClearLog(false);
    EXPECT_EQ(cmd.action, LogCommand::Action::AskToDelete);
    EXPECT_EQ(cmd.text, "Are you sure you want to delete Log File (3 KB) ?");
    EXPECT_EQ(read(logPath()), std::string(4095, 'x'));  // nothing before the answer

    // A log grown past what can be read still holds records: the user can
    // open it and empty it, and is not told it has none.
    ASSERT_TRUE(box_.makeSizedFile(logPath(), cindral::platform::kMaxReadFileSize + 1024));
    files_.failOn(cindral::test::FileOp::Read, logPath());  // refused unread, as the backend does
    for (const bool running : {false, true}) {
        EXPECT_EQ(book.viewLog(running).action, LogCommand::Action::OpenFile) << running;
        EXPECT_EQ(book.prepareClearLog(running).text,
                  "Are you sure you want to delete Log File (262145 KB) ?")
            << running;
    }
    ASSERT_TRUE(book.confirmClearLog(false));
    EXPECT_EQ(read(logPath()), "");
}

TEST_F(LogBookTest, ReplacedTextsDoNotPileUpAndCompactionKeepsSharedLinesInOrder) {
    book.setRecording(true);
    book.createBufferFromFile();
    for (int i = 0; i < 5000; ++i) book.addLine("line " + std::to_string(i));
    book.setRecording(false);
    for (int i = 0; i < 200000; ++i)
        book.replaceLastLine("Analyzing Folder: C:\\f\\" + std::to_string(i));
    EXPECT_LT(book.storedBytes(), std::size_t(3) << 20);
    ASSERT_EQ(book.viewLineCount(), 5000u);
    ASSERT_EQ(book.bufferLineCount(), 5000u);
    EXPECT_EQ(book.viewLine(0), "line 0");
    EXPECT_EQ(book.viewLine(4999), "Analyzing Folder: C:\\f\\199999");
    EXPECT_EQ(book.bufferLine(4999), "line 4999");
}
