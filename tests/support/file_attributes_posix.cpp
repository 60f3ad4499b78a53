#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/files_posix.h"
#include "support/file_attributes.h"

namespace cindral::test {
namespace {

bool hostPathOf(Sandbox& sandbox, const std::string& windowsPath, std::string& host) {
    auto* files = dynamic_cast<platform::PosixFiles*>(sandbox.platform().files);
    return files != nullptr && files->toHostPath(windowsPath, host);
}

}  // namespace

bool setReadOnly(Sandbox& sandbox, const std::string& windowsPath, bool readOnly) {
    std::string host;
    struct stat st;
    if (!hostPathOf(sandbox, windowsPath, host) || ::lstat(host.c_str(), &st) != 0) return false;
    const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = readOnly ? (st.st_mode & ~writable) : (st.st_mode | S_IWUSR);
    return ::chmod(host.c_str(), mode & 07777) == 0;
}

bool makeSizedFile(Sandbox& sandbox, const std::string& windowsPath, std::uint64_t size) {
    std::string host;
    if (!hostPathOf(sandbox, windowsPath, host)) return false;
    int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

}  // namespace cindral::test
