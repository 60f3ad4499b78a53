#include "platform/posix/drive_map.h"

#include <algorithm>
#include <cctype>

namespace cindral::platform {
namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Windows drops one trailing "." of a path component, and every trailing
// "." and " " of the last one; "..." and longer runs of dots stay.
std::string windowsSpelling(const std::string& part, bool last) {
    if (part.find_first_not_of('.') == std::string::npos) return part;
    std::string out = part;
    if (last) {
        while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
    } else if (out.size() >= 2 && out.back() == '.' && out[out.size() - 2] != '.') {
        out.pop_back();
    }
    return out;
}

std::vector<std::string> splitHostPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < path.size()) {
        std::size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    return parts;
}

}  // namespace

DriveMap::DriveMap(std::vector<DriveMapping> drives) : drives_(std::move(drives)) {
    for (auto& d : drives_) {
        d.letter = upper(d.letter);
        while (d.hostRoot.size() > 1 && d.hostRoot.back() == '/') d.hostRoot.pop_back();
    }
}

const DriveMapping* DriveMap::find(char letter) const {
    letter = upper(letter);
    for (const auto& d : drives_) {
        if (d.letter == letter) return &d;
    }
    return nullptr;
}

bool DriveMap::parse(const std::string& path, WindowsPath& out) const {
    // A drive-relative, relative or UNC path has no meaning here and is
    // refused rather than guessed at.
    if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return false;
    if (path.find('\0') != std::string::npos) return false;
    const char letter = upper(path[0]);
    if (letter < 'A' || letter > 'Z') return false;
    const DriveMapping* drive = find(letter);
    if (!drive) return false;
    out.drive = static_cast<std::size_t>(drive - drives_.data());
    out.parts.clear();
    out.trimmed.clear();
    std::size_t i = 3;
    while (i <= path.size()) {
        std::size_t j = path.find_first_of("\\/", i);
        if (j == std::string::npos) j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!out.parts.empty()) {
                out.parts.pop_back();
                out.trimmed.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            out.trimmed.push_back(windowsSpelling(part, j == path.size()));
            out.parts.push_back(std::move(part));
        }
        i = j + 1;
    }
    const char lastChar = path.back();
    out.trailingSeparator = lastChar == '\\' || lastChar == '/';
    return true;
}

bool DriveMap::parseFile(const std::string& path, WindowsPath& out) const {
    return parse(path, out) && !out.parts.empty() && !out.trailingSeparator;
}

std::string DriveMap::toWindowsPath(const std::string& hostPath) const {
    if (hostPath.empty() || hostPath[0] != '/') return {};
    const std::vector<std::string> parts = splitHostPath(hostPath);
    const DriveMapping* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& d : drives_) {
        if (d.hostRoot.empty() || d.hostRoot[0] != '/') continue;
        const std::vector<std::string> rootParts = splitHostPath(d.hostRoot);
        if (rootParts.size() > parts.size() || (best && rootParts.size() <= bestLength)) continue;
        if (!std::equal(rootParts.begin(), rootParts.end(), parts.begin())) continue;
        best = &d;
        bestLength = rootParts.size();
    }
    if (!best) return {};
    std::string out(1, best->letter);
    out += ":\\";
    for (std::size_t i = bestLength; i < parts.size(); ++i) {
        if (parts[i].find('\\') != std::string::npos) return {};
        if (i > bestLength) out += '\\';
        out += parts[i];
    }
    return out;
}

bool DriveMap::toHostPath(const std::string& windowsPath, std::string& host) const {
    WindowsPath p;
    if (!parse(windowsPath, p)) return false;
    std::string out = drives_[p.drive].hostRoot;
    for (const std::string& part : p.parts) {
        if (out.empty() || out.back() != '/') out += '/';
        out += part;
    }
    host = out;
    return true;
}

}  // namespace cindral::platform
