#include "app/run.h"

#include <exception>

#include "app/item_queue.h"
#include "app/log_book.h"
#include "app/startup.h"
#include "engine/builtin_items.h"
#include "engine/catalogue.h"
#include "engine/path_macros.h"
#include "engine/path_template.h"
#include "engine/plugin_runner.h"
#include "engine/protected_folders.h"
#include "engine/registry_cleaner.h"
#include "selection/custom_record_list.h"
#include "selection/line_file.h"
#include "selection/plugin_list.h"
#include "selection/selection_store.h"

namespace cindral::app {

const char* const kStatusAnalyzing = "Analyzing...";
const char* const kStatusCompleted = "Completed";
const char* const kStatusTerminated = "Terminated";
const char* const kTestModePrefix = "Test Mode: ";

namespace {

// Lines of a custom list whose title is `title` without regard to case.
std::vector<std::string> recordsTitled(engine::EngineContext& ctx, const std::string& file,
                                       const std::string& title) {
    std::vector<std::string> lines;
    std::vector<std::string> matching;
    selection::readLineFile(*ctx.platform.files, file, selection::LineRules::Run, lines);
    platform::System& sys = *ctx.platform.system;
    const std::string wanted = sys.lowerCase(title);
    for (auto& line : lines)
        if (sys.lowerCase(selection::RecordField(line, 1)) == wanted)
            matching.push_back(std::move(line));
    return matching;
}

}  // namespace

void MarkRowsPending(engine::RunView& view) {
    const int n = view.rowCount();
    for (int i = 0; i < n; ++i) view.setRowStatus(i, kStatusPending);
}

int CountCheckedRecords(platform::Files& files, const DataPaths& paths, int kind) {
    if (kind == 1) return selection::CountCheckedRecords(files, paths.customRegistry);
    if (kind == 2) return selection::CountCheckedRecords(files, paths.customFolder);
    return 0;
}

void ResetRowStates(engine::RunView& view, platform::Platform& platform, const DataPaths& paths,
                    bool reset) {
    selection::SelectionStore store(*platform.profiles, *platform.files, paths.selItems);
    int b = 0;
    for (const auto& item : engine::BuiltInItems())
        if (store.IsChecked(item.name)) ++b;
    const int r = CountCheckedRecords(*platform.files, paths, 1);
    const int f = CountCheckedRecords(*platform.files, paths, 2);
    const int n = view.rowCount();
    for (int i = 0; i < n; ++i) {
        if (reset || view.rowIcon(i) == kIconInProgress) {
            if (i < b) {
                const int position = engine::FindBuiltInItem(view.rowCaption(i));
                if (position != 0) view.setRowIcon(i, engine::BuiltInItems()[position - 1].digit);
            } else if (i >= n - f) {
                view.setRowIcon(i, kIconCustomFolder);
            } else if (i >= n - (r + f)) {
                view.setRowIcon(i, kIconCustomRegistry);
            } else {
                view.setRowIcon(i, kIconPlugin);
            }
        }
        if (view.rowStatus(i) == kStatusAnalyzing) view.setRowStatus(i, kStatusTerminated);
    }
}

std::vector<std::string> FixedDriveList(platform::Files& files) {
    std::vector<std::string> roots;
    const std::uint32_t mask = files.logicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(mask & (1u << letter))) continue;
        const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
        if (files.driveType(root) == platform::kDriveFixed) roots.push_back(root);
    }
    return roots;
}

std::string CustomRegistryEntry(const std::string& line) {
    const std::string key = selection::RecordField(line, 2);
    const std::string action = selection::RecordField(line, 3);
    if (action == "0") return key + ",onlyvalues,none";
    if (action == "1") return key + ",allvalues,none";
    if (action == "2") return key + ",onlysubkeys,none";
    if (action == "3") return key + ",onevalue," + selection::RecordField(line, 4);
    return key + action;
}

