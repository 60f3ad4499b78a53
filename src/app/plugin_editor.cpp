#include "app/plugin_editor.h"

#include <algorithm>
#include <utility>

#include "app/completion.h"
#include "app/home_folder.h"
#include "app/run.h"
#include "engine/file_mask.h"
#include "engine/path_macros.h"
#include "engine/path_template.h"
#include "engine/plugin_lint.h"
#include "engine/plugin_runner.h"
#include "engine/protected_folders.h"
#include "engine/registry_cleaner.h"
#include "platform/ascii_case.h"

namespace cindral::app {
namespace {

constexpr std::size_t kMaxEntries = 255;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string withBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// Edit fields hold one line; what a run would trim is trimmed here, so the
// document holds what a run reads.
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) out += (c == '\r' || c == '\n') ? ' ' : c;
    return engine::TrimBlanks(out);
}

// A finding of the formatted bytes without its line number: the file the
// numbers count in has not been written.
std::string findingText(const engine::LintFinding& f) {
    std::string entry = f.entry;
    const std::size_t line = entry.find(" (line ");
    if (line != std::string::npos) entry.erase(line);
    return entry.empty() ? f.message : entry + ": " + f.message;
}

std::vector<std::string> findingTexts(const std::string& bytes, platform::Platform& p) {
    std::vector<std::string> out;
    for (const engine::LintFinding& f : engine::LintPluginText(bytes, p))
        out.push_back(findingText(f));
    return out;
}

void appendFindings(std::vector<std::string>& lines, const std::vector<std::string>& findings) {
    if (findings.empty()) lines.push_back("No finding: a run reads the entry as shown.");
    for (const std::string& f : findings) lines.push_back("Finding: " + f);
}

const char* actionMeaning(const std::string& action) {
    if (action == "onlyvalues") return "deletes every value of the key";
    if (action == "allvalues") return "deletes every value of the key's subkeys";
    if (action == "onlysubkeys") return "deletes every subkey of the key";
    if (action == "onevalue") return "deletes the one value named below";
    return "unknown: a run does nothing";
}

// A file name a new plug-in may take: no folder part, no character Windows
// refuses in a name, no device name.
bool validFileName(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (unsigned char c : name)
        if (c < 32 || std::string("\\/:*?\"<>|").find(char(c)) != std::string::npos) return false;
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = platform::asciiLower(c);
    static const char* const kDevices[] = {"con", "prn", "aux", "nul"};
    if (std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices))
        return false;
    return !((stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) && stem.size() == 4 &&
             stem[3] >= '1' && stem[3] <= '9');
}

}  // namespace

PluginEditorFolders FindPluginEditorFolders(const settings::Settings& settings,
                                            const std::string& executablePath) {
    const std::string own = HomeFolderOf(executablePath);
    PluginEditorFolders f;
    f.home = withBackslash(engine::TrimBlanks(settings.read(settings::kHomeFolder)));
    if (f.home.empty()) f.home = own;
    f.pluginFolder = withBackslash(engine::TrimBlanks(settings.read(settings::kPluginFolder)));
    if (f.pluginFolder.empty()) f.pluginFolder = own + "Plug-Ins\\";
    return f;
}

std::vector<std::string> DescribeRegistryEntry(const std::string& entry, platform::System& sys) {
    std::vector<std::string> lines{"Registry entry: " + entry};
    engine::TRegObject obj;
    if (engine::ParseRegistryEntry(entry, sys, obj)) {
        lines.push_back("Root: " + entry.substr(0, entry.find('\\')));
        lines.push_back("Key: " + obj.KeyPath);
        lines.push_back("Action: " + obj.Action + " (" + actionMeaning(obj.Action) + ")");
        lines.push_back("Value name: " + obj.ValueName +
                        (obj.Action == "onevalue" ? "" : " (not used by this action)"));
    }
    appendFindings(lines, engine::LintRegistryEntry(entry, sys));
    return lines;
}

std::vector<std::string> DescribePathTemplate(const std::string& pathTemplate,
                                              platform::Platform& p) {
    const engine::ExpandedPath expanded = engine::ExpandPathTemplate(p, pathTemplate);
    const engine::PathTemplateParts parts = engine::SplitPathTemplate(expanded);
    const engine::CaseFold fold(*p.system);
    auto mask = [&](const std::string& m) {
        return quoted(m) + (engine::FileMask(m, fold).valid() ? " (valid)" : " (invalid)");
    };
    std::vector<std::string> lines{"Path template: " + pathTemplate,
                                   "Expanded for this user: " + expanded.text};
    if (parts.hasFinder) {
        lines.push_back("Looks below: " + parts.finderRoot);
        lines.push_back("For the first folder named " + mask(parts.finderName));
    } else {
        lines.push_back("Folder: " + parts.root);
    }
    lines.push_back("File mask: " + mask(parts.mask));
    lines.push_back(parts.recursive ? "Subfolders: walked (the \"?\" recursion marker)"
                                    : "Subfolders: not walked (no \"?\" recursion marker)");
    appendFindings(lines, engine::LintPathTemplate(pathTemplate, p));
    return lines;
}

