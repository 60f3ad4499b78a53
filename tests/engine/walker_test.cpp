#include "engine/walker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "engine_test_support.h"
#include "support/file_attributes.h"

namespace cindral::engine {
namespace {

using test::EngineTest;

// Listings made up by the test, in the order it gives them.
class ScriptedFiles : public test::FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    std::map<std::string, std::vector<platform::DirEntry>> folders;
    bool listFolder(const std::string& f, std::vector<platform::DirEntry>& e) override {
        auto it = folders.find(f);
        if (it == folders.end()) return false;
        e = it->second;
        return true;
    }
};

platform::DirEntry entry(const std::string& name, std::uint32_t attributes = 0,
                         std::uint64_t size = 0) {
    platform::DirEntry e;
    e.name = name;
    e.attributes = attributes;
    e.size = size;
    return e;
}

class Walker : public EngineTest {
protected:
    struct Result {
        std::vector<std::string> found;    // full paths
        std::vector<std::string> folders;  // OnChangeFolder texts
    };
    Result walk(platform::Files& files, const std::string& root,
                const std::vector<std::string>& masks, TSearchOptions options) {
        TEasyFileSearch w(files, *platform_.system);
        Result r;
        w.RootPath = root;
        w.SearchOptions = options;
        EXPECT_TRUE(w.setFileNames(masks));
        w.OnFileFound = [&](const TFileInformations& f) { r.found.push_back(f.fullPath()); };
        w.OnChangeFolder = [&](const std::string& f) { r.folders.push_back(f); };
        EXPECT_TRUE(w.Execute());
        return r;
    }
    Result walk(const std::string& root, const std::vector<std::string>& masks,
                TSearchOptions options = okLookForAll | okIncludeSubfolder) {
        return walk(*platform_.files, root, masks, options);
    }
    static bool has(const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    }
};

TEST_F(Walker, VisitsFoldersBreadthFirstAndReportsFoldersToo) {
    file("t\\a\\aa\\deep.txt");
    file("t\\b\\b.txt");
    file("t\\top.txt");
    const std::string root = at("t");
    const Result r = walk(root, {"*"});
    ASSERT_EQ(r.folders.size(), 4u);
    EXPECT_EQ(r.folders[0], root);  // the root as given
    EXPECT_TRUE(has({r.folders[1], r.folders[2]}, root + "\\a"));
    EXPECT_TRUE(has({r.folders[1], r.folders[2]}, root + "\\b"));
    EXPECT_EQ(r.folders[3], root + "\\a\\aa");  // after every folder queued before it
    for (const char* p : {"\\top.txt", "\\a", "\\b", "\\a\\aa", "\\b\\b.txt", "\\a\\aa\\deep.txt"})
        EXPECT_TRUE(has(r.found, root + p)) << p;
    EXPECT_EQ(r.found.size(), 6u);
}

TEST_F(Walker, WithoutSubfoldersStaysInTheRoot) {
    file("t\\a\\inner.tmp");
    file("t\\x.tmp");
    const Result r = walk(at("t\\"), {"*.tmp"}, okLookForAll);
    EXPECT_EQ(r.found, std::vector<std::string>{at("t\\x.tmp")});
    EXPECT_EQ(r.folders, std::vector<std::string>{at("t\\")});
}

TEST_F(Walker, KeepsTheOrderTheFileSystemGives) {
    ScriptedFiles files(*platform_.files);
    files.folders["C:\\r\\"] = {entry("b.txt"), entry("a.txt"), entry("sub", platform::kAttrDirectory),
                                entry("c.txt")};
    files.folders["C:\\r\\sub\\"] = {entry("z.txt"), entry("y.txt")};
    const Result r = walk(files, "C:\\r", {"*.txt"}, okLookForAll | okIncludeSubfolder);
    EXPECT_EQ(r.found, (std::vector<std::string>{"C:\\r\\b.txt", "C:\\r\\a.txt", "C:\\r\\c.txt",
                                                 "C:\\r\\sub\\z.txt", "C:\\r\\sub\\y.txt"}));
}

TEST_F(Walker, AFolderThatCannotBeListedEndsTheWholeWalk) {
    file("t\\one\\1.txt");
    file("t\\two\\2.txt");
    file("t\\root.txt");
    // The first subfolder's listing fails; the other one, queued behind it,
    // is then never visited either.
    int listings = 0;
    hooked_.beforeList = [&](const std::string&) { return ++listings != 2; };
    const Result r = walk(at("t"), {"*.txt"});
    EXPECT_EQ(listings, 2);
    EXPECT_EQ(r.found, std::vector<std::string>{at("t\\root.txt")});
}

TEST_F(Walker, MissingRootReportsNothingButAnnouncesIt) {
    const Result r = walk(at("nowhere"), {"*"});
    EXPECT_TRUE(r.found.empty());
    EXPECT_EQ(r.folders, std::vector<std::string>{at("nowhere")});
}

TEST_F(Walker, FoldersNeedAMaskOrStarDotStarFoundByBinarySearch) {
    ScriptedFiles files(*platform_.files);
    files.folders["C:\\r\\"] = {entry("Cache", platform::kAttrDirectory), entry("README"),
                                entry("x.tmp")};
    EXPECT_EQ(walk(files, "C:\\r", {"*.tmp"}, okLookForAll).found,
              std::vector<std::string>{"C:\\r\\x.tmp"});
    // "*.*" lets every folder through, though "Cache" has no dot; README
    // (a file) still needs a dot.
    EXPECT_EQ(walk(files, "C:\\r", {"*.*"}, okLookForAll).found,
              (std::vector<std::string>{"C:\\r\\Cache", "C:\\r\\x.tmp"}));
    EXPECT_EQ(walk(files, "C:\\r", {"*.*", "b", "c"}, okLookForAll).found.size(), 2u);
    // In an unsorted list the search misses "*.*": the folder is not reported.
    EXPECT_EQ(walk(files, "C:\\r", {"b", "a", "*.*"}, okLookForAll).found,
              std::vector<std::string>{"C:\\r\\x.tmp"});
}

TEST_F(Walker, AttributeFlagsChooseFilesOrFolders) {
    ScriptedFiles files(*platform_.files);
    files.folders["C:\\r\\"] = {entry("d", platform::kAttrDirectory), entry("plain"),
                                entry("hidden", platform::kAttrHidden)};
    EXPECT_EQ(walk(files, "C:\\r", {"*"}, okLookForDirectory).found,
              std::vector<std::string>{"C:\\r\\d"});
    EXPECT_EQ(walk(files, "C:\\r", {"*"}, okLookForAnyFile).found,
              (std::vector<std::string>{"C:\\r\\plain", "C:\\r\\hidden"}));
    EXPECT_EQ(walk(files, "C:\\r", {"*"}, okLookForHiddenFile).found,
              std::vector<std::string>{"C:\\r\\hidden"});
}

TEST_F(Walker, PassesOverNamesThatCannotStandInAPath) {
    ScriptedFiles files(*platform_.files);
    files.folders["C:\\r\\"] = {entry("..", platform::kAttrDirectory), entry("a\\b"),
                                entry("up/x", platform::kAttrDirectory), entry(""), entry("ok")};
    const Result r = walk(files, "C:\\r", {"*"}, okLookForAll | okIncludeSubfolder);
    EXPECT_EQ(r.found, std::vector<std::string>{"C:\\r\\ok"});
    EXPECT_EQ(r.folders, std::vector<std::string>{"C:\\r"});
}

TEST_F(Walker, ExcludedMasksWin) {
    file("t\\keep.log");
    file("t\\drop.log");
    TEasyFileSearch w(*platform_.files, *platform_.system);
    std::vector<std::string> found;
    w.RootPath = at("t");
    ASSERT_TRUE(w.setFileNames({"*.log"}));
    ASSERT_TRUE(w.setExcludedFiles({"KEEP.*"}));
    w.OnFileFound = [&](const TFileInformations& f) { found.push_back(f.Name); };
    w.Execute();
    EXPECT_EQ(found, std::vector<std::string>{"drop.log"});
}

TEST_F(Walker, InvalidMaskOrEmptyRootWalksNothing) {
    file("t\\a.txt");
    TEasyFileSearch w(*platform_.files, *platform_.system);
    int events = 0;
    w.OnFileFound = [&](const TFileInformations&) { ++events; };
    w.OnChangeFolder = [&](const std::string&) { ++events; };
    w.RootPath = at("t");
    EXPECT_FALSE(w.setFileNames({"*.txt", "[abc"}));
    EXPECT_EQ(w.invalidMasks(), std::vector<std::string>{"[abc"});
    EXPECT_FALSE(w.Execute());
    ASSERT_TRUE(w.setFileNames({"*.txt"}));
    w.RootPath.clear();
    EXPECT_FALSE(w.Execute());
    EXPECT_EQ(events, 0);
}

TEST_F(Walker, StopEndsTheWalk) {
    for (int i = 0; i < 5; ++i) file("t\\f" + std::to_string(i) + "\\a.txt");
    std::atomic<bool> stop{false};
    TEasyFileSearch w(*platform_.files, *platform_.system);
    w.RootPath = at("t");
    w.SearchOptions = okLookForAnyFile | okIncludeSubfolder;
    w.StopRequested = &stop;
    int found = 0;
    w.OnFileFound = [&](const TFileInformations&) {
        ++found;
        stop = true;
    };
    w.Execute();
    EXPECT_EQ(found, 1);
}

TEST_F(Walker, NeverDescendsIntoALink) {
    file("precious\\gold.txt");
    folder("t");
    if (!box_.makeSymlink(at("t\\link"), at("precious"), true))
        GTEST_SKIP() << "this system cannot create symbolic links to folders";
    const Result r = walk(at("t"), {"*"});
    EXPECT_EQ(r.folders, std::vector<std::string>{at("t")});
    EXPECT_EQ(r.found.size(), 1u);  // the link itself, reported as an entry
    for (const auto& f : r.found) EXPECT_EQ(f.find("gold"), std::string::npos) << f;
}

// Everything the walker reports of an entry.
std::string describe(const TFileInformations& f) {
    auto time = [](const platform::SystemTime& t) {
        return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) + " " +
               std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second) + "." +
               std::to_string(t.milliseconds);
    };
    return f.fullPath() + " attr=" + std::to_string(f.Attributes) + " size=" + std::to_string(f.Size) +
           " c=" + time(f.CreationTime) + " a=" + time(f.LastAccessTime) + " w=" + time(f.LastWriteTime);
}

