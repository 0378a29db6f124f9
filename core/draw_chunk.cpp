#include "core/draw_chunk.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <type_traits>
#include <utility>

#include "core/draw_sets.h"

namespace loto {
namespace {

// Apart, and the state's fields passed as values: copied inline into the chunk, the state is
// carried by GCC through the whole loop as one vector register, two moves more in each step.
[[gnu::noinline]] void KeepSnapshot(DrawChunk& chunk, std::uint32_t at, std::int64_t x,
                                    std::int64_t c) {
    chunk.snapshots.push_back({at, {x, c}});
}

}  // namespace

std::uint64_t DrawChunk::Draws() const noexcept {
    return std::accumulate(tally.begin(), tally.end(), std::uint64_t{0});
}

std::uint32_t DrawChunk::StartsBefore(std::uint32_t i) const noexcept {
    std::uint32_t count = 0;
    for (std::uint32_t word = 0; word < i / 64; ++word) {
        count += static_cast<std::uint32_t>(std::popcount(drawStarts[word]));
    }
    if (i % 64 != 0) {
        const std::uint64_t below = (std::uint64_t{1} << (i % 64)) - 1;
        count += static_cast<std::uint32_t>(std::popcount(drawStarts[i / 64] & below));
    }
    return count;
}

std::uint32_t DrawChunk::StartOf(std::uint32_t d) const noexcept {
    for (std::uint32_t word = 0; word < drawStarts.size(); ++word) {
        std::uint64_t bits = drawStarts[word];
        const auto here = static_cast<std::uint32_t>(std::popcount(bits));
        if (d < here) {
            for (; d > 0; --d) {
                bits &= bits - 1;
            }
            return word * 64 + static_cast<std::uint32_t>(std::countr_zero(bits));
        }
        d -= here;
    }
    return size();
}

GeneratorState DrawChunk::StateAfter(std::uint32_t values) const noexcept {
    if (values == size()) {
        return end;
    }
    const Snapshot* from = &snapshots.front();
    for (const Snapshot& snapshot : snapshots) {
        if (snapshot.at <= values) {
            from = &snapshot;
        }
    }
    GeneratorState state = from->state;
    for (std::uint32_t i = from->at; i < values; ++i) {
        (void)NextNumber(state);
    }
    return state;
}

void DrawChunk::Reserve(std::uint32_t values, std::size_t tiers) {
    numbers.reserve(values);
    drawStarts.reserve((values + 63) / 64);
    marks.reserve((values + 63) / 64);
    snapshots.reserve(values / kSnapshotEvery + 1);
    tally.reserve(tiers);
}

void DrawChunk::Clear(std::uint32_t values, const DrawRule& rule, bool marking) {
    numbers.resize(values);
    drawStarts.assign((values + 63) / 64, 0);
    marks.assign(marking ? drawStarts.size() : 0, 0);
    snapshots.clear();
    tally.assign(static_cast<std::size_t>(rule.tiers()), 0);
}

// Counting the draw starts a word at a time is most of the work where few draws are marked: with
// the processor's own instruction where it has one, not the library's loop.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("popcnt", "default")]]
#endif
void DrawChunk::Tell(std::uint32_t first, std::uint32_t from, std::uint64_t count,
                     const DrawRule& rule, DrawSink& sink) const {
    // A marked draw ending at value v is the guessed draw number (starts up to v) - 1, and starts
    // at the last start up to v: the starts are counted a word at a time as the marks are read.
    const std::uint64_t last = first + count;  // the first guessed draw not told
    std::uint64_t told = first;
    std::uint32_t startsBefore = StartsBefore(from / 64 * 64);
    bool within = true;
    for (std::uint32_t word = from / 64; word < marks.size() && within; ++word) {
        std::uint64_t marked =
            marks[word] & (~std::uint64_t{0} << (word == from / 64 ? from % 64 : 0));
        for (; marked != 0; marked &= marked - 1) {
            const auto bit = static_cast<std::uint32_t>(std::countr_zero(marked));
            const std::uint64_t upTo = drawStarts[word] & (~std::uint64_t{0} >> (63 - bit));
            const std::uint64_t draw = startsBefore + std::popcount(upTo) - 1;
            within = draw < last;
            if (!within) {
                break;
            }
            std::uint32_t start = word;
            while (start > 0 && (start == word ? upTo : drawStarts[start]) == 0) {
                --start;
            }
            const std::uint64_t starts = start == word ? upTo : drawStarts[start];
            OpenDraw parsed;
            for (auto i = start * 64 + static_cast<std::uint32_t>(std::bit_width(starts) - 1);
                 i <= word * 64 + bit; ++i) {
                (void)parsed.Take(rule, numbers[i]);
            }
            sink.Hit(draw - told, parsed.Tier(rule));
            told = draw + 1;
        }
        startsBefore += static_cast<std::uint32_t>(std::popcount(drawStarts[word]));
    }
    sink.Pass(last - told);
}

OpenDraw DrawChunk::OpenTail(const DrawRule& rule) const noexcept {
    // From the last draw start, found from the end: the open draw, or the last complete one.
    std::uint32_t word = static_cast<std::uint32_t>(drawStarts.size());
    while (word > 0 && drawStarts[word - 1] == 0) {
        --word;
    }
    OpenDraw draw;
    if (word == 0) {
        return draw;
    }
    const auto last = static_cast<std::uint32_t>(std::bit_width(drawStarts[word - 1]) - 1);
    for (std::uint32_t i = (word - 1) * 64 + last; i < size(); ++i) {
        if (draw.Take(rule, numbers[i])) {
            draw = {};
        }
    }
    return draw;
}

namespace {

// Value i - 1 ended a draw: marked where its tier is.
void MarkEnd(DrawChunk& chunk, std::uint32_t i, std::uint8_t marked) {
    chunk.marks[(i - 1) / 64] |= std::uint64_t{marked != 0} << ((i - 1) % 64);
}

template <typename Set>
NumberSet ToNumbers(Set set) {
    return {static_cast<std::uint64_t>(set), static_cast<std::uint64_t>(set >> 32 >> 32)};
}

// A guessed draw of a game of one pool whose set fits a word, by shifts: there, faster than the
// table's lookups.
class ShiftedOpenDraw {
public:
    explicit ShiftedOpenDraw(const DrawRule& rule) noexcept
        : grid_(rule.main.low()), complete_(static_cast<std::uint64_t>(rule.game.main.drawn)) {}

