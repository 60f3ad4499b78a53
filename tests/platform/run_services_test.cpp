// The run services of the build's backend. The recycle bin is exercised on a
// private Trash folder on Linux; under Wine only the query is made, because
// emptying the bin there reaches the host's own Trash.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/run_services.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#endif

namespace cindral::platform {
namespace {

TEST(RunServices, BundleHasEveryService) {
    auto native = createNativeRunServices();
    RunServices& s = native->services();
    EXPECT_NE(s.urlCache, nullptr);
    EXPECT_NE(s.recycleBin, nullptr);
    EXPECT_NE(s.clipboard, nullptr);
    EXPECT_NE(s.browserWindows, nullptr);
}

TEST(RunServices, ClosingBrowserWindowsWithNoneOpenReturnsAtOnce) {
    auto native = createNativeRunServices();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(native->services().browserWindows->closeAll(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(RunServices, ClipboardCanBeEmptied) {
    auto native = createNativeRunServices();
    EXPECT_TRUE(native->services().clipboard->empty());
}

#ifdef _WIN32
TEST(RunServices, RecycleBinQueryFillsOrClearsTheFigures) {
    // Wine's shell may refuse the query altogether; either way the figures
    // must not be left as they were.
    auto native = createNativeRunServices();
    RecycleBinContents contents;
    contents.itemCount = 0xdeadbeef;
    contents.totalSize = 0xdeadbeef;
    if (native->services().recycleBin->query(contents)) {
        EXPECT_NE(contents.itemCount, 0xdeadbeefu);
        EXPECT_NE(contents.totalSize, 0xdeadbeefu);
    } else {
        EXPECT_EQ(contents.itemCount, 0u);
        EXPECT_EQ(contents.totalSize, 0u);
    }
}

TEST(RunServices, UrlCacheClearingReturns) {
    auto native = createNativeRunServices();
    native->services().urlCache->clearCache();
    native->services().urlCache->clearHistory();  // result depends on the system
    SUCCEED();
}
#else

class PosixTrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/cindral-trash-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        base_ = pattern;
        trash_ = base_ + "/Trash";
        RunServicesOptions options;
        options.trashFolder = trash_;
        native_ = createNativeRunServices(options);
    }
    void TearDown() override {
        std::string cmd = "rm -rf '" + base_ + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }

    void write(const std::string& path, std::size_t bytes) {
        std::ofstream out(path, std::ios::binary);
        out << std::string(bytes, 'x');
    }
    void trashFile(const std::string& name, std::size_t bytes) {
        write(trash_ + "/files/" + name, bytes);
        write(trash_ + "/info/" + name + ".trashinfo", 10);
    }
    void makeLayout() {
        ASSERT_EQ(mkdir(trash_.c_str(), 0700), 0);
        ASSERT_EQ(mkdir((trash_ + "/files").c_str(), 0700), 0);
        ASSERT_EQ(mkdir((trash_ + "/info").c_str(), 0700), 0);
    }
    static bool exists(const std::string& path) {
        struct stat st;
        return lstat(path.c_str(), &st) == 0;
    }
    RecycleBin& bin() { return *native_->services().recycleBin; }

    std::string base_;
    std::string trash_;
    std::unique_ptr<NativeRunServices> native_;
};

TEST_F(PosixTrashTest, MissingTrashIsAnEmptyBin) {
    RecycleBinContents contents;
    contents.itemCount = 7;
    EXPECT_TRUE(bin().query(contents));
    EXPECT_EQ(contents.itemCount, 0u);
    EXPECT_EQ(contents.totalSize, 0u);
    EXPECT_TRUE(bin().empty());
}

TEST_F(PosixTrashTest, CountsTopLevelEntriesAndSumsSizesBelowThem) {
    makeLayout();
    trashFile("a.txt", 3000);
    trashFile("b.txt", 2000);
    ASSERT_EQ(mkdir((trash_ + "/files/folder").c_str(), 0700), 0);
    write(trash_ + "/files/folder/inner1", 100);
    ASSERT_EQ(mkdir((trash_ + "/files/folder/deeper").c_str(), 0700), 0);
    write(trash_ + "/files/folder/deeper/inner2", 50);
    write(trash_ + "/info/folder.trashinfo", 10);

    RecycleBinContents contents;
    ASSERT_TRUE(bin().query(contents));
    EXPECT_EQ(contents.itemCount, 3u);
    EXPECT_EQ(contents.totalSize, 5150u);
}

TEST_F(PosixTrashTest, LinksAreNeitherFollowedWhenSizingNorWhenEmptying) {
    makeLayout();
    std::string precious = base_ + "/precious";
    ASSERT_EQ(mkdir(precious.c_str(), 0700), 0);
    write(precious + "/keep.doc", 4096);
    ASSERT_EQ(symlink(precious.c_str(), (trash_ + "/files/link").c_str()), 0);
    write(trash_ + "/info/link.trashinfo", 10);
    trashFile("plain", 10);

    RecycleBinContents contents;
    ASSERT_TRUE(bin().query(contents));
    EXPECT_EQ(contents.itemCount, 2u);
    EXPECT_EQ(contents.totalSize, 10u);

    EXPECT_TRUE(bin().empty());
    EXPECT_TRUE(exists(precious + "/keep.doc"));
    EXPECT_FALSE(exists(trash_ + "/files/link"));
    EXPECT_FALSE(exists(trash_ + "/info/link.trashinfo"));
}

TEST_F(PosixTrashTest, EmptyingRemovesEntriesWithTheirDescriptions) {
    makeLayout();
    trashFile("a.txt", 30);
    ASSERT_EQ(mkdir((trash_ + "/files/dir").c_str(), 0700), 0);
    write(trash_ + "/files/dir/x", 5);
    write(trash_ + "/info/dir.trashinfo", 10);
    write(trash_ + "/directorysizes", 10);

    ASSERT_TRUE(bin().empty());
    RecycleBinContents contents;
    ASSERT_TRUE(bin().query(contents));
    EXPECT_EQ(contents.itemCount, 0u);
    EXPECT_FALSE(exists(trash_ + "/info/a.txt.trashinfo"));
    EXPECT_FALSE(exists(trash_ + "/info/dir.trashinfo"));
    EXPECT_FALSE(exists(trash_ + "/directorysizes"));
    EXPECT_TRUE(exists(trash_ + "/files"));
}

TEST_F(PosixTrashTest, AnEntryThatCannotBeRemovedFailsTheEmptyingAndKeepsItsDescription) {
    if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    makeLayout();
    ASSERT_EQ(mkdir((trash_ + "/files/locked").c_str(), 0700), 0);
    write(trash_ + "/files/locked/x", 5);
    write(trash_ + "/info/locked.trashinfo", 10);
    trashFile("free", 5);
    ASSERT_EQ(chmod((trash_ + "/files/locked").c_str(), 0500), 0);

    EXPECT_FALSE(bin().empty());
    chmod((trash_ + "/files/locked").c_str(), 0700);
    EXPECT_TRUE(exists(trash_ + "/info/locked.trashinfo"));
    EXPECT_FALSE(exists(trash_ + "/files/free"));
}
#endif

}  // namespace
}  // namespace cindral::platform
