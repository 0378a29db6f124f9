#include "core/draw_lanes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

namespace loto {
namespace lanes {

// Defined in the files compiled for their instruction sets.
void GenerateAvx2(const GeneratorState*, std::uint32_t, const LaneRule&, LaneOutput*);
void GenerateAvx512(const GeneratorState*, std::uint32_t, const LaneRule&, LaneOutput*);
void GenerateAvx512Ifma(const GeneratorState*, std::uint32_t, const LaneRule&, LaneOutput*);
void GenerateSimd128(const GeneratorState*, std::uint32_t, const LaneRule&, LaneOutput*);

}  // namespace lanes
namespace {

constexpr LaneKernel kPortable{LanePath::Portable, 1, nullptr};  // GenerateChunk itself
#if defined(LOTO_LANES_X86)
constexpr LaneKernel kAvx2{LanePath::Avx2, 8, lanes::GenerateAvx2};
constexpr LaneKernel kAvx512{LanePath::Avx512, 16, lanes::GenerateAvx512};
constexpr LaneKernel kAvx512Ifma{LanePath::Avx512Ifma, 16, lanes::GenerateAvx512Ifma};
#endif
#if defined(__wasm_simd128__)
constexpr LaneKernel kSimd128{LanePath::Simd128, 2, lanes::GenerateSimd128};
#endif

#if defined(LOTO_LANES_X86)
bool HasAvx512(const CpuFeatures& features) noexcept {
    return features.avx512f && features.avx512dq && features.avx512vl && features.avx512bw;
}
#endif

// A start that a one-off quotient left with X just below 0 can step through a negative t, which
// the lanes' unsigned arithmetic does not follow: such a chunk is made one value at a time.
bool LanesCanStart(const GeneratorState& start) noexcept {
    return start.x >= 0 && start.c >= 0;
}

const LaneKernel* Named(std::string_view name) noexcept {
    for (const LanePath path : kLanePaths) {
        const LaneKernel* kernel = FindLaneKernel(path);
        if (kernel != nullptr && LanePathName(path) == name) {
            return kernel;
        }
    }
    return nullptr;
}

}  // namespace

CpuFeatures CpuFeatures::OfThisMachine() noexcept {
#if defined(LOTO_LANES_X86)
    return {.avx2 = __builtin_cpu_supports("avx2") != 0,
            .avx512f = __builtin_cpu_supports("avx512f") != 0,
            .avx512dq = __builtin_cpu_supports("avx512dq") != 0,
            .avx512vl = __builtin_cpu_supports("avx512vl") != 0,
            .avx512bw = __builtin_cpu_supports("avx512bw") != 0,
            .avx512ifma = __builtin_cpu_supports("avx512ifma") != 0,
            .avx512vpopcntdq = __builtin_cpu_supports("avx512vpopcntdq") != 0};
#else
    return {};
#endif
}

// Every instruction set that a kernel's file is built with must be there: one missing is an
// illegal instruction at the first chunk.
const LaneKernel* FindLaneKernel(LanePath path,
                                 [[maybe_unused]] const CpuFeatures& features) noexcept {
    switch (path) {
        case LanePath::Portable:
            return &kPortable;
#if defined(LOTO_LANES_X86)
        case LanePath::Avx2:
            return features.avx2 ? &kAvx2 : nullptr;
        case LanePath::Avx512:
            return HasAvx512(features) ? &kAvx512 : nullptr;
        case LanePath::Avx512Ifma:
            return HasAvx512(features) && features.avx512ifma && features.avx512vpopcntdq
                       ? &kAvx512Ifma
                       : nullptr;
#endif
#if defined(__wasm_simd128__)
        case LanePath::Simd128:
            return &kSimd128;
#endif
        default:
            return nullptr;
    }
}

const LaneKernel& ActiveLaneKernel() noexcept {
    static const LaneKernel& active = []() -> const LaneKernel& {
        if (const char* name = std::getenv("LOTO_LANES")) {
            if (const LaneKernel* kernel = Named(name)) {
                return *kernel;
            }
        }
        for (const LanePath path :
             {LanePath::Avx512Ifma, LanePath::Avx512, LanePath::Avx2, LanePath::Simd128}) {
            if (const LaneKernel* kernel = FindLaneKernel(path)) {
                return *kernel;
            }
        }
        return kPortable;
    }();
    return active;
}

std::optional<LaneRule> LanesDraw(const DrawRule& rule) noexcept {
    const Game& game = rule.game;
    LaneRule lanes{.game = LaneGame::Plain,
                   .wide = false,
                   .grid = rule.main,
                   .top = game.main.top,
                   .drawn = game.main.drawn,
                   .secondGrid = rule.second,
                   .secondTop = game.second.top,
                   .secondDrawn = game.second.drawn,
                   .mainShift = 0,
                   .codes = rule.mostMain() + 1};
    if (game.bonus) {
        lanes.game = LaneGame::Bonus;
        lanes.codes = 2 * rule.mostMain() + 2;
    } else if (game.hasSecond()) {
        lanes.game = LaneGame::Second;
        lanes.mainShift = std::bit_width(static_cast<unsigned>(rule.mostSecond()));
        lanes.codes = (rule.mostMain() << lanes.mainShift) + rule.mostSecond() + 1;
    }
    // A main number's bit, as far up as its code's unit, stays in one word up to kLaneTop.
    lanes.wide = game.main.top + lanes.mainShift > kLaneTop || game.second.top > kLaneTop;
    if ((game.bonus && game.hasSecond()) || game.main.top > kLaneMostTop ||
        game.second.top > kLaneMostTop || lanes.codes > static_cast<int>(kLaneCodes)) {
        return std::nullopt;
    }
    return lanes;
}

void GenerateChunks(const LaneKernel& kernel, const GeneratorState* starts, std::uint32_t values,
                    const DrawRule& rule, DrawChunk* const* chunks, MarkedTiers marked) {
    std::optional<LaneRule> lanes = LanesDraw(rule);
    if (kernel.path == LanePath::Portable || !lanes) {
        for (unsigned l = 0; l < kernel.lanes; ++l) {
            GenerateChunk(starts[l], values, rule, *chunks[l], marked);
        }
        return;
    }
    for (int code = 0; code < lanes->codes && !marked.empty(); ++code) {
        lanes->marked |=
            std::uint32_t{marked[static_cast<std::size_t>(lanes->TierOf(code, rule))] != 0} << code;
    }
    std::array<LaneOutput, kMostLanes> out{};
    for (unsigned l = 0; l < kernel.lanes; ++l) {
        DrawChunk& chunk = *chunks[l];
        chunk.Clear(values, rule, !marked.empty());
        chunk.snapshots.resize((values + DrawChunk::kSnapshotEvery - 1) /
                               DrawChunk::kSnapshotEvery);
        out[l] = LaneOutput{};
        out[l].numbers = chunk.numbers.data();
        out[l].drawStarts = chunk.drawStarts.data();
        out[l].snapshots = chunk.snapshots.data();
        out[l].marks = chunk.marks.data();
    }
    kernel.generate(starts, values, *lanes, out.data());
    for (unsigned l = 0; l < kernel.lanes; ++l) {
        DrawChunk& chunk = *chunks[l];
        if (out[l].guard || !LanesCanStart(starts[l])) {
            GenerateChunk(starts[l], values, rule, chunk, marked);
            continue;
        }
        for (int code = 0; code < lanes->codes; ++code) {
            chunk.tally[static_cast<std::size_t>(lanes->TierOf(code, rule))] +=
                out[l].tally[static_cast<std::size_t>(code)];
        }
        chunk.tail = chunk.OpenTail(rule);
        chunk.end = out[l].end;
    }
}

}  // namespace loto
