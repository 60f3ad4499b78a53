// What only the posix backend has: the drive map, names differing only in
// case, links and swapped folders below a drive, host file kinds Windows
// does not know, and the local-time conversion of file times.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/files_posix.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/shell_folders_posix.h"

namespace cindral::platform {
namespace {

int removeOne(const char* path, const struct stat*, int, struct FTW*) {
    ::chmod(path, 0700);
    return ::remove(path) == 0 ? 0 : 0;
}

// A host folder with drive C: (fixed) and D: (removable) inside it.
class PosixFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/cindral-posix-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        base = pattern;
        ASSERT_EQ(::mkdir((base + "/c").c_str(), 0777), 0);
        ASSERT_EQ(::mkdir((base + "/d").c_str(), 0777), 0);
        files = makeFiles();
    }
    void TearDown() override {
        files.reset();
        ::nftw(base.c_str(), removeOne, 16, FTW_DEPTH | FTW_PHYS);
    }

    std::unique_ptr<PosixFiles> makeFiles() {
        PosixFilesConfig config;
        config.drives = {DriveMapping{'C', base + "/c", kDriveFixed},
                         DriveMapping{'D', base + "/d/", kDriveRemovable},
                         DriveMapping{'M', base + "/missing", kDriveFixed}};
        config.tempFolder = base + "/c/tmp";
        return std::make_unique<PosixFiles>(config);
    }

    std::string host(const std::string& relative) const { return base + "/" + relative; }

