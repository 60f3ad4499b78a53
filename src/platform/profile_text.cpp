#include "platform/profile_text.h"

#include <cstdint>
#include <vector>

#include "platform/ascii_case.h"

namespace cindral::platform::profile_text {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

namespace {

// Names and values are C strings in the Win32 functions.
std::string cutAtNul(std::string s) {
    const auto nul = s.find('\0');
    if (nul != std::string::npos) s.erase(nul);
    return s;
}

enum class LineKind { Blank, Section, Key };

struct Line {
    std::size_t begin = 0;       // first byte
    std::size_t contentEnd = 0;  // before the line end
    std::size_t end = 0;         // after the line end
    LineKind kind = LineKind::Blank;
    std::string name;  // section or key name, trimmed
    bool hasValue = false;
    std::string value;  // trimmed
};

struct Section {
    std::string name;
    std::size_t firstLine = 0;  // the header, or the first line of the nameless section
    std::size_t endLine = 0;    // one past its last line
    bool hasHeader = false;
};

struct Parsed {
    std::size_t textStart = 0;  // after a byte-order mark
    std::vector<Line> lines;
    std::vector<Section> sections;  // sections[0] is the nameless one
};

void classify(const std::string& text, Line& line) {
    std::string content = text.substr(line.begin, line.contentEnd - line.begin);
    std::size_t start = 0;
    while (start < content.size() && isBlank(content[start])) ++start;
    if (start == content.size()) return;
    if (content[start] == '[') {
        const auto close = content.rfind(']');
        if (close != std::string::npos && close > start) {
            line.kind = LineKind::Section;
            line.name = cutAtNul(trim(content.substr(start + 1, close - start - 1)));
            return;
        }
    }
    line.kind = LineKind::Key;
    const auto eq = content.find('=', start);
    if (eq == std::string::npos) {
        line.name = cutAtNul(trim(content.substr(start)));
        return;
    }
    line.name = cutAtNul(trim(content.substr(start, eq - start)));
    line.hasValue = true;
    line.value = trim(content.substr(eq + 1));
}

Parsed parse(const std::string& text) {
    Parsed p;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) p.textStart = 3;
    std::size_t pos = p.textStart;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n') ++pos;
        line.contentEnd = pos;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n' &&
            (pos == line.contentEnd || text[pos - 1] == '\r')) {
            ++pos;
        }
        line.end = pos;
        classify(text, line);
        p.lines.push_back(std::move(line));
    }
    Section top;
    p.sections.push_back(top);
    for (std::size_t i = 0; i < p.lines.size(); ++i) {
        if (p.lines[i].kind != LineKind::Section) continue;
        p.sections.back().endLine = i;
        Section s;
        s.name = p.lines[i].name;
        s.firstLine = i;
        s.hasHeader = true;
        p.sections.push_back(s);
    }
    p.sections.back().endLine = p.lines.size();
    return p;
}

const Section* findSection(const Parsed& p, const std::string& name) {
    for (const Section& s : p.sections) {
        if (equalAsciiNoCase(s.name, name)) return &s;
    }
    return nullptr;
}

// Index of the first key line of the section with that name, or -1.
long findKey(const Parsed& p, const Section& s, const std::string& name) {
    for (std::size_t i = s.firstLine; i < s.endLine; ++i) {
        const Line& line = p.lines[i];
        if (line.kind == LineKind::Key && equalAsciiNoCase(line.name, name)) return long(i);
    }
    return -1;
}

// The copy into the caller's buffer: a matching pair of quotes is removed,
// and at most size - 1 characters are kept. The closing quote is dropped as
// the last character kept whenever the unquoted text nearly fits, exactly as
// the Win32 function does (it then loses one character of a value of
// size - 1 characters).
std::string copyEntry(const std::string& raw, std::size_t size) {
    if (size == 0) return std::string();
    const std::string v = cutAtNul(raw);
    bool quoted = v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
    const std::string rest = quoted ? v.substr(1) : v;
    std::string out = rest.substr(0, size - 1);
    if (quoted && size >= rest.size() && !out.empty()) out.pop_back();
    return out;
}

std::string defaultValue(const std::string& def) {
    std::string d = cutAtNul(def);
    // Trailing spaces go, but never the first character.
    std::size_t e = d.size();
    while (e > 1 && d[e - 1] == ' ') --e;
    d.erase(e);
    return d;
}

