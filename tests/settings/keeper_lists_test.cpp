#include "settings/keeper_lists.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "selection/data_test_platform.h"
#include "settings/scratch_registry.h"

using namespace cindral;
using namespace cindral::settings;
using Lines = std::vector<std::string>;

class KeeperListsTest : public ::testing::Test {
protected:
    KeeperListsTest() { env.platform.registry = &reg; }

    std::string path() { return env.sandbox.root() + "AddressesKept.dat"; }
    void setText(platform::RootKey root, const std::string& key, const std::string& name,
                 const std::string& value) {
        platform::KeyHolder k(reg, platform::openOrCreateKey(reg, root, key));
        ASSERT_TRUE(platform::writeText(reg, k.get(), name, value));
    }
    Lines sorted(Lines lines) {
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    test::DataTestPlatform env;
    test::ScratchRegistry reg;
};

TEST_F(KeeperListsTest, MissingFileIsAnEmptyListAndASavedListReadsBack) {
    KeeperList list{"stale"};
    EXPECT_EQ(LoadKeptList(env.files, path(), list), selection::ReadStatus::Missing);
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(SaveKeptList(env.files, path(), {"first", "second"}));
    EXPECT_EQ(LoadKeptList(env.files, path(), list), selection::ReadStatus::Ok);
    EXPECT_EQ(list, (Lines{"first", "second"}));
}

TEST_F(KeeperListsTest, AddressCandidatesComeFromBothRootsLessKeptOnesInAnyCase) {
    using platform::RootKey;
    setText(RootKey::CurrentUser, kTypedUrlsKey, "url1", "http://a.example/");
    setText(RootKey::CurrentUser, kTypedUrlsKey, "url2", "http://b.example/");
    setText(RootKey::LocalMachine, kTypedUrlsKey, "url1", "http://a.example/");
    reg.put(kTypedUrlsKey, "url3", platform::kRegDword, std::string(4, '\7'));  // not text: ""
    EXPECT_EQ(sorted(GatherAddressCandidates(env.platform, {})),
              (Lines{"", "http://a.example/", "http://a.example/", "http://b.example/"}));
    EXPECT_EQ(GatherAddressCandidates(env.platform, {"HTTP://A.EXAMPLE/", ""}),
              (Lines{"http://b.example/"}));
}

TEST_F(KeeperListsTest, OpenSaveCandidatesComeFromSubkeysAndSkipTheOrderValue) {
    using platform::RootKey;
    const std::string mru = kOpenSaveMruKey;
    setText(RootKey::CurrentUser, mru, "a", "C:\\directly\\under.txt");
    setText(RootKey::CurrentUser, mru + "\\txt", "a", "C:\\docs\\one.txt");
    setText(RootKey::CurrentUser, mru + "\\txt", "MRUList", "a");
    setText(RootKey::CurrentUser, mru + "\\doc", "b", "C:\\docs\\two.doc");
    setText(RootKey::CurrentUser, mru + "\\doc", "mrulist", "b");
    EXPECT_EQ(sorted(GatherOpenSaveCandidates(env.platform, {})),
              (Lines{"C:\\docs\\one.txt", "C:\\docs\\two.doc"}));
    EXPECT_EQ(GatherOpenSaveCandidates(env.platform, {"c:\\DOCS\\one.txt"}),
              (Lines{"C:\\docs\\two.doc"}));
    EXPECT_EQ(reg.openHandles(), 0u);
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
    EXPECT_EQ(CookieDisplayName("C:name.txt"), "name.txt");
    EXPECT_TRUE(env.sandbox.exists(found[0]) && env.sandbox.exists(found[1]));
    EXPECT_EQ(GatherCookieCandidates(env.platform, {env.platform.system->upperCase(found[0])}),
              (Lines{found[1]}));

    // The same folder named twice lists its files twice.
    env.shellFolders.cookies = env.sandbox.root() + "Win\\Cookies";
    EXPECT_EQ(GatherCookieCandidates(env.platform, {}).size(), 2u);
    // A folder the system cannot name is not listed as "".
    env.shellFolders.cookies = "";
    env.files.windows = env.sandbox.root() + "NoWindows";
    EXPECT_TRUE(GatherCookieCandidates(env.platform, {}).empty());
}
