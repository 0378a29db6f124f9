#pragma once

// The lane kernel: several chunks generated at once, one per lane of a vector, each parsed into
// draws exactly as GenerateChunk parses it. Each instruction set's file includes this header and
// compiles it for its own vector type, which no other file uses, so that no function compiled for
// one instruction set can stand in for another's.

#include <algorithm>
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
// CameNear reads a lane of it at the end. The pool's top is the game's, the same in every lane;
// in a game of two pools each lane passes the top of the pool that it draws from (TopOf), and the
// guard is widened for the larger, which watches the smaller too.
template <typename V>
struct TopByShifts {
    explicit TopByShifts(std::uint64_t poolTop, std::uint64_t guardTop = 0)
        : top(V{} + poolTop), wideGuard((std::max(poolTop, guardTop) + 1) * detail::kGuard) {}
    static constexpr std::uint64_t kUnseen = 0;
    static V TopOf(std::uint64_t poolTop) { return V{} + poolTop; }
    // Top x: the number is its high bits, the distance to an edge its low ones.
    static V Scaled(V x, V laneTop) { return x * laneTop; }
    static V NumberOfScaled(V scaled) { return scaled >> kModulusBits; }
    // The top bit set once a lane came near: both terms are under 2^48, negative when nearer.
    V WatchScaled(V seen, V scaled) const {
        return seen | (((scaled + wideGuard) & detail::kLowMask) - 2 * wideGuard);
    }
    V Number(V x) const { return NumberOfScaled(Scaled(x, top)); }
    V Watch(V seen, V x) const { return WatchScaled(seen, Scaled(x, top)); }
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
    explicit NarrowArithmetic(std::uint64_t poolTop, std::uint64_t guardTop = 0)
        : top(V{} + poolTop), near(detail::NearNumber(std::max(poolTop, guardTop))) {}
    static constexpr bool kMaskRegisters = false;
    static constexpr bool kCountsBits = false;
    static constexpr std::uint64_t kUnseen = ~std::uint64_t{0};
    static V TopOf(std::uint64_t poolTop) { return V{} + poolTop; }
    static V Scaled(V x, V laneTop) { return Products::Low32(x >> 16, laneTop); }
    static V NumberOfScaled(V scaled) { return scaled >> 32; }
    V WatchScaled(V seen, V scaled) const { return Products::MinLow32(seen, scaled + near); }
    V Number(V x) const { return NumberOfScaled(Scaled(x, top)); }
    V Watch(V seen, V x) const { return WatchScaled(seen, Scaled(x, top)); }
    bool CameNear(std::uint64_t seen) const { return static_cast<std::uint32_t>(seen) < 2 * near; }
    static V TimesMultiplier(V x) {
        const V k = V{} + static_cast<std::uint64_t>(kMultiplier);
        return Products::Low32(x, k) + (Products::Low32(x >> 32, k) << 32);
    }
    static V TimesCarryUnit(V q) { return Products::Low32(q, V{} + 10000); }
    static V ShiftLeft(V a, V count) { return Products::ShiftLeft(a, count); }
    static V ShiftRight(V a, V count) { return Products::ShiftRight(a, count); }

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

// A lane's value cleared, or added to, where a condition holds. Where a comparison gives a vector
// rather than a mask register, an and-not or an and costs less than a blend.
template <typename Arithmetic, typename V, typename Mask>
V ClearedWhere(Mask where, V x) {
    if constexpr (Arithmetic::kMaskRegisters) {
        return where ? V{} : x;
    } else {
        return x & ~reinterpret_cast<V>(where);
    }
}
template <typename Arithmetic, typename V, typename Mask>
V AddedWhere(Mask where, V x, V add) {
    if constexpr (Arithmetic::kMaskRegisters) {
        return where ? x + add : x;
    } else {
        return x + (add & reinterpret_cast<V>(where));
    }
}

// Where a >= b for counts far below 2^63: without mask registers (AVX2 has no unsigned 64-bit
// comparison), one signed comparison with b - 1.
template <typename Arithmetic, typename V>
auto AtLeast(V a, V b) {
    if constexpr (Arithmetic::kMaskRegisters) {
        return a >= b;
    } else {
        using Signed = decltype(a == b);  // a comparison's signed lanes
        return reinterpret_cast<Signed>(a) > reinterpret_cast<Signed>(b - 1);
    }
}

// In a game of two pools: x's number in the pool of each lane (the second where inSecond), and
// its watch. With mask registers, both numbers, then the lane's: its choice is on the chain from
// one value to the next, which a product or a shift after it would lengthen; without, the lane's
// top is chosen before one product. An arithmetic may have a way of its own.
template <typename Arithmetic, typename V, typename Mask>
V PoolNumber(const Arithmetic& arithmetic, V x, Mask inSecond, V mainTop, V secondTop, V& seen) {
    if constexpr (requires { arithmetic.PoolNumber(x, inSecond, mainTop, secondTop, seen); }) {
        return arithmetic.PoolNumber(x, inSecond, mainTop, secondTop, seen);
    } else if constexpr (Arithmetic::kMaskRegisters) {
        const V mainScaled = Arithmetic::Scaled(x, mainTop);
        const V secondScaled = Arithmetic::Scaled(x, secondTop);
        seen = arithmetic.WatchScaled(seen, inSecond ? secondScaled : mainScaled);
        return inSecond ? Arithmetic::NumberOfScaled(secondScaled)
                        : Arithmetic::NumberOfScaled(mainScaled);
    } else {  // a blend costs more than the product and the shift that it puts on the chain
        const V scaled = Arithmetic::Scaled(x, inSecond ? secondTop : mainTop);
        seen = arithmetic.WatchScaled(seen, scaled);
        return Arithmetic::NumberOfScaled(scaled);
    }
}

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

// A pool's numbers in two words a lane, where one does not hold them. A number's bit sits `up`
// places above its index i (the number less one), up being log2 of the unit that its draw counts
// in (0, or 3 and a code's shift: at most 8): at bit i + up of the low word below the split,
// 64 - up, and at bit i - split + up of the high word from there.
struct WideWords {
    std::uint64_t low;
    std::uint64_t high;
};

[[nodiscard]] constexpr std::uint64_t WideSplit(int up) noexcept {
    return 64 - static_cast<std::uint64_t>(up);
}

__extension__ using BitIndexes = unsigned __int128;

// A set of numbers as the lanes draw them: bit number - 1.
[[nodiscard]] constexpr BitIndexes IndexesOf(const NumberSet& numbers) noexcept {
    return (BitIndexes{numbers.high()} << 64 | numbers.low()) >> 1;
}

// A ticket's numbers as the two words hold them.
[[nodiscard]] constexpr WideWords WideGrid(const NumberSet& numbers, int up) noexcept {
    using Wide = BitIndexes;
    const Wide indexes = IndexesOf(numbers);
    const std::uint64_t split = WideSplit(up);
    const Wide below = (Wide{1} << split) - 1;
    return {static_cast<std::uint64_t>(indexes & below) << up,
            static_cast<std::uint64_t>(indexes >> split) << up};
}

// A set of two words a lane. Where the arithmetic's variable shifts give 0 for a count of 64 or
// more (x86's do), both words are shifted, the one that does not hold the number by that much:
// no choice of word. Else each lane's word is chosen.
template <typename V, typename Arithmetic>
struct WideSet {
    static constexpr bool kZeroingShifts = requires(V v) {
        Arithmetic::ShiftLeft(v, v);
        Arithmetic::ShiftRight(v, v);
    };

