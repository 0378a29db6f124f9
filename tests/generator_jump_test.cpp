// The generator's jump ahead: a modular power gives the state any number of steps on.
#include "core/generator_jump.h"

#include <gtest/gtest.h>

#include "core/random_source.h"

namespace loto {
namespace {

TEST(GeneratorJump, MatchesStepping) {
    EXPECT_EQ(JumpResidue(-1), kJumpModulus - 1);  // t below zero, after a one-off quotient
    EXPECT_EQ(JumpResidue(0), 0u);
    EXPECT_EQ(JumpResidue(static_cast<std::int64_t>(kJumpModulus)), 0u);
    GeneratorState state = kSeedState;
    const std::uint64_t start = JumpResidue(StepValue(state));
    for (std::uint64_t steps = 1; steps <= 5000; ++steps) {
        (void)NextNumber(state);
        ASSERT_EQ(JumpMultiply(start, JumpFactor(steps)), JumpResidue(StepValue(state))) << steps;
    }
}

}  // namespace
}  // namespace loto
