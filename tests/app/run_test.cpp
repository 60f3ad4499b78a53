#include "app/run.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

#include "app/startup.h"
#include "engine/engine_context.h"
#include "app/run_test_support.h"
#include "support/forwarding_system.h"

namespace cindral::app {
namespace {

using test::ViewRecord;

// Passes everything through; the clock can be fixed.
class FixedClock : public cindral::test::ForwardingSystem {
public:
    explicit FixedClock(platform::System& inner) : ForwardingSystem(inner) {}
    platform::SystemTime time;
    platform::SystemTime localTime() override { return time; }
};

// Files that throw while listing one folder: an unforeseen failure.
class ThrowingFiles : public platform::Files {
public:
    explicit ThrowingFiles(platform::Files& inner) : inner_(inner) {}
    std::string throwOn;
    bool listFolder(const std::string& f, std::vector<platform::DirEntry>& e) override {
        if (!throwOn.empty() && f.find(throwOn) != std::string::npos)
            throw std::runtime_error("listing failed");
        return inner_.listFolder(f, e);
    }
    bool deleteFile(const std::string& p) override { return inner_.deleteFile(p); }
    bool createFolder(const std::string& p) override { return inner_.createFolder(p); }
    bool fileExists(const std::string& p) override { return inner_.fileExists(p); }
    bool folderExists(const std::string& p) override { return inner_.folderExists(p); }
    bool readFile(const std::string& p, std::string& b) override { return inner_.readFile(p, b); }
    bool writeFileAtomic(const std::string& p, const std::string& b) override {
        return inner_.writeFileAtomic(p, b);
    }
    bool fileSize(const std::string& p, std::uint64_t& s) override { return inner_.fileSize(p, s); }
    bool renameFile(const std::string& a, const std::string& b) override {
        return inner_.renameFile(a, b);
    }
    std::unique_ptr<platform::OverwriteFile> openForOverwrite(const std::string& p) override {
        return inner_.openForOverwrite(p);
    }
    std::uint32_t logicalDrives() override { return drives ? drives : inner_.logicalDrives(); }
    std::uint32_t driveType(const std::string& r) override {
        if (!types.empty()) {
            auto it = types.find(r);
            return it == types.end() ? platform::kDriveNoRootDir : it->second;
        }
        return inner_.driveType(r);
    }
    std::string windowsFolder() override { return inner_.windowsFolder(); }
    std::string tempPath() override { return inner_.tempPath(); }

    std::uint32_t drives = 0;
    std::map<std::string, std::uint32_t> types;

private:
    platform::Files& inner_;
};

// Calls a function when a given row starts.
class RowHook : public RunObserver {
public:
    int row = -1;
    std::function<void()> action;
    std::vector<std::string> started;
    int completedRows = 0;
    void rowStarted(int r, const std::string& caption, const engine::RunState&) override {
        started.push_back(caption);
        if (r == row && action) action();
    }
    void rowCompleted(int, const engine::RunState&) override { ++completedRows; }
};

class RunDriver : public test::HomeFixture {
protected:
    RunDriver() : clock_(*box_.platform().system), files_(*box_.platform().files) {
        platform_.system = &clock_;
        platform_.files = &files_;
        clock_.time = box_.platform().system->localTime();
    }

    // Builds the queue as start-up does and makes a run over it.
    std::unique_ptr<app::Run> makeRun(RunMode mode) {
        queue_ = RebuildItemQueue(platform_, paths_);
        log_ = std::make_unique<LogBook>(*platform_.files, paths_.logFile);
        log_->setRecording(true);
        view_ = std::make_unique<QueueRunView>(queue_, *log_);
        record_ = ViewRecord();
        record_.attach(*view_);
        RunSetup setup;
        setup.mode = mode;
        setup.platform = &platform_;
        setup.services = &fakes_.services;
        setup.settings = &store_;
        setup.paths = paths_;
        setup.pluginFiles = queue_.pluginFiles;
        setup.observer = &hook_;
        return std::make_unique<app::Run>(setup, *view_, 7);
    }

    std::unique_ptr<app::Run> runHere(RunMode mode) {
        auto run = makeRun(mode);
        run->runHere();
        return run;
    }

    std::vector<std::string> statuses() const {
        std::vector<std::string> out;
        for (const auto& row : queue_.rows) out.push_back(row.status);
        return out;
    }

    // Three custom folder records, each over its own folder with one file.
    void threeFolderRecords() {
        std::string lines;
        for (const char* name : {"One", "Two", "Three"}) {
            file(std::string("junk\\") + name + "\\f.tmp", "12345");
            lines += std::string(name) + ";" + box_.root() + "junk\\" + name + ";1;;1;\r\n";
        }
        write(paths_.customFolder, lines);
    }

