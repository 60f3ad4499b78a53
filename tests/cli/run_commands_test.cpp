// Whole runs through the command-line front end, in a sandbox: a home folder
// with data files and plug-ins, a registry state and a tree of files.
#include "cli/run_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>

#include "support/fixtures.h"

namespace cindral::cli {
namespace {

using Snapshot = std::map<std::string, std::string>;
using Lines = std::vector<std::string>;

// A home folder and a world with something for every kind of row: four
// files and three registry values to find, and files no row may touch.
class CliRun : public test::HomeTest {
protected:
    CliRun() {
        options_.home = home_;
        options_.settingsKeyPath = settingsKey_;
        select({9, 23}, {{"Unused Tool", "0"}});
        setRegText(scratch("Reg\\A"), "one", "first");
        setRegText(scratch("Reg\\A"), "two", "second");
        setRegText(scratch("Plug"), "recent", "plugged");
        for (const char* f : {"junk\\a.tmp", "junk\\deep\\b.tmp", "junk\\deep\\README",
                              "plug\\x.log", "precious\\keep.doc"})
            file(std::string("World\\") + f, f);
        const std::string world = box_.root() + "World\\";
        write(paths_.pluginFolder + "tool.cnp",
              "[Plugin]\r\n[Registry]\r\nItem1=" + regKey("Plug") +
                  ",OnlyValues,none\r\n[Files]\r\nItem1=" + world + "plug\\*.log\r\n");
        write(paths_.pluginFolder + "unused.cnp",
              "[Plugin]\r\nTitle=Unused Tool\r\n[Files]\r\nItem1=" + world + "precious\\*?\r\n");
        write(paths_.customRegistry, "Registry Junk;" + regKey("Reg\\A") + ";0;none;1;\r\n");
        write(paths_.customFolder,
              "Junk Tree;  " + world + "junk ;1;;1;\r\nOff;" + world + "precious;1;;0;\r\n");
    }

    // Every file and folder below the sandbox root and every key and value
    // below the scratch key (settings included).
    void snapshotFolder(const std::string& folder, Snapshot& out) {
        std::vector<platform::DirEntry> entries;
        box_.platform().files->listFolder(folder, entries);
        for (const auto& e : entries) {
            const std::string path = folder + e.name;
            if (e.attributes & platform::kAttrDirectory) {
                out[path + "\\"] = "<dir>";
                snapshotFolder(path + "\\", out);
            } else {
                box_.platform().files->readFile(path, out[path]);
            }
        }
    }
    void snapshotKey(const std::string& path, Snapshot& out) {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder key(
            reg, platform::openKeyForReading(reg, platform::RootKey::CurrentUser, path));
        if (!key) return;
        out["HKCU\\" + path + "\\"] = "<key>";
        for (const auto& n : regValues(path)) {
            platform::RegValue v;
            reg.queryValue(key.get(), n, v);
            out["HKCU\\" + path + "|" + n] = std::to_string(v.type) + ":" + v.data;
        }
        std::vector<std::string> subkeys;
        reg.subkeyNames(key.get(), subkeys);
        for (const auto& s : subkeys) snapshotKey(path + "\\" + s, out);
    }
    Snapshot snapshot() {
        Snapshot s;
        snapshotFolder(box_.root(), s);
        snapshotKey(box_.registryScratchPath(), s);
        return s;
    }

