#include "engine/plugin_lint.h"

#include <algorithm>
#include <set>

#include "engine/file_mask.h"
#include "engine/path_macros.h"
#include "engine/path_template.h"
#include "engine/plugin_file.h"
#include "engine/plugin_runner.h"
#include "engine/protected_folders.h"
#include "engine/registry_cleaner.h"
#include "platform/ascii_case.h"
#include "platform/profile.h"
#include "platform/profile_text.h"

namespace cindral::engine {
namespace {

constexpr char kEntryForm[] = "a registry entry is ROOT\\key path,Action,ValueName";
constexpr std::size_t kMaxValue = platform::kProfileBufferSize - 1;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The number of a key named "Item" + decimal without leading zeros; 0 for
// any other name, which no run reads.
int itemNumber(const std::string& name) {
    if (name.size() < 5 || !platform::equalAsciiNoCase(name.substr(0, 4), "Item")) return 0;
    const std::string digits = name.substr(4);
    if (digits[0] == '0' || digits.size() > 6) return 0;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::stoi(digits);
}

// A value as a run reads it, and whether the file holds more than it reads.
std::string readValue(const std::string& bytes, const std::string& section, const std::string& key,
                      bool& cut) {
    const std::string whole =
        platform::profile_text::readString(&bytes, section, key, "", bytes.size() + 2);
    cut = whole.size() > kMaxValue;
    return ReadPluginValue(bytes, section, key);
}

std::string upperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

bool isDriveRoot(const std::string& folder) {
    return folder.size() == 2 && folder[1] == ':';  // "C:" once the "\" is gone
}

// True when walking `folder` with its subfolders would cover `profile`.
bool coversProfile(const std::string& folder, const std::string& profile) {
    if (profile.empty()) return false;
    const std::string f = upperAscii(folder), u = upperAscii(profile);
    return f == u || (u.size() > f.size() && u.compare(0, f.size(), f) == 0 && u[f.size()] == '\\');
}

void lintRecursion(const PathTemplateParts& parts, platform::Platform& p,
                   std::vector<std::string>& out) {
    if (!parts.recursive || parts.hasFinder || !IsAbsoluteWindowsPath(parts.root)) return;
    std::string folder = parts.root;
    while (folder.size() > 2 && folder.back() == '\\') folder.pop_back();
    if (isDriveRoot(folder)) {
        out.push_back("walks the whole drive " + folder + "\\ with its subfolders");
        return;
    }
    std::string profile = p.shellFolders->specialFolder(platform::kCsidlProfile);
    while (!profile.empty() && profile.back() == '\\') profile.pop_back();
    if (coversProfile(folder, profile)) {
        out.push_back("walks " + folder + " with its subfolders: all of the user profile " +
                      profile);
        return;
    }
    // The program's home is unknown here; every other folder a run refuses
    // to walk with its subfolders is the same on this system.
    if (IsProtectedFolder(folder, ProtectedFolders(p, std::string()), *p.system))
        out.push_back("walks " + folder +
                      " with its subfolders: a system folder, which a run refuses to walk");
}

void lintMask(const std::string& mask, const char* what, std::vector<std::string>& out) {
    if (!FileMask(mask, CaseFold()).valid())
        out.push_back(std::string("invalid ") + what + " " + quoted(mask) +
                      ": a run logs it and does nothing");
}

void lintSection(const std::string& bytes, const char* section, platform::Platform& p,
                 std::vector<LintFinding>& out) {
    const std::string where = std::string("[") + section + "] ";
    const std::vector<std::string> entries = ReadPluginSection(bytes, section);
    const int end = int(entries.size()) + 1;  // the number a run stops at
    std::set<int> seen;
    for (const auto& key : platform::profile_text::sectionKeys(bytes, section)) {
        const int n = itemNumber(key.name);
        auto report = [&](const std::string& message) {
            out.push_back(
                {where + key.name + " (line " + std::to_string(key.lineNumber) + ")", message});
        };
        if (n == 0) {
            report("never read: entries are named Item1 to Item" + std::to_string(kMaxPluginItems) +
                   ", without leading zeros");
            continue;
        }
        if (!seen.insert(n).second) {
            report("never read: a key of the same name stands before it");
            continue;
        }
        // Checked before the value is read: every read parses the whole
        // file, and a file may hold any number of keys past the last one a
        // run reads.
        if (n > kMaxPluginItems) {
            report("never read: a section ends at Item" + std::to_string(kMaxPluginItems));
            continue;
        }
        bool cut = false;
        const std::string value = readValue(bytes, section, key.name, cut);
        if (n > end) {
            if (!value.empty())
                report("never read: the numbering stops at Item" + std::to_string(end) +
                       ", which is missing or empty");
            continue;
        }
        if (n == end) continue;  // the empty value that ends the section
        if (cut)
            report("longer than " + std::to_string(kMaxValue) + " characters: a run reads only " +
                   "the first " + std::to_string(kMaxValue));
        const auto problems = section == std::string(kRegistrySection)
                                  ? LintRegistryEntry(value, *p.system)
                                  : LintPathTemplate(value, p);
        for (const std::string& problem : problems) report(problem);
    }
}

}  // namespace

std::vector<std::string> LintRegistryEntry(const std::string& entry, platform::System& sys) {
    const std::size_t slash = entry.find('\\');
    if (slash == std::string::npos) return {"no root key: " + std::string(kEntryForm)};
    platform::RootKey root;
    const std::string rootName = entry.substr(0, slash);
    if (!RegistryRootByName(rootName, root))
        return {"unknown root " + quoted(rootName) +
                ": a run does nothing with it; the roots are HKEY_CLASSES_ROOT, "
                "HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and HKEY_CURRENT_CONFIG, "
                "in capitals"};
    TRegObject obj;
    if (std::count(entry.begin() + long(slash), entry.end(), ',') < 2)
        return {"no action: " + std::string(kEntryForm)};
    if (!ParseRegistryEntry(entry, sys, obj))
        return {"names the whole root key, which no entry may erase"};
    for (const char* action : kRegistryActions)
        if (obj.Action == action) return {};
    return {"unknown action " +
            quoted(entry.substr(entry.find(',', slash) + 1, obj.Action.size())) +
            ": a run does nothing with it; the actions are OnlyValues, AllValues, OnlySubkeys "
            "and OneValue"};
}

std::vector<std::string> LintPathTemplate(const std::string& pathTemplate, platform::Platform& p) {
    std::vector<std::string> out;
    const std::string upper = p.system->upperCase(pathTemplate);
    const bool namesMacro = std::any_of(std::begin(kPathMacros), std::end(kPathMacros),
                                        [&](const char* m) { return upper.find(m) != upper.npos; });
    const PathTemplateParts parts = SplitPathTemplate(ExpandPathTemplate(p, pathTemplate));
    const std::string& folder = parts.hasFinder ? parts.finderRoot : parts.root;
    if (!namesMacro && !IsAbsoluteWindowsPath(folder)) {
        const std::size_t close = upper.find('%', 1);
        if (upper[0] == '%' && close != std::string::npos)
            out.push_back("unknown macro " + pathTemplate.substr(0, close + 1) +
                          ": the text is taken as a relative path and a run does nothing with it");
        else
            out.push_back("names no macro and is not an absolute path: a run does nothing with it");
    }
    if (parts.mask.empty())
        out.push_back("no file mask after the last \"\\\": the entry matches nothing");
    else
        lintMask(parts.mask, "file mask", out);
    if (parts.hasFinder) {
        if (parts.finderName.empty())
            out.push_back("no folder name after \"&\": the entry matches nothing");
        else
            lintMask(parts.finderName, "folder name after \"&\"", out);
    }
    lintRecursion(parts, p, out);
    return out;
}

std::vector<LintFinding> LintPluginText(const std::string& bytes, platform::Platform& p) {
    std::vector<LintFinding> out;
    for (const char* section : {kPluginSection, kRegistrySection, kFilesSection}) {
        const std::size_t count = platform::profile_text::sectionCount(bytes, section);
        if (count > 1)
            out.push_back({std::string("[") + section + "]",
                           "appears " + std::to_string(count) + " times: only the first is read"});
    }
    for (const char* key : {"Title", "Author"}) {
        bool cut = false;
        readValue(bytes, kPluginSection, key, cut);
        if (cut)
            out.push_back({std::string("[Plugin] ") + key,
                           "longer than " + std::to_string(kMaxValue) + " characters"});
    }
    lintSection(bytes, kRegistrySection, p, out);
    lintSection(bytes, kFilesSection, p, out);
    const PluginDocument doc = ReadPluginDocument(bytes);
    if (doc.registry.empty() && doc.files.empty())
        out.push_back({"", "no registry or file entry is read: the plug-in does nothing"});
    return out;
}

}  // namespace cindral::engine
