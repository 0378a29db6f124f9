#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/draw_sets.h"
#include "core/draw_sink.h"
#include "core/draw_watch.h"
#include "core/draws.h"

namespace loto {

// A run of generator values as one worker sees it: their numbers, and the draws they make when a
// draw is taken to begin at the first value. That guess is wrong unless the chunk starts on a true
// draw boundary; the stitcher finds where the true draws meet the guessed ones.
struct DrawChunk {
    struct Snapshot {
        std::uint32_t at;  // the state before value `at`
        GeneratorState state;

        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };
    static constexpr std::uint32_t kSnapshotEvery = 4096;  // values between snapshots

    // The number of every value in the pool that its guessed draw takes it from: where the true
    // draw takes it from the other pool, the stitcher draws it again from the state.
    std::vector<std::uint8_t> numbers;
    std::vector<std::uint64_t> drawStarts;  // bit i: a guessed draw starts at value i
    std::vector<std::uint64_t> marks;  // bit i: a guessed draw of a marked tier ends at value i
    std::vector<std::uint64_t> tally;  // of the complete guessed draws, by tier
    OpenDraw tail;                     // the guessed draw still open after the last value
    std::vector<Snapshot> snapshots;   // the states before values 0, 4096, 8192 ...
    GeneratorState end;                // after the last value

    friend bool operator==(const DrawChunk&, const DrawChunk&) = default;

    [[nodiscard]] std::uint32_t size() const noexcept {
        return static_cast<std::uint32_t>(numbers.size());
    }
    // The complete guessed draws.
    [[nodiscard]] std::uint64_t Draws() const noexcept;
    [[nodiscard]] bool StartsAt(std::uint32_t i) const noexcept {
        return i < size() && (drawStarts[i / 64] >> (i % 64) & 1) != 0;
    }
    // How many guessed draws start before value i.
    [[nodiscard]] std::uint32_t StartsBefore(std::uint32_t i) const noexcept;
    // Where the guessed draw number `d` starts (0 for the first); size() when there is none.
    [[nodiscard]] std::uint32_t StartOf(std::uint32_t d) const noexcept;
    // The generator state after the first `values` values.
    [[nodiscard]] GeneratorState StateAfter(std::uint32_t values) const noexcept;
    // The guessed draw left open after the last value, parsed again from the numbers.
    [[nodiscard]] OpenDraw OpenTail(const DrawRule& rule) const noexcept;
    // Storage for chunks of `values` values of a game of up to `tiers` tiers, so that generating
    // one allocates nothing.
    void Reserve(std::uint32_t values, std::size_t tiers);
    // Sizes the chunk for `values` values of the rule's game with no draw start marked and no
    // snapshot; room for marks where some tier is marked.
    void Clear(std::uint32_t values, const DrawRule& rule, bool marking = false);
    // Tells `sink` the `count` guessed draws from the draw number `first`, which starts at value
    // `from`, parsing again only the draws marked.
    void Tell(std::uint32_t first, std::uint32_t from, std::uint64_t count, const DrawRule& rule,
              DrawSink& sink) const;
};

// The tiers whose draws' ends a chunk marks, by tier (nonzero where marked); none when empty.
using MarkedTiers = std::span<const std::uint8_t>;

// Fills `chunk` with `values` values from `start`, scored against the rule's ticket, one value
// at a time by NextNumber: exact for every state, guard zones included. The lanes (draw_lanes.h)
// produce the same chunks several at a time.
void GenerateChunk(GeneratorState start, std::uint32_t values, const DrawRule& rule,
                   DrawChunk& chunk, MarkedTiers marked = {});

// What the stitcher scores draws by, made once a join: the serial loop's tables of both pools,
// and the strides of a tier's index. Each pool's total is complete at its count of numbers times
// kCounted (the bonus's at one, where the game has one; 0 where there is no such pool).
struct DrawScoring {
    using Table = BasicScoringTable<WideSet>;
    explicit DrawScoring(const DrawRule& rule) noexcept
        : main(rule.main, rule.game.main.top),
          second(rule.second, rule.game.second.top),
          strides(rule.Strides()),
          mainComplete(static_cast<std::uint64_t>(rule.game.main.drawn) * Table::kCounted),
          bonusComplete(rule.game.bonus ? Table::kCounted : 0),
          secondComplete(static_cast<std::uint64_t>(rule.game.second.drawn) * Table::kCounted) {}

