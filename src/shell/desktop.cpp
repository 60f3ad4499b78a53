#include "shell/desktop.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/files.h"

namespace cindral::shell {

const char* const kNoHelpFileText = "The Cindral Help File does not exist.";
const char* const kNoPluginEditorText = "The Plug-In Editor does not exist.";

namespace {

class SystemDesktop : public Desktop {
public:
    bool open(HWND owner, const std::string& verb, const std::string& file,
              const std::string& parameters) override {
        HINSTANCE r = ShellExecuteA(owner, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                    parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                                    SW_SHOWNORMAL);
        return reinterpret_cast<INT_PTR>(r) > 32;
    }
    int message(HWND owner, const std::string& text, UINT flags) override {
        return MessageBoxA(owner, text.c_str(), "Cindral", flags);
    }
    bool chooseFolder(HWND owner, const std::string& title, std::string& folder) override {
        BROWSEINFOA info{};
        info.hwndOwner = owner;
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
        if (!chosen) return false;
        char path[MAX_PATH] = "";
        const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
        CoTaskMemFree(chosen);
        if (ok) folder = path;
        return ok;
    }
};

}  // namespace

Desktop& systemDesktop() {
    static SystemDesktop desktop;
    return desktop;
}

void HelpCommand(Desktop& desktop, platform::Files& files, const std::string& home, HWND owner) {
    const std::string path = home + "help.chm";
    if (files.fileExists(path)) {
        desktop.open(owner, "open", path, "");
    } else {
        desktop.message(owner, kNoHelpFileText, MB_OK | MB_ICONEXCLAMATION);
    }
}

void ContextHelp(Desktop& desktop, platform::Files& files, const std::string& home,
                 const std::string& helpFile, const std::string& topic, HWND owner) {
    std::string suffix;
    if (!topic.empty()) suffix = "::/" + topic;
    if (files.fileExists(home + helpFile)) {
        desktop.open(owner, "open", "hh.exe", home + helpFile + suffix);
    } else {
        desktop.message(owner, kNoHelpFileText, MB_OK | MB_ICONEXCLAMATION);
    }
}

void PluginEditorCommand(Desktop& desktop, platform::Files& files, const std::string& home,
                         HWND owner) {
    const std::string path = home + "peditor.exe";
    if (files.fileExists(path)) {
        desktop.open(owner, "open", path, "");
    } else {
        desktop.message(owner, kNoPluginEditorText, MB_OK | MB_ICONEXCLAMATION);
    }
}

}  // namespace cindral::shell
