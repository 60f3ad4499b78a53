// A plug-in file as the profile reader reads it: title, author and a test
// run of its registry entries and path templates.
#include "engine/plugin_runner.h"
#include "fuzz_platform.h"
#include "selection/plugin_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral;
    static auto posix = fuzz::makePlatform();
    platform::Platform& p = posix->platform();
    if (!fuzz::writeScratchFile("p.cnp", std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    const std::string path = fuzz::windowsPath("p.cnp");
    selection::ReadPluginTitle(*p.profiles, path, "p.cnp");
    selection::ReadPluginAuthor(*p.profiles, path);
    fuzz::TestRun run(p);
    engine::RunPlugin(run.ctx, path);
    return 0;
}
