// The values the program keeps in the registry: its settings key and the
// two entries outside it.
#include <gtest/gtest.h>

#include "settings/outside_entries.h"
#include "settings/scratch_registry.h"
#include "settings/settings_store.h"

namespace cindral::settings {
namespace {

using platform::RegValue;
using test::RegOp;
using test::ScratchRegistry;

const char kKey[] = "Software\\Quorvane\\Cindral";

std::string sz(const std::string& text) { return text + std::string(1, '\0'); }

TEST(SettingsStore, HoldsOneKeyForItsLifeAndClosesItOnce) {
    ScratchRegistry reg;
    {
        SettingsStore first(reg);
        EXPECT_TRUE(reg.keyExists(kKey));
        SettingsStore store(std::move(first));
        EXPECT_FALSE(first.isOpen());
        EXPECT_TRUE(store.write(kBossKey, 2));
        EXPECT_EQ(reg.openHandles(), 1u);
    }
    EXPECT_EQ(reg.openHandles(), 0u);
}

// How values are encoded and which stored types count is pinned by the
// registry conformance tests; here what the store adds on top.
TEST(SettingsStore, EachReaderGetsItsOwnDefaultUntilAValueIsStored) {
    ScratchRegistry reg;
    SettingsStore store(reg);
    EXPECT_EQ(store.read(kStoreDate), 1u);
    EXPECT_EQ(store.read(kStoreDate, 0), 0u);
    EXPECT_EQ(store.read(kHotKey3), "Shift+Alt+B");
    EXPECT_EQ(store.read(kHotKey3, "Shift+B"), "Shift+B");
    EXPECT_FALSE(store.valueExists(kStoreDate.name));  // reading wrote nothing

    ASSERT_TRUE(store.write(kStoreDate, 0));
    EXPECT_FALSE(store.isOn(kStoreDate));
    ASSERT_TRUE(store.write(kHotKey2, ""));  // a cleared hotkey field
    EXPECT_EQ(store.read(TextSetting{"hotkey2", "Ctrl+U"}), "");
    ASSERT_TRUE(store.write(kStoreLog, 0x80000000u));
    EXPECT_TRUE(store.isOn(kStoreLog));  // any number but 0
}

TEST(SettingsStore, WithoutAWritableHandleReadsGiveDefaultsAndWritesFail) {
    ScratchRegistry reg;
    EXPECT_FALSE(SettingsStore::openForReading(reg).isOpen());
    reg.failOps({RegOp::Create});
    SettingsStore closed(reg);
    EXPECT_FALSE(closed.isOpen());
    EXPECT_EQ(closed.read(kLogRefreshLines), 2500u);
    EXPECT_FALSE(closed.write(kLastDate, "01.02.2003 at 04:05:06"));
    EXPECT_FALSE(reg.keyExists(kKey)) << "neither store created the key";
    EXPECT_EQ(reg.openHandles(), 0u);

    reg.fails = nullptr;
    SettingsStore store(reg);
    ASSERT_TRUE(store.write(kPassess, 4));
    auto reader = SettingsStore::openForReading(reg, kKey);  // without the trailing "\"
    ASSERT_TRUE(reader.isOpen());
    EXPECT_FALSE(reader.write(kPassess, 2));
    reg.failOps({RegOp::Set});
    EXPECT_FALSE(store.write(kPassess, 9));
    EXPECT_EQ(reader.read(kPassess), 4u);
}

TEST(OutsideEntries, TheRunEntryIsQuotedAFailedChangeKeepsItAndOtherEntriesStay) {
    ScratchRegistry reg;
    EXPECT_FALSE(writeStartWithWindows(reg, ""));
    EXPECT_FALSE(startWithWindowsExists(reg));  // no Run key at all
    reg.put(kRunKeyPath, "Other", platform::kRegSz, sz("other.exe"));
    ASSERT_TRUE(writeStartWithWindows(reg, "C:\\Program Files\\Cindral\\cindral.exe"));
    const std::string quoted = sz("\"C:\\Program Files\\Cindral\\cindral.exe\" -m -s");
    RegValue v;
    ASSERT_TRUE(readStartWithWindows(reg, v));
    EXPECT_EQ(v.type, platform::kRegSz);
    EXPECT_EQ(v.data, quoted);

    reg.failOps({RegOp::Set, RegOp::DeleteValue});
    EXPECT_FALSE(writeStartWithWindows(reg, "C:\\d.exe"));
    EXPECT_FALSE(deleteStartWithWindows(reg));
    EXPECT_FALSE(writeStartPage(reg, "about:blank"));
    reg.failOps({RegOp::Set, RegOp::DeleteValue, RegOp::Create});
    EXPECT_FALSE(writeStartWithWindows(reg, "C:\\d.exe"));
    reg.fails = nullptr;
    ASSERT_TRUE(readStartWithWindows(reg, v));
    EXPECT_EQ(v.data, quoted);

    ASSERT_TRUE(deleteStartWithWindows(reg));
    EXPECT_FALSE(startWithWindowsExists(reg));
    EXPECT_TRUE(deleteStartWithWindows(reg));  // already absent
    reg.put(kRunKeyPath, "cindral", platform::kRegDword, std::string(4, '\1'));
    EXPECT_TRUE(startWithWindowsExists(reg));  // whatever the value holds
    ASSERT_TRUE(reg.get(kRunKeyPath, "Other", v));
    EXPECT_EQ(v.data, sz("other.exe"));
    EXPECT_EQ(reg.openHandles(), 0u);
}

}  // namespace
}  // namespace cindral::settings
