// A Files that passes every call to another one and fails the calls a test
// chooses: those `fails` picks out by kind and path, or the n-th call that
// can fail (so a test can loop over every call of a scenario). A failed call
// returns what the backend returns for a failure, or throws when `throws` is
// set (an unforeseen error). It records the folders listed, the files
// deleted and the bytes of each pass of an overwrite, and can put the
// Windows and temp folders and the drives elsewhere.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace cindral::test {

// The kinds of call that can fail; Overwrite is any step of an open
// OverwriteFile.
enum class FileOp {
    List,
    Details,
    Delete,
    Read,
    Write,
    Rename,
    CreateFolder,
    Exists,
    Size,
    Open,
    Overwrite
};

class FaultyFiles : public platform::Files {
public:
    using Entries = std::vector<platform::DirEntry>;
    explicit FaultyFiles(platform::Files& inner) : inner_(inner) {}

    std::function<bool(FileOp, const std::string& path)> fails;
    bool throws = false;
    std::atomic<int> calls{0};  // calls that could fail, so far

    void failOn(FileOp op, const std::string& path) {
        fails = [op, path](FileOp o, const std::string& p) { return o == op && p == path; };
    }
    void failAll(FileOp op) {
        fails = [op](FileOp o, const std::string&) { return o == op; };
    }
    // Fails the n-th call that can fail from now on (1: the next one).
    void failNth(int n) {
        const int at = calls + n;
        fails = [this, at](FileOp, const std::string&) { return calls == at; };
    }

    std::vector<std::string> listed, deleted;
    std::vector<std::string> passes;                  // bytes written after each seek to the start
    std::string windows, temp;                        // empty: the backend's
    std::uint32_t drives = 0;                         // 0: the backend's
    std::map<std::string, std::uint32_t> driveTypes;  // when set, other roots have none

    bool listFolder(const std::string& f, Entries& e) override {
        listed.push_back(f);
        return !fault(FileOp::List, f) && inner_.listFolder(f, e);
    }
    bool listFolderTypes(const std::string& f, Entries& e) override {
        listed.push_back(f);
        return !fault(FileOp::List, f) && inner_.listFolderTypes(f, e);
    }
    bool entryDetails(const std::string& f, platform::DirEntry& e) override {
        return !fault(FileOp::Details, f + e.name) && inner_.entryDetails(f, e);
    }
    bool entryAttributes(const std::string& f, platform::DirEntry& e) override {
        return !fault(FileOp::Details, f + e.name) && inner_.entryAttributes(f, e);
    }
    bool deleteFile(const std::string& p) override {
        deleted.push_back(p);
        return !fault(FileOp::Delete, p) && inner_.deleteFile(p);
    }
    bool createFolder(const std::string& p) override {
        return !fault(FileOp::CreateFolder, p) && inner_.createFolder(p);
    }
    bool fileExists(const std::string& p) override {
        return !fault(FileOp::Exists, p) && inner_.fileExists(p);
    }
    bool folderExists(const std::string& p) override {
        return !fault(FileOp::Exists, p) && inner_.folderExists(p);
    }
    bool readFile(const std::string& p, std::string& b) override {
        if (!fault(FileOp::Read, p)) return inner_.readFile(p, b);
        b.clear();  // as the backends leave it
        return false;
    }
    std::string storedText(std::string b) override { return inner_.storedText(std::move(b)); }
    bool writeFileAtomic(const std::string& p, const std::string& b) override {
        return !fault(FileOp::Write, p) && inner_.writeFileAtomic(p, b);
    }
    bool writeFileAtomicFrom(const std::string& p, const ChunkSource& next) override {
        return !fault(FileOp::Write, p) && inner_.writeFileAtomicFrom(p, next);
    }
    bool fileSize(const std::string& p, std::uint64_t& s) override {
        return !fault(FileOp::Size, p) && inner_.fileSize(p, s);
    }
    bool renameFile(const std::string& a, const std::string& b) override {
        return !fault(FileOp::Rename, a) && inner_.renameFile(a, b);
    }
    std::unique_ptr<platform::OverwriteFile> openForOverwrite(const std::string& p) override {
        if (fault(FileOp::Open, p)) return nullptr;
        auto file = inner_.openForOverwrite(p);
        return file ? std::make_unique<Overwrite>(std::move(file), *this, p) : nullptr;
    }
    std::uint32_t logicalDrives() override { return drives ? drives : inner_.logicalDrives(); }
    std::uint32_t driveType(const std::string& root) override {
        if (driveTypes.empty()) return inner_.driveType(root);
        const auto it = driveTypes.find(root);
        return it == driveTypes.end() ? platform::kDriveNoRootDir : it->second;
    }
    std::string windowsFolder() override {
        return windows.empty() ? inner_.windowsFolder() : windows;
    }
    std::string tempPath() override { return temp.empty() ? inner_.tempPath() : temp; }
    std::string toWindowsPath(const std::string& h) const override {
        return inner_.toWindowsPath(h);
    }
    std::string lastErrorText() override { return inner_.lastErrorText(); }

protected:
    platform::Files& inner_;

private:
    bool fault(FileOp op, const std::string& path) {
        ++calls;
        if (!fails || !fails(op, path)) return false;
        if (throws) throw std::runtime_error("injected fault on " + path);
        return true;
    }

    struct Overwrite : platform::OverwriteFile {
        Overwrite(std::unique_ptr<platform::OverwriteFile> f, FaultyFiles& o, std::string p)
            : inner(std::move(f)), owner(o), path(std::move(p)) {}
        bool ok() { return !owner.fault(FileOp::Overwrite, path); }
        bool size(std::uint64_t& s) override { return ok() && inner->size(s); }
        bool seekToStart() override {
            owner.passes.emplace_back();
            return ok() && inner->seekToStart();
        }
        bool write(const void* data, std::size_t n) override {
            if (owner.passes.empty()) owner.passes.emplace_back();
            owner.passes.back().append(static_cast<const char*>(data), n);
            return ok() && inner->write(data, n);
        }
        bool flush() override { return ok() && inner->flush(); }
        bool truncate() override { return ok() && inner->truncate(); }
        bool close() override { return ok() && inner->close(); }
        std::unique_ptr<platform::OverwriteFile> inner;
        FaultyFiles& owner;
        std::string path;
    };
};

}  // namespace cindral::test
