#include "settings/keeper_lists.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "selection/data_test_platform.h"
#include "settings/scratch_registry.h"

using namespace cindral;
using namespace cindral::settings;
using Lines = std::vector<std::string>;
using platform::RootKey;

class KeeperListsTest : public ::testing::Test {
protected:
    KeeperListsTest() { env.platform.registry = &reg; }

    void setText(RootKey root, const std::string& key, const std::string& name,
                 const std::string& value) {
        platform::KeyHolder k(reg, platform::openOrCreateKey(reg, root, key));
        ASSERT_TRUE(platform::writeText(reg, k.get(), name, value));
    }

    test::DataTestPlatform env;
    test::ScratchRegistry reg;
};

TEST_F(KeeperListsTest, RegistryCandidatesLessThoseKeptInAnyCase) {
    // Typed addresses: every value of both roots, texts of other types as "".
    setText(RootKey::CurrentUser, kTypedUrlsKey, "url1", "http://a.example/");
    setText(RootKey::CurrentUser, kTypedUrlsKey, "url2", "http://b.example/");
    setText(RootKey::LocalMachine, kTypedUrlsKey, "url1", "http://a.example/");
    reg.put(kTypedUrlsKey, "url3", platform::kRegDword, std::string(4, '\7'));
    Lines all = GatherAddressCandidates(env.platform, {});
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (Lines{"", "http://a.example/", "http://a.example/", "http://b.example/"}));
    EXPECT_EQ(GatherAddressCandidates(env.platform, {"HTTP://A.EXAMPLE/", ""}),
              (Lines{"http://b.example/"}));

    // Open/Save history: the values of the subkeys, less their order value.
    const std::string mru = kOpenSaveMruKey;
    setText(RootKey::CurrentUser, mru, "a", "C:\\directly\\under.txt");
    setText(RootKey::CurrentUser, mru + "\\txt", "a", "C:\\docs\\one.txt");
    setText(RootKey::CurrentUser, mru + "\\txt", "MRUList", "a");
    setText(RootKey::CurrentUser, mru + "\\doc", "b", "C:\\docs\\two.doc");
    setText(RootKey::CurrentUser, mru + "\\doc", "mrulist", "b");
    all = GatherOpenSaveCandidates(env.platform, {"c:\\DOCS\\one.txt"});
    EXPECT_EQ(all, (Lines{"C:\\docs\\two.doc"}));
    EXPECT_EQ(GatherOpenSaveCandidates(env.platform, {}).size(), 2u);
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST_F(KeeperListsTest, CookieCandidatesAreTxtFilesOfBothFoldersAsFullPaths) {
    const std::string cookies = env.sandbox.root() + "Cookies\\";
    const std::string windows = env.sandbox.root() + "Win\\Cookies";
    ASSERT_TRUE(env.sandbox.makeFolder(cookies) && env.sandbox.makeFolder(windows));
    ASSERT_TRUE(env.sandbox.writeFile(cookies + "user@a[1].txt", "x"));
    ASSERT_TRUE(env.sandbox.writeFile(cookies + "index.dat", "x"));
    ASSERT_TRUE(env.sandbox.writeFile(windows + "\\user@b[1].TXT", "x"));

    const Lines found = GatherCookieCandidates(env.platform, {});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(CookieDisplayName(found[0]), "user@a[1].txt");
    EXPECT_EQ(CookieDisplayName(found[1]), "user@b[1].TXT");
    EXPECT_EQ(CookieDisplayName("C:name.txt"), "name.txt");
    EXPECT_TRUE(env.sandbox.exists(found[0]) && env.sandbox.exists(found[1]));
    EXPECT_EQ(GatherCookieCandidates(env.platform, {env.platform.system->upperCase(found[0])}),
              (Lines{found[1]}));

    env.shellFolders.cookies = windows;  // the same folder twice lists its files twice
    EXPECT_EQ(GatherCookieCandidates(env.platform, {}).size(), 2u);
    // A folder the system cannot name is not listed as "".
    env.shellFolders.cookies = "";
    env.files.windows = env.sandbox.root() + "NoWindows";
    EXPECT_TRUE(GatherCookieCandidates(env.platform, {}).empty());
}

TEST_F(KeeperListsTest, SaveNeverReplacesAListThatExistsButCannotBeRead) {
    const std::string path = env.sandbox.root() + "Kept.dat";
    EXPECT_TRUE(SaveKeptList(*env.platform.files, path, {"a", "b"}));  // a missing file is made
    EXPECT_EQ(env.read(path), "a\r\nb\r\n");
    env.files.unreadable = {path};
    EXPECT_FALSE(SaveKeptList(*env.platform.files, path, {"c"}));
    EXPECT_EQ(env.read(path), "a\r\nb\r\n");
    env.files.unreadable.clear();
    EXPECT_TRUE(SaveKeptList(*env.platform.files, path, {}));
    EXPECT_EQ(env.read(path), "");
}
