#include "fuzz_platform.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace cindral::fuzz {

std::vector<std::string> splitInput(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::string> parts;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (parts.size() + 1 < count) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) break;
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    parts.resize(count);
    return parts;
}

namespace {

struct Scratch {
    std::string folder;
    Scratch() {
        char pattern[] = "/tmp/cindral-fuzz-XXXXXX";
        if (!::mkdtemp(pattern)) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

}  // namespace

const std::string& scratchFolder() {
    static Scratch scratch;
    return scratch.folder;
}

std::string hostPath(const std::string& name) { return scratchFolder() + "/" + name; }
std::string windowsPath(const std::string& name) { return "C:\\" + name; }

bool writeScratchFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(hostPath(name), std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out << bytes);
}

std::unique_ptr<platform::PosixPlatform> makePlatform(const std::string* registryText) {
    platform::PosixConfig config;
    config.drives = {platform::DriveMapping{'C', scratchFolder(), platform::kDriveFixed}};
    config.registryFile = hostPath("registry.reg");
    config.tempFolder = scratchFolder();
    if (registryText) {
        writeScratchFile("registry.reg", *registryText);
    } else {
        std::remove(config.registryFile.c_str());
    }
    return std::make_unique<platform::PosixPlatform>(config);
}

}  // namespace cindral::fuzz
