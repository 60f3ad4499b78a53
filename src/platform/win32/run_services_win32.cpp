// The run services through wininet, the URL history object, shell32 and user32.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <urlhist.h>
#include <wininet.h>

#include <cstring>
#include <vector>

#include "platform/run_services.h"

namespace cindral::platform {
namespace {

// Spelled out here rather than taken from uuid.lib, whose contents differ
// between MinGW releases.
const CLSID kClsidUrlHistory = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kIidUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

class Win32UrlCache : public UrlCache {
public:
    void clearCache() override {
        // The enumeration starts with no buffer: the first call only reports
        // the size an entry needs, and the buffer grows to it.
        std::vector<char> buffer;
        HANDLE find = nullptr;
        for (int tries = 0; tries < 3 && !find; ++tries) {
            DWORD size = static_cast<DWORD>(buffer.size());
            find = FindFirstUrlCacheEntryA(nullptr, entry(buffer), &size);
            if (!find && !grow(buffer, size)) return;
        }
        if (!find) return;
        do {
            if (const char* url = entry(buffer)->lpszSourceUrlName) DeleteUrlCacheEntryA(url);
        } while (next(find, buffer));
        FindCloseUrlCache(find);
    }

    bool clearHistory() override {
        // The run's thread may or may not have COM initialised already; either
        // way it is balanced here.
        HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        bool cleared = false;
        IUrlHistoryStg2* history = nullptr;
        if (SUCCEEDED(CoCreateInstance(kClsidUrlHistory, nullptr, CLSCTX_INPROC_SERVER,
                                       kIidUrlHistoryStg2, reinterpret_cast<void**>(&history))) &&
            history) {
            cleared = SUCCEEDED(history->ClearHistory());
            history->Release();
        }
        if (SUCCEEDED(init)) CoUninitialize();
        return cleared;
    }

private:
    static INTERNET_CACHE_ENTRY_INFOA* entry(std::vector<char>& buffer) {
        return buffer.empty() ? nullptr
                              : reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    }

    // After a call that failed: true when it failed only for want of room
    // and the buffer now has the size asked for.
    static bool grow(std::vector<char>& buffer, DWORD needed) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return false;
        buffer.resize(needed);
        return true;
    }

    static bool next(HANDLE find, std::vector<char>& buffer) {
        for (int tries = 0; tries < 3; ++tries) {
            DWORD size = static_cast<DWORD>(buffer.size());
            if (FindNextUrlCacheEntryA(find, entry(buffer), &size)) return true;
            if (!grow(buffer, size)) return false;
        }
        return false;
    }
};

class Win32RecycleBin : public RecycleBin {
public:
    bool query(RecycleBinContents& contents) override {
        contents = {};
        if (queryRoot(nullptr, contents)) return true;
        // Some systems refuse the query without a root; the bins are then
        // asked drive by drive.
        bool any = false;
        const DWORD drives = GetLogicalDrives();
        for (int letter = 0; letter < 26; ++letter) {
            if (!(drives & (1u << letter))) continue;
            const char root[] = {static_cast<char>('A' + letter), ':', '\\', 0};
            if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
            RecycleBinContents drive;
            if (!queryRoot(root, drive)) continue;
            any = true;
            contents.itemCount += drive.itemCount;
            contents.totalSize += drive.totalSize;
        }
        return any;
    }

    bool empty() override {
        SHEmptyRecycleBinA(nullptr, nullptr,
                           SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
        // The result of the call differs between Windows versions for a bin
        // that was partly locked or already empty; what counts is whether
        // the bins are empty afterwards.
        RecycleBinContents after;
        return query(after) && after.itemCount == 0;
    }

private:
    static bool queryRoot(const char* root, RecycleBinContents& contents) {
        SHQUERYRBINFO info = {};
        info.cbSize = sizeof info;
        if (FAILED(SHQueryRecycleBinA(root, &info))) return false;
        contents.itemCount = static_cast<std::uint64_t>(info.i64NumItems);
        contents.totalSize = static_cast<std::uint64_t>(info.i64Size);
        return true;
    }
};

class Win32Clipboard : public Clipboard {
public:
    bool empty() override {
        if (!OpenClipboard(nullptr)) return false;
        bool emptied = EmptyClipboard() != FALSE;
        CloseClipboard();
        return emptied;
    }
};

class Win32BrowserWindows : public BrowserWindows {
public:
    int closeAll() override {
        // A window that ignores the close command is asked a few times over
        // about two seconds and then left alone, so a hung browser cannot
        // hold up the run; the next window of the class is then looked for
        // behind it.
        constexpr int kAttemptsPerWindow = 20;
        constexpr DWORD kPauseMs = 100;
        constexpr int kMaxWindows = 64;
        std::vector<HWND> givenUp;
        int asked = 0;
        for (int windows = 0; windows < kMaxWindows; ++windows) {
            HWND window = nextBrowserWindow(givenUp);
            if (!window) break;
            ++asked;
            for (int attempt = 0; attempt < kAttemptsPerWindow && IsWindow(window); ++attempt) {
                DWORD_PTR ignored = 0;
                SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_CLOSE, SC_CLOSE, SMTO_ABORTIFHUNG,
                                    500, &ignored);
                if (!IsWindow(window)) break;
                Sleep(kPauseMs);
            }
            if (IsWindow(window)) givenUp.push_back(window);
        }
        return asked;
    }

    bool anyOpen() override { return FindWindowA(kBrowserClass, nullptr) != nullptr; }

    void showAll(bool show) override { EnumWindows(&showIfBrowser, show ? SW_SHOW : SW_HIDE); }

private:
    static constexpr const char* kBrowserClass = "IEFrame";

    // Every top-level window is looked at, whatever the answer for one.
    static BOOL CALLBACK showIfBrowser(HWND window, LPARAM command) {
        char name[101] = {};
        if (GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, kBrowserClass) == 0)
            ShowWindow(window, static_cast<int>(command));
        return TRUE;
    }

    static HWND nextBrowserWindow(const std::vector<HWND>& givenUp) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, kBrowserClass, nullptr)) != nullptr) {
            bool skipped = false;
            for (HWND old : givenUp) skipped = skipped || old == window;
            if (!skipped) return window;
        }
        return nullptr;
    }
};

class Win32RunServices : public NativeRunServices {
public:
    Win32RunServices() {
        services_.urlCache = &urlCache_;
        services_.recycleBin = &recycleBin_;
        services_.clipboard = &clipboard_;
        services_.browserWindows = &browserWindows_;
    }
    RunServices& services() override { return services_; }

private:
    Win32UrlCache urlCache_;
    Win32RecycleBin recycleBin_;
    Win32Clipboard clipboard_;
    Win32BrowserWindows browserWindows_;
    RunServices services_;
};

}  // namespace

std::unique_ptr<NativeRunServices> createNativeRunServices(const RunServicesOptions&) {
    return std::make_unique<Win32RunServices>();
}

}  // namespace cindral::platform