    int Take(int number) noexcept {
        draw_.Take(static_cast<std::uint64_t>(number), grid_);
        if (!draw_.Complete(complete_)) {
            return -1;
        }
        const auto matches = static_cast<int>(draw_.matches);
        draw_ = {};
        return matches;  // a game of one pool's tier
    }

private:
    std::uint64_t grid_;
    std::uint64_t complete_;
    PartialDraw draw_;
};

// A draw of any game, open as it is parsed, scored as the serial loop scores it: each pool's set
// and total by the tables' bits and weights (DrawScoring), the bonus's total apart. No shift by
// the number, which a set of two words takes several instructions for, and its state stays in
// registers, where OpenDraw's sets are arrays indexed by the number.
class ScoredDraw {
public:
    using Table = DrawScoring::Table;
    ScoredDraw(const DrawScoring& scoring, const OpenDraw& open) noexcept
        : scoring_(scoring),
          mainDrawn_(WideSet{open.main.high()} << 64 | open.main.low()),
          secondDrawn_(WideSet{open.second.high()} << 64 | open.second.low()) {
        const auto mainTaken = static_cast<std::uint64_t>(open.mainTaken) * Table::kCounted;
        mainTotal_ = std::min(mainTaken, scoring.mainComplete) + Unsigned(open.matches);
        bonusTotal_ =
            mainTaken - std::min(mainTaken, scoring.mainComplete) + Unsigned(open.bonusMatched);
        secondTotal_ = Unsigned(open.secondTaken) * Table::kCounted + Unsigned(open.secondMatches);
    }

