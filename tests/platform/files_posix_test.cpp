// What only the posix backend has: drives mapped to host folders, names
// differing only in case, links and swapped folders below a drive, and host
// file kinds Windows does not know.
#ifndef _WIN32

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/files_posix.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/shell_folders_posix.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace cindral::platform {
namespace {

// A host folder with drive C: (fixed), D: (removable) and M: (mapped to a
// missing folder) inside it.
class PosixFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        mkdir("c");
        mkdir("d");
        files = makeFiles();
    }

    std::unique_ptr<PosixFiles> makeFiles() {
        PosixFilesConfig config;
        config.drives = {DriveMapping{'C', base + "/c", kDriveFixed},
                         DriveMapping{'D', base + "/d/", kDriveRemovable},
                         DriveMapping{'M', base + "/missing", kDriveFixed}};
        return std::make_unique<PosixFiles>(config);
    }

    std::string host(const std::string& relative) const { return base + "/" + relative; }
    void write(const std::string& relative, const std::string& bytes) {
        ASSERT_TRUE(test::writeHostFile(host(relative), bytes)) << relative;
    }
    std::string read(const std::string& relative) { return test::readHostFile(host(relative)); }
    bool present(const std::string& relative) { return test::hostExists(host(relative)); }
    void mkdir(const std::string& relative) {
        ASSERT_TRUE(std::filesystem::create_directories(host(relative)));
    }
    void symlink(const std::string& target, const std::string& relative) {
        ASSERT_EQ(::symlink(target.c_str(), host(relative).c_str()), 0) << relative;
    }
    std::vector<DirEntry> list(const std::string& folder) {
        std::vector<DirEntry> entries;
        EXPECT_TRUE(files->listFolder(folder, entries)) << folder;
        return entries;
    }
    static DirEntry entryOf(const std::vector<DirEntry>& entries, const std::string& name) {
        for (const auto& e : entries)
            if (e.name == name) return e;
        ADD_FAILURE() << name << " not listed";
        return DirEntry();
    }

    test::TempFolder temp;
    const std::string base = temp.path();
    std::unique_ptr<PosixFiles> files;
};

TEST_F(PosixFilesTest, DriveMapGivesLettersAndTypes) {
    EXPECT_EQ(files->logicalDrives(), (1u << 2) | (1u << 3));  // M: has no folder
    const std::pair<const char*, std::uint32_t> rows[] = {{"D:/", kDriveRemovable},
                                                          {"M:\\", kDriveNoRootDir},
                                                          {"C:sub", kDriveNoRootDir},
                                                          {"\\\\server\\share\\", kDriveNoRootDir}};
    for (const auto& row : rows) EXPECT_EQ(files->driveType(row.first), row.second) << row.first;
}

TEST_F(PosixFilesTest, RelativeUncAndUnmappedPathsAreRefusedByEveryOperation) {
    mkdir("c/sandbox");
    write("c/sandbox/f", "x");
    ASSERT_EQ(::chdir(host("c").c_str()), 0);  // a relative name would find it here
    std::vector<DirEntry> entries;
    for (const std::string path : {"sandbox", "sandbox\\f", "\\sandbox\\f", "\\\\host\\share\\f",
                                   "C:sandbox\\f", "Q:\\sandbox\\f"}) {
        EXPECT_FALSE(files->listFolder(path, entries)) << path;
        EXPECT_FALSE(files->deleteFile(path)) << path;
        EXPECT_FALSE(files->writeFileAtomic(path, "y")) << path;
        EXPECT_FALSE(files->createFolder(path + "\\new")) << path;
        EXPECT_EQ(files->openForOverwrite(path), nullptr) << path;
    }
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_EQ(read("c/sandbox/f"), "x");
}

