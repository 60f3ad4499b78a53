// The registry of every backend behaves as the advapi32 calls do: natively
// against the posix store, under Wine against the real functions. Every
// case works below the sandbox's scratch key.
//
// Where the backends legitimately differ, and what these tests therefore
// leave open:
// - Order of RegEnumValue: Windows lists values in creation order (the posix
//   store does too); Wine lists them sorted by name. Value names are
//   compared here as sets.
// - Subkeys are listed sorted without regard to case everywhere, but Windows
//   compares upper-cased names and Wine (and the posix store) lower-cased
//   ones, which differ for "[", "\", "]", "^", "_" and "`". Names here use
//   letters and digits only.
// - Case-insensitive matching of bytes above 0x7F follows the code page on
//   Windows; the posix store folds ASCII letters only.
// - Creating a subkey through a handle without KEY_CREATE_SUB_KEY is refused
//   by Windows and allowed by Wine and the posix store; not tested.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "platform/registry.h"
#include "support/sandbox.h"

namespace cindral::platform {
namespace {

const std::uint32_t kSentinelNumber = 0xdeadbeef;
const std::string kSentinelText = "<default>";

class RegistryConformance : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ =
            reg().createKey(reg().root(RootKey::CurrentUser), sandbox_.registryScratchPath());
        ASSERT_NE(scratch_, kNoKey);
    }
    void TearDown() override {
        for (RegKey k : opened_) reg().closeKey(k);
        reg().closeKey(scratch_);
    }

    Registry& reg() { return *sandbox_.platform().registry; }
    std::string scratchPath(const std::string& sub = "") {
        return sub.empty() ? sandbox_.registryScratchPath()
                           : sandbox_.registryScratchPath() + "\\" + sub;
    }
    // Keys opened by a test are closed after it.
    RegKey keep(RegKey key) {
        if (key != kNoKey) opened_.push_back(key);
        return key;
    }
    RegKey create(const std::string& sub) { return keep(reg().createKey(scratch_, sub)); }
    RegKey open(const std::string& sub, std::uint32_t access = kKeyRead) {
        return keep(reg().openKey(scratch_, sub, access));
    }
    bool set(RegKey key, const std::string& name, std::uint32_t type, const std::string& data) {
        return reg().setValue(key, name, type, data);
    }
    std::set<std::string> valueSet(RegKey key) {
        std::vector<std::string> names;
        EXPECT_TRUE(reg().valueNames(key, names));
        return std::set<std::string>(names.begin(), names.end());
    }

    test::Sandbox sandbox_;
    RegKey scratch_ = kNoKey;
    std::vector<RegKey> opened_;
};

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(char(b));
    return s;
}

// ---- the access functions every part reads and writes through ----

TEST_F(RegistryConformance, ReadTextStopsAtAnEmbeddedNul) {
    ASSERT_TRUE(set(scratch_, "t", kRegSz, std::string("ab\0cd\0", 6)));
    EXPECT_EQ(readText(reg(), scratch_, "t", kSentinelText), "ab");
    RegValue raw;
    ASSERT_TRUE(reg().queryValue(scratch_, "t", raw));
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(raw.data, std::string("ab\0cd\0", 6)) << "queryValue returns the raw bytes";
}

TEST_F(RegistryConformance, ReadTextGivesTheDefaultForOtherTypesAndMissingValues) {
    ASSERT_TRUE(writeNumber(reg(), scratch_, "number", 42));
    ASSERT_TRUE(set(scratch_, "binary", kRegBinary, "abc"));
    ASSERT_TRUE(set(scratch_, "expand", kRegExpandSz, std::string("abc\0", 4)));
    ASSERT_TRUE(set(scratch_, "multi", kRegMultiSz, std::string("a\0b\0\0", 5)));
    for (const char* name : {"number", "binary", "expand", "multi", "missing"}) {
        EXPECT_EQ(readText(reg(), scratch_, name, kSentinelText), kSentinelText) << name;
    }
    ASSERT_TRUE(set(scratch_, "empty", kRegSz, std::string()));
    EXPECT_EQ(readText(reg(), scratch_, "empty", kSentinelText), "")
        << "an empty REG_SZ replaces the default";
}

