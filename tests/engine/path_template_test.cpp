#include "engine/path_template.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

class EmptyShellFolders : public platform::ShellFolders {
public:
    std::string specialFolder(int) override { return std::string(); }
};

class PathTemplate : public test::EngineTest {
protected:
    // Templates are upper-cased by the macro expansion, so are the paths
    // the walker reports.
    std::string up(const std::string& relative) {
        return platform_.system->upperCase(at(relative));
    }
    // The part that came from the template is upper case, the rest comes
    // from the listing as stored.
    std::string removing(const std::string& fromTemplate, const std::string& listed,
                         const char* suffix = " <OK>") {
        return run_.LinePrefix + "Removing File: " + up(fromTemplate) + listed + suffix;
    }
    void clean(const std::string& relativeTemplate) {
        CleanPathTemplate(ctx_, at(relativeTemplate));
    }
    std::vector<std::string> sorted(std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    }
};

TEST_F(PathTemplate, QuestionMarkWalksSubfoldersAndIsRemoved) {
    run_.Erase = true;
    file("tmp\\a.txt");
    file("tmp\\sub\\b.txt");
    clean("tmp\\*?");
    EXPECT_EQ(sorted(view_.lines), sorted({removing("tmp\\", "a.txt"), removing("tmp\\", "sub\\b.txt")}));
    EXPECT_FALSE(exists("tmp\\sub\\b.txt"));
    EXPECT_TRUE(exists("tmp\\sub"));  // folders are never removed

    // Without the marker only the top level, also right after a recursive walk.
    view_.lines.clear();
    file("tmp\\c.txt");
    file("tmp\\sub\\d.txt");
    clean("tmp\\*");
    EXPECT_EQ(view_.lines, std::vector<std::string>{removing("tmp\\", "c.txt")});
    EXPECT_TRUE(exists("tmp\\sub\\d.txt"));
    EXPECT_EQ(run_.JunkFileCount, 3);
}

TEST_F(PathTemplate, OnlyTheFirstQuestionMarkIsTheMarker) {
    run_.Erase = false;
    run_.LinePrefix = "Test Mode: ";
    file("f\\file.txt");
    file("f\\file1.txt");
    file("f\\sub\\file.txt");
    clean("f\\file?.txt");
    EXPECT_EQ(sorted(view_.lines), sorted({removing("f\\", "file.txt"), removing("f\\", "sub\\file.txt")}));
    view_.lines.clear();
    clean("f\\file??.txt");
    EXPECT_EQ(view_.lines, std::vector<std::string>{removing("f\\", "file1.txt")});
}

TEST_F(PathTemplate, StarDotStarLeavesNamesWithoutADotAndTrailingSlashFindsNothing) {
    run_.Erase = true;
    file("m\\README");
    file("m\\a.b");
    clean("m\\*.*");
    EXPECT_EQ(view_.lines, std::vector<std::string>{removing("m\\", "a.b")});
    EXPECT_TRUE(exists("m\\README"));
    view_.lines.clear();
    clean("m\\");
    EXPECT_TRUE(view_.lines.empty());
    EXPECT_TRUE(exists("m\\README"));
}

TEST_F(PathTemplate, FinderPicksTheFolderNearestTheRootAndShowsProgress) {
    run_.Erase = true;
    file("prof\\a\\deep\\Cache\\far.dat");
    file("prof\\b\\Cache\\near.dat");
    file("prof\\b\\Cache\\sub\\inner.dat");
    view_.lines = {"[Cleaning Netscape Cache]"};
    clean("prof\\&Cache\\*?");
    ASSERT_FALSE(view_.lines.empty());
    // The item's header was taken over by the finder's progress line.
    EXPECT_EQ(view_.lines[0].rfind("Analyzing Folder: ", 0), 0u) << view_.lines[0];
    const std::vector<std::string> removed(view_.lines.begin() + 1, view_.lines.end());
    EXPECT_EQ(sorted(removed), sorted({removing("prof\\", "b\\Cache\\near.dat"),
                                       removing("prof\\", "b\\Cache\\sub\\inner.dat")}));
    EXPECT_TRUE(exists("prof\\a\\deep\\Cache\\far.dat"));
}

TEST_F(PathTemplate, FinderThatFindsNothingWalksNothing) {
    run_.Erase = true;
    file("prof\\x\\keep.dat");
    clean("prof\\&Nowhere\\*?");
    EXPECT_TRUE(exists("prof\\x\\keep.dat"));
    EXPECT_EQ(run_.JunkFileCount, 0);
    ASSERT_EQ(view_.lines.size(), 1u);  // only the progress line
}

