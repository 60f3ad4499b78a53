// The posix profile files over the Files service: what reaches the files,
// and what happens when they cannot be read or written.
#ifndef _WIN32

#include "platform/posix/profile_posix.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "support/fixtures.h"

namespace cindral::platform {
namespace {

using test::FileOp;

class PosixProfile : public test::SandboxTest {
protected:
    // Counts the writes, and fails the calls of the kinds given.
    void count(std::set<FileOp> failing = {}) {
        files_.fails = [this, failing](FileOp op, const std::string&) {
            writes += op == FileOp::Write;
            return failing.count(op) != 0;
        };
    }

    PosixProfileFiles profiles{files_};
    const std::string file = at("SelItems.dat");
    int writes = 0;
};

TEST_F(PosixProfile, EveryCallReadsTheFileAfreshAndTheHeldValueIsNotWrittenAgain) {
    count();
    ASSERT_TRUE(box_.writeFile(file, "[Items]\r\nClipboard=1\r\n"));
    EXPECT_EQ(profiles.readString(file, "Items", "Clipboard", "?"), "1");
    EXPECT_TRUE(profiles.writeString(file, "items", "CLIPBOARD", "1"));
    EXPECT_EQ(writes, 0);
    ASSERT_TRUE(box_.writeFile(file, "[Items]\r\nClipboard=0\r\n"));
    EXPECT_EQ(profiles.readInt(file, "Items", "Clipboard", 7), 0);
    EXPECT_TRUE(profiles.writeString(file, "Items", "Clipboard", "1"));
    EXPECT_EQ(writes, 1);
    // A file that cannot be read gives the default. A failing read or write
    // in a change is met call by call in data_file_faults_test.
    count({FileOp::Read});
    EXPECT_EQ(profiles.readString(file, "Items", "Clipboard", "dflt"), "dflt");
}

// Two writers in one process: each reads, changes and replaces the whole
// file, so without the file lock one of them would drop the other's keys.
TEST_F(PosixProfile, WritersInOneProcessDoNotLoseEachOthersKeys) {
    const int kEach = 100;
    PosixProfileFiles direct(*box_.platform().files);  // the decorator records unguarded
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
