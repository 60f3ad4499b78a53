// The operating-system services that the runs need: the browser's URL cache
// and history, the recycle bin, the clipboard and the browser windows (which
// the boss key and the browser watch use too). Kept apart from the Platform
// bundle because only the runs and the window's guards use them, and tests
// hand them fakes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace cindral::platform {

class UrlCache {
public:
    virtual ~UrlCache() = default;
    // Deletes every entry of the URL cache (FindFirstUrlCacheEntry ...
    // DeleteUrlCacheEntry). Silent: no lines, no counts.
    virtual void clearCache() = 0;
    // IUrlHistoryStg2::ClearHistory. False when the history object is not
    // available or refuses.
    virtual bool clearHistory() = 0;
};

struct RecycleBinContents {
    std::uint64_t itemCount = 0;
    std::uint64_t totalSize = 0;  // bytes
};

class RecycleBin {
public:
    virtual ~RecycleBin() = default;
    // The bins of all drives together (SHQueryRecycleBin with no root).
    // False when the query fails; the contents are then zero.
    virtual bool query(RecycleBinContents& contents) = 0;
    // Empties the bins of all drives without asking, progress or sound.
    // True only when the system reports success.
    virtual bool empty() = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Opens without an owner window, empties, closes. False when the
    // clipboard could not be opened; it is then left as it is.
    virtual bool empty() = 0;
};

// The web browser's top-level windows: those of the window class "IEFrame".
class BrowserWindows {
public:
    virtual ~BrowserWindows() = default;
    // Sends the close system command to every top-level browser window
    // until none is left or the time bound runs out; returns the number of
    // windows that were asked to close. Never waits for ever.
    virtual int closeAll() = 0;
    // Whether at least one browser window exists, shown or hidden.
    virtual bool anyOpen() = 0;
    // Hides, or shows, every browser window; other windows are not touched.
    virtual void showAll(bool show) = 0;
};

struct RunServices {
    UrlCache* urlCache = nullptr;
    RecycleBin* recycleBin = nullptr;
    Clipboard* clipboard = nullptr;
    BrowserWindows* browserWindows = nullptr;
};

struct RunServicesOptions {
    // Linux only: the Trash folder to use instead of the user's
    // ($XDG_DATA_HOME, else ~/.local/share, + "/Trash"). Ignored on Windows.
    std::string trashFolder;
};

// Owns the backend objects behind a RunServices bundle.
class NativeRunServices {
public:
    virtual ~NativeRunServices() = default;
    virtual RunServices& services() = 0;
};

std::unique_ptr<NativeRunServices> createNativeRunServices(const RunServicesOptions& options = {});

}  // namespace cindral::platform
