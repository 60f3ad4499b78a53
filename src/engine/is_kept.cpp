#include "engine/is_kept.h"

namespace cindral::engine {

bool IsKept(const KeeperList* list, const std::string& text, platform::System& sys) {
    if (!list || list->empty()) return false;
    const std::string wanted = sys.lowerCase(text);
    for (const std::string& entry : *list) {
        // Cheap length test first: lower-casing never changes a text's length.
        if (entry.size() == wanted.size() && sys.lowerCase(entry) == wanted) return true;
    }
    return false;
}

}  // namespace cindral::engine
