// Registry services on the advapi32 calls themselves.
#include <windows.h>

#include <cctype>
#include <mutex>
#include <set>
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

// A 32-bit program on 64-bit Windows sees HKEY_LOCAL_MACHINE\Software
// through the 32-bit view, where the system's own settings are copies (or
// absent) kept for 32-bit programs. The system's settings - every key
// outside "Software" and every key under "Software\Microsoft" - are opened
// in the 64-bit view instead, so what is cleaned there is what the system
// uses. Other vendors' keys under "Software" stay in the view their 32-bit
// programs write to. HKEY_CURRENT_USER is the same in both views.
bool namesSystemSettings(const std::string& path) {
    std::string lower;
    for (char c : path) lower.push_back(char(std::tolower(static_cast<unsigned char>(c))));
    const std::size_t start = lower.find_first_not_of('\\');
    if (start == std::string::npos) return false;  // the root itself
    lower.erase(0, start);
    const auto under = [&](const std::string& key) {
        return lower.compare(0, key.size(), key) == 0 &&
               (lower.size() == key.size() || lower[key.size()] == '\\');
    };
    return !under("software") || under("software\\microsoft");
}

// True for a 32-bit process on 64-bit Windows. IsWow64Process is looked up
// because the first Windows XP releases lack it (and run no 64-bit Windows).
bool runsUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto isWow64 = kernel ? reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void (*)()>(
                                GetProcAddress(kernel, "IsWow64Process")))
                          : nullptr;
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
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
    Win32Registry() : wow64_(runsUnderWow64()) {
        // RegDeleteKey always works in the process's own view; the call that
        // takes a view is there on every 64-bit Windows (XP x64 on).
        HMODULE advapi = wow64_ ? GetModuleHandleA("advapi32.dll") : nullptr;
        if (advapi)
            deleteKeyEx_ = reinterpret_cast<DeleteKeyExFn>(
                reinterpret_cast<void (*)()>(GetProcAddress(advapi, "RegDeleteKeyExA")));
    }

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
        const REGSAM view = viewFor(parent, path);
        HKEY key = nullptr;
        DWORD disposition = 0;
        LONG rc = RegCreateKeyExA(toHkey(parent), path.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | view, nullptr, &key, &disposition);
        return rc == ERROR_SUCCESS ? opened(key, view) : kNoKey;
    }

    RegKey openKey(RegKey parent, const std::string& path, std::uint32_t access) override {
        if (parent == kNoKey) return kNoKey;
        const REGSAM view = viewFor(parent, path);
        HKEY key = nullptr;
        LONG rc = RegOpenKeyExA(toHkey(parent), path.c_str(), 0, access | view, &key);
        return rc == ERROR_SUCCESS ? opened(key, view) : kNoKey;
    }

    void closeKey(RegKey key) override {
        if (key == kNoKey || isPredefined(key)) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            wideView_.erase(key);
        }
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
        const REGSAM view = viewFor(parent, path);
        if (view == 0) return RegDeleteKeyA(toHkey(parent), path.c_str()) == ERROR_SUCCESS;
        return deleteKeyEx_ && deleteKeyEx_(toHkey(parent), path.c_str(), view, 0) == ERROR_SUCCESS;
    }

private:
    using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);

    // The view flag for a key below `parent`: the 64-bit view for the
    // system's settings under HKEY_LOCAL_MACHINE and for every key below one
    // opened in that view (each call names its view; a handle does not pass
    // it on).
    REGSAM viewFor(RegKey parent, const std::string& path) {
        if (!wow64_) return 0;
        if (toHkey(parent) == HKEY_LOCAL_MACHINE)
            return namesSystemSettings(path) ? KEY_WOW64_64KEY : 0;
        std::lock_guard<std::mutex> lock(mutex_);
        return wideView_.count(parent) != 0 ? KEY_WOW64_64KEY : 0;
    }

    RegKey opened(HKEY key, REGSAM view) {
        const RegKey handle = fromHkey(key);
        if (view != 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            wideView_.insert(handle);
        }
        return handle;
    }

    const bool wow64_;
    DeleteKeyExFn deleteKeyEx_ = nullptr;
    // The keys open in the 64-bit view. The run worker and the window's
    // thread both open keys, hence the lock.
    std::mutex mutex_;
    std::set<RegKey> wideView_;
};

}  // namespace

std::unique_ptr<Registry> createRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace cindral::platform::win32
