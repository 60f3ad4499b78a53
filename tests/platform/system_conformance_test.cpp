// The System and ShellFolders contracts, run against the backend of the
// build (natively the posix backend in its sandbox, under Wine the Win32 calls).
// The version legitimately differs: only Windows names a Windows family.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <tuple>

#include "platform/registry.h"
#include "platform/shell_folders.h"
#include "platform/system.h"
#include "support/sandbox.h"

namespace cindral::platform {
namespace {

class SystemConformance : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    System& system = *sandbox.platform().system;
};

TEST_F(SystemConformance, VersionAndExecutablePathDescribeTheTestProgram) {
    const std::string path = system.executablePath();
    ASSERT_GE(path.size(), 4u) << path;
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(path[0])));
    EXPECT_EQ(path.substr(1, 2), ":\\");
    const std::string name = system.lowerCase(path.substr(path.rfind('\\') + 1));
#ifdef _WIN32
    const SystemVersion v = system.version();
    EXPECT_TRUE(v.platformId == kPlatformWin9x || v.platformId == kPlatformNt) << v.platformId;
    EXPECT_GE(v.major, 4u);
    EXPECT_EQ(name, "cindral_tests.exe");
#else
    EXPECT_EQ(name, "cindral_tests");
#endif
    const std::string sep = system.decimalSeparator();
    ASSERT_FALSE(sep.empty());
    EXPECT_FALSE(std::isalnum(static_cast<unsigned char>(sep[0]))) << sep;
}

TEST_F(SystemConformance, CaseRulesChangeAsciiLettersOnly) {
    EXPECT_EQ(system.upperCase("abc XYZ 09 -_.\\%cookie%"), "ABC XYZ 09 -_.\\%COOKIE%");
    EXPECT_EQ(system.lowerCase("ABC xyz 09 -_.\\%COOKIE%"), "abc xyz 09 -_.\\%cookie%");
    // The length never changes, whatever the code page does with other bytes.
    const std::string high = "\xc3\xa9t\xc3\xa9";
    EXPECT_EQ(system.upperCase(high).size(), high.size());
    EXPECT_EQ(system.lowerCase(high).size(), high.size());

    const std::tuple<const char*, const char*, int> rows[] = {{"Plug-In.cnp", "plug-in.CNP", 0},
                                                              {"apple", "Banana", -1},
                                                              {"abc", "abcd", -1},
                                                              {"item2", "ITEM10", 1}};
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const auto& [a, b, expected] : rows) {
        EXPECT_EQ(sign(system.compareNoCase(a, b)), expected) << a << " vs " << b;
        EXPECT_EQ(sign(system.compareNoCase(b, a)), -expected) << b << " vs " << a;
    }
}

TEST_F(SystemConformance, ShellFoldersAreDrivePathsWithoutTrailingSeparator) {
    ShellFolders& shell = *sandbox.platform().shellFolders;
    for (int csidl : {kCsidlAppData, kCsidlInternetCache}) {
        const std::string folder = shell.specialFolder(csidl);
        ASSERT_GE(folder.size(), 3u) << csidl;
        EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
        EXPECT_NE(folder.back(), '\\') << folder;
    }
    // The others may be missing on a system, but never carry a trailing "\".
    for (int csidl : {kCsidlRecent, kCsidlCookies, kCsidlHistory}) {
        const std::string folder = shell.specialFolder(csidl);
        EXPECT_TRUE(folder.empty() || folder.back() != '\\') << csidl << " " << folder;
    }
    EXPECT_EQ(shell.specialFolder(0x7ffe), "");
}

#ifdef _WIN32
// A folder whose path is longer in the code page's bytes than MAX_PATH,
// though not in characters, comes whole or not at all: cut short, it would
// name one of its parent folders, which a run would then clean.
TEST_F(SystemConformance, AShellFolderLongInCodePageBytesComesWholeOrNotAtAll) {
    sandbox.holdSystemKeys();
    std::string wide;  // 50 characters, 150 bytes in UTF-8
    for (int i = 0; i < 50; ++i) wide += "\xe6\x97\xa5";
    const std::string folder = sandbox.root() + wide + "\\" + wide + "\\Cookies";
    ASSERT_TRUE(sandbox.makeFolder(folder));
    Registry& reg = *sandbox.platform().registry;
    const KeyHolder key(reg, reg.openKey(reg.root(RootKey::CurrentUser),
                                         "Software\\Microsoft\\Windows\\CurrentVersion\\"
                                         "Explorer\\User Shell Folders",
                                         kKeyAllAccess));
    ASSERT_TRUE(key);
    // The prefix's own value comes back before any check.
    RegValue former{};
    const bool existed = reg.queryValue(key.get(), "Cookies", former);
    const bool written = writeText(reg, key.get(), "Cookies", folder);
    const std::string found =
        written ? sandbox.platform().shellFolders->specialFolder(kCsidlCookies) : "";
    if (existed)
        reg.setValue(key.get(), "Cookies", former.type, former.data);
    else
        reg.deleteValue(key.get(), "Cookies");
    ASSERT_TRUE(written);
    EXPECT_TRUE(found == folder || found.empty()) << found.size() << " bytes: " << found;
}
#endif

}  // namespace
}  // namespace cindral::platform
