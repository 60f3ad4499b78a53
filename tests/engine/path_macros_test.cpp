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
                                        {platform::kCsidlRecent, "C:\\Users\\Ann\\Recent"}};
    std::string specialFolder(int csidl) override {
        auto it = shell.find(csidl);
        return it == shell.end() ? std::string() : it->second;
    }
    std::string windowsFolder() override { return "C:\\WINDOWS"; }
    std::string tempPath() override { return "C:\\Temp\\"; }
};

class PathMacros : public ::testing::Test {
protected:
    PathMacros() : p_(box_.platform()), fixed_(*box_.platform().files) {
        p_.shellFolders = &fixed_;
        p_.files = &fixed_;
    }
    void expectExpansions(const std::vector<std::pair<std::string, std::string>>& rows) {
        for (const auto& [from, to] : rows) EXPECT_EQ(ExpandPathMacros(p_, from), to) << from;
    }

    cindral::test::Sandbox box_;
    platform::Platform p_;
    FixedFolders fixed_;
};

TEST_F(PathMacros, ExpandsFoldersInTheirOwnCaseAndUpperCasesTheRest) {
    expectExpansions({
        {"%APP_DATA%\\x", "C:\\Users\\Ann\\AppData\\X"},
        {"%cookie%\\*?", "C:\\Users\\Ann\\Cookies\\*?"},
        {"%History%\\History.IE5\\*?", "C:\\Users\\Ann\\History\\HISTORY.IE5\\*?"},
        {"%CACHE%\\content.ie5\\*?", "C:\\Users\\Ann\\Cache\\CONTENT.IE5\\*?"},
        {"%RECENT%\\*?", "C:\\Users\\Ann\\Recent\\*?"},
        {"%TEMP%\\*", "C:\\Temp\\*"},  // a folder with a trailing "\" leaves one separator
        {"%WINDOWS%\\Temp\\*?", "C:\\WINDOWS\\TEMP\\*?"},
        // One pass each over "\\", ".." and "**", then a leading "\" goes.
        {"\\Data\\x..y", "DATA\\X.Y"},
        {"C:\\***", "C:\\**"},
        {"C:\\a\\\\\\b", "C:\\A\\\\B"},
        {"....", ".."},
        {"", ""},
        {"\\\\server", "SERVER"},
    });
}

TEST_F(PathMacros, ReplacesInTheFixedOrderAndMissingFoldersAsEmptyText) {
    // A folder text holding a later macro is expanded again; an earlier one is left.
    fixed_.shell[platform::kCsidlAppData] = "C:\\%TEMP%";
    fixed_.shell[platform::kCsidlRecent] = "C:\\%COOKIE%";
    expectExpansions({{"%APP_DATA%\\a", "C:\\C:\\Temp\\A"}, {"%RECENT%\\a", "C:\\%COOKIE%\\A"}});
    fixed_.shell.clear();
    expectExpansions({{"%COOKIE%\\*?", "*?"}, {"%APP_DATA%\\Mozilla\\*", "MOZILLA\\*"}});
}

TEST(ReplaceAllOnePass, NeverRescansWhatItInserted) {
    EXPECT_EQ(ReplaceAllOnePass("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAllOnePass("abab", "ab", "abab"), "abababab");
    EXPECT_EQ(ReplaceAllOnePass("x", "", "y"), "x");
}

}  // namespace
}  // namespace cindral::engine
