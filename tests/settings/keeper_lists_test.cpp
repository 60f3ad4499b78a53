#include "settings/keeper_lists.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/registry.h"
#include "selection/data_test_platform.h"

using namespace cindral;
using namespace cindral::settings;
using Lines = std::vector<std::string>;

class KeeperListsTest : public ::testing::Test {
protected:
    test::DataTestPlatform env;
    platform::Registry& reg() { return *env.platform.registry; }
    std::string path() { return env.sandbox.root() + "AddressesKept.dat"; }

    // The candidate keys are fixed system paths; each test starts them empty
    // and removes them afterwards (under Wine they live in the test prefix).
    void SetUp() override { wipeSources(); }
    void TearDown() override { wipeSources(); }
    void wipeKey(platform::RootKey root, const std::string& path) {
        platform::KeyHolder key(reg(), platform::openOrCreateKey(reg(), root, path));
        if (!key) return;
        std::vector<std::string> subkeys, values;
        reg().subkeyNames(key.get(), subkeys);
        for (const auto& s : subkeys) wipeKey(root, path + "\\" + s), reg().deleteKey(key.get(), s);
        reg().valueNames(key.get(), values);
        for (const auto& v : values) reg().deleteValue(key.get(), v);
    }
    void wipeSources() {
        wipeKey(platform::RootKey::CurrentUser, kTypedUrlsKey);
        wipeKey(platform::RootKey::LocalMachine, kTypedUrlsKey);
        wipeKey(platform::RootKey::CurrentUser, kOpenSaveMruKey);
    }
    void setText(platform::RootKey root, const std::string& path, const std::string& name,
                 const std::string& value) {
        platform::KeyHolder key(reg(), platform::openOrCreateKey(reg(), root, path));
        ASSERT_TRUE(key);
        ASSERT_TRUE(platform::writeText(reg(), key.get(), name, value));
    }
};

TEST_F(KeeperListsTest, SavedListIsEntriesWithCrLfAndReadsBackWithOrWithoutTheLastOne) {
    ASSERT_TRUE(SaveKeptList(env.files, path(), {"first", "second"}));
    EXPECT_EQ(env.read(path()), "first\r\nsecond\r\n");
    KeeperList list;
    EXPECT_EQ(LoadKeptList(env.files, path(), list), selection::ReadStatus::Ok);
    EXPECT_EQ(list, (Lines{"first", "second"}));
    ASSERT_TRUE(env.sandbox.writeFile(path(), "first\r\nsecond"));
    LoadKeptList(env.files, path(), list);
    EXPECT_EQ(list, (Lines{"first", "second"}));
    ASSERT_TRUE(SaveKeptList(env.files, path(), {}));
    EXPECT_EQ(env.read(path()), "");
}

TEST_F(KeeperListsTest, MissingFileIsAnEmptyListAndFailedSaveKeepsFile) {
    KeeperList list{"stale"};
    EXPECT_EQ(LoadKeptList(env.files, path(), list), selection::ReadStatus::Missing);
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(env.sandbox.writeFile(path(), "old\r\n"));
    env.files.failWrites = true;
    EXPECT_FALSE(SaveKeptList(env.files, path(), {"new"}));
    EXPECT_EQ(env.read(path()), "old\r\n");
}

TEST_F(KeeperListsTest, ContainsComparesWholeTextWithoutRegardToCase) {
    const KeeperList list{"http://Example.com/", ""};
    EXPECT_TRUE(KeptListContains(list, "HTTP://EXAMPLE.COM/", *env.platform.system));
    EXPECT_FALSE(KeptListContains(list, "http://example.com", *env.platform.system));
    EXPECT_FALSE(KeptListContains(list, " http://example.com/", *env.platform.system));
    EXPECT_TRUE(KeptListContains(list, "", *env.platform.system));
    EXPECT_FALSE(KeptListContains({}, "", *env.platform.system));
}

TEST_F(KeeperListsTest, CookieDisplayNameIsTextAfterLastBackslashOrColon) {
    EXPECT_EQ(CookieDisplayName("C:\\Cookies\\user@site[1].txt"), "user@site[1].txt");
    EXPECT_EQ(CookieDisplayName("C:name.txt"), "name.txt");
    EXPECT_EQ(CookieDisplayName("plain"), "plain");
}

