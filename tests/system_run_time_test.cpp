// The system's local time, daylight saving time included.
#include "platform/system_run_time.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace loto {
namespace {

using std::chrono::local_days;
using std::chrono::seconds;
using std::chrono::year;

// An end of run is a moment, shown in the local time of its own date: twelve minutes after 01:59
// on the night that clocks go forward it is 03:11, and 02:11 after 02:59 on the night that they
// go back.
TEST(SystemRunTime, LocalTimeFollowsDaylightSavingTime) {
    using std::chrono::minutes;
    using std::chrono::sys_days;
    setenv("TZ", "Europe/Paris", 1);
    tzset();
    const SystemRunTime runTime(TextLocale("fr_FR"));
    const std::pair<SystemTime, const char*> moments[] = {
        {sys_days{year{2027} / 3 / 28} + minutes{59}, "28/03/2027 01:59:00"},
        {sys_days{year{2027} / 3 / 28} + minutes{71}, "28/03/2027 03:11:00"},
        {sys_days{year{2027} / 10 / 31} + minutes{59}, "31/10/2027 02:59:00"},
        {sys_days{year{2027} / 10 / 31} + minutes{71}, "31/10/2027 02:11:00"},
    };
    for (const auto& [moment, text] : moments) {
        EXPECT_EQ(runTime.DateText(runTime.LocalTime(moment)), text);
    }
    unsetenv("TZ");
    tzset();
}

}  // namespace
}  // namespace loto
