// Sets an environment variable for one test and puts the old value back
// (POSIX only). The time zone is read again both times, for TZ.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <string>

namespace cindral::test {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name), had_(::getenv(name)) {
        if (had_) old_ = ::getenv(name);
        ::setenv(name, value, 1);
        ::tzset();
    }
    ~ScopedEnv() {
        had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_);
        ::tzset();
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    std::string old_;
};

}  // namespace cindral::test
