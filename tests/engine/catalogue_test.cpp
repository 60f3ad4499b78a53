#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/run_test_support.h"
#include "engine_test_support.h"

namespace cindral::engine {
namespace {

// Reading one file fails although it exists (locked, no permission).
class UnreadableFile : public test::FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    std::string path;
    bool readFile(const std::string& p, std::string& b) override {
        return p != path && inner_.readFile(p, b);
    }
};

constexpr const char* kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kOpenSaveTxt =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt";
constexpr const char* kOpera = "Software\\Opera Software";
constexpr const char* kAcMru = "Software\\Microsoft\\Search Assistant\\ACMru\\5603\\sub";
constexpr const char* kDocFind =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU\\sub";

class Catalogue : public cindral::test::HomeFixture {
protected:
    Catalogue() : files_(*box_.platform().files), ctx_{platform_, run_, view_, store_} {
        platform_.files = &files_;
        catalogueFiles_ = {paths_.addressesKept, paths_.cookieKept, paths_.openSaveKept,
                           paths_.driveScan};
        cookies_ = platform_.shellFolders->specialFolder(platform::kCsidlCookies) + "\\";
    }
    ~Catalogue() override {
        // These keys are the system's own (under Wine, the prefix's): empty them again.
        platform::Registry& reg = *box_.platform().registry;
        for (const char* path : {kTypedUrls, kOpenSaveTxt, kOpera, kAcMru, kDocFind}) {
            platform::KeyHolder key(reg, reg.openKey(reg.root(platform::RootKey::CurrentUser), path,
                                                     platform::kKeyAllAccess));
            std::vector<std::string> names;
            if (key) reg.valueNames(key.get(), names);
            for (const auto& n : names) reg.deleteValue(key.get(), n);
        }
        for (const auto& path : cookieFiles_) box_.platform().files->deleteFile(cookies_ + path);
    }

    void setValue(const std::string& path, const std::string& name, const std::string& data) {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder key(reg, platform::openOrCreateKey(reg, platform::RootKey::CurrentUser, path));
        ASSERT_TRUE(key);
        ASSERT_TRUE(platform::writeText(reg, key.get(), name, data));
    }
    bool hasValue(const std::string& path, const std::string& name) {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder key(reg, platform::openKeyForReading(reg, platform::RootKey::CurrentUser, path));
        return key && platform::valueExists(reg, key.get(), name);
    }
    void cookie(const std::string& name) {
        cookieFiles_.push_back(name);
        ASSERT_TRUE(box_.makeFolder(cookies_));
        ASSERT_TRUE(box_.writeFile(cookies_ + name, "c"));
    }
    void perform(int position, bool erase) {
        run_.Erase = erase;
        run_.LinePrefix = erase ? "" : "Test Mode: ";
        run_.KeeperMode = kKeeperNone;
        view_.lines.clear();
        PerformBuiltInItem(ctx_, fakes_.services, catalogueFiles_, position);
    }
    bool logged(const std::string& line) const {
        return std::find(view_.lines.begin(), view_.lines.end(), line) != view_.lines.end();
    }

