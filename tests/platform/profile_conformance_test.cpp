// Profile files behave as GetPrivateProfileStringA, GetPrivateProfileIntA and
// WritePrivateProfileStringA do: natively against the posix reader and
// writer, under Wine against the real functions.
//
// Where the backends legitimately differ, and what these tests therefore
// leave open:
// - Wine rewrites the whole file on every change: it drops empty lines,
//   strips the blanks around every "=" and turns every line end into CR LF.
//   Windows and the posix writer leave lines they do not change as they
//   were. Cases whose files hold such lines check the lines written and
//   what reads back, not the whole file.
// - Case-insensitive matching of bytes above 0x7F follows the code page on
//   Windows (Wine: also after reading the file as UTF-8 when it has a BOM);
//   the posix reader folds ASCII letters only.
// - A quoted value that only fits the buffer once its quotes are gone loses
//   its last character under Wine; the posix reader does the same, but the
//   case is not pinned here.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <tuple>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/sandbox.h"

namespace cindral::platform {
namespace {

const std::string kDefault = "<default>";
const int kDefaultInt = -77;

// Line ends and tabs made visible in failure messages.
std::string shown(const std::string& s) { return ::testing::PrintToString(s); }

class ProfileConformance : public ::testing::Test {
protected:
    ProfileFiles& profiles() { return *sandbox_.platform().profiles; }
    std::string file() { return sandbox_.root() + "test.ini"; }
    void put(const std::string& bytes) { ASSERT_TRUE(sandbox_.writeFile(file(), bytes)); }
    std::string contents() {
        std::string bytes;
        EXPECT_TRUE(sandbox_.platform().files->readFile(file(), bytes));
        return bytes;
    }
    std::string read(const std::string& section, const std::string& key,
                     const std::string& def = kDefault) {
        return profiles().readString(file(), section, key, def);
    }
    int readInt(const std::string& section, const std::string& key) {
        return profiles().readInt(file(), section, key, kDefaultInt);
    }
    bool write(const std::string& section, const std::string& key, const std::string& value) {
        return profiles().writeString(file(), section, key, value);
    }