TEST_F(PosixFilesTest, ExactSpellingWinsOverNamesDifferingOnlyInCase) {
    write("c/a.txt", "lower");
    write("c/A.txt", "upper");
    std::string bytes;
    EXPECT_TRUE(files->readFile("C:\\a.txt", bytes) && bytes == "lower");
    EXPECT_TRUE(files->readFile("C:\\A.txt", bytes) && bytes == "upper");
    // No exact match: the first in byte order ("A.txt") is chosen, every time.
    EXPECT_TRUE(files->readFile("C:\\a.TXT", bytes) && bytes == "upper");
    EXPECT_TRUE(files->deleteFile("C:\\a.txt"));
    EXPECT_FALSE(present("c/a.txt"));
    EXPECT_EQ(read("c/A.txt"), "upper");

    mkdir("c/Dir");
    mkdir("c/dir");
    write("c/dir/in-lower", "");
    EXPECT_TRUE(files->fileExists("C:\\dir\\in-lower"));
    EXPECT_FALSE(files->fileExists("C:\\Dir\\in-lower"));

    // A run upper-cases its paths, so of two folders differing only in case
    // its path may name the one the user did not choose: a walk lists
    // neither, in any spelling, nor anything below them. The clash is seen
    // both by a fresh look-up and by one after the parent's own listing.
    mkdir("c/dir/sub");
    mkdir("c/Only");
    std::vector<DirEntry> entries;
    for (const bool parentListed : {false, true}) {
        files = makeFiles();
        if (parentListed) {
            ASSERT_TRUE(files->listFolderTypes("C:\\", entries));
        }
        for (const std::string folder : {"C:\\DIR", "C:\\dir\\", "C:\\Dir", "C:\\DIR\\SUB"})
            EXPECT_FALSE(files->listFolderTypes(folder, entries)) << folder << parentListed;
        EXPECT_TRUE(files->listFolder("C:\\ONLY", entries)) << parentListed;
    }
}

TEST_F(PosixFilesTest, NameWithTrailingDotIsNeverConfusedWithTheNameWithout) {
    // Windows cannot hold both; Linux can, and a path naming one must not
    // reach the other.
    write("c/report.", "junk");
    write("c/report", "precious");
    EXPECT_TRUE(files->deleteFile("C:\\report."));
    EXPECT_FALSE(present("c/report."));
    EXPECT_EQ(read("c/report"), "precious");
    // Without the exact name, the Windows reading applies, also for new names.
    EXPECT_TRUE(files->createFolder("C:\\made.\\sub. "));
    EXPECT_TRUE(present("c/made/sub"));
    EXPECT_TRUE(files->writeFileAtomic("C:\\made\\new.txt.", "x"));
    EXPECT_EQ(read("c/made/new.txt"), "x");
}

TEST_F(PosixFilesTest, HostFileKindsAreListedAsWindowsWouldSeeThem) {
    write("c/.hidden", "abc");
    write("c/shown", "abc");
    ASSERT_EQ(::mkfifo(host("c/pipe").c_str(), 0666), 0);
    write("c/a\\..\\..\\victim", "x");  // one name on Linux, never listed
    // Pipes and sockets belong to running programs: Windows has no such
    // files, so they are neither listed nor deleted. (A socket is refused by
    // the same kind check as the pipe.)
    std::vector<DirEntry> typed;
    ASSERT_TRUE(files->listFolderTypes("C:\\", typed));
    EXPECT_EQ(typed.size(), 2u);
    EXPECT_FALSE(files->deleteFile("C:\\pipe"));
    EXPECT_TRUE(present("c/pipe"));
    const auto entries = list("C:\\");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entryOf(entries, ".hidden").attributes, kAttrHidden | kAttrArchive);
    EXPECT_EQ(entryOf(entries, "shown").attributes, kAttrArchive);
    // A pipe is never opened: that could block forever.
    std::string bytes;
    EXPECT_FALSE(files->readFile("C:\\pipe", bytes));
    EXPECT_EQ(files->openForOverwrite("C:\\pipe"), nullptr);
    EXPECT_FALSE(files->writeFileAtomic("C:\\pipe\\x", "y"));
}

TEST_F(PosixFilesTest, NoOperationFollowsALinkBelowTheDriveRootNorOneSwappedInAfterListing) {
    mkdir("outside");
    write("outside/precious", "keep");
    symlink(host("outside"), "c/link");
    std::vector<DirEntry> entries;
    std::string bytes;
    EXPECT_FALSE(files->listFolder("C:\\link", entries));
    EXPECT_FALSE(files->deleteFile("C:\\link\\precious"));
    EXPECT_FALSE(files->writeFileAtomic("C:\\link\\precious", "lost"));
    EXPECT_FALSE(files->createFolder("C:\\link\\new"));
    EXPECT_FALSE(files->renameFile("C:\\link\\precious", "C:\\link\\moved"));
    EXPECT_EQ(files->openForOverwrite("C:\\link\\precious"), nullptr);
    EXPECT_FALSE(present("outside/new"));

    // A file link is not read through; replacing it swaps the link for a file.
    symlink(host("outside/precious"), "c/link.txt");
    EXPECT_FALSE(files->readFile("C:\\link.txt", bytes));
    EXPECT_TRUE(files->writeFileAtomic("C:\\link.txt", "new"));
    EXPECT_EQ(read("outside/precious"), "keep");
    EXPECT_EQ(read("c/link.txt"), "new");

    // Nor does a folder swapped for a link after its listing.
    mkdir("c/walk");
    write("c/walk/victim.txt", "walked");
    write("outside/victim.txt", "precious");
    // The walk lists the folder (and so holds it open), then someone swaps
    // it for a link to another folder ...
    ASSERT_EQ(list("C:\\walk").size(), 1u);
    ASSERT_EQ(::rename(host("c/walk").c_str(), host("c/walk-old").c_str()), 0);
    symlink(host("outside"), "c/walk");
    // ... and the deletion of the listed file stays in the listed folder.
    EXPECT_TRUE(files->deleteFile("C:\\walk\\victim.txt"));
    EXPECT_EQ(read("outside/victim.txt"), "precious");
    EXPECT_FALSE(present("c/walk-old/victim.txt"));
}

