// The text rules of Windows profile (INI) files, as GetPrivateProfileStringA,
// GetPrivateProfileIntA and WritePrivateProfileStringA apply them, over the
// bytes of one file. Portable: the posix backend reads and writes files with
// them, and tests can check the rules without a file system.
//
// Reading:
// - A line ends at CR LF, LF or a lone CR. A UTF-8 byte-order mark at the
//   start of the file is skipped.
// - A line whose first non-blank character is "[" and that holds a "]" later
//   is a section header; the name lies between the "[" and the last "]" and
//   is trimmed. Lines before the first header form a section with no name.
//   When several sections share a name, only the first one is seen.
// - Any other non-empty line is a key: the name is the text before the first
//   "=" and the value the text after it, both trimmed of blanks (space, tab,
//   vertical tab, form feed, Ctrl-Z). A line without "=" is a key without a
//   value: reading it yields the default, writing replaces it. There is no
//   comment syntax: ";x=1" is the key ";x".
// - Names compare without regard to case (ASCII letters); requested names
//   are trimmed first. The first of two keys that differ only in case wins.
// - A value enclosed in a matching pair of double or single quotes loses
//   them. At most kProfileBufferSize - 1 characters are returned; a NUL byte
//   ends the value.
// - A missing file, section, key or value gives the default, whose trailing
//   spaces are removed and whose quotes are treated as a value's would be.
//
// Writing replaces the line of an existing key (keeping the stored name's
// case), inserts a new key after the last non-empty line of its section, and
// appends a new section at the end of the file. Lines that are not touched
// keep their bytes and line ends; written lines (also a replaced one) end in
// CR LF. Leading blanks of the value are dropped, as the Win32 function
// drops them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cindral::platform::profile_text {

// The blanks the profile reader strips around names and values: space, tab,
// vertical tab, form feed and the end-of-file mark (0x1A).
bool isBlank(char c);
std::string trim(const std::string& s);

// GetPrivateProfileStringA into a buffer of bufferSize bytes; `file` is null
// when the file does not exist.
std::string readString(const std::string* file, const std::string& section, const std::string& key,
                       const std::string& def, std::size_t bufferSize);

// One key line of a section, as the reader above sees it.
struct KeyLine {
    std::string name;  // trimmed
    bool hasValue = false;
    std::size_t lineNumber = 0;  // from 1
};

// The key lines of the first section called `section` (the one the reader
// uses), in file order, keys that differ only in case included. Empty when
// there is no such section. Lets a checker see keys the reader never reaches.
std::vector<KeyLine> sectionKeys(const std::string& file, const std::string& section);

// The number of sections called `section`; only the first one is read.
std::size_t sectionCount(const std::string& file, const std::string& section);

// GetPrivateProfileIntA: the value read into a 30-character buffer, then
// converted as RtlCharToInteger does with base 0 (leading blanks, one sign,
// "0x", "0o" and "0b" prefixes, digits up to the first other character,
// 32-bit wrap-around). An empty or missing value gives the default.
int readInt(const std::string* file, const std::string& section, const std::string& key, int def);

// The integer conversion of readInt on its own.
int profileTextToInt(const std::string& text);

// The new bytes of the file after WritePrivateProfileStringA; `file` is null
// when it does not exist yet. `changed` is false when the key already holds
// the value (the Win32 function then leaves the file alone).
std::string writeString(const std::string* file, const std::string& section, const std::string& key,
                        const std::string& value, bool& changed);

}  // namespace cindral::platform::profile_text
