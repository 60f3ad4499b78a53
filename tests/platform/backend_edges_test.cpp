// Edges of the backends that the program's own data rarely reaches: names
// longer than the first enumeration buffer, values larger than any first
// guess, an empty key path handed to a deletion, a predefined root closed by
// mistake. The Win32-only cases check what the Win32 backend adds to the
// plain calls (see the comments in src/platform/win32).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "support/sandbox.h"

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#endif

namespace cindral::platform {
namespace {

class BackendEdges : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = reg().createKey(reg().root(RootKey::CurrentUser), sandbox_.registryScratchPath());
        ASSERT_NE(scratch_, kNoKey);
    }
    void TearDown() override { reg().closeKey(scratch_); }

    Registry& reg() { return *sandbox_.platform().registry; }
    Files& files() { return *sandbox_.platform().files; }

    test::Sandbox sandbox_;
    RegKey scratch_ = kNoKey;
};

TEST_F(BackendEdges, LongNamesAreEnumeratedWhole) {
    // Past the 256 characters the enumeration starts with.
    const std::string longValue = "v" + std::string(700, 'x');
    const std::string longKey = "k" + std::string(250, 'y');  // 251: near the key-name limit
    ASSERT_TRUE(writeText(reg(), scratch_, longValue, "data"));
    ASSERT_TRUE(writeText(reg(), scratch_, "short", "data"));
    KeyHolder sub(reg(), reg().createKey(scratch_, longKey));
    ASSERT_TRUE(sub);

    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(reg().valueNames(scratch_, names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"short", longValue}));
    names = {"stale"};
    ASSERT_TRUE(reg().subkeyNames(scratch_, names));
    EXPECT_EQ(names, std::vector<std::string>{longKey});
}

TEST_F(BackendEdges, LargeValuesAreReadWhole) {
    std::string data(300000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = char((i * 7 + 3) & 0xFF);
    ASSERT_TRUE(reg().setValue(scratch_, "blob", kRegBinary, data));
    RegValue value;
    ASSERT_TRUE(reg().queryValue(scratch_, "blob", value));
    EXPECT_EQ(value.type, kRegBinary);
    EXPECT_EQ(value.data.size(), data.size());
    EXPECT_TRUE(value.data == data);
}

TEST_F(BackendEdges, AnEmptyPathDeletesNothing) {
    KeyHolder leaf(reg(), reg().createKey(scratch_, "leaf"));
    ASSERT_TRUE(leaf);
    // RegDeleteKey itself would take "" as the key of the handle.
    EXPECT_FALSE(reg().deleteKey(leaf.get(), ""));
    EXPECT_TRUE(writeText(reg(), leaf.get(), "still", "there"));
    KeyHolder again(reg(), reg().openKey(scratch_, "leaf", kKeyRead));
    EXPECT_TRUE(again);
    EXPECT_TRUE(reg().deleteKey(scratch_, "leaf"));
}

TEST_F(BackendEdges, ClosingAPredefinedRootKeepsItUsable) {
    const RegKey user = reg().root(RootKey::CurrentUser);
    reg().closeKey(user);
    reg().closeKey(user);
    KeyHolder again(reg(), reg().openKey(user, sandbox_.registryScratchPath(), kKeyRead));
    EXPECT_TRUE(again);
    EXPECT_EQ(reg().root(RootKey::CurrentUser), user);
}

#ifdef _WIN32
TEST_F(BackendEdges, OverwriteRefusesAFileWithASecondName) {
    const std::string original = sandbox_.root() + "original.txt";
    const std::string second = sandbox_.root() + "second.txt";
    ASSERT_TRUE(sandbox_.writeFile(original, "shared content"));
    std::error_code error;
    std::filesystem::create_hard_link(original, second, error);
    if (error) GTEST_SKIP() << "this system cannot make hard links";

    EXPECT_EQ(files().openForOverwrite(original), nullptr);
    std::string bytes;
    ASSERT_TRUE(files().readFile(second, bytes));
    EXPECT_EQ(bytes, "shared content");

    ASSERT_TRUE(files().deleteFile(second));
    EXPECT_NE(files().openForOverwrite(original), nullptr);
}

TEST_F(BackendEdges, FailedAtomicWriteLeavesNoTemporaryFile) {
    const std::string target = sandbox_.root() + "list.dat";
    ASSERT_TRUE(sandbox_.writeFile(target, "old"));
    ASSERT_TRUE(sandbox_.makeFolder(sandbox_.root() + "folder"));
    EXPECT_FALSE(files().writeFileAtomic(sandbox_.root() + "folder", "new"));
    std::vector<DirEntry> entries;
    ASSERT_TRUE(files().listFolder(sandbox_.root(), entries));
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder", "list.dat"}));
}

TEST_F(BackendEdges, ProfileFileWithoutFolderIsTheCurrentFolders) {
    // The profile functions alone would use the Windows folder for it.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(sandbox_.root());
    const bool written =
        sandbox_.platform().profiles->writeString("edges.ini", "Items", "Key", "value");
    const std::string read =
        sandbox_.platform().profiles->readString("edges.ini", "Items", "Key", "none");
    std::filesystem::current_path(previous);

    EXPECT_TRUE(written);
    EXPECT_EQ(read, "value");
    EXPECT_TRUE(files().fileExists(sandbox_.root() + "edges.ini"));
    EXPECT_FALSE(files().fileExists(files().windowsFolder() + "\\edges.ini"));
}
#endif

}  // namespace
}  // namespace cindral::platform
