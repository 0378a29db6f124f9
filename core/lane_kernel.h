#pragma once

// The lane kernel: several chunks generated at once, one per lane of a vector, each parsed into
// draws exactly as GenerateChunk parses it. Each instruction set's file includes this header and
// compiles it for its own vector type, which no other file uses, so that no function compiled for
// one instruction set can stand in for another's.

#include <array>
#include <cstring>

#include "core/draw_lanes.h"
#include "core/draws.h"

namespace loto::lanes {

// The step's arithmetic for vector sets without a 64-bit multiply or mask registers (AVX2): the
// numbers need no general 64-bit product. X has 48 bits, so 32353 X is the 32 x 32-bit product of
// its low half plus that of its high 16 bits shifted up; the quotient q has 15 bits, so 10,000 q
// is one such product. Low32(a, b) is the product of the low 32 bits of a and b in each lane. A
// draw's end clears its lanes with and-not, which costs less than a blend.
template <typename V, typename Products>
struct NarrowArithmetic {
    static constexpr bool kMaskRegisters = false;
    static V TimesMultiplier(V x) {
        const V k = V{} + static_cast<std::uint64_t>(kMultiplier);
        return Products::Low32(x, k) + (Products::Low32(x >> 32, k) << 32);
    }
    static V TimesCarryUnit(V q) { return Products::Low32(q, V{} + 10000); }
};

// Where a 64-bit product is one instruction: with a selection by masked move (AVX-512), or by
// and-not where a comparison gives a vector (WebAssembly's SIMD128).
template <typename V, bool MaskRegisters = true>
struct WideArithmetic {
    static constexpr bool kMaskRegisters = MaskRegisters;
    static V TimesMultiplier(V x) { return x * static_cast<std::uint64_t>(kMultiplier); }
    static V TimesCarryUnit(V q) { return q * 10000; }
};

// V: a GCC vector of unsigned 64-bit lanes; G: how many such vectors step side by side. One
// vector's step waits on the latency of its multiply, shifts and adds; a second, independent
// vector fills those cycles where the core has the pipes to spare (AVX2's four lanes).
template <typename V, int G = 1, typename Arithmetic = WideArithmetic<V>>
void Generate(const GeneratorState* starts, std::uint32_t values, std::uint64_t gridMask,
              LaneOutput* out) {
    constexpr int kWidth = sizeof(V) / sizeof(std::uint64_t);
    constexpr int kLanes = kWidth * G;
    constexpr std::uint32_t kBlock = 8;  // values packed into one 64-bit store per lane
    // A draw takes at least 6 values: 248 values complete at most 41 draws, well within the 255
    // that an 8-bit tally field holds.
    constexpr std::uint32_t kFlushEvery = 248;
    const V mask = V{} + detail::kLowMask;
    constexpr std::uint64_t kWideGuard = 50 * detail::kGuard;
    const V guardShift = V{} + kWideGuard;
    const V nearLimit = V{} + 2 * kWideGuard;
    const V one = V{} + 1;
    const V highBit = V{} + (std::uint64_t{1} << 63);
    // The lanes draw number - 1, a bit lower in the masks, and add the 1 to eight values at once
    // when they are stored.
    const V grid = V{} + (gridMask >> 1);
    // Lane l is lane l % kWidth of vector l / kWidth.
    std::array<V, G> x{}, c{};
    for (int l = 0; l < kLanes; ++l) {
        x[l / kWidth][l % kWidth] = static_cast<std::uint64_t>(starts[l].x);
        c[l / kWidth][l % kWidth] = static_cast<std::uint64_t>(starts[l].c);
    }
    std::array<BasicPartialDraw<V>, G> draw{};
    std::array<V, G> near{};  // per lane, the top bit set once 49x came near a multiple of 2^48
    std::array<V, G> histogram{};  // per lane, 8 bits a number of matches: draws since the flush
    std::array<V, G> endWord{};    // per lane, the draw ends of the current 64 values
    std::array<V, G> endsBefore;   // per lane, 1 where the value before the word ended a draw
    endsBefore.fill(one);
    std::uint32_t sinceFlush = 0;
    static_assert(kFlushEvery % kBlock == 0 && DrawChunk::kSnapshotEvery % kBlock == 0);

    const auto lane = [](const std::array<V, G>& vectors, int l) {
        return vectors[l / kWidth][l % kWidth];
    };
    const auto flush = [&] {
        for (int l = 0; l < kLanes; ++l) {
            for (int k = 0; k < kResultRows; ++k) {
                out[l].tally[k] += lane(histogram, l) >> (8 * k) & 0xFF;
            }
        }
        histogram = {};
        sinceFlush = 0;
    };
    // Before value i: a snapshot of every lane's state every kSnapshotEvery values.
    const auto before = [&](std::uint32_t i) {
        if (i % DrawChunk::kSnapshotEvery == 0) {
            for (int l = 0; l < kLanes; ++l) {
                out[l].snapshots[i / DrawChunk::kSnapshotEvery] = {
                    i,
                    {static_cast<std::int64_t>(lane(x, l)), static_cast<std::int64_t>(lane(c, l))}};
            }
        }
    };
    // After value `last`, `taken` values since the previous call: the draw starts of a full word
    // (or of the end), and the tally fields before they can overflow.
    const auto after = [&](std::uint32_t last, std::uint32_t taken) {
        if (last % 64 == 63 || last + 1 == values) {
            const std::uint32_t unused = 63 - last % 64;  // in a last word that is not full
            for (int g = 0; g < G; ++g) {
                endWord[g] >>= unused;
                // A value starts a draw where the one before it ended one.
                const V startWord =
                    (endWord[g] << 1 | endsBefore[g]) & (~std::uint64_t{0} >> unused);
                endsBefore[g] = endWord[g] >> 63;
                for (int w = 0; w < kWidth; ++w) {
                    out[g * kWidth + w].drawStarts[last / 64] = startWord[w];
                }
            }
            endWord = {};
        }
        sinceFlush += taken;
        if (sinceFlush == kFlushEvery) {
            flush();
        }
    };
    // One value of vector g's lanes: the generator step, its number less one, and the draw it
    // goes to.
    const auto step = [&](int g) {
        const V t = Arithmetic::TimesMultiplier(x[g]) + c[g];
        x[g] = t & mask;
        c[g] = Arithmetic::TimesCarryUnit(t >> kModulusBits);
        const V scaled = x[g] * 49;
        const V index = scaled >> kModulusBits;
        // Within kGuard of a multiple of 2^48 the Double formulas may differ, for t (whose low
        // bits are x) or for 49x. Where x comes within kGuard, 49x comes within 49 kGuard: one
        // distance, of 49x, with the guard widened to 50 kGuard watches both. A lane that came
        // that near is made again one value at a time.
        const V off = (scaled + guardShift) & mask;
        near[g] |= off - nearLimit;  // both under 2^48: negative, its top bit set, when nearer
        BasicPartialDraw<V>& d = draw[g];
        d.Take(index, grid);
        // Value i's end bit enters at the top and reaches bit i % 64 when the word is full.
        if constexpr (Arithmetic::kMaskRegisters) {
            const auto done = d.Complete();
            endWord[g] = done ? endWord[g] >> 1 | highBit : endWord[g] >> 1;
            histogram[g] = done ? histogram[g] + (one << (d.matches << 3)) : histogram[g];
            d.drawn = done ? V{} : d.drawn;
            d.accepted = done ? V{} : d.accepted;
            d.matches = done ? V{} : d.matches;
        } else {
            const V done = reinterpret_cast<V>(d.Complete());  // all ones where a draw completed
            endWord[g] = endWord[g] >> 1 | done << 63;
            histogram[g] += done & (one << (d.matches << 3));
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
#pragma GCC unroll 8
        for (std::uint32_t j = 0; j < kBlock; ++j) {
            for (int g = 0; g < G; ++g) {
                packed[g] |= step(g) << (8 * j);
            }
        }
        for (V& eight : packed) {
            eight += 0x0101010101010101;
        }
        for (int l = 0; l < kLanes; ++l) {
            const std::uint64_t word = lane(packed, l);
            std::memcpy(out[l].numbers + i, &word, sizeof word);
        }
        after(i + kBlock - 1, kBlock);
    }
    for (; i < values; ++i) {
        before(i);
        for (int g = 0; g < G; ++g) {
            const V index = step(g);
            for (int w = 0; w < kWidth; ++w) {
                out[g * kWidth + w].numbers[i] = static_cast<std::uint8_t>(index[w] + 1);
            }
        }
        after(i, 1);
    }
    flush();
    for (int l = 0; l < kLanes; ++l) {
        const BasicPartialDraw<V>& d = draw[l / kWidth];
        const int w = l % kWidth;
        out[l].tail = {d.drawn[w] << 1, d.accepted[w], d.matches[w]};
        out[l].end = {static_cast<std::int64_t>(lane(x, l)), static_cast<std::int64_t>(lane(c, l))};
        out[l].guard = lane(near, l) >> 63 != 0;
    }
}

}  // namespace loto::lanes
