// Custom record lines ("title;target;action;name;check;") and their fields.
#include "fuzz_platform.h"
#include "selection/custom_record_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral::selection;
    const std::string line(reinterpret_cast<const char*>(data), size);
    for (int n = 0; n <= 6; ++n) RecordField(line, n);
    ReadLeadingInteger(line);
    IsRecordEnabled(line);
    RecordRowOf(line);
    for (const bool checked : {true, false}) {
        std::string marked = line;
        SetRecordCheck(marked, checked);
        IsRecordChecked(marked);
    }
    return 0;
}
