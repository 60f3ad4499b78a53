// The shipped plug-in library, each plug-in run against one prepared profile
// that holds the traces of every plug-in and the files and values a user
// would miss: a clean run erases exactly the plug-in's own traces. (That a
// test run reports what a clean run removes is the runner's rule, met in
// the file remover's and the command line's tests.) The macros point into the sandbox and
// HKEY_CURRENT_USER into its scratch key, natively and under Wine alike.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/plugin_lint.h"
#include "engine/plugin_runner.h"
#include "engine_test_support.h"
#include "settings/scratch_registry.h"
#include "support/plugin_library.h"

namespace cindral::engine {
namespace {

// A trace is a file below a macro folder, or "HKCU\key path|value name".
using Names = std::vector<std::string>;
struct Row {
    std::string plugin;
    Names traces;
};

Names under(const std::string& prefix, const Names& names) {
    Names out;
    for (const std::string& name : names) out.push_back(prefix + name);
    return out;
}

// Each shipped plug-in with its traces, and what a user would miss.
struct Library {
    std::vector<Row> rows;
    Names keep;

    void add(const std::string& plugin, const Names& traces, const Names& kept = {}) {
        rows.push_back({plugin, traces});
        keepAll(kept);
    }
    void keepAll(const Names& kept) { keep.insert(keep.end(), kept.begin(), kept.end()); }
    void chromium(const std::string& prefix, const std::string& data, bool history) {
        const std::string d = data + "\\Default\\";
        add(prefix + "-cache.cnp",
            under(d, {"Cache\\Cache_Data\\data_0", "Code Cache\\js\\index", "GPUCache\\data_1"}));
        add(prefix + "-cookies.cnp",
            under(d, {"Network\\Cookies", "Network\\Cookies-journal", "Cookies"}));
        const Names past =
            under(d, {"History", "History-journal", "Visited Links", "Top Sites", "Shortcuts"});
        history ? add(prefix + "-history.cnp", past) : keepAll(past);
        keepAll(under(d, {"Bookmarks", "Login Data", "Preferences", "Web Data",
                          "Network\\Network Persistent State", "Sessions\\Session_13",
                          "Extensions\\abc\\1.0\\manifest.json", "Local Storage\\leveldb\\1.log"}));
        keepAll({data + "\\Local State"});
    }

