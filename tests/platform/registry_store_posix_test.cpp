// The posix registry's store file: its REGEDIT4 text, its atomic rewrite,
// several instances (processes) sharing one file, and hand-edited files.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <tuple>

#include "platform/posix/registry_posix.h"
#include "support/temp_folder.h"

namespace cindral::platform {
namespace {

namespace fs = std::filesystem;

class RegistryStore : public ::testing::Test {
protected:
    static RegKey hkcu(Registry& r) { return r.root(RootKey::CurrentUser); }

    test::TempFolder temp_;
    const std::string dir_ = temp_.path();
    const std::string store_ = dir_ + "/registry.reg";
};

TEST_F(RegistryStore, WritesRegedit4TextWithEscapesAndHexForWhatTextCannotHold) {
    // Name, type, data and the line they are stored as.
    const std::tuple<const char*, std::uint32_t, std::string, const char*> rows[] = {
        {"", kRegSz, std::string("default\0", 8), "@=\"default\""},
        {"say \"hi\"\\", kRegSz, std::string("C:\\dir \"x\"\0", 11),
         "\"say \\\"hi\\\"\\\\\"=\"C:\\\\dir \\\"x\\\"\""},
        {"LogRefreshLines", kRegDword, std::string("\xc4\x09\0\0", 4),
         "\"LogRefreshLines\"=dword:000009c4"},
        {"empty", kRegSz, std::string(), "\"empty\"=hex(1):"},
        {"lines", kRegSz, std::string("a\r\nb\0", 5), "\"lines\"=hex(1):61,0d,0a,62,00"},
        {"short", kRegDword, std::string("\x01\x02", 2), "\"short\"=hex(4):01,02"},
        {"bin", kRegBinary, std::string("\x00\xff", 2), "\"bin\"=hex:00,ff"},
        {"odd", 0x1234, "xyz", "\"odd\"=hex(1234):78,79,7a"},
    };
    PosixRegistry reg(store_);
    KeyHolder key(reg, reg.createKey(hkcu(reg), "Software\\Quorvane\\Cindral"));
    std::string expected =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Empty]\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Quorvane]\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Quorvane\\Cindral]\r\n";
    for (const auto& [name, type, data, line] : rows) {
        ASSERT_TRUE(reg.setValue(key.get(), name, type, data));
        expected += std::string(line) + "\r\n";
    }
    ASSERT_NE(KeyHolder(reg, reg.createKey(hkcu(reg), "Software\\Empty")).get(), kNoKey);
    EXPECT_EQ(test::readHostFile(store_), expected + "\r\n");

    PosixRegistry other(store_);
    KeyHolder again(other, other.openKey(hkcu(other), "software\\quorvane\\cindral", kKeyRead));
    for (const auto& [name, type, data, line] : rows) {
        RegValue v;
        ASSERT_TRUE(other.queryValue(again.get(), name, v)) << name;
        EXPECT_EQ(v.type, type) << name;
        EXPECT_EQ(v.data, data) << name;
    }
    EXPECT_TRUE(other.problems().empty());
}

