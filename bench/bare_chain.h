#pragma once

#include <cstdint>

namespace loto::bench {

// The bare chain of the generator: its recurrence alone, in raw units, the limit of one serial
// stream. t = 32353 X + C; X = t mod 2^48; C = floor(t / 2^48) x 10000; the number of each value,
// floor(49 X / 2^48), is summed so that the compiler keeps it. No guard, no draw.
inline std::uint64_t BareChain(std::uint64_t& x, std::uint64_t& c, std::uint64_t values) {
    std::uint64_t sum = 0;
    for (std::uint64_t i = 0; i < values; ++i) {
        const std::uint64_t t = 32353 * x + c;
        x = t & ((std::uint64_t{1} << 48) - 1);
        c = (t >> 48) * 10000;
        sum += (49 * x) >> 48;
    }
    return sum;
}

}  // namespace loto::bench
