// The plug-in checker over any file, and the document a tool writes back:
// what a run reads from the bytes written for a plug-in is what the plug-in
// said, so an editor or importer that saves a document changes nothing a
// run does.
#include <cstdlib>

#include "engine/plugin_file.h"
#include "engine/plugin_lint.h"
#include "fuzz_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral;
    static auto posix = fuzz::makePlatform();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    engine::LintPluginText(bytes, posix->platform());
    // A NUL ends a value as it ends a C string, keeping the blanks before it,
    // which no written line can say: such files are only read, not compared.
    if (bytes.find('\0') != std::string::npos) return 0;
    const engine::PluginDocument doc = engine::ReadPluginDocument(bytes);
    const engine::PluginDocument again = engine::ReadPluginDocument(engine::FormatPluginFile(doc));
    if (again.title != doc.title || again.author != doc.author || again.registry != doc.registry ||
        again.files != doc.files)
        std::abort();
    return 0;
}
