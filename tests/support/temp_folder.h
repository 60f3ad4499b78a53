// A fresh host folder below the system's temporary folder, removed with
// everything in it when it goes (POSIX only). Links are removed as
// themselves, never followed; folders a test made unreadable are opened up
// first.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace cindral::test {

class TempFolder {
public:
    TempFolder() {
        std::error_code ec;
        path_ = std::filesystem::canonical(std::filesystem::temp_directory_path(ec), ec).string();
        path_ += "/cindral-test-XXXXXX";
        if (ec || !::mkdtemp(path_.data())) std::abort();  // no safe place for any test
    }
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code ec;
        ::chmod(path_.c_str(), 0700);
        for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end;
             it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0700);
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace cindral::test
