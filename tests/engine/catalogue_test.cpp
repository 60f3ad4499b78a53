#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/builtin_items.h"
#include "engine_test_support.h"

namespace cindral::engine {
namespace {

using test::Lines;

constexpr const char* kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kOpenSaveTxt =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\txt";
constexpr const char* kOpera = "Software\\Opera Software";
constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
// Keys of the system's own that the item table below fills.
const Lines kItemKeys = {"Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW",
                         "Software\\Microsoft\\Search Assistant\\ACMru\\5603\\1",
                         std::string(kExplorer) + "Doc Find Spec MRU\\1",
                         std::string(kExplorer) + "RunMRU"};

class Catalogue : public test::EngineTest {
protected:
    Catalogue() : cookies_(at("Cookies\\")) { box_.holdSystemKeys(); }
    ~Catalogue() override {
        // These keys are the system's own (under Wine, the prefix's): empty them again.
        platform::Registry& reg = *box_.platform().registry;
        Lines keys = kItemKeys;
        keys.insert(keys.end(), {kTypedUrls, kOpenSaveTxt, kOpera});
        for (const std::string& path : keys) {
            platform::KeyHolder key(reg, reg.openKey(reg.root(platform::RootKey::CurrentUser), path,
                                                     platform::kKeyAllAccess));
            for (const auto& name : regValues(path)) reg.deleteValue(key.get(), name);
        }
    }

