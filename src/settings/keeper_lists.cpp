#include "settings/keeper_lists.h"

#include "engine/path_macros.h"
#include "platform/registry.h"

namespace cindral::settings {

const char* const kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char* const kOpenSaveMruKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";

selection::ReadStatus LoadKeptList(platform::Files& files, const std::string& path,
                                   KeeperList& list) {
    return selection::readLineFile(files, path, selection::LineRules::Keeper, list);
}

bool SaveKeptList(platform::Files& files, const std::string& path, const KeeperList& list) {
    std::string former;
    if (selection::readTextBytes(files, path, former) == selection::ReadStatus::Unreadable)
        return false;
    return files.writeFileAtomic(path, selection::keeperFileBytes(list, former));
}

bool KeptListContains(const KeeperList& list, const std::string& text, platform::System& sys) {
    return engine::IsKept(&list, text, sys);
}

std::string CookieDisplayName(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

namespace {

bool matchesTxtMask(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext == ".txt";
}

void addCookiesOf(platform::Platform& platform, const std::string& folderTemplate,
                  const KeeperList& kept, std::vector<std::string>& out) {
    const std::string folder = engine::ExpandPathMacros(platform, folderTemplate);
    // A folder the system cannot name expands to nothing; listing "" would
    // look somewhere the user never chose.
    if (folder.empty()) return;
    const std::string prefix = engine::ExpandPathMacros(platform, folderTemplate + "\\");
    std::vector<platform::DirEntry> entries;
    if (!platform.files->listFolder(folder, entries)) return;
    for (const auto& e : entries) {
        if (!matchesTxtMask(e.name)) continue;
        const std::string path = prefix + e.name;
        if (!KeptListContains(kept, path, *platform.system)) out.push_back(path);
    }
}

// Appends the text of every value of an open key, skipping values whose name
// lower-cases to `skipName` (when not empty) and texts already kept.
void addValuesOf(platform::Platform& platform, platform::RegKey key, const KeeperList& kept,
                 const std::string& skipName, std::vector<std::string>& out) {
    platform::Registry& reg = *platform.registry;
    std::vector<std::string> names;
    if (!reg.valueNames(key, names)) return;
    for (const auto& name : names) {
        const std::string text = platform::readText(reg, key, name, "");
        if (KeptListContains(kept, text, *platform.system)) continue;
        if (!skipName.empty() && platform.system->lowerCase(name) == skipName) continue;
        out.push_back(text);
    }
}

// Read access with the same fallbacks as the roots' keys get.
platform::RegKey openSubkeyForReading(platform::Registry& reg, platform::RegKey parent,
                                      const std::string& name) {
    for (std::uint32_t access :
         {platform::kKeyRead, platform::kKeyQueryEnumerate, platform::kKeyQueryValue}) {
        const platform::RegKey key = reg.openKey(parent, name, access);
        if (key != platform::kNoKey) return key;
    }
    return platform::kNoKey;
}

}  // namespace

std::vector<std::string> GatherCookieCandidates(platform::Platform& platform,
                                                const KeeperList& kept) {
    std::vector<std::string> out;
    addCookiesOf(platform, "%COOKIE%", kept, out);
    addCookiesOf(platform, "%WINDOWS%\\Cookies", kept, out);
    return out;
}

std::vector<std::string> GatherAddressCandidates(platform::Platform& platform,
                                                 const KeeperList& kept) {
    std::vector<std::string> out;
    platform::Registry& reg = *platform.registry;
    for (auto root : {platform::RootKey::CurrentUser, platform::RootKey::LocalMachine}) {
        platform::KeyHolder key(reg,
                                platform::openKeyForReadingWithFallbacks(reg, root, kTypedUrlsKey));
        if (key) addValuesOf(platform, key.get(), kept, "", out);
    }
    return out;
}

std::vector<std::string> GatherOpenSaveCandidates(platform::Platform& platform,
                                                  const KeeperList& kept) {
    std::vector<std::string> out;
    platform::Registry& reg = *platform.registry;
    platform::KeyHolder mru(reg, platform::openKeyForReadingWithFallbacks(
                                     reg, platform::RootKey::CurrentUser, kOpenSaveMruKey));
    if (!mru) return out;
    std::vector<std::string> subkeys;
    if (!reg.subkeyNames(mru.get(), subkeys)) return out;
    for (const auto& name : subkeys) {
        platform::KeyHolder sub(reg, openSubkeyForReading(reg, mru.get(), name));
        if (sub) addValuesOf(platform, sub.get(), kept, "mrulist", out);
    }
    return out;
}

}  // namespace cindral::settings
