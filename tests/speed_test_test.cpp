#include "core/speed_test.h"

#include <gtest/gtest.h>

#include <tuple>

namespace loto {
namespace {

using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::year;

TEST(SpeedTest, DrawsTheWholeNumbersFromOneToN) {
    const std::pair<double, std::uint64_t> counts[] = {
        {0, 0},
        {0.5, 0},
        {-3, 0},
        {-1e300, 0},
        {1, 1},
        {3.7, 3},
        {10.6, 10},
        {9007199254740993.0, 9007199254740992},
        {18446744073709549568.0, 18446744073709549568U},  // the last Double under 2^64
        {18446744073709551616.0, UINT64_MAX},             // 2^64, which no count holds
        {1e300, UINT64_MAX},
    };
    for (const auto& [requested, draws] : counts) {
        EXPECT_EQ(DrawCount(requested), draws) << requested;
    }
}

TEST(SpeedTest, TestDrawCountBoundaries) {
    const std::pair<double, std::uint64_t> counts[] = {
        {0, 100000},         {-1e9, 100000},      {999999.9, 100000},    {1000000, 100001},
        {12345678, 1234568}, {50000000, 5000001}, {50000000.5, 5000000}, {1e300, 5000000},
    };
    for (const auto& [requested, test] : counts) {
        EXPECT_EQ(TestDrawCount(requested), test) << requested;
    }
}

TEST(SpeedTest, EstimateAddsTheTimeOfTheRequestedAndTestDraws) {
    const SystemTime reference = sys_days{year{2026} / 12 / 6} + seconds{70000};
    const SystemTime lastDay = sys_days{year{9999} / 12 / 31};
    const SystemTime firstDay = sys_days{year{99} / 12 / 31};
    // Draws requested, test draws, their seconds, the date and time after the test, the estimate.
    const std::tuple<double, std::uint64_t, double, SystemTime, std::optional<SystemTime>> cases[] =
        {
            // 2 s per 100,000 draws and 500,000 draws in all
            {400000, 100000, 2, reference, reference + seconds{10}},
            {0, 100000, 2, reference, reference + seconds{2}},       // the test is counted again
            {400000, 100000, 0, reference, reference},               // a test too short to measure
            {399999, 100000, 2, reference, reference + seconds{9}},  // 9.99998 s, floored
            {-1e6, 100000, 1, reference, reference - seconds{9}},    // a negative count goes back
            {1e300, 5000000, 1, reference, std::nullopt},            // beyond 31/12/9999
            {-1e300, 100000, 1, reference,
             std::nullopt},  // before the first date
                             // A day either side of the range of local dates: every time zone's
                             // local time is past it.
            {400000, 100000, 2, lastDay + seconds{2 * 86400 - 11},
             lastDay + seconds{2 * 86400 - 1}},
            {400000, 100000, 2, lastDay + seconds{2 * 86400 - 10}, std::nullopt},
            {-600000, 100000, 2, firstDay + seconds{10}, firstDay},  // 10 s back
            {-650000, 100000, 2, firstDay + seconds{10}, std::nullopt},
        };
    for (const auto& [requested, test, elapsed, at, estimate] : cases) {
        EXPECT_EQ(CompletionEstimate(requested, test, elapsed, at), estimate) << requested;
    }
}

}  // namespace
}  // namespace loto
