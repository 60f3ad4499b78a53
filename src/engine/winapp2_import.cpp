#include "engine/winapp2_import.h"

#include <algorithm>
#include <set>

#include "engine/path_macros.h"
#include "engine/plugin_lint.h"
#include "engine/plugin_runner.h"
#include "platform/ascii_case.h"

namespace cindral::engine {
namespace {

using platform::equalAsciiNoCase;

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

bool startsWithNoCase(const std::string& text, const char* prefix) {
    const std::string p = prefix;
    return text.size() >= p.size() && equalAsciiNoCase(text.substr(0, p.size()), p);
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(TrimBlanks(text.substr(start, end - start)));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

struct Key {
    std::string name, value;
};

struct Entry {
    std::string name;
    std::vector<Key> keys;
    bool nulInName = false;
};

// Keys that only choose where and when the entry is offered; a plug-in that
// finds nothing to erase does nothing, so they carry no cleaning meaning.
bool isOfferingKey(const std::string& name) {
    for (const char* k :
         {"Section", "LangSecRef", "Default", "Detect", "DetectFile", "DetectOS", "SpecialDetect"})
        if (startsWithNoCase(name, k)) return true;
    return false;
}

// The environment variables a macro stands for; any other is not converted.
const std::pair<const char*, const char*> kVariables[] = {
    {"%APPDATA%", "%APP_DATA%"}, {"%LOCALAPPDATA%", "%LOCAL_APP_DATA%"},
    {"%WINDIR%", "%WINDOWS%"},   {"%SYSTEMROOT%", "%WINDOWS%"},
    {"%TEMP%", "%TEMP%"},        {"%TMP%", "%TEMP%"},
};

class Converter {
public:
    Converter(platform::Platform& p, const Entry& entry, std::vector<std::string>& notConverted)
        : p_(p), entry_(entry), out_(notConverted) {}

    void convert(PluginDocument& doc) {
        for (const Key& key : entry_.keys) {
            key_ = &key;
            if (startsWithNoCase(key.name, "FileKey"))
                fileKey(key.value, doc.files);
            else if (startsWithNoCase(key.name, "RegKey"))
                regKey(key.value, doc.registry);
            else if (!isOfferingKey(key.name))
                report("not a key plug-ins know");
        }
    }

private:
    void report(const std::string& why) {
        out_.push_back("[" + entry_.name + "] " + key_->name + "=" + key_->value + ": " + why);
    }

    bool mapFolder(std::string& path) {
        if (path.find_first_of("*?") != std::string::npos) {
            report("wildcards in the folder part; a plug-in names one folder");
            return false;
        }
        if (path.find('&') != std::string::npos || path.find("..") != std::string::npos) {
            report("\"&\" and \"..\" mean something else in a plug-in path");
            return false;
        }
        if (!path.empty() && path[0] == '%') {
            const std::size_t close = path.find('%', 1);
            const std::string variable =
                close == std::string::npos ? path : upper(path.substr(0, close + 1));
            bool mapped = false;
            for (const auto& [name, macro] : kVariables) {
                if (variable != name) continue;
                path = macro + path.substr(close + 1);
                mapped = true;
            }
            if (!mapped) {
                report("no plug-in macro stands for " + path.substr(0, close + 1));
                return false;
            }
        }
        while (path.size() > 1 && path.back() == '\\') path.pop_back();
        return true;
    }

    // A winapp2 mask is matched as Windows matches names: "*.*" and a final
    // ".*" also take names without a dot, which a plug-in mask does not.
    bool masksOf(const std::string& text, bool recursive, std::vector<std::string>& masks) {
        for (const std::string& mask : splitOn(text, ';')) {
            if (mask.empty()) continue;
            if (mask.find('[') != std::string::npos) {
                report("\"[\" opens a set of characters in a plug-in mask");
                return false;
            }
            if (mask.find('?') != std::string::npos && !recursive) {
                report("a \"?\" in a plug-in path also makes the walk include subfolders");
                return false;
            }
            const bool dotStar = mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0;
            if (dotStar && mask.size() >= 3 && mask[mask.size() - 3] == '*') {
                masks.push_back(mask.substr(0, mask.size() - 2));
            } else {
                masks.push_back(mask);
                if (dotStar) masks.push_back(mask.substr(0, mask.size() - 2));
            }
        }
        return !masks.empty();
    }

    void fileKey(const std::string& value, std::vector<std::string>& files) {
        const std::vector<std::string> parts = splitOn(value, '|');
        if (parts.size() < 2 || parts.size() > 3) {
            report("a FileKey is FOLDER|MASKS or FOLDER|MASKS|RECURSE");
            return;
        }
        const std::string flag = parts.size() == 3 ? upper(parts[2]) : "";
        if (flag != "" && flag != "RECURSE" && flag != "REMOVESELF") {
            report("unknown flag " + parts[2]);
            return;
        }
        const bool recursive = !flag.empty();
        std::string folder = parts[0];
        std::vector<std::string> masks;
        if (!mapFolder(folder) || !masksOf(parts[1], recursive, masks)) return;
        std::vector<std::string> templates;
        for (const std::string& mask : masks) {
            std::string t = folder + "\\" + mask;
            // The first "?" is the recursion marker: one before a wildcard
            // "?" leaves that one in the mask.
            const std::size_t wildcard = t.find('?');
            if (recursive) t.insert(wildcard == std::string::npos ? t.size() : wildcard, "?");
            for (const std::string& finding : LintPathTemplate(t, p_)) {
                report(finding);
                return;
            }
            templates.push_back(t);
        }
        if (flag == "REMOVESELF")
            report("converted in part: the files go, the folders stay (plug-ins erase files)");
        files.insert(files.end(), templates.begin(), templates.end());
    }

    void regKey(const std::string& value, std::vector<std::string>& registry) {
        const std::vector<std::string> parts = splitOn(value, '|');
        const std::size_t slash = parts[0].find('\\');
        if (parts.size() > 2 || slash == std::string::npos) {
            report("a RegKey is ROOT\\KEY or ROOT\\KEY|VALUE");
            return;
        }
        static const std::pair<const char*, const char*> kRoots[] = {
            {"HKCU", "HKEY_CURRENT_USER"},   {"HKLM", "HKEY_LOCAL_MACHINE"},
            {"HKCR", "HKEY_CLASSES_ROOT"},   {"HKU", "HKEY_USERS"},
            {"HKCC", "HKEY_CURRENT_CONFIG"},
        };
        const std::string root = upper(parts[0].substr(0, slash));
        std::string fullRoot;
        for (const auto& [shortName, longName] : kRoots)
            if (root == shortName || root == longName) fullRoot = longName;
        const std::string path = parts[0].substr(slash);
        if (fullRoot.empty()) {
            report("unknown root " + parts[0].substr(0, slash));
            return;
        }
        if (path.find_first_of("*?,") != std::string::npos) {
            report("wildcards or a comma in the key path");
            return;
        }
        std::vector<std::string> entries;
        if (parts.size() == 2) {
            if (parts[1].empty()) {
                report("no value name after \"|\"");
                return;
            }
            entries = {fullRoot + path + ",OneValue," + parts[1]};
        } else {
            entries = {fullRoot + path + ",OnlyValues,none", fullRoot + path + ",OnlySubkeys,none"};
        }
        for (const std::string& e : entries) {
            for (const std::string& finding : LintRegistryEntry(e, *p_.system)) {
                report(finding);
                return;
            }
        }
        if (parts.size() == 1)
            report(
                "converted in part: the key's values and subkeys go, the key itself stays, and "
                "so does a subkey that holds subkeys of its own");
        registry.insert(registry.end(), entries.begin(), entries.end());
    }

    platform::Platform& p_;
    const Entry& entry_;
    std::vector<std::string>& out_;
    const Key* key_ = nullptr;
};

// Lines end at CR LF, a lone CR or a lone LF. A CR left inside a line would
// end the plug-in line it is written into, and the run would read a
// different entry from the one converted.
std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            lines.back() += bytes[i];
            continue;
        }
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        lines.emplace_back();
    }
    return lines;
}

