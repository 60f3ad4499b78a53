// The program's own files under a failing disk: each save below is run once
// for every file operation it makes, that operation failing. Whatever fails,
// the file holds exactly its old or its new content, and a save that says it
// succeeded left the new one.
#include <gtest/gtest.h>

#include <functional>

#include "app/log_book.h"
#include "selection/custom_record_list.h"
#include "selection/selection_store.h"
#include "settings/keeper_lists.h"
#include "support/faulty_files.h"
#include "support/sandbox.h"
#ifndef _WIN32
#include "platform/posix/profile_posix.h"
#endif

namespace cindral {
namespace {

struct DataFileCase {
    const char* name;
    const char* oldContent;
    const char* newContent;
    // Loads the file, changes it as its dialog or a run does, saves it.
    std::function<bool(platform::Files&, const std::string& path)> save;
};

const DataFileCase kCases[] = {
    {"CustomRegistry.dat", "Run;HKCU\\Run;0;;1;\r\n",
     "Run;HKCU\\Run;0;;1;\r\nMRU;HKCU\\MRU;0;;1;\r\n",
     [](platform::Files& files, const std::string& path) {
         // DriveScan.dat's mask list is the same line list, loaded and saved alike.
         selection::CustomRecordList records;  // a list it could not read is not saved
         records.load(files, path);
         records.add("MRU;HKCU\\MRU;0;;1;");
         return records.save(files, path);
     }},
    {"CustomFolder.dat", "Temp;C:\\Temp\\;0;*.*;1;\r\nLogs;C:\\Logs\\;1;*.log;1;\r\n",
     "Temp;C:\\Temp\\;0;*.*;0;\r\nLogs;C:\\Logs\\;1;*.log;1;\r\n",
     [](platform::Files& files, const std::string& path) {
         return selection::WriteBackChecks(files, path, {false, true});
     }},
    {"CookieKept.dat", "C:\\Cookies\\user@bank.txt\r\n",
     "C:\\Cookies\\user@bank.txt\r\nC:\\Cookies\\user@mail.txt\r\n",
     [](platform::Files& files, const std::string& path) {
         settings::KeeperList kept;  // the Keeper dialog edits only a list it read
         if (settings::LoadKeptList(files, path, kept) == selection::ReadStatus::Unreadable)
             return false;
         kept.push_back("C:\\Cookies\\user@mail.txt");
         return settings::SaveKeptList(files, path, kept);
     }},
    {"logs.txt", "earlier run\r\n", "earlier run\r\nthis run\r\n",
     [](platform::Files& files, const std::string& path) {
         app::LogBook book(files, path);
         book.setRecording(true);
         book.createBufferFromFile();
         book.addLine("this run");
         return book.saveBuffer();
     }},
#ifndef _WIN32  // Windows' own profile functions write SelItems.dat there
    {"SelItems.dat", "[Items]\r\nClipboard=1\r\nRecycle Bin=0\r\n",
     "[Items]\r\nClipboard=0\r\nRecycle Bin=0\r\n",
     [](platform::Files& files, const std::string& path) {
         platform::PosixProfileFiles profiles(files);
         selection::SelectionStore store(profiles, files, path);
         return store.SetSelected("Clipboard", false);
     }},
#endif
};

TEST(DataFileFaultsTest, AFailingCallLeavesEachFileWithItsOldOrItsNewContent) {
    test::Sandbox box;
    platform::Files& disk = *box.platform().files;
    for (const DataFileCase& c : kCases) {
        const std::string path = box.root() + c.name;
        for (int n = 1;; ++n) {
            SCOPED_TRACE(std::string(c.name) + ", call " + std::to_string(n) + " fails");
            ASSERT_TRUE(box.writeFile(path, c.oldContent));
            test::FaultyFiles faulty(disk);
            faulty.failNth(n);
            const bool saved = c.save(faulty, path);
            std::string now;
            ASSERT_TRUE(disk.readFile(path, now));
            if (faulty.calls < n) {  // nothing failed
                EXPECT_TRUE(saved);
                EXPECT_EQ(now, c.newContent);
                break;
            }
            EXPECT_TRUE(saved ? now == c.newContent : now == c.oldContent) << now;
        }
    }
}

}  // namespace
}  // namespace cindral
