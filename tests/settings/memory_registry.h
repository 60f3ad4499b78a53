// An in-memory Registry for unit tests of the settings code: keys and value
// names compared without regard to case, handles counted so a test can see
// that every opened key was closed, and switches that make key creation or
// value writes fail.
#pragma once

#include <cctype>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace cindral::test {

class MemoryRegistry : public platform::Registry {
public:
    bool failCreate = false;  // createKey gives kNoKey
    bool failOpen = false;    // openKey gives kNoKey
    bool failWrites = false;  // setValue and deleteValue fail

    platform::RegKey root(platform::RootKey which) override {
        return platform::RegKey(0x80000000u + unsigned(which));
    }

    platform::RegKey createKey(platform::RegKey parent, const std::string& path) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (failCreate) return platform::kNoKey;
        std::string full;
        if (!resolve(parent, path, full)) return platform::kNoKey;
        std::string partial;
        for (const auto& part : split(full)) {
            partial += (partial.empty() ? "" : "\\") + part;
            keys_[partial];
        }
        return newHandle(full, platform::kKeyAllAccess);
    }

    platform::RegKey openKey(platform::RegKey parent, const std::string& path,
                             std::uint32_t access) override {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string full;
        if (failOpen || !resolve(parent, path, full) || !keys_.count(full))
            return platform::kNoKey;
        return newHandle(full, access);
    }

    void closeKey(platform::RegKey key) override {
        std::lock_guard<std::mutex> lock(mutex_);
        handles_.erase(key);
    }

    bool subkeyNames(platform::RegKey, std::vector<std::string>&) override { return false; }
    bool valueNames(platform::RegKey, std::vector<std::string>&) override { return false; }

    bool queryValue(platform::RegKey key, const std::string& name,
                    platform::RegValue& out) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto h = handles_.find(key);
        if (h == handles_.end()) return false;
        const auto& values = keys_[h->second.path];
        const auto v = values.find(lower(name));
        if (v == values.end()) return false;
        out = v->second;
        return true;
    }

    bool setValue(platform::RegKey key, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto h = handles_.find(key);
        if (failWrites || h == handles_.end() || h->second.access != platform::kKeyAllAccess)
            return false;
        keys_[h->second.path][lower(name)] = platform::RegValue{type, data};
        return true;
    }

    bool deleteValue(platform::RegKey key, const std::string& name) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto h = handles_.find(key);
        if (failWrites || h == handles_.end() || h->second.access != platform::kKeyAllAccess)
            return false;
        return keys_[h->second.path].erase(lower(name)) > 0;
    }

    bool deleteKey(platform::RegKey, const std::string&) override { return false; }

    // Test helpers working on HKEY_CURRENT_USER paths directly.
    void put(const std::string& keyPath, const std::string& name, std::uint32_t type,
             const std::string& data) {
        std::lock_guard<std::mutex> lock(mutex_);
        keys_[lower(join("hkcu", keyPath))][lower(name)] = platform::RegValue{type, data};
    }
    bool get(const std::string& keyPath, const std::string& name, platform::RegValue& out) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto k = keys_.find(lower(join("hkcu", keyPath)));
        if (k == keys_.end()) return false;
        const auto v = k->second.find(lower(name));
        if (v == k->second.end()) return false;
        out = v->second;
        return true;
    }
    bool keyExists(const std::string& keyPath) {
        std::lock_guard<std::mutex> lock(mutex_);
        return keys_.count(lower(join("hkcu", keyPath))) > 0;
    }
    std::size_t openHandles() {
        std::lock_guard<std::mutex> lock(mutex_);
        return handles_.size();
    }

private:
    struct Handle {
        std::string path;
        std::uint32_t access;
    };

    static std::string lower(std::string s) {
        for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }
    static std::vector<std::string> split(const std::string& path) {
        std::vector<std::string> parts;
        std::string part;
        for (char c : path + "\\") {
            if (c != '\\') {
                part += c;
            } else if (!part.empty()) {
                parts.push_back(part);
                part.clear();
            }
        }
        return parts;
    }
    static std::string join(const std::string& base, const std::string& path) {
        std::string full = base;
        for (const auto& part : split(path)) full += "\\" + part;
        return full;
    }
    bool resolve(platform::RegKey parent, const std::string& path, std::string& full) {
        std::string base;
        if (parent == root(platform::RootKey::CurrentUser)) {
            base = "hkcu";
        } else if (parent >= 0x80000000u && parent <= 0x80000004u) {
            base = "root" + std::to_string(parent - 0x80000000u);
        } else {
            const auto h = handles_.find(parent);
            if (h == handles_.end()) return false;
            base = h->second.path;
        }
        full = lower(join(base, path));
        return true;
    }
    platform::RegKey newHandle(const std::string& path, std::uint32_t access) {
        const platform::RegKey key = nextHandle_++;
        handles_[key] = Handle{path, access};
        return key;
    }

    std::mutex mutex_;
    std::map<std::string, std::map<std::string, platform::RegValue>> keys_;
    std::map<platform::RegKey, Handle> handles_;
    platform::RegKey nextHandle_ = 0x100;
};

inline std::string dword(std::uint32_t n) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = char((n >> (8 * i)) & 0xFF);
    return data;
}

}  // namespace cindral::test
