#include "engine/file_remover.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

// Records what WipeFile does to a file: the bytes of each pass, the calls in
// order, and the file's name and size when the final deletion comes.
class WipeSpy : public test::HookedFiles {
public:
    using HookedFiles::HookedFiles;

    std::vector<std::string> passes;  // bytes written after each seekToStart
    std::string calls;                // S seek, W write, F flush, T truncate, C close
    std::size_t largestWrite = 0;
    std::size_t smallestWrite = SIZE_MAX;
    std::string renamedFrom, renamedTo;
    std::uint64_t sizeAtDelete = UINT64_MAX;
    bool refuseOpen = false;
    int opens = 0;

    std::unique_ptr<platform::OverwriteFile> openForOverwrite(const std::string& p) override {
        ++opens;
        if (refuseOpen) return nullptr;
        auto inner = inner_.openForOverwrite(p);
        if (!inner) return nullptr;
        return std::make_unique<Spy>(std::move(inner), *this);
    }
    bool renameFile(const std::string& a, const std::string& b) override {
        renamedFrom = a;
        renamedTo = b;
        return inner_.renameFile(a, b);
    }
    bool deleteFile(const std::string& p) override {
        inner_.fileSize(p, sizeAtDelete);
        return HookedFiles::deleteFile(p);
    }

private:
    struct Spy : platform::OverwriteFile {
        Spy(std::unique_ptr<platform::OverwriteFile> i, WipeSpy& o) : inner(std::move(i)), owner(o) {}
        std::uint64_t size() override { return inner->size(); }
        bool seekToStart() override {
            owner.calls += 'S';
            owner.passes.emplace_back();
            return inner->seekToStart();
        }
        bool write(const void* data, std::size_t n) override {
            owner.calls += 'W';
            owner.largestWrite = std::max(owner.largestWrite, n);
            owner.smallestWrite = std::min(owner.smallestWrite, n);
            if (!owner.passes.empty()) owner.passes.back().append(static_cast<const char*>(data), n);
            return inner->write(data, n);
        }
        bool flush() override {
            owner.calls += 'F';
            return inner->flush();
        }
        bool truncate() override {
            owner.calls += 'T';
            return inner->truncate();
        }
        bool close() override {
            owner.calls += 'C';
            return inner->close();
        }
        std::unique_ptr<platform::OverwriteFile> inner;
        WipeSpy& owner;
    };
};

std::string compress(const std::string& calls) {
    std::string out;
    for (char c : calls)
        if (out.empty() || out.back() != c || c != 'W') out += c;
    return out;
}

class FileRemover : public test::EngineTest {
protected:
    FileRemover() : spy_(*box_.platform().files) { platform_.files = &spy_; }

    TFileInformations info(const std::string& relative, std::uint64_t size = 1,
                           std::uint32_t attributes = platform::kAttrArchive) {
        TFileInformations f;
        const std::string full = at(relative);
        f.Folder = full.substr(0, full.rfind('\\') + 1);
        f.Name = full.substr(full.rfind('\\') + 1);
        f.Size = size;
        f.Attributes = attributes;
        return f;
    }
    std::string line(const std::string& relative, const char* suffix) {
        return run_.LinePrefix + "Removing File: " + at(relative) + suffix;
    }

    WipeSpy spy_;
};