    test::Sandbox sandbox_;
};

TEST_F(ProfileConformance, ReadsValuesAsTheWin32ReaderDoes) {
    const std::string d = kDefault;
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"[Items]\r\nWindows Run History=0\r\n", "items", "WINDOWS RUN HISTORY", "0"},
        // Section names end at the last "]" and are trimmed, as are the names asked for.
        {"[ s ]\r\nk=v\r\n", "s", "k", "v"},
        {"[s] trailing text\r\nk=v\r\n", "s", "k", "v"},
        {"[s]\r\n\tk\t=\tv w\t\r\n", " s ", " k ", "v w"},
        {"[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
        // No comment syntax.
        {"[s]\r\nk=v ;c\r\n", "s", "k", "v ;c"},
        {"[s]\r\n;k=v\r\n", "s", ";k", "v"},
        // A line without "=" is no value; empty values replace the default.
        {"[s]\r\nk\r\n", "s", "k", d.c_str()},
        {"[s]\r\nk=\r\n", "s", "k", ""},
        // The first of duplicate keys and sections counts.
        {"[s]\r\nK=first\r\nk=second\r\n", "s", "k", "first"},
        {"[s]\r\nk=first\r\n[S]\r\nk=second\r\nj=x\r\n", "s", "j", d.c_str()},
        // Line ends, a missing last line end, an unclosed section, a BOM.
        {"[s]\nk=v\n", "s", "k", "v"},
        {"[s]\rk=v\r", "s", "k", "v"},
        {"[s]\r\nk=v", "s", "k", "v"},
        {"[s]\r\n[t\r\nk=v\r\n", "s", "k", "v"},
        {"[s]\r\nk=v\r\n", "t", "k", d.c_str()},
        {"[s]\r\nk=v\r\n", "s", "j", d.c_str()},
        {"\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "v"},
        // Quotes: one matching pair around the trimmed value goes.
        {"[s]\r\nk= \" v \" \r\n", "s", "k", " v "},
        {"[s]\r\nk=''x''\r\n", "s", "k", "'x'"},
        {"[s]\r\nk=\"v'\r\n", "s", "k", "\"v'"},
        {"[s]\r\nk=\"\r\n", "s", "k", "\""},
    };
    for (const auto& [content, section, key, expected] : rows) {
        put(content);
        EXPECT_EQ(read(section, key), expected) << "file " << shown(content) << ", section \""
                                                << section << "\", key \"" << key << "\"";
    }
}

TEST_F(ProfileConformance, TheDefaultLosesTrailingSpacesAndQuotes) {
    const std::pair<const char*, const char*> rows[] = {{"  padded  ", "  padded"}, {"'q'", "q"}};
    for (bool fileExists : {false, true}) {
        if (fileExists) put("[s]\r\nother=1\r\n");
        for (const auto& [def, expected] : rows) {
            EXPECT_EQ(read("s", "k", def), expected)
                << "default \"" << def << "\"" << (fileExists ? " (file exists)" : " (no file)");
        }
        EXPECT_EQ(sandbox_.exists(file()), fileExists) << "reading creates nothing";
    }
}

TEST_F(ProfileConformance, AtMost2047CharactersAreRead) {
    const std::pair<std::string, std::size_t> rows[] = {
        {std::string(2048, 'x'), 2047}, {"\"" + std::string(2046, 'x') + "\"", 2046}};
    for (const auto& [value, expectedLength] : rows) {
        put("[s]\r\nk=" + value + "\r\n");
        const std::string got = read("s", "k");
        EXPECT_EQ(got.size(), expectedLength) << "value of " << value.size();
        EXPECT_EQ(got.find_first_not_of('x'), std::string::npos) << "value of " << value.size();
    }
}

TEST_F(ProfileConformance, ReadsIntegersAsTheWin32ReaderDoes) {
    const std::pair<const char*, int> rows[] = {
        {"+5", 5},         {"1x", 1},         {"\t-3", -3},
        {"x", 0},          {"", kDefaultInt}, {"\"\"", kDefaultInt},
        {"0x10", 16},      {"0X1f", 0},       {"0b101", 5},
        {"0o17", 15},      {"010", 10},       {"2147483648", INT_MIN},
        {"4294967297", 1},
    };
    for (const auto& [value, expected] : rows) {
        put(std::string("[s]\r\nk=") + value + "\r\n");
        EXPECT_EQ(readInt("s", "k"), expected) << "value \"" << value << "\"";
    }
}

TEST_F(ProfileConformance, WritesAsTheWin32WriterDoes) {
    // The file before (nullptr: none), the section, key and value written, the file after.
    const std::tuple<const char*, const char*, const char*, const char*, const char*> rows[] = {
        // new file, new section, new key
        {nullptr, "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"[s]\r\nk=old", "t", "n", "new", "[s]\r\nk=old\r\n[t]\r\nn=new\r\n"},
        {"[s]\r\nk=old\r\n[t]\r\nx=1\r\n", "s", "n", "new",
         "[s]\r\nk=old\r\nn=new\r\n[t]\r\nx=1\r\n"},
        {"[s]\r\nk=old", "s", "n", "new", "[s]\r\nk=old\r\nn=new\r\n"},
        {"[a]b]\r\nk=old\r\n", "a]b", "n", "x", "[a]b]\r\nk=old\r\nn=x\r\n"},
        // replacement in place
        {"[s]\r\nk=old\r\nj=1\r\n", "s", "k", "new", "[s]\r\nk=new\r\nj=1\r\n"},
        {"[s]\r\nk\r\n", "s", "k", "new", "[s]\r\nk=new\r\n"},
        {"[s]\r\nk=old\r\n", " s ", " k ", "new", "[s]\r\nk=new\r\n"},
        {"[s]\r\nk=old\r\n", "s", "k", "  padded  ", "[s]\r\nk=padded  \r\n"},
        // writing the value a key already holds leaves the file alone
        {"[s]\nk=v\n", "s", "k", "v", "[s]\nk=v\n"},
    };
    for (const auto& [before, section, key, value, after] : rows) {
        if (before) {
            put(before);
        } else {
            sandbox_.platform().files->deleteFile(file());
        }
        SCOPED_TRACE(std::string("file ") + (before ? shown(before) : "<none>") + ", [" + section +
                     "] " + key + "=" + value);
        EXPECT_TRUE(write(section, key, value));
        EXPECT_EQ(contents(), after);
    }
    const std::string path = sandbox_.root() + "missing\\test.ini";
    EXPECT_FALSE(profiles().writeString(path, "s", "k", "v")) << "no folder is made";
    EXPECT_FALSE(sandbox_.exists(path));
}

// Whole files are not compared here: Wine rewrites lines the others keep.
TEST_F(ProfileConformance, WrittenLinesEndInCrLfAndNewKeysPrecedeBlankLines) {
    put("[s]\nk=old\nj=1\n");
    ASSERT_TRUE(write("s", "k", "new"));
    std::string after = contents();
    EXPECT_NE(after.find("k=new\r\n"), std::string::npos) << shown(after);
    EXPECT_EQ(read("s", "j"), "1");

    put("[s]\r\nk=old\r\n\r\n\r\n[t]\r\nx=1\r\n");
    ASSERT_TRUE(write("s", "n", "\"quoted\""));
    after = contents();
    EXPECT_NE(after.find("k=old\r\nn=\"quoted\"\r\n"), std::string::npos) << shown(after);
    EXPECT_EQ(read("s", "n"), "quoted");
    EXPECT_EQ(read("t", "x"), "1");
}

#ifdef _WIN32
// A bare file name is the current folder's file; the profile functions alone
// would take it from the Windows folder.
TEST_F(ProfileConformance, ProfileFileWithoutFolderIsTheCurrentFolders) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(sandbox_.root());
    const bool written = profiles().writeString("edges.ini", "Items", "Key", "value");
    const std::string back = profiles().readString("edges.ini", "Items", "Key", "none");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(back, "value");
    Files& files = *sandbox_.platform().files;
    EXPECT_TRUE(files.fileExists(sandbox_.root() + "edges.ini"));
    EXPECT_FALSE(files.fileExists(files.windowsFolder() + "\\edges.ini"));
}
#endif

#ifdef _WIN32
// Under the UTF-8 code page a file of the legacy code page (1252 in the test
// prefix) reads as UTF-8; a write turns it into UTF-8 and keeps its names.
TEST_F(ProfileConformance, AFileInTheLegacyCodePageReadsAsUtf8AndIsWrittenAsUtf8) {
    put("[Plugin]\r\nTitle=Caf\xE9 cookies\r\n[Selected]\r\nCaf\xE9 cookies=1\r\n");
    EXPECT_EQ(read("Plugin", "Title"), "Caf\xC3\xA9 cookies");
    EXPECT_EQ(readInt("Selected", "Caf\xC3\xA9 cookies"), 1);
    ASSERT_TRUE(write("Selected", "Other", "0"));
    EXPECT_EQ(read("Selected", "Caf\xC3\xA9 cookies"), "1");
    EXPECT_NE(contents().find("Title=Caf\xC3\xA9 cookies"), std::string::npos) << shown(contents());
}
#endif

}  // namespace
}  // namespace cindral::platform
