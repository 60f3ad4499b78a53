#include "platform/posix/registry_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "platform/ascii_case.h"
#include "platform/posix/durable_write.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/regedit4_file.h"

namespace cindral::platform {
namespace {

constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kKeyWrite = 0x20006;

// The predefined handles have the values Windows gives them.
constexpr RegKey kRootHandles[5] = {0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u,
                                    0x80000005u};

int rootIndex(RegKey key) {
    for (int i = 0; i < 5; ++i) {
        if (kRootHandles[i] == key) return i;
    }
    return -1;
}

std::string cutAtNul(const std::string& s) { return s.substr(0, s.find('\0')); }

bool hasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// The rights a handle opened with this mask has, with the generic rights
// mapped as the registry maps them.
std::uint32_t grantedRights(std::uint32_t access) {
    std::uint32_t rights = access & kKeyAllAccess;
    if (access & 0x80000000u) rights |= kKeyRead;       // GENERIC_READ
    if (access & 0x40000000u) rights |= kKeyWrite;      // GENERIC_WRITE
    if (access & 0x20000000u) rights |= kKeyRead;       // GENERIC_EXECUTE
    if (access & 0x10000000u) rights |= kKeyAllAccess;  // GENERIC_ALL
    if (access & 0x02000000u) rights |= kKeyAllAccess;  // MAXIMUM_ALLOWED
    return rights;
}

// Splits a key path; false for a path that starts with "\" or names a key
// that cannot be stored.
bool splitPath(const std::string& path, std::vector<std::string>& parts) {
    parts.clear();
    const std::string p = cutAtNul(path);
    if (!p.empty() && p[0] == '\\') return false;
    std::size_t pos = 0;
    for (;;) {
        const auto sep = p.find('\\', pos);
        std::string part = p.substr(pos, sep == std::string::npos ? std::string::npos : sep - pos);
        if (hasLineBreak(part)) return false;
        if (!part.empty()) parts.push_back(std::move(part));
        if (sep == std::string::npos) return true;
        pos = sep + 1;
    }
}

bool isTextType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// Creates the folder and its missing parents, for the owner only.
bool makeFolders(const std::string& folder) {
    if (folder.empty()) return true;
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const auto slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash))) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string folderOf(const std::string& file) {
    const auto slash = file.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

std::string fileNameOf(const std::string& file) { return file.substr(file.find_last_of('/') + 1); }

// The folder of the store file, created for the owner when missing.
UniqueFd openStoreFolder(const std::string& storeFile) {
    const std::string folder = folderOf(storeFile);
    if (!makeFolders(folder)) return UniqueFd();
    return UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// The advisory lock that serialises writers of one store file across
// processes; held for one read-modify-write cycle.
class StoreLock {
public:
    explicit StoreLock(const std::string& storeFile) {
        if (!makeFolders(folderOf(storeFile))) return;
        // O_NOFOLLOW: a link planted in its place must not make the lock
        // create a file wherever it points.
        fd_.reset(
            ::open((storeFile + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        while (fd_ && ::flock(fd_.get(), LOCK_EX) != 0) {
            if (errno != EINTR) fd_.reset();
        }
    }
    bool held() const { return bool(fd_); }

private:
    UniqueFd fd_;  // closing it releases the lock
};

}  // namespace

struct PosixRegistry::Node {
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const {
            const std::size_t n = a.size() < b.size() ? a.size() : b.size();
            for (std::size_t i = 0; i < n; ++i) {
                const auto ca = static_cast<unsigned char>(asciiLower(a[i]));
                const auto cb = static_cast<unsigned char>(asciiLower(b[i]));
                if (ca != cb) return ca < cb;
            }
            return a.size() < b.size();
        }
    };

    std::vector<regedit4::Value> values;  // in creation order
    std::map<std::string, std::shared_ptr<Node>, NameLess> subkeys;
    bool deleted = false;

    regedit4::Value* findValue(const std::string& name) {
        for (auto& v : values) {
            if (equalAsciiNoCase(v.name, name)) return &v;
        }
        return nullptr;
    }
    std::shared_ptr<Node> child(const std::string& name) const {
        const auto it = subkeys.find(name);
        return it == subkeys.end() ? nullptr : it->second;
    }
};

namespace {

using NodePtr = std::shared_ptr<PosixRegistry::Node>;

NodePtr walk(NodePtr node, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        if (!node) return nullptr;
        node = node->child(part);
    }
    return node;
}

void markDeleted(PosixRegistry::Node& node) {
    node.deleted = true;
    for (auto& entry : node.subkeys) markDeleted(*entry.second);
}

void writeKeys(const PosixRegistry::Node& node, int root, std::vector<std::string>& path,
               std::string& out) {
    for (const auto& entry : node.subkeys) {
        path.push_back(entry.first);
        out += regedit4::sectionLine(root, path);
        for (const auto& value : entry.second->values) out += regedit4::valueLines(value);
        out += "\r\n";
        writeKeys(*entry.second, root, path, out);
        path.pop_back();
    }
}

}  // namespace

PosixRegistry::PosixRegistry(std::string storeFile) : storeFile_(std::move(storeFile)) {
    for (auto& r : roots_) r = std::make_shared<Node>();
}

PosixRegistry::~PosixRegistry() = default;

std::vector<std::string> PosixRegistry::problems() {
    std::lock_guard<std::mutex> lock(mutex_);
    refresh();
    return problems_;
}

void PosixRegistry::refresh() {
    // The bytes are compared rather than the inode, size and time: a file
    // rewritten twice within one tick of the file system's clock can come
    // back with the same inode, size and time.
    // O_NONBLOCK: a pipe or device put where the file should be must not
    // hang the open; anything but a regular file is then refused below.
    UniqueFd fd(::open(storeFile_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        if (errno != ENOENT && errno != ENOTDIR) {
            readable_ = false;
            return;
        }
        readable_ = true;
        if (loadedOnce_ && !loadedExists_) return;
        load(std::string());
        loadedExists_ = false;
        return;
    }
    std::string bytes;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || !readAll(fd.get(), bytes)) {
        readable_ = false;
        return;
    }
    readable_ = true;
    if (loadedOnce_ && loadedExists_ && bytes == loadedBytes_) return;
    load(bytes);
    loadedExists_ = true;
}

void PosixRegistry::load(const std::string& bytes) {
    const regedit4::Document doc = regedit4::parse(bytes);
    std::shared_ptr<Node> fresh[5];
    for (auto& r : fresh) r = std::make_shared<Node>();
    for (const auto& key : doc.keys) {
        NodePtr node = fresh[key.root];
        for (const std::string& part : key.path) {
            NodePtr next = node->child(part);
            if (!next) {
                next = std::make_shared<Node>();
                node->subkeys.emplace(part, next);
            }
            node = next;
        }
        for (const auto& value : key.values) {
            if (regedit4::Value* existing = node->findValue(value.name)) {
                existing->type = value.type;
                existing->data = value.data;
            } else {
                node->values.push_back(value);
            }
        }
    }
    // Open handles follow their keys into the new tree by path; a handle
    // whose key is gone (or was deleted before) stays dead.
    std::vector<bool> alive;
    for (const auto& entry : handles_) alive.push_back(!entry.second.node->deleted);
    for (auto& r : roots_) markDeleted(*r);
    std::size_t i = 0;
    for (auto& entry : handles_) {
        if (alive[i++]) {
            if (NodePtr node = walk(fresh[entry.second.root], entry.second.path)) {
                entry.second.node = node;
            }
        }
    }
    for (int r = 0; r < 5; ++r) roots_[r] = fresh[r];
    problems_ = doc.problems;
    damaged_ = !doc.problems.empty();
    loadedBytes_ = bytes;
    loadedOnce_ = true;
}

bool PosixRegistry::backUpDamagedFile(int folder) {
    for (int n = 0; n < 100; ++n) {
        const std::string name =
            fileNameOf(storeFile_) + ".bad" + (n ? "." + std::to_string(n) : "");
        if (writeNewFile(folder, name, loadedBytes_, mode_t(0600))) return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

bool PosixRegistry::save() {
    const UniqueFd folder = openStoreFolder(storeFile_);
    if (!folder) return false;
    if (damaged_) {
        if (!backUpDamagedFile(folder.get())) return false;
        damaged_ = false;  // one copy is enough, even when this write fails
    }
    std::string text = regedit4::fileHeader();
    for (int r = 0; r < 5; ++r) {
        if (!roots_[r]->values.empty()) {
            text += regedit4::sectionLine(r, {});
            for (const auto& value : roots_[r]->values) text += regedit4::valueLines(value);
            text += "\r\n";
        }
        std::vector<std::string> path;
        writeKeys(*roots_[r], r, path, text);
    }
    // Created for the owner only, whatever the file had before.
    if (!replaceFile(folder.get(), fileNameOf(storeFile_), text, mode_t(0600))) return false;
    loadedBytes_ = text;
    loadedExists_ = true;
    damaged_ = false;
    problems_.clear();
    return true;
}

bool PosixRegistry::handleFor(RegKey key, std::uint32_t needed, Handle& out) {
    const int r = rootIndex(key);
    if (r >= 0) {
        out.node = roots_[r];
        out.root = r;
        out.path.clear();
        out.access = kKeyAllAccess;
        return true;
    }
    const auto it = handles_.find(key);
    if (it == handles_.end() || it->second.node->deleted) return false;
    if ((it->second.access & needed) != needed) return false;
    out = it->second;
    return true;
}

bool PosixRegistry::currentHandle(RegKey key, std::uint32_t needed, Handle& out) {
    refresh();
    return readable_ && handleFor(key, needed, out);
}

RegKey PosixRegistry::addHandle(Handle h) {
    RegKey id = nextHandle_;
    nextHandle_ += 4;
    if (nextHandle_ >= kRootHandles[0] && nextHandle_ <= kRootHandles[4]) nextHandle_ = 0x1000;
    while (handles_.count(id) || rootIndex(id) >= 0) id += 4;
    handles_.emplace(id, std::move(h));
    return id;
}

RegKey PosixRegistry::root(RootKey which) {
    const int i = static_cast<int>(which);
    return (i >= 0 && i < 5) ? kRootHandles[i] : kNoKey;
}

RegKey PosixRegistry::createKey(RegKey parent, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    StoreLock storeLock(storeFile_);
    Handle p;
    std::vector<std::string> parts;
    if (!storeLock.held() || !currentHandle(parent, 0, p) || !splitPath(path, parts)) return kNoKey;
    NodePtr node = p.node;
    NodePtr firstParent;  // where the first missing key was added
    std::string firstName;
    std::vector<std::string> stored = p.path;
    for (const std::string& part : parts) {
        auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) {
            if (!firstParent) {
                firstParent = node;
                firstName = part;
            }
            it = node->subkeys.emplace(part, std::make_shared<Node>()).first;
        }
        stored.push_back(it->first);
        node = it->second;
    }
    if (firstParent && !save()) {
        firstParent->subkeys.erase(firstName);
        return kNoKey;
    }
    return addHandle(Handle{node, p.root, stored, kKeyAllAccess});
}

RegKey PosixRegistry::openKey(RegKey parent, const std::string& path, std::uint32_t access) {
    std::lock_guard<std::mutex> lock(mutex_);
    Handle p;
    std::vector<std::string> parts;
    if (!currentHandle(parent, 0, p) || !splitPath(path, parts)) return kNoKey;
    // Opening a root itself gives the root's own handle, as on Windows.
    if (parts.empty() && rootIndex(parent) >= 0) return parent;
    NodePtr node = p.node;
    std::vector<std::string> stored = p.path;
    for (const std::string& part : parts) {
        const auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) return kNoKey;
        stored.push_back(it->first);
        node = it->second;
    }
    return addHandle(Handle{node, p.root, stored, grantedRights(access)});
}

void PosixRegistry::closeKey(RegKey key) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.erase(key);
}

bool PosixRegistry::subkeyNames(RegKey key, std::vector<std::string>& names) {
    names.clear();
    std::lock_guard<std::mutex> lock(mutex_);
    Handle h;
    if (!currentHandle(key, kKeyEnumerateSubKeys, h)) return false;
    for (const auto& entry : h.node->subkeys) names.push_back(entry.first);
    return true;
}

bool PosixRegistry::valueNames(RegKey key, std::vector<std::string>& names) {
    names.clear();
    std::lock_guard<std::mutex> lock(mutex_);
    Handle h;
    if (!currentHandle(key, kKeyQueryValue, h)) return false;
    for (const auto& value : h.node->values) names.push_back(value.name);
    return true;
}

bool PosixRegistry::queryValue(RegKey key, const std::string& name, RegValue& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    Handle h;
    if (!currentHandle(key, kKeyQueryValue, h)) return false;
    const regedit4::Value* value = h.node->findValue(cutAtNul(name));
    if (!value) return false;
    out.type = value->type;
    out.data = value->data;
    return true;
}

bool PosixRegistry::setValue(RegKey key, const std::string& name, std::uint32_t type,
                             const std::string& data) {
    const std::string valueName = cutAtNul(name);
    if (hasLineBreak(valueName)) return false;
    std::string bytes = data;
    // RegSetValueExA counts a terminating NUL the caller left out.
    if (isTextType(type) && !bytes.empty() && bytes.back() != '\0') bytes.push_back('\0');

    std::lock_guard<std::mutex> lock(mutex_);
    StoreLock storeLock(storeFile_);
    Handle h;
    if (!storeLock.held() || !currentHandle(key, kKeySetValue, h)) return false;
    auto& values = h.node->values;
    if (regedit4::Value* existing = h.node->findValue(valueName)) {
        if (existing->type == type && existing->data == bytes) return true;
        const regedit4::Value before = *existing;
        existing->type = type;
        existing->data = bytes;
        if (save()) return true;
        *existing = before;
        return false;
    }
    values.push_back(regedit4::Value{valueName, type, bytes});
    if (save()) return true;
    values.pop_back();
    return false;
}

bool PosixRegistry::deleteValue(RegKey key, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    StoreLock storeLock(storeFile_);
    Handle h;
    if (!storeLock.held() || !currentHandle(key, kKeySetValue, h)) return false;
    auto& values = h.node->values;
    const std::string valueName = cutAtNul(name);
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (!equalAsciiNoCase(it->name, valueName)) continue;
        const std::size_t index = std::size_t(it - values.begin());
        regedit4::Value removed = std::move(*it);
        values.erase(it);
        if (save()) return true;
        values.insert(values.begin() + long(index), std::move(removed));
        return false;
    }
    return false;
}

bool PosixRegistry::deleteKey(RegKey parent, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    StoreLock storeLock(storeFile_);
    Handle p;
    std::vector<std::string> parts;
    if (!storeLock.held() || !currentHandle(parent, 0, p) || !splitPath(path, parts) ||
        parts.empty()) {
        return false;
    }
    const std::string last = parts.back();
    parts.pop_back();
    NodePtr owner = walk(p.node, parts);
    if (!owner) return false;
    const auto it = owner->subkeys.find(last);
    if (it == owner->subkeys.end() || !it->second->subkeys.empty()) return false;
    const std::string storedName = it->first;
    NodePtr target = it->second;
    owner->subkeys.erase(it);
    if (!save()) {
        owner->subkeys.emplace(storedName, target);
        return false;
    }
    target->deleted = true;
    return true;
}

}  // namespace cindral::platform
