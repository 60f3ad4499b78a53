// Registry services on the advapi32 calls themselves.
#include <windows.h>

#include <vector>

#include "platform/win32/win32_backends.h"

namespace cindral::platform::win32 {
namespace {

HKEY toHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey fromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

bool isPredefined(RegKey key) {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                      HKEY_CURRENT_CONFIG}) {
        if (toHkey(key) == root) return true;
    }
    return false;
}

// Key names are at most 255 characters and value names 16383; the buffers
// start small and grow when a name does not fit, so an unusually long name
// is still listed instead of ending the enumeration.
constexpr DWORD kFirstNameBuffer = 256;
constexpr DWORD kLargestNameBuffer = 65536;

template <typename EnumFn>
bool enumerateNames(EnumFn enumAt, std::vector<std::string>& names) {
    names.clear();
    std::vector<char> buffer(kFirstNameBuffer);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG rc = enumAt(index, buffer.data(), &length);
        while (rc == ERROR_MORE_DATA && buffer.size() < kLargestNameBuffer) {
            buffer.resize(buffer.size() * 2);
            length = static_cast<DWORD>(buffer.size());
            rc = enumAt(index, buffer.data(), &length);
        }
        if (rc == ERROR_NO_MORE_ITEMS) return true;
        if (rc != ERROR_SUCCESS) return false;
        names.emplace_back(buffer.data(), length);
    }
}

class Win32Registry : public Registry {
public:
    RegKey root(RootKey which) override {
        switch (which) {
            case RootKey::ClassesRoot:
                return fromHkey(HKEY_CLASSES_ROOT);
            case RootKey::CurrentUser:
                return fromHkey(HKEY_CURRENT_USER);
            case RootKey::LocalMachine:
                return fromHkey(HKEY_LOCAL_MACHINE);
            case RootKey::Users:
                return fromHkey(HKEY_USERS);
            case RootKey::CurrentConfig:
                return fromHkey(HKEY_CURRENT_CONFIG);
        }
        return kNoKey;
    }

    RegKey createKey(RegKey parent, const std::string& path) override {
        if (parent == kNoKey) return kNoKey;
        HKEY key = nullptr;
        DWORD disposition = 0;
        LONG rc = RegCreateKeyExA(toHkey(parent), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, &disposition);
        return rc == ERROR_SUCCESS ? fromHkey(key) : kNoKey;
    }

    RegKey openKey(RegKey parent, const std::string& path, std::uint32_t access) override {
        if (parent == kNoKey) return kNoKey;
        HKEY key = nullptr;
        LONG rc = RegOpenKeyExA(toHkey(parent), path.c_str(), 0, access, &key);
        return rc == ERROR_SUCCESS ? fromHkey(key) : kNoKey;
    }

    void closeKey(RegKey key) override {
        if (key == kNoKey || isPredefined(key)) return;
        RegCloseKey(toHkey(key));
    }

    bool subkeyNames(RegKey key, std::vector<std::string>& names) override {
        names.clear();
        if (key == kNoKey) return false;
        return enumerateNames(
            [&](DWORD index, char* buffer, DWORD* length) {
                return RegEnumKeyExA(toHkey(key), index, buffer, length, nullptr, nullptr, nullptr,
                                     nullptr);
            },
            names);
    }

    bool valueNames(RegKey key, std::vector<std::string>& names) override {
        names.clear();
        if (key == kNoKey) return false;
        return enumerateNames(
            [&](DWORD index, char* buffer, DWORD* length) {
                return RegEnumValueA(toHkey(key), index, buffer, length, nullptr, nullptr, nullptr,
                                     nullptr);
            },
            names);
    }

    bool queryValue(RegKey key, const std::string& name, RegValue& out) override {
        if (key == kNoKey) return false;
        // The first call sizes the data; the value may grow between the two
        // calls, in which case the size is asked again.
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD type = 0;
            DWORD size = 0;
            LONG rc = RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &type, nullptr, &size);
            if (rc != ERROR_SUCCESS) return false;
            std::vector<BYTE> data(size + 1);
            DWORD got = size;
            rc = RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &type, data.data(), &got);
            if (rc == ERROR_MORE_DATA) continue;
            if (rc != ERROR_SUCCESS) return false;
            out.type = type;
            out.data.assign(reinterpret_cast<const char*>(data.data()), got);
            return true;
        }
        return false;
    }

    bool setValue(RegKey key, const std::string& name, std::uint32_t type,
                  const std::string& data) override {
        if (key == kNoKey) return false;
        return RegSetValueExA(toHkey(key), name.c_str(), 0, type,
                              reinterpret_cast<const BYTE*>(data.data()),
                              static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }

    bool deleteValue(RegKey key, const std::string& name) override {
        if (key == kNoKey) return false;
        return RegDeleteValueA(toHkey(key), name.c_str()) == ERROR_SUCCESS;
    }

    bool deleteKey(RegKey parent, const std::string& path) override {
        // An empty path would make RegDeleteKey remove the parent key itself;
        // this call only ever removes one named subkey.
        if (parent == kNoKey || path.empty()) return false;
        return RegDeleteKeyA(toHkey(parent), path.c_str()) == ERROR_SUCCESS;
    }
};

}  // namespace

std::unique_ptr<Registry> createRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace cindral::platform::win32