TEST_F(RegistryConformance, ReadNumberNeedsADwordOfExactlyFourBytes) {
    struct Row {
        const char* name;
        std::uint32_t type;
        std::string data;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {"four", kRegDword, bytes({0x2a, 0, 0, 0}), 42},
        {"high", kRegDword, bytes({0xef, 0xbe, 0xad, 0xde}), 0xdeadbeef},
        {"none", kRegDword, std::string(), kSentinelNumber},
        {"two", kRegDword, bytes({1, 0}), kSentinelNumber},
        {"three", kRegDword, bytes({1, 0, 0}), kSentinelNumber},
        {"five", kRegDword, bytes({1, 0, 0, 0, 0}), kSentinelNumber},
        {"eight", kRegDword, std::string(8, '\0'), kSentinelNumber},
        {"binary", kRegBinary, bytes({7, 0, 0, 0}), kSentinelNumber},
        {"text", kRegSz, std::string("42\0", 3), kSentinelNumber},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(set(scratch_, row.name, row.type, row.data)) << row.name;
        EXPECT_EQ(readNumber(reg(), scratch_, row.name, kSentinelNumber), row.expected)
            << "value " << row.name << " of type " << row.type << " and " << row.data.size()
            << " bytes";
    }
    EXPECT_EQ(readNumber(reg(), scratch_, "missing", kSentinelNumber), kSentinelNumber);
}

TEST_F(RegistryConformance, WriteTextCountsTheTerminatingNul) {
    ASSERT_TRUE(writeText(reg(), scratch_, "t", "abc"));
    RegValue raw;
    ASSERT_TRUE(reg().queryValue(scratch_, "t", raw));
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(raw.data, std::string("abc\0", 4));
    ASSERT_TRUE(writeText(reg(), scratch_, "e", ""));
    ASSERT_TRUE(reg().queryValue(scratch_, "e", raw));
    EXPECT_EQ(raw.data, std::string(1, '\0'));
    EXPECT_EQ(readText(reg(), scratch_, "e", kSentinelText), "");
}

TEST_F(RegistryConformance, WriteNumberStoresFourLittleEndianBytes) {
    ASSERT_TRUE(writeNumber(reg(), scratch_, "n", 0x01020304));
    RegValue raw;
    ASSERT_TRUE(reg().queryValue(scratch_, "n", raw));
    EXPECT_EQ(raw.type, kRegDword);
    EXPECT_EQ(raw.data, bytes({4, 3, 2, 1}));
    EXPECT_EQ(readNumber(reg(), scratch_, "n", 0), 0x01020304u);
    ASSERT_TRUE(writeNumber(reg(), scratch_, "n", 0));
    EXPECT_EQ(readNumber(reg(), scratch_, "n", kSentinelNumber), 0u) << "0 replaces the default";
}

TEST_F(RegistryConformance, NoKeyGivesDefaultsAndFailures) {
    EXPECT_EQ(readNumber(reg(), kNoKey, "x", kSentinelNumber), kSentinelNumber);
    EXPECT_EQ(readText(reg(), kNoKey, "x", kSentinelText), kSentinelText);
    EXPECT_FALSE(writeNumber(reg(), kNoKey, "x", 1));
    EXPECT_FALSE(writeText(reg(), kNoKey, "x", "v"));
    EXPECT_FALSE(valueExists(reg(), kNoKey, "x"));
}

TEST_F(RegistryConformance, ValueExistsForAnyTypeAndForEmptyData) {
    EXPECT_FALSE(valueExists(reg(), scratch_, "v"));
    ASSERT_TRUE(set(scratch_, "v", kRegBinary, std::string()));
    EXPECT_TRUE(valueExists(reg(), scratch_, "v"));
    EXPECT_TRUE(valueExists(reg(), scratch_, "V"));
    ASSERT_TRUE(reg().deleteValue(scratch_, "v"));
    EXPECT_FALSE(valueExists(reg(), scratch_, "v"));
}

TEST_F(RegistryConformance, OpenOrCreateAndOpenForReadingUseRootAndPath) {
    const std::string path = scratchPath("Settings\\Inner");
    const RegKey created = keep(openOrCreateKey(reg(), RootKey::CurrentUser, path));
    ASSERT_NE(created, kNoKey);
    ASSERT_TRUE(writeText(reg(), created, "HomePage", "about:blank"));
    for (const std::string& p : {path, "\\" + path}) {
        const RegKey key = keep(openKeyForReading(reg(), RootKey::CurrentUser, p));
        ASSERT_NE(key, kNoKey) << p;
        EXPECT_EQ(readText(reg(), key, "homepage", kSentinelText), "about:blank") << p;
    }
    EXPECT_EQ(openKeyForReading(reg(), RootKey::CurrentUser, scratchPath("Missing")), kNoKey);
}

