// Whole runs through the command-line front end, in a sandbox: a home folder
// with data files and plug-ins, a registry state and a tree of files.
#include "cli/run_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/run_test_support.h"
#include "engine/engine_context.h"
#include "engine/engine_test_support.h"

namespace cindral::cli {
namespace {

using Snapshot = std::map<std::string, std::string>;

// Deletion of one file fails, as for a file another program holds open.
class LockedFile : public engine::test::FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    std::string locked;
    bool deleteFile(const std::string& p) override {
        if (!locked.empty() && p == locked) return false;
        return inner_.deleteFile(p);
    }
};

class SandboxNative : public platform::NativePlatform {
public:
    explicit SandboxNative(platform::Platform& p) : p_(p) {}
    platform::Platform& platform() override { return p_; }

private:
    platform::Platform& p_;
};

class CliRun : public test::HomeFixture {
protected:
    CliRun() : files_(*box_.platform().files) {
        platform_.files = &files_;
        options_.home = home_;
        options_.settingsKeyPath = settingsKey_;
    }

    // A home folder and a world with something for every kind of row.
    void populate() {
        select({9, 23}, {{"Unused Tool", "0"}});
        setRegText("Reg\\A", "one", "first");
        setRegText("Reg\\A", "two", "second");
        setRegText("Plug", "recent", "plugged");
        file("World\\junk\\a.tmp", "aaaa");
        file("World\\junk\\deep\\b.tmp", "bbbbbbbb");
        file("World\\junk\\deep\\README", "r");
        file("World\\plug\\x.log", "xx");
        file("World\\precious\\keep.doc", "keep me");
        write(home_ + "Plug-Ins\\tool.cnp", "[Plugin]\r\n[Registry]\r\nItem1=" + regKey("Plug") +
                                                ",OnlyValues,none\r\n[Files]\r\nItem1=" +
                                                box_.root() + "World\\plug\\*.log\r\n");
        write(home_ + "Plug-Ins\\unused.cnp", "[Plugin]\r\nTitle=Unused Tool\r\n[Files]\r\nItem1=" +
                                                  box_.root() + "World\\precious\\*?\r\n");
        write(paths_.customRegistry, "Registry Junk;" + regKey("Reg\\A") + ";0;none;1;\r\n");
        write(paths_.customFolder, "Junk Tree;  " + box_.root() + "World\\junk ;1;;1;\r\n" +
                                       "Off;" + box_.root() + "World\\precious;1;;0;\r\n");
    }

    void snapshotFolder(const std::string& folder, Snapshot& out) {
        std::vector<platform::DirEntry> entries;
        if (!box_.platform().files->listFolder(folder, entries)) return;
        for (const auto& e : entries) {
            const std::string path = folder + e.name;
            if (e.attributes & platform::kAttrDirectory) {
                out[path + "\\"] = "<dir>";
                snapshotFolder(path + "\\", out);
            } else {
                std::string bytes;
                box_.platform().files->readFile(path, bytes);
                out[path] = bytes;
            }
        }
    }
    void snapshotKey(const std::string& path, Snapshot& out) {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder key(reg, platform::openKeyForReading(reg, platform::RootKey::CurrentUser, path));
        if (!key) return;
        std::vector<std::string> names;
        reg.valueNames(key.get(), names);
        for (const auto& n : names) {
            platform::RegValue v;
            reg.queryValue(key.get(), n, v);
            out["HKCU\\" + path + "|" + n] = std::to_string(v.type) + ":" + v.data;
        }
        std::vector<std::string> subkeys;
        reg.subkeyNames(key.get(), subkeys);
        for (const auto& s : subkeys) snapshotKey(path + "\\" + s, out);
    }
    // Every file below the sandbox root and every key and value below the
    // scratch key (settings included).
    Snapshot snapshot() {
        Snapshot s;
        snapshotFolder(box_.root(), s);
        snapshotKey(box_.registryScratchPath(), s);
        return s;
    }

    int runQueue(app::RunMode mode, const std::atomic<bool>* interrupt = nullptr) {
        out_.str("");
        err_.str("");
        options_.mode = mode;
        return RunQueue(platform_, fakes_.services, options_, out_, err_, interrupt);
    }

