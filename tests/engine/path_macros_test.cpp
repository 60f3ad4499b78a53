#include "engine/path_macros.h"

#include <gtest/gtest.h>

#include <map>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

class FixedShellFolders : public platform::ShellFolders {
public:
    std::map<int, std::string> folders;
    std::string specialFolder(int csidl) override {
        auto it = folders.find(csidl);
        return it == folders.end() ? std::string() : it->second;
    }
};

class FixedFolders : public test::FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    std::string windows = "C:\\WINDOWS";
    std::string temp = "C:\\Temp\\";
    std::string windowsFolder() override { return windows; }
    std::string tempPath() override { return temp; }
};

class PathMacros : public ::testing::Test {
protected:
    PathMacros() : p_(box_.platform()), files_(*box_.platform().files) {
        p_.shellFolders = &shell_;
        p_.files = &files_;
        shell_.folders = {{platform::kCsidlAppData, "C:\\Users\\Ann\\AppData"},
                          {platform::kCsidlCookies, "C:\\Users\\Ann\\Cookies"},
                          {platform::kCsidlHistory, "C:\\Users\\Ann\\History"},
                          {platform::kCsidlInternetCache, "C:\\Users\\Ann\\Cache"},
                          {platform::kCsidlRecent, "C:\\Users\\Ann\\Recent"}};
    }
    std::string expand(const std::string& t) { return ExpandPathMacros(p_, t); }

    cindral::test::Sandbox box_;
    platform::Platform p_;
    FixedShellFolders shell_;
    FixedFolders files_;
};

TEST_F(PathMacros, EachMacroGivesItsFolderInItsOwnCase) {
    EXPECT_EQ(expand("%APP_DATA%\\x"), "C:\\Users\\Ann\\AppData\\X");
    EXPECT_EQ(expand("%COOKIE%\\*?"), "C:\\Users\\Ann\\Cookies\\*?");
    EXPECT_EQ(expand("%cookie%\\*?"), "C:\\Users\\Ann\\Cookies\\*?");
    EXPECT_EQ(expand("%History%\\History.IE5\\*?"), "C:\\Users\\Ann\\History\\HISTORY.IE5\\*?");
    EXPECT_EQ(expand("%CACHE%\\content.ie5\\*?"), "C:\\Users\\Ann\\Cache\\CONTENT.IE5\\*?");
    EXPECT_EQ(expand("%RECENT%\\*?"), "C:\\Users\\Ann\\Recent\\*?");
    // The two folders that carry a trailing "\" leave a single separator.
    EXPECT_EQ(expand("%TEMP%\\*"), "C:\\Temp\\*");
    EXPECT_EQ(expand("%WINDOWS%\\Temp\\*?"), "C:\\WINDOWS\\TEMP\\*?");
}

TEST_F(PathMacros, ReplacesInTheFixedOrder) {
    // A folder text that holds a later macro is expanded again by it; one
    // that holds an earlier macro is left as it is.
    shell_.folders[platform::kCsidlAppData] = "C:\\%TEMP%";
    shell_.folders[platform::kCsidlRecent] = "C:\\%COOKIE%";
    EXPECT_EQ(expand("%APP_DATA%\\a"), "C:\\C:\\Temp\\A");
    EXPECT_EQ(expand("%RECENT%\\a"), "C:\\%COOKIE%\\A");
}

TEST_F(PathMacros, CleansSeparatorsDotsAndStarsInOnePassEach) {
    EXPECT_EQ(expand("\\Data\\x..y"), "DATA\\X.Y");
    EXPECT_EQ(expand("a..b.txt"), "A.B.TXT");
    EXPECT_EQ(expand("C:\\***"), "C:\\**");
    EXPECT_EQ(expand("C:\\a\\\\\\b"), "C:\\A\\\\B");  // three become two
    EXPECT_EQ(expand("...."), "..");
    EXPECT_EQ(expand(""), "");
    EXPECT_EQ(expand("\\\\server"), "SERVER");  // "\\" collapses, then the lead goes
}

TEST_F(PathMacros, MissingShellFolderExpandsToEmptyText) {
    shell_.folders.clear();
    EXPECT_EQ(expand("%COOKIE%\\*?"), "*?");
    EXPECT_EQ(expand("%APP_DATA%\\Mozilla\\*"), "MOZILLA\\*");
}

TEST(ReplaceAllOnePass, NeverRescansWhatItInserted) {
    EXPECT_EQ(ReplaceAllOnePass("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAllOnePass("abab", "ab", "abab"), "abababab");
    EXPECT_EQ(ReplaceAllOnePass("x", "", "y"), "x");
}

}  // namespace
}  // namespace cindral::engine
