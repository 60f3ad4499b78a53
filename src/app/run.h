// One cleaning or test run: the driver that walks the item queue (built-in
// items, plug-ins, custom registry records, custom folder records), owning
// its run state and running on its own thread. It reaches the window only
// through engine::RunView, which the window implements by carrying each
// request out on its own thread; the command-line tool and the tests
// implement it directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/data_paths.h"
#include "engine/engine_context.h"
#include "engine/log_view.h"
#include "engine/run_state.h"
#include "platform/platform.h"
#include "platform/run_services.h"
#include "settings/settings_store.h"

namespace cindral::app {

// Row status texts and the prefix of a test run.
extern const char* const kStatusAnalyzing;
extern const char* const kStatusCompleted;
extern const char* const kStatusTerminated;
extern const char* const kTestModePrefix;  // "Test Mode: "

// Told about each row as the run takes it up and as it completes it, on the
// run's thread, with the counters as they stand (for per-item figures and
// progress indicators).
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void rowStarted(int row, const std::string& caption,
                            const engine::RunCounters& counters) = 0;
    virtual void rowCompleted(int row, const engine::RunCounters& counters) = 0;
    // A file the clean run could not remove, and the system's reason.
    virtual void fileNotRemoved(const std::string& /*path*/, const std::string& /*reason*/) {}
};

struct RunSetup {
    engine::RunMode mode = engine::RunMode::Test;
    platform::Platform* platform = nullptr;
    platform::RunServices* services = nullptr;
    const settings::Settings* settings = nullptr;
    DataPaths paths;
    // The plug-in file names of the last item-queue rebuild, in its order.
    std::vector<std::string> pluginFiles;
    // The custom registry and custom folder rows of that rebuild, by title.
    std::vector<std::string> registryTitles;
    std::vector<std::string> folderTitles;
    RunObserver* observer = nullptr;  // optional
};

// Status of every row := "Pending".
void MarkRowsPending(engine::RunView& view);

// Gives rows their resting icons (all rows when `reset`, otherwise only the
// rows showing the in-progress icon) and marks a row still "Analyzing..." as
// "Terminated". Built-in rows are the first b rows, b being the number of
// built-in items checked in "SelItems.dat"; custom registry and custom folder
// rows are the last r + f rows.
void ResetRowStates(engine::RunView& view, platform::Platform& platform, const DataPaths& paths,
                    bool reset);

// Kind 1: "CustomRegistry.dat", kind 2: "CustomFolder.dat": the records whose
// fifth field reads as exactly 1; 0 for a missing file or any other kind.
int CountCheckedRecords(platform::Files& files, const DataPaths& paths, int kind);

// Roots ("C:\") of every present fixed drive, in letter order.
std::vector<std::string> FixedDriveList(platform::Files& files);

class Run {
public:
    // Called on the run's thread when the body has returned by itself (also
    // after an unforeseen failure inside an item), never after a stop. It
    // must not destroy the run; the usual thing is to post a message that
    // names the run's id to the window's thread.
    using Finished = std::function<void(Run& run)>;

    Run(RunSetup setup, engine::RunView& view, std::uint64_t id);
    // Asks a running body to stop and waits for its thread. A window whose
    // view blocks the run (SendMessage) must not destroy a run on its own
    // thread before done() is true.
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Takes the start steps on the calling thread, in this order: a clean
    // run closes the browser windows when "CloseIEBeforeErasing" is on;
    // every row is marked "Pending" and given its resting icon, and the
    // queue scrolled to the first; the counters are zeroed, the gauge set to
    // 0 of rows - 1, the line prefix chosen and the log view emptied. The
    // view is ready for the run when this returns. Then starts the body on
    // a thread of its own. Once only.
    void start(Finished onFinished = {});
    // The same with the body on the calling thread (no thread, no callback).
    void runHere();
    // From any thread, also a signal handler: no further deletion begins,
    // and the run never reports completion.
    void requestStop() { stop_.store(true); }
    // Waits for the run's thread to end.
    void wait();

    std::uint64_t id() const { return id_; }
    engine::RunMode mode() const { return setup_.mode; }
    // The body has ended (joining is then immediate).
    bool done() const { return done_.load(); }
    // The body returned by itself, or ended through an unforeseen failure.
    bool completed() const { return completed_.load(); }
    // The text of the unforeseen failure that ended the body, if any.
    const std::string& failure() const { return failure_; }

    // Read only after done() (or from the observer and the view, on the
    // run's thread).
    const engine::RunCounters& counters() const { return state_.counters; }
    int currentRow() const { return currentRow_; }
    // The local date and time the run took at its start (MM.DD.YYYY, HH:MM:SS).
    const std::string& runDate() const { return runDate_; }
    const std::string& runTime() const { return runTime_; }

private:
    void begin();
    void prepare();
    void body();
    void guarded(const std::function<void()>& work);
    void openLog();
    engine::EngineContext context();
    void builtInItems();
    void plugins();
    void customRecords(int kind);
    bool beginRow(const std::string& caption);
    void completeRow();
    void emptyLogIfDue();
    bool stopped() const { return stop_.load(std::memory_order_relaxed); }

    RunSetup setup_;
    engine::RunView& view_;
    std::uint64_t id_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::atomic<bool> completed_{false};
    std::string failure_;
    engine::RunState state_;
    int currentRow_ = -1;
    std::string runDate_;
    std::string runTime_;
    std::thread thread_;
    bool started_ = false;
};

// What a run hands on for one custom record line: the registry entry its key
// and action give ("0" values, "1" values in subkeys, "2" subkeys, "3" the
// one named value), or the path template of its folder, trimmed and ending
// in "\", and its mode ("0" "*.*", "1" "*?" with subfolders, "2" the file
// name). Any other action or mode is appended as it stands.
std::string CustomRegistryEntry(const std::string& line);
std::string CustomFolderTemplate(const std::string& line);

// The custom records of one row: every line of `file` whose title equals
// `title` without regard to case, whatever its check field.
void RunCustomRegistryRecords(engine::EngineContext& ctx, const std::string& file,
                              const std::string& title);
void RunCustomFolderRecords(engine::EngineContext& ctx, const std::string& file,
                            const std::string& title);

}  // namespace cindral::app
