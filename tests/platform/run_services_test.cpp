// The run services of the build's backend. The recycle bin is exercised on a
// private Trash folder on Linux; under Wine only the query is made, because
// emptying the bin there reaches the host's own Trash.
#include <gtest/gtest.h>

#include "platform/run_services.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"
#endif

namespace cindral::platform {
namespace {

TEST(RunServices, WithNothingOpenTheServicesDoNothingAndSucceed) {
    auto native = createNativeRunServices();
    RunServices& s = native->services();
    ASSERT_TRUE(s.urlCache && s.recycleBin && s.clipboard && s.browserWindows);
    EXPECT_EQ(s.browserWindows->closeAll(), 0);
    EXPECT_TRUE(s.clipboard->empty());
}

#ifdef _WIN32
TEST(RunServices, RecycleBinQueryFillsOrClearsTheFigures) {
    // Wine's shell may refuse the query; either way no figure is left as it was.
    auto native = createNativeRunServices();
    RecycleBinContents contents;
    contents.itemCount = contents.totalSize = 0xdeadbeef;
    if (native->services().recycleBin->query(contents)) {
        EXPECT_TRUE(contents.itemCount != 0xdeadbeef && contents.totalSize != 0xdeadbeef);
    } else {
        EXPECT_EQ(contents.itemCount + contents.totalSize, 0u);
    }
}
#else
class PosixTrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunServicesOptions options;
        options.trashFolder = trash_;
        native_ = createNativeRunServices(options);
    }

    void write(const std::string& path, std::size_t bytes) {
        cindral::test::writeHostFile(path, std::string(bytes, 'x'));
    }
    // An entry of the bin: a file or folder below files/ and its description.
    void trashed(const std::string& name, std::size_t bytes, bool folder = false) {
        const std::string entry = trash_ + "/files/" + name;
        std::filesystem::create_directories(folder ? entry + "/deeper" : trash_ + "/files");
        write(folder ? entry + "/deeper/inner" : entry, bytes);
        std::filesystem::create_directories(trash_ + "/info");
        write(trash_ + "/info/" + name + ".trashinfo", 10);
    }
    RecycleBinContents query() {
        RecycleBinContents contents;
        contents.itemCount = contents.totalSize = 7;
        EXPECT_TRUE(bin().query(contents));
        return contents;
    }
    RecycleBin& bin() { return *native_->services().recycleBin; }

    cindral::test::TempFolder temp_;
    const std::string base_ = temp_.path();
    const std::string trash_ = base_ + "/Trash";
    std::unique_ptr<NativeRunServices> native_;
};

// A link in the bin is an entry of its own: neither sized nor emptied
// through.
TEST_F(PosixTrashTest, CountsTopLevelEntriesSumsTheirSizesAndEmptiesWithDescriptions) {
    EXPECT_EQ(query().itemCount + query().totalSize, 0u) << "a missing Trash is an empty bin";
    EXPECT_TRUE(bin().empty());

    const std::string precious = base_ + "/precious";
    std::filesystem::create_directories(precious);
    write(precious + "/keep.doc", 4096);
    trashed("a.txt", 3000);
    trashed("folder", 150, true);
    ASSERT_EQ(::symlink(precious.c_str(), (trash_ + "/files/link").c_str()), 0);
    write(trash_ + "/info/link.trashinfo", 10);
    write(trash_ + "/directorysizes", 10);
    EXPECT_EQ(query().itemCount, 3u);
    EXPECT_EQ(query().totalSize, 3150u);

    ASSERT_TRUE(bin().empty());
    EXPECT_EQ(query().itemCount, 0u);
    EXPECT_TRUE(cindral::test::hostExists(precious + "/keep.doc"));
    EXPECT_FALSE(cindral::test::hostExists(trash_ + "/files/link"));
    for (const char* info : {"a.txt", "folder", "link"})
        EXPECT_FALSE(cindral::test::hostExists(trash_ + "/info/" + info + ".trashinfo")) << info;
    EXPECT_FALSE(cindral::test::hostExists(trash_ + "/directorysizes"));
    EXPECT_TRUE(cindral::test::hostExists(trash_ + "/files"));
}

TEST_F(PosixTrashTest, AnEntryThatCannotBeRemovedFailsTheEmptyingAndKeepsItsDescription) {
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    trashed("locked", 5, true);
    trashed("free", 5);
    ASSERT_EQ(::chmod((trash_ + "/files/locked/deeper").c_str(), 0500), 0);
    EXPECT_FALSE(bin().empty());
    ::chmod((trash_ + "/files/locked/deeper").c_str(), 0700);
    EXPECT_TRUE(cindral::test::hostExists(trash_ + "/info/locked.trashinfo"));
    EXPECT_FALSE(cindral::test::hostExists(trash_ + "/files/free"));
}
#endif

}  // namespace
}  // namespace cindral::platform
