#include "app/run.h"

#include <gtest/gtest.h>

#include "app/log_lines.h"
#include "app/queue_run_view.h"
#include "support/fixtures.h"

namespace cindral::app {
namespace {

using engine::RunMode;
using Lines = std::vector<std::string>;

class RunDriver : public test::HomeTest {
protected:
    RunDriver() { select({}); }  // no built-in item unless a test selects some

    // Builds the queue as start-up does and makes a run over it; every text
    // the run shows also reaches the log buffer.
    std::unique_ptr<app::Run> makeRun(RunMode mode) {
        queue_ = RebuildItemQueue(platform_, paths_);
        log_ = std::make_unique<LogBook>(*platform_.files, paths_.logFile);
        log_->setRecording(true);
        view_ = std::make_unique<QueueRunView>(queue_, *log_);
        RunSetup setup{mode,   &platform_,         &fakes_.services,      &settings_,
                       paths_, queue_.pluginFiles, queue_.registryTitles, queue_.folderTitles,
                       nullptr};
        return std::make_unique<app::Run>(setup, *view_, 7);
    }
    std::unique_ptr<app::Run> runHere(RunMode mode) {
        auto run = makeRun(mode);
        run->runHere();
        return run;
    }
    Lines statuses() const {
        Lines out;
        for (const auto& row : queue_.rows) out.push_back(row.status);
        return out;
    }
    // A custom folder record over junk\<folder>, which holds one 5-byte file.
    std::string folderRecord(const std::string& title, const std::string& folder,
                             char check = '1') {
        file("junk\\" + folder + "\\f.tmp", "12345");
        return title + ";" + box_.root() + "junk\\" + folder + ";1;;" + check + ";\r\n";
    }
    void folderRecords(std::initializer_list<const char*> names) {
        std::string lines;
        for (const char* name : names) lines += folderRecord(name, name);
        write(paths_.customFolder, lines);
    }