std::vector<Entry> parse(const std::string& bytes, std::vector<std::string>& notConverted) {
    std::vector<Entry> entries;
    std::size_t number = 0;
    for (std::string line : splitLines(bytes)) {
        ++number;
        line = TrimBlanks(line);
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        if (line.empty() || line[0] == ';') continue;
        // A plug-in value ends at a NUL, so a run would read less than was
        // converted: such a line is not converted, and an entry named with
        // one is refused whole so its keys do not join the entry before it.
        const bool nul = line.find('\0') != std::string::npos;
        if (line[0] == '[' && line.back() == ']') {
            Entry entry{TrimBlanks(line.substr(1, line.size() - 2)), {}, nul};
            std::replace(entry.name.begin(), entry.name.end(), '\0', '?');
            entries.push_back(std::move(entry));
            continue;
        }
        if (nul) {
            notConverted.push_back("line " + std::to_string(number) + ": holds a NUL byte");
            continue;
        }
        const std::size_t eq = line.find('=');
        const std::string where = "line " + std::to_string(number) + ": ";
        if (eq == std::string::npos)
            notConverted.push_back(where + "neither an entry name nor KEY=VALUE: " + line);
        else if (entries.empty())
            notConverted.push_back(where + "before the first entry: " + line);
        else
            entries.back().keys.push_back(
                {TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))});
    }
    return entries;
}

