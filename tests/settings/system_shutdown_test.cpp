#include "settings/system_shutdown.h"

#include <gtest/gtest.h>

#include <string>

#include "support/recording_session_end.h"

namespace cindral::settings {
namespace {

TEST(SystemShutdown, EachFamilyAsksItsOwnWayAndAFailedStepEndsTheRoutine) {
    constexpr auto k9x = platform::kPlatformWin9x;
    constexpr auto kNt = platform::kPlatformNt;
    struct Case {
        std::uint32_t platformId;
        const char* machine;
        bool force, restart;
        const char* unknownPrivilege;
        bool asks;          // the last call asks for the session to end
        const char* calls;  // joined by "; "
    };
    const Case cases[] = {
        {k9x, "", false, true, "", true, "ExitWindowsEx 3"},
        {k9x, "", true, true, "", true, "ExitWindowsEx 7"},
        {k9x, "PC2", false, false, "", false, ""},
        {kNt, "", false, false, "", true,
         "SeShutdownPrivilege on ''; SeRemoteShutdownPrivilege on ''; "
         "InitiateSystemShutdown '' force 0 restart 0"},
        {kNt, "PC2", true, true, "", true,
         "SeShutdownPrivilege on 'PC2'; SeRemoteShutdownPrivilege on 'PC2'; "
         "InitiateSystemShutdown 'PC2' force 1 restart 1"},
        {kNt, "", false, true, "SeShutdownPrivilege", false, "SeShutdownPrivilege on ''"},
        {kNt, "", false, true, "SeRemoteShutdownPrivilege", false,
         "SeShutdownPrivilege on ''; SeRemoteShutdownPrivilege on ''"},
    };
    for (const Case& c : cases) {
        for (bool agrees : {true, false}) {
            test::RecordingSessionEnd session;
            session.unknownPrivilege = c.unknownPrivilege;
            session.agrees = agrees;
            platform::SystemVersion version;
            version.platformId = c.platformId;
            EXPECT_EQ(SystemShutdown(session, version, c.machine, c.force, c.restart),
                      c.asks && agrees)
                << c.calls;
            std::string calls;
            for (const std::string& call : session.calls)
                calls += (calls.empty() ? "" : "; ") + call;
            EXPECT_EQ(calls, c.calls);
        }
    }
}

}  // namespace
}  // namespace cindral::settings
