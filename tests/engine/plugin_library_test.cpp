// The shipped plug-in library, each plug-in run against one prepared profile
// that holds the traces of every plug-in and the files and values a user
// would miss: a clean run erases exactly the plug-in's own traces. (That a
// test run reports what a clean run removes is the runner's rule, met in
// the file remover's and the command line's tests.) The macros point into the sandbox and
// HKEY_CURRENT_USER into its scratch key, natively and under Wine alike.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/plugin_file.h"
#include "engine/plugin_lint.h"
#include "engine/plugin_runner.h"
#include "engine_test_support.h"
#include "settings/scratch_registry.h"
#include "support/plugin_library.h"

namespace cindral::engine {
namespace {

// A trace is a file below a macro folder, or "HKCU\key path|value name".
struct Row {
    std::string plugin;
    std::vector<std::string> traces;
};

const char kRecentDocs[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const char kApplets[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\";

void chromium(std::vector<Row>& rows, std::vector<std::string>& keep, const std::string& prefix,
              const std::string& data, bool history) {
    const std::string d = data + "\\Default\\";
    rows.push_back({prefix + "-cache.cnp",
                    {d + "Cache\\Cache_Data\\data_0", d + "Cache\\Cache_Data\\f_00a1",
                     d + "Code Cache\\js\\index", d + "GPUCache\\data_1"}});
    rows.push_back({prefix + "-cookies.cnp",
                    {d + "Network\\Cookies", d + "Network\\Cookies-journal", d + "Cookies"}});
    const std::vector<std::string> past = {d + "History", d + "History-journal",
                                           d + "Visited Links", d + "Top Sites", d + "Shortcuts"};
    if (history)
        rows.push_back({prefix + "-history.cnp", past});
    else
        keep.insert(keep.end(), past.begin(), past.end());
    for (const char* name :
         {"Bookmarks", "Login Data", "Preferences", "Web Data", "Network\\Network Persistent State",
          "Sessions\\Session_13", "Extensions\\abc\\1.0\\manifest.json",
          "Local Storage\\leveldb\\1.log"})
        keep.push_back(d + name);
    keep.push_back(data + "\\Local State");
}

void library(std::vector<Row>& rows, std::vector<std::string>& keep) {
    chromium(rows, keep, "chrome", "%LOCAL_APP_DATA%\\Google\\Chrome\\User Data", true);
    chromium(rows, keep, "edge", "%LOCAL_APP_DATA%\\Microsoft\\Edge\\User Data", true);
    chromium(rows, keep, "brave", "%LOCAL_APP_DATA%\\BraveSoftware\\Brave-Browser\\User Data",
             true);
    chromium(rows, keep, "vivaldi", "%LOCAL_APP_DATA%\\Vivaldi\\User Data", false);
    const std::string opera = "%APP_DATA%\\Opera Software\\Opera Stable\\";
    rows.push_back({"opera-cache.cnp",
                    {"%LOCAL_APP_DATA%\\Opera Software\\Opera Stable\\Cache\\Cache_Data\\data_0",
                     opera + "Code Cache\\js\\index", opera + "GPUCache\\data_1"}});
    rows.push_back(
        {"opera-history.cnp", {opera + "History", opera + "Visited Links", opera + "Shortcuts"}});
    for (const char* name : {"Bookmarks", "Login Data", "Preferences", "Network\\Cookies"})
        keep.push_back(opera + name);

    const std::string local =
        "%LOCAL_APP_DATA%\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\";
    const std::string roaming = "%APP_DATA%\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\";
    const std::string second = "%APP_DATA%\\Mozilla\\Firefox\\Profiles\\cd34.dev-edition\\";
    rows.push_back({"firefox-cache.cnp",
                    {local + "cache2\\entries\\0A1B2C",
                     local + "startupCache\\startupCache.8.little", local + "thumbnails\\a1.png"}});
    rows.push_back(
        {"firefox-cookies.cnp",
         {roaming + "cookies.sqlite", roaming + "cookies.sqlite-wal", second + "cookies.sqlite"}});
    rows.push_back({"firefox-formhistory.cnp", {roaming + "formhistory.sqlite"}});
    for (const char* name : {"places.sqlite", "logins.json", "key4.db", "prefs.js",
                             "sessionstore.jsonlz4", "storage\\default\\x\\ls\\data.sqlite"})
        keep.push_back(roaming + name);
    keep.push_back("%APP_DATA%\\Mozilla\\Firefox\\profiles.ini");

    for (const std::string app : {"Word", "Excel", "PowerPoint"}) {
        const std::string office = "HKCU\\Software\\Microsoft\\Office\\16.0\\" + app;
        std::string file = app == "PowerPoint" ? "powerpoint" : app == "Word" ? "word" : "excel";
        rows.push_back({file + "-recent.cnp",
                        {office + "\\File MRU|Item 1", office + "\\File MRU|Item 2",
                         office + "\\File MRU|Item 50"}});
        keep.push_back(office + "\\File MRU|Max Display");
        keep.push_back(office + "\\Place MRU|Item 1");
    }
    const std::string acrobat = "HKCU\\Software\\Adobe\\Acrobat Reader\\DC\\AVGeneral";
    rows.push_back({"acrobat-reader-recent.cnp",
                    {acrobat + "\\cRecentFiles\\c1|tDIText", acrobat + "\\cRecentFiles\\c2|tDIText",
                     acrobat + "\\cRecentFolders\\c1|tDIText"}});
    keep.push_back(acrobat + "|bExpandRHPInViewer");
    rows.push_back({"mpc-hc-recent.cnp",
                    {"HKCU\\Software\\MPC-HC\\MPC-HC\\Recent File List|File1",
                     "HKCU\\Software\\MPC-HC\\MPC-HC\\Recent File List|File2"}});
    keep.push_back("HKCU\\Software\\MPC-HC\\MPC-HC\\Settings|Volume");
    rows.push_back({"media-player-recent.cnp",
                    {"HKCU\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList|File0",
                     "HKCU\\Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList|URL0"}});
    keep.push_back("HKCU\\Software\\Microsoft\\MediaPlayer\\Preferences|Volume");
    rows.push_back({"paint-recent.cnp", {std::string(kApplets) + "Paint\\Recent File List|File1"}});
    keep.push_back(std::string(kApplets) + "Paint\\View|WindowPlacement");
    rows.push_back(
        {"wordpad-recent.cnp", {std::string(kApplets) + "Wordpad\\Recent File List|File1"}});
    keep.push_back(std::string(kApplets) + "Wordpad\\Options|FrameRect");
    rows.push_back(
        {"7-zip-history.cnp",
         {"HKCU\\Software\\7-Zip\\Compression|ArcHistory",
          "HKCU\\Software\\7-Zip\\FM|FolderHistory", "HKCU\\Software\\7-Zip\\FM|PathHistory",
          "HKCU\\Software\\7-Zip\\FM|CopyHistory"}});
    keep.push_back("HKCU\\Software\\7-Zip\\Compression|Level");
    keep.push_back("HKCU\\Software\\7-Zip\\FM|ShowDots");
    rows.push_back({"winrar-history.cnp",
                    {"HKCU\\Software\\WinRAR\\ArcHistory|0", "HKCU\\Software\\WinRAR\\ArcHistory|1",
                     "HKCU\\Software\\WinRAR\\DialogEditHistory\\ArcName|0",
                     "HKCU\\Software\\WinRAR\\DialogEditHistory\\ExtrPath|0"}});
    keep.push_back("HKCU\\Software\\WinRAR\\General|ShowComment");

    rows.push_back({"windows-jump-lists.cnp",
                    {"%RECENT%\\AutomaticDestinations\\5f7b5f1e01b83767.automaticDestinations-ms",
                     "%RECENT%\\CustomDestinations\\28c8b86deab549a1.customDestinations-ms"}});
    keep.push_back("%RECENT%\\report.docx.lnk");
    const std::string explorer = "%LOCAL_APP_DATA%\\Microsoft\\Windows\\Explorer\\";
    rows.push_back({"windows-thumbnail-cache.cnp",
                    {explorer + "thumbcache_256.db", explorer + "thumbcache_idx.db"}});
    keep.push_back(explorer + "iconcache_32.db");
    const std::string ex = kRecentDocs;
    rows.push_back(
        {"windows-recent-docs.cnp",
         {ex + "RecentDocs|MRUListEx", ex + "RecentDocs|0", ex + "RecentDocs\\.docx|0"}});
    rows.push_back({"windows-typed-paths.cnp", {ex + "TypedPaths|url1"}});
    rows.push_back(
        {"windows-search-history.cnp", {ex + "WordWheelQuery|0", ex + "WordWheelQuery|MRUListEx"}});
    rows.push_back({"windows-open-save-history.cnp",
                    {ex + "ComDlg32\\OpenSavePidlMRU\\*|0", ex + "ComDlg32\\OpenSavePidlMRU\\txt|0",
                     ex + "ComDlg32\\LastVisitedPidlMRU|0"}});
    keep.push_back(ex + "Advanced|HideFileExt");
    rows.push_back({"remote-desktop-recent.cnp",
                    {"HKCU\\Software\\Microsoft\\Terminal Server Client\\Default|MRU0"}});
    keep.push_back(
        "HKCU\\Software\\Microsoft\\Terminal Server Client\\Servers\\host1|UsernameHint");
    rows.push_back(
        {"windows-error-reports.cnp",
         {"%LOCAL_APP_DATA%\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_1\\Report.wer",
          "%LOCAL_APP_DATA%\\Microsoft\\Windows\\WER\\ReportQueue\\AppHang_2\\Report.wer",
          "%LOCAL_APP_DATA%\\CrashDumps\\tool.exe.812.dmp"}});
    rows.push_back({"directx-shader-cache.cnp", {"%LOCAL_APP_DATA%\\D3DSCache\\a1b2\\shader.idx"}});
    const std::string code = "%APP_DATA%\\Code\\";
    rows.push_back({"vscode-cache.cnp",
                    {code + "Cache\\Cache_Data\\data_0", code + "CachedData\\x1\\y.code",
                     code + "Code Cache\\js\\index", code + "GPUCache\\data_1",
                     code + "logs\\20240101T1\\main.log"}});
    for (const char* name :
         {"User\\settings.json", "Backups\\x\\file\\1", "User\\globalStorage\\storage.json"})
        keep.push_back(code + name);
    const std::string discord = "%APP_DATA%\\discord\\";
    rows.push_back({"discord-cache.cnp",
                    {discord + "Cache\\Cache_Data\\data_0", discord + "Code Cache\\js\\index",
                     discord + "GPUCache\\data_1"}});
    keep.push_back(discord + "settings.json");
    keep.push_back(discord + "Local Storage\\leveldb\\000003.log");
    rows.push_back({"steam-web-cache.cnp", {"%LOCAL_APP_DATA%\\Steam\\htmlcache\\Cache\\data_0"}});
    keep.push_back("%LOCAL_APP_DATA%\\Steam\\config\\loginusers.vdf");
}

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

TEST(PluginLibraryFiles, EveryPluginIsTestedHasAnAuthorAndAHeaderAndPassesTheChecker) {
    std::vector<Row> rows;
    std::vector<std::string> keep;
    library(rows, keep);
    std::set<std::string> tested, shipped;
    for (const Row& row : rows) tested.insert(row.plugin);
    cindral::test::Sandbox box;
    for (const auto& plugin : cindral::test::PluginLibrary()) {
        shipped.insert(plugin.fileName);
        EXPECT_EQ(plugin.bytes.compare(0, 2, "; "), 0) << plugin.fileName;
        EXPECT_FALSE(ReadPluginDocument(plugin.bytes).author.empty()) << plugin.fileName;
        for (const LintFinding& f : LintPluginText(plugin.bytes, box.platform()))
            ADD_FAILURE() << plugin.fileName << ": " << f.entry << ": " << f.message;
    }
    EXPECT_EQ(tested, shipped);
}

TEST_F(PluginLibrary, EachPluginErasesExactlyItsTracesAndNothingElse) {
    std::vector<Row> rows;
    std::vector<std::string> keep;
    library(rows, keep);
    std::vector<std::string> everything = keep;
    for (const Row& row : rows)
        everything.insert(everything.end(), row.traces.begin(), row.traces.end());
    std::map<std::string, std::string> bytes;
    for (const auto& plugin : cindral::test::PluginLibrary()) bytes[plugin.fileName] = plugin.bytes;

    run_.Erase = true;
    for (const Row& row : rows) {
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

}  // namespace
}  // namespace cindral::engine