// A registry that refuses chosen access masks, to drive the fallbacks.
class RefusingRegistry : public Registry {
public:
    RefusingRegistry(Registry& inner, std::vector<std::uint32_t> refused)
        : inner_(inner), refused_(std::move(refused)) {}
    std::vector<std::uint32_t> asked;

    RegKey root(RootKey which) override { return inner_.root(which); }
    RegKey createKey(RegKey parent, const std::string& path) override {
        return inner_.createKey(parent, path);
    }
    RegKey openKey(RegKey parent, const std::string& path, std::uint32_t access) override {
        asked.push_back(access);
        if (std::find(refused_.begin(), refused_.end(), access) != refused_.end()) return kNoKey;
        return inner_.openKey(parent, path, access);
    }
    void closeKey(RegKey key) override { inner_.closeKey(key); }
    bool subkeyNames(RegKey key, std::vector<std::string>& names) override {
        return inner_.subkeyNames(key, names);
    }
    bool valueNames(RegKey key, std::vector<std::string>& names) override {
        return inner_.valueNames(key, names);
    }
    bool queryValue(RegKey key, const std::string& name, RegValue& out) override {
        return inner_.queryValue(key, name, out);
    }
    bool setValue(RegKey key, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        return inner_.setValue(key, name, type, data);
    }
    bool deleteValue(RegKey key, const std::string& name) override {
        return inner_.deleteValue(key, name);
    }
    bool deleteKey(RegKey parent, const std::string& path) override {
        return inner_.deleteKey(parent, path);
    }

private:
    Registry& inner_;
    std::vector<std::uint32_t> refused_;
};

TEST_F(RegistryConformance, FallbackOpenerStepsDownTheAccessMasks) {
    const RegKey source = create("TypedURLs");
    ASSERT_NE(source, kNoKey);
    ASSERT_TRUE(writeText(reg(), source, "url1", "alpha.example"));
    ASSERT_NE(create("TypedURLs\\Sub"), kNoKey);

    struct Row {
        std::vector<std::uint32_t> refused;
        std::vector<std::uint32_t> expectedAsks;
        bool opens;
        bool canListSubkeys;
    };
    const Row rows[] = {
        {{}, {kKeyRead}, true, true},
        {{kKeyRead}, {kKeyRead, kKeyQueryEnumerate}, true, true},
        {{kKeyRead, kKeyQueryEnumerate},
         {kKeyRead, kKeyQueryEnumerate, kKeyQueryValue},
         true,
         false},
        {{kKeyRead, kKeyQueryEnumerate, kKeyQueryValue},
         {kKeyRead, kKeyQueryEnumerate, kKeyQueryValue},
         false,
         false},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const Row& row = rows[i];
        RefusingRegistry refusing(reg(), row.refused);
        const RegKey key = keep(openKeyForReadingWithFallbacks(refusing, RootKey::CurrentUser,
                                                               "\\" + scratchPath("TypedURLs")));
        EXPECT_EQ(refusing.asked, row.expectedAsks) << "row " << i;
        ASSERT_EQ(key != kNoKey, row.opens) << "row " << i;
        if (!row.opens) continue;
        EXPECT_EQ(readText(reg(), key, "url1", kSentinelText), "alpha.example") << "row " << i;
        std::vector<std::string> names;
        EXPECT_TRUE(reg().valueNames(key, names)) << "row " << i;
        EXPECT_EQ(reg().subkeyNames(key, names), row.canListSubkeys) << "row " << i;
    }
    EXPECT_EQ(openKeyForReadingWithFallbacks(reg(), RootKey::CurrentUser, scratchPath("Nope")),
              kNoKey);
}

// ---- the raw operations ----

