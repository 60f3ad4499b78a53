#include "engine/plugin_lint.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/plugin_file.h"
#include "engine/plugin_runner.h"
#include "engine/winapp2_import.h"
#include "engine_test_support.h"
#include "platform/shell_folders.h"
#include "settings/scratch_registry.h"

namespace cindral::engine {
namespace {

std::string findingsOf(const std::string& bytes, platform::Platform& p) {
    std::string text;
    for (const LintFinding& f : LintPluginText(bytes, p)) text += f.entry + ": " + f.message + "\n";
    return text;
}

using PluginLint = cindral::test::SandboxTest;

TEST_F(PluginLint, EachKindOfFindingIsReportedWithItsEntry) {
    platform::Platform& p = box_.platform();
    const std::string profile = p.shellFolders->specialFolder(platform::kCsidlProfile);
    const std::string ok = "HKEY_CURRENT_USER\\Software\\X,OnlyValues,none";
    const struct {
        std::string text;
        std::string finding;  // a part of the one expected line
    } rows[] = {
        {"[Registry]\r\nItem1=HKCU\\Software\\X,OnlyValues,none",
         "Item1 (line 2): unknown root \"HKCU\""},
        {"[Registry]\r\nItem1=HKEY_CURRENT_USER\\Software\\X,Wipe,none", "unknown action \"Wipe\""},
        {"[Registry]\r\nItem1=HKEY_CURRENT_USER\\Software\\X", "Item1 (line 2): no action"},
        {"[Registry]\r\nItem1=HKEY_CURRENT_USER\\,OnlySubkeys,none", "names the whole root key"},
        {"[Registry]\r\nItem1=" + ok + "\r\nItem3=" + ok,
         "[Registry] Item3 (line 3): never read: the numbering stops at Item2"},
        {"[Registry]\r\nItem1=" + ok + "\r\nItem01=" + ok,
         "Item01 (line 3): never read: entries are named"},
        {"[Registry]\r\nItem1=" + ok + "\r\nITEM1=" + ok,
         "ITEM1 (line 3): never read: a key of the same"},
        {"[Registry]\r\nItem1=" + ok + "\r\n[registry]\r\nItem2=" + ok,
         "[Registry]: appears 2 times"},
        {"[Files]\r\nItem1=C:\\" + std::string(2100, 'a') + "\\*", "longer than 2047 characters"},
        {"[Files]\r\nItem1=%TEMP%\\[a-", "invalid file mask \"[A-\""},
        {"[Files]\r\nItem1=%TEMP%\\&[x\\*", "invalid folder name after \"&\" \"[X\""},
        {"[Files]\r\nItem1=%TEMP%\\Logs\\", "no file mask"},
        {"[Files]\r\nItem1=Program\\Logs\\*.log", "names no macro and is not an absolute path"},
        {"[Files]\r\nItem1=%LocalAppData%\\Tool\\*.log", "unknown macro %LocalAppData%"},
        {"[Files]\r\nItem1=D:\\*?", "walks the whole drive D:\\ with its subfolders"},
        {"[Files]\r\nItem1=" + profile + "\\*.tmp?", "all of the user profile"},
        {"[Files]\r\nItem1=" + profile.substr(0, profile.rfind('\\')) + "\\*?",
         "all of the user profile"},
        {"[Files]\r\nItem1=%WINDOWS%\\*.log?", "a system folder, which a run refuses"},
        {"[Plugin]\r\nTitle=Nothing", ": no registry or file entry is read"},
    };
    for (const auto& row : rows) {
        const std::string found = findingsOf(row.text + "\r\n", p);
        EXPECT_NE(found.find(row.finding), std::string::npos) << row.text << "\n" << found;
        EXPECT_EQ(std::count(found.begin(), found.end(), '\n'), 1) << row.text << "\n" << found;
    }
}

TEST_F(PluginLint, AFileWrittenByTheFormatterHasNoFinding) {
    PluginDocument doc;
    doc.title = "Tool";
    doc.author = "Someone";
    doc.comments = {"Erases the logs of Tool.", "", "[not a section]"};
    doc.registry = {"HKEY_CURRENT_USER\\Software\\Tool\\Recent,OnlyValues,none",
                    "HKEY_LOCAL_MACHINE\\Software\\Tool,OneValue,Last File"};
    doc.files = {"%APP_DATA%\\Tool\\*.log?", "%LOCAL_APP_DATA%\\Tool\\&Cache\\*",
                 "%TEMP%\\tool*.tmp"};
    const std::string bytes = FormatPluginFile(doc);
    EXPECT_EQ(findingsOf(bytes, box_.platform()), "");
    EXPECT_TRUE(ReadPluginDocument(bytes) == doc) << bytes;  // every field read back as written
}

// The winapp2.ini importer, which refuses what the checker finds.
class Winapp2 : public test::EngineTest {
protected:
    Winapp2() {
        folders_.folders = {{platform::kCsidlAppData, at("Roaming")},
                            {platform::kCsidlLocalAppData, at("Local")}};
        platform_.registry = &scratch_;
    }
    Winapp2Import import(const std::string& text) {
        return ImportWinapp2(text, "sample.ini", platform_);
    }
    void setText(const std::string& key, const std::string& name, const std::string& value) {
        scratch_.put(key, name, platform::kRegSz, value);
    }
    bool hasValue(const std::string& key, const std::string& name) {
        platform::RegValue v;
        return scratch_.get(key, name, v);
    }

