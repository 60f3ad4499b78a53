// The session end as a recorder: every call the shutdown routine makes, in
// order, and nothing ever ended.
#pragma once

#include <string>
#include <vector>

#include "platform/session_end.h"

namespace cindral::test {

class RecordingSessionEnd : public platform::SessionEnd {
public:
    std::vector<std::string> calls;
    std::string unknownPrivilege;  // its look-up fails
    bool agrees = true;            // the answer of the calls that end the session

    bool exitWindows(std::uint32_t flags) override {
        calls.push_back("ExitWindowsEx " + std::to_string(flags));
        return agrees;
    }
    bool enablePrivilege(const std::string& machine, const std::string& name) override {
        calls.push_back(name + " on '" + machine + "'");
        return name != unknownPrivilege;
    }
    bool initiateShutdown(const std::string& machine, bool force, bool restart) override {
        calls.push_back("InitiateSystemShutdown '" + machine + "' force " + std::to_string(force) +
                        " restart " + std::to_string(restart));
        return agrees;
    }
};

}  // namespace cindral::test
