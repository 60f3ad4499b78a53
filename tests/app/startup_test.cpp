#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/home_folder.h"
#include "app/log_lines.h"
#include "engine/builtin_items.h"
#include "platform/registry.h"
#include "support/fixtures.h"

using namespace cindral;
using namespace cindral::app;
using Lines = std::vector<std::string>;

// The run's date and time are pinned by the first start's log line below.
TEST(StartupText, OsNameIconSetAndHomeFolder) {
    using platform::kPlatformNt;
    using platform::kPlatformWin9x;
    const struct {
        platform::SystemVersion v;
        const char* name;
        int imageSet;
    } cases[] = {
        {{platform::kPlatformWin32s, 3, 10}, "Windows 3.1", 1},
        {{kPlatformWin9x, 4, 90}, "Windows ME", 1},
        {{kPlatformWin9x, 4, 89}, "Windows 98", 1},
        {{kPlatformWin9x, 4, 0}, "Windows 95", 1},
        {{kPlatformNt, 5, 2}, "Windows XP", 0},
        {{kPlatformNt, 5, 0}, "Windows 2000", 1},
        {{kPlatformNt, 10, 0}, "Windows NT", 0},
        {{7, 5, 1}, "Unknown Operating System", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.v.platformId) + " " + std::to_string(c.v.major) + "." +
                     std::to_string(c.v.minor));
        EXPECT_EQ(OsName(c.v), c.name);
        EXPECT_EQ(ChooseImageSet(c.v), c.imageSet);  // the newer set from XP on, for NT only
    }

    EXPECT_EQ(HomeFolderOf("C:cindral.exe"), "C:");
    EXPECT_EQ(HomeFolderOf("cindral.exe"), "");
}

class StartupTest : public test::HomeTest {
protected:
    StartupTest() {
        system_.now = platform::SystemTime{2006, 3, 0, 5, 9, 4, 7, 0};
        system_.ver = platform::SystemVersion{platform::kPlatformNt, 5, 1};
    }
    std::string sel(const std::string& key) {
        return platform_.profiles->readString(paths_.selItems, "Items", key, "<none>");
    }
    void expectShown(const Lines& params, bool window, bool tray) {
        const StartupDecisions d = DecideStartup(settings_, params);
        EXPECT_EQ(d.showMainWindow, window) << testing::PrintToString(params);
        EXPECT_EQ(d.showTrayIcon, tray) << testing::PrintToString(params);
    }
};

TEST_F(StartupTest, WindowTrayLabelAndRunAtStartDecisions) {
    expectShown({}, true, true);
    expectShown({"-M"}, false, true);
    expectShown({"-s", "-m"}, true, true);  // only the first parameter counts for -m
    ASSERT_TRUE(settings_.write(settings::kInvisibleMode, 1));
    expectShown({}, false, false);  // no HotKey2 stored: "Ctrl+Shift+U" brings it back
    const std::string told = AlreadyRunningText(settings_);  // and a second instance names it
    EXPECT_EQ(told.substr(told.rfind(": ")), ": Ctrl+Shift+U");
    const StartupDecisions held =
        DecideStartup(settings_, {}, false);  // another program has the key
    EXPECT_TRUE(held.showMainWindow && held.showTrayIcon);
    ASSERT_TRUE(settings_.write(settings::kHotKey2, ""));
    expectShown({}, true, true);  // no way back: stay visible

    EXPECT_FALSE(DecideStartup(settings_, {}).setStatusLabel);  // StoreDate on, LastDate empty
    ASSERT_TRUE(settings_.write(settings::kLastDate, "03.05.2006 09:04:07"));
    EXPECT_EQ(DecideStartup(settings_, {}).statusLabel, "Last Erasing Date 03.05.2006 09:04:07");
    ASSERT_TRUE(settings_.write(settings::kStoreDate, 0));
    EXPECT_FALSE(DecideStartup(settings_, {}).setStatusLabel);

    // A run at start consults exactly one switch.
    ASSERT_TRUE(settings_.write(settings::kEraseStart, 1));
    EXPECT_FALSE(DecideStartup(settings_, {"-S"}).startCleaningRun);  // started with the system
    EXPECT_TRUE(DecideStartup(settings_, {}).startCleaningRun);
    ASSERT_TRUE(settings_.write(settings::kEraseWinStart, 1));
    ASSERT_TRUE(settings_.write(settings::kEraseStart, 0));
    EXPECT_TRUE(DecideStartup(settings_, {"-m", "-s"}).startCleaningRun);
    EXPECT_FALSE(DecideStartup(settings_, {"-m", "x", "-s"}).startCleaningRun);  // third is ignored
}

TEST_F(StartupTest, FirstStartQueuesEverythingRecordsTheSelectionAndLogsFromReadyOn) {
    write(paths_.pluginFolder + "b.cnp", "[Plugin]\r\nTitle=Beta\r\n");
    write(paths_.pluginFolder + "A.CNP", "");
    LogBook log(files_, home_ + "logs.txt");
    const StartupState s = PrepareStartup(platform_, settings_, log);

    EXPECT_TRUE(box_.exists(home_ + "Data"));
    ASSERT_EQ(s.queue.rows.size(), 26u);
    EXPECT_EQ(sel(engine::BuiltInItems().back().name), "1");
    EXPECT_EQ(s.queue.rows[24].caption + "," + s.queue.rows[25].caption, "A,Beta");
    EXPECT_EQ(settings_.texts[settings::kHomeFolder.name], home_);
    EXPECT_EQ(settings_.texts[settings::kPluginFolder.name], home_ + "Plug-Ins\\");
    EXPECT_EQ(test::viewLines(log),
              (Lines{"Cindral v3.0 initialized: 03.05.2006 09:04:07 <OK>",
                     "Detecting System Directories... <OK>", "Performing self-tests... <OK>",
                     "OS Detected: Windows XP"}));
    // A run started at start-up creates its buffer before recording is on:
    // the lines before "Ready." never reach the log file.
    log.clearView();
    log.createBufferFromFile();
    log.addLine("run line before Ready");
    FinishStartup(log);
    EXPECT_EQ(log.viewLine(log.viewLineCount() - 1), "Ready.");
    log.addLine("run line after Ready");
    ASSERT_TRUE(log.saveBuffer());
    EXPECT_EQ(read(home_ + "logs.txt"), "Ready.\r\nrun line after Ready\r\n");
}

// Only a stored "0" leaves an item out; any other text keeps it, written
// back as "1". Which record marks count is the record list's test.
TEST_F(StartupTest, RebuildQueuesSelectedItemsThenCheckedRecordsOfEachKind) {
    write(paths_.pluginFolder + "off.cnp", "[Plugin]\r\nTitle=Off\r\n");
    write(paths_.pluginFolder + "odd.cnp", "[Plugin]\r\nTitle=Odd\r\n");
    select({1}, {{"Off", "0"}, {"Odd", "00"}});
    write(paths_.customRegistry, "R1;HKCU\\A;0;;1;\r\nR2;HKCU\\B;0;;0;\r\n");
    write(paths_.customFolder, "F1;C:\\x;0;;1;\r\n");
    const ItemQueue q = RebuildItemQueue(platform_, paths_);
    Lines captions;
    for (const auto& r : q.rows) captions.push_back(r.caption);
    EXPECT_EQ(captions, (Lines{"IE Address Drop-Down List", "Odd", "R1", "F1"}));
    EXPECT_EQ(q.pluginFiles, (Lines{"odd.cnp", "off.cnp"}));  // each listed, queued or not
    EXPECT_EQ(sel("Odd"), "1");
}
