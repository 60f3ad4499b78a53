// Linux has no keyboard layout the program could ask in Windows terms; the
// US names serve.
#include "platform/key_names.h"

namespace cindral::platform {

namespace {

class UsLayout : public KeyNames {
public:
    std::string name(std::uint8_t virtualKey) const override {
        return usKeyNames().name(virtualKey);
    }
};

}  // namespace

std::unique_ptr<KeyNames> createLayoutKeyNames() { return std::make_unique<UsLayout>(); }

}  // namespace cindral::platform