// The walk the backend's cheap types listing drives must report exactly
// what a walk over full listings reports (the decorator only has those).
TEST_F(Walker, TypesListingReportsWhatFullListingsReport) {
    file("t\\a.tmp", "abc");
    file("t\\.hidden.tmp", "h");
    file("t\\keep.txt", "k");
    file("t\\locked.tmp", "12345");
    file("t\\sub\\inner.TMP", "inner");
    file("t\\sub\\.dot\\x.tmp", "");
    folder("t\\folder.tmp");
    ASSERT_TRUE(cindral::test::setReadOnly(box_, at("t\\locked.tmp"), true));
    test::FilesDecorator fullOnly(*box_.platform().files);
    auto walkAll = [&](platform::Files& files, const std::vector<std::string>& masks,
                       const std::vector<std::string>& excluded, TSearchOptions options) {
        TEasyFileSearch w(files, *platform_.system);
        std::vector<std::string> out;
        w.RootPath = at("t");
        w.SearchOptions = options;
        EXPECT_TRUE(w.setFileNames(masks));
        EXPECT_TRUE(w.setExcludedFiles(excluded));
        w.OnFileFound = [&](const TFileInformations& f) { out.push_back(describe(f)); };
        EXPECT_TRUE(w.Execute());
        return out;
    };
    const TSearchOptions deep = okIncludeSubfolder;
    // Reading a folder for the first time may move its access time on;
    // after one walk every folder has been read.
    walkAll(fullOnly, {"*"}, {}, okLookForAll | deep);
    for (TSearchOptions options : {okLookForAll | deep, okLookForReadOnlyFile | deep, okLookForHiddenFile | deep,
                                   okLookForDirectory | deep, okLookForAnyFile, okLookForArchiveFile | deep}) {
        for (const auto& masks : {std::vector<std::string>{"*.tmp"}, std::vector<std::string>{"*.*"},
                                  std::vector<std::string>{"*"}, std::vector<std::string>{"*.*", "a*"}}) {
            for (const auto& excluded : {std::vector<std::string>{}, std::vector<std::string>{"a.*", "sub"}}) {
                const auto fast = walkAll(*box_.platform().files, masks, excluded, options);
                const auto full = walkAll(fullOnly, masks, excluded, options);
                EXPECT_EQ(fast, full) << "options " << options << " masks " << masks[0] << " excluded "
                                      << excluded.size();
                if (options == (okLookForAll | deep) && masks[0] == "*.tmp" && excluded.empty()) {
                    EXPECT_EQ(fast.size(), 6u);  // every *.tmp, the folder too
                }
            }
        }
    }
    EXPECT_TRUE(cindral::test::setReadOnly(box_, at("t\\locked.tmp"), false));
}

