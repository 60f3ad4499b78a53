// The REGEDIT4 store: parsed, written out again and parsed back, which must
// give the same keys and values.
#include "platform/posix/regedit4_file.h"

#include <cstdlib>

#include "fuzz_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral::platform::regedit4;
    const Document doc = parse(std::string(reinterpret_cast<const char*>(data), size));
    std::string text = fileHeader();
    for (const Key& key : doc.keys) {
        text += sectionLine(key.root, key.path);
        for (const Value& value : key.values) text += valueLines(value);
        text += "\r\n";
    }
    const Document again = parse(text);
    if (!again.problems.empty() || again.keys.size() != doc.keys.size()) std::abort();
    for (std::size_t k = 0; k < doc.keys.size(); ++k) {
        const Key& a = doc.keys[k];
        const Key& b = again.keys[k];
        if (a.root != b.root || a.path != b.path || a.values.size() != b.values.size())
            std::abort();
        for (std::size_t v = 0; v < a.values.size(); ++v) {
            const Value& x = a.values[v];
            const Value& y = b.values[v];
            if (x.name != y.name || x.type != y.type || x.data != y.data) std::abort();
        }
    }
    return 0;
}
