// Files, folders and drives on the kernel32 calls.
#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "platform/win32/code_page_win32.h"
#include "platform/win32/find_first_win32.h"
#include "platform/win32/system_time_win32.h"
#include "platform/win32/win32_backends.h"

namespace cindral::platform::win32 {
namespace {

constexpr DWORD kReportedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::string withTrailingSeparator(const std::string& folder) {
    if (!folder.empty() && isSeparator(folder.back())) return folder;
    return folder + "\\";
}

SystemTime toLocalSystemTime(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) {
        return SystemTime{};
    }
    return fromSystemTime(st);
}

DirEntry toEntry(const WIN32_FIND_DATAA& data) {
    DirEntry entry;
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes & kReportedAttributes;
    entry.size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.creationTime = toLocalSystemTime(data.ftCreationTime);
    entry.lastAccessTime = toLocalSystemTime(data.ftLastAccessTime);
    entry.lastWriteTime = toLocalSystemTime(data.ftLastWriteTime);
    return entry;
}

// The calls take a path as a C string, which ends at its first NUL: a path
// holding one would reach the entry named by the part before it. Such a path
// names nothing.
bool nameable(const std::string& path) {
    if (path.find('\0') == std::string::npos) return true;
    SetLastError(ERROR_INVALID_NAME);
    return false;
}

DWORD attributesOf(const std::string& path) {
    return nameable(path) ? GetFileAttributesA(path.c_str()) : INVALID_FILE_ATTRIBUTES;
}

// The folder part of a path ("C:\a\b.txt" -> "C:\a\"); "" without one.
std::string folderOf(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Length of the part of the path that is never created: "C:\", "\\server\share\"
// or a leading "\".
std::size_t rootLength(const std::string& path) {
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t pos = 2;
        for (int parts = 0; parts < 2 && pos < path.size(); ++parts) {
            while (pos < path.size() && !isSeparator(path[pos])) ++pos;
            if (pos < path.size()) ++pos;
        }
        return pos;
    }
    if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && isSeparator(path[2]) ? 3 : 2;
    if (!path.empty() && isSeparator(path[0])) return 1;
    return 0;
}

bool writeAll(HANDLE file, const char* data, std::size_t length) {
    while (length > 0) {
        const DWORD chunk = length > 0x40000000 ? 0x40000000 : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        length -= written;
    }
    return true;
}

class Win32OverwriteFile : public OverwriteFile {
public:
    explicit Win32OverwriteFile(HANDLE file) : file_(file) {}
    ~Win32OverwriteFile() override { close(); }

    bool size(std::uint64_t& size) override {
        LARGE_INTEGER length;
        if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &length)) return false;
        size = static_cast<std::uint64_t>(length.QuadPart);
        return true;
    }

    bool seekToStart() override {
        LARGE_INTEGER zero;
        zero.QuadPart = 0;
        return file_ != INVALID_HANDLE_VALUE &&
               SetFilePointerEx(file_, zero, nullptr, FILE_BEGIN) != FALSE;
    }

    bool write(const void* data, std::size_t length) override {
        return file_ != INVALID_HANDLE_VALUE &&
               writeAll(file_, static_cast<const char*>(data), length);
    }

    bool flush() override {
        return file_ != INVALID_HANDLE_VALUE && FlushFileBuffers(file_) != FALSE;
    }

    bool truncate() override { return seekToStart() && SetEndOfFile(file_) != FALSE; }

    bool close() override {
        if (file_ == INVALID_HANDLE_VALUE) return false;
        const bool ok = CloseHandle(file_) != FALSE;
        file_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE file_;
};

