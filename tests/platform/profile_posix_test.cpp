// The posix profile files over the Files service: what reaches the files,
// and what happens when they cannot be read or written.
#ifndef _WIN32

#include "platform/posix/profile_posix.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <thread>

namespace cindral::platform {
namespace {

// Files held in memory; only what the profile functions use does anything.
class MemoryFiles : public Files {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, bool> unreadable;
    bool failWrites = false;
    int writes = 0;

    bool readFile(const std::string& path, std::string& bytes) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = files.find(path);
        if (unreadable[path] || it == files.end()) return false;
        bytes = it->second;
        return true;
    }
    bool writeFileAtomic(const std::string& path, const std::string& bytes) override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++writes;
        if (!failWrites) files[path] = bytes;
        return !failWrites;
    }
    bool fileExists(const std::string& path) override {
        std::lock_guard<std::mutex> lock(mutex_);
        return files.count(path) != 0;
    }

    bool listFolder(const std::string&, std::vector<DirEntry>&) override { return false; }
    bool deleteFile(const std::string&) override { return false; }
    bool createFolder(const std::string&) override { return false; }
    bool folderExists(const std::string&) override { return false; }
    bool fileSize(const std::string&, std::uint64_t&) override { return false; }
    bool renameFile(const std::string&, const std::string&) override { return false; }
    std::unique_ptr<OverwriteFile> openForOverwrite(const std::string&) override { return nullptr; }
    std::uint32_t logicalDrives() override { return 0; }
    std::uint32_t driveType(const std::string&) override { return kDriveUnknown; }
    std::string windowsFolder() override { return "C:\\Windows"; }
    std::string tempPath() override { return "C:\\Temp\\"; }
    std::string toWindowsPath(const std::string&) const override { return {}; }

private:
    std::mutex mutex_;
};

const std::string kFile = "C:\\Cindral\\Data\\SelItems.dat";

TEST(PosixProfileFiles, EveryCallReadsTheFileAfreshAndTheHeldValueIsNotWrittenAgain) {
    MemoryFiles files;
    PosixProfileFiles profiles(files);
    files.files[kFile] = "[Items]\r\nClipboard=1\r\n";
    EXPECT_EQ(profiles.readString(kFile, "Items", "Clipboard", "?"), "1");
    EXPECT_TRUE(profiles.writeString(kFile, "items", "CLIPBOARD", "1"));
    EXPECT_EQ(files.writes, 0);
    files.files[kFile] = "[Items]\r\nClipboard=0\r\n";
    EXPECT_EQ(profiles.readInt(kFile, "Items", "Clipboard", 7), 0);
    EXPECT_TRUE(profiles.writeString(kFile, "Items", "Clipboard", "1"));
    EXPECT_EQ(files.writes, 1);
}

TEST(PosixProfileFiles, NothingIsLostWhenAFileCannotBeReadOrWritten) {
    MemoryFiles files;
    PosixProfileFiles profiles(files);
    const std::string held = "[Items]\r\nClipboard=0\r\nOther=1\r\n";
    files.files[kFile] = held;
    files.unreadable[kFile] = true;
    EXPECT_EQ(profiles.readString(kFile, "Items", "Clipboard", "dflt"), "dflt");
    EXPECT_FALSE(profiles.writeString(kFile, "Items", "Clipboard", "1"))
        << "a file that exists but cannot be read is not replaced";
    EXPECT_EQ(files.writes, 0);

    files.unreadable[kFile] = false;
    files.failWrites = true;
    EXPECT_FALSE(profiles.writeString(kFile, "Items", "Clipboard", "1"));
    EXPECT_FALSE(profiles.writeString("C:\\new.ini", "s", "k", "v"));
    EXPECT_EQ(files.files[kFile], held);
    EXPECT_EQ(files.files.count("C:\\new.ini"), 0u);
}

TEST(PosixProfileFiles, WritersInOneProcessDoNotLoseEachOthersKeys) {
    MemoryFiles files;
    PosixProfileFiles profiles(files);
    const int kEach = 100;
    auto writer = [&](const std::string& prefix) {
        for (int i = 0; i < kEach; ++i)
            profiles.writeString(kFile, "Items", prefix + std::to_string(i), "1");
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    for (const char* prefix : {"a", "b"}) {
        for (int i = 0; i < kEach; ++i) {
            const std::string key = prefix + std::to_string(i);
            EXPECT_EQ(profiles.readInt(kFile, "Items", key, -1), 1) << key;
        }
    }
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
