#include "engine/walker.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "engine/file_mask.h"
#include "engine_test_support.h"

namespace cindral::engine {
namespace {

using test::Lines;
constexpr std::uint32_t kDir = platform::kAttrDirectory;

platform::DirEntry entry(const std::string& name, std::uint32_t attributes = 0) {
    platform::DirEntry e;
    e.name = name;
    e.attributes = attributes;
    return e;
}

// Listings made up by the test, in the order it gives them; other folders
// fail. Every entry comes with its details.
class ScriptedFiles : public cindral::test::FaultyFiles {
public:
    using FaultyFiles::FaultyFiles;
    std::map<std::string, Entries> folders;
    bool listFolder(const std::string& f, Entries& e) override {
        auto it = folders.find(f);
        if (it != folders.end()) e = it->second;
        return it != folders.end();
    }
    bool listFolderTypes(const std::string& f, Entries& e) override { return listFolder(f, e); }
    bool entryDetails(const std::string&, platform::DirEntry&) override { return true; }
};

class Walker : public test::EngineTest {
protected:
    // What a walk reports: found entries, and folder changes marked with ">".
    Lines walk(const std::string& root, const Lines& masks, TSearchOptions options) {
        TEasyFileSearch w(scripted_, *platform_.system);
        Lines events;
        w.RootPath = root;
        w.SearchOptions = options;
        EXPECT_TRUE(w.setFileNames(masks));
        w.OnFileFound = [&](const TFileInformations& f) { events.push_back(f.fullPath()); };
        w.OnChangeFolder = [&](const std::string& f) { events.push_back(">" + f); };
        EXPECT_TRUE(w.Execute());
        return events;
    }
    ScriptedFiles scripted_{files_};
};

TEST_F(Walker, NameAttributeAndPathSafetyTests) {
    // Windows reads "README." and "sub." in a path as "README" and "sub".
    scripted_.folders["C:\\r\\"] = {entry("Cache", kDir),
                                    entry("README"),
                                    entry("x.tmp"),
                                    entry("keep.tmp"),
                                    entry("..", kDir),
                                    entry("a\\b"),
                                    entry("up/x", kDir),
                                    entry("link", kDir | platform::kAttrReparsePoint),
                                    entry(""),
                                    entry("README."),
                                    entry("sub.", kDir)};
    scripted_.folders["C:\\r\\Cache\\"] = {};
    scripted_.folders["C:\\r\\sub.\\"] = {entry("in.tmp")};
    scripted_.folders["C:\\r\\link\\"] = {entry("precious.tmp")};
    const std::tuple<Lines, TSearchOptions, Lines> cases[] = {
        // "*.*", found by binary search in the sorted masks, lets every folder through.
        {{"*.*", "b", "c"}, okLookForAll, {"Cache", "x.tmp", "keep.tmp", "link"}},
        // Names that cannot stand in a path are neither reported nor entered,
        // and a link to a folder is never entered.
        {{"*.tmp"}, okLookForAll | okIncludeSubfolder, {"x.tmp", "keep.tmp", ">Cache"}},
    };
    for (const auto& [masks, options, names] : cases) {
        SCOPED_TRACE(masks.back() + " options " + std::to_string(options));
        Lines expected = {">C:\\r"};
        for (const auto& name : names)  // a folder change is marked with ">"
            expected.push_back(name[0] == '>' ? ">C:\\r\\" + name.substr(1) : "C:\\r\\" + name);
        EXPECT_EQ(walk("C:\\r", masks, options), expected);
    }
}

TEST_F(Walker, AnEmptyRootWalksNothingAndStopEndsTheWalk) {
    scripted_.folders["C:\\r\\"] = {entry("a.txt"), entry("b.txt")};
    TEasyFileSearch w(scripted_, *platform_.system);
    int events = 0;
    w.OnFileFound = [&](const TFileInformations&) { ++events; };
    w.OnChangeFolder = [&](const std::string&) { ++events; };
    EXPECT_FALSE(w.Execute());  // no root
    EXPECT_EQ(events, 0);

    std::atomic<bool> stop{false};
    w.RootPath = "C:\\r";
    w.StopRequested = &stop;
    w.OnChangeFolder = [&](const std::string&) { stop = true; };
    w.Execute();
    EXPECT_EQ(events, 0);
}

// The walk lists names and types only and looks up the rest for the entries
// whose names match; what it reports must be what a full listing says.
TEST_F(Walker, ReportsEachEntryAsAFullListingShowsItAndSkipsOneGoneMeanwhile) {
    file("r\\a.tmp", "abc");
    file("r\\ro.tmp", "12345");
    ASSERT_TRUE(box_.setReadOnly(at("r\\ro.tmp"), true));
    file("r\\b.txt");
    folder("r\\d.tmp");
    file("r\\gone.tmp");
    files_.failOn(cindral::test::FileOp::Details, at("r\\gone.tmp"));
    std::vector<platform::DirEntry> full;
    ASSERT_TRUE(box_.platform().files->listFolder(at("r"), full));
    std::map<std::string, TFileInformations> found;
    TEasyFileSearch w(files_, *platform_.system);
    w.RootPath = at("r");
    w.OnFileFound = [&](const TFileInformations& f) { found[f.Name] = f; };
    ASSERT_TRUE(w.setFileNames({"*.tmp"}) && w.Execute());
    Lines names;
    for (const auto& [name, f] : found) {
        names.push_back(name);
        for (const platform::DirEntry& e : full)
            EXPECT_TRUE(e.name != name || (f.Attributes == e.attributes && f.Size == e.size))
                << name;
    }
    EXPECT_EQ(names, (Lines{"a.tmp", "d.tmp", "ro.tmp"}));
}

TEST(FileMask, MatchesWholeNamesWithWildcardsSetsAndCase) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"*.TMP", "B.Tmp", true},
        {"*.tmp", "a.tmp.bak", false},
        {"*.*", "README", false},
        {"*.*", "a.", true},
        {"*", "", true},  // a star matches the empty run
        {"", "a", false},
        {"file?.txt", "file.txt", false},
        {"a*b*c", "abcabc", true},  // the last star takes up the rest
        {"a*b*c", "abcab", false},
        {"*ab", "aaab", true},
        {"[a-c]x", "Bx", true},
        {"[!a-c]x", "dx", true},
        {"[!a-c]x", "Ax", false},
        {"[z-a]", "m", false},
        {"[a-]", "-", true},  // a "-" closing a set is itself
        {"[]x", "x", false},  // an empty set matches no character
        {"[*]", "a", false},  // "*" in a set is a plain character
        {"~*.*", "x~a.b", false},
        // Only ASCII letters fold: a UTF-8 lead byte must never change.
        {"\xC3\x89*", "\xC3\x89t\xC3\xA9", true},
        {"\xC3\x89*", "\xC3\xA9t\xC3\xA9", false},
    };
    for (const auto& [mask, name, expected] : rows) {
        SCOPED_TRACE(std::string("mask ") + mask + " name " + name);
        FileMask m(mask, CaseFold());
        ASSERT_TRUE(m.valid());
        EXPECT_EQ(m.matches(name), expected);
    }
}

TEST(FileMask, RefusesBrokenSyntaxAndStaysFastWithManyStars) {
    const CaseFold fold;
    // An unclosed set, a range without a start, a range right after a range.
    for (const char* bad : {"[abc", "[-a]", "[a-c-e]"}) {
        const FileMask m(bad, fold);
        EXPECT_FALSE(m.valid() || m.matches("")) << bad;
    }
    EXPECT_FALSE(FileMask(std::string(31, '*'), fold).valid());
    // A backtracking matcher without the last-star rule takes exponential
    // time here; the test finishes at once or not at all.
    const FileMask stars("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", fold);
    EXPECT_FALSE(stars.matches(std::string(2000, 'a')));
}

}  // namespace
}  // namespace cindral::engine
