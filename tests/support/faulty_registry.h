// A Registry that passes every call to another one, counts the keys left
// open and fails the calls a test chooses (by kind, key path or value name,
// or access mask). A derived double can move key paths elsewhere by
// overriding route().
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace cindral::test {

enum class RegOp { Create, Open, List, Query, Set, DeleteValue, DeleteKey };

struct RegCall {
    RegOp op;
    std::string name;          // the key path, or the value name
    std::uint32_t access = 0;  // Open only
};

class FaultyRegistry : public platform::Registry {
public:
    using RegKey = platform::RegKey;
    explicit FaultyRegistry(platform::Registry& inner) : inner_(inner) {}

    std::function<bool(const RegCall&)> fails;

    void failOps(std::set<RegOp> ops) {
        fails = [ops](const RegCall& c) { return ops.count(c.op) != 0; };
    }
    std::size_t openHandles() const { return open_.size(); }

    RegKey root(platform::RootKey which) override { return inner_.root(which); }
    RegKey createKey(RegKey parent, const std::string& path) override {
        if (fault({RegOp::Create, path})) return platform::kNoKey;
        std::string p = path;
        route(parent, p);
        return counted(inner_.createKey(parent, p));
    }
    RegKey openKey(RegKey parent, const std::string& path, std::uint32_t access) override {
        if (fault({RegOp::Open, path, access})) return platform::kNoKey;
        std::string p = path;
        route(parent, p);
        return counted(inner_.openKey(parent, p, access));
    }
    void closeKey(RegKey key) override {
        open_.erase(key);
        inner_.closeKey(key);
    }
    bool subkeyNames(RegKey key, std::vector<std::string>& out) override {
        return !fault({RegOp::List, ""}) && inner_.subkeyNames(key, out);
    }
    bool valueNames(RegKey key, std::vector<std::string>& out) override {
        return !fault({RegOp::List, ""}) && inner_.valueNames(key, out);
    }
    bool queryValue(RegKey key, const std::string& name, platform::RegValue& out) override {
        return !fault({RegOp::Query, name}) && inner_.queryValue(key, name, out);
    }
    bool setValue(RegKey key, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        return !fault({RegOp::Set, name}) && inner_.setValue(key, name, type, data);
    }
    bool deleteValue(RegKey key, const std::string& name) override {
        return !fault({RegOp::DeleteValue, name}) && inner_.deleteValue(key, name);
    }
    bool deleteKey(RegKey parent, const std::string& path) override {
        if (fault({RegOp::DeleteKey, path})) return false;
        std::string p = path;
        route(parent, p);
        return inner_.deleteKey(parent, p);
    }

protected:
    // Where a key path below `parent` really goes; unchanged here.
    virtual void route(RegKey& /*parent*/, std::string& /*path*/) {}

    platform::Registry& inner_;

private:
    bool fault(const RegCall& call) { return fails && fails(call); }
    RegKey counted(RegKey key) {
        if (key != platform::kNoKey) open_.insert(key);
        return key;
    }

    std::set<RegKey> open_;
};

}  // namespace cindral::test
