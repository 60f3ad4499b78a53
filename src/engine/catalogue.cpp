#include "engine/catalogue.h"

#include <vector>

#include "engine/file_remover.h"
#include "engine/path_macros.h"
#include "engine/path_template.h"
#include "engine/registry_cleaner.h"
#include "engine/walker.h"
#include "selection/line_file.h"
#include "selection/mask_list.h"

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
// The Find dialog's history of search terms. "\x53" is a capital S: the key
// name is Windows' own and must stand letter for letter.
constexpr const char* kFindDialogMru =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
    "Doc Find \x53pec MRU,AllValues,none";
constexpr const char* kRunMru =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU,"
    "OnlyValues,none";

constexpr const char* kDefaultOperaFolder = "C:\\Program Files\\Opera";

void registry(EngineContext& ctx, std::initializer_list<const char*> entries,
              const KeeperList* keepers = nullptr) {
    for (const char* entry : entries) {
        if (ctx.run.stopped()) return;
        CleanRegistryEntry(ctx, entry, keepers);
    }
}

void files(EngineContext& ctx, std::initializer_list<const char*> templates) {
    for (const char* t : templates) {
        if (ctx.run.stopped()) return;
        CleanPathTemplate(ctx, t);
    }
}

// Loads a keeper file. Missing: no list (false, nothing logged). Present but
// unreadable: the item must not run at all, or it would erase exactly what
// the user chose to keep; that is logged and reported as `skipItem`.
bool loadKeepers(EngineContext& ctx, const std::string& path, KeeperList& list, bool& skipItem) {
    skipItem = false;
    switch (
        selection::readLineFile(*ctx.platform.files, path, selection::LineRules::Keeper, list)) {
        case selection::ReadStatus::Ok:
            return true;
        case selection::ReadStatus::Missing:
            return false;
        case selection::ReadStatus::Unreadable:
            break;
    }
    ctx.view.addLine(ctx.run.LinePrefix + "Keeper list cannot be read: " + path + " <SKIPPED>");
    skipItem = true;
    return false;
}

void typedAddresses(EngineContext& ctx, const CatalogueFiles& paths) {
    KeeperList keepers;
    bool skip = false;
    const bool haveList = loadKeepers(ctx, paths.addressesKept, keepers, skip);
    if (skip) return;
    if (haveList) ctx.run.KeeperMode = kKeeperAddresses;
    registry(ctx, {kTypedUrlsUser, kTypedUrlsMachine}, haveList ? &keepers : nullptr);
}

void cookies(EngineContext& ctx, const CatalogueFiles& paths) {
    KeeperList keepers;
    bool skip = false;
    const bool haveList = loadKeepers(ctx, paths.cookieKept, keepers, skip);
    if (skip) return;
    ctx.run.CookieKeepers = std::move(keepers);
    if (haveList) ctx.run.KeeperMode = kKeeperCookies;
    files(ctx, {"%COOKIE%\\*?", "%WINDOWS%\\Cookies\\*?"});
    ctx.run.CookieKeepers.clear();
}

void openSaveHistory(EngineContext& ctx, const CatalogueFiles& paths) {
    KeeperList keepers;
    bool skip = false;
    const bool haveList = loadKeepers(ctx, paths.openSaveKept, keepers, skip);
    if (skip) return;
    if (haveList) ctx.run.KeeperMode = kKeeperOpenSave;
    registry(ctx, {kOpenSaveMru}, haveList ? &keepers : nullptr);
}

void indexDat(EngineContext& ctx, platform::RunServices& services) {
    files(ctx, {"%HISTORY%\\History.IE5\\*?"});
    if (!ctx.run.Erase || ctx.run.stopped()) return;
    if (services.urlCache) {
        services.urlCache->clearCache();
        if (ctx.run.stopped()) return;
        services.urlCache->clearHistory();
    }
}

// A test run counts what the bins hold; a clean run empties them and counts
// the same figures, but only when the emptying succeeded, so the summary
// never claims space that was not released.
void recycleBin(EngineContext& ctx, platform::RunServices& services) {
    if (!services.recycleBin) return;
    platform::RecycleBinContents contents;
    if (!services.recycleBin->query(contents)) return;
    if (!ctx.run.Erase) {
        ctx.run.JunkFileCount += static_cast<std::int64_t>(contents.itemCount);
        ctx.run.JunkByteCount += static_cast<std::int64_t>(contents.totalSize);
        return;
    }
    if (contents.itemCount == 0 || ctx.run.stopped()) return;
    const std::string line = ctx.run.LinePrefix +
                             "Emptying Recycle Bin: " + std::to_string(contents.itemCount) +
                             " items";
    if (!services.recycleBin->empty()) {
        ctx.view.addLine(line + " <USED>");
        return;
    }
    ctx.view.addLine(line + " <OK>");
    ctx.run.JunkFileCount += static_cast<std::int64_t>(contents.itemCount);
    ctx.run.JunkByteCount += static_cast<std::int64_t>(contents.totalSize);
}