TEST_F(RegistryStore, ReadsAHandWrittenFile) {
    test::writeHostFile(
        store_,
        "REGEDIT4\n; written by hand\n\n[hkey_current_user\\Software\\Hand]\n"
        "\"text\" = \"tab\there\"\n\"qword\"=hex(b):01,02,03,04,\\\n    05,06,07,08\n"
        "\"n\"=dword:2A\n[HKEY_LOCAL_MACHINE\\Software\\Machine]\n@=\"m\"\n");
    PosixRegistry reg(store_);
    EXPECT_TRUE(reg.problems().empty());
    KeyHolder hand(reg, reg.openKey(hkcu(reg), "Software\\Hand", kKeyRead));
    ASSERT_TRUE(hand);
    EXPECT_EQ(readText(reg, hand.get(), "text", "?"), "tab\there");
    EXPECT_EQ(readNumber(reg, hand.get(), "n", 0), 42u);
    RegValue q;
    ASSERT_TRUE(reg.queryValue(hand.get(), "qword", q));
    EXPECT_EQ(q.type, 0xbu);
    EXPECT_EQ(q.data, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    KeyHolder machine(reg,
                      reg.openKey(reg.root(RootKey::LocalMachine), "Software\\Machine", kKeyRead));
    EXPECT_EQ(readText(reg, machine.get(), "", "?"), "m");
    EXPECT_EQ(reg.openKey(hkcu(reg), "Software\\Machine", kKeyRead), kNoKey)
        << "each root is a tree of its own";
}

TEST_F(RegistryStore, AMissingStoreIsEmptyAndEveryChangeReplacesThePrivateFileWhole) {
    const std::string nested = dir_ + "/Cindral";
    const std::string file = nested + "/registry.reg";
    PosixRegistry reg(file);
    EXPECT_EQ(reg.openKey(hkcu(reg), "Software", kKeyRead), kNoKey);
    EXPECT_EQ(readText(reg, hkcu(reg), "x", "def"), "def");
    EXPECT_FALSE(fs::exists(nested)) << "reading creates nothing";
    KeyHolder key(reg, reg.createKey(hkcu(reg), "Software"));
    ASSERT_TRUE(key) << "the folder is made on the first change";
    auto status = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(file.c_str(), &st), 0);
        return st;
    };
    const struct stat before = status();
    EXPECT_EQ(before.st_mode & 0777, 0600u) << "the store is private to its owner";
    ASSERT_TRUE(writeNumber(reg, key.get(), "n", 1));
    EXPECT_NE(before.st_ino, status().st_ino) << "written to a new file renamed over the old one";
}

TEST_F(RegistryStore, InstancesOnOneFileSeeEachOthersChangesAndLoseNone) {
    PosixRegistry a(store_), b(store_);
    KeyHolder ka(a, a.createKey(hkcu(a), "Shared"));
    KeyHolder kb(b, b.openKey(hkcu(b), "Shared", kKeyAllAccess));
    ASSERT_TRUE(kb) << "b sees the key a created";
    std::string blob;  // long hex data continues on indented lines
    for (int i = 0; i < 200; ++i) blob.push_back(char(i));
    ASSERT_TRUE(a.setValue(ka.get(), "blob", kRegBinary, blob));
    RegValue v;
    ASSERT_TRUE(b.queryValue(kb.get(), "blob", v));
    EXPECT_EQ(v.data, blob);

    KeyHolder child(a, a.createKey(ka.get(), "child"));
    ASSERT_TRUE(b.deleteKey(kb.get(), "child"));
    EXPECT_FALSE(writeText(a, child.get(), "v", "x")) << "a's handle died with the key";

    // Two instances (as the window and the command line would be) writing at
    // once: each change is made under the file's lock on fresh contents.
    auto writer = [&](const std::string& prefix) {
        PosixRegistry reg(store_);
        for (int i = 0; i < 40; ++i) {
            KeyHolder key(reg, reg.createKey(hkcu(reg), "Busy"));
            writeNumber(reg, key.get(), prefix + std::to_string(i), std::uint32_t(i));
        }
    };
    std::thread first(writer, "a"), second(writer, "b");
    first.join();
    second.join();
    KeyHolder busy(a, a.openKey(hkcu(a), "Busy", kKeyRead));
    std::vector<std::string> names;
    ASSERT_TRUE(a.valueNames(busy.get(), names));
    EXPECT_EQ(names.size(), 80u) << "concurrent writers lose no update";
}

const char kDamaged[] =
    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Good]\r\n\"kept\"=\"yes\"\r\n"
    "\"broken\"=hex:zz,01\r\nthis line means nothing\r\n"
    "[HKEY_NOWHERE\\X]\r\n\"lost\"=\"unreachable\"\r\n"
    "[HKEY_CURRENT_USER\\Software\\Good\\Sub]\r\n\"n\"=dword:00000005\r\n";

