#include <gtest/gtest.h>

#include <tuple>

#include "platform/date_time.h"
#include "platform/french_dates.h"
#include "platform/system_run_time.h"

namespace loto {
namespace {

using std::chrono::local_days;
using std::chrono::seconds;
using std::chrono::year;

constexpr LocalDateTime kEvening =
    local_days{year{2026} / 12 / 6} + seconds{19 * 3600 + 5 * 60 + 9};
constexpr LocalDateTime kMidnight = local_days{year{2027} / 1 / 31};

TEST(DateText, FollowsTheLocale) {
    // The locale, a date, its text and the locale's decimal separator.
    const std::tuple<const char*, LocalDateTime, const char*, const char*> cases[] = {
        {"fr_FR", kEvening, "06/12/2026 19:05:09", ","},
        {"fr_FR", kMidnight, "31/01/2027", ","},  // the date alone at midnight
        {"en_US", kEvening, "12/6/2026 7:05:09 PM", "."},
        {"en_US", kMidnight, "1/31/2027", "."},
        {"de_DE", kEvening, "06.12.2026 19:05:09", ","},
        // The zone and what sets it apart go; the locale's day period is Qt's marker.
        {"es_ES", kEvening, "6/12/2026 19:05:09", ","},
        {"zh_TW", kEvening, "2026/12/6 \u4E0B\u53487:05:09", "."},
        // Latin digits in the locale's order, as every other figure of an output.
        {"ar_EG", kEvening, "6\u200F/12\u200F/2026 7:05:09 \u0645", "\u066B"},
        {"fa_IR", kEvening, "2026/12/6 19:05:09", "\u066B"},
        {"C", kEvening, "06/12/2026 19:05:09", ","},  // no locale: the French forms
        {"POSIX", kEvening, "06/12/2026 19:05:09", ","},
        {"fr_FR", kLastDate, "31/12/9999 23:59:59", ","},
        {"fr_FR", kFirstDate, "01/01/0100", ","},
    };
    for (const auto& [locale, date, text, separator] : cases) {
        const SystemRunTime runTime(TextLocale(locale));
        EXPECT_EQ(runTime.DateText(date), text) << locale;
        EXPECT_EQ(runTime.DecimalSeparator(), separator) << locale;
    }
}

// The web page's French forms, written without Qt, are Qt's for fr_FR over the whole range of
// dates: leap days, the first and last dates, midnight and the seconds of the day.
TEST(DateText, FrenchFormsWithoutALocaleLibrary) {
    const SystemRunTime french(TextLocale("fr_FR"));
    for (LocalDateTime date = kFirstDate; date <= kLastDate; date += seconds{86400 * 997 + 3613}) {
        EXPECT_EQ(FrenchDateText(date), french.DateText(date));
    }
    for (const LocalDateTime date :
         {kMidnight, kEvening, local_days{year{2028} / 2 / 29} + seconds{86399}, kLastDate}) {
        EXPECT_EQ(FrenchDateText(date), french.DateText(date));
    }
    EXPECT_EQ(kFrenchDecimalSeparator, french.DecimalSeparator());
}

}  // namespace
}  // namespace loto
