#include "cli/run_commands.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <vector>

#include "app/completion.h"
#include "app/home_folder.h"
#include "app/item_queue.h"
#include "app/log_book.h"
#include "app/queue_run_view.h"
#include "settings/settings_store.h"

namespace cindral::cli {
namespace {

constexpr char kHome[] = "--home";
constexpr char kJson[] = "--json";
constexpr char kVerbose[] = "--verbose";
constexpr char kNoItems[] = "WARNING: No items are selected.";
constexpr char kTerminated[] = "Process has been terminated.";
constexpr char kUsedSuffix[] = " <USED>";

// The queue is built as at start-up, but the command-line tool leaves
// "SelItems.dat" as it is: a test run must change nothing.
class ReadOnlyProfiles : public platform::ProfileFiles {
public:
    explicit ReadOnlyProfiles(platform::ProfileFiles& inner) : inner_(inner) {}
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& def) override {
        return inner_.readString(file, section, key, def);
    }
    int readInt(const std::string& file, const std::string& section, const std::string& key,
                int def) override {
        return inner_.readInt(file, section, key, def);
    }
    bool writeString(const std::string&, const std::string&, const std::string&,
                     const std::string&) override {
        return true;
    }

private:
    platform::ProfileFiles& inner_;
};

app::ItemQueue readQueue(platform::Platform& platform, const app::DataPaths& paths) {
    ReadOnlyProfiles profiles(*platform.profiles);
    platform::Platform readOnly = platform;
    readOnly.profiles = &profiles;
    return app::RebuildItemQueue(readOnly, paths);
}

bool endsWith(const std::string& text, const char* suffix) {
    const std::string s(suffix);
    return text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0;
}

struct ItemFigures {
    std::string caption;
    engine::RunCounters start;  // the run's counters when the row began
    engine::RunCounters added;  // what the row added to them
    std::int64_t notRemoved = 0;
    struct Failure {
        std::string path;
        std::string reason;  // empty when the system gave none
    };
    std::vector<Failure> failures;  // the files among notRemoved
    bool closed = false;
};

// Everything the command reports besides the log lines: per-row figures,
// entries left behind, and the progress line on stderr. Called on the run's
// thread only.
class RunReport : public app::RunObserver {
public:
    RunReport(std::ostream& err, bool progress, bool verbose, int rows)
        : err_(err), progress_(progress), verbose_(verbose), rows_(rows) {}

    void rowStarted(int row, const std::string& caption,
                    const engine::RunCounters& counters) override {
        closeLast(counters);
        ItemFigures item;
        item.caption = caption;
        item.start = counters;
        items_.push_back(std::move(item));
        row_ = row;
        counters_ = &counters;
        drawProgress(true);
    }

    void rowCompleted(int, const engine::RunCounters& counters) override { closeLast(counters); }

    void fileNotRemoved(const std::string& path, const std::string& reason) override {
        if (!items_.empty()) items_.back().failures.push_back({path, reason});
        if (!verbose_) return;
        clearProgress();
        err_ << kProgramName << ": could not remove " << path;
        if (!reason.empty()) err_ << ": " << reason;
        err_ << "\n";
        drawProgress(true);
    }

    void lineText(const std::string& text) {
        if (endsWith(text, kUsedSuffix)) {
            ++notRemoved_;
            if (!items_.empty()) ++items_.back().notRemoved;
        }
        drawProgress(false);
    }

    void finish(const engine::RunCounters& counters) {
        closeLast(counters);
        clearProgress();
    }

    const std::vector<ItemFigures>& items() const { return items_; }
    std::int64_t notRemoved() const { return notRemoved_; }

private:
    void closeLast(const engine::RunCounters& c) {
        if (items_.empty() || items_.back().closed) return;
        ItemFigures& item = items_.back();
        item.added.JunkFileCount = c.JunkFileCount - item.start.JunkFileCount;
        item.added.JunkByteCount = c.JunkByteCount - item.start.JunkByteCount;
        item.added.FoundRegistryEntries = c.FoundRegistryEntries - item.start.FoundRegistryEntries;
        item.added.DeletedRegistryEntries =
            c.DeletedRegistryEntries - item.start.DeletedRegistryEntries;
        item.closed = true;
    }

