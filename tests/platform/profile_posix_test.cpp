// The posix profile files over the Files service: what reaches the files,
// and what happens when they cannot be read or written.
#ifndef _WIN32

#include "platform/posix/profile_posix.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "support/faulty_files.h"
#include "support/sandbox.h"

namespace cindral::platform {
namespace {

using test::FileOp;

class PosixProfile : public ::testing::Test {
protected:
    // Counts the writes, and fails the calls of the kinds given.
    void count(std::set<FileOp> failing = {}) {
        files.fails = [this, failing](FileOp op, const std::string&) {
            writes += op == FileOp::Write;
            return failing.count(op) != 0;
        };
    }
    std::string read() {
        std::string bytes;
        return box.platform().files->readFile(file, bytes) ? bytes : "<missing>";
    }

    test::Sandbox box;
    test::FaultyFiles files{*box.platform().files};
    PosixProfileFiles profiles{files};
    const std::string file = box.root() + "SelItems.dat";
    int writes = 0;
};

TEST_F(PosixProfile, EveryCallReadsTheFileAfreshAndTheHeldValueIsNotWrittenAgain) {
    count();
    ASSERT_TRUE(box.writeFile(file, "[Items]\r\nClipboard=1\r\n"));
    EXPECT_EQ(profiles.readString(file, "Items", "Clipboard", "?"), "1");
    EXPECT_TRUE(profiles.writeString(file, "items", "CLIPBOARD", "1"));
    EXPECT_EQ(writes, 0);
    ASSERT_TRUE(box.writeFile(file, "[Items]\r\nClipboard=0\r\n"));
    EXPECT_EQ(profiles.readInt(file, "Items", "Clipboard", 7), 0);
    EXPECT_TRUE(profiles.writeString(file, "Items", "Clipboard", "1"));
    EXPECT_EQ(writes, 1);
}

TEST_F(PosixProfile, NothingIsLostWhenAFileCannotBeReadOrWritten) {
    const std::string held = "[Items]\r\nClipboard=0\r\nOther=1\r\n";
    ASSERT_TRUE(box.writeFile(file, held));
    count({FileOp::Read});
    EXPECT_EQ(profiles.readString(file, "Items", "Clipboard", "dflt"), "dflt");
    EXPECT_FALSE(profiles.writeString(file, "Items", "Clipboard", "1"))
        << "a file that exists but cannot be read is not replaced";
    EXPECT_EQ(writes, 0);

    count({FileOp::Write});
    EXPECT_FALSE(profiles.writeString(file, "Items", "Clipboard", "1"));
    EXPECT_FALSE(profiles.writeString(box.root() + "new.ini", "s", "k", "v"));
    EXPECT_EQ(read(), held);
    EXPECT_FALSE(box.exists(box.root() + "new.ini"));
}

// Two writers in one process: each reads, changes and replaces the whole
// file, so without the file lock one of them would drop the other's keys.
TEST_F(PosixProfile, WritersInOneProcessDoNotLoseEachOthersKeys) {
    const int kEach = 100;
    PosixProfileFiles direct(*box.platform().files);  // the decorator records unguarded
    auto writer = [&](const std::string& prefix) {
        for (int i = 0; i < kEach; ++i)
            direct.writeString(file, "Items", prefix + std::to_string(i), "1");
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    for (const char* prefix : {"a", "b"}) {
        for (int i = 0; i < kEach; ++i) {
            const std::string key = prefix + std::to_string(i);
            EXPECT_EQ(profiles.readInt(file, "Items", key, -1), 1) << key;
        }
    }
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
