#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "core/draw_chunk.h"
#include "core/draw_lanes.h"
#include "core/draw_peers.h"
#include "core/draw_watch.h"
#include "core/draws.h"
#include "platform/event_pump.h"

namespace loto {

struct DrawRun {
    std::uint64_t done = 0;
    bool stopped = false;  // the pump asked the run to stop
};

// The draw loop on every core and every lane, with exactly the tallies and final state of the
// draws one after another.
//
// The values are cut into chunks. Each chunk starts from a state jumped ahead from the run's start
// (see generator_jump.h); a thread generates several chunks at once, one per lane of its vector
// unit (draw_lanes.h), and parses each into draws as if a draw began at its first value. The
// calling thread joins the chunks in order: it checks each jumped start against the state that
// the previous chunk really ended in (and generates the chunk again where they differ), finishes
// the draw left open by the previous chunk and re-parses until a true draw starts where a guessed
// one does, and takes the guessed draws from there on. The calling thread generates chunks too
// while it waits.
class ParallelDrawEngine {
public:
    static constexpr std::uint32_t kDefaultChunkValues = 1 << 16;
    static constexpr double kSliceSeconds = 0.005;  // between two visits of the event pump
    static constexpr double kSharedSliceSeconds = 0.2;

    // `threads` counts every thread that draws, the caller's included; 0 for all hardware threads.
    explicit ParallelDrawEngine(unsigned threads = 0,
                                std::uint32_t chunkValues = kDefaultChunkValues,
                                const LaneKernel& kernel = ActiveLaneKernel());
    ~ParallelDrawEngine();
    ParallelDrawEngine(const ParallelDrawEngine&) = delete;
    ParallelDrawEngine& operator=(const ParallelDrawEngine&) = delete;

    // The threads that draw: fewer than asked for when the system could not start them all.
    [[nodiscard]] unsigned threads() const noexcept { return threads_; }
    // How many threads a request for `threads` gets: 0 stands for every hardware thread.
    [[nodiscard]] static unsigned ResolveThreads(unsigned threads) noexcept;

    // `count` draws of the rule's game added to `tally` (rule.tiers() counts), the pump visited
    // before every slice of about kSliceSeconds, so that a command run inside the event
    // processing lands between two draws and continues the one state. Watched where a watch is
    // given: the run ends after a draw in one of its `until` tiers. Told to a sink where one is
    // given (not with a watch).
    DrawRun Run(GeneratorState& state, std::uint64_t count, const DrawRule& rule,
                std::span<std::uint64_t> tally, EventPump& pump, DrawWatch* watch = nullptr,
                DrawSink* sink = nullptr);

    // Exactly `draws` draws, on every thread, without visiting the pump, or fewer where the watch
    // ends them (numbered for it from `before` + 1): the draws done. The threads go on generating
    // about `ahead` draws more meanwhile, which a call that continues from the state and rule that
    // this one leaves takes up where it stopped, in the middle of a chunk: nothing generated is
    // lost between the slices of a run.
    // With peers, a call of many draws shares them out as blocks, one a process (see
    // shared_draws.cpp): the same draws, tally and state.
    std::uint64_t Draw(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
                       std::span<std::uint64_t> tally, DrawWatch* watch = nullptr,
                       std::uint64_t before = 0, std::uint64_t ahead = 0);

    // Exactly `draws` draws as Draw makes them, each told to `sink` in order; on this process
    // alone.
    void DrawTold(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
                  std::span<std::uint64_t> tally, DrawSink& sink, std::uint64_t ahead = 0);

    // Other processes to share the draws of long runs with; none by default.
    void Share(DrawPeers* peers) noexcept { peers_ = peers; }
    // A block of another process's run, drawn here on every thread.
    [[nodiscard]] BlockResult DrawBlock(const BlockRequest& block, const DrawRule& rule);

private:
    struct Slot {
        DrawChunk chunk;
        std::uint64_t residue = 0;  // the jumped step value that the chunk started from
        std::uint64_t ready = kNotReady;
    };
    static constexpr std::uint64_t kNotReady = UINT64_MAX;
    static constexpr unsigned kBatchesPerThread = 2;  // one generated while the other is joined

