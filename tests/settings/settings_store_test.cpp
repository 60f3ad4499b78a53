#include "settings/settings_store.h"

#include <gtest/gtest.h>


#include "settings/memory_registry.h"

namespace cindral::settings {
namespace {

using platform::RegValue;
using test::dword;
using test::MemoryRegistry;

const char kKey[] = "Software\\Quorvane\\Cindral";

TEST(SettingsStore, OpensTheKeyOnceAndClosesItWithTheStore) {
    MemoryRegistry reg;
    {
        SettingsStore store(reg);
        EXPECT_TRUE(store.isOpen());
        EXPECT_TRUE(reg.keyExists(kKey));
        store.writeNumber(kStoreLog, 1);
        store.readText(kHomePage, "about:blank");
        EXPECT_EQ(reg.openHandles(), 1u);
    }
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(SettingsStore, MovedStoreClosesTheKeyOnce) {
    MemoryRegistry reg;
    {
        SettingsStore first(reg);
        SettingsStore second(std::move(first));
        EXPECT_FALSE(first.isOpen());
        EXPECT_TRUE(second.writeNumber(kBossKey, 2));
        EXPECT_EQ(reg.openHandles(), 1u);
    }
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(SettingsStore, WritesTheRegistryTypes) {
    MemoryRegistry reg;
    SettingsStore store(reg);
    ASSERT_TRUE(store.writeNumber(kLogRefreshLines, 5000));
    ASSERT_TRUE(store.writeText(kHotKey1, "Ctrl+K"));
    RegValue v;
    ASSERT_TRUE(reg.get(kKey, kLogRefreshLines, v));
    EXPECT_EQ(v.type, platform::kRegDword);
    EXPECT_EQ(v.data, dword(5000));
    ASSERT_TRUE(reg.get(kKey, kHotKey1, v));
    EXPECT_EQ(v.type, platform::kRegSz);
    EXPECT_EQ(v.data, std::string("Ctrl+K\0", 7));  // NUL counted in the length
    EXPECT_EQ(store.readNumber(kLogRefreshLines, 2500), 5000u);
    EXPECT_EQ(store.readText(kHotKey1, "Shift+Ctrl+Alt+X"), "Ctrl+K");
}

TEST(SettingsStore, EmptyTextIsStoredNotDefaulted) {
    // A cleared hotkey field is stored as the empty text and must read back
    // as empty, not as the reader's default.
    MemoryRegistry reg;
    SettingsStore store(reg);
    ASSERT_TRUE(store.writeText(kHotKey2, ""));
    EXPECT_TRUE(store.valueExists(kHotKey2));
    EXPECT_EQ(store.readText(kHotKey2, "Ctrl+U"), "");
}

TEST(SettingsStore, EachReaderGetsItsOwnDefault) {
    MemoryRegistry reg;
    SettingsStore store(reg);
    EXPECT_EQ(store.readNumber(kStoreDate, 1), 1u);
    EXPECT_EQ(store.readNumber(kStoreDate, 0), 0u);
    EXPECT_EQ(store.readText(kHotKey3, "Shift+Alt+B"), "Shift+Alt+B");
    EXPECT_EQ(store.readText(kHotKey3, "Shift+B"), "Shift+B");
    EXPECT_FALSE(store.valueExists(kStoreDate));  // reading wrote nothing
    store.writeNumber(kStoreDate, 0);
    EXPECT_EQ(store.readNumber(kStoreDate, 1), 0u);
}

TEST(SettingsStore, SwitchIsOnForAnyNonZeroNumber) {
    MemoryRegistry reg;
    SettingsStore store(reg);
    EXPECT_TRUE(store.readSwitch(kResultWindow, 1));
    EXPECT_FALSE(store.readSwitch(kStoreLog, 0));
    for (std::uint32_t n : {1u, 2u, 0x80000000u, 0xFFFFFFFFu}) {
        store.writeNumber(kStoreLog, n);
        EXPECT_TRUE(store.readSwitch(kStoreLog, 0)) << n;
    }
    store.writeNumber(kResultWindow, 0);
    EXPECT_FALSE(store.readSwitch(kResultWindow, 1));
}

TEST(SettingsStore, WrongTypeReadsAsTheDefault) {
    MemoryRegistry reg;
    SettingsStore store(reg);
    reg.put(kKey, kPassess, platform::kRegSz, std::string("3\0", 2));
    reg.put(kKey, kBossKey, platform::kRegDword, std::string("\x02\0\0", 3));  // short DWORD
    reg.put(kKey, kEraseEvery, platform::kRegBinary, dword(1));
    reg.put(kKey, kHomePage, platform::kRegDword, dword(7));
    reg.put(kKey, kLastDate, platform::kRegExpandSz, std::string("x\0", 2));
    EXPECT_EQ(store.readNumber(kPassess, 0), 0u);
    EXPECT_EQ(store.readNumber(kBossKey, 1), 1u);
    EXPECT_EQ(store.readNumber(kEraseEvery, 0), 0u);
    EXPECT_EQ(store.readText(kHomePage, "about:blank"), "about:blank");
    EXPECT_EQ(store.readText(kLastDate, ""), "");
    EXPECT_TRUE(store.valueExists(kHomePage));
}

TEST(SettingsStore, TextIsCutAtItsFirstNul) {
    MemoryRegistry reg;
    SettingsStore store(reg);
    reg.put(kKey, kHomePage, platform::kRegSz, std::string("http://a\0http://b\0", 18));
    EXPECT_EQ(store.readText(kHomePage, "about:blank"), "http://a");
    // Data stored without a terminating NUL is still read whole.
    reg.put(kKey, kHomePage, platform::kRegSz, "http://c");
    EXPECT_EQ(store.readText(kHomePage, "about:blank"), "http://c");
}

TEST(SettingsStore, WithoutAHandleReadsDefaultAndWritesNothing) {
    MemoryRegistry reg;
    reg.failCreate = true;
    SettingsStore store(reg);
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(store.readNumber(kLogRefreshLines, 2500), 2500u);
    EXPECT_EQ(store.readText(kHotKey1, "Shift+Ctrl+Alt+X"), "Shift+Ctrl+Alt+X");
    EXPECT_FALSE(store.writeNumber(kStoreLog, 1));
    EXPECT_FALSE(store.writeText(kLastDate, "01.02.2003 at 04:05:06"));
    EXPECT_FALSE(store.valueExists(kStoreLog));
    RegValue v;
    EXPECT_FALSE(store.queryRaw(kStoreLog, v));
    EXPECT_FALSE(reg.keyExists(kKey));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(SettingsStore, FailedWriteIsReportedAndKeepsTheOldValue) {
    MemoryRegistry reg;
    SettingsStore store(reg);
    store.writeNumber(kPassess, 4);
    reg.failWrites = true;
    EXPECT_FALSE(store.writeNumber(kPassess, 9));
    EXPECT_EQ(store.readNumber(kPassess, 0), 4u);
}

TEST(SettingsStore, ReadingStoreCreatesNothingAndCannotWrite) {
    MemoryRegistry reg;
    {
        auto store = SettingsStore::openForReading(reg);
        EXPECT_FALSE(store.isOpen());
        EXPECT_EQ(store.readNumber(kResultWindow, 1), 1u);
    }
    EXPECT_FALSE(reg.keyExists(kKey));

    reg.put(kKey, kStoreLog, platform::kRegDword, dword(1));
    auto store = SettingsStore::openForReading(reg);
    ASSERT_TRUE(store.isOpen());
    EXPECT_EQ(store.readNumber(kStoreLog, 0), 1u);
    EXPECT_FALSE(store.writeNumber(kStoreLog, 0));
    EXPECT_EQ(store.readNumber(kStoreLog, 0), 1u);
}

// Every value, default and reader of the table is pinned by the listing test
// of the "settings" command; here only the lookup.
TEST(SettingsTable, FindIsExact) {
    ASSERT_NE(findSetting("StoreDate"), nullptr);
    EXPECT_EQ(findSetting("StoreDate")->defaults.size(), 2u);
    EXPECT_EQ(findSetting("storedate"), nullptr);
    EXPECT_EQ(findSetting("Cindral"), nullptr);
}

}  // namespace
}  // namespace cindral::settings

// The same store over the backend of the build (the posix store file, or the
// real registry under Wine), in the sandbox's scratch key.
#include <atomic>
#include <thread>

#include "support/sandbox.h"

namespace cindral::settings {
namespace {

class SettingsStoreBackend : public ::testing::Test {
protected:
    platform::Registry& reg() { return *sandbox_.platform().registry; }
    // Written like the real settings key, with its trailing backslash.
    std::string keyPath() const { return sandbox_.registryScratchPath() + "\\Cindral\\"; }

    test::Sandbox sandbox_;
};

TEST_F(SettingsStoreBackend, RoundTripAndDefaults) {
    SettingsStore store(reg(), keyPath());
    ASSERT_TRUE(store.isOpen());
    EXPECT_EQ(store.readNumber(kLogRefreshLines, 2500), 2500u);
    ASSERT_TRUE(store.writeNumber(kLogRefreshLines, 0xFFFFFFFFu));
    ASSERT_TRUE(store.writeText(kHomePage, "http://x.test/?a=1;b"));
    ASSERT_TRUE(store.writeText(kHotKey2, ""));
    EXPECT_EQ(store.readNumber(kLogRefreshLines, 2500), 0xFFFFFFFFu);
    EXPECT_EQ(store.readText(kHomePage, "about:blank"), "http://x.test/?a=1;b");
    EXPECT_EQ(store.readText(kHotKey2, "Ctrl+U"), "");
    EXPECT_TRUE(store.valueExists(kHotKey2));
    EXPECT_EQ(store.readNumber("homepage", 5), 5u);  // a text is no number
    EXPECT_EQ(store.readText("LOGREFRESHLINES", "d"), "d");  // names ignore case
}

TEST_F(SettingsStoreBackend, TrailingBackslashNamesTheSameKey) {
    {
        SettingsStore store(reg(), keyPath());
        ASSERT_TRUE(store.writeNumber(kBossKey, 3));
    }
    std::string plain = keyPath();
    plain.pop_back();
    auto reader = SettingsStore::openForReading(reg(), plain);
    ASSERT_TRUE(reader.isOpen());
    EXPECT_EQ(reader.readNumber(kBossKey, 1), 3u);
    EXPECT_FALSE(reader.writeNumber(kBossKey, 2));  // read access only
    EXPECT_EQ(reader.readNumber(kBossKey, 1), 3u);
}

TEST_F(SettingsStoreBackend, WorkerReadsWhileTheInterfaceWrites) {
    // The engine reads the wipe settings on its worker thread through the
    // same store while the user-interface thread may write them.
    SettingsStore store(reg(), keyPath());
    ASSERT_TRUE(store.writeNumber(kPassess, 2));
    ASSERT_TRUE(store.writeText(kHomePage, "page-0"));
    std::atomic<bool> done{false};
    std::atomic<int> badReads{0};
    std::thread worker([&] {
        while (!done) {
            const auto passes = store.readNumber(kPassess, 77);
            if (passes != 2 && passes != 5) ++badReads;
            const std::string page = store.readText(kHomePage, "none");
            if (page != "page-0" && page != "page-1") ++badReads;
        }
    });
    for (int i = 0; i < 16; ++i) {
        store.writeNumber(kPassess, i % 2 ? 2 : 5);
        store.writeText(kHomePage, i % 2 ? "page-0" : "page-1");
    }
    done = true;
    worker.join();
    EXPECT_EQ(badReads, 0);
}

}  // namespace
}  // namespace cindral::settings