    void write(const std::string& relative, const std::string& bytes) {
        std::ofstream out(host(relative), std::ios::binary);
        out << bytes;
        ASSERT_TRUE(out.good()) << relative;
    }
    std::string read(const std::string& relative) {
        std::ifstream in(host(relative), std::ios::binary);
        if (!in) return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool present(const std::string& relative) {
        struct stat st;
        return ::lstat(host(relative).c_str(), &st) == 0;
    }
    void mkdir(const std::string& relative) { ASSERT_EQ(::mkdir(host(relative).c_str(), 0777), 0) << relative; }
    void symlink(const std::string& target, const std::string& relative) {
        ASSERT_EQ(::symlink(target.c_str(), host(relative).c_str()), 0) << relative;
    }

    std::vector<DirEntry> list(const std::string& folder) {
        std::vector<DirEntry> entries;
        EXPECT_TRUE(files->listFolder(folder, entries)) << folder;
        return entries;
    }
    static const DirEntry* find(const std::vector<DirEntry>& entries, const std::string& name) {
        for (const auto& e : entries)
            if (e.name == name) return &e;
        return nullptr;
    }

    std::string base;
    std::unique_ptr<PosixFiles> files;
};

TEST_F(PosixFilesTest, DriveMapGivesLettersTypesAndRoots) {
    EXPECT_EQ(files->logicalDrives(), (1u << 2) | (1u << 3));  // M: has no folder
    EXPECT_EQ(files->driveType("C:\\"), kDriveFixed);
    EXPECT_EQ(files->driveType("c:\\"), kDriveFixed);
    EXPECT_EQ(files->driveType("C:"), kDriveFixed);
    EXPECT_EQ(files->driveType("D:/"), kDriveRemovable);
    EXPECT_EQ(files->driveType("M:\\"), kDriveNoRootDir);
    EXPECT_EQ(files->driveType("E:\\"), kDriveNoRootDir);
    EXPECT_EQ(files->driveType("C:\\sub\\"), kDriveFixed);  // as Wine answers
    EXPECT_EQ(files->driveType("C:sub"), kDriveNoRootDir);
    EXPECT_EQ(files->driveType(""), kDriveNoRootDir);
    EXPECT_EQ(files->driveType("\\\\server\\share\\"), kDriveNoRootDir);

    write("d/on-d.txt", "d");
    EXPECT_TRUE(files->fileExists("D:\\on-d.txt"));
    EXPECT_FALSE(files->fileExists("C:\\on-d.txt"));
}

TEST_F(PosixFilesTest, HostAndWindowsPathsConvertThroughTheLongestDriveFolder) {
    PosixFilesConfig config;
    config.drives = {DriveMapping{'Z', "/", kDriveRemote}, DriveMapping{'C', base + "/c", kDriveFixed}};
    PosixFiles mapped(config);
    EXPECT_EQ(mapped.toWindowsPath(base + "/c/a/b.txt"), "C:\\a\\b.txt");
    EXPECT_EQ(mapped.toWindowsPath(base + "/c"), "C:\\");
    EXPECT_EQ(mapped.toWindowsPath(base + "/c/"), "C:\\");
    EXPECT_EQ(mapped.toWindowsPath(base + "/cc/x"), "Z:" + [&] {
        std::string s = base + "/cc/x";
        std::replace(s.begin(), s.end(), '/', '\\');
        return s;
    }());
    EXPECT_EQ(mapped.toWindowsPath("/tmp"), "Z:\\tmp");
    EXPECT_EQ(mapped.toWindowsPath("/"), "Z:\\");
    EXPECT_EQ(mapped.toWindowsPath("/a/./b/../c//d"), "Z:\\a\\c\\d");
    EXPECT_EQ(mapped.toWindowsPath("relative/path"), "");
    EXPECT_EQ(mapped.toWindowsPath(""), "");
    EXPECT_EQ(mapped.toWindowsPath("/odd\\name"), "");  // no Windows spelling

    std::string h;
    EXPECT_TRUE(mapped.toHostPath("C:\\a\\b.txt", h));
    EXPECT_EQ(h, base + "/c/a/b.txt");
    EXPECT_TRUE(mapped.toHostPath("c:/a//b\\..\\x", h));
    EXPECT_EQ(h, base + "/c/a/x");
    EXPECT_TRUE(mapped.toHostPath("Z:\\", h));
    EXPECT_EQ(h, "/");
    EXPECT_TRUE(mapped.toHostPath("Z:\\..\\..\\etc", h));  // never above the drive root
    EXPECT_EQ(h, "/etc");
    h = "untouched";
    EXPECT_FALSE(mapped.toHostPath("\\\\server\\share\\f", h));
    EXPECT_FALSE(mapped.toHostPath("C:relative", h));
    EXPECT_FALSE(mapped.toHostPath("relative\\f", h));
    EXPECT_FALSE(mapped.toHostPath("Q:\\f", h));
    EXPECT_FALSE(mapped.toHostPath(std::string("C:\\a\0b", 6), h));
    EXPECT_EQ(h, "untouched");
}

TEST_F(PosixFilesTest, RelativeUncAndUnmappedPathsAreRefusedByEveryOperation) {
    mkdir("c/sandbox");
    write("c/sandbox/f", "x");
    ASSERT_EQ(::chdir(host("c").c_str()), 0);  // a relative name would find it here
    std::vector<DirEntry> entries;
    for (const std::string path : {"sandbox", "sandbox\\f", "\\sandbox\\f", "\\\\host\\share\\f", "C:sandbox\\f",
                                    "Q:\\sandbox\\f"}) {
        EXPECT_FALSE(files->listFolder(path, entries)) << path;
        EXPECT_FALSE(files->deleteFile(path)) << path;
        EXPECT_FALSE(files->fileExists(path)) << path;
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
    EXPECT_EQ(read("c/a.txt"), "lower");
    std::string bytes;
    EXPECT_TRUE(files->readFile("C:\\a.txt", bytes));
    EXPECT_EQ(bytes, "lower");
    EXPECT_TRUE(files->readFile("C:\\A.txt", bytes));
    EXPECT_EQ(bytes, "upper");
    // No exact match: the first in byte order ("A.txt") is chosen, every time.
    EXPECT_TRUE(files->readFile("C:\\a.TXT", bytes));
    EXPECT_EQ(bytes, "upper");

    EXPECT_TRUE(files->deleteFile("C:\\a.txt"));
    EXPECT_FALSE(present("c/a.txt"));
    EXPECT_EQ(read("c/A.txt"), "upper");

    // A file under another spelling blocks a folder of that name.
    write("c/Blocker", "");
    EXPECT_FALSE(files->createFolder("C:\\blocker\\below"));
    EXPECT_FALSE(present("c/blocker"));

    mkdir("c/Dir");
    mkdir("c/dir");
    write("c/dir/in-lower", "");
    EXPECT_TRUE(files->fileExists("C:\\dir\\in-lower"));
    EXPECT_FALSE(files->fileExists("C:\\Dir\\in-lower"));
}

TEST_F(PosixFilesTest, NameWithTrailingDotIsNeverConfusedWithTheNameWithout) {
    // Windows cannot hold both; Linux can, and a path naming one must not
    // reach the other.
    write("c/report.", "junk");
    write("c/report", "precious");
    EXPECT_TRUE(files->deleteFile("C:\\report."));
    EXPECT_FALSE(present("c/report."));
    EXPECT_EQ(read("c/report"), "precious");
    // Without the exact name, the Windows reading applies.
    EXPECT_TRUE(files->fileExists("C:\\REPORT. "));
    // New names are made as Windows would spell them.
    EXPECT_TRUE(files->createFolder("C:\\made.\\sub. "));
    EXPECT_TRUE(present("c/made/sub"));
    EXPECT_TRUE(files->writeFileAtomic("C:\\made\\new.txt.", "x"));
    EXPECT_EQ(read("c/made/new.txt"), "x");
}

TEST_F(PosixFilesTest, DotNamesAreHiddenAndLinksReportNoSize) {
    write("c/.hidden", "abc");
    write("c/shown", "abc");
    symlink(host("c/shown"), "c/link");
    const auto entries = list("C:\\");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(find(entries, ".hidden")->attributes, kAttrHidden | kAttrArchive);
    EXPECT_EQ(find(entries, "shown")->attributes, kAttrArchive);
    EXPECT_EQ(find(entries, "link")->attributes, kAttrReparsePoint);
    EXPECT_EQ(find(entries, "link")->size, 0u);
}

TEST_F(PosixFilesTest, PipesAndSocketsAreSystemEntriesThatAreNeverOpened) {
    ASSERT_EQ(::mkfifo(host("c/pipe").c_str(), 0666), 0);
    const auto entries = list("C:\\");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].attributes & (kAttrSystem | kAttrArchive | kAttrDirectory), kAttrSystem);
    std::string bytes;
    EXPECT_FALSE(files->readFile("C:\\pipe", bytes));  // would block forever if opened
    EXPECT_EQ(files->openForOverwrite("C:\\pipe"), nullptr);
    EXPECT_FALSE(files->writeFileAtomic("C:\\pipe\\x", "y"));
}

