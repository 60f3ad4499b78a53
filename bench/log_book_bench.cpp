// The log book under a million lines: adding them with recording on, then
// saving "logs.txt". Reference in the same run: the plain design that keeps
// the view and the buffer as two vectors of strings.
//
// usage: log_book_bench book|naive WORK_DIR [LINES]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/log_book.h"
#include "platform/posix/files_posix.h"

using namespace cindral;

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long peakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// 80 characters, different for every line, like a log line with a path.
void makeLine(std::string& line, long i) {
    char head[64];
    std::snprintf(head, sizeof head, "Removing File: C:\\Temp\\f%08ld.tmp <OK> ", i);
    line = head;
    line.resize(80, 'x');
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s book|naive WORK_DIR [LINES]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const long lines = argc > 3 ? std::atol(argv[3]) : 1000000;

    platform::PosixFilesConfig config;
    config.drives = {{'C', argv[2], platform::kDriveFixed}};
    platform::PosixFiles files(config);
    const std::string logPath = "C:\\logs.txt";
    files.deleteFile(logPath);

    const long baseKiB = peakKiB();
    std::string line;
    double addSeconds = 0, saveSeconds = 0;
    bool saved = false;
    if (mode == "book") {
        app::LogBook book(files, logPath);
        book.setRecording(true);
        book.createBufferFromFile();
        auto t = std::chrono::steady_clock::now();
        for (long i = 0; i < lines; ++i) {
            makeLine(line, i);
            book.addLine(line);
        }
        addSeconds = seconds(t);
        t = std::chrono::steady_clock::now();
        saved = book.saveBuffer();
        saveSeconds = seconds(t);
    } else {
        std::vector<std::string> view, buffer;
        auto t = std::chrono::steady_clock::now();
        for (long i = 0; i < lines; ++i) {
            makeLine(line, i);
            view.push_back(line);
            buffer.push_back(line);
        }
        addSeconds = seconds(t);
        t = std::chrono::steady_clock::now();
        std::string bytes;
        for (const auto& l : buffer) bytes += l + "\r\n";
        saved = files.writeFileAtomic(logPath, bytes);
        saveSeconds = seconds(t);
    }
    std::uint64_t fileBytes = 0;
    files.fileSize(logPath, fileBytes);
    const double textBytes = double(lines) * 80;
    const long peak = peakKiB();
    std::printf(
        "%-5s lines %ld  add %.3fs  save %.3fs (%s, %llu bytes)  peak RSS %.1f MiB "
        "(%.1f MiB above start)  peak/text %.2f\n",
        mode.c_str(), lines, addSeconds, saveSeconds, saved ? "saved" : "SAVE FAILED",
        static_cast<unsigned long long>(fileBytes), peak / 1024.0, (peak - baseKiB) / 1024.0,
        peak * 1024.0 / textBytes);
    files.deleteFile(logPath);
    return saved ? 0 : 1;
}
