#pragma once

// The lane kernel: several chunks generated at once, one per lane of a vector, each parsed into
// draws exactly as GenerateChunk parses it. Each instruction set's file includes this header and
// compiles it for its own vector type, which no other file uses, so that no function compiled for
// one instruction set can stand in for another's.

#include <cstring>

#include "core/draw_lanes.h"
#include "core/draws.h"

namespace loto::lanes {

// V: a GCC vector of unsigned 64-bit lanes.
template <typename V>
void Generate(const GeneratorState* starts, std::uint32_t values, std::uint64_t gridMask,
              LaneOutput* out) {
    constexpr int kLanes = sizeof(V) / sizeof(std::uint64_t);
    constexpr std::uint32_t kBlock = 8;  // values packed into one 64-bit store per lane
    // A draw takes at least 6 values: 248 values complete at most 41 draws, well within the 255
    // that an 8-bit tally field holds.
    constexpr std::uint32_t kFlushEvery = 248;
    const V mask = V{} + detail::kLowMask;
    constexpr std::uint64_t kWideGuard = 50 * detail::kGuard;
    const V guardShift = V{} + kWideGuard;
    const V one = V{} + 1;
    const V highBit = V{} + (std::uint64_t{1} << 63);
    const V grid = V{} + gridMask;
    V x{}, c{};
    for (int l = 0; l < kLanes; ++l) {
        x[l] = static_cast<std::uint64_t>(starts[l].x);
        c[l] = static_cast<std::uint64_t>(starts[l].c);
    }
    BasicPartialDraw<V> draw;
    V nearest = mask;    // per lane, the least distance of 49x to a multiple of 2^48, offset
    V histogram{};       // per lane, 8 bits a number of matches: draws since the last flush
    V endWord{};         // per lane, the draw ends of the current 64 values
    V endsBefore = one;  // per lane, 1 where the value before the current word ended a draw
    std::uint32_t sinceFlush = 0;
    static_assert(kFlushEvery % kBlock == 0 && DrawChunk::kSnapshotEvery % kBlock == 0);

    const auto flush = [&] {
        for (int l = 0; l < kLanes; ++l) {
            for (int k = 0; k < 7; ++k) {
                out[l].tally[k] += histogram[l] >> (8 * k) & 0xFF;
            }
        }
        histogram = V{};
        sinceFlush = 0;
    };
    // Before value i: a snapshot of every lane's state every kSnapshotEvery values.
    const auto before = [&](std::uint32_t i) {
        if (i % DrawChunk::kSnapshotEvery == 0) {
            for (int l = 0; l < kLanes; ++l) {
                out[l].snapshots[i / DrawChunk::kSnapshotEvery] = {
                    i, {static_cast<std::int64_t>(x[l]), static_cast<std::int64_t>(c[l])}};
            }
        }
    };
    // After value `last`, `taken` values since the previous call: the draw starts of a full word
    // (or of the end), and the tally fields before they can overflow.
    const auto after = [&](std::uint32_t last, std::uint32_t taken) {
        if (last % 64 == 63 || last + 1 == values) {
            const std::uint32_t unused = 63 - last % 64;  // in a last word that is not full
            endWord >>= unused;
            // A value starts a draw where the one before it ended one.
            const V startWord = (endWord << 1 | endsBefore) & (~std::uint64_t{0} >> unused);
            endsBefore = endWord >> 63;
            for (int l = 0; l < kLanes; ++l) {
                out[l].drawStarts[last / 64] = startWord[l];
            }
            endWord = V{};
        }
        sinceFlush += taken;
        if (sinceFlush == kFlushEvery) {
            flush();
        }
    };
    // One value of every lane: the generator step, its number, and the draw it goes to.
    const auto step = [&] {
        const V t = x * static_cast<std::uint64_t>(kMultiplier) + c;
        x = t & mask;
        c = (t >> kModulusBits) * 10000;
        const V scaled = x * 49;
        const V number = (scaled >> kModulusBits) + 1;
        // Within kGuard of a multiple of 2^48 the Double formulas may differ, for t (whose low
        // bits are x) or for 49x. Where x comes within kGuard, 49x comes within 49 kGuard: one
        // distance, of 49x, with the guard widened to 50 kGuard watches both. The nearest that a
        // lane came is kept, and such lanes are made again one value at a time.
        const V off = (scaled + guardShift) & mask;
        nearest = off < nearest ? off : nearest;
        draw.Take(number, grid);
        const auto done = draw.Complete();
        // Value i's end bit enters at the top and reaches bit i % 64 when the word is full.
        endWord >>= 1;
        endWord = done ? endWord | highBit : endWord;
        histogram = done ? histogram + (one << (draw.matches << 3)) : histogram;
        draw.drawn = done ? V{} : draw.drawn;
        draw.accepted = done ? V{} : draw.accepted;
        draw.matches = done ? V{} : draw.matches;
        return number;
    };

    std::uint32_t i = 0;
    for (; i + kBlock <= values; i += kBlock) {
        before(i);
        V packed{};
#pragma GCC unroll 8
        for (std::uint32_t j = 0; j < kBlock; ++j) {
            packed |= step() << (8 * j);
        }
        for (int l = 0; l < kLanes; ++l) {
            const std::uint64_t word = packed[l];
            std::memcpy(out[l].numbers + i, &word, sizeof word);
        }
        after(i + kBlock - 1, kBlock);
    }
    for (; i < values; ++i) {
        before(i);
        const V number = step();
        for (int l = 0; l < kLanes; ++l) {
            out[l].numbers[i] = static_cast<std::uint8_t>(number[l]);
        }
        after(i, 1);
    }
    flush();
    for (int l = 0; l < kLanes; ++l) {
        out[l].tail = {draw.drawn[l], draw.accepted[l], draw.matches[l]};
        out[l].end = {static_cast<std::int64_t>(x[l]), static_cast<std::int64_t>(c[l])};
        out[l].guard = nearest[l] < 2 * kWideGuard;
    }
}

}  // namespace loto::lanes