TEST_F(FileRemover, WipeZeroOnePassOverwritesInBigBuffersThenRenamesAndDeletes) {
    const std::size_t size = (5u << 20) / 2;  // 2.5 MiB: two full buffers and a half
    file("w\\secret.doc", std::string(size, 'S'));
    ASSERT_TRUE(WipeFile(spy_, at("w\\secret.doc"), 1, kWipeZero));
    ASSERT_EQ(spy_.passes.size(), 1u);
    EXPECT_EQ(spy_.passes[0], std::string(size, '\0'));
    EXPECT_EQ(spy_.largestWrite, kWipeBufferSize);
    EXPECT_GE(spy_.smallestWrite, size - 2 * kWipeBufferSize);
    EXPECT_EQ(compress(spy_.calls), "SWFTC");  // flushed after the pass, truncated, closed
    // Renamed within its folder to another name, empty when deleted.
    EXPECT_EQ(spy_.renamedFrom, at("w\\secret.doc"));
    EXPECT_EQ(spy_.renamedTo.substr(0, at("w\\").size()), at("w\\"));
    EXPECT_NE(spy_.renamedTo, spy_.renamedFrom);
    EXPECT_EQ(spy_.renamedTo.find("secret"), std::string::npos);
    EXPECT_EQ(spy_.deleted, std::vector<std::string>{spy_.renamedTo});
    EXPECT_EQ(spy_.sizeAtDelete, 0u);
    EXPECT_FALSE(exists("w\\secret.doc"));
    EXPECT_FALSE(box_.exists(spy_.renamedTo));
}

TEST_F(FileRemover, WipeMethodsWriteTheirPatternsOncePerPass) {
    const std::string ff(4096, '\xFF'), zeros(4096, '\0');
    file("w\\a", std::string(4096, 'A'));
    ASSERT_TRUE(WipeFile(spy_, at("w\\a"), 2, kWipeZeroReverse));
    EXPECT_EQ(spy_.passes, (std::vector<std::string>{zeros, ff, zeros, ff}));
    EXPECT_EQ(compress(spy_.calls), "SWFSWFSWFSWFTC");

    spy_.passes.clear();
    file("w\\b", std::string(4096, 'B'));
    ASSERT_TRUE(WipeFile(spy_, at("w\\b"), 1, kWipeZeroReverseRandom));
    ASSERT_EQ(spy_.passes.size(), 3u);
    EXPECT_EQ(spy_.passes[0], zeros);
    EXPECT_EQ(spy_.passes[1], ff);
    const std::string& rnd = spy_.passes[2];
    ASSERT_EQ(rnd.size(), 4096u);
    EXPECT_NE(rnd, zeros);
    EXPECT_NE(rnd, ff);
    EXPECT_GT(std::count(rnd.begin(), rnd.end(), rnd[0]), 0);
    EXPECT_LT(std::count(rnd.begin(), rnd.end(), rnd[0]), 200);  // not one repeated byte

    // An unknown method is the first one; zero passes are one.
    spy_.passes.clear();
    file("w\\c", "CCCC");
    ASSERT_TRUE(WipeFile(spy_, at("w\\c"), 0, 77));
    EXPECT_EQ(spy_.passes, std::vector<std::string>{std::string(4, '\0')});
}

TEST_F(FileRemover, WipeOfEmptyMissingOrLinkedFiles) {
    file("w\\empty", "");
    EXPECT_TRUE(WipeFile(spy_, at("w\\empty"), 3, kWipeZeroReverseRandom));
    EXPECT_FALSE(exists("w\\empty"));
    EXPECT_TRUE(spy_.passes.empty());

    EXPECT_FALSE(WipeFile(spy_, at("w\\missing"), 1, kWipeZero));

    file("precious\\gold.txt", "GOLD");
    if (!box_.makeSymlink(at("w\\link.txt"), at("precious\\gold.txt"), false))
        GTEST_SKIP() << "this system cannot create symbolic links to files";
    EXPECT_FALSE(WipeFile(spy_, at("w\\link.txt"), 1, kWipeZero));
    std::string bytes;
    ASSERT_TRUE(box_.platform().files->readFile(at("precious\\gold.txt"), bytes));
    EXPECT_EQ(bytes, "GOLD");
}

