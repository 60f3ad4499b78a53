#include "engine/path_template.h"

#include <cctype>

#include "engine/file_remover.h"
#include "engine/path_macros.h"
#include "engine/protected_folders.h"
#include "engine/walker.h"

namespace cindral::engine {

namespace {

void logInvalidMasks(EngineContext& ctx, const std::vector<std::string>& masks) {
    for (const std::string& m : masks)
        ctx.view.addLine(ctx.run.LinePrefix + "Invalid file mask: " + m + " <SKIPPED>");
}

// Sets the walker's one mask; logs it and answers false when it is invalid.
bool setSingleMask(EngineContext& ctx, TEasyFileSearch& walker, const std::string& mask) {
    if (walker.setFileNames({mask})) return true;
    logInvalidMasks(ctx, {mask});
    return false;
}

// "*" and "*.*" (stars doubled or not): the masks that name no file in
// particular but every one.
bool takesEveryFile(const std::string& mask) {
    std::string single;
    for (const char c : mask)
        if (c != '*' || single.empty() || single.back() != '*') single += c;
    return single == "*" || single == "*.*";
}

void progress(EngineContext& ctx, const std::string& folder) {
    ctx.view.replaceLastLine("Analyzing Folder: " + folder);
}

// The first entry called `name` below `root`, nearest to the root (breadth
// first; within a folder the one listed first). Empty when there is none.
std::string findFolder(EngineContext& ctx, const std::string& root, const std::string& name) {
    TEasyFileSearch finder(*ctx.platform.files, *ctx.platform.system);
    finder.StopRequested = ctx.run.StopRequested;
    finder.SearchOptions = okLookForAll | okIncludeSubfolder;
    if (!setSingleMask(ctx, finder, name)) return std::string();
    std::string found;
    bool haveFound = false;
    finder.OnFileFound = [&](const TFileInformations& f) {
        if (haveFound) return;
        haveFound = true;
        found = f.fullPath();
    };
    finder.OnChangeFolder = [&](const std::string& folder) { progress(ctx, folder); };
    finder.RootPath = root;
    finder.Execute();
    return found;
}

}  // namespace

bool IsAbsoluteWindowsPath(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && (path.size() == 2 || path[2] == '\\');
}

PathTemplateParts SplitPathTemplate(ExpandedPath expanded) {
    PathTemplateParts parts;
    // "?" and "&" are syntax only in the template's own text: a folder a
    // macro inserted may hold either in a name.
    const std::size_t marker = expanded.findSyntax('?');
    if (marker != std::string::npos) {
        parts.recursive = true;
        expanded.erase(marker);
    }
    const std::string& t = expanded.text;
    const std::size_t lastSlash = t.rfind('\\');
    parts.mask = lastSlash == std::string::npos ? t : t.substr(lastSlash + 1);
    const std::size_t amp = expanded.findSyntax('&');
    if (amp != std::string::npos) {
        parts.hasFinder = true;
        const std::size_t nameEnd = t.find('\\', amp + 1);
        parts.finderName =
            t.substr(amp + 1, nameEnd == std::string::npos ? std::string::npos : nameEnd - amp - 1);
        parts.finderRoot = t.substr(0, expanded.rfindSyntax('&'));
    } else if (lastSlash != std::string::npos) {
        parts.root = t.substr(0, lastSlash);
    }
    return parts;
}

void CleanPathTemplate(EngineContext& ctx, const std::string& pathTemplate) {
    const PathTemplateParts parts =
        SplitPathTemplate(ExpandPathTemplate(ctx.platform, pathTemplate));

    TEasyFileSearch walker(*ctx.platform.files, *ctx.platform.system);
    walker.StopRequested = ctx.run.StopRequested;
    walker.SearchOptions = okLookForAll;
    if (parts.recursive) walker.SearchOptions |= okIncludeSubfolder;
    if (!setSingleMask(ctx, walker, parts.mask)) return;

    std::string root = parts.root;
    if (parts.hasFinder) {
        if (!IsAbsoluteWindowsPath(parts.finderRoot)) return;
        root = findFolder(ctx, parts.finderRoot, parts.finderName);
    }
    // An empty shell folder leaves a relative path: walking it would search
    // below whatever the current folder happens to be.
    if (root.empty() || !IsAbsoluteWindowsPath(root)) return;
    // Files right inside such a folder may still go when the mask picks
    // them; all below it may not, nor all of its own at once ("%TEMP%\*"
    // where the system's temporary folder is the profile, the Windows folder
    // or a drive root).
    if (((walker.SearchOptions & okIncludeSubfolder) || takesEveryFile(parts.mask)) &&
        IsProtectedFolder(root, ctx.run.ProtectedFolders, *ctx.platform.system)) {
        const std::string shown = root.size() == 2 ? root + "\\" : root;  // "C:" as "C:\"
        ctx.view.addLine(ctx.run.LinePrefix + "Protected folder: " + shown + " <SKIPPED>");
        return;
    }

    walker.RootPath = root;
    // The handlers read names, attributes and sizes, never a file's times.
    walker.NeedTimes = false;
    walker.OnFileFound = [&](const TFileInformations& f) { HandleFoundFile(ctx, f); };
    walker.Execute();
}

void RunDriveScan(EngineContext& ctx, const std::vector<std::string>& masks,
                  const std::vector<std::string>& fixedDrives) {
    if (masks.empty()) {
        ctx.view.addLine(ctx.run.LinePrefix + "Mask list is empty. <SKIPPED>");
        return;
    }
    TEasyFileSearch scanner(*ctx.platform.files, *ctx.platform.system);
    std::vector<std::string> valid;
    std::vector<std::string> invalid;
    for (const std::string& m : masks)
        (FileMask(m, CaseFold()).valid() ? valid : invalid).push_back(m);
    if (!invalid.empty()) {
        logInvalidMasks(ctx, invalid);
        if (valid.empty()) return;
        // The progress line takes over the last line of the view: keep the
        // invalid-mask lines by giving it a line of its own.
        ctx.view.addLine("");
    }
    scanner.setFileNames(valid);
    scanner.StopRequested = ctx.run.StopRequested;
    scanner.SearchOptions = okLookForAll | okIncludeSubfolder;
    scanner.NeedTimes = false;
    scanner.OnFileFound = [&](const TFileInformations& f) { HandleDriveScanFile(ctx, f); };
    scanner.OnChangeFolder = [&](const std::string& folder) { progress(ctx, folder); };
    for (const std::string& drive : fixedDrives) {
        if (ctx.run.stopped()) break;
        scanner.RootPath = drive;
        scanner.Execute();
    }
    ctx.view.deleteLastLine();
}

}  // namespace cindral::engine
