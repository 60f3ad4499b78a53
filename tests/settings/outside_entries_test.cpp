#include "settings/outside_entries.h"

#include <gtest/gtest.h>

#include "settings/memory_registry.h"

namespace cindral::settings {
namespace {

using platform::RegValue;
using test::MemoryRegistry;

const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";

std::string sz(const std::string& text) { return text + std::string(1, '\0'); }

TEST(StartWithWindows, PathWithBlanksIsQuoted) {
    MemoryRegistry reg;
    ASSERT_TRUE(writeStartWithWindows(reg, "C:\\Program Files\\Cindral\\cindral.exe"));
    RegValue v;
    ASSERT_TRUE(reg.get(kRun, "Cindral", v));
    EXPECT_EQ(v.type, platform::kRegSz);
    EXPECT_EQ(v.data, sz("\"C:\\Program Files\\Cindral\\cindral.exe\" -m -s"));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(StartWithWindows, ValueLeavesOtherRunEntriesAlone) {
    MemoryRegistry reg;
    reg.put(kRun, "Other", platform::kRegSz, sz("other.exe"));
    ASSERT_TRUE(writeStartWithWindows(reg, "D:\\c.exe"));
    ASSERT_TRUE(deleteStartWithWindows(reg));
    RegValue v;
    EXPECT_FALSE(reg.get(kRun, "Cindral", v));
    ASSERT_TRUE(reg.get(kRun, "Other", v));
    EXPECT_EQ(v.data, sz("other.exe"));
}

TEST(StartWithWindows, EmptyPathWritesNothing) {
    MemoryRegistry reg;
    EXPECT_FALSE(writeStartWithWindows(reg, ""));
    EXPECT_FALSE(startWithWindowsExists(reg));
}

TEST(StartWithWindows, ExistsWhateverTheValueHolds) {
    MemoryRegistry reg;
    EXPECT_FALSE(startWithWindowsExists(reg));  // no Run key at all
    reg.put(kRun, "cindral", platform::kRegDword, test::dword(1));
    EXPECT_TRUE(startWithWindowsExists(reg));
    RegValue v;
    ASSERT_TRUE(readStartWithWindows(reg, v));
    EXPECT_EQ(v.type, platform::kRegDword);
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(StartWithWindows, DeleteOfAMissingValueSucceeds) {
    MemoryRegistry reg;
    EXPECT_TRUE(deleteStartWithWindows(reg));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(StartWithWindows, FailuresAreReported) {
    MemoryRegistry reg;
    writeStartWithWindows(reg, "C:\\c.exe");
    reg.failWrites = true;
    EXPECT_FALSE(writeStartWithWindows(reg, "C:\\d.exe"));
    EXPECT_FALSE(deleteStartWithWindows(reg));
    EXPECT_TRUE(startWithWindowsExists(reg));
    reg.failCreate = true;
    EXPECT_FALSE(writeStartWithWindows(reg, "C:\\d.exe"));
    EXPECT_FALSE(deleteStartWithWindows(reg));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(StartPage, WrittenExactlyAndKeyClosed) {
    MemoryRegistry reg;
    ASSERT_TRUE(writeStartPage(reg, "http://example.test/ x"));
    RegValue v;
    ASSERT_TRUE(reg.get(kMain, "Start Page", v));
    EXPECT_EQ(v.type, platform::kRegSz);
    EXPECT_EQ(v.data, sz("http://example.test/ x"));
    ASSERT_TRUE(writeStartPage(reg, ""));  // the empty text is written too
    ASSERT_TRUE(readStartPage(reg, v));
    EXPECT_EQ(v.data, sz(""));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(StartPage, FailureIsReported) {
    MemoryRegistry reg;
    reg.failCreate = true;
    EXPECT_FALSE(writeStartPage(reg, "about:blank"));
    RegValue v;
    EXPECT_FALSE(readStartPage(reg, v));
}

}  // namespace
}  // namespace cindral::settings

// The outside entries through the backend of the build. Under Wine these are
// the real keys of the test prefix, so each test removes what it wrote.
#include "support/sandbox.h"

namespace cindral::settings {
namespace {

TEST(OutsideEntriesBackend, StartWithWindowsRoundTrip) {
    test::Sandbox sandbox;
    platform::Registry& reg = *sandbox.platform().registry;
    ASSERT_TRUE(writeStartWithWindows(reg, "C:\\Program Files\\Cindral\\cindral.exe"));
    EXPECT_TRUE(startWithWindowsExists(reg));
    RegValue v;
    ASSERT_TRUE(readStartWithWindows(reg, v));
    EXPECT_EQ(v.type, platform::kRegSz);
    EXPECT_EQ(v.data.substr(0, v.data.find('\0')),
              "\"C:\\Program Files\\Cindral\\cindral.exe\" -m -s");
    ASSERT_TRUE(deleteStartWithWindows(reg));
    EXPECT_FALSE(startWithWindowsExists(reg));
    EXPECT_TRUE(deleteStartWithWindows(reg));
}

TEST(OutsideEntriesBackend, StartPageRoundTrip) {
    test::Sandbox sandbox;
    platform::Registry& reg = *sandbox.platform().registry;
    RegValue before;
    const bool hadPage = readStartPage(reg, before);
    ASSERT_TRUE(writeStartPage(reg, "http://home.test/"));
    RegValue v;
    ASSERT_TRUE(readStartPage(reg, v));
    EXPECT_EQ(v.data.substr(0, v.data.find('\0')), "http://home.test/");
    // Put back what the prefix held.
    platform::KeyHolder key(reg, platform::openOrCreateKey(reg, platform::RootKey::CurrentUser,
                                                           kBrowserMainKeyPath));
    if (hadPage) {
        reg.setValue(key.get(), kStartPageValueName, before.type, before.data);
    } else {
        reg.deleteValue(key.get(), kStartPageValueName);
    }
}

}  // namespace
}  // namespace cindral::settings