std::string CustomFolderTemplate(const std::string& line) {
    const std::string mode = selection::RecordField(line, 3);
    std::string mask = mode;
    if (mode == "0")
        mask = "*.*";
    else if (mode == "1")
        mask = "*?";
    else if (mode == "2")
        mask = selection::RecordField(line, 4);
    std::string folder = engine::TrimBlanks(selection::RecordField(line, 2));
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder + mask;
}

void RunCustomRegistryRecords(engine::EngineContext& ctx, const std::string& file,
                              const std::string& title) {
    for (const auto& line : recordsTitled(ctx, file, title)) {
        if (ctx.run.stopped()) return;
        engine::CleanRegistryEntry(ctx, CustomRegistryEntry(line), nullptr);
    }
}

void RunCustomFolderRecords(engine::EngineContext& ctx, const std::string& file,
                            const std::string& title) {
    for (const auto& line : recordsTitled(ctx, file, title)) {
        if (ctx.run.stopped()) return;
        engine::CleanPathTemplate(ctx, CustomFolderTemplate(line));
    }
}

Run::Run(RunSetup setup, engine::RunView& view, std::uint64_t id)
    : setup_(std::move(setup)), view_(view), id_(id) {
    state_.StopRequested = &stop_;
}

Run::~Run() {
    requestStop();
    wait();
}

void Run::start(Finished onFinished) {
    if (started_) return;
    started_ = true;
    begin();
    thread_ = std::thread([this, onFinished = std::move(onFinished)]() {
        body();
        const bool report = completed_.load();
        done_.store(true);
        if (report && onFinished) onFinished(*this);
    });
}

void Run::runHere() {
    if (started_) return;
    started_ = true;
    begin();
    body();
    done_.store(true);
}

void Run::wait() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void Run::begin() {
    guarded([this] { prepare(); });
}

void Run::prepare() {
    const bool test = setup_.mode == engine::RunMode::Test;
    if (!test && setup_.settings->isOn(settings::kCloseIEBeforeErasing) && setup_.services &&
        setup_.services->browserWindows)
        setup_.services->browserWindows->closeAll();

    MarkRowsPending(view_);
    ResetRowStates(view_, *setup_.platform, setup_.paths, true);
    view_.scrollToRow(0);

    state_.counters = {};
    currentRow_ = -1;
    view_.setGauge(0, view_.rowCount() - 1);
    state_.Erase = !test;
    state_.LinePrefix = test ? kTestModePrefix : "";
    state_.KeeperMode = engine::kKeeperNone;
    view_.clearLog();
}

// An unforeseen failure ends the run's work where it stands; the run still
// counts as finished, so the completion shows the figures gathered so far.
// Only a stop suppresses completion.
void Run::guarded(const std::function<void()>& work) {
    if (!failure_.empty()) return;
    try {
        work();
    } catch (const std::exception& e) {
        failure_ = e.what();
        if (failure_.empty()) failure_ = "unknown failure";
    } catch (...) {
        failure_ = "unknown failure";
    }
}

void Run::body() {
    guarded([this] {
        openLog();
        if (!stopped()) builtInItems();
        if (!stopped()) plugins();
        if (!stopped()) customRecords(1);
        if (!stopped()) customRecords(2);
    });
    completed_.store(!stopped());
}

// The run's date and time, the fixed drives, and the log buffer opened with
// the run's header.
void Run::openLog() {
    platform::Platform& p = *setup_.platform;
    const platform::SystemTime now = p.system->localTime();
    runDate_ = FormatRunDate(now);
    runTime_ = FormatRunTime(now);
    state_.FixedDrives = FixedDriveList(*p.files);
    state_.ProtectedFolders = engine::ProtectedFolders(p, setup_.paths.home);

    view_.createLogBuffer();
    view_.addLine(RunHeaderLine(runDate_, runTime_));
    view_.addLine(RunHeaderRule());
}

engine::EngineContext Run::context() {
    const settings::Settings* s = setup_.settings;
    engine::EngineContext ctx{*setup_.platform, state_, view_, [s] {
                                  return engine::WipeSettings{
                                      s->isOn(settings::kSecureErasing),
                                      s->read(settings::kPassess),
                                      s->read(settings::kMethodDestruction)};
                              }};
    if (RunObserver* observer = setup_.observer)
        ctx.notRemoved = [observer](const std::string& path, const std::string& reason) {
            observer->fileNotRemoved(path, reason);
        };
    return ctx;
}

