#include "platform/posix/regedit4_file.h"

#include <cstdio>

#include "platform/ascii_case.h"

namespace cindral::platform::regedit4 {
namespace {

constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = asciiLower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// 1 to 8 hex digits, nothing else.
bool parseHexNumber(const std::string& s, std::uint32_t& out) {
    if (s.empty() || s.size() > 8) return false;
    out = 0;
    for (char c : s) {
        const int d = hexDigit(c);
        if (d < 0) return false;
        out = (out << 4) | std::uint32_t(d);
    }
    return true;
}

// Comma-separated bytes of one or two hex digits; blanks around them and a
// trailing comma are allowed.
bool parseHexBytes(const std::string& s, std::string& out) {
    out.clear();
    const std::string all = trim(s);
    if (all.empty()) return true;
    std::vector<std::string> items;
    std::size_t pos = 0;
    for (;;) {
        const auto comma = all.find(',', pos);
        items.push_back(
            trim(all.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos)));
        if (comma == std::string::npos) break;
        pos = comma + 1;
    }
    if (items.size() > 1 && items.back().empty()) items.pop_back();
    for (const std::string& item : items) {
        std::uint32_t byte = 0;
        if (item.size() > 2 || !parseHexNumber(item, byte)) return false;
        out.push_back(char(byte));
    }
    return true;
}

// A quoted text starting at s[pos] == '"'. On success pos is past the
// closing quote.
bool parseQuoted(const std::string& s, std::size_t& pos, std::string& out) {
    out.clear();
    ++pos;
    while (pos < s.size()) {
        const char c = s[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < s.size() && (s[pos + 1] == '\\' || s[pos + 1] == '"')) {
            out.push_back(s[pos + 1]);
            pos += 2;
            continue;
        }
        out.push_back(c);
        ++pos;
    }
    return false;
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

bool isPlainText(const std::string& data) {
    if (data.empty() || data.back() != '\0') return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c < 0x20 && c != '\t') return false;
    }
    return true;
}

bool parseSection(const std::string& line, Key& key, std::string& problem) {
    if (line.size() < 2 || line.back() != ']') {
        problem = "section without closing \"]\"";
        return false;
    }
    const std::string inner = line.substr(1, line.size() - 2);
    if (!inner.empty() && inner[0] == '-') {
        problem = "key deletion entries are not kept in a store";
        return false;
    }
    std::vector<std::string> parts;
    std::size_t pos = 0;
    for (;;) {
        const auto sep = inner.find('\\', pos);
        const std::string part =
            inner.substr(pos, sep == std::string::npos ? std::string::npos : sep - pos);
        if (!part.empty()) parts.push_back(part);
        if (sep == std::string::npos) break;
        pos = sep + 1;
    }
    const auto& roots = rootNames();
    key.root = -1;
    if (!parts.empty()) {
        for (std::size_t i = 0; i < roots.size(); ++i) {
            if (equalAsciiNoCase(parts[0], roots[i])) key.root = int(i);
        }
    }
    if (key.root < 0) {
        problem = "unknown root key";
        return false;
    }
    key.path.assign(parts.begin() + 1, parts.end());
    return true;
}

bool parseData(const std::string& text, Value& value, std::string& problem) {
    const std::string data = trim(text);
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        std::string s;
        if (!parseQuoted(data, pos, s) || pos != data.size()) {
            problem = "malformed text value";
            return false;
        }
        value.type = kSz;
        value.data = s + '\0';
        return true;
    }
    if (data.compare(0, 6, "dword:") == 0) {
        std::uint32_t n = 0;
        if (!parseHexNumber(data.substr(6), n)) {
            problem = "malformed dword value";
            return false;
        }
        value.type = kDword;
        value.data.clear();
        for (int i = 0; i < 4; ++i) value.data.push_back(char((n >> (8 * i)) & 0xFF));
        return true;
    }
    std::size_t bytesAt = 0;
    if (data.compare(0, 4, "hex:") == 0) {
        value.type = kBinary;
        bytesAt = 4;
    } else if (data.compare(0, 4, "hex(") == 0) {
        const auto close = data.find("):", 4);
        if (close == std::string::npos || !parseHexNumber(data.substr(4, close - 4), value.type)) {
            problem = "malformed hex type";
            return false;
        }
        bytesAt = close + 2;
    } else {
        problem =
            data == "-" ? "value deletion entries are not kept in a store" : "unknown value data";
        return false;
    }
    if (!parseHexBytes(data.substr(bytesAt), value.data)) {
        problem = "malformed hex data";
        return false;
    }
    return true;
}

