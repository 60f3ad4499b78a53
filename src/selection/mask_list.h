// Drive-scan masks: one mask a line, each line used unchanged (blanks
// included), in file order.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "selection/line_list.h"

namespace cindral::selection {

class MaskList : public LineList {};

// The question the dialog asks before deleting a mask.
std::string DeleteMaskQuestion(const std::string& mask);
// The question the custom list pages ask before deleting a record.
std::string DeleteRecordQuestion(const std::string& title);

// The masks a run hands to the drive scan, read by the runs' line rules.
std::vector<std::string> ReadMasksForRun(platform::Files& files, const std::string& path);

}  // namespace cindral::selection