    Library() {
        const std::string local = "%LOCAL_APP_DATA%\\", roaming = "%APP_DATA%\\";
        chromium("chrome", local + "Google\\Chrome\\User Data", true);
        chromium("edge", local + "Microsoft\\Edge\\User Data", true);
        chromium("brave", local + "BraveSoftware\\Brave-Browser\\User Data", true);
        chromium("vivaldi", local + "Vivaldi\\User Data", false);
        const std::string opera = roaming + "Opera Software\\Opera Stable\\";
        add("opera-cache.cnp", {local + "Opera Software\\Opera Stable\\Cache\\Cache_Data\\data_0",
                                opera + "Code Cache\\js\\index", opera + "GPUCache\\data_1"});
        add("opera-history.cnp", under(opera, {"History", "Visited Links", "Shortcuts"}),
            under(opera, {"Bookmarks", "Login Data", "Preferences", "Network\\Cookies"}));

        const std::string firefox = "Mozilla\\Firefox\\Profiles\\ab12.default-release\\";
        const std::string profile = roaming + firefox;
        add("firefox-cache.cnp", {local + firefox + "cache2\\entries\\0A1B2C"});
        add("firefox-cookies.cnp", {profile + "cookies.sqlite", profile + "cookies.sqlite-wal"});
        add("firefox-formhistory.cnp", {profile + "formhistory.sqlite"},
            under(profile, {"places.sqlite", "logins.json", "key4.db", "prefs.js",
                            "sessionstore.jsonlz4", "storage\\default\\x\\ls\\data.sqlite"}));
        keepAll({roaming + "Mozilla\\Firefox\\profiles.ini"});

        const std::string hkcu = "HKCU\\Software\\";
        for (const auto& [app, file] :
             {std::pair{"Word", "word"}, {"Excel", "excel"}, {"PowerPoint", "powerpoint"}}) {
            const std::string office = hkcu + "Microsoft\\Office\\16.0\\" + app;
            add(std::string(file) + "-recent.cnp",
                under(office + "\\File MRU|", {"Item 1", "Item 50"}),
                {office + "\\File MRU|Max Display", office + "\\Place MRU|Item 1"});
        }
        const std::string acrobat = hkcu + "Adobe\\Acrobat Reader\\DC\\AVGeneral";
        add("acrobat-reader-recent.cnp",
            under(acrobat, {"\\cRecentFiles\\c1|tDIText", "\\cRecentFolders\\c1|tDIText"}),
            {acrobat + "|bExpandRHPInViewer"});
        add("mpc-hc-recent.cnp", {hkcu + "MPC-HC\\MPC-HC\\Recent File List|File1"},
            {hkcu + "MPC-HC\\MPC-HC\\Settings|Volume"});
        const std::string player = hkcu + "Microsoft\\MediaPlayer\\";
        add("media-player-recent.cnp",
            under(player, {"Player\\RecentFileList|File0", "Player\\RecentURLList|URL0"}),
            {player + "Preferences|Volume"});
        const std::string applets = hkcu + "Microsoft\\Windows\\CurrentVersion\\Applets\\";
        add("paint-recent.cnp", {applets + "Paint\\Recent File List|File1"},
            {applets + "Paint\\View|WindowPlacement"});
        add("wordpad-recent.cnp", {applets + "Wordpad\\Recent File List|File1"},
            {applets + "Wordpad\\Options|FrameRect"});
        add("7-zip-history.cnp",
            under(hkcu + "7-Zip\\", {"Compression|ArcHistory", "FM|FolderHistory", "FM|PathHistory",
                                     "FM|CopyHistory"}),
            under(hkcu + "7-Zip\\", {"Compression|Level", "FM|ShowDots"}));
        add("winrar-history.cnp",
            under(hkcu + "WinRAR\\", {"ArcHistory|0", "DialogEditHistory\\ArcName|0",
                                      "DialogEditHistory\\ExtrPath|0"}),
            {hkcu + "WinRAR\\General|ShowComment"});

        add("windows-jump-lists.cnp",
            under("%RECENT%\\", {"AutomaticDestinations\\5f7b5f1e01b83767.automaticDestinations-ms",
                                 "CustomDestinations\\28c8b86deab549a1.customDestinations-ms"}),
            {"%RECENT%\\report.docx.lnk"});
        const std::string explorer = local + "Microsoft\\Windows\\Explorer\\";
        add("windows-thumbnail-cache.cnp", {explorer + "thumbcache_256.db"},
            {explorer + "iconcache_32.db"});
        const std::string ex = hkcu + "Microsoft\\Windows\\CurrentVersion\\Explorer\\";
        add("windows-recent-docs.cnp", under(ex + "RecentDocs", {"|MRUListEx", "\\.docx|0"}));
        add("windows-typed-paths.cnp", {ex + "TypedPaths|url1"});
        add("windows-search-history.cnp", {ex + "WordWheelQuery|MRUListEx"});
        add("windows-open-save-history.cnp",
            under(ex + "ComDlg32\\", {"OpenSavePidlMRU\\txt|0", "LastVisitedPidlMRU|0"}),
            {ex + "Advanced|HideFileExt"});
        const std::string terminal = hkcu + "Microsoft\\Terminal Server Client\\";
        add("remote-desktop-recent.cnp", {terminal + "Default|MRU0"},
            {terminal + "Servers\\host1|UsernameHint"});
        add("windows-error-reports.cnp",
            under(local, {"Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_1\\Report.wer",
                          "Microsoft\\Windows\\WER\\ReportQueue\\AppHang_2\\Report.wer",
                          "CrashDumps\\tool.exe.812.dmp"}));
        add("directx-shader-cache.cnp", {local + "D3DSCache\\a1b2\\shader.idx"});
        const std::string code = roaming + "Code\\";
        add("vscode-cache.cnp",
            under(code,
                  {"Cache\\Cache_Data\\data_0", "CachedData\\x1\\y.code", "Code Cache\\js\\index",
                   "GPUCache\\data_1", "logs\\20240101T1\\main.log"}),
            under(code, {"User\\settings.json", "Backups\\x\\file\\1",
                         "User\\globalStorage\\storage.json"}));
        const std::string discord = roaming + "discord\\";
        add("discord-cache.cnp",
            under(discord,
                  {"Cache\\Cache_Data\\data_0", "Code Cache\\js\\index", "GPUCache\\data_1"}),
            under(discord, {"settings.json", "Local Storage\\leveldb\\000003.log"}));
        add("steam-web-cache.cnp", {local + "Steam\\htmlcache\\Cache\\data_0"},
            {local + "Steam\\config\\loginusers.vdf"});
    }
};

bool isRegistry(const std::string& trace) { return trace.compare(0, 5, "HKCU\\") == 0; }

class PluginLibrary : public test::EngineTest {
protected:
    PluginLibrary() {
        const std::string home = box_.root() + "Profile";
        folders_.folders = {
            {platform::kCsidlProfile, home},
            {platform::kCsidlAppData, home + "\\AppData\\Roaming"},
            {platform::kCsidlLocalAppData, home + "\\AppData\\Local"},
            {platform::kCsidlRecent, home + "\\AppData\\Roaming\\Microsoft\\Windows\\Recent"}};
        platform_.registry = &scratch_;
    }

