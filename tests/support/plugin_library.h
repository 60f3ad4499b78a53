// The plug-ins shipped in "Plug-Ins" (packaging/plugins), built into the
// test program by cmake/embed-plugins.cmake.
#pragma once

#include <string>
#include <vector>

namespace cindral::test {

struct LibraryPlugin {
    std::string fileName;
    std::string bytes;
};

const std::vector<LibraryPlugin>& PluginLibrary();

}  // namespace cindral::test
