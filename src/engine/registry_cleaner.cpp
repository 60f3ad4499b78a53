#include "engine/registry_cleaner.h"

#include <functional>
#include <vector>

namespace cindral::engine {

namespace {

using platform::KeyHolder;
using platform::Registry;

const char kValueLine[] = "Cleaning Registry Value: ";
const char kKeyLine[] = "Cleaning Registry Key: ";

}  // namespace

bool RegistryRootByName(const std::string& name, platform::RootKey& root) {
    static const struct {
        const char* name;
        platform::RootKey key;
    } kRoots[] = {
        {"HKEY_CLASSES_ROOT", platform::RootKey::ClassesRoot},
        {"HKEY_CURRENT_USER", platform::RootKey::CurrentUser},
        {"HKEY_LOCAL_MACHINE", platform::RootKey::LocalMachine},
        {"HKEY_USERS", platform::RootKey::Users},
        {"HKEY_CURRENT_CONFIG", platform::RootKey::CurrentConfig},
    };
    for (const auto& r : kRoots) {
        if (name == r.name) {
            root = r.key;
            return true;
        }
    }
    return false;
}

namespace {

// The key path as the registry takes it: without the leading and the
// trailing "\" of the logged form.
std::string bare(const std::string& keyPath) {
    std::size_t b = 0, e = keyPath.size();
    while (b < e && keyPath[b] == '\\') ++b;
    while (e > b && keyPath[e - 1] == '\\') --e;
    return keyPath.substr(b, e - b);
}

class Cleaner {
public:
    Cleaner(EngineContext& ctx, const TRegObject& obj, const KeeperList* keepers)
        : ctx_(ctx),
          run_(ctx.run),
          reg_(*ctx.platform.registry),
          obj_(obj),
          keepers_(keepers),
          path_(bare(obj.KeyPath)) {}

    void run() {
        if (obj_.Action == "onlyvalues")
            onlyValues();
        else if (obj_.Action == "allvalues")
            allValues();
        else if (obj_.Action == "onlysubkeys")
            onlySubkeys();
        else if (obj_.Action == "onevalue")
            oneValue();
    }

private:
    void log(const std::string& text) { ctx_.view.addLine(run_.LinePrefix + text); }

    KeyHolder open(const std::string& path, std::uint32_t access) {
        return KeyHolder(reg_, reg_.openKey(reg_.root(obj_.RootKey), path, access));
    }

    bool isProtected(const std::string& data) {
        const bool modeProtects =
            run_.KeeperMode == kKeeperAddresses || run_.KeeperMode == kKeeperOpenSave;
        return modeProtects && IsKept(keepers_, data, *ctx_.platform.system);
    }

    // Logs and counts the values of one key. `emptyLine` is the line for a
    // value without string data.
    void listValues(platform::RegKey key, const std::vector<std::string>& names,
                    const std::function<std::string(const std::string&)>& emptyLine) {
        for (const std::string& name : names) {
            run_.counters.FoundRegistryEntries += 1;
            const std::string data = platform::readText(reg_, key, name, "");
            if (data.empty()) {
                log(emptyLine(name));
            } else if (isProtected(data)) {
                log(kValueLine + data + " <SKIPPED>");
                run_.counters.FoundRegistryEntries -= 1;
            } else {
                log(kValueLine + data + " <OK>");
            }
        }
    }

    // Clean run: deletes the listed values that are not protected; counts
    // those actually deleted.
    void deleteValues(const std::string& path, const std::vector<std::string>& names) {
        if (!run_.Erase || names.empty()) return;
        KeyHolder key = open(path, platform::kKeyAllAccess);
        if (!key) return;
        for (const std::string& name : names) {
            if (run_.stopped()) return;
            const std::string data = platform::readText(reg_, key.get(), name, "");
            if (!data.empty() && isProtected(data)) continue;
            if (reg_.deleteValue(key.get(), name)) run_.counters.DeletedRegistryEntries += 1;
        }
    }

    void onlyValues() {
        std::vector<std::string> names;
        {
            KeyHolder key = open(path_, platform::kKeyRead);
            if (!key) return;
            reg_.valueNames(key.get(), names);
            listValues(key.get(), names, [&](const std::string& n) {
                return kValueLine + obj_.KeyPath + n + " <OK>";
            });
        }
        deleteValues(path_, names);
    }

