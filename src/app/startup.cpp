#include "app/startup.h"

#include <cstdio>

#include "app/home_folder.h"

namespace cindral::app {

namespace {

std::string twoDigits(unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u", value);
    return buf;
}

bool equalsNoCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return i == a.size() && b[i] == '\0';
}

}  // namespace

std::string FormatRunDate(const platform::SystemTime& t) {
    char year[16];
    std::snprintf(year, sizeof year, "%04u", unsigned(t.year));
    return twoDigits(t.month) + "." + twoDigits(t.day) + "." + year;
}

std::string FormatRunTime(const platform::SystemTime& t) {
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::string OsName(const platform::SystemVersion& v) {
    switch (v.platformId) {
        case platform::kPlatformWin32s:
            return "Windows 3.1";
        case platform::kPlatformWin9x:
            if (v.major == 4 && v.minor >= 90) return "Windows ME";
            if (v.major == 4 && v.minor >= 10) return "Windows 98";
            return "Windows 95";
        case platform::kPlatformNt:
            if (v.major == 5 && v.minor >= 1) return "Windows XP";
            if (v.major == 5) return "Windows 2000";
            return "Windows NT";
        default:
            return "Unknown Operating System";
    }
}

// Names the key the running instance registered: with nothing stored, the
// registration's default, or the user would be told a key that does nothing.
std::string AlreadyRunningText(const settings::Settings& settings) {
    return "Cindral already running, please check the\r\n"
           "System Tray on the right of the TaskBar (near the clock)\r\n"
           "for the Cindral icon.\r\n\r\n"
           "If you are running Invisible Mode, press HotKey again.\r\n"
           "Your Invisible Mode HotKey is: " +
           settings.read(settings::kHotKey2);
}

StartupDecisions DecideStartup(const settings::Settings& settings,
                               const std::vector<std::string>& params,
                               bool invisibleHotkeyRegistered) {
    StartupDecisions d;
    if (settings.isOn(settings::kInvisibleMode) && invisibleHotkeyRegistered &&
        !settings.read(settings::kHotKey2).empty()) {
        // Hidden only while a hotkey can bring the window back.
        d.showTrayIcon = false;
        d.showMainWindow = false;
    }
    if (!params.empty() && equalsNoCase(params[0], "-m")) d.showMainWindow = false;

    for (std::size_t i = 0; i < params.size() && i < 2; ++i)
        if (equalsNoCase(params[i], "-s")) d.startedWithSystem = true;
    d.consulted = d.startedWithSystem ? RunSwitch::EraseWinStart : RunSwitch::EraseStart;
    d.startCleaningRun =
        settings.isOn(d.startedWithSystem ? settings::kEraseWinStart : settings::kEraseStart);

    if (settings.isOn(settings::kStoreDate)) {
        const std::string last = settings.read(settings::kLastDate);
        if (!last.empty()) {
            d.setStatusLabel = true;
            d.statusLabel = "Last Erasing Date " + last;
        }
    }
    return d;
}

StartupState PrepareStartup(platform::Platform& platform, settings::Settings& settings,
                            LogBook& log) {
    StartupState s;
    const std::string home = HomeFolder(*platform.system);
    settings.write(settings::kHomeFolder, home);
    settings.write(settings::kPluginFolder, home + "Plug-Ins\\");

    const platform::SystemTime now = platform.system->localTime();
    s.runDate = FormatRunDate(now);
    s.runTime = FormatRunTime(now);
    log.addLine("Cindral v3.0 initialized: " + s.runDate + " " + s.runTime + " <OK>");

    CreateHomeFolders(*platform.files, home);
    s.paths = DataPaths::forHome(home);
    const platform::SystemVersion version = platform.system->version();
    s.imageSet = ChooseImageSet(version);
    log.addLine("Detecting System Directories... <OK>");
    log.addLine("Performing self-tests... <OK>");
    log.addLine("OS Detected: " + OsName(version));
    s.queue = RebuildItemQueue(platform, s.paths);
    return s;
}

void FinishStartup(LogBook& log) {
    log.setRecording(true);
    log.addLine("Ready.");
}

}  // namespace cindral::app
