#include "engine/plugin_file.h"

#include "engine/plugin_runner.h"
#include "platform/profile.h"
#include "platform/profile_text.h"

namespace cindral::engine {

std::string ReadPluginValue(const std::string& bytes, const std::string& section,
                            const std::string& key) {
    return platform::profile_text::readString(&bytes, section, key, "",
                                              platform::kProfileBufferSize);
}

std::vector<std::string> ReadPluginSection(const std::string& bytes, const std::string& section) {
    std::vector<std::string> entries;
    for (int n = 1; n <= kMaxPluginItems; ++n) {
        std::string value = ReadPluginValue(bytes, section, "Item" + std::to_string(n));
        if (value.empty()) break;
        entries.push_back(std::move(value));
    }
    return entries;
}

namespace {

// The lines of the file, split at CR LF, LF or a lone CR, without a UTF-8
// byte-order mark.
std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", at);
        out.push_back(bytes.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return out;
}

}  // namespace

std::vector<std::string> ReadPluginComments(const std::string& bytes) {
    std::vector<std::string> comments;
    bool inSection = false;
    for (const std::string& raw : lines(bytes)) {
        const std::string line = platform::profile_text::trim(raw);
        if (!line.empty() && line[0] == '[' && line.find(']', 1) != std::string::npos) {
            inSection = true;
            continue;
        }
        const bool comment = !line.empty() && line[0] == ';';
        if (inSection && !comment) continue;
        std::string text = comment ? line.substr(1) : line;
        if (comment && !text.empty() && text[0] == ' ') text.erase(0, 1);
        if (text.empty() && comments.empty()) continue;
        comments.push_back(line.empty() ? std::string() : text);
    }
    while (!comments.empty() && comments.back().empty()) comments.pop_back();
    return comments;
}

PluginDocument ReadPluginDocument(const std::string& bytes) {
    PluginDocument doc;
    doc.comments = ReadPluginComments(bytes);
    doc.title = ReadPluginValue(bytes, kPluginSection, "Title");
    doc.author = ReadPluginValue(bytes, kPluginSection, "Author");
    doc.registry = ReadPluginSection(bytes, kRegistrySection);
    doc.files = ReadPluginSection(bytes, kFilesSection);
    return doc;
}

std::string FormatPluginFile(const PluginDocument& doc) {
    std::string out;
    for (const std::string& line : doc.comments) out += (line.empty() ? ";" : "; " + line) + "\r\n";
    if (!doc.comments.empty()) out += "\r\n";
    out += std::string("[") + kPluginSection + "]\r\nTitle=" + doc.title +
           "\r\nAuthor=" + doc.author + "\r\n";
    auto section = [&](const char* name, const std::vector<std::string>& entries) {
        out += std::string("\r\n[") + name + "]\r\n";
        for (std::size_t i = 0; i < entries.size(); ++i)
            out += "Item" + std::to_string(i + 1) + "=" + entries[i] + "\r\n";
    };
    section(kRegistrySection, doc.registry);
    section(kFilesSection, doc.files);
    return out;
}

}  // namespace cindral::engine
