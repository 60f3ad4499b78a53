#include "settings/keeper_lists.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/scratch_registry.h"
#include "support/fixtures.h"

using namespace cindral;
using namespace cindral::settings;
using Lines = std::vector<std::string>;

class KeeperListsTest : public test::SandboxTest {
protected:
    KeeperListsTest() { platform_.registry = &reg; }

    test::ScratchRegistry reg;
};

TEST_F(KeeperListsTest, RegistryCandidatesLessThoseKeptInAnyCase) {
    // Typed addresses: every value of both roots, texts of other types as "".
    reg.put(kTypedUrlsKey, "url1", platform::kRegSz, "http://a.example/");
    reg.put(kTypedUrlsKey, "url2", platform::kRegSz, "http://b.example/");
    reg.put(std::string("HKLM\\") + kTypedUrlsKey, "url1", platform::kRegSz, "http://a.example/");
    reg.put(kTypedUrlsKey, "url3", platform::kRegDword, std::string(4, '\7'));
    Lines all = GatherAddressCandidates(platform_, {});
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (Lines{"", "http://a.example/", "http://a.example/", "http://b.example/"}));
    EXPECT_EQ(GatherAddressCandidates(platform_, {"HTTP://A.EXAMPLE/", ""}),
              (Lines{"http://b.example/"}));

    // Open/Save history: the values of the subkeys, less their order value.
    const std::string mru = kOpenSaveMruKey;
    reg.put(mru, "a", platform::kRegSz, "C:\\directly\\under.txt");
    reg.put(mru + "\\txt", "a", platform::kRegSz, "C:\\docs\\one.txt");
    reg.put(mru + "\\txt", "MRUList", platform::kRegSz, "a");
    reg.put(mru + "\\doc", "b", platform::kRegSz, "C:\\docs\\two.doc");
    reg.put(mru + "\\doc", "mrulist", platform::kRegSz, "b");
    all = GatherOpenSaveCandidates(platform_, {"c:\\DOCS\\one.txt"});
    EXPECT_EQ(all, (Lines{"C:\\docs\\two.doc"}));
    EXPECT_EQ(GatherOpenSaveCandidates(platform_, {}).size(), 2u);
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST_F(KeeperListsTest, CookieCandidatesAreTxtFilesOfBothFoldersAsFullPaths) {
    const std::string cookies = at("Cookies\\");
    const std::string windows = at("Win\\Cookies");
    write(cookies + "user@a[1].txt", "x");
    write(cookies + "index.dat", "x");
    write(windows + "\\user@b[1].TXT", "x");

    const Lines found = GatherCookieCandidates(platform_, {});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(CookieDisplayName(found[0]), "user@a[1].txt");
    EXPECT_EQ(CookieDisplayName(found[1]), "user@b[1].TXT");
    EXPECT_EQ(CookieDisplayName("C:name.txt"), "name.txt");
    EXPECT_TRUE(files_.fileExists(found[0]) && files_.fileExists(found[1]));
    EXPECT_EQ(GatherCookieCandidates(platform_, {platform_.system->upperCase(found[0])}),
              (Lines{found[1]}));

    // A folder the system cannot name is not listed as "".
    folders_.folders.clear();
    files_.windows = at("NoWindows");
    EXPECT_TRUE(GatherCookieCandidates(platform_, {}).empty());
}

TEST_F(KeeperListsTest, SaveLosesNothingOfAListItCouldNotRead) {
    // Saving a missing or an emptied list is met by keeper_controller_test.
    const std::string path = at("Kept.dat");
    write(path, "a\r\nb\r\n");
    files_.failOn(test::FileOp::Read, path);
    EXPECT_FALSE(SaveKeptList(files_, path, {"c"}));
    EXPECT_EQ(read(path), "a\r\nb\r\n");
    files_.fails = nullptr;

    // The text a NUL hides stays with the entry it was read as (the first of
    // two alike), and the text after a NUL that starts a line stays at the end.
    using namespace std::string_literals;
    write(path, "a\0x\r\nb\r\na\0y\r\nc\0z\r\n\0d\r\ne\r\n"s);
    KeeperList list;
    ASSERT_EQ(LoadKeptList(files_, path, list), selection::ReadStatus::Ok);
    ASSERT_EQ(list, (Lines{"a", "b", "a", "c"}));
    list.erase(list.begin() + 1);
    list.erase(list.begin() + 2);  // "c" goes with its hidden rest
    list.push_back("f");
    ASSERT_TRUE(SaveKeptList(files_, path, list));
    EXPECT_EQ(read(path), "a\0x\r\na\0y\r\nf\r\n\0d\r\ne\r\n"s);
    ASSERT_EQ(LoadKeptList(files_, path, list), selection::ReadStatus::Ok);
    EXPECT_EQ(list, (Lines{"a", "a", "f"}));
}
