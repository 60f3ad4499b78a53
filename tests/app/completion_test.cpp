#include "app/completion.h"

#include <gtest/gtest.h>

#include <map>

#include "settings/fake_settings.h"

namespace cindral::app {
namespace {

constexpr std::int64_t kMiB = 1024 * 1024;
using engine::RunMode;
using Steps = std::vector<CompletionStep>;
using Settings = std::map<std::string, std::uint32_t>;

TEST(MegabyteText, RoundsOnceToTheCoarserOfFourDigitsAndTwoDecimals) {
    const auto mb = [](double m) { return static_cast<std::int64_t>(m * kMiB + 0.5); };
    const struct {
        std::int64_t bytes;
        const char* separator;
        const char* text;
    } cases[] = {
        {mb(1234.567), ".", "1235.00"},
        {mb(123.456), ".", "123.50"},
        {mb(1.23456), ".", "1.23"},
        {mb(0.004), ".", "0.00"},
        {0, ".", "0.00"},
        {kMiB, ".", "1.00"},
        {mb(9.999), ".", "10.00"},
        {mb(99.996), ".", "100.00"},
        {mb(999.96), ".", "1000.00"},
        // Exact halves round away from zero.
        {kMiB + kMiB / 8, ".", "1.13"},
        {100 * kMiB + kMiB / 4, ".", "100.30"},
        {1000 * kMiB + kMiB / 2, ".", "1001.00"},
        // From 10000 MB on the whole integer part is kept; past 32 bits too.
        {10000 * kMiB, ".", "10000.00"},
        {12345 * kMiB + kMiB * 678 / 1000, ".", "12345.68"},
        {9999 * kMiB + kMiB * 6 / 10, ".", "10000.00"},
        {5LL * 1024 * kMiB, ".", "5120.00"},
        {INT64_MAX, ".", "8796093022208.00"},
        {kMiB * 3 / 2, ",", "1,50"},
        {2000 * kMiB, " dec ", "2000 dec 00"},
        {-kMiB * 3 / 2, ".", "-1.50"},
        {-1, ".", "0.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(MegabyteText(c.bytes, c.separator), c.text) << c.bytes;
}

CompletionFacts facts(RunMode mode) {
    return CompletionFacts{mode, {5, 3, 7, 3 * kMiB / 2}, "03.07.2007", "14:05:09"};
}

std::vector<CompletionEffect> complete(const CompletionFacts& f, Settings values,
                                       const char* separator = ".") {
    test::FakeSettings settings;
    settings.numbers = std::move(values);
    return RunCompletion(f, settings, separator);
}

Steps steps(const std::vector<CompletionEffect>& effects) {
    Steps out;
    for (const auto& e : effects) out.push_back(e.step);
    return out;
}

const CompletionEffect* find(const std::vector<CompletionEffect>& effects, CompletionStep s) {
    for (const auto& e : effects)
        if (e.step == s) return &e;
    return nullptr;
}

// The result window's texts, title first; none when no window is shown.
std::vector<std::string> texts(const std::vector<CompletionEffect>& effects) {
    const CompletionEffect* shown = find(effects, CompletionStep::ShowResultWindow);
    if (!shown) return {};
    const auto& r = shown->result;
    return {r.title, r.headline, r.line1, r.line2, r.line3};
}

TEST(CleaningCompletion, ReportsDeletedEntriesAndByDefaultNeitherSavesNorDates) {
    const auto effects = complete(facts(RunMode::Clean), {});
    using S = CompletionStep;
    EXPECT_EQ(steps(effects), (Steps{S::ClearHideAfterRun, S::ShowResultWindow, S::ClearQuietRun,
                                     S::ShowSummary, S::ReturnToIdle, S::AppendTrailer}));
    EXPECT_EQ(texts(effects),
              (std::vector<std::string>{"Cleaning is Completed", "Cleaning is Completed!",
                                        "Cleaned Evidence in Registry: 3", "Removed Junk Files: 7",
                                        "Released Hard Drive Space: 1.50 MB"}));
    const char* summary =
        "Cleaned Evidence in Registry: 3, Files: 7, Released Hard Drive Space: 1.50 MB";
    EXPECT_EQ(find(effects, S::ShowSummary)->text, summary);
    EXPECT_EQ(find(effects, S::AppendTrailer)->text, summary);
}

TEST(CleaningCompletion, PendingShutdownSavesAndDatesBeforeShuttingDownWithoutWindow) {
    auto f = facts(RunMode::Clean);
    f.shutdownPending = true;
    f.hideAfterRun = true;
    const auto effects = complete(f, {{"StoreLog", 1}, {"StoreDate", 1}});
    using S = CompletionStep;
    EXPECT_EQ(steps(effects), (Steps{S::HideToTray, S::ClearHideAfterRun, S::ClearQuietRun,
                                     S::ShowSummary, S::ReturnToIdle, S::AppendTrailer, S::SaveLog,
                                     S::StoreLastDate, S::ShutDown}));
    EXPECT_EQ(find(effects, S::StoreLastDate)->text, "03.07.2007 at 14:05:09");
}

TEST(CleaningCompletion, QuietRunSwitchedOffWindowOrRestartShowNoResultButEverythingElse) {
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        Settings values{{"StoreLog", 1}};
        auto f = facts(RunMode::Clean);
        if (variant == 0) f.quietRun = true;
        if (variant == 1) values["ResultWindow"] = 0;
        if (variant == 2) f.restartPending = true;
        const auto effects = complete(f, values);
        EXPECT_EQ(find(effects, CompletionStep::ShowResultWindow), nullptr);
        EXPECT_NE(find(effects, CompletionStep::ClearQuietRun), nullptr);
        EXPECT_NE(find(effects, CompletionStep::SaveLog), nullptr);
        EXPECT_EQ(find(effects, CompletionStep::Restart) != nullptr, variant == 2);
    }
}

TEST(TestCompletion, ShowsFoundFiguresAndNeverDatesOrShutsDown) {
    auto f = facts(RunMode::Test);
    f.shutdownPending = true;
    f.restartPending = true;
    const auto effects = complete(f, {{"StoreLog", 1}, {"StoreDate", 1}}, ",");
    using S = CompletionStep;
    EXPECT_EQ(steps(effects), (Steps{S::ClearHideAfterRun, S::ShowResultWindow, S::ShowSummary,
                                     S::ReturnToIdle, S::AppendTrailer, S::SaveLog}));
    EXPECT_EQ(texts(effects),
              (std::vector<std::string>{"Test mode is Completed", "Test mode is Completed!",
                                        "Found Evidence in Registry: 5", "Found Junk Files: 7",
                                        "Used Hard Drive Space: 1,50 MB"}));
    EXPECT_EQ(find(effects, S::ShowSummary)->text,
              "Found Evidence in Registry: 5, Files: 7, Used Hard Drive Space: 1,50 MB");

    f.quietRun = true;  // hides the window, and stays set for the next run
    f.hideAfterRun = true;
    const auto quiet = complete(f, {});
    EXPECT_EQ(steps(quiet), (Steps{S::HideToTray, S::ClearHideAfterRun, S::ShowSummary,
                                   S::ReturnToIdle, S::AppendTrailer}));
}

}  // namespace
}  // namespace cindral::app
