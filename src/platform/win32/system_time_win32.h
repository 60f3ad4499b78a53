// SYSTEMTIME to the portable SystemTime, field by field.
#pragma once

#include <windows.h>

#include "platform/types.h"

namespace cindral::platform {

inline SystemTime fromSystemTime(const SYSTEMTIME& st) {
    SystemTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.dayOfWeek = st.wDayOfWeek;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.milliseconds = st.wMilliseconds;
    return t;
}

}  // namespace cindral::platform
