#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include "app/run_test_support.h"
#include "engine/builtin_items.h"
#include "engine_test_support.h"

namespace cindral::engine {
namespace {

using test::Lines;

constexpr const char* kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kOpenSaveTxt =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt";
constexpr const char* kOpera = "Software\\Opera Software";
const std::string kFindMru =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU\\1";

class Catalogue : public test::EngineTest {
protected:
    Catalogue() : cookies_(platform_.shellFolders->specialFolder(platform::kCsidlCookies) + "\\") {
        EXPECT_TRUE(box_.makeFolder(cookies_));
        hooked_.beforeRead = [this](const std::string& p) { return p != unreadable_; };
    }
    ~Catalogue() override {
        // These keys are the system's own (under Wine, the prefix's): empty them again.
        platform::Registry& reg = *box_.platform().registry;
        for (const std::string& path :
             {std::string(kTypedUrls), std::string(kOpenSaveTxt), std::string(kOpera), kFindMru}) {
            platform::KeyHolder key(reg, reg.openKey(reg.root(platform::RootKey::CurrentUser), path,
                                                     platform::kKeyAllAccess));
            for (const auto& name : test::valueNames(reg, path)) reg.deleteValue(key.get(), name);
        }
        for (const auto& name : cookieFiles_) box_.platform().files->deleteFile(cookies_ + name);
    }

    void setValue(const char* path, const std::string& name, const std::string& data) {
        test::setText(*platform_.registry, path, name, data);
    }
    Lines values(const char* path) { return test::valueNames(*platform_.registry, path); }
    void cookie(const std::string& name) {
        cookieFiles_.push_back(name);
        ASSERT_TRUE(box_.writeFile(cookies_ + name, "c"));
    }
    void perform(int position, bool erase) {
        run_.Erase = erase;
        run_.LinePrefix = erase ? "" : "Test Mode: ";
        run_.KeeperMode = kKeeperNone;  // the run sets it before each item
        view_.lines.clear();
        const CatalogueFiles files{at(kAddresses), at(kCookies), at(kOpenSave), at("scan")};
        PerformBuiltInItem(ctx_, fakes_.services, files, BuiltInItems()[position - 1]);
    }

    static constexpr const char* kAddresses = "addresses.txt";
    static constexpr const char* kCookies = "cookies.txt";
    static constexpr const char* kOpenSave = "opensave.txt";
    cindral::test::FakeServices fakes_;
    const std::string cookies_;
    std::string unreadable_;
    Lines cookieFiles_;
};

TEST_F(Catalogue, KeeperListsProtectAddressesAndCookiesInAnyLetterCase) {
    setValue(kTypedUrls, "url1", "alpha.example");
    setValue(kTypedUrls, "url2", "beta.example");
    file(kAddresses, "ALPHA.EXAMPLE\r\n");
    perform(1, true);
    EXPECT_EQ(run_.KeeperMode, kKeeperAddresses);
    EXPECT_EQ(values(kTypedUrls), Lines{"url1"});

    // Cookies are kept by full path; the folder a macro stands for keeps its own case.
    cookie("keep@site.txt");
    cookie("drop@site.txt");
    file(kCookies, platform_.system->lowerCase(cookies_ + "keep@site.txt") + "\r\n");
    perform(2, true);
    const std::string removing = "Removing File: " + cookies_;
    EXPECT_EQ(test::sorted(view_.lines),
              (Lines{removing + "drop@site.txt <OK>", removing + "keep@site.txt <SKIPPED>"}));
    EXPECT_TRUE(box_.exists(cookies_ + "keep@site.txt"));

    // Without a list every address goes.
    ASSERT_TRUE(box_.platform().files->deleteFile(at(kAddresses)));
    perform(1, true);
    EXPECT_TRUE(values(kTypedUrls).empty());
}

TEST_F(Catalogue, FindDialogHistoryIsEmptiedUnderItsWindowsKeyName) {
    setValue(kFindMru.c_str(), "a", "secret words");
    perform(7, true);
    EXPECT_EQ(values(kFindMru.c_str()), Lines{});
    EXPECT_EQ(run_.counters.DeletedRegistryEntries, 1);
}

TEST_F(Catalogue, AnUnreadableKeeperFileStopsItsItemBeforeItTouchesAnything) {
    setValue(kTypedUrls, "url1", "alpha.example");
    setValue(kOpenSaveTxt, "a", "C:\\kept.txt");
    cookie("user@site.txt");
    for (const auto& [position, name] : {std::pair{1, kAddresses}, {2, kCookies}, {6, kOpenSave}}) {
        SCOPED_TRACE(position);
        file(name, "anything\r\n");
        unreadable_ = at(name);
        perform(position, true);
        EXPECT_EQ(view_.lines, Lines{"Keeper list cannot be read: " + at(name) + " <SKIPPED>"});
        EXPECT_EQ(run_.counters.FoundRegistryEntries + run_.counters.DeletedRegistryEntries +
                      run_.counters.JunkFileCount,
                  0);
    }
    EXPECT_EQ(values(kTypedUrls), Lines{"url1"});
    EXPECT_EQ(values(kOpenSaveTxt), Lines{"a"});
    EXPECT_TRUE(box_.exists(cookies_ + "user@site.txt"));
}

TEST_F(Catalogue, RecycleBinCountsWhatATestRunFindsAndOnlyWhatEmptyingReleased) {
    fakes_.bin.contents = {3, 15000};
    perform(11, false);
    EXPECT_EQ(fakes_.bin.emptied, 0);
    perform(11, true);
    EXPECT_EQ(view_.lines, Lines{"Emptying Recycle Bin: 3 items <OK>"});
    EXPECT_EQ(run_.counters.JunkByteCount, 30000);  // the test run's count and the clean run's

    run_.counters = {};
    fakes_.bin.contents = {2, 10};
    fakes_.bin.emptyOk = false;
    perform(11, true);
    EXPECT_EQ(view_.lines, Lines{"Emptying Recycle Bin: 2 items <USED>"});
    EXPECT_EQ(run_.counters.JunkFileCount + run_.counters.JunkByteCount, 0);

    // A failed query or an empty bin: nothing to empty, nothing said.
    const int calls = fakes_.bin.emptied;
    fakes_.bin.queryOk = false;
    perform(11, true);
    fakes_.bin.queryOk = true;
    fakes_.bin.contents = {};
    perform(11, true);
    EXPECT_EQ(fakes_.bin.emptied, calls);
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(Catalogue, OperaFolderComesFromLastDirectoryAndMayHoldAnAmpersand) {
    EXPECT_EQ(OperaFolder(platform_), "C:\\Program Files\\Opera\\");
    setValue(kOpera, "Last Directory", "  D:\\Opera7 ");
    EXPECT_EQ(OperaFolder(platform_), "D:\\Opera7\\");
    const std::string folder = box_.root() + "Op&era..7";
    setValue(kOpera, "Last Directory", folder);
    for (const char* name : {"opera.dir", "global.dat", "vlink4.dat", "other.dat"})
        file(std::string("Op&era..7\\") + name);
    perform(17, false);
    const std::string shown =
        "Test Mode: Removing File: " + platform_.system->upperCase(folder + "\\");
    EXPECT_EQ(view_.lines, (Lines{shown + "global.dat <OK>", shown + "vlink4.dat <OK>",
                                  shown + "opera.dir <OK>"}));
}

}  // namespace
}  // namespace cindral::engine
