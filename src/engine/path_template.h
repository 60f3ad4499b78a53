// Path templates ("%APP_DATA%\Mozilla\Profiles\Default\&Cache\*?") and the
// drive scan: both drive folder walks whose entries go to the file remover.
#pragma once

#include <string>
#include <vector>

#include "engine/engine_context.h"

namespace cindral::engine {

// Expands the macros, takes the first "?" as the recursion marker (removed),
// resolves an "&name" part with the folder finder (the first entry of that
// name below the path before the "&", breadth first), then walks the folder
// with the mask after the last "\" and hands every entry to HandleFoundFile.
// A template that expands to a relative path is not walked, nor one whose
// folder is protected (IsProtectedFolder) when it asks for subfolders: that
// logs "Protected folder: " + the folder + " <SKIPPED>".
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
