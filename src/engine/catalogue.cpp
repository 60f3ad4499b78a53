#include "engine/catalogue.h"

#include <utility>

#include "engine/file_remover.h"
#include "engine/path_macros.h"
#include "engine/path_template.h"
#include "engine/registry_cleaner.h"
#include "engine/walker.h"
#include "selection/line_file.h"
#include "selection/mask_list.h"

namespace cindral::engine {
namespace {

constexpr const char* kDefaultOperaFolder = "C:\\Program Files\\Opera";

const std::string& keeperFile(const CatalogueFiles& paths, int keeperMode) {
    switch (keeperMode) {
        case kKeeperAddresses:
            return paths.addressesKept;
        case kKeeperCookies:
            return paths.cookieKept;
        default:
            return paths.openSaveKept;
    }
}

// Loads a keeper file by the run's line rule (CR LF, CR or LF ends an entry):
// a file with LF line ends, made by hand or copied from elsewhere, must keep
// each of its entries, not become one entry that matches nothing. The Keeper
// dialog's rule is applied as well: it reads on past a NUL that ends the
// run's text, and every entry the dialog shows as kept must stay kept.
// Missing: no list (false, nothing logged). Present but
// unreadable: the item must not run at all, or it would erase exactly what
// the user chose to keep; that is logged and reported as `skipItem`.
bool loadKeepers(EngineContext& ctx, const std::string& path, KeeperList& list, bool& skipItem) {
    skipItem = false;
    std::string bytes;
    switch (selection::readTextBytes(*ctx.platform.files, path, bytes)) {
        case selection::ReadStatus::Ok:
            list = selection::splitLines(bytes, selection::LineRules::Run);
            for (std::string& entry : selection::splitLines(bytes, selection::LineRules::Keeper))
                list.push_back(std::move(entry));
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

void urlCacheAndHistory(EngineContext& ctx, platform::RunServices& services) {
    if (!ctx.run.Erase || ctx.run.stopped() || !services.urlCache) return;
    services.urlCache->clearCache();
    if (ctx.run.stopped()) return;
    services.urlCache->clearHistory();
}

// A test run counts what the bins hold; a clean run empties them and counts
// the same figures, but only when the emptying succeeded, so the summary
// never claims space that was not released.
void recycleBin(EngineContext& ctx, platform::RunServices& services) {
    if (!services.recycleBin) return;
    platform::RecycleBinContents contents;
    if (!services.recycleBin->query(contents)) return;
    if (!ctx.run.Erase) {
        ctx.run.counters.JunkFileCount += static_cast<std::int64_t>(contents.itemCount);
        ctx.run.counters.JunkByteCount += static_cast<std::int64_t>(contents.totalSize);
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
    ctx.run.counters.JunkFileCount += static_cast<std::int64_t>(contents.itemCount);
    ctx.run.counters.JunkByteCount += static_cast<std::int64_t>(contents.totalSize);
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

void service(EngineContext& ctx, platform::RunServices& services, const CatalogueFiles& paths,
             ItemService which) {
    switch (which) {
        case ItemService::None:
            return;
        case ItemService::UrlCacheAndHistory:
            urlCacheAndHistory(ctx, services);
            return;
        case ItemService::RecycleBin:
            recycleBin(ctx, services);
            return;
        case ItemService::Clipboard:
            clipboard(ctx, services);
            return;
        case ItemService::DriveScan:
            RunDriveScan(ctx, selection::ReadMasksForRun(*ctx.platform.files, paths.driveScan),
                         ctx.run.FixedDrives);
            return;
    }
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
                        const CatalogueFiles& paths, const BuiltInItem& item) {
    const ItemAction& action = item.action;
    KeeperList keepers;
    bool haveList = false;
    if (action.keeperMode != kKeeperNone) {
        bool skip = false;
        haveList = loadKeepers(ctx, keeperFile(paths, action.keeperMode), keepers, skip);
        if (skip) return;
        if (haveList) ctx.run.KeeperMode = action.keeperMode;
    }
    // Registry entries are protected by value data; files by the cookie list
    // the file handler consults.
    const KeeperList* valueKeepers = haveList ? &keepers : nullptr;
    for (const char* entry : action.registry) {
        if (!entry || ctx.run.stopped()) break;
        CleanRegistryEntry(ctx, entry, valueKeepers);
    }
    if (action.keeperMode == kKeeperCookies) ctx.run.CookieKeepers = std::move(keepers);
    for (const char* pathTemplate : action.templates) {
        if (!pathTemplate || ctx.run.stopped()) break;
        CleanPathTemplate(ctx, pathTemplate);
    }
    ctx.run.CookieKeepers.clear();
    if (action.operaFiles[0]) {
        const std::string folder = OperaFolder(ctx.platform);
        for (const char* name : action.operaFiles)
            if (name) operaFile(ctx, folder, name);
    }
    service(ctx, services, paths, action.service);
}

}  // namespace cindral::engine