    ItemQueue queue_;
    std::unique_ptr<LogBook> log_;
    std::unique_ptr<QueueRunView> view_;
};

// Each checked row runs in queue order, with every record of its title
// (matched without regard to case: the unchecked "dup" runs with "Dup").
TEST_F(RunDriver, CheckedCustomRowsRunInOrderEachWithEveryRecordOfItsTitle) {
    setRegText(scratch("A"), "v1", "alpha");
    setRegText(scratch("B"), "v2", "beta");
    write(paths_.customRegistry,
          "Dup;" + regKey("A") + ";0;;1;\r\ndup;" + regKey("B") + ";0;;0;\r\n");
    write(paths_.customFolder, folderRecord("One", "One") + folderRecord("Two", "Two", '0') +
                                   folderRecord("Three", "Three"));
    auto run = runHere(RunMode::Test);
    Lines rows;
    for (const auto& line : test::bufferLines(*log_))
        if (line.find("[Cleaning ") != std::string::npos) rows.push_back(line);
    EXPECT_EQ(rows, (Lines{"Test Mode: [Cleaning Dup]", "Test Mode: [Cleaning One]",
                           "Test Mode: [Cleaning Three]"}));
    EXPECT_EQ(run->counters().FoundRegistryEntries, 2);
    EXPECT_EQ(run->counters().JunkFileCount, 2);
    EXPECT_EQ(runHere(RunMode::Clean)->counters().DeletedRegistryEntries, 2);
}

// A record read with another action or mode erases something the user did
// not ask for: one value becomes every value, one file a whole tree.
TEST(CustomRecords, EachActionAndModeGivesItsOwnEntryAndTemplate) {
    const struct {
        const char* line;
        const char* entry;
        const char* pathTemplate;
    } cases[] = {
        {"T; C:\\F ;0;n.txt;1;", " C:\\F ,onlyvalues,none", "C:\\F\\*.*"},
        {"T;C:\\F\\;1;n.txt;1;", "C:\\F\\,allvalues,none", "C:\\F\\*?"},
        {"T;C:\\F;2;n.txt;0;", "C:\\F,onlysubkeys,none", "C:\\F\\n.txt"},
        {"T;C:\\F;3;n.txt;1;", "C:\\F,onevalue,n.txt", "C:\\F\\3"},
        {"T;C:\\F;03;n.txt;1;", "C:\\F03", "C:\\F\\03"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CustomRegistryEntry(c.line), c.entry) << c.line;
        EXPECT_EQ(CustomFolderTemplate(c.line), c.pathTemplate) << c.line;
    }
}

TEST_F(RunDriver, AStoppedRunEndsInItsRowDeletesNothingMoreAndNeverReportsCompletion) {
    for (RunMode mode : {RunMode::Test, RunMode::Clean}) {
        folderRecords({"One", "Two", "Three", "Four"});
        auto run = makeRun(mode);
        files_.fails = [&](test::FileOp, const std::string& path) {
            if (path.find("\\THREE") != std::string::npos) run->requestStop();  // in row 2
            return false;
        };
        bool finished = false;
        run->start([&](app::Run&) { finished = true; });
        run->wait();
        EXPECT_FALSE(run->completed() || finished);
        EXPECT_EQ(statuses(), (Lines{"Completed", "Completed", "Analyzing...", "Pending"}));
        EXPECT_EQ(run->counters().JunkFileCount, 2);
        EXPECT_EQ(exists("junk\\Two\\f.tmp"), mode == RunMode::Test);
        EXPECT_TRUE(exists("junk\\Three\\f.tmp"));
        files_.fails = nullptr;
    }
    ResetRowStates(*view_, platform_, paths_, false);
    EXPECT_EQ(statuses(), (Lines{"Completed", "Completed", "Terminated", "Pending"}));
    EXPECT_EQ(queue_.rows[0].icon, kIconDone);  // reset off leaves finished rows as they are
}

TEST_F(RunDriver, AFailureInsideAnItemEndsTheBodyButTheRunStillCompletes) {
    folderRecords({"One", "Two", "Three"});
    files_.throws = true;
    files_.fails = [](test::FileOp op, const std::string& path) {
        return op == test::FileOp::List && path.find("\\TWO") != std::string::npos;
    };
    auto run = makeRun(RunMode::Clean);
    bool finished = false;
    run->start([&](app::Run& r) { finished = r.completed(); });
    run->wait();
    EXPECT_TRUE(finished);
    EXPECT_EQ(run->failure().rfind("injected fault", 0), 0u);
    EXPECT_EQ(statuses(), (Lines{"Completed", "Analyzing...", "Pending"}));  // Three never ran
    EXPECT_EQ(run->counters().JunkFileCount, 1);
}

// The Erase Items dialog writes check marks and new records at once; the
// queue follows at its OK. A run in between walks the queue as it is.
TEST_F(RunDriver, RecordsCheckedOrAddedAfterTheQueueWasBuiltNeitherRunNorShiftTheRows) {
    const std::string one = folderRecord("One", "One");
    write(paths_.customFolder, one);
    // Unchecked: a registry record that shares the folder record's title.
    setRegText(scratch("One"), "v", "kept");
    setRegText(scratch("Two"), "v", "kept");
    const std::string reg = "One;" + regKey("One") + ";0;;0;\r\n";
    write(paths_.customRegistry, reg);
    auto run = makeRun(RunMode::Clean);
    write(paths_.customRegistry, reg + "Two;" + regKey("Two") + ";0;;1;\r\n");
    write(paths_.customFolder, one + folderRecord("", "Two"));
    run->runHere();
    ASSERT_TRUE(run->completed());
    EXPECT_EQ(run->currentRow(), 0);
    EXPECT_FALSE(exists("junk\\One\\f.tmp"));
    EXPECT_TRUE(exists("junk\\Two\\f.tmp"));
    EXPECT_EQ(regValues(scratch("One")), Lines{"v"});
    EXPECT_EQ(regValues(scratch("Two")), Lines{"v"});
}

// The engine's wipe is tested with its settings handed in; here that a run
// hands over the stored ones, and closes the browsers first only when asked.
TEST_F(RunDriver, OnlyACleaningRunClosesBrowsersAndWipesWithTheStoredPassesAndMethodWhenAsked) {
    folderRecords({"One"});
    settings_.write(settings::kCloseIEBeforeErasing, 1);
    settings_.write(settings::kPassess, 2);
    settings_.write(settings::kMethodDestruction, 2);
    runHere(RunMode::Test);
    runHere(RunMode::Clean);
    EXPECT_EQ(fakes_.count("browsers"), 1);
    EXPECT_TRUE(files_.passes.empty());
    folderRecords({"One"});
    settings_.write(settings::kCloseIEBeforeErasing, 0);
    settings_.write(settings::kSecureErasing, 1);
    runHere(RunMode::Clean);
    EXPECT_EQ(fakes_.count("browsers"), 1);
    EXPECT_EQ(files_.passes.size(), 6u);  // three passes of zeros, then ones
}

TEST_F(RunDriver, OnlyATestRunEmptiesTheLogWhenAsked) {
    select({20, 21, 22, 23});
    settings_.write(settings::kLogRefreshLines, 4);
    runHere(RunMode::Test);  // switched off: the count alone empties nothing
    EXPECT_EQ(log_->viewLineCount(), 6u);
    settings_.write(settings::kLogRefreshEnable, 1);
    runHere(RunMode::Test);
    // Header, rule, then "[Cleaning" lines: the view reaches 4 lines at the
    // second item and is emptied right after that item's line (the buffer
    // with it: the log book's test).
    EXPECT_LT(log_->viewLineCount(), 4u);
    runHere(RunMode::Clean);
    EXPECT_EQ(log_->viewLineCount(), 6u);
}

#ifndef _WIN32
// The sandbox's drive C: is fixed (under Wine it is the prefix's own, far too
// big to scan in a test).
TEST_F(RunDriver, TheDriveScanWalksTheFixedDrivesAndOnlyACleaningRunDeletes) {
    select({24});
    write(paths_.driveScan, "probe*.tmp\r\n");
    for (RunMode mode : {RunMode::Test, RunMode::Clean, RunMode::Test}) {
        file("deep\\er\\probe1.tmp", "123");
        EXPECT_EQ(runHere(mode)->counters().JunkFileCount, 1);
        EXPECT_EQ(exists("deep\\er\\probe1.tmp"), mode == RunMode::Test);
    }
}
#endif

TEST_F(RunDriver, FixedDrivesArePresentFixedOnesInLetterOrder) {
    files_.drives = (1u << 0) | (1u << 2) | (1u << 4);
    files_.driveTypes = {{"A:\\", platform::kDriveRemovable},
                         {"C:\\", platform::kDriveFixed},
                         {"E:\\", platform::kDriveFixed},
                         {"F:\\", platform::kDriveFixed}};  // fixed, but not present
    EXPECT_EQ(FixedDriveList(files_), (Lines{"C:\\", "E:\\"}));
}

}  // namespace
}  // namespace cindral::app