    [[nodiscard]] bool Empty() const noexcept { return mainTotal_ == 0; }
    [[nodiscard]] bool InSecond() const noexcept {
        return mainTotal_ >= scoring_.mainComplete && bonusTotal_ >= scoring_.bonusComplete;
    }
    // The draw's tier where the number completes it, else -1.
    int Take(int number) noexcept {
        if (mainTotal_ < scoring_.mainComplete) {
            scoring_.main.Take<true>(number, mainDrawn_, mainTotal_);
        } else if (bonusTotal_ < scoring_.bonusComplete) {  // drawn from the main pool
            scoring_.main.Take<true>(number, mainDrawn_, bonusTotal_);
        } else {
            scoring_.second.Take<true>(number, secondDrawn_, secondTotal_);
        }
        if (!InSecond() || secondTotal_ < scoring_.secondComplete) {
            return -1;
        }
        const int tier = scoring_.strides.Index(Matches(mainTotal_), Matches(bonusTotal_),
                                                Matches(secondTotal_));
        mainDrawn_ = secondDrawn_ = 0;
        mainTotal_ = bonusTotal_ = secondTotal_ = 0;
        return tier;
    }
    [[nodiscard]] OpenDraw Open() const noexcept {
        OpenDraw open;
        open.main = ToNumbers(mainDrawn_);
        open.second = ToNumbers(secondDrawn_);
        open.mainTaken = static_cast<int>((mainTotal_ + bonusTotal_) / Table::kCounted);
        open.matches = Matches(mainTotal_);
        open.bonusMatched = Matches(bonusTotal_);
        open.secondTaken = static_cast<int>(secondTotal_ / Table::kCounted);
        open.secondMatches = Matches(secondTotal_);
        return open;
    }

private:
    static std::uint64_t Unsigned(int count) noexcept { return static_cast<std::uint64_t>(count); }
    static int Matches(std::uint64_t total) noexcept {
        return static_cast<int>(total % Table::kCounted);
    }

