#include "app/completion.h"

namespace cindral::app {
namespace {

constexpr std::uint64_t kBytesPerMegabyte = 1024u * 1024u;

std::uint64_t powerOfTen(int n) {
    std::uint64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

std::string number(std::int64_t value) { return std::to_string(value); }

ResultTexts testResult(const engine::RunCounters& c, const std::string& mb) {
    return {"Test mode is Completed", "Test mode is Completed!",
            "Found Evidence in Registry: " + number(c.FoundRegistryEntries),
            "Found Junk Files: " + number(c.JunkFileCount), "Used Hard Drive Space: " + mb + " MB"};
}

ResultTexts cleaningResult(const engine::RunCounters& c, const std::string& mb) {
    return {"Cleaning is Completed", "Cleaning is Completed!",
            "Cleaned Evidence in Registry: " + number(c.DeletedRegistryEntries),
            "Removed Junk Files: " + number(c.JunkFileCount),
            "Released Hard Drive Space: " + mb + " MB"};
}

CompletionEffect step(CompletionStep s, std::string text = {}) {
    return CompletionEffect{s, std::move(text), {}};
}

// Both runs start alike: into the tray when asked, and the request cleared.
std::vector<CompletionEffect> firstSteps(const CompletionFacts& f) {
    std::vector<CompletionEffect> effects;
    if (f.hideAfterRun) effects.push_back(step(CompletionStep::HideToTray));
    effects.push_back(step(CompletionStep::ClearHideAfterRun));
    return effects;
}

// Both runs end alike: the summary in the status bar and below the log, the
// return to idle between them, and the log saved when the user wants it.
void reportSummary(std::vector<CompletionEffect>& effects, const std::string& summary,
                   const settings::Settings& settings) {
    effects.push_back(step(CompletionStep::ShowSummary, summary));
    effects.push_back(step(CompletionStep::ReturnToIdle));
    effects.push_back(step(CompletionStep::AppendTrailer, summary));
    if (settings.isOn(settings::kStoreLog)) effects.push_back(step(CompletionStep::SaveLog));
}

}  // namespace

std::string MegabyteText(std::int64_t bytes, const std::string& decimalSeparator) {
    // Worked out on the exact value (a whole number of bytes over 2^20 is a
    // finite decimal) and rounded once, half away from zero, so no second
    // rounding of an already rounded binary fraction can move a digit.
    const bool negative = bytes < 0;
    const std::uint64_t magnitude =
        negative ? std::uint64_t(0) - static_cast<std::uint64_t>(bytes) : std::uint64_t(bytes);
    const std::uint64_t whole = magnitude / kBytesPerMegabyte;
    const std::uint64_t rest = magnitude % kBytesPerMegabyte;

    // Four significant digits leave fewer than two decimals from 100 MB on;
    // from 10000 MB on the whole integer part is written with two decimals.
    int decimals = 2;
    if (whole >= 100 && whole < 1000) decimals = 1;
    if (whole >= 1000 && whole < 10000) decimals = 0;

    const std::uint64_t scale = powerOfTen(decimals);
    const std::uint64_t scaledRest = rest * scale;
    std::uint64_t units = whole * scale + scaledRest / kBytesPerMegabyte;
    if (2 * (scaledRest % kBytesPerMegabyte) >= kBytesPerMegabyte) ++units;

    std::string fraction = std::to_string(units % scale);
    if (decimals > 0)
        fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    else
        fraction.clear();
    fraction.append(static_cast<std::size_t>(2 - decimals), '0');

    std::string text = std::to_string(units / scale) + decimalSeparator + fraction;
    if (negative && units != 0) text.insert(0, "-");
    return text;
}

std::string RunSummary(const CompletionFacts& f, const std::string& sep) {
    const engine::RunCounters& c = f.counters;
    const std::string space = MegabyteText(c.JunkByteCount, sep) + " MB";
    if (f.mode == engine::RunMode::Test)
        return "Found Evidence in Registry: " + number(c.FoundRegistryEntries) +
               ", Files: " + number(c.JunkFileCount) + ", Used Hard Drive Space: " + space;
    return "Cleaned Evidence in Registry: " + number(c.DeletedRegistryEntries) +
           ", Files: " + number(c.JunkFileCount) + ", Released Hard Drive Space: " + space;
}

std::vector<CompletionEffect> RunCompletion(const CompletionFacts& f,
                                            const settings::Settings& settings,
                                            const std::string& sep) {
    std::vector<CompletionEffect> effects = firstSteps(f);
    const std::string mb = MegabyteText(f.counters.JunkByteCount, sep);
    const bool resultWindow = settings.isOn(settings::kResultWindow) && !f.quietRun;
    if (f.mode == engine::RunMode::Test) {
        if (resultWindow)
            effects.push_back(
                CompletionEffect{CompletionStep::ShowResultWindow, {}, testResult(f.counters, mb)});
        reportSummary(effects, RunSummary(f, sep), settings);
        return effects;
    }

    if (resultWindow && !f.restartPending && !f.shutdownPending)
        effects.push_back(
            CompletionEffect{CompletionStep::ShowResultWindow, {}, cleaningResult(f.counters, mb)});
    effects.push_back(step(CompletionStep::ClearQuietRun));
    reportSummary(effects, RunSummary(f, sep), settings);
    // Completion reads "StoreDate" with a default of its own.
    if (settings.read(settings::kStoreDate, 0) != 0)
        effects.push_back(step(CompletionStep::StoreLastDate, f.runDate + " at " + f.runTime));
    if (f.shutdownPending) effects.push_back(step(CompletionStep::ShutDown));
    if (f.restartPending) effects.push_back(step(CompletionStep::Restart));
    return effects;
}

}  // namespace cindral::app
