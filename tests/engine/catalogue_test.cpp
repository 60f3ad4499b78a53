#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include "app/run_test_support.h"
#include "engine_test_support.h"

namespace cindral::engine {
namespace {

using test::Lines;

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

class Catalogue : public cindral::test::HomeFixture {
protected:
    Catalogue() : files_(*box_.platform().files), ctx_{platform_, run_, view_, store_} {
        platform_.files = &files_;
        cookies_ = platform_.shellFolders->specialFolder(platform::kCsidlCookies) + "\\";
        EXPECT_TRUE(box_.makeFolder(cookies_));
    }
    ~Catalogue() override {
        // These keys are the system's own (under Wine, the prefix's): empty them again.
        platform::Registry& reg = *box_.platform().registry;
        for (const char* path : {kTypedUrls, kOpenSaveTxt, kOpera}) {
            platform::KeyHolder key(reg, reg.openKey(reg.root(platform::RootKey::CurrentUser), path,
                                                     platform::kKeyAllAccess));
            for (const auto& name : test::valueNames(reg, path)) reg.deleteValue(key.get(), name);
        }
        for (const auto& name : cookieFiles_) box_.platform().files->deleteFile(cookies_ + name);
    }

    void setValue(const char* path, const std::string& name, const std::string& data) {
        test::setText(*box_.platform().registry, path, name, data);
    }
    Lines values(const char* path) { return test::valueNames(*box_.platform().registry, path); }
    void cookie(const std::string& name) {
        cookieFiles_.push_back(name);
        ASSERT_TRUE(box_.writeFile(cookies_ + name, "c"));
    }
    void perform(int position, bool erase) {
        run_.Erase = erase;
        run_.LinePrefix = erase ? "" : "Test Mode: ";
        run_.KeeperMode = kKeeperNone;  // the run sets it before each item
        view_.lines.clear();
        const CatalogueFiles files{paths_.addressesKept, paths_.cookieKept, paths_.openSaveKept,
                                   paths_.driveScan};
        PerformBuiltInItem(ctx_, fakes_.services, files, position);
    }

    UnreadableFile files_;
    RunState run_;
    test::RecordingView view_;
    EngineContext ctx_;
    std::string cookies_;
    Lines cookieFiles_;
};

TEST_F(Catalogue, KeeperListsProtectAddressesCookiesAndOpenSaveDataInAnyLetterCase) {
    setValue(kTypedUrls, "url1", "alpha.example");
    setValue(kTypedUrls, "url2", "beta.example");
    write(paths_.addressesKept, "ALPHA.EXAMPLE\r\n");
    perform(1, true);
    EXPECT_EQ(run_.KeeperMode, kKeeperAddresses);
    EXPECT_EQ(values(kTypedUrls), Lines{"url1"});

    // Cookies are kept by full path; the folder a macro stands for keeps its own case.
    cookie("keep@site.txt");
    cookie("drop@site.txt");
    write(paths_.cookieKept, platform_.system->lowerCase(cookies_ + "keep@site.txt") + "\r\n");
    perform(2, true);
    EXPECT_EQ(test::sorted(view_.lines), (Lines{"Removing File: " + cookies_ + "drop@site.txt <OK>",
                                                "Removing File: " + cookies_ + "keep@site.txt <SKIPPED>"}));
    EXPECT_TRUE(box_.exists(cookies_ + "keep@site.txt"));

    setValue(kOpenSaveTxt, "a", "C:\\kept.txt");
    setValue(kOpenSaveTxt, "b", "C:\\gone.txt");
    write(paths_.openSaveKept, "c:\\KEPT.txt\r\n");
    perform(6, true);
    EXPECT_EQ(values(kOpenSaveTxt), Lines{"a"});

    // Without a list every address goes.
    ASSERT_TRUE(box_.platform().files->deleteFile(paths_.addressesKept));
    perform(1, true);
    EXPECT_TRUE(values(kTypedUrls).empty());
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
        EXPECT_EQ(view_.lines, Lines{"Keeper list cannot be read: " + path + " <SKIPPED>"});
        EXPECT_EQ(run_.FoundRegistryEntries + run_.DeletedRegistryEntries + run_.JunkFileCount, 0);
    }
    EXPECT_EQ(values(kTypedUrls), Lines{"url1"});
    EXPECT_EQ(values(kOpenSaveTxt), Lines{"a"});
    EXPECT_TRUE(box_.exists(cookies_ + "user@site.txt"));
}

TEST_F(Catalogue, RecycleBinCountsWhatATestRunFindsAndOnlyWhatEmptyingReleased) {
    fakes_.bin.contents = {3, 15000};
    perform(11, false);
    EXPECT_TRUE(view_.lines.empty());
    EXPECT_EQ(fakes_.bin.emptied, 0);
    perform(11, true);
    EXPECT_EQ(view_.lines, Lines{"Emptying Recycle Bin: 3 items <OK>"});
    EXPECT_EQ(run_.JunkFileCount, 6);
    EXPECT_EQ(run_.JunkByteCount, 30000);

    run_.zeroCounters();
    fakes_.bin.contents = {2, 10};
    fakes_.bin.emptyOk = false;
    perform(11, true);
    EXPECT_EQ(view_.lines, Lines{"Emptying Recycle Bin: 2 items <USED>"});
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

TEST_F(Catalogue, OperaFolderComesFromLastDirectoryAndMayHoldAnAmpersand) {
    EXPECT_EQ(OperaFolder(platform_), "C:\\Program Files\\Opera\\");
    for (const char* stored : {"  D:\\Opera7 ", "D:\\Opera7\\"}) {
        setValue(kOpera, "Last Directory", stored);
        EXPECT_EQ(OperaFolder(platform_), "D:\\Opera7\\") << stored;
    }
    const std::string folder = box_.root() + "Op&era..7";
    setValue(kOpera, "Last Directory", folder);
    for (const char* name : {"opera.dir", "global.dat", "vlink4.dat", "other.dat"})
        file(std::string("Op&era..7\\") + name);
    perform(17, false);
    const std::string shown = "Test Mode: Removing File: " + platform_.system->upperCase(folder + "\\");
    EXPECT_EQ(view_.lines,
              (Lines{shown + "global.dat <OK>", shown + "vlink4.dat <OK>", shown + "opera.dir <OK>"}));
}

}  // namespace
}  // namespace cindral::engine
