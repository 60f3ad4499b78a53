// Shortcut texts: a text that reads as a shortcut is written back as a text
// that reads as the same shortcut.
#include <cstdlib>

#include "fuzz_platform.h"
#include "settings/shortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral::settings;
    Shortcut shortcut;
    if (!textToShortcut(std::string(reinterpret_cast<const char*>(data), size), shortcut)) return 0;
    const std::string text = shortcutToText(shortcut);
    Shortcut again;
    if (!text.empty() && (!textToShortcut(text, again) || again != shortcut)) std::abort();
    return 0;
}