    UnreadableFile files_;
    RunState run_;
    test::RecordingView view_;
    EngineContext ctx_;
    CatalogueFiles catalogueFiles_;
    std::string cookies_;
    std::vector<std::string> cookieFiles_;
};

TEST_F(Catalogue, TypedAddressesKeepTheListedOnesInAnyLetterCase) {
    setValue(kTypedUrls, "url1", "alpha.example");
    setValue(kTypedUrls, "url2", "beta.example");
    write(paths_.addressesKept, "ALPHA.EXAMPLE\r\n");
    perform(1, false);
    EXPECT_TRUE(logged("Test Mode: Cleaning Registry Value: alpha.example <SKIPPED>"));
    EXPECT_TRUE(logged("Test Mode: Cleaning Registry Value: beta.example <OK>"));
    EXPECT_EQ(run_.FoundRegistryEntries, 1);
    perform(1, true);
    EXPECT_EQ(run_.KeeperMode, kKeeperAddresses);
    EXPECT_TRUE(hasValue(kTypedUrls, "url1"));
    EXPECT_FALSE(hasValue(kTypedUrls, "url2"));

    // Without a list every address goes.
    ASSERT_TRUE(box_.platform().files->deleteFile(paths_.addressesKept));
    perform(1, true);
    EXPECT_EQ(run_.KeeperMode, kKeeperNone);
    EXPECT_FALSE(hasValue(kTypedUrls, "url1"));
}

TEST_F(Catalogue, AnUnreadableKeeperFileStopsItsItemBeforeItTouchesAnything) {
    setValue(kTypedUrls, "url1", "alpha.example");
    setValue(kOpenSaveTxt, "a", "C:\\kept.txt");
    cookie("user@site.txt");
    for (const auto& [position, path] : std::vector<std::pair<int, std::string>>{
             {1, paths_.addressesKept}, {2, paths_.cookieKept}, {6, paths_.openSaveKept}}) {
        SCOPED_TRACE(position);
        write(path, "anything\r\n");
        files_.path = path;
        perform(position, true);
        EXPECT_EQ(view_.lines, std::vector<std::string>{"Keeper list cannot be read: " + path +
                                                        " <SKIPPED>"});
        EXPECT_EQ(run_.FoundRegistryEntries + run_.DeletedRegistryEntries + run_.JunkFileCount, 0);
    }
    EXPECT_TRUE(hasValue(kTypedUrls, "url1"));
    EXPECT_TRUE(hasValue(kOpenSaveTxt, "a"));
    EXPECT_TRUE(box_.exists(cookies_ + "user@site.txt"));
}

TEST_F(Catalogue, CookieKeeperProtectsByFullPathInAnyLetterCase) {
    cookie("keep@site.txt");
    cookie("drop@site.txt");
    write(paths_.cookieKept, platform_.system->lowerCase(cookies_ + "keep@site.txt") + "\r\n");
    perform(2, true);
    EXPECT_EQ(run_.KeeperMode, kKeeperCookies);
    EXPECT_TRUE(box_.exists(cookies_ + "keep@site.txt"));
    EXPECT_FALSE(box_.exists(cookies_ + "drop@site.txt"));
    // The folder a macro stands for keeps its own letter case.
    EXPECT_TRUE(logged("Removing File: " + cookies_ + "keep@site.txt <SKIPPED>"));
    EXPECT_TRUE(logged("Removing File: " + cookies_ + "drop@site.txt <OK>"));
}

TEST_F(Catalogue, OpenSaveHistoryKeepsListedData) {
    setValue(kOpenSaveTxt, "a", "C:\\kept.txt");
    setValue(kOpenSaveTxt, "b", "C:\\gone.txt");
    write(paths_.openSaveKept, "c:\\KEPT.txt\r\n");
    perform(6, true);
    EXPECT_EQ(run_.KeeperMode, kKeeperOpenSave);
    EXPECT_TRUE(hasValue(kOpenSaveTxt, "a"));
    EXPECT_FALSE(hasValue(kOpenSaveTxt, "b"));
}

TEST_F(Catalogue, SearchHistoryCountsBothKeysOnce) {
    setValue(kAcMru, "000", "words");
    setValue(kDocFind, "a", "*.doc");
    perform(7, false);
    EXPECT_EQ(run_.FoundRegistryEntries, 2);
    EXPECT_TRUE(logged("Test Mode: Cleaning Registry Value: words <OK>"));
    EXPECT_TRUE(logged("Test Mode: Cleaning Registry Value: *.doc <OK>"));
}

TEST_F(Catalogue, RecycleBinCountsWhatATestRunFindsAndOnlyWhatEmptyingReleased) {
    fakes_.bin.contents = {3, 15000};
    perform(11, false);
    EXPECT_TRUE(view_.lines.empty());
    EXPECT_EQ(fakes_.bin.emptied, 0);
    perform(11, true);
    EXPECT_EQ(view_.lines, std::vector<std::string>{"Emptying Recycle Bin: 3 items <OK>"});
    EXPECT_EQ(run_.JunkFileCount, 6);
    EXPECT_EQ(run_.JunkByteCount, 30000);

    run_.zeroCounters();
    fakes_.bin.contents = {2, 10};
    fakes_.bin.emptyOk = false;
    perform(11, true);
    EXPECT_EQ(view_.lines, std::vector<std::string>{"Emptying Recycle Bin: 2 items <USED>"});
    EXPECT_EQ(run_.JunkFileCount + run_.JunkByteCount, 0);

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

TEST_F(Catalogue, ClipboardAndUrlCacheAreTouchedOnlyByACleanRun) {
    perform(12, false);
    perform(4, false);
    EXPECT_EQ(fakes_.clipboard.emptied + fakes_.urlCache.cacheCleared + fakes_.urlCache.historyCleared, 0);
    perform(12, true);
    perform(4, true);
    EXPECT_EQ(fakes_.clipboard.emptied, 1);
    EXPECT_EQ(fakes_.urlCache.cacheCleared, 1);
    EXPECT_EQ(fakes_.urlCache.historyCleared, 1);
}

TEST_F(Catalogue, OperaFolderComesFromLastDirectoryTrimmedWithATrailingBackslash) {
    EXPECT_EQ(OperaFolder(platform_), "C:\\Program Files\\Opera\\");
    for (const char* stored : {"  D:\\Opera7 ", "D:\\Opera7\\"}) {
        setValue(kOpera, "Last Directory", stored);
        EXPECT_EQ(OperaFolder(platform_), "D:\\Opera7\\") << stored;
    }
    // Its three address files are found even in a folder named with "&" and "..".
    const std::string folder = box_.root() + "Op&era..7";
    setValue(kOpera, "Last Directory", folder);
    for (const char* name : {"opera.dir", "global.dat", "vlink4.dat", "other.dat"})
        file(std::string("Op&era..7\\") + name);
    perform(17, false);
    const std::string shown = "Test Mode: Removing File: " + platform_.system->upperCase(folder + "\\");
    EXPECT_EQ(view_.lines, (std::vector<std::string>{shown + "global.dat <OK>", shown + "vlink4.dat <OK>",
                                                     shown + "opera.dir <OK>"}));
    perform(19, true);  // no Cache4 folder: nothing
    EXPECT_TRUE(exists("Op&era..7\\global.dat"));
}

TEST_F(Catalogue, AolItemsAndUnknownPositionsDoNothingAndAnEmptyDriveScanSaysSo) {
    for (int position : {20, 21, 22, 23, 0, 25}) {
        perform(position, true);
        EXPECT_TRUE(view_.lines.empty()) << position;
    }
    EXPECT_EQ(run_.JunkFileCount + run_.FoundRegistryEntries + run_.DeletedRegistryEntries, 0);
    EXPECT_EQ(fakes_.bin.emptied + fakes_.clipboard.emptied, 0);
    run_.FixedDrives = {};
    perform(24, false);
    EXPECT_EQ(view_.lines, std::vector<std::string>{"Test Mode: Mask list is empty. <SKIPPED>"});
}

}  // namespace
}  // namespace cindral::engine
