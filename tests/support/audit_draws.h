#pragma once

// Histories of draws that the audit's tests write as files.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/transcription.h"

namespace loto::test {

// Draws of the program's transcribed 6/49+bonus from the seed, in the order drawn; with a glued
// pair, 13 put in place of a number of a tenth of the draws that hold 7 but not 13, the machine's
// fault.
struct Draws {
    std::vector<std::vector<int>> main;
    std::vector<int> bonus;
};

inline Draws MakeDraws(int count, bool glued) {
    Draws draws;
    GeneratorState state = kSeedState;
    std::mt19937_64 engine(42);
    for (int d = 0; d < count; ++d) {
        test::GameDraw draw = test::DrawGame(state, {.main = {6, 49}, .bonus = true});
        const auto has = [&](int n) { return std::ranges::count(draw.main, n) != 0; };
        if (glued && has(7) && !has(13) && draw.bonus != 13 && engine() % 10 == 0) {
            *std::ranges::find_if(draw.main, [](int n) { return n != 7; }) = 13;
        }
        draws.main.push_back(draw.main);
        draws.bonus.push_back(draw.bonus);
    }
    return draws;
}

// Draw d's date: a Wednesday or a Saturday apart from 1 January 1975.
inline std::chrono::year_month_day DrawDate(std::size_t d) {
    const auto day = static_cast<int>(d / 2 * 7 + d % 2 * 3);
    return std::chrono::sys_days(std::chrono::year(1975) / 1 / 1) + std::chrono::days(day);
}

inline std::string Written(const std::string& name, const std::string& text) {
    const std::string path = "/tmp/loto-audit-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace loto::test
