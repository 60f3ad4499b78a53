// Under 64-bit Windows a 32-bit process has two views of
// HKEY_LOCAL_MACHINE\Software. A clean run removes the system's settings
// (below "Software\Microsoft") from the 64-bit view, the one the system
// uses, and another vendor's keys from the view of the program's own build;
// the other view is left as it was. Run under Wine in a 64-bit prefix.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/registry_cleaner.h"
#include "engine_test_support.h"

namespace cindral::engine {
namespace {

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

}  // namespace
}  // namespace cindral::engine
#endif
