// The registry on Linux: a per-user store kept in one REGEDIT4 text file
// (see regedit4_file.h), so a user can read it, back it up and import it.
//
// Behaviour follows the advapi32 calls the program makes:
// - Key and value names compare without regard to case (ASCII letters) and
//   keep the case they were created with. Subkeys are listed sorted without
//   regard to case, values in the order they were created (a value that is
//   set again keeps its place).
// - Paths use "\"; a path may not start with "\" (the call fails, as it does
//   on Windows); empty components ("a\\b", a trailing "\") are skipped.
// - createKey creates the missing keys on the way. openKey fails for a
//   missing key. deleteKey removes one key without subkeys, never a root and
//   never the key of the handle itself (empty path).
// - A handle keeps the rights it was opened with: querying and listing
//   values need KEY_QUERY_VALUE, listing subkeys KEY_ENUMERATE_SUB_KEYS,
//   setting and deleting values KEY_SET_VALUE; GENERIC_* and MAXIMUM_ALLOWED
//   are mapped as Windows maps them. Opening and creating subkeys and
//   deleting them work through any handle. The five roots have every right.
// - A handle whose key was deleted (by this process or, seen on the next
//   call, by another one) fails every operation, even when a key of the same
//   name is created again; it only can be closed.
// - Text types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) whose data does not end
//   in a NUL get one appended, as RegSetValueExA does.
// - Names are cut at a NUL, as the Win32 calls see them. A key or value name
//   holding a line break is refused: the store file cannot hold it.
//
// The store file is written whole on every change: a temporary file beside
// it, flushed to disk, then renamed over it. Writers in this process are
// serialised by a mutex, writers in all processes by an advisory lock
// (flock) on "<store>.lock". Every call first reads the file and, when its
// bytes changed since they were last read or written, loads it again:
// another process's writes are seen by the next call.
//
// A store file that cannot be fully understood (hand edits) is still used:
// every section and value that can be read is loaded, the rest is listed by
// problems(). Before the first change is written over such a file, its exact
// bytes are copied to "<store>.bad" (or "<store>.bad.1" ... ".bad.99" when
// that name is taken); when no copy can be made, the change fails and the
// file is left as it is. A store file that exists but cannot be read makes
// every call fail (roots still open, so readers get their defaults) and is
// never overwritten. A missing store file is an empty registry; the first
// change creates it (and its folder, for the owner only).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace cindral::platform {

class PosixRegistry : public Registry {
public:
    explicit PosixRegistry(std::string storeFile);
    ~PosixRegistry() override;
    PosixRegistry(const PosixRegistry&) = delete;
    PosixRegistry& operator=(const PosixRegistry&) = delete;

    RegKey root(RootKey which) override;
    RegKey createKey(RegKey parent, const std::string& path) override;
    RegKey openKey(RegKey parent, const std::string& path, std::uint32_t access) override;
    void closeKey(RegKey key) override;
    bool subkeyNames(RegKey key, std::vector<std::string>& names) override;
    bool valueNames(RegKey key, std::vector<std::string>& names) override;
    bool queryValue(RegKey key, const std::string& name, RegValue& out) override;
    bool setValue(RegKey key, const std::string& name, std::uint32_t type,
                  const std::string& data) override;
    bool deleteValue(RegKey key, const std::string& name) override;
    bool deleteKey(RegKey parent, const std::string& path) override;

    const std::string& storeFile() const { return storeFile_; }
    // What the store file as it is now holds that could not be used; empty
    // for a well-formed or missing file, and after the store was rewritten.
    std::vector<std::string> problems();

    struct Node;

private:
    struct Handle {
        std::shared_ptr<Node> node;
        int root = 0;
        std::vector<std::string> path;  // from the root, as stored
        std::uint32_t access = 0;
    };
    // All of the following run with mutex_ held.
    void refresh();
    void load(const std::string& bytes);
    bool save();
    bool backUpDamagedFile(int folder);
    bool handleFor(RegKey key, std::uint32_t needed, Handle& out);
    // handleFor() on the store as the file holds it now; false when the
    // file cannot be read.
    bool currentHandle(RegKey key, std::uint32_t needed, Handle& out);
    RegKey addHandle(Handle h);

    std::string storeFile_;
    std::mutex mutex_;
    std::shared_ptr<Node> roots_[5];
    std::map<RegKey, Handle> handles_;
    RegKey nextHandle_ = 0x1000;
    std::string loadedBytes_;  // the store file as last read or written
    bool loadedExists_ = false;
    bool loadedOnce_ = false;
    bool readable_ = true;
    bool damaged_ = false;  // loadedBytes_ held lines that could not be used
    std::vector<std::string> problems_;
};

}  // namespace cindral::platform