    void drawProgress(bool force) {
        if (!progress_ || items_.empty() || !counters_) return;
        const auto now = std::chrono::steady_clock::now();
        if (!force && now - lastDraw_ < std::chrono::milliseconds(100)) return;
        lastDraw_ = now;
        std::string text = "[" + std::to_string(row_ + 1) + "/" + std::to_string(rows_) + "] " +
                           items_.back().caption;
        if (text.size() > 56) text = text.substr(0, 53) + "...";
        text += " - files: " + std::to_string(counters_->JunkFileCount);
        std::string line = "\r" + text;
        if (text.size() < drawn_) line.append(drawn_ - text.size(), ' ');
        drawn_ = text.size();
        err_ << line << std::flush;
    }

    void clearProgress() {
        if (!progress_ || drawn_ == 0) return;
        err_ << "\r" << std::string(drawn_, ' ') << "\r" << std::flush;
        drawn_ = 0;
    }

    std::ostream& err_;
    bool progress_;
    bool verbose_;
    int rows_;
    int row_ = -1;
    const engine::RunCounters* counters_ = nullptr;
    std::vector<ItemFigures> items_;
    std::int64_t notRemoved_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
    std::size_t drawn_ = 0;
};

void writeJson(std::ostream& out, engine::RunMode mode, const std::vector<ItemFigures>& items,
               const engine::RunCounters& t, std::int64_t notRemoved, const std::string& summary,
               bool emptyQueue) {
    out << "{\n  \"mode\": \"" << (mode == engine::RunMode::Test ? "test" : "clean") << "\",\n";
    if (emptyQueue)
        out << "  \"warnings\": [" << JsonString(kNoItems) << ", " << JsonString(kTerminated)
            << "],\n";
    out << "  \"items\": [";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const engine::RunCounters& c = items[i].added;
        out << (i ? ",\n" : "\n") << "    {\"caption\": " << JsonString(items[i].caption)
            << ", \"files\": " << c.JunkFileCount << ", \"bytes\": " << c.JunkByteCount
            << ", \"registryFound\": " << c.FoundRegistryEntries
            << ", \"registryDeleted\": " << c.DeletedRegistryEntries
            << ", \"notRemoved\": " << items[i].notRemoved;
        const auto& failures = items[i].failures;
        for (std::size_t k = 0; k < failures.size(); ++k)
            out << (k ? ", " : ", \"failures\": [") << "{\"path\": " << JsonString(failures[k].path)
                << ", \"reason\": " << JsonString(failures[k].reason) << "}";
        out << (failures.empty() ? "}" : "]}");
    }
    out << (items.empty() ? "],\n" : "\n  ],\n");
    out << "  \"totals\": {\"registryFound\": " << t.FoundRegistryEntries
        << ", \"registryDeleted\": " << t.DeletedRegistryEntries
        << ", \"files\": " << t.JunkFileCount << ", \"bytes\": " << t.JunkByteCount
        << ", \"notRemoved\": " << notRemoved << "},\n";
    out << "  \"summary\": " << JsonString(summary) << "\n}\n";
}

// Carries out the completion steps that mean something without a window.
// False, each failure named on `err`, when the log file or "LastDate" the
// settings ask for could not be stored: the run's record would otherwise be
// missing without a word.
bool complete(const std::vector<app::CompletionEffect>& effects, app::LogBook& log,
              settings::Settings& store, std::ostream& out, std::ostream& err, bool json) {
    bool stored = true;
    for (const auto& effect : effects) {
        switch (effect.step) {
            case app::CompletionStep::ShowSummary:
                if (!json) out << effect.text << "\n";
                break;
            case app::CompletionStep::AppendTrailer:
                log.appendTrailer(effect.text);
                break;
            case app::CompletionStep::SaveLog:
                if (!log.saveBuffer()) {
                    err << kProgramName << ": the log file " << log.logFilePath()
                        << " could not be saved\n";
                    stored = false;
                }
                break;
            case app::CompletionStep::StoreLastDate:
                if (!store.write(settings::kLastDate, effect.text)) {
                    err << kProgramName << ": the date of the run could not be stored in "
                        << settings::kLastDate.name << "\n";
                    stored = false;
                }
                break;
            default:
                break;  // window, tray and shutdown steps
        }
    }
    return stored;
}