    std::vector<std::string> outLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out_.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    LockedFile files_;
    RunCommandOptions options_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(CliRun, ATestRunChangesNothingAtAll) {
    populate();
    const Snapshot before = snapshot();
    EXPECT_EQ(runQueue(app::RunMode::Test), kExitOk) << err_.str();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(outLines().back(),
              "Found Evidence in Registry: 3, Files: 4, Used Hard Drive Space: 0.00 MB");
}

TEST_F(CliRun, TheCleanRunRemovesExactlyWhatTheTestRunCounted) {
    populate();
    const Snapshot before = snapshot();
    ASSERT_EQ(runQueue(app::RunMode::Test), kExitOk);
    std::vector<std::string> promised;
    for (const auto& line : outLines())
        if (line.rfind("Test Mode: Removing File: ", 0) == 0 ||
            line.rfind("Test Mode: Cleaning Registry Value: ", 0) == 0)
            promised.push_back(line.substr(11));

    ASSERT_EQ(runQueue(app::RunMode::Clean), kExitOk) << err_.str();
    std::vector<std::string> done;
    for (const auto& line : outLines())
        if (line.rfind("Removing File: ", 0) == 0 || line.rfind("Cleaning Registry Value: ", 0) == 0)
            done.push_back(line);
    EXPECT_EQ(done, promised);
    EXPECT_EQ(outLines().back(),
              "Cleaned Evidence in Registry: 3, Files: 4, Released Hard Drive Space: 0.00 MB");

    // What is gone is exactly the four files and three values; the rest
    // of the world is as it was (the settings key gained nothing either,
    // since "StoreDate" is off).
    Snapshot after = snapshot();
    Snapshot expected = before;
    for (const char* gone : {"World\\junk\\a.tmp", "World\\junk\\deep\\b.tmp",
                             "World\\junk\\deep\\README", "World\\plug\\x.log"})
        ASSERT_EQ(expected.erase(box_.root() + gone), 1u) << gone;
    for (const char* gone : {"Reg\\A|one", "Reg\\A|two", "Plug|recent"})
        ASSERT_EQ(expected.erase("HKCU\\" + box_.registryScratchPath() + "\\" + gone), 1u) << gone;
    EXPECT_EQ(after, expected);
}

TEST_F(CliRun, LogFileAndLastDateFollowTheCompletion) {
    populate();
    write(paths_.logFile, "old 1\r\nold 2\r\nold 3\r\n");
    ASSERT_TRUE(store_.writeNumber(settings::kStoreLog, 1));
    ASSERT_TRUE(store_.writeNumber(settings::kStoreDate, 1));
    ASSERT_EQ(runQueue(app::RunMode::Clean), kExitOk);
    const auto printed = outLines();

    std::string bytes;
    ASSERT_TRUE(platform_.files->readFile(paths_.logFile, bytes));
    std::vector<std::string> expected = {"old 1", "old 2", "old 3"};
    expected.insert(expected.end(), printed.begin(), printed.end() - 1);  // all but the summary
    expected.push_back(std::string(64, '-'));
    expected.push_back(printed.back());
    expected.push_back(std::string(64, '-'));
    expected.push_back("");
    std::string text;
    for (const auto& line : expected) text += line + "\r\n";
    EXPECT_EQ(bytes, text);

    // "LastDate" is the run's own start, as its header shows it.
    const std::string header = printed.front();
    const std::string stamp = header.substr(std::string("Cindral v.3.0 has started work: ").size());
    EXPECT_EQ(store_.readText(settings::kLastDate, ""),
              stamp.substr(0, 10) + " at " + stamp.substr(11));
}

TEST_F(CliRun, ATestRunNeverWritesLastDate) {
    populate();
    ASSERT_TRUE(store_.writeNumber(settings::kStoreDate, 1));
    ASSERT_EQ(runQueue(app::RunMode::Test), kExitOk);
    EXPECT_FALSE(store_.valueExists(settings::kLastDate));
}

TEST_F(CliRun, AFileThatCannotBeRemovedMakesTheExitStatusOne) {
    populate();
    files_.locked = platform_.system->upperCase(box_.root() + "World\\junk\\") + "a.tmp";
    EXPECT_EQ(runQueue(app::RunMode::Clean), kExitFailure);
    bool sawUsed = false;
    for (const auto& line : outLines()) sawUsed = sawUsed || line == "Removing File: " + files_.locked + " <USED>";
    EXPECT_TRUE(sawUsed);
    EXPECT_TRUE(exists("World\\junk\\a.tmp"));
    EXPECT_EQ(outLines().back(),
              "Cleaned Evidence in Registry: 3, Files: 3, Released Hard Drive Space: 0.00 MB");
}

TEST_F(CliRun, AnInterruptedCleanRunErasesNothingFurtherAndDoesNotComplete) {
    populate();
    ASSERT_TRUE(store_.writeNumber(settings::kStoreLog, 1));
    ASSERT_TRUE(store_.writeNumber(settings::kStoreDate, 1));
    const Snapshot before = snapshot();
    std::atomic<bool> interrupt{true};
    EXPECT_EQ(runQueue(app::RunMode::Clean, &interrupt), kExitInterrupted);
    Snapshot after = snapshot();
    EXPECT_EQ(after, before);  // no deletion, no log file, no "LastDate"
    for (const auto& line : outLines()) EXPECT_NE(line.rfind("Cleaned Evidence", 0), 0u);
}

TEST_F(CliRun, AnEmptyQueuePrintsTheTwoWarnings) {
    select({});
    EXPECT_EQ(runQueue(app::RunMode::Clean), kExitOk);
    EXPECT_EQ(outLines(), (std::vector<std::string>{"WARNING: No items are selected.",
                                                     "Process has been terminated."}));
}

TEST_F(CliRun, JsonGivesPerItemFiguresAndTotalsInsteadOfLines) {
    populate();
    options_.json = true;
    ASSERT_EQ(runQueue(app::RunMode::Test), kExitOk);
    const std::string json = out_.str();
    EXPECT_EQ(json.find("Test Mode:"), std::string::npos);
    EXPECT_NE(json.find("{\"caption\": \"Windows Run History\", \"files\": 0"), std::string::npos);
    EXPECT_NE(json.find("{\"caption\": \"tool\", \"files\": 1, \"bytes\": 2, \"registryFound\": 1, "
                        "\"registryDeleted\": 0, \"notRemoved\": 0}"),
              std::string::npos);
    EXPECT_NE(json.find("{\"caption\": \"Junk Tree\", \"files\": 3, \"bytes\": 13"), std::string::npos);
    EXPECT_NE(json.find("\"totals\": {\"registryFound\": 3, \"registryDeleted\": 0, \"files\": 4, "
                        "\"bytes\": 15, \"notRemoved\": 0}"),
              std::string::npos);
    EXPECT_NE(json.find("\"summary\": \"Found Evidence in Registry: 3, Files: 4, Used Hard Drive "
                        "Space: 0.00 MB\""),
              std::string::npos);
}

TEST_F(CliRun, OptionsMayStandBeforeOrAfterTheCommand) {
    populate();
    CliApp app([this](const platform::NativeOptions&) {
        return std::make_unique<SandboxNative>(platform_);
    });
    RunCommandEnvironment env;
    env.services = [this] { return std::make_unique<test::FakeNativeServices>(fakes_); };
    registerRunCommands(app, env);

    std::ostringstream a, b, err;
    EXPECT_EQ(app.run({"queue", "--home", home_}, a, err), kExitOk);
    EXPECT_EQ(a.str(), "Windows Run History\nAOL History Files\ntool\nRegistry Junk\nJunk Tree\n");
    EXPECT_EQ(app.run({"--home=" + home_, "queue"}, b, err), kExitOk);
    EXPECT_EQ(a.str(), b.str());

    std::ostringstream out;
    EXPECT_EQ(app.run({"test", "--home", box_.root() + "Nowhere"}, out, err), kExitUsage);
    EXPECT_NE(err.str().find("does not exist"), std::string::npos);
    EXPECT_EQ(app.run({"clean", "now", "--home", home_}, out, err), kExitUsage);
    EXPECT_EQ(app.run({"queue", "--json", "--home", home_}, out, err), kExitUsage);
    EXPECT_TRUE(exists("World\\junk\\a.tmp"));
}

TEST(JsonString, EscapesControlsAndKeepsOnlyWellFormedUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c\r\n\t\x01"), "\"a\\\"b\\\\c\\r\\n\\t\\u0001\"");
    EXPECT_EQ(JsonString("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(JsonString("caf\xe9"), "\"caf\\u00e9\"");
    EXPECT_EQ(JsonString("\xc3"), "\"\\u00c3\"");
}

}  // namespace
}  // namespace cindral::cli