    void cookie(const std::string& name) { file("Cookies\\" + name); }
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
    const std::string cookies_;
};

// What each item finds in a test run and removes in a clean run: files below
// the sandbox root, and registry values ("key|name" below HKEY_CURRENT_USER).
TEST_F(Catalogue, ItemsRemoveWhatTheyNameAndNothingBeside) {
    setRegText(kOpera, "Last Directory", box_.root() + "Opera");
    file("scan", "*.tmp\r\n");
    run_.FixedDrives = {at("Drive\\")};
    const std::string netscape = "AppData\\Mozilla\\Profiles\\Default\\";
    const struct {
        int position;
        Lines gone, kept;
    } cases[] = {
        {2, {"Cookies\\a.txt", "Win\\Cookies\\s\\b.txt"}, {}},
        {3,
         {"Win\\History\\a", "Win\\History\\s\\b", "Win\\Temporary Internet Files\\c",
          "Cache\\content.ie5\\s\\d"},
         {"Cache\\e", "Win\\f"}},
        {5, {kItemKeys[0] + "|a"}, {}},
        {7, {kItemKeys[1] + "|a", kItemKeys[2] + "|b"}, {}},
        {8, {"Recent\\a.lnk", "Recent\\s\\b.lnk"}, {"AppData\\a.lnk"}},
        {9, {kItemKeys[3] + "|a"}, {}},
        // The temp folder's top level only; below the Windows Temp folder everything.
        {10, {"Temp\\a.tmp", "Win\\Temp\\b", "Win\\Temp\\s\\c"}, {"Temp\\s\\d.tmp"}},
        {13, {netscape + "localstore.rdf", netscape + "p\\localstore.rdf"}, {netscape + "x.rdf"}},
        {14, {netscape + "cookies.txt", netscape + "p\\cookies.txt"}, {netscape + "cookies.dat"}},
        // The first folder called Cache below the profile, walked whole.
        {15, {netscape + "p\\Cache\\a", netscape + "p\\Cache\\s\\b"}, {netscape + "p\\x\\c"}},
        {16, {netscape + "history.dat", netscape + "p\\history.dat"}, {netscape + "history.bak"}},
        {18, {"Opera\\cookies4.dat"}, {"Opera\\cookies4.bak"}},
        {19, {"Opera\\Cache4\\a"}, {"Opera\\Cache4\\s\\b", "Opera\\c"}},
        {24, {"Drive\\a.tmp", "Drive\\s\\b.tmp"}, {"Drive\\c.txt"}},
    };
    auto present = [&](const std::string& thing) {
        const auto bar = thing.find('|');
        if (bar == std::string::npos) return exists(thing);
        const Lines names = regValues(thing.substr(0, bar).c_str());
        return std::count(names.begin(), names.end(), thing.substr(bar + 1)) > 0;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(BuiltInItems()[c.position - 1].name);
        for (const Lines* things : {&c.gone, &c.kept}) {
            for (const auto& thing : *things) {
                const auto bar = thing.find('|');
                if (bar == std::string::npos)
                    file(thing);
                else
                    setRegText(thing.substr(0, bar).c_str(), thing.substr(bar + 1), "x");
            }
        }
        run_.counters = {};
        perform(c.position, false);
        const engine::RunCounters& n = run_.counters;
        EXPECT_EQ(n.JunkFileCount + n.FoundRegistryEntries, std::int64_t(c.gone.size()));
        perform(c.position, true);
        for (const auto& thing : c.gone) EXPECT_FALSE(present(thing)) << thing;
        for (const auto& thing : c.kept) EXPECT_TRUE(present(thing)) << thing;
    }
}

TEST_F(Catalogue, IndexDatAndClipboardChangeTheSystemOnlyInACleanRun) {
    Lines& calls = fakes_.calls;
    files_.fails = [&](cindral::test::FileOp op, const std::string&) {
        if (op == cindral::test::FileOp::Delete) calls.push_back("file");
        return false;
    };
    file("History\\History.IE5\\index.dat");
    perform(4, false);
    perform(12, false);
    EXPECT_TRUE(calls.empty());
    perform(4, true);
    perform(12, true);
    EXPECT_EQ(calls, (Lines{"file", "cache", "history", "clipboard"}));
}

TEST_F(Catalogue, KeeperListsProtectEntriesInAnyLetterCaseAndAnUnreadableOneStopsItsItem) {
    setRegText(kTypedUrls, "url1", "alpha.example");
    setRegText(kTypedUrls, "url2", "beta.example");
    setRegText(kTypedUrls, "url3", "gamma.example");
    setRegText(kOpenSaveTxt, "a", "C:\\Kept.txt");
    setRegText(kOpenSaveTxt, "b", "C:\\other.txt");
    cookie("keep@site.txt");
    cookie("drop@site.txt");
    for (const auto& [position, name] : {std::pair{1, kAddresses}, {2, kCookies}, {6, kOpenSave}}) {
        SCOPED_TRACE(position);  // the item stops before it touches anything
        file(name, "anything\r\n");
        files_.failOn(cindral::test::FileOp::Read, at(name));
        perform(position, true);
        EXPECT_EQ(view_.lines, Lines{"Keeper list cannot be read: " + at(name) + " <SKIPPED>"});
        EXPECT_EQ(run_.counters.FoundRegistryEntries + run_.counters.DeletedRegistryEntries +
                      run_.counters.JunkFileCount,
                  0);
    }
    EXPECT_EQ(regValues(kTypedUrls), (Lines{"url1", "url2", "url3"}));
    EXPECT_EQ(regValues(kOpenSaveTxt), (Lines{"a", "b"}));
    EXPECT_TRUE(box_.exists(cookies_ + "drop@site.txt"));
    files_.fails = nullptr;

    file(kAddresses, "ALPHA.EXAMPLE\ngamma.example\n");  // LF line ends keep each entry
    perform(1, true);
    EXPECT_EQ(regValues(kTypedUrls), (Lines{"url1", "url3"}));
    // An entry after a NUL is one the Keeper dialog shows as kept.
    const char openSaveKept[] = "note\0\r\nc:\\KEPT.TXT\r\n";
    file(kOpenSave, std::string(openSaveKept, sizeof openSaveKept - 1));
    perform(6, true);
    EXPECT_EQ(regValues(kOpenSaveTxt), Lines{"a"});

    // Cookies are kept by full path; the folder a macro stands for keeps its own case.
    file(kCookies, platform_.system->lowerCase(cookies_ + "keep@site.txt") + "\r\n");
    perform(2, true);
    const std::string removing = "Removing File: " + cookies_;
    EXPECT_EQ(test::sorted(view_.lines),
              (Lines{removing + "drop@site.txt <OK>", removing + "keep@site.txt <SKIPPED>"}));
    EXPECT_TRUE(box_.exists(cookies_ + "keep@site.txt"));
    EXPECT_FALSE(box_.exists(cookies_ + "drop@site.txt"));
}

#ifdef _WIN32
// A list written before the program's names became UTF-8 holds the legacy
// code page (1252 in the test prefix): its kept cookie is still kept.
TEST_F(Catalogue, ACookieKeptInTheLegacyCodePageIsStillKept) {
    cookie("user@caf\xC3\xA9[1].txt");
    cookie("other@caf\xC3\xA9[1].txt");
    file(kCookies, platform_.system->lowerCase(cookies_) + "user@caf\xE9[1].txt\r\n");
    perform(2, true);
    EXPECT_TRUE(box_.exists(cookies_ + "user@caf\xC3\xA9[1].txt"));
    EXPECT_FALSE(box_.exists(cookies_ + "other@caf\xC3\xA9[1].txt"));
}
#endif

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
}

TEST_F(Catalogue, OperaFolderComesFromLastDirectoryAndMayHoldAnAmpersand) {
    const std::string folder = box_.root() + "Op&era..7";
    setRegText(kOpera, "Last Directory", folder);
    for (const char* name : {"opera.dir", "global.dat", "vlink4.dat", "other.dat"})
        file(std::string("Op&era..7\\") + name);
    perform(17, false);
    const std::string shown =
        "Test Mode: Removing File: " + platform_.system->upperCase(folder + "\\");
    EXPECT_EQ(view_.lines, (Lines{shown + "global.dat <OK>", shown + "vlink4.dat <OK>",
                                  shown + "opera.dir <OK>"}));
}

// The names are the keys of "SelItems.dat": a changed name loses the user's
// stored choice; each is shown after its category digit, the row's resting
// icon. Every check box of the dialog stands for one item.
TEST(BuiltInItems, NamesAreTheStoredKeysAndEachCheckBoxHasOneItem) {
    std::string names;
    for (const BuiltInItem& item : BuiltInItems()) {
        names += std::to_string(item.digit) + item.name + "|";
        const int at = FindBuiltInItem(item.name);
        EXPECT_EQ(&BuiltInItems().at(at - 1), &item);
        // The five Internet Explorer items lead the catalogue but follow the
        // seven Windows boxes in the dialog; the rest share their number.
        EXPECT_EQ(item.checkBox, at <= 5 ? at + 7 : at <= 12 ? at - 5 : at) << item.name;
        EXPECT_EQ(ItemsInDialogOrder().at(item.checkBox - 1), &item) << item.name;
    }
    EXPECT_EQ(names,
              "0IE Address Drop-Down List|0IE Cookies|0IE Cache (Temporary Internet Files)|"
              "0Index.dat File|0IE Autocomplete Forms and Passwords|"
              "1Windows Open/Save Dialog History|1Windows Search History|"
              "1Windows Recent Documents|1Windows Run History|1Windows Temp Folder|"
              "2Windows Recycle Bin|1Clipboard|5Netscape Address Drop-Down List|"
              "5Netscape Cookies|5Netscape Cache|5Netscape History Files|"
              "6Opera Address Drop-Down List|6Opera Cookies|6Opera Cache|"
              "7AOL Address Drop-Down List|7AOL Cookies|7AOL Cache|7AOL History Files|"
              "8Drive Scan with Mask|");
    // The caption beside each box, CB1 first: a caption on another item's box
    // has the user switch off one trace and erase another.
    std::string captions;
    for (const BuiltInItem* item : ItemsInDialogOrder())
        captions += std::string(item->caption) + "|";
    EXPECT_EQ(captions,
              "Windows Open/Save Dialog History|Windows Search History|Windows Recent Documents|"
              "Windows Run History|Windows Temp Folder|Windows Recycle Bin|Clipboard|"
              "Address Drop-Down List|Cookies|Cache (Temporary Internet Files)|Index.dat File|"
              "Autocomplete Forms and Passwords|Address Drop-Down List|Cookies|"
              "Cache (Temporary Internet Files)|History Files|Address Drop-Down List|Cookies|"
              "Cache and History|Address Drop-Down List|Cookies|Cache (Temporary Internet Files)|"
              "Internet History Files|Enable Drive Scanning|");
}

}  // namespace
}  // namespace cindral::engine
