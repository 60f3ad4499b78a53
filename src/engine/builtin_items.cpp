#include "engine/builtin_items.h"

namespace cindral::engine {

BuiltInItem builtInItemAt(int position) {
    BuiltInItem item;
    if (position < 1 || position > kBuiltInItemCount) return item;
    const char* text = BuiltInItems[position - 1];
    item.position = position;
    item.digit = text[0] - '0';
    item.name = text + 1;
    return item;
}

std::vector<BuiltInItem> enumerateBuiltInItems() {
    std::vector<BuiltInItem> items;
    items.reserve(kBuiltInItemCount);
    for (int position = 1; position <= kBuiltInItemCount; ++position)
        items.push_back(builtInItemAt(position));
    return items;
}

int FindBuiltInItem(const std::string& name) {
    for (int position = 1; position <= kBuiltInItemCount; ++position) {
        if (name == BuiltInItems[position - 1] + 1) return position;
    }
    return 0;
}

}  // namespace cindral::engine