    // A number's shift in each word, or its word and shift in it.
    struct Place {
        V low;
        V high;
    };
    static auto PlaceOf(V index, V split) {
        if constexpr (kZeroingShifts) {
            return Place{index, index - split};  // huge where the number is in the low word
        } else {
            const auto upper = index >= split;
            return std::pair(upper, upper ? index - split : index);
        }
    }
    // Both words shifted down to a number's place: its bit, and the bits above it.
    template <typename P>
    static V Down(V lowWord, V highWord, const P& place) {
        if constexpr (kZeroingShifts) {
            return Arithmetic::ShiftRight(lowWord, place.low) |
                   Arithmetic::ShiftRight(highWord, place.high);
        } else {
            return (place.first ? highWord : lowWord) >> place.second;
        }
    }
    template <typename P>
    void Add(const P& place, V unit) {
        if constexpr (kZeroingShifts) {
            low |= Arithmetic::ShiftLeft(unit, place.low);
            high |= Arithmetic::ShiftLeft(unit, place.high);
        } else {
            const V bit = unit << place.second;
            low = place.first ? low : low | bit;
            high = place.first ? high | bit : high;
        }
    }
    template <typename Mask>
    void ClearWhere(Mask clear) {
        low = ClearedWhere<Arithmetic>(clear, low);
        high = ClearedWhere<Arithmetic>(clear, high);
    }

    V low{};
    V high{};
};

// Where the draws that end within kEvery values of a block (a draw's least count of values, at
// most: one a lane) are counted and tallied together, their sets kept until then: settled where
// value j (`tail`: a block of its own) closes such a window.
template <int kEvery>
class SettleWindow {
public:
    // settle(ended) where value j closes a window: `ended`, the window's bits of `ends`.
    template <typename V, typename F>
    static void Close(V ends, std::uint32_t j, bool tail, F&& settle) {
        if (Closes(j, tail)) {
            settle(ends & Bits(j, tail));
        }
    }

private:
    static bool Closes(std::uint32_t j, bool tail) { return tail || (j + 1) % kEvery == 0; }
    static std::uint64_t Bits(std::uint32_t j, bool tail) {
        const std::uint32_t width = tail ? 1 : kEvery;
        return ((std::uint64_t{1} << width) - 1) << (j + 1 - width);
    }
};

// Calls call.template operator()<kEvery>() with the widest window, up to kWidest, that a draw of
// at least `leastValues` values allows: 8, 4, or 1 (each draw tallied as it ends).
template <int kWidest = 8, typename F>
decltype(auto) WithSettleEvery(int leastValues, F&& call) {
    if constexpr (kWidest >= 8) {
        if (leastValues >= 8) {
            return call.template operator()<8>();
        }
    }
    if (leastValues >= 4) {
        return call.template operator()<4>();
    }
    return call.template operator()<1>();
}

// A set of bits in one word a lane, or two where kWide, counted by the arithmetic. A bit's place
// in two words is shifted into both, and lands in its own alone (the shifts give 0 from 64 on).
template <typename V, typename Arithmetic, bool kWide>
struct CountedSet {
    struct Grid {
        V low;
        V high;
    };
    // A ticket's numbers, `shift` bits up.
    static Grid GridOf(const NumberSet& numbers, std::uint64_t shift = 0) {
        const BitIndexes bits = IndexesOf(numbers) << shift;
        return {V{} + static_cast<std::uint64_t>(bits),
                V{} + static_cast<std::uint64_t>(bits >> 64)};
    }
    // The bit at `place` added, to an empty set where the draw before ended (`restart`): the
    // clear folds into the or, one masked instruction a word where a clear took another.
    template <typename Mask>
    void AddAfter(Mask restart, V place) {
        const V one = V{} + 1;
        const V bit = Arithmetic::ShiftLeft(one, place);
        low = restart ? bit : low | bit;
        if constexpr (kWide) {
            const V highBit = Arithmetic::ShiftLeft(one, place - 64);
            high = restart ? highBit : high | highBit;
        }
    }
    [[nodiscard]] V Count() const {
        if constexpr (kWide) {
            return Arithmetic::Count(low) + Arithmetic::Count(high);
        } else {
            return Arithmetic::Count(low);
        }
    }
    [[nodiscard]] V CountWith(const Grid& grid) const {
        if constexpr (kWide) {
            return Arithmetic::Count(low & grid.low) + Arithmetic::Count(high & grid.high);
        } else {
            return Arithmetic::Count(low & grid.low);
        }
    }
    [[nodiscard]] auto AnyWith(const Grid& grid) const {
        if constexpr (kWide) {
            return ((low & grid.low) | (high & grid.high)) != 0;
        } else {
            return (low & grid.low) != 0;
        }
    }
    template <typename Mask>
    void CopyWhere(Mask copy, const CountedSet& from) {
        low = copy ? from.low : low;
        if constexpr (kWide) {
            high = copy ? from.high : high;
        }
    }

