#include "audit/levels.h"

#include "stats/significance.h"

namespace loto {

std::vector<TestResult> LevelTests(const PoolHistory& pool, const DrawLevels& levels) {
    const auto n = static_cast<std::size_t>(pool.top);
    const double k = pool.drawn;
    std::vector<PoolHistory> byLevel(levels.names.size(), PoolHistory{pool, {}});
    for (std::size_t t = 0; t < pool.draws(); ++t) {
        const auto draw = pool.Draw(t);
        PoolHistory& level = byLevel[levels.of[t]];
        level.numbers.insert(level.numbers.end(), draw.begin(), draw.end());
    }
    std::vector<std::size_t> counted;
    for (std::size_t l = 0; l < byLevel.size(); ++l) {
        if (static_cast<double>(byLevel[l].draws()) * k / pool.top >= 5) {
            counted.push_back(l);
        }
    }
    if (counted.size() < 2 || pool.drawn >= pool.top) {
        return {};
    }
    // The table: a number a row, a level a column.
    std::vector<std::vector<double>> table(n, std::vector<double>(counted.size()));
    std::vector<double> rows(n), columns(counted.size());
    double total = 0;
    for (std::size_t c = 0; c < counted.size(); ++c) {
        for (const std::uint8_t x : byLevel[counted[c]].numbers) {
            table[x - 1u][c] += 1;
            rows[x - 1u] += 1;
            columns[c] += 1;
            total += 1;
        }
    }
    double pearson = 0;
    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t c = 0; c < counted.size(); ++c) {
            const double expected = rows[r] * columns[c] / total;
            pearson +=
                expected > 0 ? (table[r][c] - expected) * (table[r][c] - expected) / expected : 0;
        }
    }
    const double statistic = pearson * (pool.top - 1) / (pool.top - k);
    const int freedom = (pool.top - 1) * static_cast<int>(counted.size() - 1);
    std::vector<TestResult> tests = {
        {"numbers by " + levels.column, statistic, freedom, ChiSquareTail(freedom, statistic)}};
    for (const std::size_t l : counted) {
        if (std::optional<TestResult> alone = NumbersTest(byLevel[l])) {
            alone->name = "numbers " + levels.names[l];
            tests.push_back(std::move(*alone));
        }
    }
    return tests;
}

}  // namespace loto
