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
#include <set>
#include <tuple>
#include <vector>

#include "platform/registry.h"
#include "support/faulty_registry.h"
#include "support/sandbox.h"

namespace cindral::platform {
namespace {

const std::uint32_t kSentinelNumber = 0xdeadbeef;
const std::string kSentinelText = "<default>";

class RegistryConformance : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(scratch_ = create(""), kNoKey); }
    void TearDown() override {
        for (RegKey k : opened_) reg().closeKey(k);
    }

    Registry& reg() { return *sandbox_.platform().registry; }
    std::string scratchPath(const std::string& sub) {
        return sandbox_.registryScratchPath() + "\\" + sub;
    }
    // Keys opened by a test are closed after it.
    RegKey keep(RegKey key) {
        if (key != kNoKey) opened_.push_back(key);
        return key;
    }
    RegKey create(const std::string& sub) {
        const RegKey user = reg().root(RootKey::CurrentUser);
        return keep(sub.empty() ? reg().createKey(user, sandbox_.registryScratchPath())
                                : reg().createKey(scratch_, sub));
    }
    RegKey open(const std::string& sub, std::uint32_t access = kKeyRead) {
        return keep(reg().openKey(scratch_, sub, access));
    }
    bool set(RegKey key, const std::string& name, std::uint32_t type, const std::string& data) {
        return reg().setValue(key, name, type, data);
    }
    std::string text(RegKey key, const std::string& name) {
        return readText(reg(), key, name, kSentinelText);
    }
    std::set<std::string> valueSet(RegKey key) {
        std::vector<std::string> names;
        EXPECT_TRUE(reg().valueNames(key, names));
        return std::set<std::string>(names.begin(), names.end());
    }
    std::vector<std::string> subkeys(RegKey key) {
        std::vector<std::string> names{"stale"};
        EXPECT_TRUE(reg().subkeyNames(key, names));
        return names;
    }

    test::Sandbox sandbox_;
    RegKey scratch_ = kNoKey;
    std::vector<RegKey> opened_;
};

// ---- the access functions the program reads and writes through ----

TEST_F(RegistryConformance, TextAccessorsHandleRegSzAsTheWin32CallsDoAndAnyValueExists) {
    ASSERT_TRUE(set(scratch_, "t", kRegSz, std::string("ab\0cd\0", 6)));
    EXPECT_EQ(text(scratch_, "t"), "ab");
    ASSERT_TRUE(writeText(reg(), scratch_, "e", ""));
    EXPECT_EQ(text(scratch_, "e"), "") << "an empty REG_SZ replaces the default";
    RegValue raw;
    ASSERT_TRUE(reg().queryValue(scratch_, "e", raw));
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(raw.data, std::string(1, '\0')) << "the terminating NUL is counted";
    ASSERT_TRUE(set(scratch_, "expand", kRegExpandSz, std::string("abc\0", 4)));
    EXPECT_EQ(text(scratch_, "expand"), kSentinelText);
    EXPECT_EQ(text(scratch_, "missing"), kSentinelText);
    // Any type, empty data and the empty name make a value.
    for (const char* name : {"v", ""}) {
        EXPECT_FALSE(valueExists(reg(), scratch_, name));
        ASSERT_TRUE(set(scratch_, name, kRegBinary, std::string()));
        EXPECT_TRUE(valueExists(reg(), scratch_, name));
        ASSERT_TRUE(reg().deleteValue(scratch_, name));
        EXPECT_FALSE(valueExists(reg(), scratch_, name));
    }
}

TEST_F(RegistryConformance, NumbersAreDwordsOfExactlyFourLittleEndianBytes) {
    const std::uint32_t none = kSentinelNumber;
    const std::tuple<const char*, std::uint32_t, std::string, std::uint32_t> rows[] = {
        {"high", kRegDword, "\xef\xbe\xad\xde", 0xdeadbeef},
        {"three", kRegDword, std::string("\1\0\0", 3), none},
        {"five", kRegDword, std::string("\1\0\0\0\0", 5), none},
        {"binary", kRegBinary, std::string("\7\0\0\0", 4), none},
    };
    for (const auto& [name, type, data, expected] : rows) {
        ASSERT_TRUE(set(scratch_, name, type, data)) << name;
        EXPECT_EQ(readNumber(reg(), scratch_, name, kSentinelNumber), expected) << name;
    }
    EXPECT_EQ(readNumber(reg(), scratch_, "missing", kSentinelNumber), kSentinelNumber);
    ASSERT_TRUE(writeNumber(reg(), scratch_, "n", 0x01020304));
    RegValue raw;
    ASSERT_TRUE(reg().queryValue(scratch_, "n", raw));
    EXPECT_EQ(raw.type, kRegDword);
    EXPECT_EQ(raw.data, "\4\3\2\1");
}