    V low{};
    V high{};
};

// What every kernel keeps for its lanes beside the draws: the generator states, how near each
// came to an edge, the tally of its draws (8 bits a field, kWords words), where its draws start,
// where its marked draws end (kMarks), and the values that it writes. Lane l is lane l % kWidth
// of vector l / kWidth.
template <typename V, int G, int kWords, bool kMarks>
struct LaneFrame {
    static constexpr int kWidth = sizeof(V) / sizeof(std::uint64_t);
    static constexpr std::uint32_t kBlock = 8;  // values packed into one 64-bit store per lane
    // A draw takes a value for each of its numbers at least: 248 times that many values complete
    // at most 249 draws, within the 255 that an 8-bit tally field holds.
    static constexpr std::uint32_t kFlushDraws = 248;
    static_assert(kFlushDraws % kBlock == 0 && DrawChunk::kSnapshotEvery % kBlock == 0);

    LaneFrame(const GeneratorState* laneStarts, std::uint32_t count, LaneOutput* lanes,
              std::uint64_t unseen, const LaneRule& rule)
        : starts(laneStarts),
          values(count),
          out(lanes),
          flushEvery(kFlushDraws * static_cast<std::uint32_t>(rule.drawn + rule.secondDrawn +
                                                              (rule.game == LaneGame::Bonus))),
          marked(V{} + rule.marked) {
        seen.fill(V{} + unseen);
        endsBefore.fill(V{} + 1);
    }

