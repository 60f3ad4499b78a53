// The posix profile files over the Files service: what reaches the files.
#ifndef _WIN32

#include "platform/posix/profile_posix.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/sandbox.h"

namespace cindral::platform {
namespace {

// Two writers in one process: each reads, changes and replaces the whole
// file, so without the file lock one of them would drop the other's keys.
TEST(PosixProfile, WritersInOneProcessDoNotLoseEachOthersKeys) {
    const int kEach = 100;
    test::Sandbox box;
    PosixProfileFiles profiles(*box.platform().files);
    const std::string file = box.root() + "SelItems.dat";
    auto writer = [&](const std::string& prefix) {
        for (int i = 0; i < kEach; ++i)
            profiles.writeString(file, "Items", prefix + std::to_string(i), "1");
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
