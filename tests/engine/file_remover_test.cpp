#include "engine/file_remover.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

using Lines = std::vector<std::string>;

// Records what WipeFile does to a file: the bytes of each pass and the calls
// in order.
class WipeSpy : public test::HookedFiles {
public:
    using HookedFiles::HookedFiles;
    Lines passes;                     // bytes written after each seekToStart
    std::string calls;                // S seek, W writes, F flush, T truncate, C close
    std::vector<std::size_t> writes;  // sizes of the writes of the first pass
    bool refuseOpen = false;

    std::unique_ptr<platform::OverwriteFile> openForOverwrite(const std::string& p) override {
        auto inner = refuseOpen ? nullptr : inner_.openForOverwrite(p);
        return inner ? std::make_unique<Spy>(std::move(inner), *this) : nullptr;
    }

private:
    struct Spy : platform::OverwriteFile {
        Spy(std::unique_ptr<platform::OverwriteFile> i, WipeSpy& o)
            : inner(std::move(i)), owner(o) {}
        void note(char c) {
            if (c != 'W' || owner.calls.back() != 'W') owner.calls += c;
        }
        std::uint64_t size() override { return inner->size(); }
        bool seekToStart() override {
            note('S');
            owner.passes.emplace_back();
            return inner->seekToStart();
        }
        bool write(const void* data, std::size_t n) override {
            note('W');
            if (owner.passes.size() == 1) owner.writes.push_back(n);
            owner.passes.back().append(static_cast<const char*>(data), n);
            return inner->write(data, n);
        }
        bool flush() override {
            note('F');
            return inner->flush();
        }
        bool truncate() override {
            note('T');
            return inner->truncate();
        }
        bool close() override {
            note('C');
            return inner->close();
        }
        std::unique_ptr<platform::OverwriteFile> inner;
        WipeSpy& owner;
    };
};

class FileRemover : public test::EngineTest {
protected:
    FileRemover() : spy_(*box_.platform().files) { platform_.files = &spy_; }

    TFileInformations info(const std::string& relative, std::uint64_t size = 1,
                           std::uint32_t attributes = platform::kAttrArchive) {
        TFileInformations f;
        const std::string full = at(relative);
        f.Folder = full.substr(0, full.rfind('\\') + 1);
        f.Name = full.substr(f.Folder.size());
        f.Size = size;
        f.Attributes = attributes;
        return f;
    }
    std::string line(const std::string& relative, const char* suffix) {
        return run_.LinePrefix + "Removing File: " + at(relative) + suffix;
    }
    void secureErasing(std::uint32_t passes, std::uint32_t method) {
        wipe_ = {true, passes, method};
    }

    WipeSpy spy_;
};

TEST_F(FileRemover, WipeOverwritesInBigBuffersFlushesTruncatesRenamesAndDeletes) {
    const std::size_t size = (5u << 20) / 2;  // two full buffers and a half
    file("w\\secret.doc", std::string(size, 'S'));
    ASSERT_TRUE(WipeFile(spy_, at("w\\secret.doc"), 1, kWipeZero));
    EXPECT_EQ(spy_.passes, Lines{std::string(size, '\0')});
    EXPECT_EQ(spy_.writes, (std::vector<std::size_t>{kWipeBufferSize, kWipeBufferSize, size / 5}));
    EXPECT_EQ(spy_.calls, "SWFTC");
    // Deleted under another name in the same folder, a name that tells nothing.
    ASSERT_EQ(spy_.deleted.size(), 1u);
    EXPECT_EQ(spy_.deleted[0].substr(0, at("w\\").size()), at("w\\"));
    EXPECT_EQ(spy_.deleted[0].find("secret"), std::string::npos);
    EXPECT_FALSE(exists("w\\secret.doc") || box_.exists(spy_.deleted[0]));
}

TEST_F(FileRemover, WipeMethodsWriteTheirPatternsOncePerPassAndEmptyFilesNone) {
    const std::string ff(4096, '\xFF'), zeros(4096, '\0');
    file("w\\a", std::string(4096, 'A'));
    ASSERT_TRUE(WipeFile(spy_, at("w\\a"), 2, kWipeZeroReverse));
    EXPECT_EQ(spy_.passes, (Lines{zeros, ff, zeros, ff}));
    EXPECT_EQ(spy_.calls, "SWFSWFSWFSWFTC");

    spy_.passes.clear();
    file("w\\b", std::string(4096, 'B'));
    ASSERT_TRUE(WipeFile(spy_, at("w\\b"), 1, kWipeZeroReverseRandom));
    ASSERT_EQ(spy_.passes.size(), 3u);
    EXPECT_EQ(Lines(spy_.passes.begin(), spy_.passes.begin() + 2), (Lines{zeros, ff}));
    const std::string& rnd = spy_.passes[2];
    EXPECT_LT(std::count(rnd.begin(), rnd.end(), rnd[0]), 200) << "not random";

    // An unknown method is the first one; zero passes are one.
    spy_.passes.clear();
    file("w\\c", "CCCC");
    ASSERT_TRUE(WipeFile(spy_, at("w\\c"), 0, 77));
    EXPECT_EQ(spy_.passes, Lines{std::string(4, '\0')});

    spy_.passes.clear();
    file("w\\empty", "");
    EXPECT_TRUE(WipeFile(spy_, at("w\\empty"), 3, kWipeZeroReverseRandom));
    EXPECT_TRUE(spy_.passes.empty());
    EXPECT_FALSE(exists("w\\empty"));
    EXPECT_FALSE(WipeFile(spy_, at("w\\missing"), 1, kWipeZero));
}

