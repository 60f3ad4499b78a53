// Path templates ("%APP_DATA%\Mozilla\Profiles\Default\&Cache\*?") and the
// drive scan: both drive folder walks whose entries go to the file remover.
#pragma once

#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "engine/path_macros.h"

namespace cindral::engine {

// An expanded path template as CleanPathTemplate reads it.
struct PathTemplateParts {
    bool recursive = false;  // it held a "?", the recursion marker (removed)
    std::string mask;        // the text after the last "\"
    std::string root;        // without a finder part: the text before the last "\"
    bool hasFinder = false;  // an "&name" part: the folder is looked for
    std::string finderRoot;  // the text before the last "&"
    std::string finderName;  // after the first "&" up to the next "\"
};

// Splits a template whose macros are already expanded; "?" and "&" count
// only in the template's own text.
PathTemplateParts SplitPathTemplate(ExpandedPath expanded);

// Expands the macros, takes the first "?" as the recursion marker (removed),
// resolves an "&name" part with the folder finder (the first entry of that
// name below the path before the "&", breadth first), then walks the folder
// with the mask after the last "\" and hands every entry to HandleFoundFile.
// A template that expands to a relative path is not walked, nor one whose
// folder is protected (IsProtectedFolder) when it asks for subfolders or
// for every file in it ("*", "*.*"): that logs "Protected folder: " + the
// folder + " <SKIPPED>".
void CleanPathTemplate(EngineContext& ctx, const std::string& pathTemplate);

// The drive scan: every root of `fixedDrives` in order, with subfolders,
// entries matching one of `masks` going to HandleDriveScanFile. An empty list
// logs "Mask list is empty. <SKIPPED>"; an invalid mask is logged and left out.
void RunDriveScan(EngineContext& ctx, const std::vector<std::string>& masks,
                  const std::vector<std::string>& fixedDrives);

// True for "X:", "X:\..." and "\\server\...": paths that do not depend on a
// current drive or folder.
bool IsAbsoluteWindowsPath(const std::string& path);

}  // namespace cindral::engine