bool looksLikeWindowsPath(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

int runCommand(engine::RunMode mode, const RunCommandEnvironment& env, CommandContext& ctx) {
    if (!ctx.args.positional().empty())
        return usageError(ctx.err, "unexpected argument '" + ctx.args.positional().front() + "'");
    platform::Platform& platform = *ctx.platform;
    RunCommandOptions options;
    options.mode = mode;
    options.json = ctx.args.has(kJson);
    options.verbose = ctx.args.has(kVerbose);
    options.progress = env.progressOnStderr;
    options.home = ResolveHomeOption(platform, ctx.args.value(kHome));
    if (options.home.empty())
        return usageError(ctx.err,
                          ctx.args.has(kHome)
                              ? "the home folder '" + ctx.args.value(kHome) + "' does not exist"
                              : "the program's folder cannot be found");
    auto services = env.services ? env.services() : platform::createNativeRunServices();
    return RunQueue(platform, services->services(), options, ctx.out, ctx.err, env.interrupt);
}

}  // namespace

std::string JsonString(const std::string& text) {
    static const char* hex = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            // A well-formed UTF-8 sequence is kept as it is.
            std::size_t length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
            if (c > 0xF4) length = 0;
            bool valid = length > 0 && i + length <= text.size();
            for (std::size_t k = 1; valid && k < length; ++k)
                valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            if (valid) {
                out.append(text, i, length);
                i += length - 1;
            } else {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            }
        }
    }
    out += '"';
    return out;
}

