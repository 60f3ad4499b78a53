// Plug-in files: the registry entries and path templates of one further
// application, in sections "Registry" and "Files" as "Item1" ... "Item255".
#pragma once

#include <string>

#include "engine/engine_context.h"

namespace cindral::engine {

// Item numbers run from 1 up to this; the first empty or missing value ends
// a section.
constexpr int kMaxPluginItems = 255;

// Runs every registry entry of the plug-in, then every path template, with
// no keeper list. A file that is not a profile file does nothing. Stops
// between entries when the run is stopped.
void RunPlugin(EngineContext& ctx, const std::string& pluginPath);

// The same for a plug-in given as the bytes of its file (one not saved yet),
// read by the same profile rules.
void RunPluginText(EngineContext& ctx, const std::string& bytes);

}  // namespace cindral::engine