engine::RunCounters TestRunPlugin(platform::Platform& p, const std::string& home,
                                  const std::string& caption, const std::string& bytes,
                                  engine::LogView& log, const std::atomic<bool>* stop) {
    engine::RunState state;
    state.Erase = false;
    state.LinePrefix = kTestModePrefix;
    state.StopRequested = stop;
    state.FixedDrives = FixedDriveList(*p.files);
    state.ProtectedFolders = engine::ProtectedFolders(p, home);
    engine::EngineContext ctx{p, state, log, {}};
    log.addLine(state.LinePrefix + "[Cleaning " + caption + "]");
    engine::RunPluginText(ctx, bytes);
    return state.counters;
}

PluginEditor::PluginEditor(PluginEditorView& view, PluginTestLauncher& tests,
                           platform::Platform& platform, PluginEditorFolders folders)
    : view_(view), tests_(tests), platform_(platform), folders_(std::move(folders)) {}

std::vector<std::string>& PluginEditor::entries(EntryKind kind) {
    return kind == EntryKind::Registry ? doc_.registry : doc_.files;
}

void PluginEditor::open() {
    list("");
    if (!plugins_.empty()) load(plugins_.front());
    update();
}

// Lists the folder (and a new plug-in not written yet) and selects the row
// of `select`, a file name.
void PluginEditor::list(const std::string& select) {
    plugins_ = selection::ListPluginFolder(platform_, folders_.pluginFolder);
    if (open_ && isNew_)
        plugins_.push_back({fileName_, path_, selection::PluginKeyFromFileName(fileName_), {}});
    std::vector<std::string> rows;
    row_ = -1;
    for (const selection::PluginFile& f : plugins_) {
        if (!select.empty() && platform_.system->compareNoCase(f.fileName, select) == 0)
            row_ = int(rows.size());
        rows.push_back(f.key + " (" + f.fileName + ")");
    }
    view_.setPlugins(rows);
    view_.selectPlugin(row_);
}

void PluginEditor::load(const selection::PluginFile& file) {
    close();
    std::string raw;
    if (!platform_.files->readFile(file.path, raw)) {
        view_.showError("Cannot read \"" + file.path + "\". The file is left as it is.");
        list("");
        return;
    }
    open_ = true;
    fileName_ = file.fileName;
    path_ = file.path;
    diskBytes_ = raw;
    const std::string bytes = platform_.files->storedText(std::move(raw));
    doc_ = engine::ReadPluginDocument(bytes);
    storedFindings_ = findingTexts(bytes, platform_);
    list(fileName_);
    view_.setTitleAuthor(doc_.title, doc_.author);
    for (EntryKind kind : {EntryKind::Registry, EntryKind::Files}) showEntries(kind);
    check();
}

void PluginEditor::close() {
    stopTestRun();
    open_ = isNew_ = changed_ = false;
    fileName_.clear();
    path_.clear();
    diskBytes_.clear();
    doc_ = {};
    storedFindings_.clear();
    problems_.clear();
    selected_ = {-1, -1};
    field_ = {};
    view_.setTitleAuthor("", "");
    view_.setTestLines({});
    for (EntryKind kind : {EntryKind::Registry, EntryKind::Files}) {
        showEntries(kind);
        view_.setEntryText(kind, "");
    }
}

void PluginEditor::stopTestRun() {
    if (!testRun_) return;
    tests_.stopTestRun(testRun_);
    testRun_ = 0;
    update();
    view_.setStatus("Test run: Stopped");
}