    FixedClock clock_;
    ThrowingFiles files_;
    ItemQueue queue_;
    std::unique_ptr<LogBook> log_;
    std::unique_ptr<QueueRunView> view_;
    ViewRecord record_;
    RowHook hook_;
};

TEST_F(RunDriver, OnlyCustomFolderRowsRunInOrderByTheirCaptions) {
    select({});
    threeFolderRecords();
    write(paths_.customFolder, "One;" + box_.root() + "junk\\One;1;;1;\r\nTwo;" + box_.root() +
                                   "junk\\Two;1;;0;\r\nThree;" + box_.root() + "junk\\Three;1;;1;\r\n");
    auto run = runHere(RunMode::Test);
    ASSERT_TRUE(run->completed());
    ASSERT_EQ(queue_.rows.size(), 2u);
    EXPECT_EQ(run->currentRow(), 1);
    EXPECT_EQ(statuses(), (std::vector<std::string>{"Completed", "Completed"}));
    EXPECT_EQ(queue_.rows[0].icon, kIconDone);
    const std::string one = "Test Mode: Removing File: " +
                            platform_.system->upperCase(box_.root() + "junk\\One\\") + "f.tmp <OK>";
    std::vector<std::string> expected = {record_.texts[0], std::string(83, '-'),
                                         "Test Mode: [Cleaning One]", one,
                                         "Test Mode: [Cleaning Three]"};
    ASSERT_GE(record_.texts.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(record_.texts.begin(), record_.texts.begin() + 5), expected);
    EXPECT_EQ(run->state().JunkFileCount, 2);
    EXPECT_EQ(run->state().JunkByteCount, 10);
    EXPECT_TRUE(exists("junk\\Two\\f.tmp"));
}

TEST_F(RunDriver, DuplicateCustomTitlesGiveOneRowAndRunBothRecords) {
    select({});
    setRegText("A", "v1", "alpha");
    setRegText("B", "v2", "beta");
    write(paths_.customRegistry,
          "Dup;" + regKey("A") + ";0;;1;\r\ndup;" + regKey("B") + ";0;;0;\r\n");
    auto run = runHere(RunMode::Test);
    ASSERT_EQ(queue_.rows.size(), 1u);
    EXPECT_EQ(run->state().FoundRegistryEntries, 2);
    EXPECT_TRUE(record_.contains("Test Mode: Cleaning Registry Value: alpha <OK>"));
    EXPECT_TRUE(record_.contains("Test Mode: Cleaning Registry Value: beta <OK>"));
    EXPECT_TRUE(regValueExists("A", "v1"));

    auto clean = runHere(RunMode::Clean);
    EXPECT_EQ(clean->state().DeletedRegistryEntries, 2);
    EXPECT_FALSE(regValueExists("A", "v1"));
    EXPECT_FALSE(regValueExists("B", "v2"));
}

TEST_F(RunDriver, PluginWithoutTitleRunsUnderItsFileName) {
    select({});
    setRegText("P", "recent", "one.txt");
    write(home_ + "Plug-Ins\\Tool.cnp",
          "[plugin]\r\nAuthor=Someone\r\n[REGISTRY]\r\nitem1=" + regKey("P") + ",OnlyValues,none\r\n");
    auto run = runHere(RunMode::Test);
    ASSERT_EQ(queue_.rows.size(), 1u);
    EXPECT_EQ(queue_.rows[0].caption, "Tool");
    EXPECT_TRUE(record_.contains("Test Mode: [Cleaning Tool]"));
    EXPECT_EQ(run->state().FoundRegistryEntries, 1);
}

TEST_F(RunDriver, OnlyAZeroDeselects) {
    select({}, {});
    std::string text = "[Items]\r\n";
    for (const auto& item : engine::enumerateBuiltInItems()) {
        std::string value = "0";
        if (item.name == "Windows Run History") value = "00";
        if (item.name == "AOL Cookies") value = "no";
        if (item.name == "AOL Cache") value = "";
        text += item.name + "=" + value + "\r\n";
    }
    write(paths_.selItems, text);
    runHere(RunMode::Test);
    std::vector<std::string> rows;
    for (const auto& r : queue_.rows) rows.push_back(r.caption);
    EXPECT_EQ(rows, (std::vector<std::string>{"Windows Run History", "AOL Cookies", "AOL Cache"}));
    EXPECT_EQ(hook_.started, rows);
    EXPECT_EQ(statuses(), (std::vector<std::string>{"Completed", "Completed", "Completed"}));
}

TEST_F(RunDriver, HeaderCarriesTheStartDateMonthFirst) {
    select({20});
    clock_.time.year = 2006;
    clock_.time.month = 3;
    clock_.time.day = 5;
    clock_.time.hour = 9;
    clock_.time.minute = 4;
    clock_.time.second = 7;
    auto run = runHere(RunMode::Test);
    ASSERT_GE(record_.texts.size(), 3u);
    EXPECT_EQ(record_.texts[0], "Cindral v.3.0 has started work: 03.05.2006 09:04:07");
    EXPECT_EQ(record_.texts[1], std::string(83, '-'));
    EXPECT_EQ(record_.texts[2], "Test Mode: [Cleaning AOL Address Drop-Down List]");
    EXPECT_EQ(run->runDate(), "03.05.2006");
    EXPECT_EQ(run->runTime(), "09:04:07");
    // The header is the first thing the new buffer records.
    ASSERT_GE(log_->bufferLineCount(), 2u);
    EXPECT_EQ(log_->bufferLine(0), record_.texts[0]);
}

TEST_F(RunDriver, StoppingATestRunInTheThirdRowTerminatesThatRowOnly) {
    select({});
    threeFolderRecords();
    write(paths_.customFolder, "One;" + box_.root() + "junk\\One;1;;1;\r\nTwo;" + box_.root() +
                                   "junk\\Two;1;;1;\r\nThree;" + box_.root() +
                                   "junk\\Three;1;;1;\r\nFour;" + box_.root() + "junk\\One;1;;1;\r\n");
    auto run = makeRun(RunMode::Test);
    hook_.row = 2;
    hook_.action = [&] { run->requestStop(); };
    run->runHere();
    EXPECT_FALSE(run->completed());
    EXPECT_EQ(statuses(),
              (std::vector<std::string>{"Completed", "Completed", "Analyzing...", "Pending"}));
    ResetRowStates(*view_, platform_, paths_, false);
    EXPECT_EQ(statuses(),
              (std::vector<std::string>{"Completed", "Completed", "Terminated", "Pending"}));
    EXPECT_EQ(queue_.rows[2].icon, kIconCustomFolder);
    EXPECT_EQ(queue_.rows[0].icon, kIconDone);  // reset off leaves finished rows as they are
    EXPECT_EQ(run->state().JunkFileCount, 2);
}

TEST_F(RunDriver, AStoppedCleanRunDeletesNothingMoreAndNeverReportsCompletion) {
    select({});
    threeFolderRecords();
    auto run = makeRun(RunMode::Clean);
    hook_.row = 1;
    hook_.action = [&] { run->requestStop(); };
    bool finished = false;
    run->start([&](app::Run&) { finished = true; });
    run->wait();
    EXPECT_TRUE(run->done());
    EXPECT_FALSE(run->completed());
    EXPECT_FALSE(finished);
    EXPECT_FALSE(exists("junk\\One\\f.tmp"));
    EXPECT_TRUE(exists("junk\\Two\\f.tmp"));
    EXPECT_TRUE(exists("junk\\Three\\f.tmp"));
}

TEST_F(RunDriver, AFailureInsideAnItemEndsTheBodyButTheRunStillCompletes) {
    select({});
    threeFolderRecords();
    files_.throwOn = "\\TWO";
    auto run = makeRun(RunMode::Clean);
    bool finished = false;
    run->start([&](app::Run& r) { finished = r.completed(); });
    run->wait();
    EXPECT_TRUE(finished);
    EXPECT_EQ(run->failure(), "listing failed");
    EXPECT_EQ(statuses(), (std::vector<std::string>{"Completed", "Analyzing...", "Pending"}));
    EXPECT_EQ(run->state().JunkFileCount, 1);
    EXPECT_TRUE(exists("junk\\Three\\f.tmp"));
}

TEST_F(RunDriver, ARecordAddedAfterTheQueueWasBuiltFindsNoRowAndDoesNotRun) {
    select({});
    threeFolderRecords();
    write(paths_.customFolder, "One;" + box_.root() + "junk\\One;1;;1;\r\n");
    auto run = makeRun(RunMode::Clean);
    // The list changes between the queue's rebuild and the run: a second
    // checked record without a title.
    write(paths_.customFolder, "One;" + box_.root() + "junk\\One;1;;1;\r\n;" + box_.root() +
                                   "junk\\Two;1;;1;\r\n");
    run->runHere();
    ASSERT_TRUE(run->completed());
    EXPECT_EQ(run->currentRow(), 1);
    EXPECT_FALSE(exists("junk\\One\\f.tmp"));
    EXPECT_TRUE(exists("junk\\Two\\f.tmp"));
}

TEST_F(RunDriver, TestRunEmptiesTheLogAtItsPointsAndACleanRunNever) {
    select({20, 21, 22, 23});
    ASSERT_TRUE(store_.writeNumber(settings::kLogRefreshEnable, 1));
    ASSERT_TRUE(store_.writeNumber(settings::kLogRefreshLines, 4));
    runHere(RunMode::Test);
    // Header, rule, then "[Cleaning" lines: the view reaches 4 lines at the
    // second item and is emptied right after that item's line.
    EXPECT_GE(record_.clears, 2);  // the clear at the run's start, then automatic ones
    EXPECT_LT(log_->viewLineCount(), 4u);
    EXPECT_LT(log_->bufferLineCount(), 4u);
    runHere(RunMode::Clean);
    EXPECT_EQ(record_.clears, 0);
    EXPECT_EQ(log_->viewLineCount(), 6u);
}

TEST_F(RunDriver, CleanRunClosesBrowsersOnlyWhenAskedAndTestRunNever) {
    select({20});
    runHere(RunMode::Clean);
    EXPECT_EQ(fakes_.browsers.calls, 0);
    ASSERT_TRUE(store_.writeNumber(settings::kCloseIEBeforeErasing, 1));
    runHere(RunMode::Test);
    EXPECT_EQ(fakes_.browsers.calls, 0);
    runHere(RunMode::Clean);
    EXPECT_EQ(fakes_.browsers.calls, 1);
}

TEST_F(RunDriver, ResetGivesEveryKindOfRowItsRestingIcon) {
    select({2, 11, 24});
    write(home_ + "Plug-Ins\\P.cnp", "[Plugin]\r\nTitle=Plug\r\n");
    write(paths_.customRegistry, "Reg;HKEY_CURRENT_USER\\X;0;;1;\r\n");
    write(paths_.customFolder, "Fol;C:\\X;0;;1;\r\n");
    auto run = makeRun(RunMode::Test);
    ASSERT_EQ(queue_.rows.size(), 6u);
    for (auto& row : queue_.rows) row.icon = kIconInProgress;
    queue_.rows[1].status = kStatusAnalyzing;
    ResetRowStates(*view_, platform_, paths_, false);
    std::vector<int> icons;
    for (const auto& row : queue_.rows) icons.push_back(row.icon);
    EXPECT_EQ(icons, (std::vector<int>{0, 2, 8, kIconPlugin, kIconCustomRegistry, kIconCustomFolder}));
    EXPECT_EQ(queue_.rows[1].status, kStatusTerminated);
    for (auto& row : queue_.rows) row.icon = kIconDone;
    ResetRowStates(*view_, platform_, paths_, false);
    EXPECT_EQ(queue_.rows[0].icon, kIconDone);
    ResetRowStates(*view_, platform_, paths_, true);
    EXPECT_EQ(queue_.rows[0].icon, 0);
}

TEST_F(RunDriver, CountCheckedRecordsByKind) {
    write(paths_.customRegistry, "a;k;0;;1;\r\nb;k;0;;0;\r\nc;k;0;;01;\r\n");
    write(paths_.customFolder, "a;f;0;;1;\n");
    EXPECT_EQ(CountCheckedRecords(*platform_.files, paths_, 1), 2);
    EXPECT_EQ(CountCheckedRecords(*platform_.files, paths_, 2), 1);
    EXPECT_EQ(CountCheckedRecords(*platform_.files, paths_, 3), 0);
    EXPECT_EQ(CountCheckedRecords(*platform_.files, paths_, 0), 0);
}

TEST_F(RunDriver, FixedDriveListTakesOnlyPresentFixedDrivesInLetterOrder) {
    files_.drives = (1u << 0) | (1u << 2) | (1u << 3) | (1u << 4) | (1u << 25);
    files_.types = {{"A:\\", platform::kDriveRemovable},
                    {"C:\\", platform::kDriveFixed},
                    {"D:\\", platform::kDriveCdrom},
                    {"E:\\", platform::kDriveFixed},
                    {"Z:\\", platform::kDriveRemote},
                    {"F:\\", platform::kDriveFixed}};  // not present
    EXPECT_EQ(FixedDriveList(files_), (std::vector<std::string>{"C:\\", "E:\\"}));
}

}  // namespace
}  // namespace cindral::app
