// Custom registry and custom folder records: one record a line, five fields
// each followed by ";" (title; key or folder; action; value or file name;
// check;). Nothing is quoted: a ";" inside a field ends it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "selection/line_list.h"

namespace cindral::selection {

// The action choices of the two dialog pages, in stored order ("0" first).
extern const char* const kRegistryActionChoices[4];
extern const char* const kFolderActionChoices[3];

// Field n (1 to 5): the text after the (n-1)-th ";" up to the n-th. A field
// that no ";" closes is empty, and so is any n outside 1 to 5.
std::string RecordField(const std::string& line, int n);

// An optional "+" or "-", then decimal digits up to the first other
// character; 0 without digits (a leading blank included). Values beyond the
// 32-bit range saturate instead of wrapping, so no long digit run can come
// out as 1.
std::int32_t ReadLeadingInteger(const std::string& text);

// The rebuild's and the run's rule: field 5 reads as exactly 1.
bool IsRecordEnabled(const std::string& line);
// The dialog's rule: field 5 reads as any number but 0.
bool IsRecordChecked(const std::string& line);

// The line the dialog's Add builds: title;target;action;name;1;
std::string MakeRecordLine(const std::string& title, const std::string& target, int action,
                           const std::string& name);

// Sets the check field of one line: the text after the fourth ";" up to the
// next becomes "1" or "0", so every reader takes the mark as set. A line with
// fewer than four ";" before its first lone LF is left as it is; a fifth
// field without its closing ";" there is given one.
void SetRecordCheck(std::string& line, bool checked);

// What a row of the dialog's list shows of a line.
struct RecordRow {
    std::string title;   // field 1
    std::string target;  // field 2: registry key or folder
    std::string name;    // field 4: value name or file name
    int action = 0;      // field 3 as a number
    bool checked = false;
};
RecordRow RecordRowOf(const std::string& line);

// The list behind a dialog page (CustomRegistry.dat or CustomFolder.dat).
class CustomRecordList : public LineList {
public:
    std::vector<RecordRow> rows() const;
    // Del on row i: removes the record line i shows. A lone LF stays inside
    // a line here, but the runs (and the item queue) take it as a line end:
    // the records after it are theirs, though no row shows them, so only
    // the text up to the first lone LF goes. False when there is no line.
    bool removeRecord(std::size_t position);
    // Applies the dialog's check marks to the lines that exist: row i to
    // line i; rows beyond the list are ignored. Only a line whose mark
    // reads otherwise is changed, so a hand-written "2" (checked in the
    // dialog, not taken by the runs) stays until its row is toggled.
    // True when a line changed.
    bool applyChecks(const std::vector<bool>& checks);
};

// The dialog's write-back of its check marks: reload the file, apply the
// marks, save when a line changed. False when the file could not be written
// (it is unchanged), and when a mark could not be stored because its line
// has no check field: either way the rows no longer show the file.
bool WriteBackChecks(platform::Files& files, const std::string& path,
                     const std::vector<bool>& checks);

// Records whose fifth field reads as exactly 1, read by the runs' line rules;
// 0 for a missing file. The item-queue rebuild reads the same way, so the
// number of custom rows always matches what a run counts.
int CountCheckedRecords(platform::Files& files, const std::string& path);

// Titles of the records CountCheckedRecords counts, in file order.
std::vector<std::string> EnabledRecordTitles(platform::Files& files, const std::string& path);

}  // namespace cindral::selection
