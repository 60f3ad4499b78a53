#include "settings/system_shutdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_session_end.h"

namespace cindral::settings {
namespace {

using Calls = std::vector<std::string>;

TEST(SystemShutdown, EachFamilyAsksItsOwnWayAndAFailedStepEndsTheRoutine) {
    const std::string shutdown = "SeShutdownPrivilege on ''";
    const std::string remote = "SeRemoteShutdownPrivilege on ''";
    struct Case {
        std::uint32_t platformId;
        std::string machine;
        bool force, restart;
        std::string unknownPrivilege;
        bool agrees;
        Calls calls;
        bool result;
    };
    const Case cases[] = {
        {platform::kPlatformWin9x, "", false, false, "", true, {"ExitWindowsEx 1"}, true},
        {platform::kPlatformWin9x, "", false, true, "", false, {"ExitWindowsEx 3"}, false},
        {platform::kPlatformWin9x, "", true, true, "", true, {"ExitWindowsEx 7"}, true},
        {platform::kPlatformWin9x, "PC2", false, false, "", true, {}, false},
        {platform::kPlatformNt,
         "",
         false,
         false,
         "",
         true,
         {shutdown, remote, "InitiateSystemShutdown '' force 0 restart 0"},
         true},
        {platform::kPlatformNt,
         "PC2",
         true,
         true,
         "",
         false,
         {"SeShutdownPrivilege on 'PC2'", "SeRemoteShutdownPrivilege on 'PC2'",
          "InitiateSystemShutdown 'PC2' force 1 restart 1"},
         false},
        {platform::kPlatformNt, "", false, true, "SeShutdownPrivilege", true, {shutdown}, false},
        {platform::kPlatformNt,
         "",
         false,
         true,
         "SeRemoteShutdownPrivilege",
         true,
         {shutdown, remote},
         false},
    };
    for (const Case& c : cases) {
        test::RecordingSessionEnd session;
        session.unknownPrivilege = c.unknownPrivilege;
        session.agrees = c.agrees;
        platform::SystemVersion version;
        version.platformId = c.platformId;
        EXPECT_EQ(SystemShutdown(session, version, c.machine, c.force, c.restart), c.result)
            << c.platformId << " " << c.machine << " " << c.unknownPrivilege;
        EXPECT_EQ(session.calls, c.calls);
    }
}

}  // namespace
}  // namespace cindral::settings
