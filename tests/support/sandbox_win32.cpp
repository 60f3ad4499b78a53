// The test sandbox on the real system: a fresh folder below the temp path and
// a scratch key HKCU\Software\CindralTest-<unique>, both removed at the end.
#include <windows.h>
// Needs <windows.h> first.
#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <fstream>
#include <string>

#include "platform/native.h"
#include "support/sandbox.h"

namespace cindral::test {
namespace {

// Each sandbox's key sits right below Software, with no parent shared between
// test processes: a shared parent removed by one sandbox at its end could
// vanish between another's creating it and creating its own key below it
// (the system creates a path one key at a time), and that sandbox would have
// no scratch key at all.
const char kScratchPrefix[] = "Software\\CindralTest-";

std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
           std::to_string(counter++);
}

std::string tempPath() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof buffer, buffer);  // ends in "\"
    return (length == 0 || length >= sizeof buffer) ? "C:\\" : buffer;
}

bool runningOnWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Removes a folder and everything in it without following links: a link
// (file or folder) is removed as itself, never descended into. Wine cannot
// remove a link as itself (DeleteFile and RemoveDirectory act on the link's
// target there), so under Wine a link is left in place; the prefix belongs to
// the build folder anyway.
void removeTree(const std::string& folder, bool onWine) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            const DWORD attributes = data.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (onWine) continue;
                if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
                continue;
            }
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path, onWine);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

struct Sandbox::Impl {
    std::unique_ptr<platform::NativePlatform> native;
    std::string root;             // with trailing "\"
    std::string scratchPath;      // below HKCU
    HANDLE systemKeys = nullptr;  // held mutex, see holdSystemKeys
};

Sandbox::Sandbox() : impl_(std::make_unique<Impl>()) {
    impl_->native = platform::createNativePlatform(platform::NativeOptions{});
    const std::string base = tempPath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = base + "cindral-test-" + uniqueSuffix();
        if (CreateDirectoryA(folder.c_str(), nullptr)) {
            impl_->root = folder + "\\";
            break;
        }
    }
    impl_->scratchPath = kScratchPrefix + uniqueSuffix();
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, impl_->scratchPath.c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
}

Sandbox::~Sandbox() {
    if (!impl_->root.empty())
        removeTree(impl_->root.substr(0, impl_->root.size() - 1), runningOnWine());
    SHDeleteKeyA(HKEY_CURRENT_USER, impl_->scratchPath.c_str());  // the key and all below it
    if (impl_->systemKeys) {
        ReleaseMutex(impl_->systemKeys);
        CloseHandle(impl_->systemKeys);
    }
}

void Sandbox::holdSystemKeys() {
    if (impl_->systemKeys) return;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "cindral-tests-system-keys");
    if (!mutex) return;
    // WAIT_ABANDONED: a test process that held it died; the keys are ours.
    const DWORD got = WaitForSingleObject(mutex, INFINITE);
    if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED)
        impl_->systemKeys = mutex;
    else
        CloseHandle(mutex);
}

platform::Platform& Sandbox::platform() { return impl_->native->platform(); }

std::string Sandbox::root() const { return impl_->root; }

std::string Sandbox::registryScratchPath() const { return impl_->scratchPath; }

bool Sandbox::writeFile(const std::string& windowsPath, const std::string& bytes) {
    std::ofstream out(windowsPath, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return !out.fail();
}

bool Sandbox::makeFolder(const std::string& windowsPath) {
    // Makes the missing folders on the way; a file in the way fails below.
    SHCreateDirectoryExA(nullptr, windowsPath.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(windowsPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Sandbox::makeSymlink(const std::string& linkPath, const std::string& targetPath,
                          bool isFolder) {
    // Not present before Vista; looked up at run time so the tests still
    // start on older systems.
    using CreateSymbolicLinkFn = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return false;
    auto create = reinterpret_cast<CreateSymbolicLinkFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "CreateSymbolicLinkA")));
    if (create == nullptr) return false;
    const DWORD kDirectory = 0x1;     // SYMBOLIC_LINK_FLAG_DIRECTORY
    const DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    const DWORD flags = isFolder ? kDirectory : 0;
    if (!create(linkPath.c_str(), targetPath.c_str(), flags | kUnprivileged) &&
        !create(linkPath.c_str(), targetPath.c_str(), flags)) {
        return false;
    }
    // Wine's CreateSymbolicLink reports success and creates nothing: only a
    // link that is really there counts.
    const DWORD attributes = GetFileAttributesA(linkPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool Sandbox::exists(const std::string& windowsPath) {
    return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Sandbox::setReadOnly(const std::string& windowsPath, bool readOnly) {
    const DWORD attributes = GetFileAttributesA(windowsPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return SetFileAttributesA(windowsPath.c_str(),
                              readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                                       : (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY))) != FALSE;
}

bool Sandbox::makeSizedFile(const std::string& windowsPath, std::uint64_t size) {
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    return CloseHandle(file) && ok;
}

}  // namespace cindral::test
