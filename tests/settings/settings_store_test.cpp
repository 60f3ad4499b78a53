#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "settings/scratch_registry.h"

namespace cindral::settings {
namespace {

using platform::RegValue;
using test::dword;
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

TEST(SettingsStore, WritesDwordsAndNulTerminatedTextsAndReadsThemBack) {
    ScratchRegistry reg;
    SettingsStore store(reg);
    ASSERT_TRUE(store.writeNumber(kLogRefreshLines, 0xFFFFFFFFu));
    ASSERT_TRUE(store.writeText(kHotKey1, "Ctrl+K"));
    // A cleared hotkey field is stored as the empty text, not as the default.
    ASSERT_TRUE(store.writeText(kHotKey2, ""));
    RegValue v;
    ASSERT_TRUE(reg.get(kKey, kLogRefreshLines, v));
    EXPECT_EQ(v.type, platform::kRegDword);
    EXPECT_EQ(v.data, dword(0xFFFFFFFFu));
    ASSERT_TRUE(reg.get(kKey, kHotKey1, v));
    EXPECT_EQ(v.type, platform::kRegSz);
    EXPECT_EQ(v.data, std::string("Ctrl+K\0", 7));
    EXPECT_EQ(store.readNumber(kLogRefreshLines, 2500), 0xFFFFFFFFu);
    EXPECT_EQ(store.readText("hotkey1", "Shift+Ctrl+Alt+X"), "Ctrl+K");  // names ignore case
    EXPECT_EQ(store.readText(kHotKey2, "Ctrl+U"), "");
    EXPECT_TRUE(store.valueExists(kHotKey2));
}

TEST(SettingsStore, EachReaderGetsItsOwnDefaultAndReadingWritesNothing) {
    ScratchRegistry reg;
    SettingsStore store(reg);
    EXPECT_EQ(store.readNumber(kStoreDate, 1), 1u);
    EXPECT_EQ(store.readNumber(kStoreDate, 0), 0u);
    EXPECT_EQ(store.readText(kHotKey3, "Shift+Alt+B"), "Shift+Alt+B");
    EXPECT_EQ(store.readText(kHotKey3, "Shift+B"), "Shift+B");
    EXPECT_TRUE(store.readSwitch(kResultWindow, 1));
    EXPECT_FALSE(store.valueExists(kStoreDate));
    EXPECT_FALSE(store.valueExists(kResultWindow));
    ASSERT_TRUE(store.writeNumber(kStoreDate, 0));
    EXPECT_EQ(store.readNumber(kStoreDate, 1), 0u);
    EXPECT_FALSE(store.readSwitch(kStoreDate, 1));
    for (std::uint32_t n : {1u, 2u, 0x80000000u, 0xFFFFFFFFu}) {
        ASSERT_TRUE(store.writeNumber(kStoreLog, n));
        EXPECT_TRUE(store.readSwitch(kStoreLog, 0)) << n;
    }
}

TEST(SettingsStore, ValueOfAnotherTypeOrSizeReadsAsTheDefault) {
    ScratchRegistry reg;
    SettingsStore store(reg);
    reg.put(kKey, kPassess, platform::kRegSz, std::string("3\0", 2));
    reg.put(kKey, kBossKey, platform::kRegDword, std::string("\x02\0\0", 3));
    reg.put(kKey, kEraseEvery, platform::kRegBinary, dword(1));
    reg.put(kKey, kHomePage, platform::kRegDword, dword(7));
    reg.put(kKey, kLastDate, platform::kRegExpandSz, std::string("x\0", 2));
    reg.put(kKey, kHotKey1, platform::kRegSz, std::string("^A\0Ctrl+B\0", 10));
    EXPECT_EQ(store.readNumber(kPassess, 0), 0u);
    EXPECT_EQ(store.readNumber(kBossKey, 1), 1u);
    EXPECT_EQ(store.readNumber(kEraseEvery, 0), 0u);
    EXPECT_EQ(store.readText(kHomePage, "about:blank"), "about:blank");
    EXPECT_EQ(store.readText(kLastDate, ""), "");
    EXPECT_EQ(store.readText(kHotKey1, ""), "^A");  // cut at the first NUL
}

TEST(SettingsStore, WithoutAHandleReadsGiveDefaultsAndWritesFail) {
    ScratchRegistry reg;
    reg.failCreate = true;
    {
        SettingsStore store(reg);
        EXPECT_FALSE(store.isOpen());
        EXPECT_EQ(store.readNumber(kLogRefreshLines, 2500), 2500u);
        EXPECT_EQ(store.readText(kHotKey1, "Shift+Ctrl+Alt+X"), "Shift+Ctrl+Alt+X");
        EXPECT_FALSE(store.writeNumber(kStoreLog, 1));
        EXPECT_FALSE(store.writeText(kLastDate, "01.02.2003 at 04:05:06"));
        RegValue v;
        EXPECT_FALSE(store.queryRaw(kStoreLog, v));
    }
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

TEST(SettingsStore, WorkerReadsWhileTheInterfaceWrites) {
    // The engine reads the wipe settings on its worker thread through the
    // same store while the user-interface thread may write them.
    ScratchRegistry reg;
    SettingsStore store(reg);
    ASSERT_TRUE(store.writeNumber(kPassess, 2));
    ASSERT_TRUE(store.writeText(kHomePage, "page-0"));
    std::atomic<bool> done{false};
    std::atomic<int> badReads{0};
    std::thread worker([&] {
        while (!done) {
            const auto passes = store.readNumber(kPassess, 77);
            const std::string page = store.readText(kHomePage, "none");
            if ((passes != 2 && passes != 5) || (page != "page-0" && page != "page-1")) ++badReads;
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