bool lookup(const std::string* file, const std::string& section, const std::string& key,
            std::string& value) {
    if (!file) return false;
    const Parsed p = parse(*file);
    const Section* s = findSection(p, cutAtNul(trim(section)));
    if (!s) return false;
    const long i = findKey(p, *s, cutAtNul(trim(key)));
    if (i < 0 || !p.lines[std::size_t(i)].hasValue) return false;
    value = p.lines[std::size_t(i)].value;
    return true;
}

}  // namespace

std::string readString(const std::string* file, const std::string& section, const std::string& key,
                       const std::string& def, std::size_t bufferSize) {
    std::string value;
    if (lookup(file, section, key, value)) return copyEntry(value, bufferSize);
    return copyEntry(defaultValue(def), bufferSize);
}

std::vector<KeyLine> sectionKeys(const std::string& file, const std::string& section) {
    std::vector<KeyLine> keys;
    const Parsed p = parse(file);
    const Section* s = findSection(p, cutAtNul(trim(section)));
    if (!s) return keys;
    for (std::size_t i = s->firstLine; i < s->endLine; ++i) {
        const Line& line = p.lines[i];
        if (line.kind == LineKind::Key) keys.push_back({line.name, line.hasValue, i + 1});
    }
    return keys;
}

std::size_t sectionCount(const std::string& file, const std::string& section) {
    const Parsed p = parse(file);
    const std::string name = cutAtNul(trim(section));
    std::size_t count = 0;
    for (const Section& s : p.sections) count += s.hasHeader && equalAsciiNoCase(s.name, name);
    return count;
}

int profileTextToInt(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < n && text[i] == '0') {
        const char p = text[i + 1];
        if (p == 'b' || p == 'o' || p == 'x') {
            base = p == 'b' ? 2 : p == 'o' ? 8 : 16;
            i += 2;
        }
    }
    std::uint32_t total = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (c >= 'a' && c <= 'z')
            digit = unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z')
            digit = unsigned(c - 'A' + 10);
        else
            break;
        if (digit >= base) break;
        total = total * base + digit;
    }
    if (negative) total = 0u - total;
    return total > 0x7FFFFFFFu ? -int(~total) - 1 : int(total);
}

int readInt(const std::string* file, const std::string& section, const std::string& key, int def) {
    // The Win32 function reads the text into a buffer of 30 characters.
    const std::string text = readString(file, section, key, std::string(), 30);
    if (text.empty()) return def;
    return profileTextToInt(text);
}

std::string writeString(const std::string* file, const std::string& section, const std::string& key,
                        const std::string& value, bool& changed) {
    std::string text = file ? *file : std::string();
    const std::string sectionName = cutAtNul(trim(section));
    const std::string keyName = cutAtNul(trim(key));
    std::string v = cutAtNul(value);
    std::size_t lead = 0;
    while (lead < v.size() && isBlank(v[lead])) ++lead;
    v.erase(0, lead);

    changed = true;
    const Parsed p = parse(text);
    const Section* s = findSection(p, sectionName);
    if (!s) {
        if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
        text += "[" + sectionName + "]\r\n" + keyName + "=" + v + "\r\n";
        return text;
    }
    const long found = findKey(p, *s, keyName);
    if (found >= 0) {
        const Line& line = p.lines[std::size_t(found)];
        if (line.hasValue && line.value == v) {
            changed = false;
            return text;
        }
        text.replace(line.begin, line.end - line.begin, line.name + "=" + v + "\r\n");
        return text;
    }
    // After the last non-empty line of the section, so blank lines that
    // separate it from the next section stay after it.
    std::size_t at = s->hasHeader ? p.lines[s->firstLine].end : p.textStart;
    bool needLineEnd = false;
    for (std::size_t i = s->firstLine; i < s->endLine; ++i) {
        if (p.lines[i].kind == LineKind::Blank) continue;
        at = p.lines[i].end;
        needLineEnd = p.lines[i].end == p.lines[i].contentEnd;
    }
    text.insert(at, (needLineEnd ? "\r\n" : "") + keyName + "=" + v + "\r\n");
    return text;
}

}  // namespace cindral::platform::profile_text
