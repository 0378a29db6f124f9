#include "core/parallel_engine.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <system_error>

#include "core/generator_jump.h"

namespace loto {
namespace {

constexpr std::uint64_t kFirstSlice = 1 << 16;  // draws, until the speed is known
constexpr std::uint64_t kMinSlice = 1 << 12;
constexpr std::uint64_t kMaxSlice = 1 << 28;
constexpr double kValuesMargin = 1.02;  // above the mean values of a draw: the last chunk suffices

// The serial loop in a function of its own, apart from the callers of the event pump, which the
// page's Asyncify instruments: every engine's compiler then sees a small loop of its own.
[[gnu::noinline]] void SerialDraws(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
                                   std::span<std::uint64_t> tally) noexcept {
    DrawInto(state, draws, rule, tally);
}

// The serial loop, watched: in parts, a part that holds a tier's first draw drawn again in smaller
// parts, down to one draw, which finds it. The draws done.
std::uint64_t SerialWatched(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
                            std::span<std::uint64_t> tally, DrawWatch& watch,
                            std::uint64_t before) {
    constexpr std::uint64_t kParts = 16;
    const std::uint64_t part = std::max<std::uint64_t>(1, (draws + kParts - 1) / kParts);
    std::vector<std::uint64_t> after(tally.size());
    std::uint64_t done = 0;
    while (done < draws && !watch.ended) {
        const std::uint64_t count = std::min(part, draws - done);
        const GeneratorState from = state;
        std::copy(tally.begin(), tally.end(), after.begin());
        SerialDraws(state, count, rule, after);
        if (!watch.Fresh(tally, after)) {
            std::copy(after.begin(), after.end(), tally.begin());
            done += count;
        } else if (count > 1) {
            state = from;
            done += SerialWatched(state, count, rule, tally, watch, before + done);
        } else {
            const auto tier = static_cast<std::size_t>(
                std::mismatch(tally.begin(), tally.end(), after.begin()).first - tally.begin());
            std::copy(after.begin(), after.end(), tally.begin());
            watch.Record(tier, before + ++done);
        }
    }
    return done;
}

// The serial loop, each draw told to the sink: those between its marked tiers' counted.
void SerialTold(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
                std::span<std::uint64_t> tally, DrawSink& sink) {
    const DrawByDraw loop(rule);
    std::uint64_t passed = 0;
    for (std::uint64_t d = 0; d < draws; ++d) {
        const int tier = loop.Next(state);
        ++tally[static_cast<std::size_t>(tier)];
        if (sink.Marks(tier)) {
            sink.Hit(passed, tier);
            passed = 0;
        } else {
            ++passed;
        }
    }
    sink.Pass(passed);
}

}  // namespace

unsigned ParallelDrawEngine::ResolveThreads(unsigned threads) noexcept {
    return threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
}

ParallelDrawEngine::ParallelDrawEngine(unsigned threads, std::uint32_t chunkValues,
                                       const LaneKernel& kernel)
    : kernel_(kernel),
      threads_(1),
      asked_(threads),
      chunkValues_(chunkValues),
      jump_(JumpFactor(chunkValues)) {
    // The caller's slots first: a lack of memory for them shows here, in the caller's thread.
    AddSlots();
    // Each further thread gets its slots as it starts (the workers never allocate), so that a
    // system that cannot start every thread asked for (a memory or process limit) draws on those
    // that did start, having spent nothing on the others.
    const unsigned wanted = ResolveThreads(threads);
    try {
        while (threads_ < wanted) {
            AddSlots();
            try {
                workers_.emplace_back([this] { WorkerLoop(); });
            } catch (const std::system_error&) {
                const std::lock_guard lock(mutex_);
                slots_.resize(slots_.size() - SlotsPerThread());
                break;
            }
            ++threads_;
        }
    } catch (const std::bad_alloc&) {
        const std::lock_guard lock(mutex_);
        slots_.resize(threads_ * SlotsPerThread());
    }
}

void ParallelDrawEngine::AddSlots() {
    const std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < SlotsPerThread(); ++i) {
        slots_.emplace_back().chunk.Reserve(chunkValues_, kResultRows);
    }
}

ParallelDrawEngine::~ParallelDrawEngine() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    work_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void ParallelDrawEngine::WorkerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return closing_ || CanClaim(); });
        if (closing_) {
            return;
        }
        GenerateNext(lock);
    }
}

