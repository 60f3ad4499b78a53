// The winapp2.ini importer over any file: every plug-in it writes passes the
// checker and reads back as the entries it converted.
#include <cstdlib>

#include "engine/plugin_file.h"
#include "engine/plugin_lint.h"
#include "engine/winapp2_import.h"
#include "fuzz_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral;
    static auto posix = fuzz::makePlatform();
    platform::Platform& p = posix->platform();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const engine::ImportedPlugin& plugin : engine::ImportWinapp2(bytes, "w.ini", p).plugins) {
        const std::string written = engine::FormatPluginFile(plugin.doc);
        if (!engine::LintPluginText(written, p).empty()) std::abort();
        const engine::PluginDocument read = engine::ReadPluginDocument(written);
        if (read.registry != plugin.doc.registry || read.files != plugin.doc.files) std::abort();
    }
    return 0;
}