TEST_F(PosixFilesTest, NameHoldingABackslashIsNotListed) {
    write("c/a\\..\\..\\victim", "x");  // one name on Linux
    write("c/plain", "");
    const auto entries = list("C:\\");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "plain");
}

TEST_F(PosixFilesTest, NoOperationFollowsAFolderLinkBelowTheDriveRoot) {
    mkdir("outside");
    write("outside/precious", "keep");
    symlink(host("outside"), "c/link");
    std::vector<DirEntry> entries;
    std::string bytes;
    EXPECT_FALSE(files->listFolder("C:\\link", entries));
    EXPECT_FALSE(files->deleteFile("C:\\link\\precious"));
    EXPECT_FALSE(files->fileExists("C:\\link\\precious"));
    EXPECT_FALSE(files->folderExists("C:\\link"));
    EXPECT_FALSE(files->readFile("C:\\link\\precious", bytes));
    EXPECT_FALSE(files->writeFileAtomic("C:\\link\\precious", "lost"));
    EXPECT_FALSE(files->createFolder("C:\\link\\new"));
    EXPECT_FALSE(files->renameFile("C:\\link\\precious", "C:\\link\\moved"));
    EXPECT_EQ(files->openForOverwrite("C:\\link\\precious"), nullptr);
    EXPECT_EQ(read("outside/precious"), "keep");
    EXPECT_FALSE(present("outside/new"));

    // The link itself goes, as a file would.
    EXPECT_TRUE(files->deleteFile("C:\\LINK"));
    EXPECT_FALSE(present("c/link"));
    EXPECT_EQ(read("outside/precious"), "keep");
}

