// A run's draws shared with other processes. The values are cut into blocks, one a process,
// each drawn where it is sent as if a draw began at its first value, from a state jumped ahead.
// Here the blocks are joined in order as the engine joins its chunks: a block's first values are
// drawn again here until the true draws meet the guessed ones, and from there on its tally is
// the true one. A block that holds a tier's first draw or the last of the draws is drawn again
// here, from that meeting point on, so that the watch and the count stop exactly where one
// process would.
#include <cmath>
#include <numeric>

#include "core/generator_jump.h"
#include "core/parallel_engine.h"

namespace loto {
namespace {

// The blocks fall short of the draws by ten standard deviations of the values they take, so that
// a few draws are left to draw here rather than a whole block drawn again where they would have
// gone past.
constexpr double kSpreads = 10;
constexpr std::uint64_t kFewestBlockChunks = 16;  // below that, not worth a message
constexpr std::uint32_t kProbeValues = 1024;      // where the true draws meet the guessed ones

}  // namespace

ParallelDrawEngine::Joined ParallelDrawEngine::JoinBlock(ChunkStitcher& stitcher,
                                                         const DrawRule& rule,
                                                         const BlockResult& block,
                                                         std::int64_t start, DrawWatch* watch) {
    if (StepValue(stitcher.state()) != start) {
        return Joined::Apart;  // the jump fell outside the generator's usual states
    }
    GenerateChunk(stitcher.state(), kProbeValues, rule, probe_);
    if (stitcher.Absorb(probe_)) {
        return Joined::Complete;
    }
    if (stitcher.open() != probe_.tail) {
        return Joined::Apart;  // the true draws did not meet the guessed ones in the probe
    }
    rest_.resize(block.tally.size());
    for (std::size_t k = 0; k < rest_.size(); ++k) {
        rest_[k] = block.tally[k] - probe_.tally[k];
    }
    const std::uint64_t restDraws = std::accumulate(rest_.begin(), rest_.end(), std::uint64_t{0});
    const bool last = stitcher.done() + restDraws >= stitcher.target();
    if (last || (watch != nullptr && watch->Fresh(rest_))) {
        // The open draw finished, the rest from a true draw boundary: watched and counted here.
        const std::uint64_t open = stitcher.open().Empty() ? 0 : 1;
        if (stitcher.FinishOpen()) {
            return Joined::Complete;
        }
        GeneratorState at = stitcher.state();
        const std::uint64_t wanted =
            std::min(restDraws - open, stitcher.target() - stitcher.done());
        stitcher.Drew(DrawHere(at, wanted, rule, stitcher.tally(), watch, stitcher.numbered(), 0),
                      at);
        if (stitcher.done() == stitcher.target() || (watch != nullptr && watch->ended)) {
            return Joined::Complete;
        }
        stitcher.Add({}, 0, block.tail, block.end);
        return Joined::Joined;
    }
    stitcher.Add(rest_, restDraws, block.tail, block.end);
    return Joined::Joined;
}

std::optional<std::uint64_t> ParallelDrawEngine::DrawShared(
    GeneratorState& state, std::uint64_t draws, const DrawRule& rule,
    std::span<std::uint64_t> tally, DrawWatch* watch, std::uint64_t before) {
    const unsigned blocks = peers_->count() + 1;
    const auto count = static_cast<double>(draws);
    const double values = count * ValuesPerDraw(rule.game) -
                          kSpreads * std::sqrt(count * ValuesPerDrawVariance(rule.game)) -
                          chunkValues_;
    const auto chunks = static_cast<std::uint64_t>(values / chunkValues_ / blocks);
    if (chunks < kFewestBlockChunks) {
        return std::nullopt;
    }
    // Block 0 is this process's, from the true start; block b starts b blocks of values on.
    const std::uint64_t jump = JumpFactor(chunks * chunkValues_);
    starts_.assign(blocks, StepValue(state));
    std::uint64_t residue = JumpResidue(StepValue(state));
    for (unsigned peer = 1; peer < blocks; ++peer) {
        residue = JumpMultiply(residue, jump);
        starts_[peer] = static_cast<std::int64_t>(residue);
        peers_->Ask(peer, rule, {StateWithStepValue(starts_[peer]), chunks, asked_});
    }
    ChunkStitcher stitcher(draws, rule, tally, watch, before);
    stitcher.StartAt(state);
    Joined joined = Joined::Joined;
    for (unsigned b = 0; b < blocks; ++b) {
        // Every answer is taken, even once the draws are complete: the next run's come after.
        const BlockResult block =
            b == 0 ? DrawBlock({state, chunks, asked_}, rule) : peers_->Answer(b, rule);
        if (joined == Joined::Joined) {
            joined = JoinBlock(stitcher, rule, block, starts_[b], watch);
        }
    }
    // The draws the blocks left, here, from the end of the last one joined.
    if (joined != Joined::Complete && !stitcher.FinishOpen()) {
        GeneratorState at = stitcher.state();
        stitcher.Drew(
            DrawHere(at, draws - stitcher.done(), rule, tally, watch, stitcher.numbered(), 0), at);
    }
    state = stitcher.state();
    return stitcher.done();
}

}  // namespace loto
