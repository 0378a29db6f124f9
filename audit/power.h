#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "audit/faulty_histories.h"
#include "platform/event_pump.h"

namespace loto {

// What an audit could have seen: for a history of `draws` draws of K of N, the share of faulty
// histories of that length (fixed seeds) that the family flags, by the tests that see the fault
// (the numbers tests a heavy number, the pairs tests a glued pair, the overlap a repeat), their
// least p-value against alpha / m as Holm's first step over the family's m tests; and the
// smallest bias flagged nine times in ten, where one up to a share of every draw is.
struct FaultPower {
    Fault fault;
    double flagged = 0;            // at a bias of a tenth
    std::optional<double> bias90;  // the bias as a fraction: 0.21 for 21 % more likely
};

struct PowerSettings {
    int drawn;
    int top;
    std::size_t draws;
    std::size_t tests;  // the family's
    double alpha;
    int histories = 100;  // a share
    // Runs between the faulty histories; once it says stop, only the lines done are given.
    EventPump* pump = nullptr;
};

[[nodiscard]] std::vector<FaultPower> AuditPower(const PowerSettings& settings);

}  // namespace loto
