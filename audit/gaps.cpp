#include "audit/gaps.h"

#include <algorithm>
#include <array>
#include <boost/math/distributions/binomial.hpp>
#include <limits>
#include <numeric>
#include <system_error>
#include <thread>

#include "audit/laws.h"

namespace loto {
namespace {

constexpr double kMinimumExpected = 5;
// A number not seen yet: any gap from it lands in the open bin, and is taken out at the end.
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::min() / 2;

// The histogram's counts, in one pass with the last appearance of each number at hand; the number
// of gaps counted.
std::uint64_t CountGaps(const PoolHistory& history, std::vector<std::uint64_t>& histogram) {
    std::fill(histogram.begin(), histogram.end(), 0);
    std::array<std::int64_t, 256> last;
    last.fill(kNever);
    std::uint64_t* bins = histogram.data();
    const auto open = static_cast<std::int64_t>(histogram.size()) - 1;
    const auto k = static_cast<std::size_t>(history.drawn);
    const std::uint8_t* number = history.numbers.data();
    const auto draws = static_cast<std::int64_t>(history.draws());
    for (std::int64_t t = 0; t < draws; ++t) {
        for (std::size_t i = 0; i < k; ++i, ++number) {
            const std::int64_t gap = t - last[*number];
            ++bins[std::min(gap, open)];
            last[*number] = t;
        }
    }
    const auto seen = static_cast<std::uint64_t>(
        std::count_if(last.begin(), last.end(), [](std::int64_t t) { return t != kNever; }));
    histogram.back() -= seen;  // the first appearances
    return history.numbers.size() - seen;
}

}  // namespace

GapChiSquare::GapChiSquare(const PoolHistory& observed) {
    const double p = static_cast<double>(observed.drawn) / observed.top;
    // The first pass only counts gaps: one open bin from gap 1.
    histogram_.assign(2, 0);
    const auto gaps = static_cast<double>(CountGaps(observed, histogram_));
    std::vector<double> probability{0};  // by bin, from gap 1
    double tail = 1;                     // P(gap >= g)
    for (; gaps * tail >= kMinimumExpected; tail *= 1 - p) {
        probability.push_back(tail * p);
    }
    probability.push_back(tail);
    histogram_.assign(probability.size(), 0);
    std::vector<double> expected(probability.size() - 1);
    std::transform(probability.begin() + 1, probability.end(), expected.begin(),
                   [&](double q) { return gaps * q; });
    groups_ = PoolClasses(expected);
    for (ClassGroup& group : groups_) {
        ++group.first;  // to bins, from gap 1
        ++group.last;
        probability_.push_back(std::accumulate(probability.begin() + group.first,
                                               probability.begin() + group.last + 1, 0.0));
    }
}

std::span<const std::uint64_t> GapChiSquare::Histogram(const PoolHistory& history) {
    CountGaps(history, histogram_);
    return std::span<const std::uint64_t>(histogram_).subspan(1);
}

double GapChiSquare::Statistic(const PoolHistory& history) {
    const auto gaps = static_cast<double>(CountGaps(history, histogram_));
    if (gaps == 0) {
        return 0;
    }
    double statistic = 0;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        std::uint64_t count = 0;
        for (int bin = groups_[i].first; bin <= groups_[i].last; ++bin) {
            count += histogram_[static_cast<std::size_t>(bin)];
        }
        const double expected = gaps * probability_[i];
        statistic += (static_cast<double>(count) - expected) *
                     (static_cast<double>(count) - expected) / expected;
    }
    return statistic;
}

double GapChiSquare::UncalibratedP(double statistic) const {
    return ChiSquareTail(freedom(), statistic);
}

namespace {

unsigned Threads(const GapCalibration& calibration) {
    return std::max(
        1u, calibration.threads != 0 ? calibration.threads : std::thread::hardware_concurrency());
}

}  // namespace

