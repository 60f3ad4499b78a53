#include "settings/outside_entries.h"

#include <gtest/gtest.h>

#include "settings/scratch_registry.h"

namespace cindral::settings {
namespace {

using platform::RegValue;
using test::ScratchRegistry;

std::string sz(const std::string& text) { return text + std::string(1, '\0'); }

TEST(StartWithWindows, PathIsQuotedAnEmptyPathWritesNothingAndOtherRunEntriesStay) {
    ScratchRegistry reg;
    EXPECT_FALSE(writeStartWithWindows(reg, ""));
    EXPECT_FALSE(startWithWindowsExists(reg));  // no Run key at all
    reg.put(kRunKeyPath, "Other", platform::kRegSz, sz("other.exe"));
    ASSERT_TRUE(writeStartWithWindows(reg, "C:\\Program Files\\Cindral\\cindral.exe"));
    RegValue v;
    ASSERT_TRUE(readStartWithWindows(reg, v));
    EXPECT_EQ(v.type, platform::kRegSz);
    EXPECT_EQ(v.data, sz("\"C:\\Program Files\\Cindral\\cindral.exe\" -m -s"));

    ASSERT_TRUE(deleteStartWithWindows(reg));
    EXPECT_FALSE(startWithWindowsExists(reg));
    EXPECT_TRUE(deleteStartWithWindows(reg));  // already absent
    reg.put(kRunKeyPath, "cindral", platform::kRegDword, std::string(4, '\1'));
    EXPECT_TRUE(startWithWindowsExists(reg));  // whatever the value holds
    ASSERT_TRUE(reg.get(kRunKeyPath, "Other", v));
    EXPECT_EQ(v.data, sz("other.exe"));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(OutsideEntries, FailuresAreReportedAndKeepTheOldValue) {
    ScratchRegistry reg;
    ASSERT_TRUE(writeStartWithWindows(reg, "C:\\c.exe"));
    reg.failWrites = true;
    EXPECT_FALSE(writeStartWithWindows(reg, "C:\\d.exe"));
    EXPECT_FALSE(deleteStartWithWindows(reg));
    EXPECT_FALSE(writeStartPage(reg, "about:blank"));
    RegValue v;
    ASSERT_TRUE(readStartWithWindows(reg, v));
    EXPECT_EQ(v.data, sz("\"C:\\c.exe\" -m -s"));
    reg.failCreate = true;
    EXPECT_FALSE(writeStartWithWindows(reg, "C:\\d.exe"));
    EXPECT_FALSE(deleteStartWithWindows(reg));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(StartPage, WrittenExactlyEvenWhenEmpty) {
    ScratchRegistry reg;
    RegValue v;
    EXPECT_FALSE(readStartPage(reg, v));
    for (const std::string page : {"http://example.test/ x", ""}) {
        ASSERT_TRUE(writeStartPage(reg, page));
        ASSERT_TRUE(readStartPage(reg, v));
        EXPECT_EQ(v.type, platform::kRegSz);
        EXPECT_EQ(v.data, sz(page));
    }
    EXPECT_EQ(reg.openHandles(), 0u);
}

}  // namespace
}  // namespace cindral::settings