TEST_F(FileRemover, TestAndCleanRunsReportEveryFileAndCountOnlyDeletions) {
    run_.LinePrefix = "Test Mode: ";
    file("d\\gone.tmp", "abc");
    file("d\\locked.tmp", "abc");
    HandleFoundFile(ctx_, info("d\\gone.tmp", 3));
    HandleFoundFile(ctx_, info("d\\sub", 0, platform::kAttrDirectory));
    HandleFoundFile(ctx_, info("d\\huge.iso", 5ull << 30));  // sizes beyond 32 bits count whole
    EXPECT_EQ(view_.lines, (Lines{line("d\\gone.tmp", " <OK>"), line("d\\huge.iso", " <OK>")}));
    EXPECT_EQ(run_.counters.JunkByteCount, 3 + (5ll << 30));
    EXPECT_TRUE(spy_.deleted.empty());

    run_ = RunState();
    run_.Erase = true;
    view_.lines.clear();
    spy_.beforeDelete = [&](const std::string& p) { return p != at("d\\locked.tmp"); };
    for (const char* name : {"d\\gone.tmp", "d\\locked.tmp", "d\\vanished.tmp"})
        HandleFoundFile(ctx_, info(name, 3));
    EXPECT_EQ(view_.lines, (Lines{line("d\\gone.tmp", " <OK>"), line("d\\locked.tmp", " <USED>"),
                                  line("d\\vanished.tmp", " <USED>")}));
    EXPECT_EQ(run_.counters.JunkFileCount, 1);
    EXPECT_EQ(run_.counters.JunkByteCount, 3);
    EXPECT_FALSE(exists("d\\gone.tmp"));
    EXPECT_TRUE(spy_.calls.empty());  // no wipe without "SecureErasing"

    // A stopped run begins no deletion.
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    HandleFoundFile(ctx_, info("d\\locked.tmp"));
    HandleDriveScanFile(ctx_, info("d\\locked.tmp"));
    EXPECT_EQ(spy_.deleted.size(), 3u);
}

TEST_F(FileRemover, SecureErasingWipesWithTheChosenPassesAndMethodAndAFailedWipeIsUsed) {
    run_.Erase = true;
    secureErasing(2, kWipeZeroReverse);
    file("s\\a.txt", "abcd");
    HandleFoundFile(ctx_, info("s\\a.txt", 4));
    EXPECT_EQ(spy_.passes.size(), 6u);  // 3 passes of two patterns
    EXPECT_EQ(view_.lines, Lines{line("s\\a.txt", " <OK>")});
    EXPECT_EQ(run_.counters.JunkFileCount, 1);

    // A damaged pass count is held to the largest the options offer.
    secureErasing(0xFFFFFFFF, kWipeZero);
    spy_.passes.clear();
    file("s\\b.txt", "abcd");
    HandleFoundFile(ctx_, info("s\\b.txt", 4));
    EXPECT_EQ(spy_.passes.size(), kMaxPassIndex + 1);

    // A wipe that fails leaves the file, says so and is not counted, in both handlers.
    spy_.refuseOpen = true;
    file("s\\c.txt", "abcd");
    view_.lines = {"progress"};
    HandleFoundFile(ctx_, info("s\\c.txt", 4));
    HandleDriveScanFile(ctx_, info("s\\c.txt", 4));
    const std::string used = line("s\\c.txt", " <USED>");
    EXPECT_EQ(view_.lines, (Lines{"progress", used, used, ""}));
    EXPECT_EQ(run_.counters.JunkFileCount, 2);
    EXPECT_TRUE(exists("s\\c.txt"));
}

TEST_F(FileRemover, DriveScanTakesOverTheProgressLineAndCountsWipesAndDeletionsOnly) {
    run_.Erase = true;
    for (const char* name : {"x\\b.tmp", "x\\c.tmp", "x\\w.tmp"}) file(name, "12");
    spy_.beforeDelete = [&](const std::string& p) { return p != at("x\\c.tmp"); };
    view_.lines = {"p1"};
    HandleDriveScanFile(ctx_, info("x\\b.tmp", 2));
    view_.lines.back() = "p2";
    HandleDriveScanFile(ctx_, info("x\\c.tmp", 2));
    secureErasing(0, kWipeZero);
    view_.lines.back() = "p3";
    HandleDriveScanFile(ctx_, info("x\\w.tmp", 2));
    // A wipe leaves the progress line above its own.
    EXPECT_EQ(view_.lines, (Lines{line("x\\b.tmp", " <OK>"), line("x\\c.tmp", " <USED>"), "p3",
                                  line("x\\w.tmp", " <OK>"), ""}));
    EXPECT_EQ(run_.counters.JunkFileCount, 2);
    EXPECT_EQ(run_.counters.JunkByteCount, 4);
    EXPECT_EQ(spy_.passes.size(), 1u);
    EXPECT_FALSE(exists("x\\b.tmp") || exists("x\\w.tmp"));
}

}  // namespace
}  // namespace cindral::engine