    [[nodiscard]] std::size_t SlotsPerThread() const noexcept {
        return kBatchesPerThread * kernel_.lanes;
    }
    // The slots of one more thread, two batches of one chunk per lane.
    void AddSlots();
    void WorkerLoop();
    // A batch of one chunk per lane may be claimed while some of it is needed and all its slots
    // have been joined.
    [[nodiscard]] bool CanClaim() const noexcept {
        return active_ && nextClaim_ < neededChunks_ &&
               nextClaim_ + kernel_.lanes <= nextJoin_ + slots_.size();
    }
    // Claims the next batch of chunks and generates them, the lock released meanwhile.
    void GenerateNext(std::unique_lock<std::mutex>& lock);
    // Waits for chunk `index` to be generated, generating others meanwhile.
    Slot& AwaitChunk(std::unique_lock<std::mutex>& lock, std::uint64_t index);
    // The draws of this process alone.
    std::uint64_t DrawHere(GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
                           std::span<std::uint64_t> tally, DrawWatch* watch, std::uint64_t before,
                           std::uint64_t ahead, DrawSink* sink = nullptr);
    // The draws shared out with the peers, or none where too few for a block each: the draws done.
    std::optional<std::uint64_t> DrawShared(GeneratorState& state, std::uint64_t draws,
                                            const DrawRule& rule, std::span<std::uint64_t> tally,
                                            DrawWatch* watch, std::uint64_t before);
    // How a block of the shared draws joined those before it: complete, the draws done or the
    // watch ended; or apart, to be drawn here.
    enum class Joined { Joined, Complete, Apart };
    Joined JoinBlock(ChunkStitcher& stitcher, const DrawRule& rule, const BlockResult& block,
                     std::int64_t start, DrawWatch* watch);
    // Stops the chunks under way, and starts generating the rule's from `state`, the ends of
    // the draws of `marked` tiers marked.
    void Restart(std::unique_lock<std::mutex>& lock, const GeneratorState& state,
                 const DrawRule& rule, MarkedTiers marked = {});
    [[nodiscard]] std::uint64_t ChunksFor(std::uint64_t draws) const noexcept;
    // Whether the draws go on the serial loop: a few, or one thread without lanes for the game.
    [[nodiscard]] bool Serial(std::uint64_t draws, const DrawRule& rule) const noexcept;

    const LaneKernel& kernel_;
    unsigned threads_;
    unsigned asked_;  // the threads asked for: 0, every hardware thread, on each peer its own
    std::uint32_t chunkValues_;
    std::uint64_t jump_;  // moves a residue one chunk ahead
    std::vector<Slot> slots_;
    DrawPeers* peers_ = nullptr;
    DrawChunk probe_;                   // a block's first values, drawn here to join it
    std::vector<std::uint64_t> rest_;   // a block's tally after its probe
    std::vector<std::int64_t> starts_;  // the blocks' step values

    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable ready_;
    bool active_ = false;
    DrawRule rule_{};                   // of the chunks under way
    std::vector<std::uint8_t> marked_;  // their marked tiers
    // Where the last draws ended: the state, and the chunk and value from which the chunks go on.
    struct Carry {
        GeneratorState end;
        std::uint64_t index = 0;
        std::uint32_t value = 0;
    };
    std::optional<Carry> carry_;
    double valuesPerDraw_ = 0;
    GeneratorState firstStart_;
    std::uint64_t nextClaim_ = 0;
    std::uint64_t nextJoin_ = 0;
    std::uint64_t neededChunks_ = 0;
    std::uint64_t nextResidue_ = 0;
    unsigned inFlight_ = 0;
    bool closing_ = false;  // the workers end

    std::vector<std::thread> workers_;  // last: they start once everything above exists
};

}  // namespace loto