// Thread i takes from + i, from + i + threads, ..., each with its own copy of the bins and its own
// history.
std::uint64_t CountAtLeast(const GapChiSquare& test, double observed, const PoolHistory& shape,
                           const GapCalibration& calibration, std::uint64_t from,
                           std::uint64_t to) {
    const unsigned threads = Threads(calibration);
    std::vector<std::uint64_t> atLeast(threads, 0);
    // Each thread's bins and history made here, where memory that cannot be had ends the audit
    // with a message, not on a thread.
    std::vector<GapChiSquare> tests(threads, test);
    std::vector<PoolHistory> histories(
        threads, {Pool(shape), std::vector<std::uint8_t>(shape.numbers.size())});
    const auto run = [&](unsigned i) {
        for (std::uint64_t r = from + i; r < to; r += threads) {
            calibration.source(r, histories[i]);
            atLeast[i] += tests[i].Statistic(histories[i]) >= observed ? 1 : 0;
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(threads);
    unsigned started = 1;
    try {
        for (; started < threads; ++started) {
            workers.emplace_back(run, started);
        }
    } catch (const std::system_error&) {
        // The shares of the threads that could not start are drawn here: the same replicates.
    }
    for (unsigned i = started; i < threads; ++i) {
        run(i);
    }
    run(0);
    for (std::thread& worker : workers) {
        worker.join();
    }
    return std::accumulate(atLeast.begin(), atLeast.end(), std::uint64_t{0});
}

namespace {

// CountAtLeast in equal parts, the first here and one a peer: a sum, the same however cut.
std::uint64_t CountShared(const GapChiSquare& test, double observed, const PoolHistory& shape,
                          const GapCalibration& calibration, std::uint64_t from, std::uint64_t to) {
    CalibrationPeers* peers = calibration.peers;
    if (peers == nullptr) {
        return CountAtLeast(test, observed, shape, calibration, from, to);
    }
    const std::uint64_t parts = peers->count() + 1;
    const std::uint64_t each = (to - from + parts - 1) / parts;
    for (unsigned peer = 1; peer < parts; ++peer) {
        const std::uint64_t start = std::min(to, from + peer * each);
        peers->Ask(peer, {.family = calibration.family,
                          .observed = &shape,
                          .statistic = observed,
                          .from = start,
                          .to = std::min(to, start + each),
                          .threads = calibration.threads});
    }
    std::uint64_t count =
        CountAtLeast(test, observed, shape, calibration, from, std::min(to, from + each));
    for (unsigned peer = 1; peer < parts; ++peer) {
        count += peers->Answer(peer);
    }
    return count;
}

constexpr double kIntervalTail = 0.005;  // each side of a 99 % interval

CalibratedP Estimate(std::uint64_t atLeast, std::uint64_t histories,
                     const std::vector<double>& levels) {
    using boost::math::binomial;
    const auto r = static_cast<double>(atLeast);
    const auto n = static_cast<double>(histories);
    CalibratedP result{.p = (r + 1) / (n + 1),
                       .low = binomial::find_lower_bound_on_p(n, r, kIntervalTail),
                       .high = binomial::find_upper_bound_on_p(n, r, kIntervalTail),
                       .histories = histories};
    result.settled = std::none_of(levels.begin(), levels.end(), [&](double level) {
        return result.low < level && level < result.high;
    });
    return result;
}

}  // namespace

CalibratedP Calibrate(const GapChiSquare& test, double observed, const PoolHistory& shape,
                      const GapCalibration& calibration) {
    // Each process's threads a share of every slice.
    const std::uint64_t processes =
        calibration.peers != nullptr ? calibration.peers->count() + 1 : 1;
    const std::uint64_t threads = Threads(calibration) * processes;
    const std::uint64_t slice =
        threads * std::max<std::uint64_t>(
                      1, calibration.sliceNumbers / std::max<std::size_t>(shape.numbers.size(), 1));
    std::uint64_t done = 0;
    std::uint64_t atLeast = 0;
    for (std::uint64_t next = std::max<std::uint64_t>(calibration.replicates, 1);;
         next = std::min(2 * done, calibration.most)) {
        // A replicate's statistic depends on its number alone: slices change nothing of it.
        for (std::uint64_t to = std::min(done + slice, next); done < next;
             to = std::min(done + slice, next)) {
            atLeast += CountShared(test, observed, shape, calibration, done, to);
            done = to;
            if (calibration.pump != nullptr && !calibration.pump->ProcessEvents({done, next})) {
                CalibratedP result = Estimate(atLeast, done, calibration.levels);
                result.stopped = true;
                return result;
            }
        }
        const CalibratedP result = Estimate(atLeast, done, calibration.levels);
        if (result.settled || done >= calibration.most) {
            return result;
        }
    }
}

}  // namespace loto
