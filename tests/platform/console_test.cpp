#include "platform/console.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace cindral::platform {
namespace {

#ifdef _WIN32
const char* const kNullDevice = "NUL";
#else
const char* const kNullDevice = "/dev/null";
#endif

// Output to a file or to the null device is buffered and draws no progress
// line: neither is a console, although on Windows the C runtime's _isatty
// takes the null device (a character device) for one.
TEST(Console, NeitherAFileNorTheNullDeviceIsAConsole) {
    for (std::FILE* f : {std::fopen(kNullDevice, "w"), std::tmpfile()}) {
        ASSERT_NE(f, nullptr);
        EXPECT_FALSE(IsConsole(fileno(f)));
        std::fclose(f);
    }
    EXPECT_FALSE(IsConsole(-1));
}

}  // namespace
}  // namespace cindral::platform