TEST_F(PosixFilesTest, FileLinkIsNeitherReadNorReplacedThrough) {
    write("outside-file", "keep");
    symlink(host("outside-file"), "c/link.txt");
    std::string bytes;
    EXPECT_FALSE(files->readFile("C:\\link.txt", bytes));
    // Replacing swaps the link for a file; the target keeps its content.
    EXPECT_TRUE(files->writeFileAtomic("C:\\link.txt", "new"));
    EXPECT_EQ(read("outside-file"), "keep");
    EXPECT_EQ(read("c/link.txt"), "new");
}

TEST_F(PosixFilesTest, FolderSwappedForALinkAfterListingCannotRedirectDeletion) {
    mkdir("c/walk");
    write("c/walk/victim.txt", "walked");
    mkdir("outside");
    write("outside/victim.txt", "precious");

    // The walk lists the folder (and so holds it open) ...
    ASSERT_EQ(list("C:\\walk").size(), 1u);
    // ... then someone swaps it for a link to another folder ...
    ASSERT_EQ(::rename(host("c/walk").c_str(), host("c/walk-old").c_str()), 0);
    symlink(host("outside"), "c/walk");
    // ... and the deletion of the listed file stays in the listed folder.
    EXPECT_TRUE(files->deleteFile("C:\\walk\\victim.txt"));
    EXPECT_EQ(read("outside/victim.txt"), "precious");
    EXPECT_FALSE(present("c/walk-old/victim.txt"));

    // A backend that did not list first refuses the path outright.
    auto fresh = makeFiles();
    EXPECT_FALSE(fresh->deleteFile("C:\\walk\\victim.txt"));
    EXPECT_EQ(read("outside/victim.txt"), "precious");
}

TEST_F(PosixFilesTest, FolderRemovedAndMadeAgainIsSeenAnew) {
    mkdir("c/cycle");
    write("c/cycle/old", "");
    ASSERT_EQ(list("C:\\cycle").size(), 1u);
    ASSERT_EQ(::unlink(host("c/cycle/old").c_str()), 0);
    ASSERT_EQ(::rmdir(host("c/cycle").c_str()), 0);
    mkdir("c/cycle");
    write("c/cycle/new", "");
    const auto entries = list("C:\\cycle");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "new");
    EXPECT_TRUE(files->deleteFile("C:\\cycle\\new"));
    EXPECT_FALSE(present("c/cycle/new"));
}

TEST_F(PosixFilesTest, RenamedFolderIsNotReachedThroughItsOldName) {
    ASSERT_TRUE(files->createFolder("C:\\a\\b"));
    write("c/a/b/f", "x");
    ASSERT_EQ(list("C:\\a\\b").size(), 1u);
    ASSERT_TRUE(files->renameFile("C:\\a", "C:\\renamed"));
    std::vector<DirEntry> entries;
    EXPECT_FALSE(files->listFolder("C:\\a\\b", entries));
    EXPECT_FALSE(files->fileExists("C:\\a\\b\\f"));
    EXPECT_TRUE(files->fileExists("C:\\renamed\\b\\f"));
}

TEST_F(PosixFilesTest, OverwriteRefusesAFileWithASecondHardLink) {
    write("c/one", "shared");
    ASSERT_EQ(::link(host("c/one").c_str(), host("c/two").c_str()), 0);
    EXPECT_EQ(files->openForOverwrite("C:\\one"), nullptr);
    ASSERT_EQ(::unlink(host("c/two").c_str()), 0);
    EXPECT_NE(files->openForOverwrite("C:\\one"), nullptr);
}