    void Flush() {
        EachVector<G>([&](auto g) {
            for (int word = 0; word < kWords; ++word) {
                const auto counts = Lanes(histogram[g][word]);
                for (int w = 0; w < kWidth; ++w) {
                    for (std::size_t k = 0; k < 8; ++k) {
                        out[g * kWidth + w].tally[8 * word + k] += counts[w] >> (8 * k) & 0xFF;
                    }
                }
                histogram[g][word] = V{};
            }
        });
        sinceFlush = 0;
    }
    // One more draw in the lanes of vector g where `done`: in the 8-bit field of its code, `shown`
    // being 8 times the code, of the word that holds it. Where the arithmetic's shifts give 0 from
    // 64 on, the field is shifted into every word, and lands in its own alone.
    template <typename Arithmetic, typename Index, typename Done>
    void Tally(Index g, Done done, V shown, std::uint32_t j) {
        if constexpr (kMarks) {
            Mark(g, done, shown, j);
        }
        AddField<Arithmetic>(g, done, shown);
    }
    template <typename Arithmetic, typename Index, typename Done>
    void AddField(Index g, Done done, V shown) {
        const V one = V{} + 1;
        if constexpr (kWords == 1) {
            V& counts = histogram[g][0];
            counts = AddedWhere<Arithmetic>(done, counts, one << shown);
        } else if constexpr (WideSet<V, Arithmetic>::kZeroingShifts &&
                             !Arithmetic::kMaskRegisters) {
            // The one cleared where no draw ends before it is shifted: no test in each word.
            const V unit = one & reinterpret_cast<V>(done);
            for (int w = 0; w < kWords; ++w) {
                histogram[g][w] +=
                    Arithmetic::ShiftLeft(unit, shown - static_cast<std::uint64_t>(64 * w));
            }
        } else if constexpr (WideSet<V, Arithmetic>::kZeroingShifts) {
            for (int w = 0; w < kWords; ++w) {
                V& counts = histogram[g][w];
                const V field =
                    Arithmetic::ShiftLeft(one, shown - static_cast<std::uint64_t>(64 * w));
                counts = AddedWhere<Arithmetic>(done, counts, field);
            }
        } else {
            const V field = one << (shown & 63);
            const V word = shown >> 6;
            for (int w = 0; w < kWords; ++w) {
                V& counts = histogram[g][w];
                counts = AddedWhere<Arithmetic>(done & (word == static_cast<std::uint64_t>(w)),
                                                counts, field);
            }
        }
    }
    // The same for a code that is a count of matches, where the arithmetic counts bits: the
    // count's field from a table where it has one and two words hold the codes.
    template <typename Arithmetic, typename Index, typename Done>
    void TallyCount(Index g, Done done, V count, std::uint32_t j) {
        if constexpr (kMarks) {
            Mark(g, done, count << 3, j);
        }
        AddCount<Arithmetic>(g, done, count);
    }
    template <typename Arithmetic, typename Index, typename Done>
    void AddCount(Index g, Done done, V count) {
        if constexpr (kWords <= 2 && requires { Arithmetic::FieldOf(count, 0); }) {
            for (int word = 0; word < kWords; ++word) {
                V& counts = histogram[g][word];
                counts = AddedWhere<Arithmetic>(done, counts, Arithmetic::FieldOf(count, word));
            }
        } else {
            AddField<Arithmetic>(g, done, count << 3);  // 8 bits a field
        }
    }
    // The same for the draws that ended within a few values of the block, at most one a lane:
    // `ended`, their bits of the block's ends (0 in a lane where none did), and their counts.
    template <typename Arithmetic, typename Index>
    void TallyEnded(Index g, V ended, V count) {
        MarkEnded(g, ended, count);
        AddCount<Arithmetic>(g, ended != 0, count);
    }
    // A draw tallied where `done` (`shown` being 8 times its code, `ends` the block's ends with
    // value j's): at once, or kept and tallied with the draws that end within kEvery values.
    template <int kEvery, typename Arithmetic, typename Index, typename Done>
    void TallyOrKeep(Index g, Done done, V shown, V ends, V& kept, std::uint32_t j, bool tail) {
        if constexpr (kEvery == 1) {
            Tally<Arithmetic>(g, done, shown, j);
        } else {
            kept = done ? shown : kept;
            SettleWindow<kEvery>::Close(ends, j, tail, [&](V ended) {
                MarkEnded(g, ended, kept >> 3);
                AddField<Arithmetic>(g, ended != 0, kept);
            });
        }
    }
    template <typename Index>
    void MarkEnded(Index g, V ended, V code) {
        if constexpr (kMarks) {
            blockMarks[g] |= ended & (V{} - ((marked >> code) & 1));
        }
    }
    // Bit j marked in the block's marks of vector g where a draw ends (`ended`) with a marked
    // code, `shown` being 8 times the code: the code's bit of `marked` shifted up to j, the rest
    // cleared (one ternary-logic step where there is one).
    template <typename Index, typename Done>
    void Mark(Index g, Done ended, V shown, std::uint32_t j) {
        const V wanted = (marked >> (shown >> 3)) << j;
        const V bit = V{} + (std::uint64_t{1} << j);
        blockMarks[g] = ended ? blockMarks[g] | (wanted & bit) : blockMarks[g];
    }
    // The block's marks of every vector, its first value i.
    void FoldMarks(std::uint32_t i) {
        if constexpr (kMarks) {
            EachVector<G>([&](auto g) {
                markWord[g] |= blockMarks[g] << (i % 64);
                blockMarks[g] = V{};
            });
        }
    }
    // Before value i: a snapshot of every lane's state every kSnapshotEvery values.
    void Before(std::uint32_t i, const std::array<V, G>& x, const std::array<V, G>& c) {
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
    }
    // After value `last`, `taken` values since the previous call: the draw starts of a full word
    // (or of the end), and the tally fields before they can overflow.
    void After(std::uint32_t last, std::uint32_t taken) {
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
                if constexpr (kMarks) {
                    const auto marks64 = Lanes(markWord[g]);
                    for (int w = 0; w < kWidth; ++w) {
                        out[g * kWidth + w].marks[last / 64] = marks64[w];
                    }
                    markWord[g] = V{};
                }
            });
        }
        sinceFlush += taken;
        if (sinceFlush == flushEvery) {
            Flush();
        }
    }

    // Every value of the chunks, step(g, x, ends, j, tail) giving vector g's next numbers less
    // one for its new x and marking bit j in `ends` where a draw ends (`tail`: the value is a
    // block of its own, after the last block of kBlock); then the lanes' ends and guards. The
    // generator states are the loop's own: in a member, they would be stored and loaded again in
    // every block, on the chain of the steps.
    template <typename Step, typename Arithmetic>
    void Run(Step&& step, const Arithmetic& arithmetic) {
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
        const auto next = [&](auto g) {
            if constexpr (requires { Arithmetic::Step(x[g], c[g]); }) {
                Arithmetic::Step(x[g], c[g]);
            } else {
                const V t = Arithmetic::TimesMultiplier(x[g]) + c[g];
                x[g] = t & detail::kLowMask;
                c[g] = Arithmetic::TimesCarryUnit(t >> kModulusBits);
            }
            return x[g];
        };
        std::uint32_t i = 0;
        for (; i + kBlock <= values; i += kBlock) {
            Before(i, x, c);
            std::array<V, G> packed{};
            std::array<V, G> ends{};  // bit j: value i + j ended a draw
            LOTO_MCA_REGION("BEGIN block");
#pragma GCC unroll 8
            for (std::uint32_t j = 0; j < kBlock; ++j) {
                EachVector<G>(
                    [&](auto g) { packed[g] |= step(g, next(g), ends[g], j, false) << (8 * j); });
            }
            LOTO_MCA_REGION("END block");
            EachVector<G>([&](auto g) {
                endWord[g] |= ends[g] << (i % 64);
                const auto words = Lanes(packed[g] + 0x0101010101010101);
                for (int w = 0; w < kWidth; ++w) {
                    std::memcpy(out[g * kWidth + w].numbers + i, &words[w], sizeof words[w]);
                }
            });
            FoldMarks(i);
            After(i + kBlock - 1, kBlock);
        }
        for (; i < values; ++i) {
            Before(i, x, c);
            EachVector<G>([&](auto g) {
                V ends{};
                const auto numbers = Lanes(step(g, next(g), ends, 0, true));
                endWord[g] |= ends << (i % 64);
                for (int w = 0; w < kWidth; ++w) {
                    out[g * kWidth + w].numbers[i] = static_cast<std::uint8_t>(numbers[w] + 1);
                }
            });
            FoldMarks(i);
            After(i, 1);
        }
        Flush();
        EachVector<G>([&](auto g) {
            const auto nearby = Lanes(seen[g]);
            const auto xs = Lanes(x[g]), cs = Lanes(c[g]);
            for (int w = 0; w < kWidth; ++w) {
                LaneOutput& lane = out[g * kWidth + w];
                lane.end = {static_cast<std::int64_t>(xs[w]), static_cast<std::int64_t>(cs[w])};
                lane.guard = arithmetic.CameNear(nearby[w]);
            }
        });
    }

    const GeneratorState* starts;
    std::uint32_t values;
    LaneOutput* out;
    std::array<V, G> seen;                             // per lane, how near it came to an edge
    std::array<std::array<V, kWords>, G> histogram{};  // per lane, the draws since the flush
    std::array<V, G> endWord{};   // per lane, bit k: value k of the current 64 ended a draw
    std::array<V, G> endsBefore;  // per lane, 1 where the value before the word ended a draw
    std::uint32_t flushEvery;     // values
    std::uint32_t sinceFlush = 0;
    V marked;                       // bit c: a draw of code c is marked
    std::array<V, G> blockMarks{};  // per lane, bit j: value j of the block ended a marked draw
    std::array<V, G> markWord{};    // per lane, bit k: value k of the current 64 did
};

