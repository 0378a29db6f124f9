#include "core/generator_jump.h"

namespace loto {

__extension__ using Wide = unsigned __int128;

std::uint64_t JumpResidue(std::int64_t t) noexcept {
    const auto m = static_cast<std::int64_t>(kJumpModulus);
    const std::int64_t r = t % m;
    return static_cast<std::uint64_t>(r < 0 ? r + m : r);
}

std::uint64_t JumpMultiply(std::uint64_t a, std::uint64_t b) noexcept {
    return static_cast<std::uint64_t>(Wide{a} * b % kJumpModulus);
}

std::uint64_t JumpFactor(std::uint64_t steps) noexcept {
    std::uint64_t result = 1;
    std::uint64_t power = static_cast<std::uint64_t>(kMultiplier);
    for (; steps != 0; steps >>= 1) {
        if ((steps & 1) != 0) {
            result = JumpMultiply(result, power);
        }
        power = JumpMultiply(power, power);
    }
    return result;
}

std::optional<GeneratorState> StreamStart(std::uint64_t stream) noexcept {
    if (stream > kLastStream) {
        return std::nullopt;
    }
    if (stream == 0) {
        return kSeedState;
    }
    const std::uint64_t t =
        JumpMultiply(JumpResidue(StepValue(kSeedState)), JumpFactor(stream << kStreamBits));
    return StateWithStepValue(static_cast<std::int64_t>(t));
}

}  // namespace loto
