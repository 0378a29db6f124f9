#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/draw_lanes.h"

namespace loto::test {

// A test run once for each path of lanes, skipped where the processor lacks its instructions.
class LanePathTest : public ::testing::TestWithParam<LanePath> {
protected:
    void SetUp() override {
        kernel = FindLaneKernel(GetParam());
        if (kernel == nullptr) {
            GTEST_SKIP() << "this processor lacks the instructions of " << LanePathName(GetParam());
        }
    }
    const LaneKernel* kernel = nullptr;
};

inline std::string LanePathTestName(const ::testing::TestParamInfo<LanePath>& info) {
    return std::string(LanePathName(info.param));
}

}  // namespace loto::test

// Instantiates the tests of `suite`, a LanePathTest, for every path.
#define LOTO_FOR_EVERY_LANE_PATH(suite)                                                 \
    INSTANTIATE_TEST_SUITE_P(EveryPath, suite,                                          \
                             ::testing::Values(LanePath::Portable, LanePath::Avx2,      \
                                               LanePath::Avx512, LanePath::Avx512Ifma), \
                             ::loto::test::LanePathTestName)
