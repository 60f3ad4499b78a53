// Registry services: a root key, a key path and named values of type REG_SZ or
// REG_DWORD (other types are carried as raw bytes). The operations mirror the
// advapi32 calls the program makes; the Win32 backend calls them, the posix
// backend keeps a per-user store file with the same behaviour.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cindral::platform {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Registry value types used by the program (winnt.h values).
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

// Access masks as RegOpenKeyEx takes them.
constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeyQueryEnumerate = 0x20009;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// An open key. Opaque to callers; 0 is "no key". Predefined roots are keys
// too and closing one does nothing.
using RegKey = std::uintptr_t;
constexpr RegKey kNoKey = 0;

struct RegValue {
    std::uint32_t type = kRegNone;
    std::string data;  // raw bytes exactly as stored (a REG_SZ includes its NUL)
};

class Registry {
public:
    virtual ~Registry() = default;

    virtual RegKey root(RootKey which) = 0;

    // RegCreateKeyEx: no class, options 0, KEY_ALL_ACCESS; missing keys on
    // the way are created. kNoKey on any failure.
    virtual RegKey createKey(RegKey parent, const std::string& path) = 0;
    // RegOpenKeyEx with the given access mask. The path is used as given.
    virtual RegKey openKey(RegKey parent, const std::string& path, std::uint32_t access) = 0;
    virtual void closeKey(RegKey key) = 0;

    // RegEnumKeyEx / RegEnumValue until ERROR_NO_MORE_ITEMS, in the
    // registry's own order. False when the key cannot be enumerated.
    virtual bool subkeyNames(RegKey key, std::vector<std::string>& names) = 0;
    virtual bool valueNames(RegKey key, std::vector<std::string>& names) = 0;

    // RegQueryValueEx: false when the value does not exist (or the key is
    // not readable); otherwise its type and raw data.
    virtual bool queryValue(RegKey key, const std::string& name, RegValue& out) = 0;
    // RegSetValueEx with the raw data as given.
    virtual bool setValue(RegKey key, const std::string& name, std::uint32_t type,
                          const std::string& data) = 0;
    virtual bool deleteValue(RegKey key, const std::string& name) = 0;
    // RegDeleteKey: removes one subkey; like the Win32 call on NT it fails
    // when that subkey has subkeys of its own.
    virtual bool deleteKey(RegKey parent, const std::string& path) = 0;
};

// Owns an open key and closes it on destruction.
class KeyHolder {
public:
    KeyHolder() = default;
    KeyHolder(Registry& reg, RegKey key) : reg_(&reg), key_(key) {}
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;
    KeyHolder(KeyHolder&& other) noexcept : reg_(other.reg_), key_(other.key_) {
        other.key_ = kNoKey;
    }
    KeyHolder& operator=(KeyHolder&& other) noexcept {
        if (this != &other) {
            reset();
            reg_ = other.reg_;
            key_ = other.key_;
            other.key_ = kNoKey;
        }
        return *this;
    }
    ~KeyHolder() { reset(); }

    RegKey get() const { return key_; }
    explicit operator bool() const { return key_ != kNoKey; }
    void reset() {
        if (reg_ && key_ != kNoKey) reg_->closeKey(key_);
        key_ = kNoKey;
    }

private:
    Registry* reg_ = nullptr;
    RegKey key_ = kNoKey;
};

// The access functions every Part reads and writes through, built on the
// raw operations above (same semantics on every backend).

// RegCreateKeyEx with KEY_ALL_ACCESS; kNoKey on failure.
RegKey openOrCreateKey(Registry& reg, RootKey root, const std::string& path);
// A leading "\" is removed, then RegOpenKeyEx with KEY_READ.
RegKey openKeyForReading(Registry& reg, RootKey root, const std::string& path);
// As openKeyForReading, falling back to KEY_QUERY_VALUE|enumerate (0x20009)
// and then KEY_QUERY_VALUE (1) when KEY_READ is refused.
RegKey openKeyForReadingWithFallbacks(Registry& reg, RootKey root, const std::string& path);

// The stored DWORD when the value exists, is REG_DWORD and its data is
// exactly 4 bytes; the default otherwise (also for kNoKey).
std::uint32_t readNumber(Registry& reg, RegKey key, const std::string& name, std::uint32_t def);
// The REG_SZ data up to its first NUL; the default for a missing value, any
// other type, or kNoKey.
std::string readText(Registry& reg, RegKey key, const std::string& name, const std::string& def);
bool writeNumber(Registry& reg, RegKey key, const std::string& name, std::uint32_t value);
// REG_SZ with the terminating NUL counted in the data length.
bool writeText(Registry& reg, RegKey key, const std::string& name, const std::string& value);
bool valueExists(Registry& reg, RegKey key, const std::string& name);

}  // namespace cindral::platform
