// The REGEDIT4 text format, as the registry editor exports it: a "REGEDIT4"
// line, then one "[ROOT\key\path]" section per key with its values:
//   "name"="text"        REG_SZ holding one terminating NUL and no line break
//   @="text"             the default (empty-name) value
//   "name"=dword:0000002a REG_DWORD of exactly 4 bytes
//   "name"=hex:01,02     REG_BINARY
//   "name"=hex(N):..     any other type N (hexadecimal), also REG_SZ data
//                        that is not a plain NUL-terminated text
// Names and texts escape "\" and '"' with a backslash. Long hex data goes on
// continuation lines ending in "\". Lines end in CR LF; LF alone is read too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cindral::platform::regedit4 {

struct Value {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

struct Key {
    int root = -1;                  // index into rootNames()
    std::vector<std::string> path;  // components below the root
    std::vector<Value> values;
};

struct Document {
    std::vector<Key> keys;  // in file order; a key may appear more than once
    // One text per line that could not be used ("line 7: ..."); empty for a
    // well-formed file.
    std::vector<std::string> problems;
};

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
// "HKEY_USERS", "HKEY_CURRENT_CONFIG", in the order of platform::RootKey.
const std::vector<std::string>& rootNames();

// Never fails: what cannot be read is listed in `problems` and skipped.
Document parse(const std::string& text);

// Pieces of a file, each ending in CR LF.
std::string fileHeader();  // "REGEDIT4" and an empty line
std::string sectionLine(int root, const std::vector<std::string>& path);
std::string valueLines(const Value& value);

}  // namespace cindral::platform::regedit4
