#include "engine/path_macros.h"

#include <utility>

#include "platform/shell_folders.h"

namespace cindral::engine {

std::string ReplaceAllOnePass(const std::string& text, const std::string& from,
                              const std::string& to) {
    if (from.empty()) return text;
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

std::string ExpandPathMacros(platform::Platform& p, const std::string& pathTemplate) {
    std::string t = p.system->upperCase(pathTemplate);

    auto special = [&](int csidl) { return p.shellFolders->specialFolder(csidl); };
    // The folder texts keep their own case; the order is fixed because an
    // inserted folder may itself contain the text of a later macro.
    const std::pair<const char*, std::string> macros[] = {
        {"%APP_DATA%", special(platform::kCsidlAppData)},
        {"%WINDOWS%",
         [&] {
             std::string w = p.files->windowsFolder();
             if (!w.empty() && w.back() != '\\') w += '\\';
             return w;
         }()},
        {"%COOKIE%", special(platform::kCsidlCookies)},
        {"%HISTORY%", special(platform::kCsidlHistory)},
        {"%CACHE%", special(platform::kCsidlInternetCache)},
        {"%TEMP%", p.files->tempPath()},
        {"%RECENT%", special(platform::kCsidlRecent)},
    };
    for (const auto& [macro, folder] : macros) t = ReplaceAllOnePass(t, macro, folder);

    t = ReplaceAllOnePass(t, "\\\\", "\\");
    t = ReplaceAllOnePass(t, "..", ".");
    t = ReplaceAllOnePass(t, "**", "*");
    if (!t.empty() && t[0] == '\\') t.erase(0, 1);
    return t;
}

std::string TrimBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

}  // namespace cindral::engine
