// A System that hands every call to another one; test doubles derive from
// it and override only what they change (the clock, the executable path...).
#pragma once

#include <string>

#include "platform/system.h"

namespace cindral::test {

class ForwardingSystem : public platform::System {
public:
    explicit ForwardingSystem(platform::System& inner) : inner_(inner) {}
    platform::SystemTime localTime() override { return inner_.localTime(); }
    platform::SystemVersion version() override { return inner_.version(); }
    std::string executablePath() override { return inner_.executablePath(); }
    std::string upperCase(const std::string& t) override { return inner_.upperCase(t); }
    std::string lowerCase(const std::string& t) override { return inner_.lowerCase(t); }
    int compareNoCase(const std::string& a, const std::string& b) override {
        return inner_.compareNoCase(a, b);
    }
    std::string decimalSeparator() override { return inner_.decimalSeparator(); }

protected:
    platform::System& inner_;
};

}  // namespace cindral::test