TEST_F(RegistryConformance, TheFiveRootsAreDistinctOpenableKeys) {
    const RootKey roots[] = {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine,
                             RootKey::Users, RootKey::CurrentConfig};
    std::set<RegKey> seen;
    for (RootKey r : roots) {
        const RegKey handle = reg().root(r);
        ASSERT_NE(handle, kNoKey) << int(r);
        seen.insert(handle);
        const RegKey same = keep(reg().openKey(handle, "", kKeyRead));
        ASSERT_NE(same, kNoKey) << int(r);
        std::vector<std::string> names;
        EXPECT_TRUE(reg().subkeyNames(same, names)) << int(r);
        reg().closeKey(handle);  // closing a root does nothing
        EXPECT_NE(keep(reg().openKey(handle, "", kKeyRead)), kNoKey) << int(r);
    }
    EXPECT_EQ(seen.size(), 5u);
}

TEST_F(RegistryConformance, CreateKeyMakesTheMissingKeysOnTheWay) {
    const RegKey deep = create("a\\b\\c");
    ASSERT_NE(deep, kNoKey);
    for (const char* p : {"a", "a\\b", "a\\b\\c"}) EXPECT_NE(open(p), kNoKey) << p;
    ASSERT_TRUE(writeText(reg(), deep, "v", "x"));
    const RegKey again = create("A\\B\\C");
    ASSERT_NE(again, kNoKey) << "creating an existing key opens it";
    EXPECT_EQ(readText(reg(), again, "v", kSentinelText), "x");
    std::vector<std::string> names;
    ASSERT_TRUE(reg().subkeyNames(open("a"), names));
    EXPECT_EQ(names, std::vector<std::string>{"b"}) << "no second key differing in case";
}

TEST_F(RegistryConformance, OpeningAMissingKeyFails) {
    EXPECT_EQ(open("nope"), kNoKey);
    EXPECT_EQ(open("nope\\deeper"), kNoKey);
    ASSERT_NE(create("there"), kNoKey);
    EXPECT_EQ(open("there\\nope"), kNoKey);
    EXPECT_EQ(open("nope", kKeyAllAccess), kNoKey) << "opening never creates";
    EXPECT_EQ(open("nope"), kNoKey);
}