    void allValues() {
        std::vector<std::string> subkeys;
        {
            KeyHolder key = open(path_, platform::kKeyRead);
            if (!key) return;
            reg_.subkeyNames(key.get(), subkeys);
        }
        for (const std::string& sub : subkeys) {
            const std::string subPath = path_ + "\\" + sub;
            std::vector<std::string> names;
            {
                KeyHolder key = open(subPath, platform::kKeyRead);
                if (!key) continue;
                reg_.valueNames(key.get(), names);
                listValues(key.get(), names,
                           [&](const std::string&) { return kValueLine + obj_.KeyPath + sub; });
            }
            deleteValues(subPath, names);
        }
    }

    // Removes a key with everything below it; true when it is gone.
    bool deleteTree(platform::RegKey parent, const std::string& name, int depth) {
        if (depth > 512) return false;  // deeper than the registry allows: refuse
        {
            KeyHolder key(reg_, reg_.openKey(parent, name, platform::kKeyAllAccess));
            if (key) {
                std::vector<std::string> children;
                reg_.subkeyNames(key.get(), children);
                for (const std::string& child : children) deleteTree(key.get(), child, depth + 1);
            }
        }
        return reg_.deleteKey(parent, name);
    }

    void onlySubkeys() {
        std::vector<std::string> subkeys;
        {
            KeyHolder key = open(path_, platform::kKeyRead);
            if (!key) return;
            reg_.subkeyNames(key.get(), subkeys);
            for (const std::string& sub : subkeys) {
                run_.counters.FoundRegistryEntries += 1;
                log(kKeyLine + sub + " <OK>");
            }
        }
        if (!run_.Erase || subkeys.empty()) return;
        KeyHolder key = open(path_, platform::kKeyAllAccess);
        if (!key) return;
        for (const std::string& sub : subkeys) {
            if (run_.stopped()) return;
            if (deleteTree(key.get(), sub, 0)) run_.counters.DeletedRegistryEntries += 1;
        }
    }

    void oneValue() {
        KeyHolder key = open(path_, platform::kKeyRead);
        if (!key) return;
        platform::RegValue value;
        if (!reg_.queryValue(key.get(), obj_.ValueName, value)) return;
        const std::string data = platform::readText(reg_, key.get(), obj_.ValueName, "");
        if (!data.empty())
            log(kValueLine + data);
        else
            log(kValueLine + obj_.ValueName + " <OK>");
        run_.counters.FoundRegistryEntries += 1;
        if (!run_.Erase) {
            run_.counters.DeletedRegistryEntries += 1;
            return;
        }
        key.reset();
        if (run_.stopped()) return;
        KeyHolder writable = open(path_, platform::kKeyAllAccess);
        if (writable && reg_.deleteValue(writable.get(), obj_.ValueName))
            run_.counters.DeletedRegistryEntries += 1;
    }

    EngineContext& ctx_;
    RunState& run_;
    Registry& reg_;
    const TRegObject& obj_;
    const KeeperList* keepers_;
    const std::string path_;
};

}  // namespace

bool ParseRegistryEntry(const std::string& text, platform::System& sys, TRegObject& out) {
    // The registry calls take names as C strings: a key path that held a NUL
    // would reach them cut short, down to the root itself when the NUL
    // follows its "\". The entry is what they would see.
    const std::string entry = text.substr(0, text.find('\0'));
    const std::size_t slash = entry.find('\\');
    if (slash == std::string::npos) return false;
    if (!RegistryRootByName(entry.substr(0, slash), out.RootKey)) return false;
    const std::size_t comma1 = entry.find(',', slash);
    if (comma1 == std::string::npos) return false;
    const std::size_t comma2 = entry.find(',', comma1 + 1);
    if (comma2 == std::string::npos) return false;

    out.KeyPath = sys.lowerCase(entry.substr(slash, comma1 - slash));
    if (out.KeyPath.back() != '\\') out.KeyPath += '\\';
    out.Action = sys.lowerCase(entry.substr(comma1 + 1, comma2 - comma1 - 1));
    out.ValueName = sys.lowerCase(entry.substr(comma2 + 1));
    // "HKEY_CURRENT_USER\,onlysubkeys,none" would name the whole hive.
    return !bare(out.KeyPath).empty();
}

void CleanRegistryEntry(EngineContext& ctx, const std::string& entry, const KeeperList* keepers) {
    TRegObject obj;
    if (!ParseRegistryEntry(entry, *ctx.platform.system, obj)) return;
    Cleaner(ctx, obj, keepers).run();
}

}  // namespace cindral::engine
