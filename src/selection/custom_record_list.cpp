#include "selection/custom_record_list.h"

#include <algorithm>
#include <limits>

#include "selection/line_file.h"

namespace cindral::selection {

const char* const kRegistryActionChoices[4] = {"[1] Delete All Registry Values",
                                               "[2] Delete All Values in Subkeys",
                                               "[3] Delete All Subkeys", "[4] Delete Value"};
const char* const kFolderActionChoices[3] = {"[1] Delete All Files in Folder",
                                             "[2] Delete All Files in Folder & Subfolders",
                                             "[3] Delete File"};

std::string RecordField(const std::string& line, int n) {
    if (n < 1 || n > 5) return {};
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const std::size_t sep = line.find(';', start);
        if (sep == std::string::npos) return {};
        start = sep + 1;
    }
    const std::size_t end = line.find(';', start);
    if (end == std::string::npos) return {};
    return line.substr(start, end - start);
}

std::int32_t ReadLeadingInteger(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    const std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return value >= limit ? std::numeric_limits<std::int32_t>::max()
                          : static_cast<std::int32_t>(value);
}

bool IsRecordEnabled(const std::string& line) {
    return ReadLeadingInteger(RecordField(line, 5)) == 1;
}

bool IsRecordChecked(const std::string& line) {
    return ReadLeadingInteger(RecordField(line, 5)) != 0;
}

std::string MakeRecordLine(const std::string& title, const std::string& target, int action,
                           const std::string& name) {
    return title + ";" + target + ";" + std::to_string(action) + ";" + name + ";1;";
}

void SetRecordCheck(std::string& line, bool checked) {
    // The runs end the record at a lone LF; what follows is a record of its
    // own, and a mark written there would change one of its fields.
    const std::size_t limit = std::min(line.find('\n'), line.size());
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        pos = line.find(';', pos);
        if (pos >= limit) return;
        ++pos;
    }
    // The whole field, not only its first character: a hand-written "11"
    // unchecked must not become "01", which the runs read as 1.
    const char* mark = checked ? "1" : "0";
    const std::size_t end = line.find(';', pos);
    if (end >= limit) {
        line.replace(pos, limit - pos, std::string(mark) + ";");
    } else {
        line.replace(pos, end - pos, mark);
    }
}

RecordRow RecordRowOf(const std::string& line) {
    RecordRow row;
    row.title = RecordField(line, 1);
    row.target = RecordField(line, 2);
    row.action = ReadLeadingInteger(RecordField(line, 3));
    row.name = RecordField(line, 4);
    row.checked = IsRecordChecked(line);
    return row;
}

std::vector<RecordRow> CustomRecordList::rows() const {
    std::vector<RecordRow> result;
    result.reserve(size());
    for (const auto& l : lines()) result.push_back(RecordRowOf(l));
    return result;
}

bool CustomRecordList::removeRecord(std::size_t position) {
    if (position >= size()) return false;
    std::string& text = line(position);
    const std::size_t lf = text.find('\n');
    if (lf == std::string::npos || lf + 1 == text.size()) return remove(position);
    text.erase(0, lf + 1);
    return true;
}

bool CustomRecordList::applyChecks(const std::vector<bool>& checks) {
    bool changed = false;
    for (std::size_t i = 0; i < checks.size() && i < size(); ++i) {
        if (IsRecordChecked(line(i)) == checks[i]) continue;
        const std::string before = line(i);
        SetRecordCheck(line(i), checks[i]);
        changed = changed || line(i) != before;
    }
    return changed;
}

bool WriteBackChecks(platform::Files& files, const std::string& path,
                     const std::vector<bool>& checks) {
    CustomRecordList list;
    switch (list.load(files, path)) {
        case ReadStatus::Missing:
            return true;  // no line to touch
        case ReadStatus::Unreadable:
            return false;
        case ReadStatus::Ok:
            break;
    }
    if (list.applyChecks(checks) && !list.save(files, path)) return false;
    // A line without a check field is left as it is: a mark set on its row
    // is not stored, and the row must not go on showing it.
    for (std::size_t i = 0; i < checks.size() && i < list.size(); ++i)
        if (IsRecordChecked(list.line(i)) != checks[i]) return false;
    return true;
}

std::vector<std::string> EnabledRecordTitles(platform::Files& files, const std::string& path) {
    std::vector<std::string> lines;
    readLineFile(files, path, LineRules::Run, lines);
    std::vector<std::string> titles;
    for (const auto& l : lines)
        if (IsRecordEnabled(l)) titles.push_back(RecordField(l, 1));
    return titles;
}

int CountCheckedRecords(platform::Files& files, const std::string& path) {
    return static_cast<int>(EnabledRecordTitles(files, path).size());
}

}  // namespace cindral::selection
