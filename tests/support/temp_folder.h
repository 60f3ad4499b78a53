// A fresh host folder below the system's temporary folder, removed with
// everything in it when it goes (POSIX only). Links are removed as
// themselves, never followed; folders a test made unreadable are opened up
// first. Beside it, the few host-file helpers the posix tests share.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// The bytes of a host file, or "<missing>".
inline std::string readHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}
inline bool writeHostFile(const std::string& path, const std::string& bytes) {
    return bool(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes);
}
// Whether anything, a link too, stands at the host path.
inline bool hostExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}
// The names in a host folder, sorted.
inline std::vector<std::string> hostNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace cindral::test
