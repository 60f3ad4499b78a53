// The item queue: the rows a run walks in order (selected built-in items,
// selected plug-ins, enabled custom registry records, enabled custom folder
// records), and the plug-in file list found with them. A plain model; the
// main window and the command-line tool show it.
#pragma once

#include <string>
#include <vector>

#include "app/data_paths.h"
#include "platform/platform.h"

namespace cindral::app {

// Icon indexes of the queue's image set beyond the built-in category digits.
constexpr int kIconPlugin = 3;
constexpr int kIconInProgress = 4;
constexpr int kIconCustomRegistry = 9;
constexpr int kIconCustomFolder = 10;
constexpr int kIconDone = 11;

extern const char* const kStatusPending;

struct QueueRow {
    std::string caption;
    int icon = 0;
    std::string status;
};

struct ItemQueue {
    std::vector<QueueRow> rows;
    // Every plug-in file found by the last rebuild, selected or not, in
    // enumeration order; the runs walk it.
    std::vector<std::string> pluginFiles;
    // The titles of the custom registry rows and of the custom folder rows,
    // in row order. A run takes its custom rows from here rather than from
    // the files as they stand when it starts: the Erase Items dialog writes
    // every check mark and new record at once, before its OK rebuilds the
    // queue, so the files may then hold more or fewer checked records.
    std::vector<std::string> registryTitles;
    std::vector<std::string> folderTitles;
};

// Rebuilds the queue from the stored selection and the custom lists. Writes
// "1" into "SelItems.dat" for every selected built-in item and plug-in.
ItemQueue RebuildItemQueue(platform::Platform& platform, const DataPaths& paths);

// 0 for the first image set (an NT-family system at least 5.1 by the rule
// "major at least 5 and minor at least 1"), 1 otherwise.
int ChooseImageSet(const platform::SystemVersion& version);

}  // namespace cindral::app