    std::string path(const std::string& trace) {
        std::string p = trace;
        const std::pair<const char*, int> macros[] = {
            {"%APP_DATA%", platform::kCsidlAppData},
            {"%LOCAL_APP_DATA%", platform::kCsidlLocalAppData},
            {"%RECENT%", platform::kCsidlRecent}};
        for (const auto& [macro, csidl] : macros)
            if (p.compare(0, std::string(macro).size(), macro) == 0)
                p.replace(0, std::string(macro).size(), folders_.folders[csidl]);
        return p;
    }
    // A registry trace's key below HKEY_CURRENT_USER and its value name.
    static std::pair<std::string, std::string> split(const std::string& trace) {
        const std::size_t bar = trace.find('|');
        return {trace.substr(5, bar - 5), trace.substr(bar + 1)};
    }
    void prepare(const std::string& trace) {
        const auto [key, value] = split(trace);
        if (isRegistry(trace))
            scratch_.put(key, value, platform::kRegSz, trace);
        else
            write(path(trace), "x");
    }
    bool present(const std::string& trace) {
        if (!isRegistry(trace)) return box_.exists(path(trace));
        const auto [key, value] = split(trace);
        platform::RegValue v;
        return scratch_.get(key, value, v);
    }

    cindral::test::ScratchRegistry scratch_;  // HKEY_CURRENT_USER kept in the sandbox
};

TEST(PluginLibraryFiles, EveryPluginIsTestedAndPassesTheChecker) {
    std::set<std::string> tested, shipped;
    for (const Row& row : Library().rows) tested.insert(row.plugin);
    cindral::test::Sandbox box;
    for (const auto& plugin : cindral::test::PluginLibrary()) {
        shipped.insert(plugin.fileName);
        for (const LintFinding& f : LintPluginText(plugin.bytes, box.platform()))
            ADD_FAILURE() << plugin.fileName << ": " << f.entry << ": " << f.message;
    }
    EXPECT_EQ(tested, shipped);
}

TEST_F(PluginLibrary, EachPluginErasesExactlyItsTracesAndNothingElse) {
    const Library library;
    Names everything = library.keep;
    for (const Row& row : library.rows)
        everything.insert(everything.end(), row.traces.begin(), row.traces.end());
    std::map<std::string, std::string> bytes;
    for (const auto& plugin : cindral::test::PluginLibrary()) bytes[plugin.fileName] = plugin.bytes;

    run_.Erase = true;
    for (const Row& row : library.rows) {
        SCOPED_TRACE(row.plugin);
        for (const std::string& trace : everything)
            if (!present(trace)) prepare(trace);
        file("p.cnp", bytes[row.plugin]);
        RunPlugin(ctx_, at("p.cnp"));
        std::set<std::string> own(row.traces.begin(), row.traces.end());
        for (const std::string& trace : everything)
            EXPECT_EQ(present(trace), own.count(trace) == 0) << trace;
    }
}

// The runner's own rules, on plug-ins the tests write.
class PluginRunner : public test::EngineTest {
protected:
    PluginRunner() { setRegText(scratch("K"), "v", "data"); }
    // An entry that finds the one value "data".
    std::string entry() const { return regKey("K") + ",OnlyValues,none"; }
    void runPlugin(const std::string& text, bool erase) {
        file("p.cnp", text);
        run_.Erase = erase;
        run_.LinePrefix = erase ? "" : "Test Mode: ";
        RunPlugin(ctx_, at("p.cnp"));
    }
};

TEST_F(PluginRunner, ASectionEndsAfter255EntriesAtAGapOrAtAnEmptyValue) {
    std::string all = "[Registry]\r\n";
    for (int n = 1; n <= 300; ++n) all += "Item" + std::to_string(n) + "=" + entry() + "\r\n";
    const std::string e = entry();
    const std::pair<std::string, int> cases[] = {
        {all, 255},
        {"[Registry]\r\nItem1=" + e + "\r\nItem2=" + e + "\r\nItem4=" + e + "\r\n", 2},
        {"[Registry]\r\nItem1=\r\nItem2=" + e + "\r\n", 0}};
    for (const auto& [text, found] : cases) {
        run_.counters = {};
        runPlugin(text, false);
        EXPECT_EQ(run_.counters.FoundRegistryEntries, found) << text.substr(0, 80);
    }
}

TEST_F(PluginRunner, GarbageAMissingFileOrAStoppedRunDoNothing) {
    runPlugin(std::string("\x00\x01garbage\r\n=\r\n[", 15), true);
    RunPlugin(ctx_, at("missing.cnp"));
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    runPlugin("[Registry]\r\nItem1=" + entry() + "\r\n", true);
    EXPECT_TRUE(view_.lines.empty());
}

}  // namespace
}  // namespace cindral::engine
