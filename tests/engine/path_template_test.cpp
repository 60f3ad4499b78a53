#include "engine/path_template.h"

#include <gtest/gtest.h>

#include "engine/path_macros.h"
#include "engine/protected_folders.h"
#include "engine_test_support.h"

#ifndef _WIN32
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/posix/files_posix.h"
#include "support/temp_folder.h"
#endif

namespace cindral::engine {
namespace {

using test::Lines;
using test::sorted;

class PathTemplate : public test::EngineTest {
protected:
    // The part that came from the template is upper-cased by the macro
    // expansion; the rest comes from the listing as stored.
    std::string removing(const std::string& fromTemplate, const std::string& listed) {
        return run_.LinePrefix + "Removing File: " + platform_.system->upperCase(at(fromTemplate)) +
               listed + " <OK>";
    }
    void clean(const std::string& relativeTemplate) {
        view_.lines.clear();
        CleanPathTemplate(ctx_, at(relativeTemplate));
    }
};

// Under Windows the names come and go as UTF-8 (the manifest's code page):
// a name outside the legacy code page is found and erased, and upper-casing
// the template leaves its non-ASCII letters alone, as the listing does.
TEST_F(PathTemplate, NamesOutsideTheLegacyCodePageAreFoundAndErased) {
    run_.Erase = true;
    const std::string folder = "caf\xC3\xA9\\", name = "\xE6\x97\xA5\xE6\x9C\xAC.txt";
    file(folder + name);
    clean(folder + "*.txt");
    EXPECT_EQ(view_.lines, Lines{removing(folder, name)});
    EXPECT_EQ(platform_.system->upperCase(folder), "CAF\xC3\xA9\\");
    EXPECT_FALSE(exists(folder + name));
}

// A folder a macro inserts is a name: "&", "..", "?" and "%" in it are not
// template syntax, or a profile folder such as "R&D" would send a recursive
// walk elsewhere (here: into the folders marked "wrong").
TEST_F(PathTemplate, FoldersFromMacrosAreTakenLiterally) {
    std::vector<std::string> names = {"R&D", "a..b", "p%TEMP%q"};
#ifndef _WIN32
    names.push_back("q?x");  // no Windows name holds a "?"
#endif
    for (const char* wrong : {"R\\D\\wrong.txt", "a.b\\wrong.txt", "qx\\wrong.txt"}) file(wrong);
    const std::pair<const char*, int> macros[] = {{"%APP_DATA%", platform::kCsidlAppData},
                                                  {"%COOKIE%", platform::kCsidlCookies},
                                                  {"%HISTORY%", platform::kCsidlHistory},
                                                  {"%CACHE%", platform::kCsidlInternetCache},
                                                  {"%RECENT%", platform::kCsidlRecent},
                                                  {"%TEMP%", -1},
                                                  {"%WINDOWS%", -2}};
    for (const std::string& name : names) {
        file(name + "\\sub\\in.txt");
        for (const auto& [macro, csidl] : macros) {
            folders_.folders = {{csidl, at(name)}};
            files_.temp = csidl == -1 ? at(name + "\\") : "C:\\Temp\\";
            files_.windows = csidl == -2 ? at(name) : "C:\\WINDOWS";
            view_.lines.clear();
            CleanPathTemplate(ctx_, std::string(macro) + "\\*?");
            EXPECT_EQ(view_.lines,
                      Lines{run_.LinePrefix + "Removing File: " + at(name) + "\\sub\\in.txt <OK>"})
                << macro << " = " << name;
        }
    }
}

TEST_F(PathTemplate, FinderPicksTheFolderNearestTheRootAndShowsProgress) {
    run_.Erase = true;
    file("prof\\a\\deep\\Cache\\far.dat");
    file("prof\\b\\Cache\\near.dat");
    file("prof\\b\\Cache\\sub\\inner.dat");
    view_.lines = {"[Cleaning Netscape Cache]"};
    CleanPathTemplate(ctx_, at("prof\\&Cache\\*?"));
    // The item's header was taken over by the finder's progress line.
    ASSERT_EQ(view_.lines.size(), 3u);
    EXPECT_EQ(view_.lines[0].rfind("Analyzing Folder: ", 0), 0u) << view_.lines[0];
    EXPECT_EQ(sorted({view_.lines[1], view_.lines[2]}),
              sorted({removing("prof\\", "b\\Cache\\near.dat"),
                      removing("prof\\", "b\\Cache\\sub\\inner.dat")}));
    EXPECT_TRUE(exists("prof\\a\\deep\\Cache\\far.dat"));
    EXPECT_EQ(run_.counters.JunkFileCount, 2);
}

TEST_F(PathTemplate, RelativeExpansionOrInvalidMaskIsNotWalked) {
    // No cookie folder: "%COOKIE%\*?" would walk "*" below the current folder.
    folders_.folders.clear();
    run_.Erase = true;
    for (const char* t : {"%COOKIE%\\*?", "%APP_DATA%\\Mozilla\\&Cache\\*?", "C:relative\\*"})
        CleanPathTemplate(ctx_, t);
    EXPECT_TRUE(view_.lines.empty());
    file("i\\a.txt");
    clean("i\\[a-c.txt");
    EXPECT_EQ(view_.lines, Lines{"Invalid file mask: [A-C.TXT <SKIPPED>"});
    EXPECT_TRUE(files_.listed.empty());
    EXPECT_TRUE(files_.deleted.empty());
}

// A recursive template that comes out as a folder the system or the user
// cannot do without walks nothing below it; without recursion a mask that
// picks some of its own files handles them as usual, but none takes them all.
TEST_F(PathTemplate, ProtectedFoldersAreNotWalkedWithSubfoldersNorEmptied) {
    files_.windows = at("Win");
    files_.temp = at("Users\\Ann\\");  // no temporary folder of its own
    folders_.folders = {{platform::kCsidlSystem, at("Win\\System32")},
                        {platform::kCsidlProgramFiles, at("Programs")},
                        {platform::kCsidlProfile, at("Users\\Ann")}};
    run_.ProtectedFolders = ProtectedFolders(platform_, at("Prog\\"));
    run_.Erase = true;
    const struct {
        std::string pathTemplate, walkedFolder;  // walkedFolder empty: protected
    } cases[] = {
        {"%WINDOWS%\\*?", ""},
        {at("win\\System32\\*.dll?"), ""},
        {at("Programs\\\\*?"), ""},
        {at("Users\\Ann\\*?"), ""},
        {at("Prog\\*?"), ""},
        {at("&Win\\*?"), ""},         // the folder the finder found
        {"%TEMP%\\*", ""},            // all files of the profile
        {at("Win\\*.*"), ""},         // all files of Windows
        {at("Win\\*.tmp"), "Win\\"},  // no subfolders: its own files go
        {at("Users\\Ann\\Temp\\*?"), "Users\\Ann\\Temp\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pathTemplate);
        for (const char* f : {"Win\\a.tmp", "Win\\System32\\k.dll", "Programs\\x.exe",
                              "Users\\Ann\\doc.txt", "Users\\Ann\\Temp\\t.tmp", "Prog\\p.dat"})
            file(f);
        view_.lines.clear();
        files_.deleted.clear();
        CleanPathTemplate(ctx_, c.pathTemplate);
        if (c.walkedFolder.empty()) {
            ASSERT_FALSE(view_.lines.empty());  // the finder's progress line may come first
            const std::string& last = view_.lines.back();
            EXPECT_EQ(last.rfind("Protected folder: ", 0), 0u) << last;
            EXPECT_EQ(last.substr(last.size() - 10), " <SKIPPED>");
            EXPECT_TRUE(files_.deleted.empty());
        } else {
            ASSERT_EQ(files_.deleted.size(), 1u);
            const std::string folder = platform_.system->upperCase(at(c.walkedFolder));
            EXPECT_EQ(files_.deleted[0].rfind(folder, 0), 0u) << files_.deleted[0];
        }
    }
    view_.lines.clear();
    CleanPathTemplate(ctx_, "C:\\*?");
    EXPECT_EQ(view_.lines, Lines{"Protected folder: C:\\ <SKIPPED>"});
}

TEST_F(PathTemplate, DriveScanWalksEachDriveInOrderAndReportsFilesOnly) {
    run_.LinePrefix = "Test Mode: ";
    file("d1\\x\\a.tmp", "12");
    file("d1\\~w.doc", "123");
    file("d1\\keep.txt");
    folder("d1\\folder.tmp");
    file("d2\\b.TMP", "1");
    view_.lines = {"[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {"*.tmp", "~*.*"}, {at("d1\\"), at("d2\\")});
    auto line = [&](const char* rel) { return "Test Mode: Removing File: " + at(rel) + " <OK>"; };
    // The top folder before its subfolder; the header and the progress line are gone.
    EXPECT_EQ(view_.lines, (Lines{line("d1\\~w.doc"), line("d1\\x\\a.tmp"), line("d2\\b.TMP")}));
    EXPECT_EQ(run_.counters.JunkFileCount, 3);
    EXPECT_EQ(run_.counters.JunkByteCount, 6);
    EXPECT_TRUE(exists("d1\\x\\a.tmp"));
}

TEST_F(PathTemplate, DriveScanDropsOnlyAnInvalidMaskAndNeedsSomeMaskAndDrive) {
    run_.Erase = true;
    file("d1\\a.tmp");
    file("d1\\b.[x");
    view_.lines = {"[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {"*.[x", "*.tmp"}, {at("d1\\")});
    EXPECT_EQ(view_.lines,
              (Lines{"[Cleaning Drive Scan with Mask]", "Invalid file mask: *.[x <SKIPPED>",
                     "Removing File: " + at("d1\\a.tmp") + " <OK>"}));
    EXPECT_TRUE(exists("d1\\b.[x"));
    view_.lines = {"h"};
    RunDriveScan(ctx_, {"[bad"}, {at("d1\\")});
    EXPECT_EQ(view_.lines, (Lines{"h", "Invalid file mask: [bad <SKIPPED>"}));
    view_.lines = {"h"};
    run_.LinePrefix = "Test Mode: ";
    RunDriveScan(ctx_, {}, {at("d1\\")});
    EXPECT_EQ(view_.lines, (Lines{"h", "Test Mode: Mask list is empty. <SKIPPED>"}));
    EXPECT_EQ(files_.listed.size(), 1u);  // only the walk of the valid mask
    // A walk that finds nothing leaves neither the header nor a progress line.
    folder("empty\\sub");
    view_.lines = {"before", "[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {"*.tmp"}, {at("empty\\")});
    EXPECT_EQ(view_.lines, Lines{"before"});
}

TEST_F(PathTemplate, MacrosExpandToFoldersInTheirOwnCaseAndTheRestIsUpperCased) {
    // A redirected folder on a network share keeps its leading "\\".
    folders_.folders = {{platform::kCsidlAppData, "\\\\srv\\Ann\\AppData"},
                        {platform::kCsidlLocalAppData, "C:\\L\\%TEMP%"}};
    files_.windows = "C:\\WINDOWS";
    files_.temp = "C:\\Temp\\";
    const std::pair<const char*, const char*> rows[] = {
        {"%APP_DATA%\\x", "\\\\srv\\Ann\\AppData\\X"},
        {"%TEMP%\\*", "C:\\Temp\\*"},  // a folder with a trailing "\" leaves one separator
        {"%WINDOWS%\\Temp\\*?", "C:\\WINDOWS\\TEMP\\*?"},
        // Macros go in a fixed order, the newest last: a folder keeps the text of an earlier one.
        {"%local_app_data%\\a", "C:\\L\\%TEMP%\\A"},
        // One pass each over doubled separators and dots, then a leading "\" goes.
        {"\\Data\\x..y", "DATA\\X.Y"},
        {"C:\\a\\\\\\b", "C:\\A\\\\B"},
        {"....", ".."},
        {"\\\\server", "SERVER"},
    };
    for (const auto& [from, to] : rows) EXPECT_EQ(ExpandPathMacros(platform_, from), to) << from;
    folders_.folders.clear();
    EXPECT_EQ(ExpandPathMacros(platform_, "%COOKIE%\\*?"), "*?");  // a missing folder is empty text
}

#ifndef _WIN32
// A folder swapped for a link to other files, and back, again and again
// while a clean run walks and deletes the tree: the handle-relative walk of
// the Linux backend must never delete through the link, and the run must
// count only what it really removed. Wine cannot make symbolic links, so
// this runs on Linux only. CINDRAL_LINK_RACE_SWAPS sets the number of swaps
// (a few hundred by default; 10000 for the long run the README names).
namespace fs = std::filesystem;

int fileCount(const fs::path& folder) {
    int n = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; it != end; it.increment(ec))
        n += it->is_regular_file(ec) && !it->is_symlink(ec);
    return n;
}

using LinkRaceTest = test::EngineTest;

TEST_F(LinkRaceTest, ASubfolderSwappedForALinkNeverLeadsTheRunToOtherFiles) {
    const char* wanted = ::getenv("CINDRAL_LINK_RACE_SWAPS");
    const long swaps = wanted ? std::atol(wanted) : 300;
    std::string root;
    ASSERT_TRUE(
        dynamic_cast<platform::PosixFiles&>(*box_.platform().files).toHostPath(box_.root(), root));
    const fs::path tree = fs::path(root) / "tree", canary = fs::path(root) / "canary";
    const fs::path sub = tree / "sub", parked = tree / "sub.real";
    fs::create_directories(canary);
    for (int i = 0; i < 20; ++i) std::ofstream(canary / ("c" + std::to_string(i) + ".tmp")) << i;
    run_.Erase = true;

    long swapped = 0, linksRemoved = 0;
    for (int round = 0; swapped < swaps; ++round) {
        fs::create_directories(sub);
        for (int i = 0; i < 20; ++i) std::ofstream(sub / ("s" + std::to_string(i) + ".tmp")) << i;
        for (int i = 0; i < 5; ++i) std::ofstream(tree / ("t" + std::to_string(i) + ".tmp")) << i;
        const int before = fileCount(tree);
        run_.counters = RunCounters();
        wipe_.secureErasing = round % 2 == 1;

        std::atomic<bool> walking{true};
        std::thread swapper([&] {
            while (walking.load()) {
                if (::rename(sub.c_str(), parked.c_str()) != 0) break;
                if (::symlink(canary.c_str(), sub.c_str()) == 0 && ::unlink(sub.c_str()) != 0)
                    ++linksRemoved;  // the run removed the link itself
                if (::rename(parked.c_str(), sub.c_str()) != 0) break;
                ++swapped;
            }
        });
        CleanPathTemplate(ctx_, at("tree\\*?"));
        walking.store(false);
        swapper.join();
        ASSERT_TRUE(fs::is_directory(sub) && !fs::is_symlink(sub)) << "round " << round;

        ASSERT_EQ(fileCount(canary), 20) << "round " << round;
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(cindral::test::readHostFile(canary / ("c" + std::to_string(i) + ".tmp")),
                      std::to_string(i))
                << "canary " << i << " overwritten in round " << round;
        const long removed = before - fileCount(tree) + linksRemoved;
        linksRemoved = 0;
        ASSERT_EQ(run_.counters.JunkFileCount, removed) << "round " << round;
    }
}
#endif  // _WIN32

}  // namespace
}  // namespace cindral::engine