void ParallelDrawEngine::GenerateNext(std::unique_lock<std::mutex>& lock) {
    const std::uint64_t first = nextClaim_;
    nextClaim_ += kernel_.lanes;
    std::array<GeneratorState, kMostLanes> starts;
    std::array<DrawChunk*, kMostLanes> chunks{};
    for (unsigned lane = 0; lane < kernel_.lanes; ++lane) {
        const std::uint64_t index = first + lane;
        Slot& slot = slots_[index % slots_.size()];
        slot.residue = nextResidue_;
        starts[lane] =
            index == 0 ? firstStart_ : StateWithStepValue(static_cast<std::int64_t>(nextResidue_));
        nextResidue_ = JumpMultiply(nextResidue_, jump_);
        chunks[lane] = &slot.chunk;
    }
    const DrawRule& rule = rule_;  // changed only when no chunk is in flight, as marked_
    ++inFlight_;
    lock.unlock();
    GenerateChunks(kernel_, starts.data(), chunkValues_, rule, chunks.data(), marked_);
    lock.lock();
    for (unsigned lane = 0; lane < kernel_.lanes; ++lane) {
        slots_[(first + lane) % slots_.size()].ready = first + lane;
    }
    --inFlight_;
    ready_.notify_all();
}

std::uint64_t ParallelDrawEngine::ChunksFor(std::uint64_t draws) const noexcept {
    const double chunks = static_cast<double>(draws) * valuesPerDraw_ / chunkValues_;
    return static_cast<std::uint64_t>(std::min(chunks, 1e12)) + 1;
}

// A few draws are not worth sharing: draw them here. Nor are any on one thread without lanes for
// the game: the chunks would only add their bookkeeping to the serial loop, the fastest one core
// has.
bool ParallelDrawEngine::Serial(std::uint64_t draws, const DrawRule& rule) const noexcept {
    const bool lanes = kernel_.path != LanePath::Portable && LanesDraw(rule);
    return (threads_ == 1 && !lanes) ||
           static_cast<double>(draws) * ValuesPerDraw(rule.game) < chunkValues_;
}

void ParallelDrawEngine::Restart(std::unique_lock<std::mutex>& lock, const GeneratorState& state,
                                 const DrawRule& rule, MarkedTiers marked) {
    active_ = false;
    ready_.wait(lock, [this] { return inFlight_ == 0; });
    for (Slot& slot : slots_) {
        slot.ready = kNotReady;
        // Here, not on a worker, where memory that cannot be had would end the program.
        slot.chunk.tally.reserve(static_cast<std::size_t>(rule.tiers()));
    }
    rule_ = rule;
    marked_.assign(marked.begin(), marked.end());
    valuesPerDraw_ = ValuesPerDraw(rule.game) * kValuesMargin;
    firstStart_ = state;
    nextClaim_ = 0;
    nextJoin_ = 0;
    nextResidue_ = JumpResidue(StepValue(state));
    active_ = true;
}

ParallelDrawEngine::Slot& ParallelDrawEngine::AwaitChunk(std::unique_lock<std::mutex>& lock,
                                                         std::uint64_t index) {
    Slot& slot = slots_[index % slots_.size()];
    while (slot.ready != index) {
        if (CanClaim()) {
            GenerateNext(lock);
        } else {
            ready_.wait(lock);
        }
    }
    return slot;
}

std::uint64_t ParallelDrawEngine::Draw(GeneratorState& state, std::uint64_t draws,
                                       const DrawRule& rule, std::span<std::uint64_t> tally,
                                       DrawWatch* watch, std::uint64_t before,
                                       std::uint64_t ahead) {
    if (peers_ != nullptr) {
        if (const auto done = DrawShared(state, draws, rule, tally, watch, before)) {
            return *done;
        }
    }
    return DrawHere(state, draws, rule, tally, watch, before, ahead);
}

void ParallelDrawEngine::DrawTold(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
                                  std::span<std::uint64_t> tally, DrawSink& sink,
                                  std::uint64_t ahead) {
    (void)DrawHere(state, draws, rule, tally, nullptr, 0, ahead, &sink);
}

