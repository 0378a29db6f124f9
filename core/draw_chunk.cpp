#include "core/draw_chunk.h"

#include <algorithm>
#include <bit>
#include <numeric>

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

void DrawChunk::Reserve(std::uint32_t values) {
    numbers.reserve(values);
    drawStarts.reserve((values + 63) / 64);
    snapshots.reserve(values / kSnapshotEvery + 1);
}

void DrawChunk::Clear(std::uint32_t values) {
    numbers.resize(values);
    drawStarts.assign((values + 63) / 64, 0);
    snapshots.clear();
    tally = {};
}

Tally DrawChunk::GuessedTally(std::uint32_t first, std::uint32_t count,
                              std::uint64_t gridMask) const noexcept {
    Tally guessed{};
    PartialDraw draw;
    for (std::uint32_t i = StartOf(first); count > 0; ++i) {
        draw.Take(numbers[i], gridMask);
        if (draw.Complete()) {
            ++guessed[draw.matches];
            draw = {};
            --count;
        }
    }
    return guessed;
}

// A draw starts at the first value and after every complete one. Draw by draw, as the serial
// loop draws and scores (ScoringTable), its first six values taken without a test, so that a
// chunk costs what the serial loop costs and a second thread doubles the speed: the snapshots are
// watched for once a draw, and value by value only where one falls within the draw's first six.
void GenerateChunk(GeneratorState start, std::uint32_t values, std::uint64_t gridMask,
                   DrawChunk& chunk) {
    constexpr std::uint64_t kComplete = kFavouriteCount * ScoringTable::kCounted;
    chunk.Clear(values);
    const ScoringTable table(gridMask);
    GeneratorState state = start;  // in registers, not in the chunk's memory
    std::uint8_t* const numbers = chunk.numbers.data();
    Tally tally{};
    std::uint64_t drawn = 0;
    std::uint64_t total = 0;
    std::uint32_t i = 0;
    std::uint32_t nextSnapshot = 0;
    const auto take = [&] {
        const int number = NextNumber(state);
        numbers[i++] = static_cast<std::uint8_t>(number);
        table.Take(number, drawn, total);
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
        if (std::min(nextSnapshot, values) - i >= kFavouriteCount) {
            for (int k = 0; k < kFavouriteCount; ++k) {
                take();
            }
        }
        while (total < kComplete && i < values) {
            watchedTake();
        }
        if (total < kComplete) {
            break;
        }
        ++tally[total % ScoringTable::kCounted];
        drawn = 0;
        total = 0;
    }
    chunk.tally = tally;
    chunk.tail = {drawn, total / ScoringTable::kCounted, total % ScoringTable::kCounted};
    chunk.end = state;
}

bool ChunkStitcher::Absorb(const DrawChunk& chunk) {
    // Finish the open draw and go on value by value until a true draw starts where a guessed one
    // does; from there on both parse the same numbers the same way.
    std::uint32_t i = 0;
    while (!(open_.accepted == 0 && chunk.StartsAt(i))) {
        if (i == chunk.size()) {
            state_ = chunk.end;
            return false;
        }
        open_.Take(chunk.numbers[i++], gridMask_);
        if (open_.Complete()) {
            ++tally_[static_cast<std::size_t>(open_.matches)];
            open_ = {};
            if (++done_ == target_) {
                state_ = chunk.StateAfter(i);
                return true;
            }
        }
    }
    const std::uint32_t first = chunk.StartsBefore(i);
    const std::uint64_t ahead = chunk.Draws() - first;
    if (done_ + ahead < target_) {
        // All the rest of the chunk: its tally less the guessed draws before the meeting point.
        const Tally before = chunk.GuessedTally(0, first, gridMask_);
        for (std::size_t k = 0; k < tally_.size(); ++k) {
            tally_[k] += chunk.tally[k] - before[k];
        }
        done_ += ahead;
        open_ = chunk.tail;
        state_ = chunk.end;
        return false;
    }
    const auto needed = static_cast<std::uint32_t>(target_ - done_);
    const Tally last = chunk.GuessedTally(first, needed, gridMask_);
    for (std::size_t k = 0; k < tally_.size(); ++k) {
        tally_[k] += last[k];
    }
    done_ = target_;
    state_ = chunk.StateAfter(chunk.StartOf(first + needed));
    return true;
}

}  // namespace loto
