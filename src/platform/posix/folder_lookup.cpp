#include "platform/posix/folder_lookup.h"

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "platform/ascii_case.h"

namespace cindral::platform {
namespace {

bool equalNoCase(const char* a, const std::string& b) {
    std::size_t i = 0;
    for (; a[i] != '\0'; ++i) {
        if (i >= b.size() || asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return i == b.size();
}

bool findExactOrNoCase(int dir, const std::string& name, std::string& actual, struct stat& st) {
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        actual = name;
        return true;
    }
    if (errno != ENOENT) return false;
    DirStream entries = readEntries(reopenForReading(dir));
    if (!entries) return false;
    bool found = false;
    while (dirent* e = ::readdir(entries.get())) {
        if (isDotOrDotDot(e->d_name) || !equalNoCase(e->d_name, name)) continue;
        if (!found || std::strcmp(e->d_name, actual.c_str()) < 0) actual = e->d_name;
        found = true;
    }
    entries.reset();
    if (found && ::fstatat(dir, actual.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return true;
    errno = ENOENT;
    return false;
}

}  // namespace

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

UniqueFd reopenForReading(int dir) {
    return UniqueFd(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool findEntry(int dir, const std::string& name, const std::string& trimmed, std::string& actual,
               struct stat& st) {
    if (findExactOrNoCase(dir, name, actual, st)) return true;
    if (errno != ENOENT || trimmed == name || trimmed.empty()) return false;
    return findExactOrNoCase(dir, trimmed, actual, st);
}

UniqueFd openSubfolder(int dir, const std::string& name, const std::string& trimmed) {
    constexpr int kFlags = O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    UniqueFd fd(::openat(dir, name.c_str(), O_RDONLY | kFlags));
    if (!fd && errno == EACCES) fd.reset(::openat(dir, name.c_str(), O_PATH | kFlags));
    if (fd || errno != ENOENT) return fd;
    std::string actual;
    struct stat st;
    if (!findEntry(dir, name, trimmed, actual, st)) {
        errno = ENOENT;
        return UniqueFd();
    }
    if (!S_ISDIR(st.st_mode) || actual == name) {
        errno = ENOTDIR;
        return UniqueFd();
    }
    return openSubfolder(dir, actual, actual);
}

}  // namespace cindral::platform