TEST_F(PosixFilesTest, AtomicWriteKeepsTheTargetsPermissions) {
    write("c/private", "old");
    ASSERT_EQ(::chmod(host("c/private").c_str(), 0600), 0);
    ASSERT_TRUE(files->writeFileAtomic("C:\\private", "new"));
    struct stat st;
    ASSERT_EQ(::stat(host("c/private").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(read("c/private"), "new");
}

TEST_F(PosixFilesTest, UnreadableFolderDoesNotList) {
    mkdir("c/closed");
    write("c/closed/f", "");
    ASSERT_EQ(::chmod(host("c/closed").c_str(), 0), 0);
    // Permissions do not restrict root: as root, check in a child process
    // that has given up its rights for those of "nobody".
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chmod(base.c_str(), 0755), 0);
        ASSERT_EQ(::chmod(host("c").c_str(), 0755), 0);
    }
    auto check = [&]() -> int {
        std::vector<DirEntry> entries;
        if (!files->listFolder("C:\\", entries) || entries.size() != 1) return 2;  // the drive itself is readable
        if (files->listFolder("C:\\closed", entries)) return 3;
        if (files->deleteFile("C:\\closed\\f")) return 4;
        return 0;
    };
    if (!asRoot) {
        EXPECT_EQ(check(), 0);
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            files = makeFiles();  // nothing opened with root's rights
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(1);
            ::_exit(check());
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: cannot drop rights, 2: drive unreadable, 3: listed, 4: deleted";
    }
    ::chmod(host("c/closed").c_str(), 0700);
    EXPECT_TRUE(present("c/closed/f"));
}

TEST_F(PosixFilesTest, MountPointIsListedAsAReparsePointFolder) {
    PosixFilesConfig config;
    config.drives = {DriveMapping{'Z', "/", kDriveRemote}};
    PosixFiles whole(config);
    struct stat rootStat, procStat;
    ASSERT_EQ(::stat("/", &rootStat), 0);
    if (::stat("/proc", &procStat) != 0 || procStat.st_dev == rootStat.st_dev)
        GTEST_SKIP() << "/proc is not a separate file system here";
    std::vector<DirEntry> entries;
    ASSERT_TRUE(whole.listFolder("Z:\\", entries));
    const DirEntry* proc = find(entries, "proc");
    ASSERT_NE(proc, nullptr);
    EXPECT_EQ(proc->attributes & (kAttrDirectory | kAttrReparsePoint), kAttrDirectory | kAttrReparsePoint);
}

TEST_F(PosixFilesTest, TempPathIsTheMappedTempFolderAndEmptyWhenUnmapped) {
    mkdir("c/tmp");
    EXPECT_EQ(files->tempPath(), "C:\\tmp\\");
    PosixFilesConfig config;
    config.drives = {DriveMapping{'C', base + "/c", kDriveFixed}};
    config.tempFolder = "/var/elsewhere";
    config.windowsFolder = "C:\\Windows\\";
    PosixFiles unmapped(config);
    EXPECT_EQ(unmapped.tempPath(), "");
    EXPECT_EQ(unmapped.windowsFolder(), "C:\\Windows");
}