TEST_F(FileRemover, TestRunReportsAndCountsButChangesNothing) {
    run_.Erase = false;
    run_.LinePrefix = "Test Mode: ";
    file("t\\a.tmp", "12345");
    HandleFoundFile(ctx_, info("t\\a.tmp", 5));
    HandleFoundFile(ctx_, info("t\\sub", 0, platform::kAttrDirectory));
    EXPECT_EQ(view_.lines, std::vector<std::string>{line("t\\a.tmp", " <OK>")});
    EXPECT_EQ(run_.JunkFileCount, 1);
    EXPECT_EQ(run_.JunkByteCount, 5);
    EXPECT_TRUE(exists("t\\a.tmp"));
    EXPECT_TRUE(spy_.deleted.empty());

    // Sizes beyond 32 bits are counted whole.
    HandleFoundFile(ctx_, info("t\\huge.iso", 5ull << 30));
    EXPECT_EQ(run_.JunkByteCount, 5 + (5ll << 30));
}

TEST_F(FileRemover, CookieKeeperListProtectsOnlyWhileTheCookieItemRuns) {
    file("c\\ann@site.txt");
    run_.Erase = true;
    run_.CookieKeepers = {"nothing", box_.platform().system->upperCase(at("c\\ann@site.txt"))};
    run_.KeeperMode = kKeeperCookies;
    HandleFoundFile(ctx_, info("c\\ann@site.txt"));
    EXPECT_EQ(view_.lines, std::vector<std::string>{line("c\\ann@site.txt", " <SKIPPED>")});
    EXPECT_EQ(run_.JunkFileCount, 0);
    EXPECT_TRUE(exists("c\\ann@site.txt"));

    run_.KeeperMode = kKeeperNone;
    HandleFoundFile(ctx_, info("c\\ann@site.txt"));
    EXPECT_EQ(view_.lines.back(), line("c\\ann@site.txt", " <OK>"));
    EXPECT_EQ(run_.JunkFileCount, 1);
    EXPECT_FALSE(exists("c\\ann@site.txt"));
}

TEST_F(FileRemover, CleanRunDeletesOrReportsUsed) {
    run_.Erase = true;
    file("d\\gone.tmp", "abc");
    file("d\\locked.tmp", "abc");
    spy_.beforeDelete = [&](const std::string& p) { return p != at("d\\locked.tmp"); };
    HandleFoundFile(ctx_, info("d\\gone.tmp", 3));
    HandleFoundFile(ctx_, info("d\\locked.tmp", 3));
    HandleFoundFile(ctx_, info("d\\vanished.tmp", 3));
    EXPECT_EQ(view_.lines, (std::vector<std::string>{line("d\\gone.tmp", " <OK>"),
                                                     line("d\\locked.tmp", " <USED>"),
                                                     line("d\\vanished.tmp", " <USED>")}));
    EXPECT_EQ(run_.JunkFileCount, 1);
    EXPECT_EQ(run_.JunkByteCount, 3);
    EXPECT_FALSE(exists("d\\gone.tmp"));
    EXPECT_TRUE(exists("d\\locked.tmp"));
    EXPECT_EQ(spy_.opens, 0);  // no wipe without "SecureErasing"
}

TEST_F(FileRemover, SecureErasingWipesWithTheChosenPassesAndMethod) {
    run_.Erase = true;
    setSetting(settings::kSecureErasing, 1);
    setSetting(settings::kPassess, 2);
    setSetting(settings::kMethodDestruction, kWipeZeroReverse);
    file("s\\a.txt", "abcd");
    HandleFoundFile(ctx_, info("s\\a.txt", 4));
    EXPECT_EQ(spy_.passes.size(), 6u);  // 3 passes of two patterns
    EXPECT_EQ(view_.lines, std::vector<std::string>{line("s\\a.txt", " <OK>")});
    EXPECT_EQ(run_.JunkFileCount, 1);
    EXPECT_FALSE(exists("s\\a.txt"));

    // A damaged pass count is held to the largest the options offer.
    setSetting(settings::kPassess, 0xFFFFFFFF);
    setSetting(settings::kMethodDestruction, kWipeZero);
    spy_.passes.clear();
    file("s\\b.txt", "abcd");
    HandleFoundFile(ctx_, info("s\\b.txt", 4));
    EXPECT_EQ(spy_.passes.size(), kMaxPassIndex + 1);
}