    cindral::test::ScratchRegistry scratch_;  // HKEY_CURRENT_USER kept in the sandbox
};

TEST_F(Winapp2, EachConvertibleKeyKindRunsAsTheEntrySays) {
    const Winapp2Import result = import(
        "; a sample\r\n[Tool *]\r\nLangSecRef=3021\r\nDetect=HKCU\\Software\\Tool\r\n"
        "FileKey1=%LocalAppData%\\Tool|*.log\r\n"
        "FileKey2=%AppData%\\Tool\\Cache|*.*|RECURSE\r\n"
        "FileKey3=%APPDATA%\\Tool\\Notes\\|note?.txt;*.bak|RECURSE\r\n"
        "RegKey1=HKCU\\Software\\Tool\\Recent\r\n"
        "RegKey2=HKEY_CURRENT_USER\\Software\\Tool|LastFile\r\n");
    ASSERT_EQ(result.plugins.size(), 1u);
    EXPECT_EQ(result.plugins[0].fileName, "Tool.cnp");
    // Deleting a whole key is the one conversion that does less than asked.
    ASSERT_EQ(result.notConverted.size(), 1u);
    EXPECT_NE(
        result.notConverted[0].find("RegKey1=HKCU\\Software\\Tool\\Recent: converted in part"),
        std::string::npos);

    const std::string r = "Roaming\\Tool\\";
    const std::vector<std::string> erased = {"Local\\Tool\\a.log",      r + "Cache\\README",
                                             r + "Cache\\d\\x.bin",     r + "Notes\\note1.txt",
                                             r + "Notes\\d\\note2.txt", r + "Notes\\d\\old.bak"};
    const std::vector<std::string> kept = {"Local\\Tool\\keep.txt", "Local\\Tool\\sub\\b.log",
                                           r + "Notes\\note10.txt", r + "settings.ini"};
    for (const auto& f : erased) file(f);
    for (const auto& f : kept) file(f);
    setText("Software\\Tool\\Recent", "a", "one");
    setText("Software\\Tool\\Recent\\Sub", "b", "two");
    setText("Software\\Tool", "LastFile", "three");
    setText("Software\\Tool", "Keep", "four");
    file("p.cnp", FormatPluginFile(result.plugins[0].doc));

    run_.Erase = true;
    RunPlugin(ctx_, at("p.cnp"));
    for (const auto& f : erased) EXPECT_FALSE(exists(f)) << f;
    for (const auto& f : kept) EXPECT_TRUE(exists(f)) << f;
    EXPECT_FALSE(hasValue("Software\\Tool\\Recent", "a"));
    EXPECT_FALSE(hasValue("Software\\Tool\\Recent\\Sub", "b"));
    EXPECT_FALSE(hasValue("Software\\Tool", "LastFile"));
    EXPECT_TRUE(hasValue("Software\\Tool", "Keep"));
}

TEST_F(Winapp2, WhatAPluginCannotDoTheSameWayIsListedWithItsReasonAndNotConverted) {
    const std::pair<const char*, const char*> rows[] = {
        {"FileKey1=%AppData%\\T|*.*\r\nExcludeKey1=FILE|%AppData%\\T\\|keep.txt",
         "[T *]: not converted: ExcludeKey1"},
        {"FileKey1=%AppData%\\T|*.*\r\nWarning=Erases saved sessions.", "carries a warning"},
        {"FileKey1=%UserProfile%\\T|*.tmp", "no plug-in macro stands for %UserProfile%"},
        {"FileKey1=%AppData%\\T\\*\\Cache|*.*", "wildcards in the folder part"},
        {"FileKey1=%AppData%\\T|file?.txt", "also makes the walk include subfolders"},
        {"FileKey1=%AppData%\\T|[a].txt", "opens a set of characters"},
        {"FileKey1=%AppData%\\T|*.tmp|SOMETIMES", "unknown flag SOMETIMES"},
        {"FileKey1=C:\\|*.*|RECURSE", "walks the whole drive C:\\"},
        {"RegKey1=HKXX\\Software\\T", "unknown root HKXX"},
        {"RegKey1=HKCU\\Software\\*\\T", "wildcards or a comma in the key path"},
        {"SpecialKey1=HKCU\\Software\\T", "not a key plug-ins know"},
    };
    for (const auto& [keys, reason] : rows) {
        const Winapp2Import result = import(std::string("[T *]\r\n") + keys + "\r\n");
        EXPECT_TRUE(result.plugins.empty()) << keys;
        ASSERT_FALSE(result.notConverted.empty()) << keys;
        EXPECT_NE(result.notConverted[0].find(reason), std::string::npos) << keys << "\n"
                                                                          << result.notConverted[0];
    }
    const Winapp2Import lines = import("stray=1\r\n[T *]\r\nno equals sign\r\n");
    EXPECT_EQ(lines.notConverted, (std::vector<std::string>{
                                      "line 1: before the first entry: stray=1",
                                      "line 3: neither an entry name nor KEY=VALUE: no equals sign",
                                      "[T *]: nothing in it could be converted"}));

    // A lone CR ends a line as it ends the plug-in line it would be written
    // into; a NUL would cut the written value short.
    using namespace std::string_literals;
    const Winapp2Import cut = import(
        "[T *]\rFileKey1=%AppData%\\T|*.tmp\rFileKey2=%AppData%\\U|a\0b\r\n"
        "[N\0 *]\r\nFileKey1=%AppData%\\V|*.*\r\n"s);
    ASSERT_EQ(cut.plugins.size(), 1u);
    EXPECT_EQ(cut.plugins[0].doc.files.size(), 1u);
    EXPECT_EQ(cut.notConverted,
              (std::vector<std::string>{"line 3: holds a NUL byte",
                                        "[N? *]: not converted: its name holds a NUL byte"}));
}

}  // namespace
}  // namespace cindral::engine
