// File masks: the first line is the mask, the rest a name to match.
#include "engine/file_mask.h"
#include "fuzz_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral::engine;
    const auto parts = cindral::fuzz::splitInput(data, size, 2);
    static const CaseFold fold;
    const FileMask mask(parts[0], fold);
    mask.matches(parts[1]);
    return 0;
}