TEST_F(RegistryConformance, ReadingOpenersDropALeadingSeparatorAndStepDownTheAccessMasks) {
    const std::string path = scratchPath("TypedURLs");
    ASSERT_NE(keep(openOrCreateKey(reg(), RootKey::CurrentUser, path + "\\Sub")), kNoKey);
    ASSERT_TRUE(writeText(reg(), open("TypedURLs", kKeyAllAccess), "url1", "alpha.example"));
    for (const std::string& p : {path, "\\" + path}) {
        const RegKey key = keep(openKeyForReading(reg(), RootKey::CurrentUser, p));
        EXPECT_EQ(text(key, "url1"), "alpha.example") << p;
    }
    // Each row refuses one more mask: KEY_READ, then enumeration, then the query.
    const std::uint32_t masks[] = {kKeyRead, kKeyQueryEnumerate, kKeyQueryValue};
    for (int refused = 0; refused <= 3; ++refused) {
        SCOPED_TRACE("masks refused: " + std::to_string(refused));
        test::FaultyRegistry refusing(reg());
        refusing.fails = [&](const test::RegCall& c) {
            return c.op == test::RegOp::Open &&
                   std::find(masks, masks + refused, c.access) != masks + refused;
        };
        const RegKey key =
            keep(openKeyForReadingWithFallbacks(refusing, RootKey::CurrentUser, "\\" + path));
        ASSERT_EQ(key != kNoKey, refused < 3);
        if (key == kNoKey) continue;
        EXPECT_EQ(text(key, "url1"), "alpha.example");
        std::vector<std::string> names;
        EXPECT_EQ(reg().subkeyNames(key, names), refused < 2);
    }
}

// ---- the raw operations ----

TEST_F(RegistryConformance, TheFiveRootsAreDistinctAndSurviveBeingClosed) {
    std::set<RegKey> seen;
    for (RootKey r : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine,
                      RootKey::Users, RootKey::CurrentConfig}) {
        SCOPED_TRACE(int(r));
        const RegKey handle = reg().root(r);
        ASSERT_NE(handle, kNoKey);
        seen.insert(handle);
        reg().closeKey(handle);  // closing a root does nothing
        EXPECT_NE(keep(reg().openKey(handle, "", kKeyRead)), kNoKey);
    }
    EXPECT_EQ(seen.size(), 5u);
}

TEST_F(RegistryConformance, CreateMakesTheKeysOnTheWayAndOpenNeverCreates) {
    const RegKey deep = create("a\\b\\c");
    for (const char* p : {"a", "a\\b", "a\\b\\c"}) EXPECT_NE(open(p), kNoKey) << p;
    ASSERT_TRUE(writeText(reg(), deep, "v", "x"));
    EXPECT_EQ(text(create("A\\B\\C"), "v"), "x") << "creating an existing key opens it";
    EXPECT_EQ(subkeys(open("a")), std::vector<std::string>{"b"});
    EXPECT_EQ(open("nope", kKeyAllAccess), kNoKey) << "opening never creates";

    const std::pair<const char*, bool> rows[] = {
        {"a\\\\b\\", true}, {"\\a\\b", false}, {"a\\nope", false}};
    for (const auto& row : rows) EXPECT_EQ(open(row.first) != kNoKey, row.second) << row.first;
    EXPECT_EQ(create("\\e"), kNoKey) << "a leading separator is refused by create";
    EXPECT_EQ(open("e"), kNoKey);
}

TEST_F(RegistryConformance, NamesCompareWithoutCaseKeepTheirCaseAndAreListedWhole) {
    const RegKey key = create("MixedCase");
    ASSERT_TRUE(writeText(reg(), key, "ValueName", "one"));
    const RegKey lower = open("mixedcase", kKeyAllAccess);
    EXPECT_EQ(text(lower, "VALUENAME"), "one");
    ASSERT_TRUE(writeText(reg(), lower, "valuename", "two"));
    EXPECT_EQ(text(key, "ValueName"), "two");
    EXPECT_EQ(valueSet(key), std::set<std::string>{"ValueName"})
        << "setting a value again keeps one value under its first name";

    ASSERT_TRUE(reg().deleteValue(key, "VALUEname"));
    EXPECT_TRUE(valueSet(key).empty());

    // Names past the 256 characters the enumeration starts with.
    const std::string longValue = "v" + std::string(700, 'x');
    const std::string longKey = "k" + std::string(250, 'y');  // 251: near the key-name limit
    ASSERT_TRUE(writeText(reg(), scratch_, longValue, "data"));
    for (const std::string& n : std::vector<std::string>{"b", "A", "c2", "C1", "a1", "B0", longKey})
        ASSERT_NE(create(n), kNoKey) << n;
    EXPECT_EQ(subkeys(scratch_),
              (std::vector<std::string>{"A", "a1", "b", "B0", "C1", "c2", longKey, "MixedCase"}));
    EXPECT_EQ(valueSet(scratch_), std::set<std::string>{longValue});
    EXPECT_TRUE(subkeys(create("a1")).empty());
}