TEST_F(KeeperListsTest, AddressCandidatesComeFromBothRootsLessKeptOnes) {
    using platform::RootKey;
    setText(RootKey::CurrentUser, kTypedUrlsKey, "url1", "http://a.example/");
    setText(RootKey::CurrentUser, kTypedUrlsKey, "url2", "http://b.example/");
    setText(RootKey::LocalMachine, kTypedUrlsKey, "url1", "http://a.example/");
    {
        platform::KeyHolder key(reg(), platform::openOrCreateKey(reg(), RootKey::CurrentUser,
                                                                 kTypedUrlsKey));
        ASSERT_TRUE(platform::writeNumber(reg(), key.get(), "url3", 7));  // not text: ""
    }
    Lines all = GatherAddressCandidates(env.platform, {});
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (Lines{"", "http://a.example/", "http://a.example/", "http://b.example/"}));
    // A kept address in other letter case keeps both copies out.
    Lines rest = GatherAddressCandidates(env.platform, {"HTTP://A.EXAMPLE/", ""});
    EXPECT_EQ(rest, (Lines{"http://b.example/"}));
}

TEST_F(KeeperListsTest, OpenSaveCandidatesSkipTheOrderValueInAnyCase) {
    using platform::RootKey;
    const std::string mru = kOpenSaveMruKey;
    setText(RootKey::CurrentUser, mru, "a", "C:\\directly\\under.txt");
    setText(RootKey::CurrentUser, mru + "\\txt", "a", "C:\\docs\\one.txt");
    setText(RootKey::CurrentUser, mru + "\\txt", "MRUList", "a");
    setText(RootKey::CurrentUser, mru + "\\doc", "b", "C:\\docs\\two.doc");
    setText(RootKey::CurrentUser, mru + "\\doc", "mrulist", "b");
    Lines all = GatherOpenSaveCandidates(env.platform, {});
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (Lines{"C:\\docs\\one.txt", "C:\\docs\\two.doc"}));
    EXPECT_EQ(GatherOpenSaveCandidates(env.platform, {"c:\\DOCS\\one.txt"}),
              (Lines{"C:\\docs\\two.doc"}));
}

TEST_F(KeeperListsTest, CookieCandidatesAreTxtFilesOfBothFoldersAsFullPaths) {
    const std::string cookies = env.sandbox.root() + "Cookies\\";
    ASSERT_TRUE(env.sandbox.makeFolder(cookies));
    ASSERT_TRUE(env.sandbox.writeFile(cookies + "user@a[1].txt", "x"));
    ASSERT_TRUE(env.sandbox.writeFile(cookies + "index.dat", "x"));
    ASSERT_TRUE(env.sandbox.makeFolder(env.sandbox.root() + "Win\\Cookies"));
    ASSERT_TRUE(env.sandbox.writeFile(env.sandbox.root() + "Win\\Cookies\\user@b[1].TXT", "x"));

    const Lines found = GatherCookieCandidates(env.platform, {});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(CookieDisplayName(found[0]), "user@a[1].txt");
    EXPECT_EQ(CookieDisplayName(found[1]), "user@b[1].TXT");
    EXPECT_TRUE(env.sandbox.exists(found[0]));
    EXPECT_TRUE(env.sandbox.exists(found[1]));
    // Kept paths (in any case) are left out.
    const Lines rest = GatherCookieCandidates(env.platform, {env.platform.system->upperCase(found[0])});
    EXPECT_EQ(rest, (Lines{found[1]}));
}

TEST_F(KeeperListsTest, SameCookieFolderTwiceListsEachFileTwice) {
    env.shellFolders.cookies = env.sandbox.root() + "Win\\Cookies";
    ASSERT_TRUE(env.sandbox.makeFolder(env.shellFolders.cookies));
    ASSERT_TRUE(env.sandbox.writeFile(env.shellFolders.cookies + "\\c.txt", "x"));
    const Lines found = GatherCookieCandidates(env.platform, {});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(env.platform.system->lowerCase(found[0]), env.platform.system->lowerCase(found[1]));
}

TEST_F(KeeperListsTest, NoCookieFolderGivesNoCandidates) {
    env.shellFolders.cookies = "";
    env.files.windows = env.sandbox.root() + "NoWindows";
    EXPECT_TRUE(GatherCookieCandidates(env.platform, {}).empty());
}