TEST_F(PathTemplate, RelativeExpansionIsNotWalked) {
    // No cookie folder: "%COOKIE%\*?" would walk "*" below the current folder.
    EmptyShellFolders none;
    platform_.shellFolders = &none;
    run_.Erase = true;
    CleanPathTemplate(ctx_, "%COOKIE%\\*?");
    CleanPathTemplate(ctx_, "%APP_DATA%\\Mozilla\\Profiles\\Default\\&Cache\\*?");
    CleanPathTemplate(ctx_, "C:relative\\*");
    EXPECT_TRUE(hooked_.listed.empty());
    EXPECT_TRUE(hooked_.deleted.empty());
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(PathTemplate, InvalidMaskIsLoggedAndNothingIsWalked) {
    run_.Erase = true;
    run_.LinePrefix = "";
    file("i\\a.txt");
    clean("i\\[a-c.txt");
    EXPECT_EQ(view_.lines, std::vector<std::string>{"Invalid file mask: [A-C.TXT <SKIPPED>"});
    EXPECT_TRUE(hooked_.listed.empty());
    EXPECT_TRUE(exists("i\\a.txt"));
}

TEST_F(PathTemplate, ALinkToPreciousFilesLeavesThemInPlace) {
    file("precious\\gold.txt", "GOLD");
    file("precious\\inner\\silver.txt", "SILVER");
    file("temp\\junk.tmp");
    const bool folderLink = box_.makeSymlink(at("temp\\link"), at("precious"), true);
    const bool fileLink = box_.makeSymlink(at("temp\\gold-link.txt"), at("precious\\gold.txt"), false);
    if (!folderLink && !fileLink) GTEST_SKIP() << "this system cannot create symbolic links";
    run_.Erase = true;
    setSetting(settings::kSecureErasing, 0);
    clean("temp\\*?");
    setSetting(settings::kSecureErasing, 1);
    clean("temp\\*?");
    EXPECT_FALSE(exists("temp\\junk.tmp"));
    std::string bytes;
    ASSERT_TRUE(box_.platform().files->readFile(at("precious\\gold.txt"), bytes));
    EXPECT_EQ(bytes, "GOLD");
    ASSERT_TRUE(box_.platform().files->readFile(at("precious\\inner\\silver.txt"), bytes));
    EXPECT_EQ(bytes, "SILVER");
    for (const auto& l : view_.lines) EXPECT_EQ(l.find("PRECIOUS"), std::string::npos) << l;
}

class DriveScan : public PathTemplate {};

TEST_F(DriveScan, EmptyMaskListIsSkipped) {
    run_.LinePrefix = "Test Mode: ";
    view_.lines = {"[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {}, {at("d1\\")});
    EXPECT_EQ(view_.lines, (std::vector<std::string>{"[Cleaning Drive Scan with Mask]",
                                                     "Test Mode: Mask list is empty. <SKIPPED>"}));
    EXPECT_TRUE(hooked_.listed.empty());
}

TEST_F(DriveScan, WalksEachDriveInOrderAndLeavesOneLinePerFile) {
    run_.Erase = false;
    run_.LinePrefix = "Test Mode: ";
    file("d1\\x\\a.tmp", "12");
    file("d1\\~w.doc", "123");
    file("d1\\keep.txt");
    folder("d1\\folder.tmp");
    file("d2\\b.TMP", "1");
    view_.lines = {"[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {"*.tmp", "~*.*"}, {at("d1\\"), at("d2\\")});
    auto line = [&](const std::string& rel) { return "Test Mode: Removing File: " + at(rel) + " <OK>"; };
    ASSERT_EQ(view_.lines.size(), 3u);
    EXPECT_EQ(view_.lines[0], line("d1\\~w.doc"));  // the top folder before its subfolder
    EXPECT_EQ(view_.lines[1], line("d1\\x\\a.tmp"));
    EXPECT_EQ(view_.lines[2], line("d2\\b.TMP"));
    EXPECT_EQ(run_.JunkFileCount, 3);
    EXPECT_EQ(run_.JunkByteCount, 6);
    EXPECT_TRUE(exists("d1\\x\\a.tmp"));
}

TEST_F(DriveScan, InvalidMaskIsDroppedAndTheOthersRun) {
    run_.Erase = true;
    file("d1\\a.tmp");
    file("d1\\b.[x");
    view_.lines = {"[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {"*.[x", "*.tmp"}, {at("d1\\")});
    EXPECT_EQ(view_.lines, (std::vector<std::string>{"[Cleaning Drive Scan with Mask]",
                                                     "Invalid file mask: *.[x <SKIPPED>",
                                                     "Removing File: " + at("d1\\a.tmp") + " <OK>"}));
    EXPECT_FALSE(exists("d1\\a.tmp"));
    EXPECT_TRUE(exists("d1\\b.[x"));

    view_.lines = {"h"};
    RunDriveScan(ctx_, {"[bad"}, {at("d1\\")});
    EXPECT_EQ(view_.lines, (std::vector<std::string>{"h", "Invalid file mask: [bad <SKIPPED>"}));
}

TEST_F(DriveScan, NoDriveRemovesTheHeaderAndNothingFoundLeavesNoProgress) {
    view_.lines = {"[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {"*.tmp"}, {});
    EXPECT_TRUE(view_.lines.empty());
    folder("empty\\sub");
    view_.lines = {"before", "[Cleaning Drive Scan with Mask]"};
    RunDriveScan(ctx_, {"*.tmp"}, {at("empty\\")});
    EXPECT_EQ(view_.lines, std::vector<std::string>{"before"});
}

}  // namespace
}  // namespace cindral::engine
