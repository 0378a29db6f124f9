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
    constexpr std::uint32_t kBlock = 8;         // values packed into one 64-bit store per lane
    constexpr std::uint32_t kFlushEvery = 248;  // 8-bit tally fields take at most 255 draws
    const V mask = V{} + detail::kLowMask;
    const V guardShift = V{} + detail::kGuard;
    const V grid = V{} + gridMask;
    V x{}, c{};
    for (int l = 0; l < kLanes; ++l) {
        x[l] = static_cast<std::uint64_t>(starts[l].x);
        c[l] = static_cast<std::uint64_t>(starts[l].c);
    }
    BasicPartialDraw<V> draw;
    V nearest = mask;  // per lane, the least distance to a multiple of 2^48, offset by kGuard
    V histogram{};     // per lane, 8 bits a number of matches: draws since the last flush
    V startWord{};     // per lane, the draw starts of the current 64 values
    V startsNext = ~V{};  // per lane, all ones where the next value starts a draw
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
            for (int l = 0; l < kLanes; ++l) {
                out[l].drawStarts[last / 64] = startWord[l];
            }
            startWord = V{};
        }
        sinceFlush += taken;
        if (sinceFlush == kFlushEvery) {
            flush();
        }
    };
    // One value of every lane: the generator step, its number, and the draw it goes to.
    const auto step = [&](std::uint32_t i) {
        const V t = x * static_cast<std::uint64_t>(kMultiplier) + c;
        x = t & mask;
        c = (t >> kModulusBits) * 10000;
        const V scaled = x * 49;
        const V number = (scaled >> kModulusBits) + 1;
        // Within kGuard of a multiple of 2^48 the Double formulas may differ: the nearest that a
        // lane came is kept, and such lanes are made again one value at a time.
        const V offT = (t + guardShift) & mask;
        const V offScaled = (scaled + guardShift) & mask;
        const V off = offT < offScaled ? offT : offScaled;
        nearest = off < nearest ? off : nearest;
        startWord |= (startsNext & 1) << (i % 64);
        draw.Take(number, grid);
        const V done = (V)draw.Complete();
        startsNext = done;
        histogram += (done & 1) << (draw.matches * 8);
        draw.drawn &= ~done;
        draw.accepted &= ~done;
        draw.matches &= ~done;
        return number;
    };

    std::uint32_t i = 0;
    for (; i + kBlock <= values; i += kBlock) {
        before(i);
        V packed{};
#pragma GCC unroll 8
        for (std::uint32_t j = 0; j < kBlock; ++j) {
            packed |= step(i + j) << (8 * j);
        }
        for (int l = 0; l < kLanes; ++l) {
            const std::uint64_t word = packed[l];
            std::memcpy(out[l].numbers + i, &word, sizeof word);
        }
        after(i + kBlock - 1, kBlock);
    }
    for (; i < values; ++i) {
        before(i);
        const V number = step(i);
        for (int l = 0; l < kLanes; ++l) {
            out[l].numbers[i] = static_cast<std::uint8_t>(number[l]);
        }
        after(i, 1);
    }
    flush();
    for (int l = 0; l < kLanes; ++l) {
        out[l].tail = {draw.drawn[l], draw.accepted[l], draw.matches[l]};
        out[l].end = {static_cast<std::int64_t>(x[l]), static_cast<std::int64_t>(c[l])};
        out[l].guard = nearest[l] < 2 * detail::kGuard;
    }
}

}  // namespace loto::lanes