TEST_F(FileRemover, AFailedWipeIsReportedUsedAndNotCounted) {
    run_.Erase = true;
    setSetting(settings::kSecureErasing, 1);
    file("s\\a.txt", "abcd");
    spy_.refuseOpen = true;
    HandleFoundFile(ctx_, info("s\\a.txt", 4));
    EXPECT_EQ(view_.lines, std::vector<std::string>{line("s\\a.txt", " <USED>")});
    EXPECT_EQ(run_.JunkFileCount, 0);
    EXPECT_TRUE(exists("s\\a.txt"));

    // The drive scan's wipe fails the same way.
    view_.lines = {"progress"};
    HandleDriveScanFile(ctx_, info("s\\a.txt", 4));
    EXPECT_EQ(view_.lines, (std::vector<std::string>{"progress", line("s\\a.txt", " <USED>"), ""}));
    EXPECT_EQ(run_.JunkFileCount, 0);
}

TEST_F(FileRemover, AStoppedRunBeginsNoDeletion) {
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    run_.Erase = true;
    file("d\\a.tmp");
    HandleFoundFile(ctx_, info("d\\a.tmp"));
    HandleDriveScanFile(ctx_, info("d\\a.tmp"));
    EXPECT_TRUE(spy_.deleted.empty());
    EXPECT_TRUE(exists("d\\a.tmp"));
    EXPECT_EQ(run_.JunkFileCount, 0);
}

TEST_F(FileRemover, DriveScanLinesTakeOverTheProgressLine) {
    run_.Erase = false;
    run_.LinePrefix = "Test Mode: ";
    view_.lines = {"Analyzing Folder: X"};
    HandleDriveScanFile(ctx_, info("x\\a.tmp", 7));
    HandleDriveScanFile(ctx_, info("x\\folder.tmp", 0, platform::kAttrDirectory));
    EXPECT_EQ(view_.lines, (std::vector<std::string>{line("x\\a.tmp", " <OK>"), ""}));
    EXPECT_EQ(run_.JunkFileCount, 1);  // the folder is passed over
    EXPECT_EQ(run_.JunkByteCount, 7);

    run_.Erase = true;
    run_.LinePrefix.clear();
    file("x\\b.tmp", "12");
    file("x\\c.tmp", "12");
    spy_.beforeDelete = [&](const std::string& p) { return p != at("x\\c.tmp"); };
    view_.lines = {"p1"};
    HandleDriveScanFile(ctx_, info("x\\b.tmp", 2));
    view_.lines.back() = "p2";
    HandleDriveScanFile(ctx_, info("x\\c.tmp", 2));
    EXPECT_EQ(view_.lines, (std::vector<std::string>{line("x\\b.tmp", " <OK>"),
                                                     line("x\\c.tmp", " <USED>"), ""}));
    EXPECT_EQ(run_.JunkFileCount, 2);
    EXPECT_EQ(run_.JunkByteCount, 9);
    EXPECT_FALSE(exists("x\\b.tmp"));
    EXPECT_TRUE(exists("x\\c.tmp"));
}

TEST_F(FileRemover, DriveScanCountsASuccessfulWipeLikeADeletion) {
    run_.Erase = true;
    setSetting(settings::kSecureErasing, 1);
    file("x\\a.tmp", "123");
    view_.lines = {"Analyzing Folder: x"};
    HandleDriveScanFile(ctx_, info("x\\a.tmp", 3));
    EXPECT_EQ(view_.lines,
              (std::vector<std::string>{"Analyzing Folder: x", line("x\\a.tmp", " <OK>"), ""}));
    EXPECT_EQ(run_.JunkFileCount, 1);
    EXPECT_EQ(run_.JunkByteCount, 3);
    EXPECT_FALSE(exists("x\\a.tmp"));
}

}  // namespace
}  // namespace cindral::engine