// A game of one pool and no bonus. V: a GCC vector of unsigned 64-bit lanes; G: how many such
// vectors step side by side. One vector's step waits on the latency of its multiply, shifts and
// adds; a second, independent vector fills those cycles.
//
// The draws that end within kSettleEvery values are tallied together (SettleWindow): a copy of the
// set where a draw ends, where the arithmetic counts bits, or of its code, where counting and
// tallying (a tally of several words, without a count of bits) took several instructions a value.
//
// Where the arithmetic counts bits, a game with a bonus is drawn here too: its draw is complete
// with one number more, the bonus, and the set before it holds the main numbers. Its code, 2m + b,
// is the main matches m of that set plus the m + b of the whole: two bit counts where a draw ends,
// where the kernel of several pools counted units on every value.
template <typename V, int G, typename Arithmetic, bool kWide, int kWords, bool kMarks,
          int kSettleEvery = 1, bool kBonus = false>
[[gnu::flatten]] void GeneratePlain(const GeneratorState* starts, std::uint32_t values,
                                    const LaneRule& rule, LaneOutput* out) {
    static_assert(!kBonus || Arithmetic::kCountsBits);
    const V one = V{} + 1;
    const Arithmetic arithmetic(static_cast<std::uint64_t>(rule.top));
    LaneFrame<V, G, kWords, kMarks> frame(starts, values, out, Arithmetic::kUnseen, rule);
    using Set = WideSet<V, Arithmetic>;
    // Where the arithmetic counts bits, a draw is the set of its numbers alone, bit number - 1 (of
    // one word, or of two), its counts taken from it; else a LaneDraw, each bit three higher,
    // counted in units as it comes.
    constexpr bool kCountsBits = Arithmetic::kCountsBits;
    const int up = kCountsBits ? 0 : 3;
    // A draw is complete with this count of numbers, in the units that the draw counts in.
    const V complete = V{} + (static_cast<std::uint64_t>(rule.drawn + (kBonus ? 1 : 0)) << up);
    // The lanes draw number - 1, and add the 1 to eight values at once when they are stored.
    const V grid = V{} + (rule.grid.low() >> 1 << up);
    const WideWords wide = WideGrid(rule.grid, up);
    [[maybe_unused]] const V gridLow = V{} + wide.low, gridHigh = V{} + wide.high;
    [[maybe_unused]] const V split = V{} + WideSplit(up);
    std::array<LaneDraw<V>, G> draw{};
    [[maybe_unused]] std::array<Set, G> sets{};
    using Counted = CountedSet<V, Arithmetic, kWide>;
    [[maybe_unused]] const typename Counted::Grid countedGrid = Counted::GridOf(rule.grid);
    [[maybe_unused]] std::array<Counted, G> counted{}, ended{}, endedMain{};
    [[maybe_unused]] std::array<decltype(V{} == V{}), G> restarts{};  // the draw before ended
    [[maybe_unused]] std::array<V, G> endedShown{};
    using Window = SettleWindow<kSettleEvery>;
    // One value of vector g's lanes, the block's value j: its number less one, and the draw it
    // goes to; bit j marked in `ends` where the draw ends.
    const auto step = [&](auto g, V x, V& ends, std::uint32_t j, bool tail) {
        const V bit = V{} + (std::uint64_t{1} << j);
        const V index = arithmetic.Number(x);
        frame.seen[g] = arithmetic.Watch(frame.seen[g], x);  // a lane that came near is made again
        if constexpr (kCountsBits) {
            Counted& set = counted[g];
            const Counted main = set;  // where the draw ends, its main numbers (kBonus)
            set.AddAfter(restarts[g], index);
            const auto done = set.Count() == complete;
            ends = AddedWhere<Arithmetic>(done, ends, bit);  // bit j is not yet set
            const auto code = [&](const Counted& whole, const Counted& mainOnly) {
                const V matches = whole.CountWith(countedGrid);
                return kBonus ? mainOnly.CountWith(countedGrid) + matches : matches;
            };
            if constexpr (kSettleEvery == 1) {
                frame.template TallyCount<Arithmetic>(g, done, code(set, main), j);
            } else {
                ended[g].CopyWhere(done, set);
                if constexpr (kBonus) {
                    endedMain[g].CopyWhere(done, main);
                }
                Window::Close(ends, j, tail, [&](V endedIn) {
                    frame.template TallyEnded<Arithmetic>(g, endedIn, code(ended[g], endedMain[g]));
                });
            }
            restarts[g] = done;
        } else if constexpr (kWide) {
            Set& set = sets[g];
            LaneDraw<V>& d = draw[g];
            const auto place = Set::PlaceOf(index, split);
            const V fresh = ~Set::Down(set.low, set.high, place) & kLaneUnit;
            set.Add(place, V{} + kLaneUnit);
            d.accepted += fresh;
            d.matches += fresh & Set::Down(gridLow, gridHigh, place);
            const auto done = d.Complete(complete);
            ends = AddedWhere<Arithmetic>(done, ends, bit);  // bit j is not yet set
            frame.template TallyOrKeep<kSettleEvery, Arithmetic>(g, done, d.matches, ends,
                                                                 endedShown[g], j, tail);
            set.ClearWhere(done);
            d.accepted = ClearedWhere<Arithmetic>(done, d.accepted);
            d.matches = ClearedWhere<Arithmetic>(done, d.matches);
        } else if constexpr (Arithmetic::kMaskRegisters || kWords > 1) {
            LaneDraw<V>& d = draw[g];
            d.Take(index, grid);
            const auto done = d.Complete(complete);
            ends = AddedWhere<Arithmetic>(done, ends, bit);  // bit j is not yet set
            frame.template TallyOrKeep<kSettleEvery, Arithmetic>(g, done, d.matches, ends,
                                                                 endedShown[g], j, tail);
            d.drawn = ClearedWhere<Arithmetic>(done, d.drawn);
            d.accepted = ClearedWhere<Arithmetic>(done, d.accepted);
            d.matches = ClearedWhere<Arithmetic>(done, d.matches);
        } else {
            V& histogram = frame.histogram[g][0];
            LaneDraw<V>& d = draw[g];
            d.Take(index, grid);
            const V done = reinterpret_cast<V>(d.Complete(complete));  // all ones where completed
            ends |= done & bit;
            histogram += done & (one << d.matches);
            if constexpr (kMarks) {
                frame.Mark(g, done, d.matches, j);
            }
            d.drawn &= ~done;
            d.accepted &= ~done;
            d.matches &= ~done;
        }
        return index;
    };
    frame.Run(step, arithmetic);
}

