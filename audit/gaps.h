#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "audit/history.h"
#include "platform/event_pump.h"
#include "stats/significance.h"

namespace loto {

// The gaps, in draws, between consecutive appearances of each number (1: in consecutive draws),
// the wait before a number's first appearance and the tail after its last left out. Under a fair
// draw each gap is geometric with p = K/N, P(g) = (1 - p)^(g - 1) p; but the gaps of different
// numbers are not independent (a draw holds exactly K numbers), so the chi-square law of their
// histogram is only a guide and the p-value comes from fair histories of the same size.

// Fills `history`, whose K, N and numbers' size are set, with the numbers of a fair history:
// replicate r must give the same history whichever thread asks, and calls come from several
// threads at once. It must not throw.
using FairHistorySource = std::function<void(std::uint64_t replicate, PoolHistory& history)>;

// A part of a calibration that another process counts (a cluster's rank): replicates [from, to)
// of the fair histories of `family` whose statistic is at least `statistic`, against the gaps of
// `observed`, the history audited.
struct CalibrationPart {
    std::uint64_t family = 0;
    const PoolHistory* observed = nullptr;
    double statistic = 0;
    std::uint64_t from = 0;
    std::uint64_t to = 0;
    unsigned threads = 0;  // as asked: 0, every hardware thread of the process that counts
};

// Other processes that count parts of a calibration, numbered from 1: each is asked for one part
// of a slice, then the answers are taken.
class CalibrationPeers {
public:
    virtual ~CalibrationPeers() = default;
    [[nodiscard]] virtual unsigned count() const noexcept = 0;
    virtual void Ask(unsigned peer, const CalibrationPart& part) = 0;
    [[nodiscard]] virtual std::uint64_t Answer(unsigned peer) = 0;
};

// Replicates 0 to R - 1, R from `replicates`, doubled while the p-value's interval holds one of
// the `levels` that decide the audit and R is under `most`. The pump runs between slices of
// replicates, told the replicates done of R; the calibration stops when it says so.
struct GapCalibration {
    FairHistorySource source;
    std::uint64_t replicates = 1000;
    std::uint64_t most = 1000;
    std::vector<double> levels{};
    unsigned threads = 0;  // 0: every hardware thread
    EventPump* pump = nullptr;
    std::uint64_t sliceNumbers = 1 << 20;  // that a thread draws between two calls of the pump
    // Shared out with other processes, which draw replicates of the fair histories of `family`
    // (FairHistories) as `source` draws them.
    CalibrationPeers* peers = nullptr;
    std::uint64_t family = 0;
};

// A calibrated p-value, (1 + #>=) / (1 + R), and the 99 % interval (Clopper and Pearson's) of the
// share of fair histories whose statistic is at least the observed one, of which R give #>=.
struct CalibratedP {
    double p = 1;
    double low = 0;
    double high = 1;
    std::uint64_t histories = 0;
    bool settled = false;  // the interval holds none of the levels
    bool stopped = false;  // by the pump, on the histories done so far: no p-value to report
};

// Pearson's chi-square of a history's gaps against the geometric law. The classes are set once,
// from the history observed, and every replicate is measured on the same ones: gaps 1, 2, ... one
// class each and an open last class from the first gap G whose tail, T (1 - p)^(G - 1) for the T
// gaps observed, is under 5 expected, then pooled as PoolClasses pools. Expected counts are each
// history's own number of gaps times the class's probability.
class GapChiSquare {
public:
    explicit GapChiSquare(const PoolHistory& observed);

    // None of the statistic when the pooling leaves a single class.
    [[nodiscard]] bool testable() const noexcept { return groups_.size() >= 2; }
    [[nodiscard]] int freedom() const noexcept { return static_cast<int>(groups_.size()) - 1; }
    // The classes by gap, with the observed history's expected counts; the last is open, its
    // `last` G standing for G and beyond.
    [[nodiscard]] std::span<const ClassGroup> classes() const noexcept { return groups_; }

    // The count of gaps of 1 to G, the last bin holding every gap of G or more: one pass over the
    // draws, no allocation. Valid until the next call.
    [[nodiscard]] std::span<const std::uint64_t> Histogram(const PoolHistory& history);
    [[nodiscard]] double Statistic(const PoolHistory& history);
    // The chi-square law's p-value of a statistic, which ignores the gaps' dependence.
    [[nodiscard]] double UncalibratedP(double statistic) const;

private:
    std::vector<ClassGroup> groups_;        // of bins, from bin 1
    std::vector<double> probability_;       // of each group
    std::vector<std::uint64_t> histogram_;  // by gap; [0] unused
};

// The share of fair histories of the same D, K and N whose statistic is at least the observed
// one. Each replicate's statistic depends on its number alone, so the result does not depend on
// the number of threads, nor on the steps by which R grew.
[[nodiscard]] CalibratedP Calibrate(const GapChiSquare& test, double observed,
                                    const PoolHistory& shape, const GapCalibration& calibration);

// How many of replicates [from, to) have a statistic of at least `observed`, on the calibration's
// threads, here: a peer's part.
[[nodiscard]] std::uint64_t CountAtLeast(const GapChiSquare& test, double observed,
                                         const PoolHistory& shape,
                                         const GapCalibration& calibration, std::uint64_t from,
                                         std::uint64_t to);

}  // namespace loto
