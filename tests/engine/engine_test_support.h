// The engine tests' fixture: a sandbox, a run state, a view that records the
// lines and an engine context over them.
#pragma once

#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "support/fixtures.h"

namespace cindral::engine::test {

using cindral::test::Lines;
using cindral::test::sorted;

class RecordingView : public LogView {
public:
    Lines lines;
    void addLine(const std::string& text) override { lines.push_back(text); }
    void replaceLastLine(const std::string& text) override {
        if (lines.empty()) lines.emplace_back();
        lines.back() = text;
    }
    void deleteLastLine() override {
        if (!lines.empty()) lines.pop_back();
    }
};

class EngineTest : public cindral::test::SandboxTest {
protected:
    Lines sortedLines() const { return sorted(view_.lines); }

    WipeSettings wipe_;
    RunState run_;
    RecordingView view_;
    EngineContext ctx_{platform_, run_, view_, [this] { return wipe_; }};
};

}  // namespace cindral::engine::test
