// The system with the program's file put elsewhere, so that the program's
// home folder (the folder that holds it) is one the caller chose.
#pragma once

#include <string>
#include <utility>

#include "platform/system.h"
#include "support/forwarding_system.h"

namespace cindral::shell::test {

class HomeSystem : public cindral::test::ForwardingSystem {
public:
    HomeSystem(platform::System& real, std::string exe)
        : ForwardingSystem(real), exe_(std::move(exe)) {}
    std::string executablePath() override { return exe_; }

private:
    std::string exe_;
};

}  // namespace cindral::shell::test
