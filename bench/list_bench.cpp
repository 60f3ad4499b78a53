// The folder listing call timed apart, under Wine or Windows: the whole tree
// below FOLDER walked with the plain FindFirstFileA and with the call the
// program uses (findFirstFile: FindFirstFileExA with the basic information
// level and large fetch), in alternating rounds so both meet the same load.
//
// usage: list_bench.exe FOLDER [ROUNDS]
// Prints each round, then "list_plain_seconds S", "list_ex_seconds S" (the
// medians) and the entries one walk found.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/find_first_win32.h"

namespace {

using FindFirst = HANDLE (*)(const std::string&, WIN32_FIND_DATAA&);

HANDLE plain(const std::string& pattern, WIN32_FIND_DATAA& data) {
    return FindFirstFileA(pattern.c_str(), &data);
}

// Breadth first, as the program's walker goes; returns the entries seen.
long walk(const std::string& root, FindFirst findFirst) {
    long entries = 0;
    std::vector<std::string> queue{root};
    while (!queue.empty()) {
        const std::string folder = std::move(queue.back());
        queue.pop_back();
        WIN32_FIND_DATAA data;
        HANDLE find = findFirst(folder + "*.*", data);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            ++entries;
            const DWORD a = data.dwFileAttributes;
            if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT))
                queue.push_back(folder + name + "\\");
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return entries;
}

double timed(const std::string& root, FindFirst findFirst, long& entries) {
    const auto start = std::chrono::steady_clock::now();
    entries = walk(root, findFirst);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: list_bench.exe FOLDER [ROUNDS]\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '\\') root += '\\';
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    long entries = 0, check = 0;
    timed(root, plain, entries);  // warm the caches
    std::vector<double> plainTimes, exTimes;
    for (int i = 0; i < rounds; ++i) {
        plainTimes.push_back(timed(root, plain, entries));
        exTimes.push_back(timed(root, cindral::platform::win32::findFirstFile, check));
        std::printf("round %d: plain %.3f s  ex %.3f s\n", i + 1, plainTimes.back(),
                    exTimes.back());
        if (check != entries) {
            std::printf("the two walks differ: %ld and %ld entries\n", entries, check);
            return 1;
        }
    }
    std::printf("list_plain_seconds %.3f\nlist_ex_seconds %.3f\nentries %ld\n", median(plainTimes),
                median(exTimes), entries);
    return 0;
}
