#include "core/speed_test.h"

#include <cmath>
#include <limits>

namespace loto {

std::uint64_t DrawCount(double requested) noexcept {
    constexpr double kBeyond = 18446744073709551616.0;  // 2^64: more draws than anyone waits for
    if (!(requested >= 1)) {
        return 0;
    }
    if (requested >= kBeyond) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(requested);
}

std::uint64_t TestDrawCount(double requested) noexcept {
    if (requested < 1'000'000) {
        return 100'000;
    }
    if (requested > 50'000'000) {
        return 5'000'000;
    }
    return static_cast<std::uint64_t>(std::floor(requested / 10)) + 1;
}

std::optional<SystemTime> CompletionEstimate(double requested, std::uint64_t testDraws,
                                             double elapsedSeconds, SystemTime reference) noexcept {
    const auto test = static_cast<double>(testDraws);
    const double perDraw = elapsedSeconds / test;
    return AddSeconds(reference, std::floor(perDraw * (requested + test)));
}

ShownEstimate EstimateShown(double requested, std::uint64_t testDraws, double elapsedSeconds,
                            SystemTime reference, const RunTime& runTime) {
    const std::optional<SystemTime> moment =
        CompletionEstimate(requested, testDraws, elapsedSeconds, reference);
    const std::optional<LocalDateTime> local =
        moment ? std::optional(runTime.LocalTime(*moment)) : std::nullopt;
    if (!local || !InDateRange(*local)) {
        return {};
    }
    return {local, runTime.DateText(*local)};
}

}  // namespace loto
