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

PluginDocument ReadPluginDocument(const std::string& bytes) {
    PluginDocument doc;
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