TEST_F(PosixFilesTest, FoldersRemovedOrRenamedAfterListingAreSeenAnew) {
    // The listed folder, or the one above it, removed and made again.
    const std::pair<const char*, const char*> rows[] = {{"cycle", "C:\\cycle"},
                                                        {"up/down", "C:\\up\\down"}};
    for (const auto& [folder, windows] : rows) {
        const std::string made = std::string("c/") + folder;
        mkdir(made);
        write(made + "/old", "");
        ASSERT_EQ(list(windows).size(), 1u) << folder;
        std::filesystem::remove_all(host(made.substr(0, made.find('/', 2))));
        mkdir(made);
        write(made + "/new", "");
        const auto entries = list(windows);
        ASSERT_EQ(entries.size(), 1u) << folder;
        EXPECT_EQ(entries[0].name, "new") << folder;
    }
    EXPECT_TRUE(files->deleteFile("C:\\cycle\\new"));
    EXPECT_FALSE(present("c/cycle/new"));

    ASSERT_TRUE(files->createFolder("C:\\cycle\\b"));
    write("c/cycle/b/f", "x");
    ASSERT_EQ(list("C:\\cycle\\b").size(), 1u);
    ASSERT_TRUE(files->renameFile("C:\\cycle", "C:\\renamed"));
    std::vector<DirEntry> gone;
    EXPECT_FALSE(files->listFolder("C:\\cycle\\b", gone));
    EXPECT_FALSE(files->fileExists("C:\\cycle\\b\\f"));
    EXPECT_TRUE(files->fileExists("C:\\renamed\\b\\f"));
}

