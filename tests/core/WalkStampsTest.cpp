#include "platform/LocalStamps.h"
#include "platform/PackedStamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace vastel {
namespace {

// Sets TZ for one test and puts the old one back.
class ZoneGuard {
  public:
    explicit ZoneGuard(const char* zone) : had_(std::getenv("TZ") != nullptr) {
        if (had_) old_ = std::getenv("TZ");
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneGuard() {
        if (had_)
            ::setenv("TZ", old_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    bool had_;
    std::string old_;
};

// The cache gives what a conversion of each stamp by itself gives, in zones with summer time,
// half-hour and odd offsets, date-line jumps and leap seconds.
TEST(LocalStamps, SameAsConvertingEachStamp) {
    const char* zones[] = {"UTC",          "Europe/Berlin",       "America/St_Johns",
                           "Asia/Kolkata", "Australia/Lord_Howe", "Pacific/Apia",
                           "America/Adak", "right/Europe/Berlin", "Asia/Kathmandu"};
    std::mt19937_64 random(7);
    for (const char* zone : zones) {
        const ZoneGuard guard(zone);
        LocalStamps stamps;
        int differences = 0;
        // Around every change of offset from 1979 to 2110, and a spread of times in between.
        for (time_t t = 283996800; t < 4418064000; t += 3600 * 7 + 1)
            if (stamps.pack(t) != packDosStamp(t)) ++differences;
        for (int i = 0; i < 20000; ++i) {
            const time_t t = time_t(random() % 4500000000ULL) - 100000000;
            if (stamps.pack(t) != packDosStamp(t)) ++differences;
        }
        EXPECT_EQ(differences, 0) << zone;
        EXPECT_EQ(stamps.pack(0), 0u) << zone;  // before 1980
    }
}

}  // namespace
}  // namespace vastel