TEST_F(PosixFilesTest, ParallelListingAndDeletingInManyFolders) {
    constexpr int kFolders = 24;
    constexpr int kFiles = 20;
    for (int f = 0; f < kFolders; ++f) {
        mkdir("c/f" + std::to_string(f));
        for (int i = 0; i < kFiles; ++i) write("c/f" + std::to_string(f) + "/x" + std::to_string(i), "");
    }
    std::atomic<int> deleted{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int f = t; f < kFolders; f += 4) {
                const std::string folder = "C:\\F" + std::to_string(f);
                std::vector<DirEntry> entries;
                if (!files->listFolder(folder, entries)) continue;
                for (const auto& e : entries)
                    if (files->deleteFile(folder + "\\" + e.name)) ++deleted;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(deleted.load(), kFolders * kFiles);
}

// File times go through a cached UTC offset per quarter hour; it must agree
// with localtime_r across daylight-saving changes, in zones with odd offsets.
TEST(LocalTimeConverterTest, AgreesWithLocaltimeAcrossDaylightSavingChanges) {
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    for (const char* zone : {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Kathmandu"}) {
        ::setenv("TZ", zone, 1);
        ::tzset();
        LocalTimeConverter converter;
        // Two years around the 2024 changes, in steps that are no divisor of
        // a quarter hour, plus times before 1970.
        for (std::int64_t t = 1704067200 - 86400 * 400; t < 1704067200 + 86400 * 400; t += 3593) {
            for (std::int64_t s : {t, -t / 3}) {
                const SystemTime got = converter.convert(s, 123456789);
                time_t tt = static_cast<time_t>(s);
                struct tm tm;
                ASSERT_NE(::localtime_r(&tt, &tm), nullptr);
                ASSERT_EQ(got.year, tm.tm_year + 1900) << zone << " " << s;
                ASSERT_EQ(got.month, tm.tm_mon + 1) << zone << " " << s;
                ASSERT_EQ(got.day, tm.tm_mday) << zone << " " << s;
                ASSERT_EQ(got.dayOfWeek, tm.tm_wday) << zone << " " << s;
                ASSERT_EQ(got.hour, tm.tm_hour) << zone << " " << s;
                ASSERT_EQ(got.minute, tm.tm_min) << zone << " " << s;
                ASSERT_EQ(got.second, tm.tm_sec) << zone << " " << s;
                ASSERT_EQ(got.milliseconds, 123);
            }
        }
    }
    if (saved)
        ::setenv("TZ", previous.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(PosixShellFoldersTest, FoldersComeFromTheMapThroughTheDriveMap) {
    PosixFilesConfig config;
    config.drives = {DriveMapping{'C', "/home/user", kDriveFixed}};
    PosixFiles files(config);
    PosixShellFolders shell(files, {{kCsidlAppData, "/home/user/.config/"},
                                    {kCsidlInternetCache, "/home/user/.cache"},
                                    {kCsidlCookies, ""},
                                    {kCsidlHistory, "/var/elsewhere"}});
    EXPECT_EQ(shell.specialFolder(kCsidlAppData), "C:\\.config");
    EXPECT_EQ(shell.specialFolder(kCsidlInternetCache), "C:\\.cache");
    EXPECT_EQ(shell.specialFolder(kCsidlCookies), "");
    EXPECT_EQ(shell.specialFolder(kCsidlHistory), "");  // outside every drive
    EXPECT_EQ(shell.specialFolder(kCsidlRecent), "");
}

TEST(PosixShellFoldersTest, DefaultsFollowXdgAndHaveNoRecentCookiesOrHistory) {
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const char* savedCache = std::getenv("XDG_CACHE_HOME");
    const std::string oldConfig = savedConfig ? savedConfig : "";
    const std::string oldCache = savedCache ? savedCache : "";
    ::setenv("XDG_CONFIG_HOME", "/opt/conf", 1);
    ::setenv("XDG_CACHE_HOME", "relative/ignored", 1);
    auto folders = PosixShellFolders::defaultFolders();
    EXPECT_EQ(folders[kCsidlAppData], "/opt/conf");
    EXPECT_EQ(folders[kCsidlInternetCache], userHomeFolder() + "/.cache");
    EXPECT_EQ(folders.count(kCsidlRecent) + folders.count(kCsidlCookies) + folders.count(kCsidlHistory), 0u);

    NativeOptions options;
    EXPECT_EQ(fromEnvironment(options).registryFile, "/opt/conf/Cindral/registry.reg");
    options.registryFile = "/srv/store.reg";
    EXPECT_EQ(fromEnvironment(options).registryFile, "/srv/store.reg");
    const PosixConfig config = fromEnvironment(options);
    ASSERT_EQ(config.drives.size(), 2u);
    EXPECT_EQ(config.drives[0].letter, 'C');
    EXPECT_EQ(config.drives[0].type, kDriveFixed);
    EXPECT_EQ(config.drives[1].letter, 'Z');
    EXPECT_EQ(config.drives[1].hostRoot, "/");
    EXPECT_EQ(config.drives[1].type, kDriveRemote);

    savedConfig ? ::setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    savedCache ? ::setenv("XDG_CACHE_HOME", oldCache.c_str(), 1) : ::unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
