// The Files contract, run against the backend of the build: natively the
// posix backend in its sandbox, under Wine the Win32 calls. Where the two
// systems cannot produce the same state (links under Wine), the test skips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/system.h"
#include "support/sandbox.h"

namespace cindral::platform {
namespace {

// Minutes since 1970 of a local SYSTEMTIME, enough to compare two of them.
std::int64_t minutesOf(const SystemTime& t) {
    const std::int64_t y = t.month <= 2 ? t.year - 1 : t.year, era = y / 400;
    const std::int64_t yoe = y - era * 400, mp = t.month > 2 ? t.month - 3 : t.month + 9;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + (153 * mp + 2) / 5 + t.day - 1;
    return (era * 146097 + doe - 719468) * 1440 + t.hour * 60 + t.minute;
}

// Everything a listing reports of an entry is the same in both.
bool same(const DirEntry& a, const DirEntry& b) {
    return a.name == b.name && a.attributes == b.attributes && a.size == b.size &&
           a.creationTime == b.creationTime && a.lastAccessTime == b.lastAccessTime &&
           a.lastWriteTime == b.lastWriteTime && a.detailsMissing == b.detailsMissing;
}

class FilesConformance : public ::testing::Test {
protected:
    test::Sandbox sandbox;
    Files& files = *sandbox.platform().files;
    const std::string root = sandbox.root();

    std::string at(const std::string& relative) const { return root + relative; }
    // Makes the folders (no bytes) and writes the files, in order.
    bool make(std::initializer_list<std::pair<const char*, const char*>> scene) {
        for (const auto& [path, bytes] : scene)
            if (!(bytes ? sandbox.writeFile(at(path), bytes) : sandbox.makeFolder(at(path))))
                return false;
        return true;
    }

    std::vector<DirEntry> list(const std::string& folder) {
        std::vector<DirEntry> entries;
        EXPECT_TRUE(files.listFolder(folder, entries)) << folder;
        return entries;
    }

    static const DirEntry* find(const std::vector<DirEntry>& entries, const std::string& name) {
        for (const auto& e : entries)
            if (e.name == name) return &e;
        return nullptr;
    }

    static std::vector<std::string> names(const std::vector<DirEntry>& entries) {
        std::vector<std::string> out;
        for (const auto& e : entries) out.push_back(e.name);
        std::sort(out.begin(), out.end());
        return out;
    }

