#include "platform/currency.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "tests/transcription.h"

namespace loto {
namespace {

using test::QuadCurrencyToDouble;

TEST(CurrencyToDouble, IsTheNearestDouble) {
    std::vector<std::int64_t> raws = {0,
                                      1,
                                      -1,
                                      9999,
                                      (std::int64_t{1} << 53) - 1,
                                      std::int64_t{1} << 53,
                                      (std::int64_t{1} << 53) + 1,
                                      std::int64_t{1} << 48,
                                      32353 * (std::int64_t{1} << 48),
                                      std::numeric_limits<std::int64_t>::max(),
                                      std::numeric_limits<std::int64_t>::min(),
                                      std::numeric_limits<std::int64_t>::min() + 1};
    // Values whose quotient by 10,000 lands exactly on a midpoint between two Doubles: ties.
    for (std::int64_t odd = 1; odd < 64; odd += 2) {
        raws.push_back((std::int64_t{1} << 58) + odd * 625 * 16);
    }
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        raws.push_back(static_cast<std::int64_t>(random()));
        raws.push_back(static_cast<std::int64_t>(random() >> (i % 40)));
    }
    for (const std::int64_t raw : raws) {
        ASSERT_EQ(CurrencyToDouble(raw), QuadCurrencyToDouble(raw)) << raw;
    }
}

}  // namespace
}  // namespace loto
