#include "engine/registry_cleaner.h"

#include <gtest/gtest.h>

#include "engine/is_kept.h"
#include "engine_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace cindral::engine {
namespace {

using test::Lines;

class RegistryCleaner : public test::EngineTest {
protected:
    void clean(const std::string& sub, const std::string& action,
               const KeeperList* keep = nullptr) {
        CleanRegistryEntry(ctx_, regKey(sub) + "," + action, keep);
    }
    // The key path as the log shows it.
    std::string logged(const std::string& sub) {
        return "\\" + platform_.system->lowerCase(scratch(sub)) + "\\";
    }
    void text(const std::string& sub, const std::string& name, const std::string& data) {
        setRegText(scratch(sub), name, data);
    }
    Lines values(const std::string& sub) { return regValues(scratch(sub)); }
    bool keyExists(const std::string& sub) {
        platform::Registry& reg = *box_.platform().registry;
        return bool(platform::KeyHolder(
            reg, platform::openKeyForReading(reg, platform::RootKey::CurrentUser, scratch(sub))));
    }
};

TEST_F(RegistryCleaner, EntriesSplitIntoRootPathActionAndValueName) {
    platform::System& sys = system_;
    TRegObject o;
    ASSERT_TRUE(ParseRegistryEntry("HKEY_LOCAL_MACHINE\\Software\\X,OnlyValues,None", sys, o));
    EXPECT_EQ(o.RootKey, platform::RootKey::LocalMachine);
    EXPECT_EQ(o.KeyPath, "\\software\\x\\");
    EXPECT_EQ(o.Action, "onlyvalues");
    EXPECT_EQ(o.ValueName, "none");
    ASSERT_TRUE(ParseRegistryEntry("HKEY_USERS\\a\\B\\,onevalue,My,Value", sys, o));
    EXPECT_EQ(o.KeyPath, "\\a\\b\\");
    EXPECT_EQ(o.ValueName, "my,value");
    for (const char* e :
         {"hkey_current_user\\Software\\X,onlyvalues,none",  // root case matters
          "HKEY_CURRENT_USER,onlyvalues,none", "HKEY_CURRENT_USER\\Software\\X",
          "HKEY_CURRENT_USER\\Software\\X,onlyvalues",
          // A root alone: its whole contents are never an entry's target.
          "HKEY_CURRENT_USER\\,onlysubkeys,none", "HKEY_CURRENT_USER\\\\\\,allvalues,none"})
        EXPECT_FALSE(ParseRegistryEntry(e, sys, o)) << e;
    // The registry calls end a key path at a NUL, so this one names the root too.
    const char rootBeforeNul[] = "HKEY_CURRENT_USER\\\0Software,onlysubkeys,none";
    EXPECT_FALSE(ParseRegistryEntry(std::string(rootBeforeNul, sizeof rootBeforeNul - 1), sys, o));
}

TEST_F(RegistryCleaner, OnlyValuesHonoursTheKeeperListAndNamesValuesWithoutText) {
    text("Typed", "url1", "alpha.example");
    text("Typed", "url2", "beta.example");
    text("Typed", "blank", "");
    const KeeperList keep = {"ALPHA.EXAMPLE"};
    run_.KeeperMode = kKeeperAddresses;
    clean("Typed", "OnlyValues,none", &keep);
    EXPECT_EQ(sortedLines(), (Lines{"Cleaning Registry Value: " + logged("Typed") + "blank <OK>",
                                    "Cleaning Registry Value: alpha.example <SKIPPED>",
                                    "Cleaning Registry Value: beta.example <OK>"}));
    EXPECT_EQ(values("Typed").size(), 3u);  // a test run deletes nothing

    run_.Erase = true;
    clean("Typed", "OnlyValues,none", &keep);
    EXPECT_EQ(values("Typed"), Lines{"url1"});
    // Under another item (keeper mode 0) the list protects nothing.
    run_.KeeperMode = kKeeperNone;
    clean("Typed", "OnlyValues,none", &keep);
    EXPECT_TRUE(values("Typed").empty());
    EXPECT_EQ(run_.counters.FoundRegistryEntries, 5);
    EXPECT_EQ(run_.counters.DeletedRegistryEntries, 3);
}

TEST_F(RegistryCleaner, AllValuesEmptiesTheSubkeysButKeptValuesAndOnlySubkeysRemovesWholeSubtrees) {
    text("K", "own", "mine");
    text("K\\One", "a", "first");
    text("K\\One\\Deeper\\Deepest", "x", "1");
    text("K\\Two", "b", "");
    clean("K", "onlysubkeys,none");  // a test run counts the subkeys it would remove
    EXPECT_EQ(run_.counters.FoundRegistryEntries, 2);
    view_.lines.clear();
    run_.Erase = true;
    // The open/save history is kept by the data of values in subkeys.
    const KeeperList keep = {"FIRST"};
    run_.KeeperMode = kKeeperOpenSave;
    clean("K", "AllValues,none", &keep);
    EXPECT_EQ(sortedLines(), (Lines{"Cleaning Registry Value: " + logged("K") + "Two",
                                    "Cleaning Registry Value: first <SKIPPED>"}));
    EXPECT_EQ(values("K\\One"), Lines{"a"});
    EXPECT_TRUE(values("K\\Two").empty());
    EXPECT_EQ(values("K\\One\\Deeper\\Deepest"), Lines{"x"});

    view_.lines.clear();
    clean("K", "onlysubkeys,none");
    EXPECT_EQ(sortedLines(),
              (Lines{"Cleaning Registry Key: One <OK>", "Cleaning Registry Key: Two <OK>"}));
    EXPECT_FALSE(keyExists("K\\One") || keyExists("K\\Two"));
    EXPECT_EQ(values("K"), Lines{"own"});
    EXPECT_EQ(run_.counters.DeletedRegistryEntries, 3);
}

TEST_F(RegistryCleaner, OneValueFindsItsNameInAnyCase) {
    text("One", "Target", "secret text");
    text("One", "Blank", "");
    text("One", "Other", "stays");
    clean("One", "onevalue,missing");
    clean("One", "onevalue,TARGET");  // a test run counts the deletion it would make
    EXPECT_EQ(view_.lines, Lines{"Cleaning Registry Value: secret text"});
    EXPECT_EQ(run_.counters.DeletedRegistryEntries, 1);
    run_.Erase = true;
    clean("One", "onevalue,target");
    clean("One", "onevalue,blank");
    EXPECT_EQ(view_.lines.back(), "Cleaning Registry Value: blank <OK>");
    EXPECT_EQ(values("One"), Lines{"Other"});
}

TEST_F(RegistryCleaner, FailedDeletionsAreNotCountedAndBadEntriesOrAStoppedRunDeleteNothing) {
    text("K", "v", "data");
    text("K\\Sub", "w", "x");
    run_.Erase = true;
    int deleteCalls = 0;  // every deletion is asked for, counted and fails
    registry_.fails = [&deleteCalls](const cindral::test::RegCall& c) {
        const bool deletion =
            c.op == cindral::test::RegOp::DeleteValue || c.op == cindral::test::RegOp::DeleteKey;
        deleteCalls += deletion;
        return deletion;
    };
    clean("K", "everything,none");
    clean("Missing", "onlyvalues,none");
    clean("Missing", "onlysubkeys,none");
    EXPECT_TRUE(view_.lines.empty());
    EXPECT_EQ(run_.counters.FoundRegistryEntries + run_.counters.DeletedRegistryEntries, 0);
    EXPECT_EQ(deleteCalls, 0);
    const char* const actions[] = {"onlyvalues,none", "allvalues,none", "onlysubkeys,none",
                                   "onevalue,v"};
    for (const char* action : actions) clean("K", action);
    EXPECT_GE(deleteCalls, 4);
    EXPECT_EQ(run_.counters.FoundRegistryEntries, 4);
    EXPECT_EQ(run_.counters.DeletedRegistryEntries, 0);

    deleteCalls = 0;
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    for (const char* action : actions) clean("K", action);
    EXPECT_EQ(deleteCalls, 0);
}

TEST_F(RegistryCleaner, IsKeptComparesWholeTextsWithoutRegardToCaseAndWithoutTrimming) {
    platform::System& sys = system_;
    const KeeperList list = {"Alpha.Example", " padded "};
    for (const char* kept : {"ALPHA.EXAMPLE", " PADDED "})
        EXPECT_TRUE(IsKept(&list, kept, sys)) << kept;
    for (const char* other : {"padded", "alpha.example ", "alpha", ""})
        EXPECT_FALSE(IsKept(&list, other, sys)) << other;
    EXPECT_FALSE(IsKept(nullptr, "alpha.example", sys));
}

#ifdef _WIN32
// Under 64-bit Windows a 32-bit process has two views of
// HKEY_LOCAL_MACHINE\Software. A clean run removes the system's settings
// (below "Software\Microsoft") from the 64-bit view, the one the system
// uses, and another vendor's keys from the view of the program's own build;
// the other view is left as it was. Run under Wine in a 64-bit prefix.
constexpr REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

bool put(REGSAM view, const std::string& path, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool has(REGSAM view, const std::string& path, const char* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    const bool found =
        !value || RegQueryValueExA(key, value, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

// Removes a test key from both views; child first, as RegDeleteKeyEx wants.
void drop(const std::string& path) {
    for (REGSAM view : kViews) {
        for (const char* tail : {"\\K\\Sub\\Deeper", "\\K\\Sub", "\\K", ""})
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, (path + tail).c_str(), view, 0);
    }
}

class RegistryViews : public test::EngineTest {
protected:
    void SetUp() override {
        BOOL wow64 = FALSE;
        IsWow64Process(GetCurrentProcess(), &wow64);
        if (sizeof(void*) == 4 && !wow64) GTEST_SKIP() << "32-bit Windows has one registry view";
        run_.Erase = true;
    }
    // The view a build reaches without asking: its own.
    static constexpr REGSAM kOwnView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
};

TEST_F(RegistryViews, SystemSettingsGoFromThe64BitViewVendorKeysFromTheBuildsOwn) {
    const std::string unique = "CindralViews" + std::to_string(GetCurrentProcessId());
    const struct {
        std::string path;
        REGSAM cleaned;
    } cases[] = {{"Software\\Microsoft\\" + unique, KEY_WOW64_64KEY},
                 {"Software\\" + unique, kOwnView}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        drop(c.path);
        for (REGSAM view : kViews) {
            const std::string data = view == KEY_WOW64_64KEY ? "64" : "32";
            ASSERT_TRUE(put(view, c.path, data) && put(view, c.path + "\\K\\Sub\\Deeper", data));
        }
        // Each view holds its own copy: the prefix really has two.
        ASSERT_TRUE(has(KEY_WOW64_32KEY, c.path, "v") && has(KEY_WOW64_64KEY, c.path, "v"));

        CleanRegistryEntry(ctx_, "HKEY_LOCAL_MACHINE\\" + c.path + ",OnlyValues,none", nullptr);
        CleanRegistryEntry(ctx_, "HKEY_LOCAL_MACHINE\\" + c.path + "\\K,OnlySubkeys,none", nullptr);
        for (REGSAM view : kViews) {
            const bool kept = view != c.cleaned;
            EXPECT_EQ(has(view, c.path, "v"), kept) << "view " << view;
            EXPECT_EQ(has(view, c.path + "\\K\\Sub", nullptr), kept) << "view " << view;
            EXPECT_TRUE(has(view, c.path + "\\K", nullptr)) << "view " << view;
        }
        EXPECT_EQ(run_.counters.DeletedRegistryEntries, 2);
        run_.counters.DeletedRegistryEntries = 0;
        drop(c.path);
    }
}
#endif  // _WIN32

}  // namespace
}  // namespace cindral::engine
