#pragma once

// The lane kernel: several chunks generated at once, one per lane of a vector, each parsed into
// draws exactly as GenerateChunk parses it. Each instruction set's file includes this header and
// compiles it for its own vector type, which no other file uses, so that no function compiled for
// one instruction set can stand in for another's.

#include <array>
#include <bit>
#include <cstring>
#include <type_traits>
#include <utility>

#include "core/draw_lanes.h"
#include "core/draws.h"

// bench/mca.sh builds the kernels with LOTO_MCA_REGIONS to mark their steady loop for
// llvm-mca, which models it on processors that are not at hand.
#if defined(LOTO_MCA_REGIONS)
#define LOTO_MCA_REGION(text) __asm__ volatile("# LLVM-MCA-" text)
#else
#define LOTO_MCA_REGION(text)
#endif

namespace loto::lanes {

// The number of a step (less one) and its watch on the edges where the Double formulas may
// differ: within kGuard of a multiple of 2^48, for t (whose low bits are x) or for top x. Where x
// comes within kGuard, top x comes within top kGuard: one distance, of top x, with the guard
// widened to (top + 1) kGuard watches both. Watch folds a step into what a lane has seen;
// CameNear reads a lane of it at the end. The pool's top is the game's, the same in every lane.
template <typename V>
struct TopByShifts {
    explicit TopByShifts(std::uint64_t poolTop)
        : top(V{} + poolTop), wideGuard((poolTop + 1) * detail::kGuard) {}
    static constexpr std::uint64_t kUnseen = 0;
    V Number(V x) const { return (x * top) >> kModulusBits; }
    // The top bit set once a lane came near: both terms are under 2^48, negative when nearer.
    V Watch(V seen, V x) const {
        return seen | (((x * top + wideGuard) & detail::kLowMask) - 2 * wideGuard);
    }
    static bool CameNear(std::uint64_t seen) { return seen >> 63 != 0; }

    V top;
    std::uint64_t wideGuard;
};

// The step's arithmetic for vector sets without a 64-bit multiply or mask registers (AVX2): the
// numbers need no general 64-bit product. X has 48 bits, so 32353 X is the 32 x 32-bit product of
// its low half plus that of its high 16 bits shifted up; the quotient q has 15 bits, so 10,000 q
// is one such product. Low32(a, b) is the product of the low 32 bits of a and b in each lane, and
// MinLow32(a, b) the unsigned minimum of each 32-bit half. A draw's end clears its lanes with
// and-not, which costs less than a blend.
//
// The number comes as NextNumber has it, from s = top (x >> 16), one product; a lane came near
// where s + NearNumber(top) has its low 32 bits under twice that, and their least over the steps
// is all a lane keeps: five instructions a step for both, where shifts took nine.
template <typename V, typename Products>
struct NarrowArithmetic {
    explicit NarrowArithmetic(std::uint64_t poolTop)
        : top(V{} + poolTop), near(detail::NearNumber(poolTop)) {}
    static constexpr bool kMaskRegisters = false;
    static constexpr bool kCountsBits = false;
    static constexpr std::uint64_t kUnseen = ~std::uint64_t{0};
    V Scaled(V x) const { return Products::Low32(x >> 16, top); }
    V Number(V x) const { return Scaled(x) >> 32; }
    V Watch(V seen, V x) const { return Products::MinLow32(seen, Scaled(x) + near); }
    bool CameNear(std::uint64_t seen) const { return static_cast<std::uint32_t>(seen) < 2 * near; }
    static V TimesMultiplier(V x) {
        const V k = V{} + static_cast<std::uint64_t>(kMultiplier);
        return Products::Low32(x, k) + (Products::Low32(x >> 32, k) << 32);
    }
    static V TimesCarryUnit(V q) { return Products::Low32(q, V{} + 10000); }