std::string WindowsPathOption(platform::Platform& platform, const std::string& given) {
    std::string path;
    if (looksLikeWindowsPath(given)) {
        path = given;
    } else {
        std::error_code ec;
        std::filesystem::path absolute = std::filesystem::absolute(given, ec);
        if (ec) return std::string();
        path = platform.files->toWindowsPath(absolute.lexically_normal().string());
    }
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string ResolveHomeOption(platform::Platform& platform, const std::string& given) {
    std::string home =
        given.empty() ? app::HomeFolder(*platform.system) : WindowsPathOption(platform, given);
    if (home.empty()) return home;
    if (home.back() != '\\') home += '\\';
    if (!platform.files->folderExists(home)) return std::string();
    return home;
}

int PrintQueue(platform::Platform& platform, const std::string& home, std::ostream& out) {
    const app::ItemQueue queue = readQueue(platform, app::DataPaths::forHome(home));
    for (const auto& row : queue.rows) out << row.caption << "\n";
    return kExitOk;
}

int RunQueue(platform::Platform& platform, platform::RunServices& services,
             const RunCommandOptions& options, std::ostream& out, std::ostream& err,
             const std::atomic<bool>* interrupt) {
    const app::DataPaths paths = app::DataPaths::forHome(options.home);
    app::ItemQueue queue = readQueue(platform, paths);
    if (queue.rows.empty()) {
        if (options.json) {
            writeJson(out, options.mode, {}, {}, 0, "", true);
        } else {
            out << kNoItems << "\n" << kTerminated << "\n";
        }
        return kExitOk;
    }

    // A test run only reads the settings; the key is not even created.
    const bool test = options.mode == engine::RunMode::Test;
    settings::SettingsStore store =
        test ? settings::SettingsStore::openForReading(*platform.registry, options.settingsKeyPath)
             : settings::SettingsStore(*platform.registry, options.settingsKeyPath);
    app::LogBook log(*platform.files, paths.logFile);
    log.setRecording(true);
    app::QueueRunView view(queue, log);
    RunReport report(err, options.progress, options.verbose, static_cast<int>(queue.rows.size()));
    view.setLineListener([&](app::QueueRunView::LineEvent event, const std::string& text) {
        if (event != app::QueueRunView::LineEvent::Added &&
            event != app::QueueRunView::LineEvent::Replaced)
            return;
        if (!options.json) out << text << "\n";
        report.lineText(text);
    });

    app::RunSetup setup;
    setup.mode = options.mode;
    setup.platform = &platform;
    setup.services = &services;
    setup.settings = &store;
    setup.paths = paths;
    setup.pluginFiles = queue.pluginFiles;
    setup.registryTitles = queue.registryTitles;
    setup.folderTitles = queue.folderTitles;
    setup.observer = &report;

    app::Run run(setup, view, 1);
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    auto notify = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        ended.notify_all();
    };
    // A Ctrl+C that came while the queue was being built stops the run before
    // its worker erases anything, not at the first look below.
    if (interrupt && interrupt->load()) run.requestStop();
    run.start([&](app::Run&) { notify(); });
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!finished && !run.done()) {
            if (interrupt && interrupt->load()) run.requestStop();
            ended.wait_for(lock, std::chrono::milliseconds(50));
        }
    }
    run.wait();
    report.finish(run.counters());
    out.flush();

    if (!run.completed()) {
        err << kProgramName << ": interrupted; the run was stopped without completion\n";
        return kExitInterrupted;
    }

    app::CompletionFacts facts;
    facts.mode = options.mode;
    facts.counters = run.counters();
    facts.runDate = run.runDate();
    facts.runTime = run.runTime();
    const std::string separator = platform.system->decimalSeparator();
    const bool stored =
        complete(app::RunCompletion(facts, store, separator), log, store, out, err, options.json);
    if (options.json)
        writeJson(out, options.mode, report.items(), run.counters(), report.notRemoved(),
                  app::RunSummary(facts, separator), false);
    out.flush();

    if (!run.failure().empty()) {
        err << kProgramName << ": the run ended early: " << run.failure() << "\n";
        return kExitFailure;
    }
    return report.notRemoved() > 0 || !stored ? kExitFailure : kExitOk;
}

void registerRunCommands(CliApp& app, RunCommandEnvironment environment) {
    const OptionDef home{kHome, "DIR", "the home folder (default: the executable's folder)"};
    const OptionDef json{kJson, "",
                         "one JSON document instead of the log lines: per item and in total, "
                         "with each file left behind and the reason"};
    const OptionDef verbose{kVerbose, "", "name each file left behind, and the reason, on stderr"};
    auto env = std::make_shared<RunCommandEnvironment>(std::move(environment));

    auto addRun = [&](const char* name, const char* summary, engine::RunMode mode) {
        Command run;
        run.name = name;
        run.summary = summary;
        run.options = {home, json, verbose};
        run.run = [env, mode](CommandContext& ctx) { return runCommand(mode, *env, ctx); };
        app.addCommand(std::move(run));
    };
    addRun("test", "Test Mode run over the item queue: report what a cleaning run would erase",
           engine::RunMode::Test);
    addRun("clean", "cleaning run over the item queue: erase what is selected",
           engine::RunMode::Clean);

    Command queue;
    queue.name = "queue";
    queue.summary = "list the item queue, one caption a line";
    queue.options = {home};
    queue.run = [](CommandContext& ctx) {
        if (!ctx.args.positional().empty())
            return usageError(ctx.err,
                              "unexpected argument '" + ctx.args.positional().front() + "'");
        const std::string home = ResolveHomeOption(*ctx.platform, ctx.args.value(kHome));
        if (home.empty()) return usageError(ctx.err, "the home folder does not exist");
        return PrintQueue(*ctx.platform, home, ctx.out);
    };
    app.addCommand(std::move(queue));
}

}  // namespace cindral::cli