TEST_F(RegistryStore, ADamagedFileIsUsedAsFarAsPossibleAndBackedUpBeforeTheFirstChange) {
    test::writeHostFile(store_, kDamaged);
    PosixRegistry reg(store_);
    KeyHolder good(reg, reg.openKey(hkcu(reg), "Software\\Good", kKeyAllAccess));
    ASSERT_TRUE(good);
    EXPECT_EQ(readText(reg, good.get(), "kept", "?"), "yes");
    EXPECT_FALSE(valueExists(reg, good.get(), "broken"));
    KeyHolder sub(reg, reg.openKey(good.get(), "Sub", kKeyRead));
    EXPECT_EQ(readNumber(reg, sub.get(), "n", 0), 5u);
    EXPECT_EQ(test::readHostFile(store_), kDamaged) << "reading changes nothing";

    ASSERT_TRUE(writeText(reg, good.get(), "new", "1"));
    EXPECT_EQ(test::readHostFile(store_ + ".bad"), kDamaged) << "the original bytes are kept";
    ASSERT_TRUE(writeText(reg, good.get(), "newer", "2"));
    EXPECT_EQ(test::hostNames(dir_),
              (std::vector<std::string>{"registry.reg", "registry.reg.bad", "registry.reg.lock"}))
        << "a clean store is not backed up again";

    test::writeHostFile(store_, std::string(kDamaged) + "garbage\r\n");
    ASSERT_TRUE(writeText(reg, good.get(), "after", "3"));
    EXPECT_EQ(test::readHostFile(store_ + ".bad"), kDamaged) << "an older copy is not overwritten";
    EXPECT_EQ(test::readHostFile(store_ + ".bad.1"), std::string(kDamaged) + "garbage\r\n");
}

TEST_F(RegistryStore, NoChangeIsWrittenOverAFileThatCannotBeBackedUpOrRead) {
    test::writeHostFile(store_, kDamaged);
    for (int i = 0; i < 100; ++i)
        fs::create_directory(store_ + ".bad" + (i ? "." + std::to_string(i) : ""));
    PosixRegistry reg(store_);
    KeyHolder good(reg, reg.openKey(hkcu(reg), "Software\\Good", kKeyAllAccess));
    ASSERT_TRUE(good);
    EXPECT_FALSE(writeText(reg, good.get(), "new", "1"));
    EXPECT_FALSE(valueExists(reg, good.get(), "new")) << "the failed change is undone";
    EXPECT_EQ(reg.createKey(good.get(), "NewKey"), kNoKey);
    EXPECT_EQ(reg.openKey(good.get(), "NewKey", kKeyRead), kNoKey);
    EXPECT_FALSE(reg.deleteKey(good.get(), "Sub"));
    EXPECT_NE(KeyHolder(reg, reg.openKey(good.get(), "Sub", kKeyRead)).get(), kNoKey);
    EXPECT_EQ(test::readHostFile(store_), kDamaged);

    // A pipe (or any other non-file) where the file should be: no call waits
    // for a writer, none reads it as the store or replaces it.
    const std::string pipe = dir_ + "/pipe.reg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    PosixRegistry piped(pipe);
    EXPECT_EQ(piped.createKey(hkcu(piped), "Software"), kNoKey);
    EXPECT_EQ(piped.openKey(hkcu(piped), "Software", kKeyRead), kNoKey);
    EXPECT_TRUE(fs::is_fifo(pipe));

    // A link in place of the lock file: nothing is created where it points.
    const std::string linked = dir_ + "/linked.reg";
    fs::create_symlink(dir_ + "/elsewhere", linked + ".lock");
    PosixRegistry withLink(linked);
    EXPECT_FALSE(writeNumber(withLink, hkcu(withLink), "x", 1));
    EXPECT_FALSE(fs::exists(dir_ + "/elsewhere"));
    EXPECT_FALSE(fs::exists(linked));
}

TEST_F(RegistryStore, NamesTheFileCannotHoldAreRefused) {
    PosixRegistry reg(store_);
    KeyHolder key(reg, reg.createKey(hkcu(reg), "K"));
    EXPECT_FALSE(writeText(reg, key.get(), "two\nlines", "x"));
    EXPECT_EQ(reg.createKey(key.get(), "a\nb"), kNoKey);
    EXPECT_TRUE(writeText(reg, key.get(), std::string("cut\0here", 8), "x"));
    EXPECT_TRUE(valueExists(reg, key.get(), "cut"))
        << "a name ends at its NUL, as in the Win32 call";
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