// A game with a bonus, or with a second pool. A lane's draw is one set of bits, its numbers';
// what it has taken, in units; and its code, the sum of its matches' weights: with a bonus,
// 2m + b (the last number taken is the bonus: 2 (m + b) less its match); with a second pool,
// m 2^shift + s, a main number's unit 2^shift times a second-pool number's, its bits as far up,
// and the set cleared when the draw goes on to the second pool. The codes' tally takes kWords
// words. Two vectors side by side: each value's choice of pool lengthens the chain from one
// value to the next, whose latency the other vector fills.
template <typename V, int G, typename Arithmetic, LaneGame kGame, bool kWide, int kWords,
          bool kMarks, int kSettleEvery>
[[gnu::flatten]] void GenerateRich(const GeneratorState* starts, std::uint32_t values,
                                   const LaneRule& rule, LaneOutput* out) {
    constexpr bool kSecond = kGame == LaneGame::Second;
    const Arithmetic arithmetic(static_cast<std::uint64_t>(rule.top),
                                static_cast<std::uint64_t>(rule.secondTop));
    LaneFrame<V, G, kWords, kMarks> frame(starts, values, out, Arithmetic::kUnseen, rule);
    const std::uint64_t mainUnit = kLaneUnit << rule.mainShift;
    const V mainTop = Arithmetic::TopOf(static_cast<std::uint64_t>(rule.top));
    [[maybe_unused]] const V mainGrid = V{} + (rule.grid.low() << 2 << rule.mainShift);
    const V mainUnits = V{} + static_cast<std::uint64_t>(rule.drawn + (kSecond ? 0 : 1)) * mainUnit;
    const V secondTop = Arithmetic::TopOf(static_cast<std::uint64_t>(rule.secondTop));
    [[maybe_unused]] const V secondGrid = V{} + (rule.secondGrid.low() << 2);
    using Set = WideSet<V, Arithmetic>;
    const WideWords mainWide = WideGrid(rule.grid, 3 + rule.mainShift);
    const WideWords secondWide = WideGrid(rule.secondGrid, 3);
    [[maybe_unused]] const V mainSplit = V{} + WideSplit(3 + rule.mainShift);
    [[maybe_unused]] const V secondSplit = V{} + WideSplit(3);
    [[maybe_unused]] const V mainLow = V{} + mainWide.low, mainHigh = V{} + mainWide.high;
    [[maybe_unused]] const V secondLow = V{} + secondWide.low, secondHigh = V{} + secondWide.high;
    const V complete = mainUnits + static_cast<std::uint64_t>(rule.secondDrawn) * kLaneUnit;
    std::array<V, G> takens{}, codes{};
    [[maybe_unused]] std::array<V, G> sets{}, endedShown{};
    [[maybe_unused]] std::array<Set, G> wideSets{};
    const auto step = [&](auto g, V x, V& ends, std::uint32_t j, bool tail) {
        const V bit = V{} + (std::uint64_t{1} << j);
        V& taken = takens[g];
        V& code = codes[g];
        V& seen = frame.seen[g];
        const auto inSecond = AtLeast<Arithmetic>(taken, mainUnits);
        const V unit = kSecond ? (inSecond ? V{} + kLaneUnit : V{} + mainUnit) : V{} + kLaneUnit;
        V index;
        if constexpr (kSecond) {
            index = PoolNumber(arithmetic, x, inSecond, mainTop, secondTop, seen);
        } else {
            index = arithmetic.Number(x);
            seen = arithmetic.Watch(seen, x);
        }
        V match;
        if constexpr (kWide) {
            Set& set = wideSets[g];
            const auto place =
                Set::PlaceOf(index, kSecond ? (inSecond ? secondSplit : mainSplit) : mainSplit);
            const V fresh = ~Set::Down(set.low, set.high, place) & unit;
            set.Add(place, unit);
            taken += fresh;
            match = kSecond ? fresh & Set::Down(inSecond ? secondLow : mainLow,
                                                inSecond ? secondHigh : mainHigh, place)
                            : fresh & Set::Down(mainLow, mainHigh, place);
        } else {
            V& set = sets[g];
            const V grid = kSecond ? (inSecond ? secondGrid : mainGrid) : mainGrid;
            const V fresh = ~(set >> index) & unit;
            set |= unit << index;
            taken += fresh;
            match = fresh & (grid >> index);
        }
        code += match;
        const auto done = taken == complete;
        const V shown = kSecond ? code : (code << 1) - match;  // 8 times the code
        ends = AddedWhere<Arithmetic>(done, ends, bit);        // bit j is not yet set
        frame.template TallyOrKeep<kSettleEvery, Arithmetic>(g, done, shown, ends, endedShown[g], j,
                                                             tail);
        // The set starts again with each draw, and with a draw's second pool.
        const auto clear = kSecond ? done | (taken == mainUnits) : done;
        if constexpr (kWide) {
            wideSets[g].ClearWhere(clear);
        } else {
            sets[g] = ClearedWhere<Arithmetic>(clear, sets[g]);
        }
        taken = ClearedWhere<Arithmetic>(done, taken);
        code = ClearedWhere<Arithmetic>(done, code);
        return index;
    };
    frame.Run(step, arithmetic);
}

