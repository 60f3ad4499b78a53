// What the fuzz targets share: the input cut into parts, and a Linux
// platform over a private temporary folder for the targets that drive the
// engine. Drive C: is that folder and no other drive is mapped; the engine
// only ever runs test runs here, so nothing is deleted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "engine/log_view.h"
#include "engine/run_state.h"
#include "platform/posix/posix_platform.h"

namespace cindral::fuzz {

// The input split at each "\n" into at most `count` parts; the last part
// keeps the rest, line breaks included.
std::vector<std::string> splitInput(const std::uint8_t* data, std::size_t size, std::size_t count);

// A host folder made once per process and removed at exit.
const std::string& scratchFolder();

// A platform over scratchFolder(); `registryText`, when given, is the
// REGEDIT4 store it starts with.
std::unique_ptr<platform::PosixPlatform> makePlatform(const std::string* registryText = nullptr);

// Host path of a file in the scratch folder, and its Windows name.
std::string hostPath(const std::string& name);
std::string windowsPath(const std::string& name);
bool writeScratchFile(const std::string& name, const std::string& bytes);

// A log view that keeps nothing.
class NullView : public engine::LogView {
public:
    void addLine(const std::string&) override {}
    void replaceLastLine(const std::string&) override {}
    void deleteLastLine() override {}
};

// A test run (Erase off) over a platform: the engine lists and logs but
// never deletes.
struct TestRun {
    explicit TestRun(platform::Platform& p) : ctx{p, run, view, {}} { run.Erase = false; }
    engine::RunState run;
    NullView view;
    engine::EngineContext ctx;
};

}  // namespace cindral::fuzz