std::uint64_t ParallelDrawEngine::DrawHere(GeneratorState& state, std::uint64_t draws,
                                           const DrawRule& rule, std::span<std::uint64_t> tally,
                                           DrawWatch* watch, std::uint64_t before,
                                           std::uint64_t ahead, DrawSink* sink) {
    if (Serial(draws, rule)) {
        if (watch != nullptr) {
            return SerialWatched(state, draws, rule, tally, *watch, before);
        }
        sink != nullptr ? SerialTold(state, draws, rule, tally, *sink)
                        : SerialDraws(state, draws, rule, tally);
        return draws;
    }
    std::unique_lock lock(mutex_);
    Carry from;
    const MarkedTiers marked = sink != nullptr ? MarkedTiers(sink->marked()) : MarkedTiers();
    if (active_ && carry_ && carry_->end == state && rule_ == rule &&
        std::equal(marked_.begin(), marked_.end(), marked.begin(), marked.end())) {
        from = *carry_;  // the chunks under way continue these draws
    } else {
        Restart(lock, state, rule, marked);
    }
    carry_.reset();
    neededChunks_ = from.index + ChunksFor(draws + ahead);
    work_.notify_all();

    ChunkStitcher stitcher(draws, rule_, tally, watch, before, sink);
    for (std::uint64_t index = from.index;; ++index) {
        Slot& slot = AwaitChunk(lock, index);
        lock.unlock();
        // The jumped start is the true one unless the true step value lies outside [0, m); a
        // chunk taken up in its middle was checked when it was begun.
        const bool first = index == from.index;
        const GeneratorState& start = first ? state : stitcher.state();
        if (index > 0 && !(first && from.value > 0) &&
            StepValue(start) != static_cast<std::int64_t>(slot.residue)) {
            GenerateChunk(start, chunkValues_, rule_, slot.chunk, marked_);
        }
        const bool complete = stitcher.Absorb(slot.chunk, first ? from.value : 0);
        lock.lock();
        const std::uint32_t at = stitcher.stoppedAt();
        if (complete && at < chunkValues_) {
            carry_ = Carry{stitcher.state(), index, at};  // the slot is kept for the rest
            nextJoin_ = index;
            break;
        }
        slot.ready = kNotReady;
        nextJoin_ = index + 1;
        if (complete) {
            carry_ = Carry{stitcher.state(), index + 1, 0};
            break;
        }
        neededChunks_ = nextJoin_ + ChunksFor(draws - stitcher.done() + ahead);
        work_.notify_all();
    }
    work_.notify_all();
    state = stitcher.state();
    return stitcher.done();
}

BlockResult ParallelDrawEngine::DrawBlock(const BlockRequest& block, const DrawRule& rule) {
    BlockResult result{.tally = std::vector<std::uint64_t>(static_cast<std::size_t>(rule.tiers())),
                       .tail = {},
                       .end = block.start};
    ChunkStitcher stitcher(UINT64_MAX, rule, result.tally);
    std::unique_lock lock(mutex_);
    Restart(lock, block.start, rule);
    carry_.reset();
    neededChunks_ = block.chunks;
    work_.notify_all();
    for (std::uint64_t index = 0; index < block.chunks; ++index) {
        Slot& slot = AwaitChunk(lock, index);
        lock.unlock();
        if (index > 0 && StepValue(stitcher.state()) != static_cast<std::int64_t>(slot.residue)) {
            GenerateChunk(stitcher.state(), chunkValues_, rule_, slot.chunk);
        }
        stitcher.Absorb(slot.chunk);
        lock.lock();
        slot.ready = kNotReady;
        nextJoin_ = index + 1;
    }
    result.tail = stitcher.open();
    result.end = stitcher.state();
    return result;
}

DrawRun ParallelDrawEngine::Run(GeneratorState& state, std::uint64_t count, const DrawRule& rule,
                                std::span<std::uint64_t> tally, EventPump& pump, DrawWatch* watch,
                                DrawSink* sink) {
    using Clock = std::chrono::steady_clock;
    // Shared with other processes, slices long enough for a block each, the pump still visited
    // several times a second.
    const double sliceSeconds = peers_ != nullptr ? kSharedSliceSeconds : kSliceSeconds;
    std::uint64_t slice = kFirstSlice;
    for (std::uint64_t done = 0; done < count;) {
        if (!pump.ProcessEvents({done, count})) {
            return {done, true};
        }
        const std::uint64_t draws = std::min(slice, count - done);
        const auto start = Clock::now();
        const std::uint64_t ahead = std::min(slice, count - done - draws);
        if (sink != nullptr) {
            DrawTold(state, draws, rule, tally, *sink, ahead);
            done += draws;
        } else {
            done += Draw(state, draws, rule, tally, watch, done, ahead);
        }
        if (watch != nullptr && watch->ended) {
            return {done, false};
        }
        const std::chrono::duration<double> took = Clock::now() - start;
        const double fitting =
            static_cast<double>(draws) * sliceSeconds / std::max(took.count(), 1e-6);
        slice = std::clamp(static_cast<std::uint64_t>(fitting), kMinSlice, kMaxSlice);
    }
    return {count, false};
}

}  // namespace loto