// A game of two pools whose numbers fit two words together, where the arithmetic counts bits: the
// draw is one set, the main numbers at their indexes and the second pool's above them. Its bit
// count says when the draw is complete and, kept for the next value, which pool that draws from;
// a number taken again sets a bit already set, and needs no test. The tally's word k counts, in
// the field of their main matches, the draws of at least k second-pool matches: the field is
// made once for every word, where a code's field took a shift in each; the codes' counts are the
// words' differences, taken once a chunk.
template <typename V, int G, typename Arithmetic, bool kWide, int kWords, bool kMarks,
          int kSettleEvery>
[[gnu::flatten]] void GenerateTwoPoolsCounted(const GeneratorState* starts, std::uint32_t values,
                                              const LaneRule& rule, LaneOutput* out) {
    using Frame = LaneFrame<V, G, kWords, kMarks>;
    using Set = CountedSet<V, Arithmetic, kWide>;
    const Arithmetic arithmetic(static_cast<std::uint64_t>(rule.top),
                                static_cast<std::uint64_t>(rule.secondTop));
    Frame frame(starts, values, out, Arithmetic::kUnseen, rule);
    const auto top = static_cast<std::uint64_t>(rule.top);
    const V mainTop = Arithmetic::TopOf(top);
    const V secondTop = Arithmetic::TopOf(static_cast<std::uint64_t>(rule.secondTop));
    const typename Set::Grid mainGrid = Set::GridOf(rule.grid);
    const typename Set::Grid secondGrid = Set::GridOf(rule.secondGrid, top);
    const V mainDrawn = V{} + static_cast<std::uint64_t>(rule.drawn);
    const V secondDrawn = V{} + static_cast<std::uint64_t>(rule.secondDrawn);
    const V complete = V{} + static_cast<std::uint64_t>(rule.drawn + rule.secondDrawn);
    const V secondPlace = V{} + top;
    const auto mainShift = static_cast<std::uint64_t>(rule.mainShift);
    std::array<Set, G> sets{};
    [[maybe_unused]] std::array<Set, G> ended{};
    using Window = SettleWindow<kSettleEvery>;
    std::array<V, G> drawCounts{};  // after the previous value, complete or not
    // The draws of `set` in the lanes where `done`, each word's field where it counts them; their
    // main matches.
    const auto tally = [&](auto g, auto done, const Set& set) {
        const V main = set.CountWith(mainGrid);
        const V field = Arithmetic::FieldOf(main);
        EachVector<kWords>([&](auto k) {
            V& counts = frame.histogram[g][k];
            if constexpr (k == 0) {
                counts = AddedWhere<Arithmetic>(done, counts, field);
            } else if constexpr (k == 1) {  // a test of the bits, no count
                counts = AddedWhere<Arithmetic>(done & set.AnyWith(secondGrid), counts, field);
            } else {
                const auto atLeast = set.CountWith(secondGrid) >= V{} + std::uint64_t{k};
                counts = AddedWhere<Arithmetic>(done & atLeast, counts, field);
            }
        });
        return main;
    };
    const auto step = [&](auto g, V x, V& ends, std::uint32_t j, bool tail) {
        const V bit = V{} + (std::uint64_t{1} << j);
        Set& set = sets[g];
        // From the count itself, not from it cleared where the draw ended: one comparison on
        // the chain from one value to the next, where the clear put two.
        const auto inSecond = drawCounts[g] - mainDrawn < secondDrawn;
        // Both pools' numbers, then the lane's: the choice is on the chain from one value to
        // the next, which the product would lengthen; the watch, off it, takes the lane's top.
        // A second-pool number's place above the main pool's is added by its product.
        const V mainIndex = arithmetic.Number(x, mainTop);
        const V secondPlaced = arithmetic.Number(x, secondTop, secondPlace);
        frame.seen[g] = arithmetic.Watch(frame.seen[g], x, inSecond ? secondTop : mainTop);
        const V place = inSecond ? secondPlaced : mainIndex;
        set.AddAfter(drawCounts[g] == complete, place);  // the draw before ended
        const V index = inSecond ? place - secondPlace : place;
        const V count = set.Count();
        const auto done = count == complete;
        drawCounts[g] = count;
        ends = AddedWhere<Arithmetic>(done, ends, bit);  // bit j is not yet set
        if constexpr (kSettleEvery == 1) {
            const V main = tally(g, done, set);
            if constexpr (kMarks) {
                frame.Mark(g, done, ((main << mainShift) + set.CountWith(secondGrid)) << 3, j);
            }
        } else {
            ended[g].CopyWhere(done, set);
            Window::Close(ends, j, tail, [&](V endedIn) {
                const V main = tally(g, endedIn != 0, ended[g]);
                if constexpr (kMarks) {
                    frame.MarkEnded(g, endedIn,
                                    (main << mainShift) + ended[g].CountWith(secondGrid));
                }
            });
        }
        return index;
    };
    frame.Run(step, arithmetic);
    for (int l = 0; l < G * Frame::kWidth; ++l) {
        const auto atLeast = out[l].tally;
        out[l].tally = {};
        for (std::size_t m = 0; m < 8; ++m) {
            for (std::size_t k = 0; k < kWords; ++k) {
                const std::uint64_t more = k + 1 < kWords ? atLeast[8 * (k + 1) + m] : 0;
                const std::size_t code = (m << mainShift) + k;
                if (code < kLaneCodes) {
                    out[l].tally[code] = atLeast[8 * k + m] - more;
                }
            }
        }
    }
}