TEST_F(RegistryConformance, PathSeparatorsAreReadAsWindowsReadsThem) {
    ASSERT_NE(create("a\\b"), kNoKey);
    struct Row {
        const char* path;
        bool opens;
    };
    const Row rows[] = {
        {"a\\b", true}, {"a\\b\\", true}, {"a\\\\b", true},  {"a\\b\\\\", true},
        {"A\\B", true}, {"a\\", true},    {"\\a\\b", false}, {"\\", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(open(row.path) != kNoKey, row.opens) << "open \"" << row.path << "\"";
    }
    EXPECT_NE(create("c\\d\\"), kNoKey) << "a trailing separator is accepted by create";
    EXPECT_NE(open("c\\d"), kNoKey);
    EXPECT_EQ(create("\\e"), kNoKey) << "a leading separator is refused by create";
    EXPECT_EQ(open("e"), kNoKey);
}

TEST_F(RegistryConformance, NamesCompareWithoutCaseAndKeepTheirCase) {
    const RegKey key = create("MixedCase");
    ASSERT_NE(key, kNoKey);
    ASSERT_TRUE(writeText(reg(), key, "ValueName", "one"));
    const RegKey lower = open("mixedcase", kKeyAllAccess);
    ASSERT_NE(lower, kNoKey);
    EXPECT_EQ(readText(reg(), lower, "VALUENAME", kSentinelText), "one");
    ASSERT_TRUE(writeText(reg(), lower, "valuename", "two"));
    EXPECT_EQ(readText(reg(), key, "ValueName", kSentinelText), "two");
    EXPECT_EQ(valueSet(key), std::set<std::string>{"ValueName"})
        << "setting a value again keeps one value under its first name";
    std::vector<std::string> names;
    ASSERT_TRUE(reg().subkeyNames(scratch_, names));
    EXPECT_EQ(names, std::vector<std::string>{"MixedCase"});
}

TEST_F(RegistryConformance, SubkeysAreListedSortedWithoutRegardToCase) {
    for (const char* n : {"b", "A", "c2", "C1", "a1", "B0"}) ASSERT_NE(create(n), kNoKey) << n;
    std::vector<std::string> names;
    ASSERT_TRUE(reg().subkeyNames(scratch_, names));
    EXPECT_EQ(names, (std::vector<std::string>{"A", "a1", "b", "B0", "C1", "c2"}));
}

TEST_F(RegistryConformance, ValueNamesListEveryValueOnce) {
    for (const char* n : {"v2", "V1", "", "v3"})
        ASSERT_TRUE(writeText(reg(), scratch_, n, "x")) << n;
    ASSERT_TRUE(writeNumber(reg(), scratch_, "v2", 7));
    EXPECT_EQ(valueSet(scratch_), (std::set<std::string>{"", "V1", "v2", "v3"}));
    ASSERT_TRUE(reg().deleteValue(scratch_, "v1"));
    EXPECT_EQ(valueSet(scratch_), (std::set<std::string>{"", "v2", "v3"}));
    EXPECT_EQ(readNumber(reg(), scratch_, "v2", 0), 7u);
    const RegKey empty = create("empty");
    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(reg().valueNames(empty, names));
    EXPECT_TRUE(names.empty());
    ASSERT_TRUE(reg().subkeyNames(empty, names));
    EXPECT_TRUE(names.empty());
}

TEST_F(RegistryConformance, TheDefaultValueHasTheEmptyName) {
    ASSERT_TRUE(writeText(reg(), scratch_, "", "default"));
    EXPECT_EQ(readText(reg(), scratch_, "", kSentinelText), "default");
    EXPECT_TRUE(valueExists(reg(), scratch_, ""));
    ASSERT_TRUE(reg().deleteValue(scratch_, ""));
    EXPECT_FALSE(valueExists(reg(), scratch_, ""));
}

TEST_F(RegistryConformance, RawDataRoundTripsForEveryType) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(char(i));
    struct Row {
        const char* name;
        std::uint32_t type;
        std::string data;
    };
    const Row rows[] = {
        {"binary", kRegBinary, all},
        {"empty", kRegBinary, std::string()},
        {"none", kRegNone, bytes({1, 2, 3})},
        {"odd type", 0x1234, "xyz"},
        {"dword5", kRegDword, bytes({1, 2, 3, 4, 5})},
        {"text", kRegSz, std::string("quote \" back \\ tab\t\0", 20)},
        {"text nul", kRegSz, std::string("a\0\0b\0", 5)},
        {"text empty", kRegSz, std::string()},
        {"multi", kRegMultiSz, std::string("a\0bc\0\0", 6)},
        {"long", kRegBinary, std::string(5000, '\x5a')},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(set(scratch_, row.name, row.type, row.data)) << row.name;
    }
    for (const Row& row : rows) {
        RegValue v;
        v.type = 0xbdbdbdbd;
        ASSERT_TRUE(reg().queryValue(scratch_, row.name, v)) << row.name;
        EXPECT_EQ(v.type, row.type) << row.name;
        EXPECT_EQ(v.data, row.data) << row.name;
    }
}

TEST_F(RegistryConformance, TextWithoutATerminatingNulGetsOne) {
    struct Row {
        std::uint32_t type;
        std::string data;
        std::string stored;
    };
    const Row rows[] = {
        {kRegSz, "abc", std::string("abc\0", 4)},
        {kRegSz, std::string("ab\0cd", 5), std::string("ab\0cd\0", 6)},
        {kRegExpandSz, "%TEMP%", std::string("%TEMP%\0", 7)},
        {kRegMultiSz, std::string("a\0b", 3), std::string("a\0b\0", 4)},
        {kRegBinary, "abc", "abc"},
    };
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const std::string name = "v" + std::to_string(i);
        ASSERT_TRUE(set(scratch_, name, rows[i].type, rows[i].data)) << "row " << i;
        RegValue v;
        ASSERT_TRUE(reg().queryValue(scratch_, name, v)) << "row " << i;
        EXPECT_EQ(v.data, rows[i].stored) << "row " << i << " type " << rows[i].type;
    }
}

TEST_F(RegistryConformance, DeletingAKeyThatHasSubkeysIsRefused) {
    ASSERT_NE(create("parent\\child"), kNoKey);
    EXPECT_FALSE(reg().deleteKey(scratch_, "parent"));
    EXPECT_NE(open("parent\\child"), kNoKey) << "nothing was removed";
    EXPECT_TRUE(reg().deleteKey(scratch_, "parent\\child"));
    EXPECT_EQ(open("parent\\child"), kNoKey);
    EXPECT_TRUE(reg().deleteKey(scratch_, "PARENT"));
    EXPECT_EQ(open("parent"), kNoKey);
}