bool parseValue(const std::string& line, Value& value, std::string& problem) {
    std::size_t pos = 0;
    if (line[0] == '@') {
        value.name.clear();
        pos = 1;
    } else if (!parseQuoted(line, pos, value.name)) {
        problem = "value name without closing quote";
        return false;
    }
    while (pos < line.size() && isSpace(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') {
        problem = "value without \"=\"";
        return false;
    }
    return parseData(line.substr(pos + 1), value, problem);
}

void addValue(Key& key, Value value, std::vector<std::string>& problems, std::size_t lineNo) {
    for (Value& existing : key.values) {
        if (equalAsciiNoCase(existing.name, value.name)) {
            problems.push_back("line " + std::to_string(lineNo) + ": value \"" + value.name +
                               "\" given twice; the later one is kept");
            existing.type = value.type;
            existing.data = std::move(value.data);
            return;
        }
    }
    key.values.push_back(std::move(value));
}

}  // namespace

const std::vector<std::string>& rootNames() {
    static const std::vector<std::string> names = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                                   "HKEY_CURRENT_CONFIG"};
    return names;
}

Document parse(const std::string& text) {
    Document doc;
    std::vector<std::string> lines;
    {
        std::size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        while (pos < text.size()) {
            auto nl = text.find('\n', pos);
            if (nl == std::string::npos) nl = text.size();
            std::string line = text.substr(pos, nl - pos);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(std::move(line));
            pos = nl + 1;
        }
    }
    bool sawHeader = false;
    Key* current = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        std::string line = trim(lines[i]);
        if (line.empty() || line[0] == ';') continue;
        auto problem = [&](const std::string& what) {
            doc.problems.push_back("line " + std::to_string(lineNo) + ": " + what);
        };
        if (!sawHeader) {
            sawHeader = true;
            if (line == "REGEDIT4") continue;
            problem("the file does not start with \"REGEDIT4\"");
        }
        if (line[0] == '[') {
            Key key;
            std::string why;
            if (!parseSection(line, key, why)) {
                problem(why);
                current = nullptr;
                continue;
            }
            doc.keys.push_back(std::move(key));
            current = &doc.keys.back();
            continue;
        }
        if (line[0] != '"' && line[0] != '@') {
            problem("not a section, value or comment");
            continue;
        }
        // Hex data continues on the next lines while a line ends in "\".
        while (line.back() == '\\' && line.find("=hex") != std::string::npos &&
               i + 1 < lines.size()) {
            line.pop_back();
            line += trim(lines[++i]);
        }
        Value value;
        std::string why;
        if (!parseValue(line, value, why)) {
            problem(why);
            continue;
        }
        if (!current) {
            problem("value outside a usable section");
            continue;
        }
        addValue(*current, std::move(value), doc.problems, lineNo);
    }
    return doc;
}

std::string fileHeader() { return "REGEDIT4\r\n\r\n"; }

std::string sectionLine(int root, const std::vector<std::string>& path) {
    std::string line = "[" + rootNames().at(std::size_t(root));
    for (const std::string& part : path) line += "\\" + part;
    return line + "]\r\n";
}

std::string valueLines(const Value& value) {
    std::string out = value.name.empty() ? "@=" : quote(value.name) + "=";
    if (value.type == kSz && isPlainText(value.data)) {
        return out + quote(value.data.substr(0, value.data.size() - 1)) + "\r\n";
    }
    if (value.type == kDword && value.data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<unsigned char>(value.data[std::size_t(i)]);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", unsigned(n));
        return out + buf + "\r\n";
    }
    if (value.type == kBinary) {
        out += "hex:";
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", unsigned(value.type));
        out += buf;
    }
    // Lines of at most 80 characters, continued as the registry editor does.
    std::size_t lineLength = out.size();
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(value.data[i]));
        out += buf;
        lineLength += 2;
        if (i + 1 < value.data.size()) {
            out += ',';
            ++lineLength;
            if (lineLength >= 76) {
                out += "\\\r\n  ";
                lineLength = 2;
            }
        }
    }
    return out + "\r\n";
}

}  // namespace cindral::platform::regedit4
