// Special folders through the shell's item-id lists.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

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
        char path[MAX_PATH] = {};
        const bool ok = SHGetPathFromIDListA(pidl, path) != FALSE;
        // The list was allocated by the shell's task allocator.
        CoTaskMemFree(pidl);
        return ok ? std::string(path) : std::string();
    }
};

}  // namespace

std::unique_ptr<ShellFolders> createShellFolders() { return std::make_unique<Win32ShellFolders>(); }

}  // namespace cindral::platform::win32