bool Run::beginRow(const std::string& caption) {
    if (stopped()) return false;
    ++currentRow_;
    // Rows are trusted to follow the run's order; a row that does not exist
    // (the data files changed since the queue was built) is not drawn.
    if (currentRow_ < view_.rowCount()) {
        view_.setGauge(currentRow_, view_.rowCount() - 1);
        view_.setRowStatus(currentRow_, kStatusAnalyzing);
        view_.setRowIcon(currentRow_, kIconInProgress);
        view_.scrollToRow(currentRow_);
    }
    if (setup_.observer) setup_.observer->rowStarted(currentRow_, caption, state_.counters);
    view_.addLine(state_.LinePrefix + "[Cleaning " + caption + "]");
    return true;
}

void Run::completeRow() {
    // A stop leaves the row in progress as it is; the window marks it.
    if (stopped()) return;
    if (currentRow_ < view_.rowCount()) {
        view_.setRowIcon(currentRow_, kIconDone);
        view_.setRowStatus(currentRow_, kStatusCompleted);
    }
    if (setup_.observer) setup_.observer->rowCompleted(currentRow_, state_.counters);
}

void Run::emptyLogIfDue() {
    if (setup_.mode != engine::RunMode::Test) return;
    if (setup_.settings->isOn(settings::kLogRefreshEnable))
        view_.emptyLogIfAtLeast(
            static_cast<std::int32_t>(setup_.settings->read(settings::kLogRefreshLines)));
}

void Run::builtInItems() {
    platform::Platform& p = *setup_.platform;
    selection::SelectionStore store(*p.profiles, *p.files, setup_.paths.selItems);
    engine::EngineContext ctx = context();
    platform::RunServices none;
    platform::RunServices& services = setup_.services ? *setup_.services : none;
    const engine::CatalogueFiles files{setup_.paths.addressesKept, setup_.paths.cookieKept,
                                       setup_.paths.openSaveKept, setup_.paths.driveScan};
    for (const auto& item : engine::BuiltInItems()) {
        state_.KeeperMode = engine::kKeeperNone;
        if (!store.IsSelected(item.name)) continue;
        if (!beginRow(item.name)) return;
        emptyLogIfDue();
        engine::PerformBuiltInItem(ctx, services, files, item);
        state_.KeeperMode = engine::kKeeperNone;
        completeRow();
    }
}

void Run::plugins() {
    platform::Platform& p = *setup_.platform;
    selection::SelectionStore store(*p.profiles, *p.files, setup_.paths.selItems);
    engine::EngineContext ctx = context();
    for (const auto& fileName : setup_.pluginFiles) {
        if (stopped()) return;
        const std::string path = selection::PluginFilePath(setup_.paths.home, fileName);
        const std::string title = selection::ReadPluginTitle(*p.profiles, path, fileName);
        emptyLogIfDue();
        if (!store.IsSelected(title)) continue;
        if (!beginRow(title)) return;
        engine::RunPlugin(ctx, path);
        state_.KeeperMode = engine::kKeeperNone;
        completeRow();
    }
}

void Run::customRecords(int kind) {
    engine::EngineContext ctx = context();
    const std::string& file = kind == 1 ? setup_.paths.customRegistry : setup_.paths.customFolder;
    // The rows the queue was built with: counted from the files as they now
    // stand, a record checked or unchecked since would shift the rows, and
    // one kind's loop would take the other kind's caption and run records
    // of its own kind that share that title.
    for (const std::string& title : kind == 1 ? setup_.registryTitles : setup_.folderTitles) {
        if (!beginRow(title)) return;
        if (kind == 1)
            RunCustomRegistryRecords(ctx, file, title);
        else
            RunCustomFolderRecords(ctx, file, title);
        completeRow();
        emptyLogIfDue();
    }
}

}  // namespace cindral::app
