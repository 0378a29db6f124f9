#include "report/run_summary.h"

#include <algorithm>

#include "core/speed_test.h"

namespace loto {

void RunSummary::Add(const GameFigures& figures) {
    const GameReport& report = figures.report;
    const std::vector<int>& until = figures.play.untilTiers;
    if (keepWaits_ && !until.empty()) {
        if (!waits_) {
            waits_.emplace();
            waits_->bound = DrawCount(report.requested);
            for (const TierFigures& row : figures.tiers) {
                if (std::find(until.begin(), until.end(), row.tier.index) != until.end()) {
                    waits_->probability += row.tier.probability;
                }
            }
        }
        if (report.untilHit) {
            waits_->waits.push_back(*report.untilHit);
        } else {
            ++waits_->censored;
        }
    }
    if (keepLifetimes_ && figures.play.money) {
        const MoneyLaw& law = *figures.play.money;
        if (!lifetimes_) {
            lifetimes_.emplace(report.drawsDone, law);
        }
        lifetimes_->Add(law.Won(report.tally) - law.cost * static_cast<Cents>(report.drawsDone));
    }
}

std::optional<RunSummary::Waits> RunSummary::waits() const {
    if (!waits_ || waits_->count() == 0 || !(waits_->probability > 0)) {
        return std::nullopt;
    }
    return Waits{*waits_, TestWaits(*waits_)};
}

std::optional<Lifetimes::Summary> RunSummary::lifetimes() const {
    return lifetimes_ ? lifetimes_->Summarise() : std::nullopt;
}

}  // namespace loto
