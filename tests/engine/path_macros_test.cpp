#include "engine/path_macros.h"

#include <gtest/gtest.h>

#include <map>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

class FixedFolders : public test::FilesDecorator, public platform::ShellFolders {
public:
    using FilesDecorator::FilesDecorator;
    std::map<int, std::string> shell = {{platform::kCsidlAppData, "C:\\Users\\Ann\\AppData"},
                                        {platform::kCsidlCookies, "C:\\Users\\Ann\\Cookies"},
                                        {platform::kCsidlHistory, "C:\\Users\\Ann\\History"},
                                        {platform::kCsidlInternetCache, "C:\\Users\\Ann\\Cache"},
                                        {platform::kCsidlRecent, "C:\\%COOKIE%"}};
    std::string specialFolder(int csidl) override { return shell.count(csidl) ? shell[csidl] : ""; }
    std::string windowsFolder() override { return "C:\\WINDOWS"; }
    std::string tempPath() override { return "C:\\Temp\\"; }
};

TEST(PathMacros, ExpandsFoldersInTheirOwnCaseAndUpperCasesTheRest) {
    cindral::test::Sandbox box;
    FixedFolders fixed(*box.platform().files);
    platform::Platform p = box.platform();
    p.shellFolders = &fixed;
    p.files = &fixed;
    const std::pair<const char*, const char*> rows[] = {
        {"%APP_DATA%\\x", "C:\\Users\\Ann\\AppData\\X"},
        {"%cookie%\\*?", "C:\\Users\\Ann\\Cookies\\*?"},
        {"%History%\\History.IE5\\*?", "C:\\Users\\Ann\\History\\HISTORY.IE5\\*?"},
        {"%CACHE%\\content.ie5\\*?", "C:\\Users\\Ann\\Cache\\CONTENT.IE5\\*?"},
        {"%TEMP%\\*", "C:\\Temp\\*"},  // a folder with a trailing "\" leaves one separator
        {"%WINDOWS%\\Temp\\*?", "C:\\WINDOWS\\TEMP\\*?"},
        // Macros go in a fixed order: a folder holding an earlier one keeps it.
        {"%RECENT%\\a", "C:\\%COOKIE%\\A"},
        // One pass each over "\\", ".." and "**", then a leading "\" goes.
        {"\\Data\\x..y", "DATA\\X.Y"},
        {"C:\\***", "C:\\**"},
        {"C:\\a\\\\\\b", "C:\\A\\\\B"},
        {"....", ".."},
        {"\\\\server", "SERVER"},
    };
    for (const auto& [from, to] : rows) EXPECT_EQ(ExpandPathMacros(p, from), to) << from;
    fixed.shell = {{platform::kCsidlAppData, "C:\\%TEMP%"}};  // a later macro is expanded again
    EXPECT_EQ(ExpandPathMacros(p, "%APP_DATA%\\a"), "C:\\C:\\Temp\\A");
    EXPECT_EQ(ExpandPathMacros(p, "%COOKIE%\\*?"), "*?");  // a missing folder is empty text
}

}  // namespace
}  // namespace cindral::engine
