#include "platform/posix/open_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/posix/file_descriptor.h"

namespace cindral::platform {

namespace {

bool isProcessId(const char* name) {
    if (!*name) return false;
    for (const char* c = name; *c; ++c)
        if (*c < '0' || *c > '9') return false;
    return true;
}

}  // namespace

void OpenFiles::scan() {
    open_.clear();
    DIR* proc = ::opendir("/proc");
    if (!proc) return;
    const std::string self = std::to_string(::getpid());
    while (dirent* p = ::readdir(proc)) {
        if (!isProcessId(p->d_name) || self == p->d_name) continue;
        const std::string fdFolder = std::string("/proc/") + p->d_name + "/fd";
        // Another user's processes cannot be looked at: they are passed over.
        DIR* fds = ::opendir(fdFolder.c_str());
        if (!fds) continue;
        while (dirent* f = ::readdir(fds)) {
            if (!isProcessId(f->d_name)) continue;
            struct stat st;
            // Following the entry's link gives the status of what is open.
            if (::fstatat(::dirfd(fds), f->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
                open_.insert(
                    {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
        }
        ::closedir(fds);
    }
    ::closedir(proc);
}

bool OpenFiles::heldByOthers(dev_t dev, ino_t ino) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Key file{static_cast<std::uint64_t>(dev), static_cast<std::uint64_t>(ino)};
    const auto now = std::chrono::steady_clock::now();
    bool fresh = false;
    if (!scanned_ || now - taken_ > std::chrono::seconds(1)) {
        scan();
        scanned_ = true;
        taken_ = now;
        fresh = true;
    }
    if (open_.count(file) == 0) return false;
    if (fresh) return true;
    scan();  // the program may have closed it since the last look
    taken_ = now;
    return open_.count(file) != 0;
}

}  // namespace cindral::platform
