#pragma once

#include "platform/amount_text.h"

namespace loto {

// C(n, k), the ways to choose k of n, exactly, in 128 bits: for n up to 124 (C(124, 62) is about
// 1.5 x 10^36), where its steps stay within them; 0 outside 0 <= k <= n. For the tiers' odds and
// the money of a system ticket, where a Double's rounding would show.
[[nodiscard]] constexpr Cents Choose(int n, int k) noexcept {
    if (k < 0 || k > n) {
        return 0;
    }
    k = k < n - k ? k : n - k;
    Cents value = 1;
    for (int i = 1; i <= k; ++i) {
        value = value * (n - k + i) / i;  // each step is a whole C(n - k + i, i)
    }
    return value;
}

// The hypergeometric probability that `matched` of `picked` marked numbers are among `drawn`
// numbers drawn out of `top`: C(p, m) C(N - p, K - m) / C(N, K), from the exact counts; 0 where
// impossible.
[[nodiscard]] constexpr double Hypergeometric(int top, int drawn, int picked,
                                              int matched) noexcept {
    const auto ways = [](int n, int k) { return static_cast<double>(Choose(n, k)); };
    return ways(picked, matched) * ways(top - picked, drawn - matched) / ways(top, drawn);
}

}  // namespace loto
