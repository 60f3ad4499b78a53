// Special folders through the shell's item-id lists.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/code_page_win32.h"
#include "platform/win32/win32_backends.h"

namespace cindral::platform::win32 {
namespace {

class Win32ShellFolders : public ShellFolders {
public:
    std::string specialFolder(int csidl) override {
        LPITEMIDLIST pidl = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || pidl == nullptr) {
            return std::string();
        }
        // The path is taken in characters and converted here: the 8-bit
        // call cuts a path longer than MAX_PATH bytes in the code page short,
        // and the shorter path names one of the folder's parents.
        wchar_t path[MAX_PATH] = {};
        const bool ok = SHGetPathFromIDListW(pidl, path) != FALSE;
        // The list was allocated by the shell's task allocator.
        CoTaskMemFree(pidl);
        std::string text;
        if (!ok || !ToActiveCodePage(path, text)) return std::string();
        return text;
    }
};

}  // namespace

std::unique_ptr<ShellFolders> createShellFolders() { return std::make_unique<Win32ShellFolders>(); }

}  // namespace cindral::platform::win32