    int runQueue(engine::RunMode mode, const std::atomic<bool>* interrupt = nullptr) {
        out_.str("");
        err_.str("");
        options_.mode = mode;
        return RunQueue(platform_, fakes_.services, options_, out_, err_, interrupt);
    }
    Lines outLines() const {
        Lines lines;
        std::istringstream in(out_.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    RunCommandOptions options_;
    std::ostringstream out_, err_;
};

bool isRemoval(const std::string& line) {
    return line.rfind("Removing File: ", 0) == 0 || line.rfind("Cleaning Registry Value: ", 0) == 0;
}

TEST_F(CliRun, ATestRunChangesNothingAndTheCleanRunRemovesExactlyWhatItCounted) {
    write(paths_.logFile, "old\r\n");
    ASSERT_TRUE(store_.write(settings::kStoreDate, 1));
    Snapshot expected = snapshot();
    ASSERT_EQ(runQueue(engine::RunMode::Test), kExitOk) << err_.str();
    Lines promised, done;
    for (const auto& line : outLines())
        if (line.rfind("Test Mode: ", 0) == 0 && isRemoval(line.substr(11)))
            promised.push_back(line.substr(11));
    options_.settingsKeyPath = box_.registryScratchPath() + "\\Fresh\\";
    ASSERT_EQ(runQueue(engine::RunMode::Test), kExitOk);
    // Neither test run changed anything (no "tool=1" in the selection file, no
    // "LastDate"), and this one did not even create its settings key.
    EXPECT_EQ(snapshot(), expected);

    options_.settingsKeyPath = settingsKey_;
    ASSERT_TRUE(store_.write(settings::kStoreLog, 1));
    expected = snapshot();
    ASSERT_EQ(runQueue(engine::RunMode::Clean), kExitOk) << err_.str();
    const Lines printed = outLines();
    std::copy_if(printed.begin(), printed.end(), std::back_inserter(done), isRemoval);
    EXPECT_EQ(done, promised);

    // Gone are exactly the four files and three values. The log file gains
    // the printed lines with the summary between rules, and "LastDate" is
    // the run's start as its header shows it.
    for (const char* gone : {"World\\junk\\a.tmp", "World\\junk\\deep\\b.tmp",
                             "World\\junk\\deep\\README", "World\\plug\\x.log"})
        ASSERT_EQ(expected.erase(box_.root() + gone), 1u) << gone;
    for (const char* gone : {"Reg\\A|one", "Reg\\A|two", "Plug|recent"})
        ASSERT_EQ(expected.erase("HKCU\\" + box_.registryScratchPath() + "\\" + gone), 1u) << gone;
    std::string& log = expected[paths_.logFile];
    for (auto line = printed.begin(); line + 1 != printed.end(); ++line) log += *line + "\r\n";
    const std::string rule(64, '-');
    log += rule + "\r\n" + printed.back() + "\r\n" + rule + "\r\n\r\n";
    const std::string start = printed.front().substr(printed.front().size() - 19);
    expected["HKCU\\" + box_.registryScratchPath() + "\\Settings|LastDate"] =
        "1:" + start.substr(0, 10) + " at " + start.substr(11) + std::string(1, '\0');
    EXPECT_EQ(snapshot(), expected);
}

TEST_F(CliRun, AnInterruptedRunExitsWith130AndALogFileOrLastDateNotStoredIsNamedWith1) {
    ASSERT_TRUE(store_.write(settings::kStoreLog, 1));
    ASSERT_TRUE(store_.write(settings::kStoreDate, 1));
    // Stopped before its first row: nothing erased, no completion (it would
    // save the log file and store "LastDate").
    const Snapshot before = snapshot();
    std::atomic<bool> interrupt{true};
    EXPECT_EQ(runQueue(engine::RunMode::Clean, &interrupt), 130);  // as the shell reports SIGINT
    EXPECT_EQ(snapshot(), before);

    const std::string prefix = std::string(kProgramName) + ": ";
    const struct {
        bool logFails, dateFails;
        std::string err;
    } rows[] = {
        {true, false, prefix + "the log file " + paths_.logFile + " could not be saved\n"},
        {false, true, prefix + "the date of the run could not be stored in LastDate\n"},
    };
    for (const auto& row : rows) {
        if (row.logFails) files_.failOn(test::FileOp::Write, paths_.logFile);
        registry_.fails = [&row](const test::RegCall& c) {
            return row.dateFails && c.op == test::RegOp::Set && c.name == "LastDate";
        };
        EXPECT_EQ(runQueue(engine::RunMode::Clean), kExitFailure) << row.err;
        EXPECT_EQ(err_.str(), row.err);
        files_.fails = nullptr;
    }
}

TEST_F(CliRun, JsonGivesPerItemFiguresTotalsAndEachFileLeftBehindInsteadOfLines) {
    options_.json = true;
    ASSERT_EQ(runQueue(engine::RunMode::Test), kExitOk);
    const std::string json = out_.str();
    EXPECT_EQ(json.find("Test Mode:"), std::string::npos);
    for (const char* part :
         {"{\n  \"mode\": \"test\",\n",
          "{\"caption\": \"tool\", \"files\": 1, \"bytes\": 10, \"registryFound\": 1, "
          "\"registryDeleted\": 0, \"notRemoved\": 0}",
          "\"totals\": {\"registryFound\": 3, \"registryDeleted\": 0, \"files\": 4, \"bytes\": 51, "
          "\"notRemoved\": 0}",
          "\"summary\": \"Found Evidence in Registry: 3, Files: 4, Used Hard Drive Space: "
          "0.00 MB\""})
        EXPECT_NE(json.find(part), std::string::npos) << part;

    // A file a cleaning run leaves behind is named with the system's reason.
    const std::string locked = platform_.system->upperCase(box_.root() + "World\\junk\\") + "a.tmp";
    ASSERT_TRUE(box_.setReadOnly(box_.root() + "World\\junk\\a.tmp", true));
    ASSERT_FALSE(files_.deleteFile(locked));
    const std::string reason = files_.lastErrorText();
    ASSERT_FALSE(reason.empty());
    options_.verbose = true;
    EXPECT_EQ(runQueue(engine::RunMode::Clean), kExitFailure);
    ASSERT_TRUE(box_.setReadOnly(box_.root() + "World\\junk\\a.tmp", false));
    EXPECT_NE(out_.str().find("{\"caption\": \"Junk Tree\", \"files\": 2, \"bytes\": 31, "
                              "\"registryFound\": 0, \"registryDeleted\": 0, \"notRemoved\": 1, "
                              "\"failures\": [{\"path\": " +
                              JsonString(locked) + ", \"reason\": " + JsonString(reason) + "}]}"),
              std::string::npos)
        << out_.str();
    EXPECT_EQ(err_.str(),
              std::string(kProgramName) + ": could not remove " + locked + ": " + reason + "\n");
}

TEST_F(CliRun, CommandsRefuseAMissingHomeAndAnEmptyQueueOnlyWarns) {
    CliApp app([this](const platform::NativeOptions&) {
        return std::make_unique<test::FakeNativePlatform>(platform_);
    });
    RunCommandEnvironment env;
    env.services = [this] { return std::make_unique<test::FakeNativeServices>(fakes_); };
    registerRunCommands(app, env);
    std::ostringstream queue, out, err;
    EXPECT_EQ(app.run({"--home=" + home_, "queue"}, queue, err), kExitOk);
    EXPECT_EQ(queue.str(),
              "Windows Run History\nAOL History Files\ntool\nRegistry Junk\nJunk Tree\n");
    EXPECT_EQ(app.run({"clean", "--home", box_.root() + "Nowhere"}, out, err), kExitUsage);
    EXPECT_NE(err.str().find("does not exist"), std::string::npos);
    EXPECT_EQ(app.run({"clean", "now", "--home", home_}, out, err), kExitUsage);
    EXPECT_TRUE(exists("World\\junk\\a.tmp"));

    select({}, {{"Unused Tool", "0"}, {"tool", "0"}});
    write(paths_.customRegistry, "");
    write(paths_.customFolder, "");
    EXPECT_EQ(app.run({"clean", "--home", home_}, out, err), kExitOk);
    EXPECT_EQ(out.str(), "WARNING: No items are selected.\nProcess has been terminated.\n");
}

TEST(JsonString, EscapesControlsAndKeepsOnlyWellFormedUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c\r\n\t\x01"), "\"a\\\"b\\\\c\\r\\n\\t\\u0001\"");
    EXPECT_EQ(JsonString("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(JsonString("caf\xe9"), "\"caf\\u00e9\"");
    EXPECT_EQ(JsonString("\xc3"), "\"\\u00c3\"");
}

}  // namespace
}  // namespace cindral::cli
