#pragma once

#include <string>
#include <vector>

#include "audit/battery.h"
#include "audit/history.h"

namespace loto {

// Whether a machine or a set of balls draws differently from the others, as regulators ask:
// "numbers by COLUMN", the chi-square of the table of the N numbers' counts by level against its
// margins (homogeneity), drawn without replacement times (N - 1)/(N - K), with (N - 1)(L - 1)
// degrees of freedom; then, for each level, the numbers test of its draws alone, named "numbers
// LEVEL". Only the levels whose draws expect each number 5 times or more take part; none with
// fewer than two such levels.
[[nodiscard]] std::vector<TestResult> LevelTests(const PoolHistory& pool, const DrawLevels& levels);

}  // namespace loto
