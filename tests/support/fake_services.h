// The run services (URL cache, recycle bin, clipboard, browser windows) as
// fakes that record what a run asked of them, and the bundles a front end
// gets from the build's backend, handing out services the test chose.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/native.h"
#include "platform/run_services.h"

namespace cindral::test {

class FakeRecycleBin : public platform::RecycleBin {
public:
    bool emptyOk = true;
    platform::RecycleBinContents contents;
    int emptied = 0;
    bool query(platform::RecycleBinContents& out) override {
        out = contents;
        return true;
    }
    bool empty() override {
        ++emptied;
        if (emptyOk) contents = {};
        return emptyOk;
    }
};

// Each service's calls in order: "cache", "history", "clipboard", "browsers".
// `open` browser windows; closing asks them all, and they all go.
struct FakeServices : platform::UrlCache, platform::Clipboard, platform::BrowserWindows {
    std::vector<std::string> calls;
    int open = 0;
    std::vector<bool> shown;  // each showAll's argument
    FakeRecycleBin bin;
    platform::RunServices services{this, &bin, this, this};

    int count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) n += c == call;
        return n;
    }
    void clearCache() override { calls.push_back("cache"); }
    bool clearHistory() override {
        calls.push_back("history");
        return true;
    }
    bool empty() override {
        calls.push_back("clipboard");
        return true;
    }
    int closeAll() override {
        calls.push_back("browsers");
        return std::exchange(open, 0);
    }
    bool anyOpen() override { return open > 0; }
    void showAll(bool show) override { shown.push_back(show); }
};

class FakeNativePlatform : public platform::NativePlatform {
public:
    explicit FakeNativePlatform(const platform::Platform& services = {}) : services_(services) {}
    platform::Platform& platform() override { return services_; }

private:
    platform::Platform services_;
};

class FakeNativeServices : public platform::NativeRunServices {
public:
    explicit FakeNativeServices(FakeServices& fakes) : fakes_(fakes) {}
    platform::RunServices& services() override { return fakes_.services; }

private:
    FakeServices& fakes_;
};

}  // namespace cindral::test
