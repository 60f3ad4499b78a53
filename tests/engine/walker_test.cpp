#include "engine/walker.h"

#include <gtest/gtest.h>

#include <map>

#include "engine_test_support.h"
#include "support/file_attributes.h"

namespace cindral::engine {
namespace {

constexpr std::uint32_t kDir = platform::kAttrDirectory;
using Paths = std::vector<std::string>;

platform::DirEntry entry(const std::string& name, std::uint32_t attributes = 0,
                         std::uint64_t size = 0) {
    platform::DirEntry e;
    e.name = name;
    e.attributes = attributes;
    e.size = size;
    return e;
}

// Listings made up by the test, in the order it gives them; other folders fail.
class ScriptedFiles : public test::FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    std::map<std::string, Entries> folders;
    bool listFolder(const std::string& f, Entries& e) override {
        auto it = folders.find(f);
        if (it != folders.end()) e = it->second;
        return it != folders.end();
    }
};

class Walker : public test::EngineTest {
protected:
    Walker() : scripted_(*platform_.files) {}
    struct Result {
        std::vector<std::string> found;    // full paths
        std::vector<std::string> folders;  // OnChangeFolder texts
    };
    Result walk(platform::Files& files, const std::string& root, const Paths& masks,
                TSearchOptions options, const Paths& excluded = {}) {
        TEasyFileSearch w(files, *platform_.system);
        Result r;
        w.RootPath = root;
        w.SearchOptions = options;
        EXPECT_TRUE(w.setFileNames(masks));
        EXPECT_TRUE(w.setExcludedFiles(excluded));
        w.OnFileFound = [&](const TFileInformations& f) { r.found.push_back(f.fullPath()); };
        w.OnChangeFolder = [&](const std::string& f) { r.folders.push_back(f); };
        EXPECT_TRUE(w.Execute());
        return r;
    }
    Paths found(const Paths& masks, TSearchOptions options, const Paths& excluded = {}) {
        return walk(scripted_, "C:\\r", masks, options, excluded).found;
    }
    ScriptedFiles scripted_;
};

TEST_F(Walker, BreadthFirstInTheFileSystemsOrderReportingFoldersToo) {
    scripted_.folders["C:\\r\\"] = {entry("b", kDir), entry("top.txt"), entry("a", kDir)};
    scripted_.folders["C:\\r\\b\\"] = {entry("bb", kDir), entry("z.txt"), entry("y.txt")};
    scripted_.folders["C:\\r\\a\\"] = {entry("a.txt")};
    scripted_.folders["C:\\r\\b\\bb\\"] = {entry("deep.txt")};
    Result r = walk(scripted_, "C:\\r", {"*"}, okLookForAll | okIncludeSubfolder);
    EXPECT_EQ(r.folders, (Paths{"C:\\r", "C:\\r\\b", "C:\\r\\a", "C:\\r\\b\\bb"}));
    EXPECT_EQ(r.found, (Paths{"C:\\r\\b", "C:\\r\\top.txt", "C:\\r\\a", "C:\\r\\b\\bb",
                              "C:\\r\\b\\z.txt", "C:\\r\\b\\y.txt", "C:\\r\\a\\a.txt",
                              "C:\\r\\b\\bb\\deep.txt"}));
    // Without subfolders the walk stays in the root, announced as given.
    r = walk(scripted_, "C:\\r\\", {"*.txt"}, okLookForAll);
    EXPECT_EQ(r.found, Paths{"C:\\r\\top.txt"});
    EXPECT_EQ(r.folders, Paths{"C:\\r\\"});
}

TEST_F(Walker, AFolderThatCannotBeListedEndsTheWholeWalk) {
    // "one" cannot be listed; "two", queued behind it, is then never visited.
    scripted_.folders["C:\\r\\"] = {entry("one", kDir), entry("two", kDir), entry("root.txt")};
    scripted_.folders["C:\\r\\two\\"] = {entry("2.txt")};
    EXPECT_EQ(found({"*.txt"}, okLookForAll | okIncludeSubfolder), Paths{"C:\\r\\root.txt"});
    // A missing root reports nothing but is announced.
    const Result r = walk(scripted_, "C:\\nowhere", {"*"}, okLookForAll | okIncludeSubfolder);
    EXPECT_TRUE(r.found.empty());
    EXPECT_EQ(r.folders, Paths{"C:\\nowhere"});
}

TEST_F(Walker, NameAndAttributeTests) {
    scripted_.folders["C:\\r\\"] = {entry("Cache", kDir), entry("README"), entry("x.tmp"),
                                    entry("hidden", platform::kAttrHidden), entry("keep.tmp")};
    struct Case {
        std::vector<std::string> masks;
        TSearchOptions options;
        Paths expected;
    } cases[] = {
        {{"*.tmp"}, okLookForAll, {"C:\\r\\x.tmp", "C:\\r\\keep.tmp"}},
        // "*.*", found by binary search in the sorted masks, lets every folder through.
        {{"*.*"}, okLookForAll, {"C:\\r\\Cache", "C:\\r\\x.tmp", "C:\\r\\keep.tmp"}},
        {{"*.*", "b", "c"}, okLookForAll, {"C:\\r\\Cache", "C:\\r\\x.tmp", "C:\\r\\keep.tmp"}},
        // In an unsorted list the search misses it: the folder needs a dot.
        {{"b", "a", "*.*"}, okLookForAll, {"C:\\r\\x.tmp", "C:\\r\\keep.tmp"}},
        {{"*"}, okLookForDirectory, {"C:\\r\\Cache"}},
        {{"*"},
         okLookForAnyFile,
         {"C:\\r\\README", "C:\\r\\x.tmp", "C:\\r\\hidden", "C:\\r\\keep.tmp"}},
        {{"*"}, okLookForHiddenFile, {"C:\\r\\hidden"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.masks.back() + " options " + std::to_string(c.options));
        EXPECT_EQ(found(c.masks, c.options), c.expected);
    }
    // Excluded masks win, without regard to case.
    EXPECT_EQ(found({"*.tmp"}, okLookForAll, {"KEEP.*"}), Paths{"C:\\r\\x.tmp"});
}

TEST_F(Walker, PassesOverNamesThatCannotStandInAPath) {
    scripted_.folders["C:\\r\\"] = {entry("..", kDir), entry("a\\b"), entry("up/x", kDir), entry(""),
                                    entry("ok")};
    const Result r = walk(scripted_, "C:\\r", {"*"}, okLookForAll | okIncludeSubfolder);
    EXPECT_EQ(r.found, Paths{"C:\\r\\ok"});
    EXPECT_EQ(r.folders, Paths{"C:\\r"});
}

TEST_F(Walker, InvalidMaskOrEmptyRootWalksNothingAndStopEndsTheWalk) {
    scripted_.folders["C:\\r\\"] = {entry("a.txt"), entry("b.txt")};
    TEasyFileSearch w(scripted_, *platform_.system);
    int events = 0;
    w.OnFileFound = [&](const TFileInformations&) { ++events; };
    w.OnChangeFolder = [&](const std::string&) { ++events; };
    w.RootPath = "C:\\r";
    EXPECT_FALSE(w.setFileNames({"*.txt", "[abc"}));
    EXPECT_EQ(w.invalidMasks(), Paths{"[abc"});
    EXPECT_FALSE(w.Execute());
    ASSERT_TRUE(w.setFileNames({"*.txt"}));
    w.RootPath.clear();
    EXPECT_FALSE(w.Execute());
    EXPECT_EQ(events, 0);

    std::atomic<bool> stop{false};
    w.RootPath = "C:\\r";
    w.StopRequested = &stop;
    w.OnFileFound = [&](const TFileInformations&) {
        ++events;
        stop = true;
    };
    w.Execute();
    EXPECT_EQ(events, 2);  // the folder and one file
}

TEST_F(Walker, NeverDescendsIntoALink) {
    file("precious\\gold.txt");
    folder("t");
    if (!box_.makeSymlink(at("t\\link"), at("precious"), true))
        GTEST_SKIP() << "this system cannot create symbolic links to folders";
    const Result r = walk(*platform_.files, at("t"), {"*"}, okLookForAll | okIncludeSubfolder);
    EXPECT_EQ(r.folders, Paths{at("t")});
    EXPECT_EQ(r.found, Paths{at("t\\link")});  // the link itself, as an entry
}

// Everything the walker reports of an entry.
std::string describe(const TFileInformations& f) {
    std::string s = f.fullPath() + " attr=" + std::to_string(f.Attributes) +
                    " size=" + std::to_string(f.Size);
    for (const platform::SystemTime& t : {f.CreationTime, f.LastAccessTime, f.LastWriteTime})
        for (int part : {t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds})
            s += " " + std::to_string(part);
    return s;
}

// The walk over the backend's cheap types listing must report exactly what
// a walk over full listings reports (the decorator has only those).
TEST_F(Walker, TypesListingReportsWhatFullListingsReport) {
    for (const char* f : {"a.tmp", ".hidden.tmp", "keep.txt", "locked.tmp", "sub\\inner.TMP",
                          "sub\\.dot\\x.tmp"})
        file(std::string("t\\") + f, f);
    folder("t\\folder.tmp");
    ASSERT_TRUE(cindral::test::setReadOnly(box_, at("t\\locked.tmp"), true));
    test::FilesDecorator fullOnly(*box_.platform().files);
    auto walkAll = [&](platform::Files& files, const Paths& masks, const Paths& excluded,
                       TSearchOptions options) {
        TEasyFileSearch w(files, *platform_.system);
        Paths out;
        w.RootPath = at("t");
        w.SearchOptions = options;
        EXPECT_TRUE(w.setFileNames(masks) && w.setExcludedFiles(excluded));
        w.OnFileFound = [&](const TFileInformations& f) { out.push_back(describe(f)); };
        EXPECT_TRUE(w.Execute());
        return out;
    };
    const TSearchOptions deep = okIncludeSubfolder;
    // Reading a folder for the first time may move its access time on.
    walkAll(fullOnly, {"*"}, {}, okLookForAll | deep);
    EXPECT_EQ(walkAll(fullOnly, {"*.tmp"}, {}, okLookForAll | deep).size(), 6u);  // the folder too
    for (TSearchOptions options : {okLookForAll | deep, okLookForReadOnlyFile | deep,
                                   okLookForHiddenFile | deep, okLookForDirectory | deep,
                                   okLookForAnyFile, okLookForArchiveFile | deep})
        for (const Paths& masks : {Paths{"*.tmp"}, Paths{"*.*"}, Paths{"*"}, Paths{"*.*", "a*"}})
            for (const Paths& excluded : {Paths{}, Paths{"a.*", "sub"}}) {
                SCOPED_TRACE("options " + std::to_string(options) + " masks " + masks[0] +
                             " excluded " + std::to_string(excluded.size()));
                EXPECT_EQ(walkAll(*box_.platform().files, masks, excluded, options),
                          walkAll(fullOnly, masks, excluded, options));
            }
    EXPECT_TRUE(cindral::test::setReadOnly(box_, at("t\\locked.tmp"), false));
}

// Listings with names and types only, as a backend gives them cheaply.
class TypesOnlyFiles : public ScriptedFiles {
public:
    using ScriptedFiles::ScriptedFiles;
    std::map<std::string, platform::DirEntry> details;  // by full path; missing: gone
    Paths asked;
    bool listFolderTypes(const std::string& f, Entries& e) override {
        if (!listFolder(f, e)) return false;
        for (platform::DirEntry& d : e) {
            if (d.attributes & kDir) continue;
            d.attributes &= platform::kAttrReparsePoint | platform::kAttrHidden;
            d.detailsMissing = true;
        }
        return true;
    }
    bool entryDetails(const std::string& f, platform::DirEntry& e) override {
        asked.push_back(f + e.name);
        auto it = details.find(f + e.name);
        if (it != details.end()) e = it->second;
        return it != details.end();
    }
};

TEST_F(Walker, LooksUpDetailsOnlyForNameMatchesAndSkipsEntriesGoneMeanwhile) {
    TypesOnlyFiles files(*platform_.files);
    files.folders["C:\\r\\"] = {entry("a.tmp"), entry("b.txt"), entry("gone.tmp"), entry("ro.tmp"),
                                entry("excluded.tmp"), entry("d.tmp", kDir)};
    for (const auto& e : {entry("a.tmp", 0, 10), entry("b.txt", 0, 20),
                          entry("ro.tmp", platform::kAttrReadOnly, 30), entry("excluded.tmp", 0, 40)})
        files.details["C:\\r\\" + e.name] = e;
    TEasyFileSearch w(files, *platform_.system);
    w.RootPath = "C:\\r";
    w.SearchOptions = okLookForReadOnlyFile;  // only read-only entries pass the attribute test
    ASSERT_TRUE(w.setFileNames({"*.tmp"}) && w.setExcludedFiles({"excluded.*"}));
    Paths found;
    w.OnFileFound = [&](const TFileInformations& f) {
        found.push_back(f.fullPath() + " " + std::to_string(f.Size));
    };
    EXPECT_TRUE(w.Execute());
    EXPECT_EQ(found, Paths{"C:\\r\\ro.tmp 30"});
    EXPECT_EQ(files.asked, (Paths{"C:\\r\\a.tmp", "C:\\r\\gone.tmp", "C:\\r\\ro.tmp", "C:\\r\\d.tmp"}));
}

}  // namespace
}  // namespace cindral::engine
