// Times the engine's own file work on a host folder, for run_benchmarks.sh:
//   engine_bench walk HOSTDIR   test run of "HOSTDIR\*.tmp?" (counts only)
//   engine_bench clean HOSTDIR  clean run of the same template (deletes)
//   engine_bench wipe HOSTFILE...   WipeFile, method 1, one pass, each file
//   engine_bench wipe3 HOSTFILE...  WipeFile, method 3 (zero, 0xFF, random)
// (the files of one call lie in one folder)
// The host folder's parent is mapped as drive C: of the Linux backend.
// Prints the elapsed seconds of the engine call and what it counted.
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/engine_context.h"
#include "engine/file_remover.h"
#include "engine/path_template.h"
#include "platform/posix/posix_platform.h"

using namespace cindral;

namespace {

class DiscardingView : public engine::LogView {
public:
    std::size_t lines = 0;
    void addLine(const std::string&) override { ++lines; }
    void replaceLastLine(const std::string&) override {}
    void deleteLastLine() override {}
};

int usage() {
    std::fprintf(stderr, "usage: engine_bench walk|clean HOSTDIR | wipe|wipe3 HOSTFILE...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string mode = argv[1];
    std::string host = argv[2];
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    const auto slash = host.rfind('/');
    if (host.empty() || host[0] != '/' || slash == std::string::npos) return usage();
    const std::string parent = slash == 0 ? "/" : host.substr(0, slash);
    const std::string leaf = host.substr(slash + 1);

    char scratch[] = "/tmp/engine-bench-XXXXXX";
    if (!mkdtemp(scratch)) return 1;
    platform::PosixConfig config;
    config.drives = {{'C', parent, platform::kDriveFixed}};
    config.registryFile = std::string(scratch) + "/registry.reg";
    config.tempFolder = scratch;
    platform::PosixPlatform posix(config);
    platform::Platform& p = posix.platform();
    engine::RunState run;
    DiscardingView view;
    engine::EngineContext ctx{p, run, view, {}};

    const std::string windowsPath = "C:\\" + leaf;
    const auto start = std::chrono::steady_clock::now();
    bool ok = true;
    if (mode == "walk" || mode == "clean") {
        run.Erase = mode == "clean";
        run.LinePrefix = run.Erase ? "" : "Test Mode: ";
        engine::CleanPathTemplate(ctx, windowsPath + "\\*.tmp?");
    } else if (mode == "wipe" || mode == "wipe3") {
        const std::uint32_t method =
            mode == "wipe" ? engine::kWipeZero : engine::kWipeZeroReverseRandom;
        for (int i = 2; i < argc; ++i) {
            const std::string name = std::string(argv[i]).substr(slash + 1);
            ok = engine::WipeFile(*p.files, "C:\\" + name, 1, method) && ok;
        }
    } else {
        return usage();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %lld files %lld bytes %zu lines%s\n", seconds,
                static_cast<long long>(run.counters.JunkFileCount),
                static_cast<long long>(run.counters.JunkByteCount), view.lines,
                ok ? "" : " FAILED");
    std::remove(config.registryFile.c_str());
    rmdir(scratch);
    return ok ? 0 : 1;
}
