// File times as local SYSTEMTIME fields on Linux.
#ifndef _WIN32

#include "platform/posix/local_time.h"

#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>

#include "support/scoped_env.h"

namespace cindral::platform {
namespace {

// File times go through a cached UTC offset per quarter hour; it must agree
// with localtime_r across daylight-saving changes, in zones with odd offsets.
TEST(LocalTimeConverterTest, AgreesWithLocaltimeAcrossDaylightSavingChanges) {
    for (const char* zone :
         {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Kathmandu"}) {
        test::ScopedEnv tz("TZ", zone);
        LocalTimeConverter converter;
        // Two years around the 2024 changes, in steps that are no divisor of
        // a quarter hour, plus times before 1970.
        for (std::int64_t t = 1704067200 - 86400 * 400; t < 1704067200 + 86400 * 400; t += 3593) {
            for (std::int64_t s : {t, -t / 3}) {
                const SystemTime got = converter.convert(s, 123456789);
                const time_t tt = static_cast<time_t>(s);
                struct tm tm;
                ASSERT_NE(::localtime_r(&tt, &tm), nullptr);
                const int want[] = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday,
                                    tm.tm_hour,        tm.tm_min,     tm.tm_sec,  123};
                const int have[] = {got.year, got.month,  got.day,    got.dayOfWeek,
                                    got.hour, got.minute, got.second, got.milliseconds};
                ASSERT_TRUE(std::equal(want, want + 8, have)) << zone << " " << s;
            }
        }
    }
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