// Why a whole entry is left out, or "" to convert it.
std::string refusal(const Entry& entry) {
    if (entry.nulInName) return "its name holds a NUL byte";
    for (const Key& key : entry.keys) {
        if (startsWithNoCase(key.name, "ExcludeKey"))
            return key.name +
                   ": a plug-in cannot keep files out of a walk, and without the "
                   "exclusion it would erase what the entry spares";
        if (equalAsciiNoCase(key.name, "Warning"))
            return "it carries a warning (" + key.value +
                   "); a plug-in erases nothing a user would miss unless its title says so";
    }
    return std::string();
}

std::string fileNameFor(const std::string& title, std::set<std::string>& taken) {
    std::string base;
    for (char c : title)
        base += (static_cast<unsigned char>(c) < ' ' ||
                 std::string("\\/:*?\"<>|").find(c) != std::string::npos)
                    ? '_'
                    : c;
    if (base.empty()) base = "plug-in";
    std::string name = base + ".cnp";
    for (int n = 2; !taken.insert(upper(name)).second; ++n)
        name = base + " (" + std::to_string(n) + ").cnp";
    return name;
}

}  // namespace

Winapp2Import ImportWinapp2(const std::string& bytes, const std::string& sourceName,
                            platform::Platform& p) {
    Winapp2Import result;
    std::set<std::string> taken;
    for (const Entry& entry : parse(bytes, result.notConverted)) {
        const std::string why = refusal(entry);
        if (!why.empty()) {
            result.notConverted.push_back("[" + entry.name + "]: not converted: " + why);
            continue;
        }
        ImportedPlugin plugin;
        PluginDocument& doc = plugin.doc;
        doc.title = entry.name;
        if (doc.title.size() > 2 && doc.title.compare(doc.title.size() - 2, 2, " *") == 0)
            doc.title.erase(doc.title.size() - 2);
        doc.author = "Converted from " + sourceName;
        doc.comments = {doc.title, "", "Converted by cindral-cli import-winapp2 from the entry",
                        "[" + entry.name + "] of " + sourceName + "."};
        Converter(p, entry, result.notConverted).convert(doc);
        for (auto* section : {&doc.registry, &doc.files}) {
            if (section->size() <= std::size_t(kMaxPluginItems)) continue;
            result.notConverted.push_back(
                "[" + entry.name + "]: " + std::to_string(section->size() - kMaxPluginItems) +
                " entries beyond the 255 a plug-in section holds");
            section->resize(kMaxPluginItems);
        }
        if (doc.registry.empty() && doc.files.empty()) {
            result.notConverted.push_back("[" + entry.name + "]: nothing in it could be converted");
            continue;
        }
        plugin.fileName = fileNameFor(doc.title, taken);
        result.plugins.push_back(std::move(plugin));
    }
    return result;
}

}  // namespace cindral::engine