// The kernel of a rule's game: its sets of one word or two, the tally words that its codes take.
// G vectors side by side fill the latency of the step's chain in every game: a game of two words
// or two pools has more work a value, but its chain is as long, and even AVX2's 16 registers hold
// two vectors' draws of it (measured: 8 to 20 % faster than one vector at a time).
template <typename V, int G = 1, typename Arithmetic = WideArithmetic<V>>
void Generate(const GeneratorState* starts, std::uint32_t values, const LaneRule& rule,
              LaneOutput* out) {
    // One pool's draws tallied a few values together: a draw takes a value a number at least,
    // the bonus one more.
    const auto settled = [&]<bool kWide, int kWords, bool kMarks, bool kBonus>() {
        return WithSettleEvery(rule.drawn + (kBonus ? 1 : 0), [&]<int kEvery>() {
            GeneratePlain<V, G, Arithmetic, kWide, kWords, kMarks, kEvery, kBonus>(starts, values,
                                                                                   rule, out);
        });
    };
    const auto sized = [&]<bool kWide, int kWords, bool kMarks>() {
        switch (rule.game) {
            case LaneGame::Plain:
                // Where bits are counted, or a tally of several words costs a value most.
                if constexpr (Arithmetic::kCountsBits || kWords > 1) {
                    return settled.template operator()<kWide, kWords, kMarks, false>();
                }
                return GeneratePlain<V, G, Arithmetic, kWide, kWords, kMarks>(starts, values, rule,
                                                                              out);
            case LaneGame::Bonus:  // the common games take 6 to 8 values a draw at least
                if constexpr (Arithmetic::kCountsBits) {
                    return settled.template operator()<kWide, kWords, kMarks, true>();
                } else {
                    return WithSettleEvery<4>(rule.drawn + 1, [&]<int kEvery>() {
                        GenerateRich<V, G, Arithmetic, LaneGame::Bonus, kWide, kWords, kMarks,
                                     kEvery>(starts, values, rule, out);
                    });
                }
            case LaneGame::Second:
                if constexpr (Arithmetic::kCountsBits) {
                    // Word k counts the draws of k second-pool matches or more; m has a field.
                    const int mostMain = (rule.codes - 1) >> rule.mainShift;
                    const int mostSecond = (rule.codes - 1) & ((1 << rule.mainShift) - 1);
                    if (rule.top + rule.secondTop <= (kWide ? 128 : 64) && mostMain < 8 &&
                        mostSecond < kWords) {
                        return WithSettleEvery(rule.drawn + rule.secondDrawn, [&]<int kEvery>() {
                            GenerateTwoPoolsCounted<V, G, Arithmetic, kWide, kWords, kMarks,
                                                    kEvery>(starts, values, rule, out);
                        });
                    }
                }
                return WithSettleEvery<4>(rule.drawn + rule.secondDrawn, [&]<int kEvery>() {
                    GenerateRich<V, G, Arithmetic, LaneGame::Second, kWide, kWords, kMarks, kEvery>(
                        starts, values, rule, out);
                });
        }
    };
    // Marks cost a few steps a value: compiled apart, so that a run without them pays nothing.
    const auto marked = [&]<bool kWide, int kWords>() {
        return rule.marked != 0 ? sized.template operator()<kWide, kWords, true>()
                                : sized.template operator()<kWide, kWords, false>();
    };
    const auto words = [&]<bool kWide>() {
        switch ((rule.codes + 7) / 8) {
            case 1:
                return marked.template operator()<kWide, 1>();
            case 2:
                return marked.template operator()<kWide, 2>();
            case 3:
                return marked.template operator()<kWide, 3>();
            default:
                return marked.template operator()<kWide, 4>();
        }
    };
    rule.wide ? words.template operator()<true>() : words.template operator()<false>();
}

}  // namespace loto::lanes
