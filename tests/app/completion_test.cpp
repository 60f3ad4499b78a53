#include "app/completion.h"

#include <gtest/gtest.h>

#include <map>

namespace cindral::app {
namespace {

class MapSettings {
public:
    std::map<std::string, std::uint32_t> values;
    operator NumberSetting() {
        return [this](const std::string& name, std::uint32_t def) {
            auto it = values.find(name);
            return it == values.end() ? def : it->second;
        };
    }
};

std::vector<CompletionStep> steps(const std::vector<CompletionEffect>& effects) {
    std::vector<CompletionStep> out;
    for (const auto& e : effects) out.push_back(e.step);
    return out;
}

const CompletionEffect* find(const std::vector<CompletionEffect>& effects, CompletionStep s) {
    for (const auto& e : effects)
        if (e.step == s) return &e;
    return nullptr;
}

constexpr std::int64_t kMiB = 1024 * 1024;

TEST(MegabyteText, ExamplesRoundOnceToTheCoarserOfFourDigitsAndTwoDecimals) {
    struct Case {
        double mb;
        const char* text;
    } cases[] = {{1234.567, "1235.00"}, {123.456, "123.50"}, {1.23456, "1.23"},
                 {0.004, "0.00"},       {1.5 * 1024, "1536.00"}, {1.0, "1.00"},
                 {9.999, "10.00"},      {99.996, "100.00"},  {999.96, "1000.00"}};
    for (const auto& c : cases) {
        auto bytes = static_cast<std::int64_t>(c.mb * kMiB + 0.5);
        EXPECT_EQ(MegabyteText(bytes, "."), c.text) << c.mb;
    }
    EXPECT_EQ(MegabyteText(0, "."), "0.00");
    EXPECT_EQ(MegabyteText(1048576, "."), "1.00");
}

TEST(MegabyteText, ExactHalvesRoundAwayFromZero) {
    // 1.125 MB and 100.25 MB are exact in binary.
    EXPECT_EQ(MegabyteText(kMiB + kMiB / 8, "."), "1.13");
    EXPECT_EQ(MegabyteText(100 * kMiB + kMiB / 4, "."), "100.30");
    EXPECT_EQ(MegabyteText(1000 * kMiB + kMiB / 2, "."), "1001.00");
}

TEST(MegabyteText, FromTenThousandMegabytesTheWholeIntegerPartIsKept) {
    EXPECT_EQ(MegabyteText(10000 * kMiB, "."), "10000.00");
    EXPECT_EQ(MegabyteText(12345 * kMiB + kMiB * 678 / 1000, "."), "12345.68");
    // Past the 32-bit range: 5 GiB, and the largest counter value.
    EXPECT_EQ(MegabyteText(5LL * 1024 * kMiB, "."), "5120.00");
    EXPECT_EQ(MegabyteText(INT64_MAX, "."), "8796093022208.00");
    EXPECT_EQ(MegabyteText(9999 * kMiB + kMiB * 6 / 10, "."), "10000.00");
}

TEST(MegabyteText, UsesTheGivenDecimalSeparator) {
    EXPECT_EQ(MegabyteText(kMiB * 3 / 2, ","), "1,50");
    EXPECT_EQ(MegabyteText(2000 * kMiB, " dec "), "2000 dec 00");
}

TEST(MegabyteText, NegativeCountersKeepTheirSign) {
    EXPECT_EQ(MegabyteText(-kMiB * 3 / 2, "."), "-1.50");
    EXPECT_EQ(MegabyteText(-1, "."), "0.00");
}

CompletionFacts cleaningFacts() {
    CompletionFacts f;
    f.kind = CompletedRun::Cleaning;
    f.foundRegistryEntries = 5;
    f.deletedRegistryEntries = 3;
    f.junkFileCount = 7;
    f.junkByteCount = 3 * kMiB / 2;
    f.runDate = "03.07.2007";
    f.runTime = "14:05:09";
    return f;
}

TEST(CleaningCompletion, ReportsDeletedEntriesInWindowAndLabel) {
    MapSettings settings;
    auto effects = RunCompletion(cleaningFacts(), settings, ".");
    const auto* result = find(effects, CompletionStep::ShowResultWindow);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->result.title, "Cleaning is Completed");
    EXPECT_EQ(result->result.headline, "Cleaning is Completed!");
    EXPECT_EQ(result->result.line1, "Cleaned Evidence in Registry: 3");
    EXPECT_EQ(result->result.line2, "Removed Junk Files: 7");
    EXPECT_EQ(result->result.line3, "Released Hard Drive Space: 1.50 MB");
    const char* summary =
        "Cleaned Evidence in Registry: 3, Files: 7, Released Hard Drive Space: 1.50 MB";
    EXPECT_EQ(find(effects, CompletionStep::ShowSummary)->text, summary);
    EXPECT_EQ(find(effects, CompletionStep::AppendTrailer)->text, summary);
    // Defaults: no log save, and "StoreDate" is 0 in this reader.
    EXPECT_EQ(find(effects, CompletionStep::SaveLog), nullptr);
    EXPECT_EQ(find(effects, CompletionStep::StoreLastDate), nullptr);
}

TEST(CleaningCompletion, PendingShutdownSavesAndDatesBeforeShuttingDownWithoutWindow) {
    MapSettings settings;
    settings.values = {{"StoreLog", 1}, {"StoreDate", 1}};
    auto facts = cleaningFacts();
    facts.shutdownPending = true;
    facts.hideAfterRun = true;
    auto effects = RunCompletion(facts, settings, ".");
    std::vector<CompletionStep> expected = {
        CompletionStep::HideToTray,  CompletionStep::ClearHideAfterRun,
        CompletionStep::ClearQuietRun, CompletionStep::ShowSummary,
        CompletionStep::ReturnToIdle, CompletionStep::AppendTrailer,
        CompletionStep::SaveLog,     CompletionStep::StoreLastDate,
        CompletionStep::ShutDown};
    EXPECT_EQ(steps(effects), expected);
    EXPECT_EQ(find(effects, CompletionStep::StoreLastDate)->text, "03.07.2007 at 14:05:09");
}

TEST(CleaningCompletion, QuietRunOrSwitchedOffWindowShowsNoResultButEverythingElse) {
    for (int variant = 0; variant < 3; ++variant) {
        MapSettings settings;
        settings.values["StoreLog"] = 1;
        auto facts = cleaningFacts();
        if (variant == 0) facts.quietRun = true;
        if (variant == 1) settings.values["ResultWindow"] = 0;
        if (variant == 2) facts.restartPending = true;
        auto effects = RunCompletion(facts, settings, ".");
        EXPECT_EQ(find(effects, CompletionStep::ShowResultWindow), nullptr) << variant;
        EXPECT_NE(find(effects, CompletionStep::ClearQuietRun), nullptr) << variant;
        EXPECT_NE(find(effects, CompletionStep::ShowSummary), nullptr) << variant;
        EXPECT_NE(find(effects, CompletionStep::SaveLog), nullptr) << variant;
        EXPECT_EQ(find(effects, CompletionStep::Restart) != nullptr, variant == 2);
    }
}

TEST(TestCompletion, ShowsFoundFiguresAndNeverDatesOrShutsDown) {
    MapSettings settings;
    settings.values = {{"StoreLog", 1}, {"StoreDate", 1}};
    auto facts = cleaningFacts();
    facts.kind = CompletedRun::Test;
    facts.shutdownPending = true;
    facts.restartPending = true;
    auto effects = RunCompletion(facts, settings, ",");
    std::vector<CompletionStep> expected = {
        CompletionStep::ClearHideAfterRun, CompletionStep::ShowResultWindow,
        CompletionStep::ShowSummary, CompletionStep::ReturnToIdle,
        CompletionStep::AppendTrailer, CompletionStep::SaveLog};
    EXPECT_EQ(steps(effects), expected);
    const auto* result = find(effects, CompletionStep::ShowResultWindow);
    EXPECT_EQ(result->result.title, "Test mode is Completed");
    EXPECT_EQ(result->result.headline, "Test mode is Completed!");
    EXPECT_EQ(result->result.line1, "Found Evidence in Registry: 5");
    EXPECT_EQ(result->result.line2, "Found Junk Files: 7");
    EXPECT_EQ(result->result.line3, "Used Hard Drive Space: 1,50 MB");
    EXPECT_EQ(find(effects, CompletionStep::ShowSummary)->text,
              "Found Evidence in Registry: 5, Files: 7, Used Hard Drive Space: 1,50 MB");
}

TEST(TestCompletion, QuietRunHidesTheWindowButIsNotCleared) {
    MapSettings settings;
    CompletionFacts facts;
    facts.quietRun = true;
    facts.hideAfterRun = true;
    auto effects = TestRunCompletion(facts, settings, ".");
    EXPECT_EQ(find(effects, CompletionStep::ShowResultWindow), nullptr);
    EXPECT_EQ(find(effects, CompletionStep::ClearQuietRun), nullptr);
    EXPECT_EQ(effects.front().step, CompletionStep::HideToTray);
    EXPECT_EQ(find(effects, CompletionStep::SaveLog), nullptr);
}

}  // namespace
}  // namespace cindral::app