    const DrawScoring& scoring_;
    WideSet mainDrawn_;  // the bonus's number too
    WideSet secondDrawn_;
    std::uint64_t mainTotal_;
    std::uint64_t bonusTotal_;
    std::uint64_t secondTotal_;
};

// The top of the pool that the draw takes its next number from.
[[nodiscard]] std::uint64_t NextTop(const Game& game, const ScoredDraw& draw) noexcept {
    return static_cast<std::uint64_t>(draw.InSecond() ? game.second.top : game.main.top);
}

[[nodiscard]] bool OnePool(const Game& game) noexcept {
    return !game.bonus && !game.hasSecond();
}

// The tiers of `count` draws from `numbers`, each added to `into` with `add`.
template <typename Draw>
void AddTiers(Draw&& draw, const std::uint8_t* numbers, std::uint32_t count, std::uint64_t add,
              std::span<std::uint64_t> into) noexcept {
    for (; count > 0; ++numbers) {
        const int tier = draw.Take(*numbers);
        if (tier >= 0) {
            into[static_cast<std::size_t>(tier)] += add;
            --count;
        }
    }
}

// A draw starts at the first value and after every complete one. In a game of one pool and no
// bonus, draw by draw, as the serial loop draws and scores (BasicScoringTable), its first K
// values taken without a test, so that a chunk costs what the serial loop costs and a second
// thread doubles the speed: the snapshots are watched for once a draw, and value by value only
// where one falls within the draw's first K.
template <typename Set, int kDrawn, bool kMarks>
void GeneratePlain(GeneratorState start, std::uint32_t values, const DrawRule& rule,
                   DrawChunk& chunk, MarkedTiers marked) {
    const BasicScoringTable<Set> table(rule.main, rule.game.main.top);
    const auto top = static_cast<std::uint64_t>(rule.game.main.top);
    const auto drawn = static_cast<std::uint32_t>(kDrawn != 0 ? kDrawn : rule.game.main.drawn);
    const std::uint64_t complete = drawn * table.kCounted;
    GeneratorState state = start;  // in registers, not in the chunk's memory
    std::uint8_t* const numbers = chunk.numbers.data();
    std::array<std::uint64_t, BasicScoringTable<Set>::kMostRows> tally{};
    Set taken{};
    std::uint64_t total = 0;
    std::uint32_t i = 0;
    std::uint32_t nextSnapshot = 0;
    const auto take = [&] {
        const int number = NextNumber(state, top);
        numbers[i++] = static_cast<std::uint8_t>(number);
        table.template Take<kDrawn == 0>(number, taken, total);
    };
    const auto watchedTake = [&] {
        if (i == nextSnapshot) {
            KeepSnapshot(chunk, i, state.x, state.c);
            nextSnapshot += DrawChunk::kSnapshotEvery;
        }
        take();
    };
    while (i < values) {
        chunk.drawStarts[i / 64] |= std::uint64_t{1} << (i % 64);
        if (std::min(nextSnapshot, values) - i >= drawn) {
            for (std::uint32_t k = 0; k < drawn; ++k) {
                take();
            }
        }
        while (total < complete && i < values) {
            watchedTake();
        }
        if (total < complete) {
            break;
        }
        if constexpr (kMarks) {
            MarkEnd(chunk, i, marked[total % table.kCounted]);
        }
        ++tally[total % table.kCounted];
        taken = 0;
        total = 0;
    }
    std::copy_n(tally.begin(), chunk.tally.size(), chunk.tally.begin());
    chunk.tail.main = ToNumbers(taken);
    chunk.tail.mainTaken = static_cast<int>(total / table.kCounted);
    chunk.tail.matches = static_cast<int>(total % table.kCounted);
    chunk.end = state;
}

// A game with a bonus or a second pool, draw by draw as the serial loop draws and scores, each
// value's number in the pool that the draw is at. A pool's first candidates, as many as it draws,
// are taken without a test where no snapshot and not the chunk's end falls among them; the rest
// value by value. Set and SecondSet: integers of enough bits for each pool's numbers; kDrawn and
// kSecond: the pools' counts where known when compiled (0 where not), so that the first
// candidates are taken unrolled, as the serial loop takes them.
template <typename Set, typename SecondSet, int kDrawn, int kSecond>
void GenerateAnyGame(GeneratorState start, std::uint32_t values, const DrawRule& rule,
                     DrawChunk& chunk, MarkedTiers marked) {
    const Game& game = rule.game;
    const BasicScoringTable<Set> main(rule.main, game.main.top);
    const BasicScoringTable<SecondSet> second(rule.second, game.second.top);
    constexpr std::uint64_t kCounted = BasicScoringTable<Set>::kCounted;
    const TierStrides strides = rule.Strides();
    GeneratorState state = start;
    std::uint8_t* const numbers = chunk.numbers.data();
    std::uint32_t i = 0;
    std::uint32_t nextSnapshot = 0;
    // Candidates of a pool into a draw until it holds `count` numbers, or the chunk ends.
    const auto fill = [&](const auto& table, auto& drawn, std::uint64_t& total, auto known,
                          int runtime) {
        const int count = decltype(known)::value != 0 ? decltype(known)::value : runtime;
        const auto top = static_cast<std::uint64_t>(table.top());
        const auto take = [&] {
            const int number = NextNumber(state, top);
            numbers[i++] = static_cast<std::uint8_t>(number);
            table.Take(number, drawn, total);
        };
        if (std::min(nextSnapshot, values) - i >= static_cast<std::uint32_t>(count)) {
            for (int k = 0; k < count; ++k) {
                take();
            }
        }
        const std::uint64_t complete = static_cast<std::uint64_t>(count) * kCounted;
        while (total < complete && i < values) {
            if (i == nextSnapshot) {
                KeepSnapshot(chunk, i, state.x, state.c);
                nextSnapshot += DrawChunk::kSnapshotEvery;
            }
            take();
        }
        return total >= complete;
    };
    while (i < values) {
        chunk.drawStarts[i / 64] |= std::uint64_t{1} << (i % 64);
        Set drawn{};
        std::uint64_t total = 0;
        std::uint64_t bonus = 0;
        SecondSet taken{};
        std::uint64_t secondTotal = 0;
        // The bonus: one more number of the main pool, after which the set holds K + 1.
        const bool complete =
            fill(main, drawn, total, std::integral_constant<int, kDrawn>{}, game.main.drawn) &&
            (!game.bonus || fill(main, drawn, bonus, std::integral_constant<int, 1>{}, 1)) &&
            (!game.hasSecond() || fill(second, taken, secondTotal,
                                       std::integral_constant<int, kSecond>{}, game.second.drawn));
        if (!complete) {
            break;  // the chunk ends in this draw, parsed again as the open tail
        }
        const auto tier = static_cast<std::size_t>(
            strides.Index(static_cast<int>(total % kCounted), static_cast<int>(bonus % kCounted),
                          static_cast<int>(secondTotal % kCounted)));
        if (!marked.empty()) {
            MarkEnd(chunk, i, marked[tier]);
        }
        ++chunk.tally[tier];
    }
    chunk.tail = chunk.OpenTail(rule);
    chunk.end = state;
}

// The most common shapes compiled for: a main pool of 5, 6 or 7 and a second pool of 1 or 2.
template <typename Set, typename SecondSet>
void GenerateAnyGameOf(GeneratorState start, std::uint32_t values, const DrawRule& rule,
                       DrawChunk& chunk, MarkedTiers marked) {
    const int drawn = rule.game.main.drawn;
    const int second = rule.game.hasSecond() ? rule.game.second.drawn : 0;
    if (drawn == 5 && second == 1) {
        return GenerateAnyGame<Set, SecondSet, 5, 1>(start, values, rule, chunk, marked);
    }
    if (drawn == 5 && second == 2) {
        return GenerateAnyGame<Set, SecondSet, 5, 2>(start, values, rule, chunk, marked);
    }
    if (drawn == 6 && second == 0) {
        return GenerateAnyGame<Set, SecondSet, 6, 0>(start, values, rule, chunk, marked);
    }
    if (drawn == 7 && second == 0) {
        return GenerateAnyGame<Set, SecondSet, 7, 0>(start, values, rule, chunk, marked);
    }
    GenerateAnyGame<Set, SecondSet, 0, 0>(start, values, rule, chunk, marked);
}

}  // namespace

void GenerateChunk(GeneratorState start, std::uint32_t values, const DrawRule& rule,
                   DrawChunk& chunk, MarkedTiers marked) {
    chunk.Clear(values, rule, !marked.empty());
    chunk.tail = {};
    WithSetFor(rule.game.main.top, [&](auto set) {
        using Set = typename decltype(set)::type;
        if (rule.game.bonus || rule.game.hasSecond()) {
            WithSetFor(rule.game.second.top, [&](auto secondSet) {
                GenerateAnyGameOf<Set, typename decltype(secondSet)::type>(start, values, rule,
                                                                           chunk, marked);
            });
            return;
        }
        WithDrawnCount(rule.game.main.drawn, [&](auto drawn) {
            constexpr int kDrawn = decltype(drawn)::value;
            // Apart, so that the loop without marks stays as the serial loop's.
            marked.empty() ? GeneratePlain<Set, kDrawn, false>(start, values, rule, chunk, marked)
                           : GeneratePlain<Set, kDrawn, true>(start, values, rule, chunk, marked);
        });
    });
}

void ChunkStitcher::TakeFrom(const DrawChunk& chunk, std::uint32_t first) noexcept {
    for (std::size_t k = 0; k < chunk.tally.size(); ++k) {
        tally_[k] += chunk.tally[k];
    }
    AddGuessed(chunk, 0, first, -1);
}

void ChunkStitcher::AddGuessed(const DrawChunk& chunk, std::uint32_t first, std::uint32_t count,
                               int sign) noexcept {
    const auto add = static_cast<std::uint64_t>(sign);
    const std::uint8_t* numbers = &chunk.numbers[chunk.StartOf(first)];
    if (OnePool(rule_.game) && rule_.game.main.top <= kMostInOneWord) {
        AddTiers(ShiftedOpenDraw(rule_), numbers, count, add, tally_);
    } else {
        AddTiers(ScoredDraw(scoring_, OpenDraw{}), numbers, count, add, tally_);
    }
}

template <typename Draw>
ChunkStitcher::Meeting ChunkStitcher::Meet(const DrawChunk& chunk, std::uint32_t& i, Draw& draw,
                                           auto numberAt) {
    while (!(draw.Empty() && chunk.StartsAt(i))) {
        if (i == chunk.size()) {
            return Meeting::Ended;
        }
        const int tier = draw.Take(numberAt(i));
        ++i;
        if (tier >= 0 && Count(tier)) {
            return Meeting::Complete;
        }
    }
    return Meeting::Met;
}

bool ChunkStitcher::Count(int tier) {
    ++tally_[static_cast<std::size_t>(tier)];
    ++done_;
    if (sink_ != nullptr) {
        sink_->Marks(tier) ? sink_->Hit(0, tier) : sink_->Pass(1);
    }
    const bool ended =
        watch_ != nullptr && watch_->Record(static_cast<std::size_t>(tier), before_ + done_);
    return ended || done_ == target_;
}

bool ChunkStitcher::StopAt(const DrawChunk& chunk, std::uint32_t values) {
    state_ = chunk.StateAfter(values);
    stoppedAt_ = values;
    return true;
}

bool ChunkStitcher::Absorb(const DrawChunk& chunk, std::uint32_t from) {
    // Finish the open draw and go on value by value until a true draw starts where a guessed one
    // does; from there on both parse the same numbers the same way. Until then, in a game of two
    // pools, a value's number in the true draw's pool is drawn again from the chunk's start.
    const Game& game = rule_.game;
    std::uint32_t i = from;
    // Only a game of two pools draws again; the state is found from a snapshot.
    GeneratorState replay = game.hasSecond() ? chunk.StateAfter(from) : chunk.end;
    ScoredDraw draw(scoring_, open_);
    const Meeting meeting = Meet(chunk, i, draw, [&](std::uint32_t v) -> int {
        if (!game.hasSecond()) {
            return chunk.numbers[v];
        }
        return NextNumber(replay, NextTop(game, draw));
    });
    open_ = draw.Open();
    if (meeting == Meeting::Ended) {
        state_ = chunk.end;
        stoppedAt_ = i;
        return false;
    }
    if (meeting == Meeting::Complete) {
        return StopAt(chunk, i);
    }
    const std::uint32_t first = chunk.StartsBefore(i);
    const std::uint64_t ahead = chunk.Draws() - first;
    if (watch_ != nullptr && watch_->Fresh(chunk.tally)) {
        return AbsorbWatched(chunk, i, std::min(ahead, target_ - done_));
    }
    if (done_ + ahead < target_) {
        // All the rest of the chunk: its tally less the guessed draws before the meeting point.
        TakeFrom(chunk, first);
        if (sink_ != nullptr) {
            chunk.Tell(first, i, ahead, rule_, *sink_);
        }
        done_ += ahead;
        open_ = chunk.tail;
        state_ = chunk.end;
        stoppedAt_ = chunk.size();
        return false;
    }
    const auto needed = static_cast<std::uint32_t>(target_ - done_);
    // The draws needed parsed again, or, where they are the most of the chunk, those after them
    // taken from its tally: fewer draws parsed a slice.
    if (needed <= ahead / 2) {
        AddGuessed(chunk, first, needed, 1);
    } else {
        TakeFrom(chunk, first);
        AddGuessed(chunk, first + needed, static_cast<std::uint32_t>(ahead) - needed, -1);
    }
    if (sink_ != nullptr) {
        chunk.Tell(first, i, needed, rule_, *sink_);
    }
    done_ = target_;
    return StopAt(chunk, chunk.StartOf(first + needed));
}

bool ChunkStitcher::FinishOpen() noexcept {
    if (open_.Empty()) {
        return false;
    }
    ScoredDraw draw(scoring_, open_);
    int tier = -1;
    while (tier < 0) {
        tier = draw.Take(NextNumber(state_, NextTop(rule_.game, draw)));
    }
    open_ = {};
    return Count(tier);
}

void ChunkStitcher::Add(std::span<const std::uint64_t> added, std::uint64_t draws,
                        const OpenDraw& open, const GeneratorState& end) noexcept {
    for (std::size_t k = 0; k < added.size(); ++k) {
        tally_[k] += added[k];
    }
    done_ += draws;
    open_ = open;
    state_ = end;
}

void ChunkStitcher::Drew(std::uint64_t draws, const GeneratorState& state) noexcept {
    done_ += draws;
    open_ = {};
    state_ = state;
}

// A chunk that may hold a tier's first draw: a handful in a run, parsed again draw by draw.
bool ChunkStitcher::AbsorbWatched(const DrawChunk& chunk, std::uint32_t from, std::uint64_t count) {
    ScoredDraw draw(scoring_, OpenDraw{});
    for (std::uint32_t i = from; count > 0; ++i) {
        const int tier = draw.Take(chunk.numbers[i]);
        if (tier >= 0) {
            --count;
            if (Count(tier)) {
                return StopAt(chunk, i + 1);
            }
        }
    }
    open_ = chunk.tail;
    state_ = chunk.end;
    stoppedAt_ = chunk.size();
    return false;
}

}  // namespace loto
