// Line files under each reader's rules. The run's lines, written back with
// CR LF, read back the same (unless the first one starts with a second
// byte-order mark, which the reading skips).
#include <cstdlib>

#include "fuzz_platform.h"
#include "selection/line_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral::selection;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    splitLines(bytes, LineRules::Dialog);
    splitLines(bytes, LineRules::Keeper);
    const auto lines = splitLines(bytes, LineRules::Run);
    std::string written;
    for (const auto& line : lines) {
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) std::abort();
        written += line + "\r\n";
    }
    const bool secondMark = !lines.empty() && lines[0].compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (!secondMark && splitLines(written, LineRules::Run) != lines) std::abort();
    return 0;
}
