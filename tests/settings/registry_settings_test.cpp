#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "settings/scratch_registry.h"

namespace cindral::settings {
namespace {

using platform::RegValue;
using test::ScratchRegistry;

const char kKey[] = "Software\\Quorvane\\Cindral";

TEST(SettingsStore, HoldsOneKeyForItsLifeAndClosesItOnce) {
    ScratchRegistry reg;
    {
        SettingsStore first(reg);
        EXPECT_TRUE(reg.keyExists(kKey));
        SettingsStore store(std::move(first));
        EXPECT_FALSE(first.isOpen());
        EXPECT_TRUE(store.writeNumber(kBossKey, 2));
        EXPECT_EQ(store.readText(kHomePage, "about:blank"), "about:blank");
        EXPECT_EQ(reg.openHandles(), 1u);
    }
    EXPECT_EQ(reg.openHandles(), 0u);
}

// How values are encoded and which stored types count is pinned by the
// registry conformance tests; here what the store adds on top.
TEST(SettingsStore, EachReaderGetsItsOwnDefaultUntilAValueIsStored) {
    ScratchRegistry reg;
    SettingsStore store(reg);
    EXPECT_EQ(store.readNumber(kStoreDate, 1), 1u);
    EXPECT_EQ(store.readNumber(kStoreDate, 0), 0u);
    EXPECT_EQ(store.readText(kHotKey3, "Shift+Alt+B"), "Shift+Alt+B");
    EXPECT_EQ(store.readText(kHotKey3, "Shift+B"), "Shift+B");
    EXPECT_TRUE(store.readSwitch(kResultWindow, 1));
    EXPECT_FALSE(store.valueExists(kStoreDate));  // reading wrote nothing

    ASSERT_TRUE(store.writeNumber(kStoreDate, 0));
    EXPECT_FALSE(store.readSwitch(kStoreDate, 1));
    ASSERT_TRUE(store.writeText(kHotKey2, ""));  // a cleared hotkey field
    EXPECT_EQ(store.readText("hotkey2", "Ctrl+U"), "");
    ASSERT_TRUE(store.writeNumber(kLogRefreshLines, 0xFFFFFFFFu));
    EXPECT_EQ(store.readNumber(kLogRefreshLines, 2500), 0xFFFFFFFFu);
    for (std::uint32_t n : {1u, 2u, 0x80000000u}) {
        ASSERT_TRUE(store.writeNumber(kStoreLog, n));
        EXPECT_TRUE(store.readSwitch(kStoreLog, 0)) << n;
    }
    RegValue v;
    ASSERT_TRUE(store.queryRaw(kStoreLog, v));
    EXPECT_EQ(v.data, std::string("\0\0\0\x80", 4));
}

TEST(SettingsStore, WithoutAHandleReadsGiveDefaultsAndWritesFail) {
    ScratchRegistry reg;
    reg.failCreate = true;
    SettingsStore closed(reg);
    EXPECT_FALSE(closed.isOpen());
    EXPECT_EQ(closed.readNumber(kLogRefreshLines, 2500), 2500u);
    EXPECT_EQ(closed.readText(kHotKey1, "Shift+Ctrl+Alt+X"), "Shift+Ctrl+Alt+X");
    EXPECT_FALSE(closed.writeNumber(kStoreLog, 1));
    EXPECT_FALSE(closed.writeText(kLastDate, "01.02.2003 at 04:05:06"));
    RegValue v;
    EXPECT_FALSE(closed.queryRaw(kStoreLog, v));
    EXPECT_FALSE(reg.keyExists(kKey));
    EXPECT_EQ(reg.openHandles(), 0u);

    reg.failCreate = false;
    SettingsStore store(reg);
    ASSERT_TRUE(store.writeNumber(kPassess, 4));
    reg.failWrites = true;
    EXPECT_FALSE(store.writeNumber(kPassess, 9));
    EXPECT_EQ(store.readNumber(kPassess, 0), 4u);
}

TEST(SettingsStore, ReadingStoreCreatesNothingAndCannotWrite) {
    ScratchRegistry reg;
    EXPECT_FALSE(SettingsStore::openForReading(reg).isOpen());
    EXPECT_FALSE(reg.keyExists(kKey));

    ASSERT_TRUE(SettingsStore(reg).writeNumber(kBossKey, 3));
    auto reader = SettingsStore::openForReading(reg, kKey);  // without the trailing "\"
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.readNumber(kBossKey, 1), 3u);
    EXPECT_FALSE(reader.writeNumber(kBossKey, 2));
    EXPECT_EQ(reader.readNumber(kBossKey, 1), 3u);
}

}  // namespace
}  // namespace cindral::settings
