#include "engine/path_macros.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include "platform/shell_folders.h"

namespace cindral::engine {

std::size_t ExpandedPath::findSyntax(char c, std::size_t from) const {
    for (std::size_t i = from; i < text.size(); ++i)
        if (syntaxAt(i, c)) return i;
    return std::string::npos;
}

std::size_t ExpandedPath::rfindSyntax(char c) const {
    for (std::size_t i = text.size(); i-- > 0;)
        if (syntaxAt(i, c)) return i;
    return std::string::npos;
}

void ExpandedPath::erase(std::size_t at) {
    text.erase(at, 1);
    inserted.erase(inserted.begin() + static_cast<std::ptrdiff_t>(at));
}

namespace {

// Replaces `macro` with `folder` in the template's own text, one pass from
// left to right; the folder's characters are marked inserted.
ExpandedPath replaceMacro(const ExpandedPath& in, const std::string& macro,
                          const std::string& folder) {
    ExpandedPath out;
    std::size_t i = 0;
    while (i < in.text.size()) {
        bool hit = in.text.compare(i, macro.size(), macro) == 0;
        for (std::size_t k = 0; hit && k < macro.size(); ++k) hit = !in.inserted[i + k];
        if (hit) {
            out.text += folder;
            out.inserted.insert(out.inserted.end(), folder.size(), true);
            i += macro.size();
        } else {
            out.text += in.text[i];
            out.inserted.push_back(in.inserted[i]);
            ++i;
        }
    }
    return out;
}

enum class Pairs { OwnOnly, AnyOwn };

// Collapses every non-overlapping `cc` to one `c`, one pass from left to
// right: with OwnOnly where both characters are the template's own, with
// AnyOwn where at least one is.
ExpandedPath collapsePairs(const ExpandedPath& in, char c, Pairs which) {
    ExpandedPath out;
    for (std::size_t i = 0; i < in.text.size(); ++i) {
        out.text += in.text[i];
        out.inserted.push_back(in.inserted[i]);
        if (in.text[i] != c || i + 1 == in.text.size() || in.text[i + 1] != c) continue;
        const bool ownFirst = !in.inserted[i], ownSecond = !in.inserted[i + 1];
        if (which == Pairs::OwnOnly ? ownFirst && ownSecond : ownFirst || ownSecond) ++i;
    }
    return out;
}

}  // namespace

std::string PathMacroFolder(platform::Platform& p, std::size_t index) {
    auto special = [&](int csidl) { return p.shellFolders->specialFolder(csidl); };
    switch (index) {
        case 0:
            return special(platform::kCsidlAppData);
        case 1: {
            std::string w = p.files->windowsFolder();
            if (!w.empty() && w.back() != '\\') w += '\\';
            return w;
        }
        case 2:
            return special(platform::kCsidlCookies);
        case 3:
            return special(platform::kCsidlHistory);
        case 4:
            return special(platform::kCsidlInternetCache);
        case 5:
            return p.files->tempPath();
        case 6:
            return special(platform::kCsidlRecent);
        case 7:
            return special(platform::kCsidlLocalAppData);
        default:
            return std::string();
    }
}

ExpandedPath ExpandPathTemplate(platform::Platform& p, const std::string& pathTemplate) {
    ExpandedPath t;
    t.text = p.system->upperCase(pathTemplate);
    t.inserted.assign(t.text.size(), false);

    // The folder texts keep their own case. The order is fixed; a folder
    // whose name holds the text of a later macro keeps that text as it is.
    for (std::size_t i = 0; i < std::size(kPathMacros); ++i)
        t = replaceMacro(t, kPathMacros[i], PathMacroFolder(p, i));

    // A folder on a network share ("\\server\share\...", a redirected
    // profile folder) keeps the "\\" it starts with, or it would become a
    // relative path that is never walked.
    t = collapsePairs(t, '\\', Pairs::AnyOwn);
    t = collapsePairs(t, '.', Pairs::OwnOnly);
    t = collapsePairs(t, '*', Pairs::OwnOnly);
    if (!t.text.empty() && t.syntaxAt(0, '\\')) t.erase(0);
    return t;
}

std::string ExpandPathMacros(platform::Platform& p, const std::string& pathTemplate) {
    return ExpandPathTemplate(p, pathTemplate).text;
}

std::string TrimBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

}  // namespace cindral::engine
