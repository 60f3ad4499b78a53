// A plug-in file as text: what the engine reads from its bytes, and the bytes
// written for a plug-in. The checker, the importer and the plug-in editor all
// go through these, so they read a file exactly as a run does.
#pragma once

#include <string>
#include <vector>

namespace cindral::engine {

inline constexpr char kPluginSection[] = "Plugin";
inline constexpr char kRegistrySection[] = "Registry";
inline constexpr char kFilesSection[] = "Files";

struct PluginDocument {
    std::string title;                  // "Title" of "Plugin"
    std::string author;                 // "Author" of "Plugin"
    std::vector<std::string> registry;  // "Item1" ... of "Registry", as a run reads them
    std::vector<std::string> files;     // "Item1" ... of "Files", as a run reads them
    // Lines written as a "; " comment block before the sections; the reader
    // sees them as keys of no section, so no run ever reads them.
    std::vector<std::string> comments;

    bool operator==(const PluginDocument& o) const {
        return title == o.title && author == o.author && registry == o.registry &&
               files == o.files && comments == o.comments;
    }
    bool operator!=(const PluginDocument& o) const { return !(*this == o); }
};

// The value of one key as a run reads it (profile rules, 2047 characters).
std::string ReadPluginValue(const std::string& bytes, const std::string& section,
                            const std::string& key);

// The entries of one section as RunPlugin reads them: from "Item1" up to the
// first empty or missing number, at most kMaxPluginItems.
std::vector<std::string> ReadPluginSection(const std::string& bytes, const std::string& section);

// The comment block as FormatPluginFile writes it back: every line before
// the first section without its ";" and one blank after it, then every ";"
// line found inside the sections (a rewritten file keeps no comment in
// place, but loses none). Blank lines at either end of the block are left
// out; a line before the sections that is no comment (a run never reads it)
// is kept as one.
std::vector<std::string> ReadPluginComments(const std::string& bytes);

// Title, author, both sections and the comments.
PluginDocument ReadPluginDocument(const std::string& bytes);

// The bytes of a plug-in file with CR LF line ends: the comment block, then
// the three sections with the entries numbered from 1.
std::string FormatPluginFile(const PluginDocument& doc);

}  // namespace cindral::engine