// Listings with names and types only, as a backend gives them cheaply.
class TypesOnlyFiles : public ScriptedFiles {
public:
    using ScriptedFiles::ScriptedFiles;
    std::map<std::string, platform::DirEntry> details;  // by full path; missing: gone
    std::vector<std::string> asked;
    bool listFolderTypes(const std::string& f, std::vector<platform::DirEntry>& e) override {
        if (!listFolder(f, e)) return false;
        for (platform::DirEntry& d : e) {
            if (d.attributes & platform::kAttrDirectory) continue;
            d.attributes &= platform::kAttrReparsePoint | platform::kAttrHidden;
            d.detailsMissing = true;
        }
        return true;
    }
    bool entryDetails(const std::string& f, platform::DirEntry& e) override {
        asked.push_back(f + e.name);
        auto it = details.find(f + e.name);
        if (it == details.end()) return false;
        e = it->second;
        return true;
    }
};

TEST_F(Walker, LooksUpDetailsOnlyForNameMatchesAndSkipsEntriesGoneMeanwhile) {
    TypesOnlyFiles files(*platform_.files);
    files.folders["C:\\r\\"] = {entry("a.tmp"), entry("b.txt"), entry("gone.tmp"), entry("ro.tmp"),
                                entry("excluded.tmp"), entry("d.tmp", platform::kAttrDirectory)};
    files.details["C:\\r\\a.tmp"] = entry("a.tmp", platform::kAttrArchive, 10);
    files.details["C:\\r\\b.txt"] = entry("b.txt", platform::kAttrArchive, 20);
    files.details["C:\\r\\ro.tmp"] = entry("ro.tmp", platform::kAttrArchive | platform::kAttrReadOnly, 30);
    files.details["C:\\r\\excluded.tmp"] = entry("excluded.tmp", platform::kAttrArchive, 40);
    TEasyFileSearch w(files, *platform_.system);
    w.RootPath = "C:\\r";
    w.SearchOptions = okLookForReadOnlyFile;  // only read-only entries pass the attribute test
    ASSERT_TRUE(w.setFileNames({"*.tmp"}));
    ASSERT_TRUE(w.setExcludedFiles({"excluded.*"}));
    std::vector<std::string> found;
    std::uint64_t size = 0;
    w.OnFileFound = [&](const TFileInformations& f) {
        found.push_back(f.fullPath());
        size = f.Size;
    };
    EXPECT_TRUE(w.Execute());
    EXPECT_EQ(found, std::vector<std::string>{"C:\\r\\ro.tmp"});
    EXPECT_EQ(size, 30u);
    EXPECT_EQ(files.asked, (std::vector<std::string>{"C:\\r\\a.tmp", "C:\\r\\gone.tmp", "C:\\r\\ro.tmp",
                                                     "C:\\r\\d.tmp"}));
}

}  // namespace
}  // namespace cindral::engine
