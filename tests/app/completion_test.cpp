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
        {mb(999.96), ".", "1000.00"},    // rounded up into the next band
        {kMiB + kMiB / 8, ".", "1.13"},  // an exact half rounds away from zero
        // From 10000 MB on the whole integer part is kept, past 32 bits too.
        {12345 * kMiB + kMiB * 678 / 1000, ".", "12345.68"},
        {kMiB * 3 / 2, ",", "1,50"},
        {-kMiB * 3 / 2, ".", "-1.50"},
        {-1, ".", "0.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(MegabyteText(c.bytes, c.separator), c.text) << c.bytes;
}

std::vector<CompletionEffect> complete(RunMode mode, Settings values, const char* separator,
                                       bool hide = false, bool quiet = false, bool shutdown = false,
                                       bool restart = false) {
    test::FakeSettings settings;
    settings.numbers = std::move(values);
    const CompletionFacts facts{
        mode, {5, 3, 7, 3 * kMiB / 2}, "03.07.2007", "14:05:09", hide, quiet, shutdown, restart};
    return RunCompletion(facts, settings, separator);
}

Steps steps(const std::vector<CompletionEffect>& effects) {
    Steps steps;
    for (const auto& e : effects) steps.push_back(e.step);
    return steps;
}

TEST(RunCompletion, EachKindOfRunTakesItsStepsInOrder) {
    using S = CompletionStep;
    const Settings none, logAndDate{{"StoreLog", 1}, {"StoreDate", 1}};
    // Cleaning, by default neither saved nor dated.
    EXPECT_EQ(steps(complete(RunMode::Clean, none, ".")),
              (Steps{S::ClearHideAfterRun, S::ShowResultWindow, S::ClearQuietRun, S::ShowSummary,
                     S::ReturnToIdle, S::AppendTrailer}));
    // Cleaning before a shutdown: no window, saved and dated first.
    EXPECT_EQ(
        steps(complete(RunMode::Clean, logAndDate, ".", true, false, true)),
        (Steps{S::HideToTray, S::ClearHideAfterRun, S::ClearQuietRun, S::ShowSummary,
               S::ReturnToIdle, S::AppendTrailer, S::SaveLog, S::StoreLastDate, S::ShutDown}));
    // Cleaning with the result window off.
    EXPECT_EQ(steps(complete(RunMode::Clean, {{"ResultWindow", 0}}, ".")),
              (Steps{S::ClearHideAfterRun, S::ClearQuietRun, S::ShowSummary, S::ReturnToIdle,
                     S::AppendTrailer}));
    // A test run never dates nor shuts down.
    EXPECT_EQ(steps(complete(RunMode::Test, logAndDate, ".", false, false, true, true)),
              (Steps{S::ClearHideAfterRun, S::ShowResultWindow, S::ShowSummary, S::ReturnToIdle,
                     S::AppendTrailer, S::SaveLog}));
}

TEST(RunCompletion, CleaningReportsDeletedEntriesAndATestRunFoundOnes) {
    std::vector<std::string> texts;
    for (const auto& [mode, separator] : {std::pair{RunMode::Clean, "."}, {RunMode::Test, ","}}) {
        for (const auto& e : complete(mode, {{"StoreDate", 1}}, separator)) {
            const ResultTexts& r = e.result;
            if (e.step == CompletionStep::ShowResultWindow)
                texts.insert(texts.end(), {r.title, r.headline, r.line1, r.line2, r.line3});
            if (e.step == CompletionStep::ShowSummary || e.step == CompletionStep::StoreLastDate)
                texts.push_back(e.text);
        }
    }
    EXPECT_EQ(
        texts,
        (std::vector<std::string>{
            "Cleaning is Completed", "Cleaning is Completed!", "Cleaned Evidence in Registry: 3",
            "Removed Junk Files: 7", "Released Hard Drive Space: 1.50 MB",
            "Cleaned Evidence in Registry: 3, Files: 7, Released Hard Drive Space: "
            "1.50 MB",
            "03.07.2007 at 14:05:09", "Test mode is Completed", "Test mode is Completed!",
            "Found Evidence in Registry: 5", "Found Junk Files: 7",
            "Used Hard Drive Space: 1,50 MB",
            "Found Evidence in Registry: 5, Files: 7, Used Hard Drive Space: 1,50 MB"}));
}

}  // namespace
}  // namespace cindral::app
