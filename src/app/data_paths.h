// Where the program's files are, relative to the home folder: computed once
// at start-up and used by every reader and writer.
#pragma once

#include <string>

namespace cindral::app {

struct DataPaths {
    std::string home;          // with its trailing "\"
    std::string dataFolder;    // home + "Data\"
    std::string pluginFolder;  // home + "Plug-Ins\" (listed and stored as "PluginFolder")
    std::string selItems;      // the seven data files, in the start-up order
    std::string customFolder;
    std::string customRegistry;
    std::string driveScan;
    std::string cookieKept;
    std::string addressesKept;
    std::string openSaveKept;
    std::string logFile;  // home + "logs.txt"

    static DataPaths forHome(const std::string& home) {
        DataPaths p;
        p.home = home;
        p.dataFolder = home + "Data\\";
        p.pluginFolder = home + "Plug-Ins\\";
        p.selItems = p.dataFolder + "SelItems.dat";
        p.customFolder = p.dataFolder + "CustomFolder.dat";
        p.customRegistry = p.dataFolder + "CustomRegistry.dat";
        p.driveScan = p.dataFolder + "DriveScan.dat";
        p.cookieKept = p.dataFolder + "CookieKept.dat";
        p.addressesKept = p.dataFolder + "AddressesKept.dat";
        p.openSaveKept = p.dataFolder + "OpenSaveKept.dat";
        p.logFile = home + "logs.txt";
        return p;
    }
};

}  // namespace cindral::app
