#include "engine/winapp2_import.h"

#include <gtest/gtest.h>

#include "engine/plugin_runner.h"
#include "engine_test_support.h"
#include "settings/scratch_registry.h"

namespace cindral::engine {
namespace {

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
