// Windows paths against the Linux drive map, and host paths back.
#ifndef _WIN32

#include "platform/posix/drive_map.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace cindral::platform {
namespace {

TEST(DriveMapTest, HostAndWindowsPathsConvertThroughTheLongestDriveFolder) {
    // A lower-case letter and a trailing "/" name the same drive as "C" and "/srv/c".
    const DriveMap map(
        {DriveMapping{'Z', "/", kDriveRemote}, DriveMapping{'c', "/srv/c/", kDriveFixed}});
    const std::pair<std::string, std::string> toWindows[] = {
        {"/srv/c/a/b.txt", "C:\\a\\b.txt"},
        {"/srv/c", "C:\\"},
        {"/srv/cc/x", "Z:\\srv\\cc\\x"},
        {"/a/./b/../c//d", "Z:\\a\\c\\d"},
        {"relative/path", ""},
        {"/odd\\name", ""},  // no Windows spelling
    };
    for (const auto& row : toWindows) EXPECT_EQ(map.toWindowsPath(row.first), row.second);

    const std::pair<std::string, std::string> toHost[] = {
        {"C:\\a\\b.txt", "/srv/c/a/b.txt"},
        {"c:/a//b\\..\\x", "/srv/c/a/x"},
        {"Z:\\", "/"},
        {"Z:\\..\\..\\etc", "/etc"},  // never above the drive root
        {"C:relative", ""},
        {"Q:\\f", ""},
        {std::string("C:\\a\0b", 6), ""},
    };
    for (const auto& row : toHost) {
        std::string h = "untouched";
        EXPECT_EQ(map.toHostPath(row.first, h), !row.second.empty()) << row.first;
        EXPECT_EQ(h, row.second.empty() ? "untouched" : row.second) << row.first;
    }
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
