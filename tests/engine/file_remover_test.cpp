#include "engine/file_remover.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

using cindral::test::FileOp;
using test::Lines;

class FileRemover : public test::EngineTest {
protected:
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
    Lines listing(const std::string& relative) {
        std::vector<platform::DirEntry> entries;
        box_.platform().files->listFolder(at(relative), entries);
        Lines names;
        for (const auto& e : entries) names.push_back(e.name);
        return names;
    }
};

// Each pattern of the method ('0' zeros, 'F' ones, 'R' random) over every
// byte, once per pass, then neither the file nor its name is left.
TEST_F(FileRemover, WipeWritesEachPatternOverEveryByteThenLeavesNoTrace) {
    const struct {
        std::size_t size;
        std::uint32_t passes, method;
        std::string patterns;
    } rows[] = {{(5u << 20) / 2 + 3, 1, kWipeZero, "0"},  // more than one write's worth
                {4096, 2, kWipeZeroReverse, "0F0F"},
                {4096, 1, kWipeZeroReverseRandom, "0FR"},
                {4, 0, 77, "0"},  // an unknown method is the first one; zero passes are one
                {0, 3, kWipeZeroReverseRandom, ""}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.patterns + " over " + std::to_string(r.size));
        files_.passes.clear();
        file("w\\secret.doc", std::string(r.size, 'S'));
        ASSERT_TRUE(WipeFile(files_, at("w\\secret.doc"), r.passes, r.method));
        ASSERT_EQ(files_.passes.size(), r.patterns.size());
        for (std::size_t i = 0; i < r.patterns.size(); ++i) {
            const std::string& pass = files_.passes[i];
            if (r.patterns[i] == 'R')
                EXPECT_LT(std::count(pass.begin(), pass.end(), pass[0]), 200) << "not random";
            else
                EXPECT_TRUE(pass == std::string(r.size, r.patterns[i] == '0' ? '\0' : '\xFF'))
                    << "pass " << i << " left a byte unwiped";
        }
        EXPECT_TRUE(listing("w").empty());
    }
    EXPECT_FALSE(WipeFile(files_, at("w\\missing"), 1, kWipeZero));

    // Should the last step fail, what stays behind is empty and tells nothing.
    file("w\\secret.doc", "S");
    files_.fails = [](FileOp op, const std::string&) { return op == FileOp::Delete; };
    EXPECT_FALSE(WipeFile(files_, at("w\\secret.doc"), 1, kWipeZero));
    const Lines left = listing("w");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].find("secret"), std::string::npos);
    EXPECT_EQ(read(at("w\\" + left[0])), "");
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
    EXPECT_TRUE(files_.deleted.empty());

    run_ = RunState();
    run_.Erase = true;
    view_.lines.clear();
    files_.failOn(FileOp::Delete, at("d\\locked.tmp"));
    for (const char* name : {"d\\gone.tmp", "d\\locked.tmp"}) HandleFoundFile(ctx_, info(name, 3));
    EXPECT_EQ(view_.lines, (Lines{line("d\\gone.tmp", " <OK>"), line("d\\locked.tmp", " <USED>")}));
    EXPECT_EQ(run_.counters.JunkFileCount, 1);
    EXPECT_EQ(run_.counters.JunkByteCount, 3);
    EXPECT_FALSE(exists("d\\gone.tmp"));

    // A stopped run begins no deletion.
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    HandleFoundFile(ctx_, info("d\\locked.tmp"));
    HandleDriveScanFile(ctx_, info("d\\locked.tmp"));
    EXPECT_EQ(files_.deleted.size(), 2u);
}

TEST_F(FileRemover, SecureErasingWipesWithTheChosenPassesAndMethodAndAFailedWipeIsUsed) {
    run_.Erase = true;
    wipe_ = {true, 2, kWipeZeroReverse};  // SecureErasing on
    file("s\\a.txt", "abcd");
    HandleFoundFile(ctx_, info("s\\a.txt", 4));
    EXPECT_EQ(files_.passes.size(), 6u);  // 3 passes of two patterns
    EXPECT_EQ(view_.lines, Lines{line("s\\a.txt", " <OK>")});
    EXPECT_EQ(run_.counters.JunkFileCount, 1);

    // A damaged pass count is held to the largest the options offer.
    wipe_ = {true, 0xFFFFFFFF, kWipeZero};
    files_.passes.clear();
    file("s\\b.txt", "abcd");
    HandleFoundFile(ctx_, info("s\\b.txt", 4));
    EXPECT_EQ(files_.passes.size(), kMaxPassIndex + 1);

    // A wipe that fails leaves the file, says so and is not counted, in both handlers.
    files_.failOn(FileOp::Open, at("s\\c.txt"));
    file("s\\c.txt", "abcd");
    view_.lines = {"progress"};
    HandleFoundFile(ctx_, info("s\\c.txt", 4));
    HandleDriveScanFile(ctx_, info("s\\c.txt", 4));
    const std::string used = line("s\\c.txt", " <USED>");
    EXPECT_EQ(view_.lines, (Lines{"progress", used, used, ""}));
    EXPECT_EQ(run_.counters.JunkFileCount, 2);
    EXPECT_TRUE(exists("s\\c.txt"));

    // So does one that fails at any later step: a half-overwritten file, or one
    // whose length could not be read, is never reported wiped.
    wipe_ = {true, 0, kWipeZero};            // one pass
    for (int step = 1; step <= 6; ++step) {  // size, seek, write, flush, truncate, close
        int k = 0;
        files_.fails = [&k, step](FileOp op, const std::string&) {
            return op == FileOp::Overwrite && ++k == step;
        };
        view_.lines.clear();
        HandleFoundFile(ctx_, info("s\\c.txt", 4));
        EXPECT_EQ(view_.lines, Lines{used}) << "step " << step;
        EXPECT_TRUE(exists("s\\c.txt")) << "step " << step;
    }
    EXPECT_EQ(run_.counters.JunkFileCount, 2);
}

TEST_F(FileRemover, DriveScanTakesOverTheProgressLineAndCountsWipesAndDeletionsOnly) {
    run_.Erase = true;
    for (const char* name : {"x\\b.tmp", "x\\c.tmp", "x\\w.tmp"}) file(name, "12");
    files_.failOn(FileOp::Delete, at("x\\c.tmp"));
    view_.lines = {"p1"};
    HandleDriveScanFile(ctx_, info("x\\b.tmp", 2));
    view_.lines.back() = "p2";
    HandleDriveScanFile(ctx_, info("x\\c.tmp", 2));
    wipe_ = {true, 0, kWipeZero};
    view_.lines.back() = "p3";
    HandleDriveScanFile(ctx_, info("x\\w.tmp", 2));
    // A wipe leaves the progress line above its own.
    EXPECT_EQ(view_.lines, (Lines{line("x\\b.tmp", " <OK>"), line("x\\c.tmp", " <USED>"), "p3",
                                  line("x\\w.tmp", " <OK>"), ""}));
    EXPECT_EQ(run_.counters.JunkFileCount, 2);
    EXPECT_EQ(run_.counters.JunkByteCount, 4);
    EXPECT_EQ(files_.passes.size(), 1u);
    EXPECT_FALSE(exists("x\\b.tmp") || exists("x\\w.tmp"));
}

}  // namespace
}  // namespace cindral::engine
