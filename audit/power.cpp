#include "audit/power.h"

#include <algorithm>

#include "audit/battery.h"

namespace loto {
namespace {

constexpr double kBias = 0.1;
constexpr double kWanted = 0.9;

// Whether the tests that see a fault flag the history.
bool Seen(Fault fault, const PoolHistory& history, double level) {
    using Test = std::optional<TestResult> (*)(const PoolHistory&);
    const std::vector<Test> tests =
        fault == Fault::kHeavyNumber ? std::vector<Test>{NumbersTest, NumbersExtremeTest}
        : fault == Fault::kGluedPair ? std::vector<Test>{PairsTest, PairsExtremeTest}
                                     : std::vector<Test>{OverlapTest};
    return std::any_of(tests.begin(), tests.end(), [&](Test test) {
        const std::optional<TestResult> result = test(history);
        return result && result->pValue < level;
    });
}

// The shares of one audit's power: its faulty histories drawn one after the other, the pump run
// between them; once it says stop, nothing more is drawn.
class PowerRun {
public:
    explicit PowerRun(const PowerSettings& settings) : settings_(settings) {}

    [[nodiscard]] bool stopped() const noexcept { return stopped_; }

    double Share(Fault fault, double bias) {
        const double level =
            settings_.alpha / static_cast<double>(std::max<std::size_t>(1, settings_.tests));
        int flagged = 0;
        for (int h = 0; h < settings_.histories && !stopped_; ++h) {
            const PoolHistory history =
                FaultyHistory(fault, settings_.drawn, settings_.top, settings_.draws,
                              static_cast<std::uint64_t>(h) + 1, bias);
            flagged += Seen(fault, history, level) ? 1 : 0;
            stopped_ =
                settings_.pump != nullptr &&
                !settings_.pump->ProcessEvents({static_cast<std::uint64_t>(h) + 1,
                                                static_cast<std::uint64_t>(settings_.histories)});
        }
        return static_cast<double>(flagged) / settings_.histories;
    }

    // The smallest bias flagged nine times in ten: doubled until it is, then halved apart six
    // times.
    std::optional<double> Bias90(Fault fault, double atTenth) {
        // A heavy number's bias as a share of draws is b K/(N - K): at most 1.
        const double most =
            fault == Fault::kHeavyNumber
                ? static_cast<double>(settings_.top - settings_.drawn) / settings_.drawn
                : 1.0;
        double low = 0;
        double high = kBias;
        bool reached = atTenth >= kWanted;
        while (!reached && high < most && !stopped_) {
            low = high;
            high = std::min(2 * high, most);
            reached = Share(fault, high) >= kWanted;
        }
        if (!reached) {
            return std::nullopt;
        }
        for (int step = 0; step < 6; ++step) {
            const double middle = (low + high) / 2;
            (Share(fault, middle) >= kWanted ? high : low) = middle;
        }
        return high;
    }

private:
    const PowerSettings& settings_;
    bool stopped_ = false;
};

}  // namespace

std::vector<FaultPower> AuditPower(const PowerSettings& settings) {
    std::vector<FaultPower> power;
    if (settings.drawn < 2 || settings.drawn >= settings.top || settings.draws < 2) {
        return power;  // no pair to glue, nothing to test
    }
    PowerRun run(settings);
    for (const Fault fault : {Fault::kHeavyNumber, Fault::kGluedPair, Fault::kRepeat}) {
        const double flagged = run.Share(fault, kBias);
        const std::optional<double> bias90 = run.Bias90(fault, flagged);
        if (run.stopped()) {
            break;
        }
        power.push_back({fault, flagged, bias90});
    }
    return power;
}

}  // namespace loto