void clipboard(EngineContext& ctx, platform::RunServices& services) {
    if (ctx.run.Erase && services.clipboard && !ctx.run.stopped()) services.clipboard->empty();
}

// One Opera file: the folder comes from the registry, so it is walked as it
// stands instead of going through the template rules, where an "&" or ".."
// in a folder name would change which folder is meant. Like a template it is
// upper-cased, and a relative folder is never walked.
void operaFile(EngineContext& ctx, const std::string& folder, const std::string& name) {
    if (ctx.run.stopped()) return;
    std::string full = ctx.platform.system->upperCase(folder + name);
    const std::size_t slash = full.rfind('\\');
    const std::string root = full.substr(0, slash);
    if (root.empty() || !IsAbsoluteWindowsPath(root)) return;
    TEasyFileSearch walker(*ctx.platform.files, *ctx.platform.system);
    walker.StopRequested = ctx.run.StopRequested;
    walker.SearchOptions = okLookForAll;
    if (!walker.setFileNames({full.substr(slash + 1)})) return;
    walker.RootPath = root;
    walker.OnFileFound = [&ctx](const TFileInformations& f) { HandleFoundFile(ctx, f); };
    walker.Execute();
}

void opera(EngineContext& ctx, std::initializer_list<const char*> names) {
    const std::string folder = OperaFolder(ctx.platform);
    for (const char* name : names) operaFile(ctx, folder, name);
}

void driveScan(EngineContext& ctx, const CatalogueFiles& paths) {
    RunDriveScan(ctx, selection::ReadMasksForRun(*ctx.platform.files, paths.driveScan),
                 ctx.run.FixedDrives);
}

}  // namespace

std::string OperaFolder(platform::Platform& p) {
    platform::Registry& reg = *p.registry;
    platform::KeyHolder key(reg, platform::openKeyForReading(reg, platform::RootKey::CurrentUser,
                                                             "Software\\Opera Software"));
    std::string folder = platform::readText(reg, key.get(), "Last Directory", "");
    if (folder.empty()) folder = kDefaultOperaFolder;
    folder = TrimBlanks(folder);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

void PerformBuiltInItem(EngineContext& ctx, platform::RunServices& services,
                        const CatalogueFiles& paths, int position) {
    switch (position) {
        case 1:
            typedAddresses(ctx, paths);
            break;
        case 2:
            cookies(ctx, paths);
            break;
        case 3:
            files(ctx, {"%WINDOWS%\\History\\*?", "%WINDOWS%\\Temporary Internet Files\\*?",
                        "%CACHE%\\content.ie5\\*?"});
            break;
        case 4:
            indexDat(ctx, services);
            break;
        case 5:
            registry(ctx, {kIntelliForms});
            break;
        case 6:
            openSaveHistory(ctx, paths);
            break;
        case 7:
            registry(ctx, {kSearchAssistant, kFindDialogMru});
            break;
        case 8:
            files(ctx, {"%RECENT%\\*?"});
            break;
        case 9:
            registry(ctx, {kRunMru});
            break;
        case 10:
            files(ctx, {"%TEMP%\\*", "%WINDOWS%\\Temp\\*?"});
            break;
        case 11:
            recycleBin(ctx, services);
            break;
        case 12:
            clipboard(ctx, services);
            break;
        case 13:
            files(ctx, {"%APP_DATA%\\Mozilla\\Profiles\\Default\\localstore.rdf?"});
            break;
        case 14:
            files(ctx, {"%APP_DATA%\\Mozilla\\Profiles\\Default\\cookies.txt?"});
            break;
        case 15:
            files(ctx, {"%APP_DATA%\\Mozilla\\Profiles\\Default\\&Cache\\*?"});
            break;
        case 16:
            files(ctx, {"%APP_DATA%\\Mozilla\\Profiles\\Default\\history.dat?"});
            break;
        case 17:
            opera(ctx, {"global.dat", "vlink4.dat", "opera.dir"});
            break;
        case 18:
            opera(ctx, {"cookies4.dat"});
            break;
        case 19:
            opera(ctx, {"Cache4\\*"});
            break;
        case 24:
            driveScan(ctx, paths);
            break;
        default:
            break;  // 20 to 23: the AOL items have no action
    }
}

}  // namespace cindral::engine