    V top;
    std::uint32_t near;
};

// Where a 64-bit product is one instruction: with a selection by masked move (AVX-512), or by
// and-not where a comparison gives a vector (WebAssembly's SIMD128).
template <typename V, bool MaskRegisters = true>
struct WideArithmetic : TopByShifts<V> {
    using TopByShifts<V>::TopByShifts;
    static constexpr bool kMaskRegisters = MaskRegisters;
    static constexpr bool kCountsBits = false;
    static V TimesMultiplier(V x) { return x * static_cast<std::uint64_t>(kMultiplier); }
    static V TimesCarryUnit(V q) { return q * 10000; }
};

// Calls f(g) for each vector g = 0 ... G - 1, g a constant of its type: the state vectors are
// then reached by constant indexes alone, which lets the compiler keep them in registers (one
// index computed at run time anywhere in the function puts them in memory for every step).
template <int G, typename F>
inline void EachVector(F&& f) {
    [&]<int... g>(std::integer_sequence<int, g...>) {
        (f(std::integral_constant<int, g>{}), ...);
    }
    (std::make_integer_sequence<int, G>{});
}

// A vector's lanes as plain integers, and back.
template <typename V>
inline std::array<std::uint64_t, sizeof(V) / sizeof(std::uint64_t)> Lanes(V v) {
    std::array<std::uint64_t, sizeof(V) / sizeof(std::uint64_t)> lanes;
    std::memcpy(lanes.data(), &v, sizeof v);
    return lanes;
}

template <typename V>
inline V FromLanes(const std::array<std::uint64_t, sizeof(V) / sizeof(std::uint64_t)>& lanes) {
    V v;
    std::memcpy(&v, lanes.data(), sizeof v);
    return v;
}

// A draw as the lanes keep it, in units of 8 (see BasicPartialDraw).
constexpr std::uint64_t kLaneUnit = 8;
template <typename V>
using LaneDraw = BasicPartialDraw<V, kLaneUnit>;

// V: a GCC vector of unsigned 64-bit lanes; G: how many such vectors step side by side. One
// vector's step waits on the latency of its multiply, shifts and adds; a second, independent
// vector fills those cycles where the core has the pipes to spare (AVX2's four lanes).
template <typename V, int G = 1, typename Arithmetic = WideArithmetic<V>>
void Generate(const GeneratorState* starts, std::uint32_t values, const LaneRule& rule,
              LaneOutput* out) {
    constexpr int kWidth = sizeof(V) / sizeof(std::uint64_t);
    constexpr std::uint32_t kBlock = 8;  // values packed into one 64-bit store per lane
    // A draw takes at least 6 values: 248 values complete at most 41 draws, well within the 255
    // that an 8-bit tally field holds.
    constexpr std::uint32_t kFlushEvery = 248;
    const V mask = V{} + detail::kLowMask;
    const V one = V{} + 1;
    const std::uint64_t gridMask = rule.gridMask;
    const Arithmetic arithmetic(static_cast<std::uint64_t>(rule.top));
    // A draw is complete with this count of numbers, in the units that the draw counts in.
    const V complete =
        V{} + static_cast<std::uint64_t>(rule.drawn) * (Arithmetic::kCountsBits ? 1 : kLaneUnit);
    // The lanes draw number - 1, and add the 1 to eight values at once when they are stored.
    // Where they count the bits of a word (Arithmetic::Count), a draw is the set of its numbers
    // alone, bit number - 1, its counts taken from it when needed; else a LaneDraw, its bits two
    // higher. The grid is read as the draw is.
    using Draw = std::conditional_t<Arithmetic::kCountsBits, V, LaneDraw<V>>;
    const V grid = V{} + (Arithmetic::kCountsBits ? gridMask >> 1 : gridMask << 2);
    // Lane l is lane l % kWidth of vector l / kWidth.
    std::array<V, G> x{}, c{};
    EachVector<G>([&](auto g) {
        std::array<std::uint64_t, kWidth> xs{}, cs{};
        for (int w = 0; w < kWidth; ++w) {
            xs[w] = static_cast<std::uint64_t>(starts[g * kWidth + w].x);
            cs[w] = static_cast<std::uint64_t>(starts[g * kWidth + w].c);
        }
        x[g] = FromLanes<V>(xs);
        c[g] = FromLanes<V>(cs);
    });
    std::array<Draw, G> draw{};
    std::array<V, G> seen;  // per lane, how near it came to an edge
    seen.fill(V{} + Arithmetic::kUnseen);
    std::array<V, G> histogram{};  // per lane, 8 bits a number of matches: draws since the flush
    std::array<V, G> endWord{};    // per lane, bit k: value k of the current 64 ended a draw
    std::array<V, G> endsBefore;   // per lane, 1 where the value before the word ended a draw
    endsBefore.fill(one);
    std::uint32_t sinceFlush = 0;
    static_assert(kFlushEvery % kBlock == 0 && DrawChunk::kSnapshotEvery % kBlock == 0);

    const auto flush = [&] {
        EachVector<G>([&](auto g) {
            const auto counts = Lanes(histogram[g]);
            for (int w = 0; w < kWidth; ++w) {
                for (std::size_t k = 0; k < kLaneTiers; ++k) {
                    out[g * kWidth + w].tally[k] += counts[w] >> (8 * k) & 0xFF;
                }
            }
            histogram[g] = V{};
        });
        sinceFlush = 0;
    };
    // Before value i: a snapshot of every lane's state every kSnapshotEvery values.
    const auto before = [&](std::uint32_t i) {
        if (i % DrawChunk::kSnapshotEvery == 0) {
            EachVector<G>([&](auto g) {
                const auto xs = Lanes(x[g]);
                const auto cs = Lanes(c[g]);
                for (int w = 0; w < kWidth; ++w) {
                    out[g * kWidth + w].snapshots[i / DrawChunk::kSnapshotEvery] = {
                        i, {static_cast<std::int64_t>(xs[w]), static_cast<std::int64_t>(cs[w])}};
                }
            });
        }
    };
    // After value `last`, `taken` values since the previous call: the draw starts of a full word
    // (or of the end), and the tally fields before they can overflow.
    const auto after = [&](std::uint32_t last, std::uint32_t taken) {
        if (last % 64 == 63 || last + 1 == values) {
            const std::uint32_t unused = 63 - last % 64;  // in a last word that is not full
            EachVector<G>([&](auto g) {
                // A value starts a draw where the one before it ended one.
                const auto starts64 =
                    Lanes((endWord[g] << 1 | endsBefore[g]) & (~std::uint64_t{0} >> unused));
                endsBefore[g] = endWord[g] >> 63;
                for (int w = 0; w < kWidth; ++w) {
                    out[g * kWidth + w].drawStarts[last / 64] = starts64[w];
                }
                endWord[g] = V{};
            });
        }
        sinceFlush += taken;
        if (sinceFlush == kFlushEvery) {
            flush();
        }
    };
    // One value of vector g's lanes: the generator step, its number less one, and the draw it
    // goes to; `bit` marked in `ends` where the draw ends.
    const auto step = [&](auto g, V& ends, V bit) {
        const V t = Arithmetic::TimesMultiplier(x[g]) + c[g];
        x[g] = t & mask;
        c[g] = Arithmetic::TimesCarryUnit(t >> kModulusBits);
        const V index = arithmetic.Number(x[g]);
        seen[g] = arithmetic.Watch(seen[g], x[g]);  // a lane that came near is made again
        if constexpr (Arithmetic::kCountsBits) {
            V& drawn = draw[g];
            drawn |= one << index;
            const auto done = Arithmetic::Count(drawn) == complete;
            ends = done ? ends | bit : ends;
            const V field = Arithmetic::Count(drawn & grid) << 3;  // 8 bits a count of matches
            histogram[g] = done ? histogram[g] + (one << field) : histogram[g];
            drawn = done ? V{} : drawn;
        } else if constexpr (Arithmetic::kMaskRegisters) {
            LaneDraw<V>& d = draw[g];
            d.Take(index, grid);
            const auto done = d.Complete(complete);
            ends = done ? ends | bit : ends;
            histogram[g] = done ? histogram[g] + (one << d.matches) : histogram[g];
            d.drawn = done ? V{} : d.drawn;
            d.accepted = done ? V{} : d.accepted;
            d.matches = done ? V{} : d.matches;
        } else {
            LaneDraw<V>& d = draw[g];
            d.Take(index, grid);
            const V done = reinterpret_cast<V>(d.Complete(complete));  // all ones where completed
            ends |= done & bit;
            histogram[g] += done & (one << d.matches);
            d.drawn &= ~done;
            d.accepted &= ~done;
            d.matches &= ~done;
        }
        return index;
    };

    std::uint32_t i = 0;
    for (; i + kBlock <= values; i += kBlock) {
        before(i);
        std::array<V, G> packed{};
        std::array<V, G> ends{};  // bit j: value i + j ended a draw
        LOTO_MCA_REGION("BEGIN block");
#pragma GCC unroll 8
        for (std::uint32_t j = 0; j < kBlock; ++j) {
            EachVector<G>([&](auto g) { packed[g] |= step(g, ends[g], one << j) << (8 * j); });
        }
        LOTO_MCA_REGION("END block");
        EachVector<G>([&](auto g) {
            endWord[g] |= ends[g] << (i % 64);
            const auto words = Lanes(packed[g] + 0x0101010101010101);
            for (int w = 0; w < kWidth; ++w) {
                std::memcpy(out[g * kWidth + w].numbers + i, &words[w], sizeof words[w]);
            }
        });
        after(i + kBlock - 1, kBlock);
    }
    for (; i < values; ++i) {
        before(i);
        EachVector<G>([&](auto g) {
            V ends{};
            const auto numbers = Lanes(step(g, ends, one));
            endWord[g] |= ends << (i % 64);
            for (int w = 0; w < kWidth; ++w) {
                out[g * kWidth + w].numbers[i] = static_cast<std::uint8_t>(numbers[w] + 1);
            }
        });
        after(i, 1);
    }
    flush();
    // Lane w's open draw of vector g as a PartialDraw counts it, bit n for number n.
    const auto tail = [&](auto g, int w) -> PartialDraw {
        if constexpr (Arithmetic::kCountsBits) {
            const std::uint64_t set = Lanes(draw[g])[w];
            return {set << 1, static_cast<std::uint64_t>(std::popcount(set)),
                    static_cast<std::uint64_t>(std::popcount(set & (gridMask >> 1)))};
        } else {
            const LaneDraw<V>& d = draw[g];  // number n's bit is n + 2 there
            return {Lanes(d.drawn)[w] >> 2, Lanes(d.accepted)[w] / kLaneUnit,
                    Lanes(d.matches)[w] / kLaneUnit};
        }
    };
    EachVector<G>([&](auto g) {
        const auto nearby = Lanes(seen[g]);
        const auto xs = Lanes(x[g]), cs = Lanes(c[g]);
        for (int w = 0; w < kWidth; ++w) {
            LaneOutput& lane = out[g * kWidth + w];
            lane.tail = tail(g, w);
            lane.end = {static_cast<std::int64_t>(xs[w]), static_cast<std::int64_t>(cs[w])};
            lane.guard = arithmetic.CameNear(nearby[w]);
        }
    });
}

}  // namespace loto::lanes
