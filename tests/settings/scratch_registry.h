// The sandbox's registry backend with HKCU\P moved to HKCU\<scratch>\P and
// HKLM\P to HKCU\<scratch>\HKLM\P, so code with fixed key paths (the settings
// key, the Run key) runs against a fresh, private tree on every backend. It
// counts open handles and can make key creation or value writes fail.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "support/sandbox.h"

namespace cindral::test {

class ScratchRegistry : public platform::Registry {
public:
    using RegKey = platform::RegKey;
    bool failCreate = false;
    bool failWrites = false;  // setValue and deleteValue

    RegKey root(platform::RootKey which) override { return inner_.root(which); }
    RegKey createKey(RegKey parent, const std::string& path) override {
        if (failCreate) return platform::kNoKey;
        return counted(inner_.createKey(base(parent), rebase(parent, path)));
    }
    RegKey openKey(RegKey parent, const std::string& path, std::uint32_t access) override {
        return counted(inner_.openKey(base(parent), rebase(parent, path), access));
    }
    void closeKey(RegKey key) override {
        open_.erase(key);
        inner_.closeKey(key);
    }
    bool subkeyNames(RegKey key, std::vector<std::string>& out) override {
        return inner_.subkeyNames(key, out);
    }
    bool valueNames(RegKey key, std::vector<std::string>& out) override {
        return inner_.valueNames(key, out);
    }
    bool queryValue(RegKey key, const std::string& name, platform::RegValue& out) override {
        return inner_.queryValue(key, name, out);
    }
    bool setValue(RegKey key, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        return !failWrites && inner_.setValue(key, name, type, data);
    }
    bool deleteValue(RegKey key, const std::string& name) override {
        return !failWrites && inner_.deleteValue(key, name);
    }
    bool deleteKey(RegKey parent, const std::string& path) override {
        return inner_.deleteKey(base(parent), rebase(parent, path));
    }

    std::size_t openHandles() const { return open_.size(); }

    // Set-up and inspection on HKCU paths, past the switches and the count.
    void put(const std::string& keyPath, const std::string& name, std::uint32_t type,
             const std::string& data) {
        platform::KeyHolder key(inner_, inner_.createKey(hkcu(), rebase(hkcu(), keyPath)));
        inner_.setValue(key.get(), name, type, data);
    }
    bool get(const std::string& keyPath, const std::string& name, platform::RegValue& out) {
        platform::KeyHolder key = readKey(keyPath);
        return key && inner_.queryValue(key.get(), name, out);
    }
    bool keyExists(const std::string& keyPath) { return bool(readKey(keyPath)); }

private:
    RegKey hkcu() { return inner_.root(platform::RootKey::CurrentUser); }
    RegKey hklm() { return inner_.root(platform::RootKey::LocalMachine); }
    RegKey base(RegKey parent) { return parent == hklm() ? hkcu() : parent; }
    std::string rebase(RegKey parent, const std::string& path) {
        if (parent == hkcu()) return box_.registryScratchPath() + "\\" + path;
        if (parent == hklm()) return box_.registryScratchPath() + "\\HKLM\\" + path;
        return path;
    }
    platform::KeyHolder readKey(const std::string& keyPath) {
        return {inner_, inner_.openKey(hkcu(), rebase(hkcu(), keyPath), platform::kKeyRead)};
    }
    RegKey counted(RegKey key) {
        if (key != platform::kNoKey) open_.insert(key);
        return key;
    }

    Sandbox box_;
    platform::Registry& inner_ = *box_.platform().registry;
    std::set<RegKey> open_;
};

}  // namespace cindral::test