bool PluginEditor::mayLeave() {
    stopTestRun();
    if (!open_ || !changed_) return true;
    switch (view_.ask("Save changes to \"" + fileName_ + "\"?")) {
        case Answer::Yes:
            return save();
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

void PluginEditor::pluginChosen(int row) {
    if (row < 0 || row >= int(plugins_.size()) || row == row_) return;
    const selection::PluginFile chosen = plugins_[std::size_t(row)];
    if (!mayLeave()) {
        view_.selectPlugin(row_);
        return;
    }
    close();
    load(chosen);
    update();
}

void PluginEditor::titleEdited(const std::string& text) {
    if (!open_ || oneLine(text) == doc_.title) return;
    doc_.title = oneLine(text);
    edited();
}

void PluginEditor::authorEdited(const std::string& text) {
    if (!open_ || oneLine(text) == doc_.author) return;
    doc_.author = oneLine(text);
    edited();
}

void PluginEditor::entryChosen(EntryKind kind, int row) {
    const auto& list = entries(kind);
    const int k = int(kind);
    active_ = kind;
    selected_[k] = row >= 0 && row < int(list.size()) ? row : -1;
    if (selected_[k] >= 0) {
        field_[k] = list[std::size_t(row)];
        view_.setEntryText(kind, field_[k]);
    }
    update();
}

void PluginEditor::entryTextEdited(EntryKind kind, const std::string& text) {
    active_ = kind;
    field_[int(kind)] = text;
    update();
}

void PluginEditor::addEntry(EntryKind kind) {
    const std::string text = oneLine(field_[int(kind)]);
    auto& list = entries(kind);
    if (!open_ || text.empty() || list.size() >= kMaxEntries) return;
    list.push_back(text);
    selected_[int(kind)] = int(list.size()) - 1;
    field_[int(kind)] = text;
    showEntries(kind);
    view_.setEntryText(kind, text);
    active_ = kind;
    edited();
}

void PluginEditor::changeEntry(EntryKind kind) {
    const int at = selected_[int(kind)];
    const std::string text = oneLine(field_[int(kind)]);
    auto& list = entries(kind);
    if (!open_ || at < 0 || text.empty() || list[std::size_t(at)] == text) return;
    list[std::size_t(at)] = text;
    field_[int(kind)] = text;
    showEntries(kind);
    view_.setEntryText(kind, text);
    edited();
}

void PluginEditor::deleteEntry(EntryKind kind) {
    int& at = selected_[int(kind)];
    auto& list = entries(kind);
    if (!open_ || at < 0) return;
    list.erase(list.begin() + at);
    at = std::min(at, int(list.size()) - 1);
    field_[int(kind)] = at >= 0 ? list[std::size_t(at)] : "";
    showEntries(kind);
    view_.setEntryText(kind, field_[int(kind)]);
    edited();
}

void PluginEditor::moveEntry(EntryKind kind, int delta) {
    int& at = selected_[int(kind)];
    auto& list = entries(kind);
    const int to = at + delta;
    if (!open_ || at < 0 || to < 0 || to >= int(list.size())) return;
    std::swap(list[std::size_t(at)], list[std::size_t(to)]);
    at = to;
    showEntries(kind);
    edited();
}

void PluginEditor::newPlugin() {
    if (!mayLeave()) return;
    std::string name;
    if (!view_.askFileName(name)) return;
    name = engine::TrimBlanks(name);
    if (name.empty()) return;
    const std::string ext = ".cnp";
    if (name.size() < ext.size() ||
        !platform::equalAsciiNoCase(name.substr(name.size() - ext.size()), ext))
        name += ext;
    if (!validFileName(name)) {
        view_.showError(quoted(name) +
                        " is not a valid file name: it may not hold \\ / : * ? \" < > |.");
        return;
    }
    const std::string path = folders_.pluginFolder + name;
    if (platform_.files->fileExists(path) || platform_.files->folderExists(path)) {
        view_.showError("A plug-in file named " + quoted(name) +
                        " exists already; choose another name.");
        return;
    }
    close();
    open_ = isNew_ = changed_ = true;
    fileName_ = name;
    path_ = path;
    doc_.title = selection::PluginKeyFromFileName(name);
    list(fileName_);
    view_.setTitleAuthor(doc_.title, doc_.author);
    check();
    update();
}

bool PluginEditor::save() {
    stopTestRun();
    if (!open_ || !changed_) return true;
    if (!problems_.empty()) {
        view_.showError("\"" + fileName_ + "\" cannot be saved: " + problems_.front());
        return false;
    }
    platform::Files& files = *platform_.files;
    if (isNew_ && (files.fileExists(path_) || files.folderExists(path_))) {
        view_.showError("A file named " + quoted(fileName_) +
                        " has appeared meanwhile; it is left as it is. Choose another name.");
        return false;
    }
    std::string onDisk;
    if (!isNew_ && (!files.readFile(path_, onDisk) || onDisk != diskBytes_) &&
        !view_.askYesNo(quoted(fileName_) +
                        " was changed by another program since it was opened. Overwrite it?"))
        return false;
    files.createFolder(folders_.pluginFolder);
    const std::string bytes = engine::FormatPluginFile(doc_);
    if (!files.writeFileAtomic(path_, bytes)) {
        view_.showError("Cannot write \"" + path_ + "\". The file is left as it was.");
        return false;
    }
    diskBytes_ = bytes;
    isNew_ = changed_ = false;
    storedFindings_.clear();
    list(fileName_);
    update();
    return true;
}

void PluginEditor::testRun() {
    if (testRun_) {
        stopTestRun();
        return;
    }
    if (!open_) return;
    const std::string caption =
        doc_.title.empty() ? selection::PluginKeyFromFileName(fileName_) : doc_.title;
    view_.setTestLines({});
    testRun_ = tests_.startTestRun(folders_.home, caption, engine::FormatPluginFile(doc_));
    if (!testRun_) {
        view_.showError("The test run could not be started.");
        return;
    }
    update();
}

void PluginEditor::testRunFinished(std::uint64_t id, const engine::RunCounters& counters) {
    if (!testRun_ || id != testRun_) return;
    testRun_ = 0;
    update();
    CompletionFacts facts;
    facts.counters = counters;
    view_.setStatus("Test run: " + RunSummary(facts, platform_.system->decimalSeparator()));
}

bool PluginEditor::mayClose() { return mayLeave(); }

void PluginEditor::edited() {
    stopTestRun();
    changed_ = true;
    storedFindings_.clear();
    // The lines of an earlier test run no longer tell what this one erases.
    view_.setTestLines({});
    check();
    update();
}

// What keeps the document from being saved: every finding of the checker on
// the bytes Save would write, and any text a run would read differently.
void PluginEditor::check() {
    problems_.clear();
    if (!open_) return;
    const std::string bytes = engine::FormatPluginFile(doc_);
    problems_ = findingTexts(bytes, platform_);
    const engine::PluginDocument back = engine::ReadPluginDocument(bytes);
    if (back != doc_ && problems_.empty()) {
        auto differs = [&](const std::string& what, const std::string& a, const std::string& b) {
            if (a != b) problems_.push_back(what + ": a run would read it as " + quoted(b));
        };
        differs("[Plugin] Title", doc_.title, back.title);
        differs("[Plugin] Author", doc_.author, back.author);
        for (EntryKind kind : {EntryKind::Registry, EntryKind::Files}) {
            const auto& mine = entries(kind);
            const auto& read = kind == EntryKind::Registry ? back.registry : back.files;
            for (std::size_t i = 0; i < mine.size(); ++i)
                differs((kind == EntryKind::Registry ? "[Registry] Item" : "[Files] Item") +
                            std::to_string(i + 1),
                        mine[i], i < read.size() ? read[i] : std::string());
        }
        if (problems_.empty()) problems_.push_back("a run would read the file differently");
    }
}

void PluginEditor::showEntries(EntryKind kind) {
    view_.setEntries(kind, entries(kind));
    view_.selectEntry(kind, selected_[int(kind)]);
}

void PluginEditor::showReading() {
    const std::string text = oneLine(field_[int(active_)]);
    if (!open_ || text.empty()) {
        view_.setReading({});
        return;
    }
    view_.setReading(active_ == EntryKind::Registry ? DescribeRegistryEntry(text, *platform_.system)
                                                    : DescribePathTemplate(text, platform_));
}

void PluginEditor::update() {
    PluginEditorCommands c;
    c.running = testRun_ != 0;
    c.testRun = open_ || c.running;
    if (c.running) {
        // Only Stop: what the run tests stays as it is until it ends.
        view_.setCommands(c);
        view_.setStatus("Test run in progress; Stop ends it.");
        return;
    }
    c.edit = open_;
    c.choose = c.newPlugin = true;
    c.save = canSave();
    for (EntryKind kind : {EntryKind::Registry, EntryKind::Files}) {
        const int k = int(kind), at = selected_[k], size = int(entries(kind).size());
        const std::string text = oneLine(field_[k]);
        c.add[k] = open_ && !text.empty() && size < int(kMaxEntries);
        c.change[k] = open_ && at >= 0 && !text.empty() && text != entries(kind)[std::size_t(at)];
        c.remove[k] = open_ && at >= 0;
        c.up[k] = open_ && at > 0;
        c.down[k] = open_ && at >= 0 && at < size - 1;
    }
    view_.setCommands(c);
    showReading();

    std::string status;
    if (!open_)
        status = plugins_.empty() ? "No plug-in in " + folders_.pluginFolder + ": New makes one."
                                  : "Choose a plug-in from the list, or make one with New.";
    else if (!changed_ && !storedFindings_.empty())
        status = "As stored, " + fileName_ + " has " + std::to_string(storedFindings_.size()) +
                 " finding(s); the first: " + storedFindings_.front();
    else if (!changed_)
        status = fileName_ + ": no unsaved changes.";
    else if (!problems_.empty())
        status = "Save is disabled: " + problems_.front() +
                 (problems_.size() > 1 ? " (and " + std::to_string(problems_.size() - 1) + " more)"
                                       : "");
    else
        status = fileName_ + ": changed; Save writes it.";
    view_.setStatus(status);
}

}  // namespace cindral::app
