#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date_time.h"
#include "platform/run_time.h"

namespace loto {

// How many draws a request of N performs: the whole numbers from 1 to N, none below 1. Held in an
// integer, which keeps counting where a Double loop variable would stop past 2^53.
[[nodiscard]] std::uint64_t DrawCount(double requested) noexcept;

// The draws of the speed test: 100,000 below a million requested, 5,000,000 above fifty million,
// and floor(N / 10) + 1 in between (so 5,000,001 at exactly fifty million).
[[nodiscard]] std::uint64_t TestDrawCount(double requested) noexcept;

// When the requested draws will end: the reference date plus floor(time per test draw x (N + T))
// seconds. The test draws are counted again on top of the N requested. Nothing when the amount is
// not a number or the moment lands far outside the range of date values (see AddSeconds); whether
// its local time is in the range is for the time zone to say.
[[nodiscard]] std::optional<SystemTime> CompletionEstimate(double requested,
                                                           std::uint64_t testDraws,
                                                           double elapsedSeconds,
                                                           SystemTime reference) noexcept;

// A command's estimate as it is shown: the local date and time and its text, none beyond the range
// of dates in the user's local time (the box stays empty and the run goes on).
struct ShownEstimate {
    std::optional<LocalDateTime> local;
    std::string text;
};
[[nodiscard]] ShownEstimate EstimateShown(double requested, std::uint64_t testDraws,
                                          double elapsedSeconds, SystemTime reference,
                                          const RunTime& runTime);

}  // namespace loto
