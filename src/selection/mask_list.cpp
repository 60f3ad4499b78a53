#include "selection/mask_list.h"

#include "selection/line_file.h"

namespace cindral::selection {

std::string DeleteMaskQuestion(const std::string& mask) {
    return "Are you sure you want to delete mask \"" + mask + "\"?";
}

std::string DeleteRecordQuestion(const std::string& title) {
    return "Are you sure you want to delete \"" + title + "\"?";
}

std::vector<std::string> ReadMasksForRun(platform::Files& files, const std::string& path) {
    std::vector<std::string> lines;
    readLineFile(files, path, LineRules::Run, lines);
    return lines;
}

}  // namespace cindral::selection