class Win32Files : public Files {
public:
    bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) override {
        entries.clear();
        if (!nameable(folder)) return false;
        const std::string pattern = withTrailingSeparator(folder) + "*.*";
        WIN32_FIND_DATAA data;
        HANDLE find = findFirstFile(pattern, data);
        if (find == INVALID_HANDLE_VALUE) {
            // An empty drive root has no "." and ".." entries: nothing found,
            // but the folder is there and was listed.
            return GetLastError() == ERROR_FILE_NOT_FOUND && folderExists(folder);
        }
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            entries.push_back(toEntry(data));
        } while (FindNextFileA(find, &data));
        const DWORD error = GetLastError();
        FindClose(find);
        return error == ERROR_NO_MORE_FILES;
    }

    // DeleteFile removes a file, or a link to a file as the link itself; a
    // folder, and a link to a folder, is refused. (Removing a folder link
    // would take RemoveDirectory, which under Wine removes the folder the
    // link points to.)
    bool deleteFile(const std::string& path) override {
        return nameable(path) && DeleteFileA(path.c_str()) != FALSE;
    }

    bool createFolder(const std::string& path) override {
        if (path.empty() || !nameable(path)) return false;
        if (folderExists(path)) return true;
        // Create every missing folder on the way, from the root down.
        for (std::size_t pos = rootLength(path); pos <= path.size(); ++pos) {
            if (pos < path.size() && !isSeparator(path[pos])) continue;
            const std::string prefix = path.substr(0, pos);
            if (prefix.empty() || isSeparator(prefix.back())) continue;
            if (!folderExists(prefix)) CreateDirectoryA(prefix.c_str(), nullptr);
        }
        return folderExists(path);
    }

    bool fileExists(const std::string& path) override {
        const DWORD attributes = attributesOf(path);
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool folderExists(const std::string& path) override {
        const DWORD attributes = attributesOf(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool readFile(const std::string& path, std::string& bytes) override {
        bytes.clear();
        if (!nameable(path)) return false;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        std::string content;
        char buffer[65536];
        bool ok = true;
        try {
            for (;;) {
                DWORD got = 0;
                if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
                    ok = false;
                    break;
                }
                if (got == 0) break;
                if (content.size() + got > kMaxReadFileSize) {
                    SetLastError(ERROR_FILE_TOO_LARGE);
                    ok = false;
                    break;
                }
                content.append(buffer, got);
            }
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            ok = false;
        }
        CloseHandle(file);
        if (ok) bytes.swap(content);
        return ok;
    }

    std::string storedText(std::string bytes) override { return StoredText(std::move(bytes)); }

    bool writeFileAtomic(const std::string& path, const std::string& bytes) override {
        return writeFileAtomicFrom(path, wholeOf(bytes));
    }

    bool writeFileAtomicFrom(const std::string& path, const ChunkSource& next) override {
        if (!nameable(path)) return false;
        // MoveFileEx refuses to replace a read-only file on Windows; Wine
        // running as root does not, so the rule is kept here.
        const DWORD existing = attributesOf(path);
        if (existing != INVALID_FILE_ATTRIBUTES &&
            (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
            return false;
        }
        std::string folder = folderOf(path);
        if (folder.empty()) folder = ".";
        // GetTempFileName creates a file of a unique name in the target's own
        // folder, so the final move never crosses a volume.
        char temp[MAX_PATH];
        if (GetTempFileNameA(folder.c_str(), "cnd", 0, temp) == 0) return false;
        HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            DeleteFileA(temp);
            return false;
        }
        bool ok = true;
        std::string_view chunk;
        while (ok && next(chunk)) ok = writeAll(file, chunk.data(), chunk.size());
        ok = ok && FlushFileBuffers(file);
        ok = CloseHandle(file) && ok;
        ok = ok &&
             MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) DeleteFileA(temp);
        return ok;
    }

    bool fileSize(const std::string& path, std::uint64_t& size) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!nameable(path)) return false;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
        size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return true;
    }

    bool renameFile(const std::string& from, const std::string& to) override {
        if (!nameable(from) || !nameable(to) || !MoveFileA(from.c_str(), to.c_str())) return false;
        if (from == to || lstrcmpiA(from.c_str(), to.c_str()) != 0) return true;
        // A change of case only. Windows renames in place; Wine finds the old
        // name under the new spelling and leaves it as it was, so the name is
        // then changed by way of a unique temporary name.
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(to.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return true;
        FindClose(find);
        const std::string wanted = to.substr(to.find_last_of("\\/:") + 1);
        if (wanted == data.cFileName) return true;
        char temp[MAX_PATH];
        std::string folder = folderOf(to);
        if (folder.empty()) folder = ".";
        if (GetTempFileNameA(folder.c_str(), "cnd", 0, temp) == 0) return false;
        DeleteFileA(temp);
        if (!MoveFileA(from.c_str(), temp)) return false;
        if (MoveFileA(temp, to.c_str())) return true;
        MoveFileA(temp, from.c_str());
        return false;
    }

    std::unique_ptr<OverwriteFile> openForOverwrite(const std::string& path) override {
        if (!nameable(path)) return nullptr;
        // Others may read the file meanwhile, but neither write nor delete it.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE) return nullptr;
        BY_HANDLE_FILE_INFORMATION info;
        // Only a plain, writable file with a single name is overwritten: a
        // link's target, or the content another hard link still names, is
        // not ours to destroy. (Windows already refuses to open a read-only
        // file for writing; Wine running as root does not.)
        const DWORD refused =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
        const bool known = GetFileInformationByHandle(file, &info) != FALSE;
        const bool plainFile =
            known && !(info.dwFileAttributes & refused) && info.nNumberOfLinks <= 1;
        if (!plainFile) {
            // A refusal of our own is a denial; a failed query keeps its reason.
            const DWORD error = known ? ERROR_ACCESS_DENIED : GetLastError();
            CloseHandle(file);
            SetLastError(error);
            return nullptr;
        }
        return std::make_unique<Win32OverwriteFile>(file);
    }

    std::string lastErrorText() override {
        const DWORD error = GetLastError();
        if (error == ERROR_SUCCESS) return std::string();
        char buffer[512];
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, buffer, sizeof buffer, nullptr);
        if (length == 0) return "Error " + std::to_string(error);
        while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' ||
                              buffer[length - 1] == ' ' || buffer[length - 1] == '.'))
            --length;
        return std::string(buffer, length);
    }

    std::uint32_t logicalDrives() override { return GetLogicalDrives(); }

    std::uint32_t driveType(const std::string& root) override {
        return GetDriveTypeA(root.c_str());
    }

    std::string windowsFolder() override {
        std::vector<char> buffer(MAX_PATH + 1);
        UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length >= buffer.size()) {
            buffer.resize(length + 1);
            length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
        }
        if (length == 0 || length >= buffer.size()) return std::string();
        return std::string(buffer.data(), length);
    }

    std::string tempPath() override {
        std::vector<char> buffer(MAX_PATH + 1);
        DWORD length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length >= buffer.size()) {
            buffer.resize(length + 1);
            length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
        }
        if (length == 0 || length >= buffer.size()) return std::string();
        return withTrailingSeparator(std::string(buffer.data(), length));
    }

    std::string toWindowsPath(const std::string& hostPath) const override { return hostPath; }
};

}  // namespace

std::unique_ptr<Files> createFiles() { return std::make_unique<Win32Files>(); }

}  // namespace cindral::platform::win32
