// The sandbox's registry backend with HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE moved below the sandbox's scratch key, so code that uses
// fixed key paths (the settings key, the Run key) runs against a fresh,
// private tree on every backend. It counts
// open handles, so a test can see that every opened key was closed, and has
// switches that make key creation or value writes fail.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "support/sandbox.h"

namespace cindral::test {

class ScratchRegistry : public platform::Registry {
public:
    bool failCreate = false;  // createKey gives kNoKey
    bool failWrites = false;  // setValue and deleteValue fail

    ScratchRegistry() : inner_(*box_.platform().registry) {}

    platform::RegKey root(platform::RootKey which) override { return inner_.root(which); }
    platform::RegKey createKey(platform::RegKey parent, const std::string& path) override {
        if (failCreate) return platform::kNoKey;
        return counted(inner_.createKey(base(parent), rebase(parent, path)));
    }
    platform::RegKey openKey(platform::RegKey parent, const std::string& path,
                             std::uint32_t access) override {
        return counted(inner_.openKey(base(parent), rebase(parent, path), access));
    }
    void closeKey(platform::RegKey key) override {
        open_.erase(key);
        inner_.closeKey(key);
    }
    bool subkeyNames(platform::RegKey key, std::vector<std::string>& names) override {
        return inner_.subkeyNames(key, names);
    }
    bool valueNames(platform::RegKey key, std::vector<std::string>& names) override {
        return inner_.valueNames(key, names);
    }
    bool queryValue(platform::RegKey key, const std::string& name, platform::RegValue& out) override {
        return inner_.queryValue(key, name, out);
    }
    bool setValue(platform::RegKey key, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        return !failWrites && inner_.setValue(key, name, type, data);
    }
    bool deleteValue(platform::RegKey key, const std::string& name) override {
        return !failWrites && inner_.deleteValue(key, name);
    }
    bool deleteKey(platform::RegKey parent, const std::string& path) override {
        return inner_.deleteKey(base(parent), rebase(parent, path));
    }

    std::size_t openHandles() const { return open_.size(); }

    // Set-up and inspection helpers on HKEY_CURRENT_USER paths, bypassing the
    // switches and the handle count.
    void put(const std::string& keyPath, const std::string& name, std::uint32_t type,
             const std::string& data) {
        platform::KeyHolder key(inner_, inner_.createKey(hkcu(), rebase(hkcu(), keyPath)));
        inner_.setValue(key.get(), name, type, data);
    }
    bool get(const std::string& keyPath, const std::string& name, platform::RegValue& out) {
        platform::KeyHolder key(inner_, readKey(keyPath));
        return key && inner_.queryValue(key.get(), name, out);
    }
    bool keyExists(const std::string& keyPath) {
        return bool(platform::KeyHolder(inner_, readKey(keyPath)));
    }

private:
    platform::RegKey hkcu() { return inner_.root(platform::RootKey::CurrentUser); }
    // HKCU\P becomes HKCU\<scratch>\P and HKLM\P becomes HKCU\<scratch>\HKLM\P.
    platform::RegKey hklm() { return inner_.root(platform::RootKey::LocalMachine); }
    platform::RegKey base(platform::RegKey parent) { return parent == hklm() ? hkcu() : parent; }
    std::string rebase(platform::RegKey parent, const std::string& path) {
        if (parent == hkcu()) return box_.registryScratchPath() + "\\" + path;
        if (parent == hklm())
            return box_.registryScratchPath() + "\\HKLM\\" + path;
        return path;
    }
    platform::RegKey readKey(const std::string& keyPath) {
        return inner_.openKey(hkcu(), rebase(hkcu(), keyPath), platform::kKeyRead);
    }
    platform::RegKey counted(platform::RegKey key) {
        if (key != platform::kNoKey) open_.insert(key);
        return key;
    }

    Sandbox box_;
    platform::Registry& inner_;
    std::set<platform::RegKey> open_;
};

inline std::string dword(std::uint32_t n) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = char((n >> (8 * i)) & 0xFF);
    return data;
}

}  // namespace cindral::test
