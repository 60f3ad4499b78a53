// The posix profile files over the Files service: what reaches the files.
#ifndef _WIN32

#include "platform/posix/profile_posix.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/fixtures.h"

namespace cindral::platform {
namespace {

using test::FileOp;

class PosixProfile : public test::SandboxTest {
protected:
    // Counts the writes.
    PosixProfile() {
        files_.fails = [this](FileOp op, const std::string&) {
            writes += op == FileOp::Write;
            return false;
        };
    }

    PosixProfileFiles profiles{files_};
    const std::string file = at("SelItems.dat");
    int writes = 0;
};

// Writing the value a key already holds leaves the same bytes, which the
// conformance suite cannot tell from no write at all; counted here.
TEST_F(PosixProfile, TheHeldValueIsNotWrittenAgain) {
    ASSERT_TRUE(box_.writeFile(file, "[Items]\r\nClipboard=1\r\n"));
    EXPECT_TRUE(profiles.writeString(file, "items", "CLIPBOARD", "1"));
    EXPECT_EQ(writes, 0);
    EXPECT_TRUE(profiles.writeString(file, "Items", "Clipboard", "0"));
    EXPECT_EQ(writes, 1);
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
