// A user's profile inside a sandbox: the shell folders point where a test
// says, and HKEY_CURRENT_USER is the sandbox's scratch key, so plug-ins that
// name real folders and keys run against prepared traces only.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/shell_folders.h"

namespace cindral::engine::test {

using platform::RegKey;
using platform::RootKey;

class ProfileFolders : public platform::ShellFolders {
public:
    std::map<int, std::string> folders;
    std::string specialFolder(int csidl) override {
        auto it = folders.find(csidl);
        return it == folders.end() ? std::string() : it->second;
    }
};

// HKEY_CURRENT_USER is the sandbox's scratch key; the other roots pass.
class ScratchCurrentUser : public platform::Registry {
public:
    ScratchCurrentUser(platform::Registry& inner, const std::string& scratch)
        : inner_(inner), user_(inner.createKey(inner.root(RootKey::CurrentUser), scratch)) {}
    ~ScratchCurrentUser() override { inner_.closeKey(user_); }
    RegKey root(RootKey which) override {
        return which == RootKey::CurrentUser ? user_ : inner_.root(which);
    }
    RegKey createKey(RegKey k, const std::string& p) override { return inner_.createKey(k, p); }
    RegKey openKey(RegKey k, const std::string& p, std::uint32_t a) override {
        return inner_.openKey(k, p, a);
    }
    void closeKey(RegKey k) override {
        if (k != user_) inner_.closeKey(k);
    }
    bool subkeyNames(RegKey k, std::vector<std::string>& n) override {
        return inner_.subkeyNames(k, n);
    }
    bool valueNames(RegKey k, std::vector<std::string>& n) override {
        return inner_.valueNames(k, n);
    }
    bool queryValue(RegKey k, const std::string& n, platform::RegValue& v) override {
        return inner_.queryValue(k, n, v);
    }
    bool setValue(RegKey k, const std::string& n, std::uint32_t t, const std::string& d) override {
        return inner_.setValue(k, n, t, d);
    }
    bool deleteValue(RegKey k, const std::string& n) override { return inner_.deleteValue(k, n); }
    bool deleteKey(RegKey k, const std::string& p) override { return inner_.deleteKey(k, p); }

private:
    platform::Registry& inner_;
    RegKey user_;
};

}  // namespace cindral::engine::test