TEST_F(RegistryConformance, RawDataRoundTripsAndTextGetsATerminatingNul) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(char(i));
    std::string large(300000, '\0');  // larger than any first guess of a buffer
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = char((i * 7 + 3) & 0xFF);
    // Name, type, data given and data stored ("": as given).
    const std::tuple<const char*, std::uint32_t, std::string, std::string> rows[] = {
        {"binary", kRegBinary, all, ""},
        {"odd type", 0x1234, "xyz", ""},
        {"text", kRegSz, std::string("quote \" back \\ tab\t\0", 20), ""},
        {"text empty", kRegSz, "", ""},
        {"text bare", kRegSz, "abc", std::string("abc\0", 4)},
        {"expand bare", kRegExpandSz, "%TEMP%", std::string("%TEMP%\0", 7)},
        {"multi bare", kRegMultiSz, std::string("a\0b", 3), std::string("a\0b\0", 4)},
        {"large", kRegBinary, large, ""},  // last, so a store file rewrites it once
    };
    for (const auto& [name, type, data, stored] : rows)
        ASSERT_TRUE(set(scratch_, name, type, data));
    for (const auto& [name, type, data, stored] : rows) {
        SCOPED_TRACE(name);
        RegValue v;
        v.type = 0xbdbdbdbd;
        ASSERT_TRUE(reg().queryValue(scratch_, name, v));
        EXPECT_EQ(v.type, type);
        EXPECT_TRUE(v.data == (stored.empty() ? data : stored));
    }
}

TEST_F(RegistryConformance, DeleteKeyRemovesOneLeafAndNeverTheKeyOfTheHandle) {
    ASSERT_NE(create("parent\\child"), kNoKey);
    EXPECT_FALSE(reg().deleteKey(scratch_, "parent")) << "it has a subkey";
    EXPECT_NE(open("parent\\child"), kNoKey);
    // RegDeleteKey itself would take "" as the key of the handle.
    const RegKey child = open("parent\\child", kKeyAllAccess);
    EXPECT_FALSE(reg().deleteKey(child, ""));
    EXPECT_FALSE(reg().deleteKey(scratch_, ""));
    EXPECT_TRUE(writeText(reg(), child, "still", "there"));

    EXPECT_TRUE(reg().deleteKey(scratch_, "parent\\child"));
    EXPECT_EQ(open("parent\\child"), kNoKey);
    EXPECT_TRUE(reg().deleteKey(scratch_, "PARENT"));
    EXPECT_EQ(open("parent"), kNoKey);
    EXPECT_FALSE(reg().deleteKey(scratch_, "parent"));
    EXPECT_FALSE(reg().deleteValue(scratch_, "missing"));
}

TEST_F(RegistryConformance, AHandleKeepsTheRightsItWasOpenedWith) {
    ASSERT_TRUE(writeText(reg(), scratch_, "v", "x"));
    ASSERT_NE(create("sub"), kNoKey);
    std::vector<std::string> names;

    const RegKey query = open("", kKeyQueryValue);
    EXPECT_EQ(text(query, "v"), "x");
    EXPECT_TRUE(reg().valueNames(query, names));
    EXPECT_FALSE(reg().subkeyNames(query, names)) << "KEY_QUERY_VALUE does not enumerate";

    const RegKey read = open("", kKeyRead);
    EXPECT_TRUE(reg().subkeyNames(read, names));
    EXPECT_FALSE(writeText(reg(), read, "w", "y")) << "KEY_READ does not write";
    EXPECT_NE(keep(reg().openKey(read, "sub", kKeyAllAccess)), kNoKey)
        << "a subkey opens through any handle";

    const RegKey all = open("", kKeyAllAccess);
    EXPECT_TRUE(reg().deleteValue(all, "v"));
    EXPECT_FALSE(valueExists(reg(), scratch_, "v"));
}

TEST_F(RegistryConformance, HandlesSeeEachOthersChangesAndDieWithTheirKey) {
    const RegKey first = create("shared");
    const RegKey second = open("shared", kKeyAllAccess);
    ASSERT_TRUE(writeNumber(reg(), first, "n", 5));
    EXPECT_EQ(readNumber(reg(), second, "n", 0), 5u);
    reg().closeKey(first);
    opened_.erase(std::find(opened_.begin(), opened_.end(), first));
    EXPECT_TRUE(writeNumber(reg(), second, "m", 1)) << "closing one handle leaves the other";

    ASSERT_TRUE(reg().deleteKey(scratch_, "shared"));
    RegValue value;
    EXPECT_FALSE(reg().queryValue(second, "m", value));
    EXPECT_FALSE(writeText(reg(), second, "w", "y"));
    EXPECT_FALSE(reg().deleteValue(second, "m"));
    EXPECT_EQ(keep(reg().createKey(second, "child")), kNoKey);

    const RegKey again = create("shared");
    EXPECT_FALSE(writeText(reg(), second, "w", "y")) << "the old handle stays dead";
    EXPECT_FALSE(valueExists(reg(), again, "m")) << "the new key starts empty";
}

}  // namespace
}  // namespace cindral::platform