    std::string content(const std::string& path) {
        std::string bytes = "\xbd sentinel";
        // A failed read leaves nothing behind in the buffer.
        if (!files.readFile(path, bytes)) return bytes.empty() ? "<unreadable>" : "<left bytes>";
        return bytes;
    }
};

TEST_F(FilesConformance, ListingReportsEntriesAndATypesListingCompletedEqualsIt) {
    ASSERT_TRUE(make({{"a.txt", "abc"},
                      {".hidden", "hidden"},
                      {"locked.txt", "12345"},
                      {"sub", nullptr},
                      {"sub\\inner.txt", "x"},
                      {"empty", nullptr}}));
    ASSERT_TRUE(sandbox.setReadOnly(at("locked.txt"), true));
    ASSERT_TRUE(sandbox.makeSizedFile(at("big.bin"), (std::uint64_t{1} << 32) + 7));
    // An empty folder lists empty; a missing folder or a file does not list.
    for (bool typesOnly : {false, true}) {
        std::vector<DirEntry> entries(1);
        auto lists = [&](const char* folder) {
            return typesOnly ? files.listFolderTypes(at(folder), entries)
                             : files.listFolder(at(folder), entries);
        };
        EXPECT_TRUE(lists("empty") && entries.empty()) << typesOnly;
        for (const char* bad : {"missing", "missing\\deeper\\", "a.txt"})
            EXPECT_FALSE(lists(bad)) << bad << typesOnly;
    }

    const auto entries = list(root);
    ASSERT_EQ(names(entries), (std::vector<std::string>{".hidden", "a.txt", "big.bin", "empty",
                                                        "locked.txt", "sub"}))
        << "no \".\", \"..\"";
    const DirEntry* file = find(entries, "a.txt");
    const DirEntry* subEntry = find(entries, "sub");
    EXPECT_EQ(file->size, 3u);
    EXPECT_EQ(file->attributes & (kAttrDirectory | kAttrReadOnly | kAttrReparsePoint), 0u);
    EXPECT_NE(file->attributes & kAttrArchive, 0u);
    EXPECT_EQ(subEntry->attributes & (kAttrDirectory | kAttrReparsePoint), kAttrDirectory);
    // The times are local time, like the clock's.
    const SystemTime now = sandbox.platform().system->localTime();
    for (const SystemTime* t : {&file->lastWriteTime, &file->lastAccessTime, &file->creationTime}) {
        EXPECT_LE(std::llabs(minutesOf(*t) - minutesOf(now)), 10) << file->name;
    }

    // A types listing completed entry by entry gives the full listing.
    const bool links = sandbox.makeSymlink(at("file link"), at("a.txt"), false) &&
                       sandbox.makeSymlink(at("folder link"), at("sub"), true);

    for (const std::string& folder : {root, at("sub")}) {
        SCOPED_TRACE(folder);
        const std::vector<DirEntry> full = list(folder);
        std::vector<DirEntry> typed;
        ASSERT_TRUE(files.listFolderTypes(folder, typed));
        ASSERT_EQ(typed.size(), full.size());
        for (std::size_t i = 0; i < typed.size(); ++i) {
            DirEntry& e = typed[i];
            const std::uint32_t known = kAttrDirectory | kAttrReparsePoint | kAttrHidden;
            EXPECT_EQ(e.attributes & known, full[i].attributes & known) << e.name;
            DirEntry bare = e;  // completed without its times
            EXPECT_TRUE(files.entryAttributes(folder, bare)) << e.name;
            EXPECT_TRUE(!bare.detailsMissing && bare.attributes == full[i].attributes &&
                        bare.size == full[i].size)
                << bare.name;
            EXPECT_TRUE(files.entryDetails(folder, e)) << e.name;
            EXPECT_TRUE(same(e, full[i])) << e.name << " / " << full[i].name;  // same order too
        }
    }
    std::uint64_t size = 0;
    EXPECT_TRUE(files.fileSize(at("big.bin"), size) && size == (std::uint64_t{1} << 32) + 7);
    EXPECT_EQ(find(list(root), "big.bin")->size, size) << "sizes are sixty-four bits";
    EXPECT_TRUE(sandbox.setReadOnly(at("locked.txt"), false));
    if (!links) GTEST_SKIP() << "this system cannot make symbolic links";
}

TEST_F(FilesConformance, DetailsComeFromTheNamedFolderAndFailForGoneEntries) {
    ASSERT_TRUE(make({{"One", nullptr},
                      {"Two", nullptr},
                      {"One\\first.txt", "1"},
                      {"Two\\second.txt", "22"},
                      {"doomed.tmp", "x"}}));
    std::vector<DirEntry> one, two, top;
    ASSERT_TRUE(files.listFolderTypes(at("One\\"), one));
    ASSERT_TRUE(files.listFolderTypes(at("Two\\"), two));
    ASSERT_TRUE(files.listFolderTypes(root, top));
    ASSERT_TRUE(one.size() == 1 && two.size() == 1);
    ASSERT_TRUE(files.entryDetails(at("ONE"), one[0])) << "another spelling, the same folder";
    EXPECT_EQ(one[0].size, 1u);
    ASSERT_TRUE(files.entryDetails(at("Two\\"), two[0]));
    EXPECT_EQ(two[0].size, 2u);

    DirEntry* doomed = nullptr;
    for (DirEntry& e : top) doomed = e.name == "doomed.tmp" ? &e : doomed;
    ASSERT_NE(doomed, nullptr);
    ASSERT_TRUE(files.deleteFile(at("doomed.tmp")));
    // An entry still missing its details cannot get them now; a complete one
    // needs nothing looked up.
    EXPECT_NE(files.entryDetails(root, *doomed), doomed->detailsMissing);

    // Nor can an entry whose folder has gone.
    DirEntry elsewhere = two[0];
    elsewhere.detailsMissing = true;
    EXPECT_FALSE(files.entryDetails(at("missing"), elsewhere));
}

TEST_F(FilesConformance, NamesAreMatchedInAnyCaseAndKeepTheirSpelling) {
    ASSERT_TRUE(make({{"Folder", nullptr}, {"Folder\\Mixed.TXT", "data"}}));
    EXPECT_TRUE(files.folderExists(at("FOLDER")));
    EXPECT_TRUE(files.fileExists(at("folder\\mixed.txt")));
    EXPECT_EQ(content(at("FOLDER\\MIXED.txt")), "data");
    // Writing under another spelling replaces the file rather than adding one.
    EXPECT_TRUE(files.writeFileAtomic(at("FOLDER\\mixed.txt"), "new"));
    EXPECT_EQ(names(list(at("folder"))), std::vector<std::string>{"Mixed.TXT"});
    EXPECT_EQ(content(at("Folder\\Mixed.TXT")), "new");
    EXPECT_TRUE(files.deleteFile(at("FOLDER\\MIXED.TXT")));
    EXPECT_FALSE(sandbox.exists(at("Folder\\Mixed.TXT")));
}

TEST_F(FilesConformance, PathsAreReadAsWindowsReadsThemAndFoldersAreNeverDeleted) {
    ASSERT_TRUE(make({{"sub", nullptr}, {"a.txt", "A"}, {"sub\\f.txt", "x"}, {"empty", nullptr}}));
    std::uint64_t size = 0;
    // A separator at the end names a folder, so no file.
    EXPECT_FALSE(files.fileExists(at("a.txt\\")));
    EXPECT_FALSE(files.writeFileAtomic(at("new\\"), "x"));
    EXPECT_FALSE(files.deleteFile(at("a.txt\\")));
    EXPECT_EQ(files.openForOverwrite(at("a.txt\\")), nullptr);
    // Trailing dots and spaces of the last name are dropped; "." and ".."
    // are resolved in the text.
    EXPECT_TRUE(files.fileExists(at("a.txt.")));
    EXPECT_TRUE(files.fileExists(at("a.txt ")));
    EXPECT_TRUE(files.folderExists(at("sub\\.")));
    EXPECT_EQ(content(at("sub\\..\\a.txt")), "A");
    EXPECT_TRUE(files.deleteFile(at("a.txt.")));
    EXPECT_FALSE(sandbox.exists(at("a.txt")));

    // Files and folders are told apart, and no folder is deleted as a file.
    EXPECT_TRUE(files.fileExists(at("sub\\f.txt")) && !files.folderExists(at("sub\\f.txt")));
    EXPECT_TRUE(files.folderExists(at("sub\\")) && !files.fileExists(at("sub")));
    EXPECT_FALSE(files.deleteFile(at("sub")));
    EXPECT_FALSE(files.deleteFile(at("empty")));
    EXPECT_TRUE(sandbox.exists(at("empty")));
    EXPECT_TRUE(files.deleteFile(at("sub\\f.txt")));
    EXPECT_FALSE(files.fileSize(at("sub\\f.txt"), size) || files.fileSize(at("sub"), size));
}

TEST_F(FilesConformance, APathHoldingANulNamesNothing) {
    // Such a path is not cut at the NUL: the part before it names another
    // entry, which no call may touch in its place.
    ASSERT_TRUE(make({{"sub", nullptr}, {"sub\\a.txt", "A"}}));
    const auto cut = [&](const char* before, const char* after) {
        return at(before) + std::string(1, '\0') + after;
    };
    const std::string file = cut("sub\\a.txt", "x"), folder = cut("sub", "\\x");
    std::vector<DirEntry> entries;
    std::string bytes;
    std::uint64_t size = 0;
    EXPECT_FALSE(files.listFolder(folder, entries));
    EXPECT_FALSE(files.listFolder(cut("sub\\a.txt", "\\x"), entries));
    EXPECT_FALSE(files.folderExists(folder));
    EXPECT_FALSE(files.fileExists(file));
    EXPECT_FALSE(files.readFile(file, bytes));
    EXPECT_FALSE(files.fileSize(file, size));
    EXPECT_EQ(files.openForOverwrite(file), nullptr);
    EXPECT_FALSE(files.writeFileAtomic(file, "changed"));
    EXPECT_FALSE(files.deleteFile(file));
    EXPECT_FALSE(files.renameFile(file, at("sub\\b.txt")));
    EXPECT_FALSE(files.renameFile(at("sub\\a.txt"), cut("sub\\b.txt", "x")));
    EXPECT_FALSE(files.createFolder(cut("new", "\\x")));
    EXPECT_EQ(names(list(at("sub"))), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(content(at("sub\\a.txt")), "A");
    EXPECT_EQ(names(list(root)), std::vector<std::string>{"sub"});
}

TEST_F(FilesConformance, ReadOnlyFileIsNeitherDeletedNorOverwrittenAndTheFailuresSayWhy) {
    ASSERT_TRUE(sandbox.writeFile(at("locked.txt"), "keep"));
    ASSERT_TRUE(sandbox.setReadOnly(at("locked.txt"), true));
    const auto entries = list(root);
    ASSERT_TRUE(find(entries, "locked.txt"));
    EXPECT_NE(find(entries, "locked.txt")->attributes & kAttrReadOnly, 0u);
    EXPECT_FALSE(files.deleteFile(at("locked.txt")));
    const std::string denied = files.lastErrorText();
    EXPECT_EQ(files.openForOverwrite(at("locked.txt")), nullptr);
    EXPECT_EQ(files.lastErrorText(), denied);
    EXPECT_FALSE(files.writeFileAtomic(at("locked.txt"), "changed"));
    EXPECT_EQ(content(at("locked.txt")), "keep");
    EXPECT_FALSE(files.deleteFile(at("gone.txt")));
    const std::string missing = files.lastErrorText();
    // A reason of its own for each, without the message's final full stop.
    EXPECT_TRUE(!denied.empty() && !missing.empty() && denied != missing &&
                denied.find('.') == std::string::npos)
        << denied << " / " << missing;
    ASSERT_TRUE(sandbox.setReadOnly(at("locked.txt"), false));
    EXPECT_TRUE(files.deleteFile(at("locked.txt")));
}

TEST_F(FilesConformance, CreateFolderMakesMissingParentsAndFailsOnAFileInTheWay) {
    EXPECT_TRUE(files.createFolder(at("a\\b\\c")));
    EXPECT_TRUE(files.createFolder(at("A\\B\\C\\")));  // exists already, any spelling
    EXPECT_EQ(names(list(at("a\\b"))), std::vector<std::string>{"c"});
    ASSERT_TRUE(sandbox.writeFile(at("blocker"), "x"));
    EXPECT_FALSE(files.createFolder(at("blocker")));
    EXPECT_FALSE(files.createFolder(at("BLOCKER\\below")));  // in any spelling
    EXPECT_EQ(content(at("blocker")), "x");
    EXPECT_EQ(names(list(root)), (std::vector<std::string>{"a", "blocker"}));
}

TEST_F(FilesConformance, FilesReadAndAtomicWritesGiveTheExactBytesAndLeaveNoTemporaryFile) {
    const std::string bytes("line\r\n\0\xff end", 12);
    ASSERT_TRUE(sandbox.writeFile(at("bin"), bytes));
    EXPECT_EQ(content(at("bin")), bytes);
    for (const std::string& data :
         {std::string("first\r\n"), std::string(100000, 'z'), std::string()}) {
        EXPECT_TRUE(files.writeFileAtomic(at("list.dat"), data));
        EXPECT_EQ(content(at("list.dat")), data);
    }
    ASSERT_TRUE(make({{"dir", nullptr}, {"dir\\keep", "k"}}));
    EXPECT_EQ(content(at("missing")), "<unreadable>");
    EXPECT_EQ(content(at("dir")), "<unreadable>");
    EXPECT_FALSE(files.writeFileAtomic(at("missing\\list.dat"), "data"));
    EXPECT_FALSE(sandbox.exists(at("missing")));
    EXPECT_FALSE(files.writeFileAtomic(at("dir"), "data"));  // a folder is no target
    EXPECT_EQ(content(at("dir\\keep")), "k");
    EXPECT_EQ(names(list(root)), (std::vector<std::string>{"bin", "dir", "list.dat"}));
}

TEST_F(FilesConformance, RenameRefusesAnExistingTargetInAnySpelling) {
    ASSERT_TRUE(make({{"a.txt", "a"}, {"b.txt", "b"}}));
    EXPECT_FALSE(files.renameFile(at("a.txt"), at("b.txt")));
    EXPECT_FALSE(files.renameFile(at("a.txt"), at("B.TXT")));  // the same name to the system
    EXPECT_EQ(content(at("b.txt")), "b");
    EXPECT_TRUE(files.renameFile(at("a.txt"), at("a.txt")));  // to itself: nothing changes
    EXPECT_TRUE(files.renameFile(at("A.TXT"), at("c.txt")));
    EXPECT_FALSE(files.renameFile(at("a.txt"), at("d.txt")));  // source gone
    EXPECT_EQ(names(list(root)), (std::vector<std::string>{"b.txt", "c.txt"}));
    EXPECT_EQ(content(at("c.txt")), "a");
}

// Several MiB in uneven pieces, so a backend that writes behind a window
// must keep its offsets right across the window and after a new pass.
TEST_F(FilesConformance, OverwritePassesLeaveExactlyTheirBytesAndTruncateEmptiesInPlace) {
    const std::size_t mib = std::size_t(1) << 20;
    const std::size_t size = 9 * mib + 77;
    ASSERT_TRUE(sandbox.writeFile(at("big"), std::string(size, 'x')));
    auto file = files.openForOverwrite(at("BIG"));
    ASSERT_NE(file, nullptr);
    std::uint64_t length = 0;
    ASSERT_TRUE(file->size(length));
    ASSERT_EQ(length, size);

    const std::string whole(mib, 'a');
    for (std::size_t done = 0; done < size; done += mib)
        ASSERT_TRUE(file->write(whole.data(), std::min(mib, size - done)));
    ASSERT_TRUE(file->flush());
    EXPECT_EQ(content(at("big")), std::string(size, 'a'));

    ASSERT_TRUE(file->seekToStart());
    std::string expected;
    for (std::size_t piece = 0; expected.size() < 5 * mib + 3; ++piece) {
        const std::string bytes(mib / 2 + piece * 4099, static_cast<char>('A' + piece));
        ASSERT_TRUE(file->write(bytes.data(), bytes.size()));
        expected += bytes;
    }
    ASSERT_TRUE(file->flush());
    expected += std::string(size - expected.size(), 'a');
    EXPECT_TRUE(content(at("big")) == expected) << "the second pass left other bytes";
    EXPECT_TRUE(file->size(length));
    EXPECT_EQ(length, size);
    EXPECT_TRUE(file->truncate());
    EXPECT_TRUE(file->size(length));
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(file->close());
    EXPECT_EQ(content(at("big")), "");

    ASSERT_TRUE(sandbox.makeFolder(at("dir")));
    for (const char* path : {"dir", "missing", "missing\\file"})
        EXPECT_EQ(files.openForOverwrite(at(path)), nullptr) << path;
}

TEST_F(FilesConformance, LinksAreListedDeletedAndRefusedAsThemselves) {
    ASSERT_TRUE(make({{"target", nullptr}, {"target\\real.txt", "precious"}, {"links", nullptr}}));
    if (!sandbox.makeSymlink(at("links\\link.txt"), at("target\\real.txt"), false) ||
        !sandbox.makeSymlink(at("links\\dirlink"), at("target"), true))
        GTEST_SKIP() << "this system cannot make symbolic links";

    const auto entries = list(at("links"));
    ASSERT_EQ(names(entries), (std::vector<std::string>{"dirlink", "link.txt"}));
    EXPECT_EQ(find(entries, "link.txt")->attributes & (kAttrReparsePoint | kAttrDirectory),
              kAttrReparsePoint);
    EXPECT_NE(find(entries, "dirlink")->attributes & kAttrReparsePoint, 0u);

    EXPECT_EQ(files.openForOverwrite(at("links\\link.txt")), nullptr);
    EXPECT_TRUE(files.deleteFile(at("links\\link.txt")));
    EXPECT_FALSE(sandbox.exists(at("links\\link.txt")));
    // Whatever each system makes of deleting a folder link, the target stays.
    files.deleteFile(at("links\\dirlink"));
    EXPECT_EQ(content(at("target\\real.txt")), "precious");
}

#ifdef _WIN32
// The Win32 backend adds this refusal to the plain calls.
TEST_F(FilesConformance, OverwriteRefusesAFileWithASecondName) {
    ASSERT_TRUE(sandbox.writeFile(at("original.txt"), "shared content"));
    std::error_code error;
    std::filesystem::create_hard_link(at("original.txt"), at("second.txt"), error);
    if (error) GTEST_SKIP() << "this system cannot make hard links";
    EXPECT_EQ(files.openForOverwrite(at("original.txt")), nullptr);
    EXPECT_EQ(content(at("second.txt")), "shared content");
    ASSERT_TRUE(files.deleteFile(at("second.txt")));
    EXPECT_NE(files.openForOverwrite(at("original.txt")), nullptr);
}
#endif

TEST_F(FilesConformance, DrivesTempPathAndWindowsFolderAreWhereTheSystemSays) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
    ASSERT_TRUE(letter >= 'A' && letter <= 'Z');
    const std::uint32_t mask = files.logicalDrives();
    EXPECT_NE(mask & (1u << (letter - 'A')), 0u);
    EXPECT_EQ(files.driveType(std::string(1, letter) + ":\\"), kDriveFixed);
    EXPECT_EQ(files.driveType(root), kDriveFixed) << "a longer path gives its drive's type";
    const std::string temp = files.tempPath();
    ASSERT_GE(temp.size(), 3u);
    EXPECT_EQ(temp.substr(1, 1) + temp.back(), ":\\");
    EXPECT_TRUE(files.folderExists(temp)) << temp;
    const std::string windows = files.windowsFolder();
    ASSERT_GE(windows.size(), 3u);
    EXPECT_EQ(windows.substr(1, 2), ":\\");
    EXPECT_TRUE(windows.size() == 3 || windows.back() != '\\') << windows;
}

}  // namespace
}  // namespace cindral::platform
