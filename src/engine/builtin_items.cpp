#include "engine/builtin_items.h"

#include <algorithm>

namespace cindral::engine {
namespace {

constexpr const char* kTypedUrlsUser =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs,OnlyValues,none";
constexpr const char* kTypedUrlsMachine =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer\\TypedURLs,OnlyValues,none";
constexpr const char* kIntelliForms =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW,OnlyValues,none";
constexpr const char* kOpenSaveMru =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\"
    "OpenSaveMRU,AllValues,none";
constexpr const char* kSearchAssistant =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Search Assistant\\ACMru\\5603,AllValues,none";
// The Find dialog's history of search terms.
constexpr const char* kFindDialogMru =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
    "Doc Find Spec MRU,AllValues,none";
constexpr const char* kRunMru =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU,"
    "OnlyValues,none";

constexpr ItemAction registry(ItemTexts entries, int keeperMode = kKeeperNone) {
    return {keeperMode, entries, {}, {}, ItemService::None};
}
constexpr ItemAction files(ItemTexts templates, int keeperMode = kKeeperNone,
                           ItemService then = ItemService::None) {
    return {keeperMode, {}, templates, {}, then};
}
constexpr ItemAction opera(ItemTexts names) {
    return {kKeeperNone, {}, {}, names, ItemService::None};
}
constexpr ItemAction service(ItemService s) { return {kKeeperNone, {}, {}, {}, s}; }
constexpr ItemAction nothing() { return service(ItemService::None); }

using G = ItemGroup;

// "Clipboard" keeps the Windows digit although it follows the recycle bin.
const std::array<BuiltInItem, kBuiltInItemCount> kItems = {{
    {"IE Address Drop-Down List", 0, 8, G::InternetExplorer, "Address Drop-Down List",
     registry({kTypedUrlsUser, kTypedUrlsMachine}, kKeeperAddresses)},
    {"IE Cookies", 0, 9, G::InternetExplorer, "Cookies",
     files({"%COOKIE%\\*?", "%WINDOWS%\\Cookies\\*?"}, kKeeperCookies)},
    {"IE Cache (Temporary Internet Files)", 0, 10, G::InternetExplorer,
     "Cache (Temporary Internet Files)",
     files({"%WINDOWS%\\History\\*?", "%WINDOWS%\\Temporary Internet Files\\*?",
            "%CACHE%\\content.ie5\\*?"})},
    {"Index.dat File", 0, 11, G::InternetExplorer, "Index.dat File",
     files({"%HISTORY%\\History.IE5\\*?"}, kKeeperNone, ItemService::UrlCacheAndHistory)},
    {"IE Autocomplete Forms and Passwords", 0, 12, G::InternetExplorer,
     "Autocomplete Forms and Passwords", registry({kIntelliForms})},
    {"Windows Open/Save Dialog History", 1, 1, G::Windows, "Windows Open/Save Dialog History",
     registry({kOpenSaveMru}, kKeeperOpenSave)},
    {"Windows Search History", 1, 2, G::Windows, "Windows Search History",
     registry({kSearchAssistant, kFindDialogMru})},
    {"Windows Recent Documents", 1, 3, G::Windows, "Windows Recent Documents",
     files({"%RECENT%\\*?"})},
    {"Windows Run History", 1, 4, G::Windows, "Windows Run History", registry({kRunMru})},
    {"Windows Temp Folder", 1, 5, G::Windows, "Windows Temp Folder",
     files({"%TEMP%\\*", "%WINDOWS%\\Temp\\*?"})},
    {"Windows Recycle Bin", 2, 6, G::Windows, "Windows Recycle Bin",
     service(ItemService::RecycleBin)},
    {"Clipboard", 1, 7, G::Windows, "Clipboard", service(ItemService::Clipboard)},
    {"Netscape Address Drop-Down List", 5, 13, G::Netscape, "Address Drop-Down List",
     files({"%APP_DATA%\\Mozilla\\Profiles\\Default\\localstore.rdf?"})},
    {"Netscape Cookies", 5, 14, G::Netscape, "Cookies",
     files({"%APP_DATA%\\Mozilla\\Profiles\\Default\\cookies.txt?"})},
    {"Netscape Cache", 5, 15, G::Netscape, "Cache (Temporary Internet Files)",
     files({"%APP_DATA%\\Mozilla\\Profiles\\Default\\&Cache\\*?"})},
    {"Netscape History Files", 5, 16, G::Netscape, "History Files",
     files({"%APP_DATA%\\Mozilla\\Profiles\\Default\\history.dat?"})},
    {"Opera Address Drop-Down List", 6, 17, G::Opera, "Address Drop-Down List",
     opera({"global.dat", "vlink4.dat", "opera.dir"})},
    {"Opera Cookies", 6, 18, G::Opera, "Cookies", opera({"cookies4.dat"})},
    {"Opera Cache", 6, 19, G::Opera, "Cache and History", opera({"Cache4\\*"})},
    {"AOL Address Drop-Down List", 7, 20, G::Aol, "Address Drop-Down List", nothing()},
    {"AOL Cookies", 7, 21, G::Aol, "Cookies", nothing()},
    {"AOL Cache", 7, 22, G::Aol, "Cache (Temporary Internet Files)", nothing()},
    {"AOL History Files", 7, 23, G::Aol, "Internet History Files", nothing()},
    {"Drive Scan with Mask", 8, 24, G::DriveScan, "Enable Drive Scanning",
     service(ItemService::DriveScan)},
}};

}  // namespace

const std::array<BuiltInItem, kBuiltInItemCount>& BuiltInItems() { return kItems; }

int FindBuiltInItem(const std::string& name) {
    for (int position = 1; position <= kBuiltInItemCount; ++position) {
        if (name == kItems[position - 1].name) return position;
    }
    return 0;
}

std::vector<const BuiltInItem*> ItemsInDialogOrder() {
    std::vector<const BuiltInItem*> items;
    for (const BuiltInItem& item : kItems) items.push_back(&item);
    std::sort(items.begin(), items.end(),
              [](const BuiltInItem* a, const BuiltInItem* b) { return a->checkBox < b->checkBox; });
    return items;
}

}  // namespace cindral::engine