TEST_F(PosixFilesTest, OverwriteRefusesASecondHardLinkAndAtomicWriteKeepsPermissions) {
    write("c/one", "shared");
    ASSERT_EQ(::link(host("c/one").c_str(), host("c/two").c_str()), 0);
    EXPECT_EQ(files->openForOverwrite("C:\\one"), nullptr);
    ASSERT_EQ(::unlink(host("c/two").c_str()), 0);
    EXPECT_NE(files->openForOverwrite("C:\\one"), nullptr);

    ASSERT_EQ(::chmod(host("c/one").c_str(), 0600), 0);
    ASSERT_TRUE(files->writeFileAtomic("C:\\one", "new"));
    struct stat st;
    ASSERT_EQ(::stat(host("c/one").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(read("c/one"), "new");
}

// Windows refuses to delete or overwrite a file another program has open;
// cleaning the temporary folder must not pull files from under running
// programs on Linux either.
TEST_F(PosixFilesTest, AFileAnotherProcessHoldsOpenIsNeitherDeletedNorOverwritten) {
    write("c/used", "in use");
    write("c/free", "x");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // holds the file open until it is killed
        const char c = ::open(host("c/used").c_str(), O_RDONLY) >= 0 ? 'y' : 'n';
        if (::write(ready[1], &c, 1) == 1) ::pause();
        ::_exit(1);
    }
    ::close(ready[1]);  // a child that dies unheard ends the read below
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_EQ(files->openForOverwrite("C:\\used"), nullptr);
    EXPECT_FALSE(files->deleteFile("C:\\used"));
    EXPECT_EQ(read("c/used"), "in use");
    EXPECT_TRUE(files->deleteFile("C:\\free"));
    ::kill(child, SIGKILL);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    ::close(ready[0]);
    // Once the program has closed it, the file goes.
    EXPECT_TRUE(files->deleteFile("C:\\used"));
    EXPECT_FALSE(present("c/used"));
}

TEST_F(PosixFilesTest, HugeFilesAreRefusedAndLongestNamesAreReplacedWhole) {
    // A sparse file larger than any list could be: refused, not held in memory.
    write("c/huge", "");
    ASSERT_EQ(::truncate(host("c/huge").c_str(), off_t(kMaxReadFileSize) + 1), 0);
    std::string bytes = "sentinel";
    EXPECT_FALSE(files->readFile("C:\\huge", bytes));
    EXPECT_TRUE(bytes.empty());
    // The temporary file beside a name of NAME_MAX bytes still fits the folder.
    const std::string longest(NAME_MAX, 'n');
    for (const char* content : {"first", "second"}) {
        ASSERT_TRUE(files->writeFileAtomic("C:\\" + longest, content)) << content;
        EXPECT_EQ(read("c/" + longest), content);
    }
    EXPECT_EQ(list("C:\\").size(), 2u);  // no temporary file left beside it
}

TEST_F(PosixFilesTest, UnreadableFolderDoesNotList) {
    mkdir("c/closed");
    write("c/closed/f", "");
    ASSERT_EQ(::chmod(host("c/closed").c_str(), 0), 0);
    ASSERT_EQ(::chmod(base.c_str(), 0755), 0);
    // Permissions do not restrict root, so the check runs in a child process
    // that gives up root's rights for those of "nobody".
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        files = makeFiles();  // nothing opened with root's rights
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(1);
        std::vector<DirEntry> entries;
        if (!files->listFolder("C:\\", entries) || entries.size() != 1) ::_exit(2);
        if (files->listFolder("C:\\closed", entries)) ::_exit(3);
        ::_exit(files->deleteFile("C:\\closed\\f") ? 4 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "1: cannot drop rights, 2: drive unreadable, 3: listed, 4: deleted";
    ::chmod(host("c/closed").c_str(), 0700);
    EXPECT_TRUE(present("c/closed/f"));
}

TEST_F(PosixFilesTest, MountPointIsListedAsAReparsePointFolder) {
    struct stat rootStat, procStat;
    ASSERT_EQ(::stat("/", &rootStat), 0);
    if (::stat("/proc", &procStat) != 0 || procStat.st_dev == rootStat.st_dev)
        GTEST_SKIP() << "/proc is not a separate file system here";
    PosixFilesConfig config;
    config.drives = {DriveMapping{'Z', "/", kDriveRemote}};
    files = std::make_unique<PosixFiles>(config);
    EXPECT_EQ(entryOf(list("Z:\\"), "proc").attributes & (kAttrDirectory | kAttrReparsePoint),
              kAttrDirectory | kAttrReparsePoint);
}

TEST(PosixShellFoldersTest, FoldersAndTheStoreComeFromXdgThroughTheDriveMap) {
    PosixFilesConfig config;
    config.drives = {DriveMapping{'C', "/home/user", kDriveFixed}};
    config.tempFolder = "/var/elsewhere";
    config.windowsFolder = "C:\\Windows\\";
    PosixFiles files(config);
    EXPECT_EQ(files.tempPath(), "") << "a temp folder outside every drive";
    EXPECT_EQ(files.windowsFolder(), "C:\\Windows");
    PosixShellFolders shell(files, {{kCsidlAppData, "/home/user/.config/"},
                                    {kCsidlCookies, ""},
                                    {kCsidlHistory, "/var/elsewhere"}});
    EXPECT_EQ(shell.specialFolder(kCsidlAppData), "C:\\.config");
    for (int csidl : {kCsidlCookies, kCsidlHistory, kCsidlRecent})
        EXPECT_EQ(shell.specialFolder(csidl), "") << csidl;

    test::ScopedEnv configHome("XDG_CONFIG_HOME", "/opt/conf");
    test::ScopedEnv cacheHome("XDG_CACHE_HOME", "relative/ignored");
    auto folders = PosixShellFolders::defaultFolders();
    EXPECT_EQ(folders[kCsidlAppData], "/opt/conf");
    EXPECT_EQ(folders[kCsidlInternetCache], userHomeFolder() + "/.cache");
    EXPECT_EQ(folders.count(kCsidlRecent) + folders.count(kCsidlCookies), 0u);
    NativeOptions options;
    EXPECT_EQ(fromEnvironment(options).registryFile, "/opt/conf/Cindral/registry.reg");
    options.registryFile = "/srv/store.reg";
    const PosixConfig posix = fromEnvironment(options);
    EXPECT_EQ(posix.registryFile, "/srv/store.reg");
    // The host has no Windows folder: "%WINDOWS%\Temp\*?" must not empty a
    // "Windows" folder the user keeps in the home folder (drive C:).
    EXPECT_EQ(PosixFiles(PosixFilesConfig{posix.drives, posix.windowsFolder, ""}).windowsFolder(),
              "");
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
