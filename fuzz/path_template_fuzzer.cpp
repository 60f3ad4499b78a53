// Path templates: the first line is the template, the next ones the folders
// the macros insert; the template is expanded and walked in a test run over
// the scratch folder.
#include <cstdlib>

#include "engine/path_macros.h"
#include "engine/path_template.h"
#include "fuzz_platform.h"
#include "platform/shell_folders.h"

namespace {

class GivenFolders : public cindral::platform::ShellFolders {
public:
    std::vector<std::string> folders;
    std::string specialFolder(int csidl) override {
        return folders[static_cast<std::size_t>(csidl) % folders.size()];
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral;
    static auto posix = fuzz::makePlatform();
    const auto parts = fuzz::splitInput(data, size, 4);
    GivenFolders given;
    given.folders.assign(parts.begin() + 1, parts.end());
    platform::Platform p = posix->platform();
    p.shellFolders = &given;
    const engine::ExpandedPath expanded = engine::ExpandPathTemplate(p, parts[0]);
    if (expanded.inserted.size() != expanded.text.size()) std::abort();
    fuzz::TestRun run(p);
    engine::CleanPathTemplate(run.ctx, parts[0]);
    return 0;
}
