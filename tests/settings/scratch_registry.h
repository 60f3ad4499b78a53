// The sandbox's registry backend with HKCU\P moved to HKCU\<scratch>\P and
// HKLM\P to HKCU\<scratch>\HKLM\P, so code with fixed key paths (the settings
// key, the Run key) runs against a fresh, private tree on every backend; it
// counts open handles and fails chosen calls as FaultyRegistry does.
#pragma once

#include <string>

#include "support/faulty_registry.h"
#include "support/sandbox.h"

namespace cindral::test {

struct SandboxHolder {
    Sandbox box_;
};

class ScratchRegistry : private SandboxHolder, public FaultyRegistry {
public:
    ScratchRegistry() : FaultyRegistry(*box_.platform().registry) {}

    // Set-up and inspection on HKCU paths, past the faults and the count.
    void put(const std::string& keyPath, const std::string& name, std::uint32_t type,
             const std::string& data) {
        platform::KeyHolder key(inner_, inner_.createKey(hkcu(), scratch(keyPath)));
        inner_.setValue(key.get(), name, type, data);
    }
    bool get(const std::string& keyPath, const std::string& name, platform::RegValue& out) {
        platform::KeyHolder key = readKey(keyPath);
        return key && inner_.queryValue(key.get(), name, out);
    }
    bool keyExists(const std::string& keyPath) { return bool(readKey(keyPath)); }

protected:
    void route(RegKey& parent, std::string& path) override {
        if (parent == inner_.root(platform::RootKey::LocalMachine)) {
            parent = hkcu();
            path = "HKLM\\" + path;
        }
        if (parent == hkcu()) path = scratch(path);
    }

private:
    RegKey hkcu() { return inner_.root(platform::RootKey::CurrentUser); }
    std::string scratch(const std::string& path) {
        return box_.registryScratchPath() + "\\" + path;
    }
    platform::KeyHolder readKey(const std::string& keyPath) {
        return {inner_, inner_.openKey(hkcu(), scratch(keyPath), platform::kKeyRead)};
    }
};

}  // namespace cindral::test