TEST_F(RegistryConformance, DeletingWhatDoesNotExistFails) {
    EXPECT_FALSE(reg().deleteKey(scratch_, "missing"));
    EXPECT_FALSE(reg().deleteKey(scratch_, "missing\\deeper"));
    EXPECT_FALSE(reg().deleteValue(scratch_, "missing"));
    EXPECT_FALSE(reg().deleteKey(scratch_, "")) << "never the key of the handle itself";
    EXPECT_NE(open(""), kNoKey);
}

TEST_F(RegistryConformance, AHandleKeepsTheRightsItWasOpenedWith) {
    ASSERT_TRUE(writeText(reg(), scratch_, "v", "x"));
    ASSERT_NE(create("sub"), kNoKey);
    std::vector<std::string> names;

    const RegKey query = open("", kKeyQueryValue);
    ASSERT_NE(query, kNoKey);
    EXPECT_EQ(readText(reg(), query, "v", kSentinelText), "x");
    EXPECT_TRUE(reg().valueNames(query, names));
    EXPECT_FALSE(reg().subkeyNames(query, names)) << "KEY_QUERY_VALUE does not enumerate";
    EXPECT_FALSE(writeText(reg(), query, "w", "y"));
    EXPECT_FALSE(reg().deleteValue(query, "v"));

    const RegKey read = open("", kKeyRead);
    ASSERT_NE(read, kNoKey);
    EXPECT_TRUE(reg().subkeyNames(read, names));
    EXPECT_FALSE(writeText(reg(), read, "w", "y")) << "KEY_READ does not write";
    EXPECT_FALSE(reg().deleteValue(read, "v"));
    EXPECT_NE(keep(reg().openKey(read, "sub", kKeyAllAccess)), kNoKey)
        << "a subkey opens through any handle";

    const RegKey all = open("", kKeyAllAccess);
    EXPECT_TRUE(writeText(reg(), all, "w", "y"));
    EXPECT_TRUE(reg().deleteValue(all, "v"));
    EXPECT_FALSE(valueExists(reg(), scratch_, "v"));
}

TEST_F(RegistryConformance, AHandleToADeletedKeyFailsEvenWhenTheKeyComesBack) {
    const RegKey gone = create("gone");
    ASSERT_NE(gone, kNoKey);
    ASSERT_TRUE(writeText(reg(), gone, "v", "x"));
    ASSERT_TRUE(reg().deleteKey(scratch_, "gone"));

    std::vector<std::string> names;
    RegValue value;
    EXPECT_FALSE(reg().queryValue(gone, "v", value));
    EXPECT_FALSE(writeText(reg(), gone, "w", "y"));
    EXPECT_FALSE(reg().deleteValue(gone, "v"));
    EXPECT_FALSE(reg().valueNames(gone, names));
    EXPECT_FALSE(reg().subkeyNames(gone, names));
    EXPECT_EQ(keep(reg().createKey(gone, "child")), kNoKey);
    EXPECT_EQ(keep(reg().openKey(gone, "", kKeyRead)), kNoKey);

    const RegKey again = create("gone");
    ASSERT_NE(again, kNoKey);
    EXPECT_FALSE(writeText(reg(), gone, "w", "y")) << "the old handle stays dead";
    EXPECT_FALSE(valueExists(reg(), again, "v")) << "the new key starts empty";
    EXPECT_TRUE(writeText(reg(), again, "w", "y"));
}

TEST_F(RegistryConformance, TwoHandlesToOneKeySeeEachOthersChanges) {
    const RegKey first = create("shared");
    const RegKey second = open("shared", kKeyAllAccess);
    ASSERT_NE(first, kNoKey);
    ASSERT_NE(second, kNoKey);
    ASSERT_TRUE(writeNumber(reg(), first, "n", 5));
    EXPECT_EQ(readNumber(reg(), second, "n", 0), 5u);
    ASSERT_TRUE(reg().deleteValue(second, "n"));
    EXPECT_FALSE(valueExists(reg(), first, "n"));
    reg().closeKey(first);
    EXPECT_TRUE(writeNumber(reg(), second, "m", 1)) << "closing one handle leaves the other";
}

}  // namespace
}  // namespace cindral::platform