    Table main;
    Table second;
    TierStrides strides;
    std::uint64_t mainComplete;
    std::uint64_t bonusComplete;
    std::uint64_t secondComplete;
};

// Joins chunks, in the order of their values, along the true draw boundaries, until a number of
// draws is complete or, watched, until a draw in one of the watch's `until` tiers. Each chunk must
// start from the true state after the previous one.
class ChunkStitcher {
public:
    // The draws are numbered for the watch from `before` + 1.
    // A sink, where given, is told every draw in order; its marked tiers must be the chunks'.
    ChunkStitcher(std::uint64_t draws, const DrawRule& rule, std::span<std::uint64_t> tally,
                  DrawWatch* watch = nullptr, std::uint64_t before = 0,
                  DrawSink* sink = nullptr) noexcept
        : target_(draws),
          rule_(rule),
          scoring_(rule),
          tally_(tally),
          watch_(watch),
          sink_(sink),
          before_(before) {}

    // Adds the true draws of the next chunk, the first of which starts at value `from` (a true
    // draw's start: where an earlier stitching of the chunk stopped); true once the draws are
    // complete.
    bool Absorb(const DrawChunk& chunk, std::uint32_t from = 0);

    [[nodiscard]] std::uint64_t done() const noexcept { return done_; }
    // The state after the last value taken: the end of the last chunk, or of the last draw.
    [[nodiscard]] const GeneratorState& state() const noexcept { return state_; }
    // Where the last value taken of the last chunk lies: the values taken of it.
    [[nodiscard]] std::uint32_t stoppedAt() const noexcept { return stoppedAt_; }
    // The true draw left open after the last value taken.
    [[nodiscard]] const OpenDraw& open() const noexcept { return open_; }
    // The number, for the watch, of the last draw done.
    [[nodiscard]] std::uint64_t numbered() const noexcept { return before_ + done_; }
    [[nodiscard]] std::uint64_t target() const noexcept { return target_; }
    [[nodiscard]] std::span<std::uint64_t> tally() const noexcept { return tally_; }

    // For runs that stitch stretches of chunks drawn elsewhere (shared_draws.cpp). Starts from
    // `state`, on a true draw boundary.
    void StartAt(const GeneratorState& state) noexcept { state_ = state; }
    // Draws the open draw's last numbers from the state: true once the draws are complete.
    bool FinishOpen() noexcept;
    // Adds `draws` complete draws, fewer than the draws still to do, whose tally is `added`, and
    // goes on from their end: `end`, `open` drawn of the next draw.
    void Add(std::span<const std::uint64_t> added, std::uint64_t draws, const OpenDraw& open,
             const GeneratorState& end) noexcept;
    // Counts `draws` complete draws already in the tally, which end in `state` on a draw boundary.
    void Drew(std::uint64_t draws, const GeneratorState& state) noexcept;

private:
    // One more draw, in `tier`: true where it completes the draws.
    bool Count(int tier);
    // How the open draw went on in a chunk: until a true draw starts where a guessed one does,
    // the chunk ends, or the draws are complete.
    enum class Meeting { Met, Ended, Complete };
    // The open draw, and the true draws after it, taken from value i on by `draw`, an open draw
    // kept as it is parsed: i left after the last value taken.
    // `numberAt(v)`: value v's number in the pool that the open draw takes it from.
    template <typename Draw>
    Meeting Meet(const DrawChunk& chunk, std::uint32_t& i, Draw& draw, auto numberAt);
    // The chunk's guessed draws from the draw number `first` on, into the tally.
    void TakeFrom(const DrawChunk& chunk, std::uint32_t first) noexcept;
    // The tiers of `count` guessed draws from the draw number `first`, parsed again from the
    // chunk's numbers, each added to the tally with `sign` (+1 or -1).
    void AddGuessed(const DrawChunk& chunk, std::uint32_t first, std::uint32_t count,
                    int sign) noexcept;
    // The draws complete after `values` values of the chunk.
    bool StopAt(const DrawChunk& chunk, std::uint32_t values);
    // Up to `count` guessed draws of the chunk from value `from`, one by one, each watched.
    bool AbsorbWatched(const DrawChunk& chunk, std::uint32_t from, std::uint64_t count);

    std::uint64_t target_;
    const DrawRule& rule_;
    DrawScoring scoring_;
    std::span<std::uint64_t> tally_;
    DrawWatch* watch_;
    DrawSink* sink_;
    std::uint64_t before_;
    std::uint64_t done_ = 0;
    OpenDraw open_;  // the true draw that the previous chunk left open
    GeneratorState state_;
    std::uint32_t stoppedAt_ = 0;
};

}  // namespace loto
