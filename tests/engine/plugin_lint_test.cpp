#include "engine/plugin_lint.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/plugin_file.h"
#include "platform/shell_folders.h"
#include "support/fixtures.h"

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

}  // namespace
}  // namespace cindral::engine
