#include "rules/jackpot_rounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <tuple>

#include "core/tiers.h"
#include "rules/binomial_source.h"

namespace loto {
namespace {

constexpr std::size_t kPathPoints = 2000;
constexpr std::size_t kMostWinsShown = 1000;

struct TierOdds {
    double probability = 0;
    const RuleTier* rule = nullptr;
    // The tier's fund, read once into doubles (LotteryRules::FundOf).
    double fundShare = 0;
    std::optional<double> fixed{};
};

// What the rules pay and how likely each tier is, by TierIndex of a ticket of K (and M).
std::vector<TierOdds> Odds(const LotteryRules& rules) {
    const DrawRule ticket = rules.Ticket();
    std::vector<TierOdds> odds(static_cast<std::size_t>(ticket.tiers()));
    for (const Tier& tier : Tiers(ticket)) {
        odds[static_cast<std::size_t>(tier.index)].probability = tier.probability;
    }
    for (const RuleTier& tier : rules.tiers) {
        TierOdds& held = odds[static_cast<std::size_t>(tier.index)];
        held.rule = &tier;
        held.fundShare = rules.FundShare(tier);
        if (tier.fixed) {
            held.fixed = static_cast<double>(*tier.fixed);
        }
    }
    return odds;
}

// The jackpot of the next draw where nobody won this one's, and the excess over the cap.
std::pair<double, double> Rolled(const LotteryRules& rules, const std::vector<TierOdds>& odds,
                                 double jackpot) {
    const JackpotRules& held = *rules.jackpot;
    const RuleTier* tier = odds[static_cast<std::size_t>(held.tier)].rule;
    const double added =
        held.rollover && tier != nullptr ? rules.Fund(*tier, rules.sales.At(jackpot / 100)) : 0;
    const double cap = held.cap ? static_cast<double>(*held.cap) : INFINITY;
    return {std::min(jackpot + added, cap), std::max(0.0, jackpot + added - cap)};
}

// The largest wins, at most kMostWinsShown, kept as a heap of the least on top.
void KeepLargest(std::vector<std::pair<std::uint64_t, double>>& wins,
                 std::pair<std::uint64_t, double> win) {
    const auto least = [](const auto& a, const auto& b) { return a.second > b.second; };
    if (wins.size() < kMostWinsShown) {
        wins.push_back(win);
        std::push_heap(wins.begin(), wins.end(), least);
    } else if (win.second > wins.front().second) {
        std::pop_heap(wins.begin(), wins.end(), least);
        wins.back() = win;
        std::push_heap(wins.begin(), wins.end(), least);
    }
}

double Paid(const LotteryRules& rules, double prize) {
    return rules.tax ? rules.tax->After(prize) : prize;
}

// One draw of a jackpot's cycle, the same in every cycle, which starts from the same jackpot.
struct CycleDraw {
    double jackpot = 0;  // cents, before the draw
    double sold = 0;
    double unwonLog = 0;  // log of the chance that no other ticket has won it yet, this draw's too
    double unwon = 1;     // that chance
    double next = 0;      // the next draw's jackpot where nobody wins this one
    double excess = 0;    // over the cap, to the roll-down tier's next draw where nobody wins
    double rolledIn = 0;  // the draw before's excess
    int atCap = 0;        // draws at the cap, this one included
    bool mustGo = false;  // rolled down unless won
};

// A jackpot's cycle: its first draws kept, later ones worked out in turn by a walk that only goes
// forward (a cycle of millions of draws, where few tickets are sold, takes no memory).
class Cycle {
public:
    struct Walk {
        std::uint64_t at = 0;
        CycleDraw draw;
    };

    Cycle(const LotteryRules& rules, const std::vector<TierOdds>& odds, double start)
        : rules_(rules),
          odds_(odds),
          unwonEach_(std::log1p(-odds[static_cast<std::size_t>(rules.jackpot->tier)].probability)) {
        kept_.push_back(Make(start, {}));
        while (kept_.size() < kKept) {
            kept_.push_back(Make(kept_.back().next, kept_.back()));
        }
        for (const CycleDraw& draw : kept_) {
            unwon_.push_back(draw.unwon);
        }
        // The chances fall from draw to draw: as the edge falls, the count above it grows.
        std::uint32_t above = 0;
        for (std::size_t b = kBuckets + 1; b-- > 0;) {
            const double edge = static_cast<double>(b) / kBuckets;
            while (above < kKept && unwon_[above] > edge) {
                ++above;
            }
            above_[b] = above;
        }
        firstMustGo_ = static_cast<std::size_t>(
            std::find_if(kept_.begin(), kept_.end(),
                         [](const CycleDraw& draw) { return draw.mustGo; }) -
            kept_.begin());
    }

    // Draw k of the cycle, k no less than the last that `walk` gave beyond the kept ones.
    const CycleDraw& At(std::uint64_t k, Walk& walk) {
        if (k < kKept) {
            return kept_[k];
        }
        if (walk.at < kKept - 1 || walk.at > k) {
            walk = {kKept - 1, kept_.back()};
        }
        for (; walk.at < k; ++walk.at) {
            walk.draw = Make(walk.draw.next, walk.draw);
        }
        return walk.draw;
    }

    // The first draw from 0, within `draws`, where the others win (their chance of none yet at
    // most `v`, from 0 to 1) or the jackpot rolls down, and whether the others win there; `draws`
    // where there is none.
    std::pair<std::uint64_t, bool> End(double v, std::uint64_t draws) {
        // The kept draws whose chance is above v: those of the bucket of v, and the few between
        // where it holds more than one chance.
        const auto bucket = static_cast<std::size_t>(v * kBuckets);
        std::uint64_t k = above_[bucket + 1];
        while (k < above_[bucket] && unwon_[k] > v) {
            ++k;
        }
        const std::uint64_t kept = std::min<std::uint64_t>(draws, kKept);
        if (k < kept && k <= firstMustGo_) {
            return {k, true};
        }
        if (firstMustGo_ < kept || kept == draws) {
            return {std::min<std::uint64_t>(firstMustGo_, draws), false};
        }
        Walk walk;
        for (k = kKept; k < draws; ++k) {
            const CycleDraw& draw = At(k, walk);
            if (draw.unwon <= v || draw.mustGo) {
                return {k, draw.unwon <= v};
            }
            if (NeverEnds(draw)) {
                return {draws, false};  // else a walk to the run's end, at each cycle's start
            }
        }
        return {draws, false};
    }

private:
    static constexpr std::size_t kKept = 1 << 12;
    static constexpr std::size_t kBuckets = 1 << 12;

    CycleDraw Make(double jackpot, const CycleDraw& before) const {
        const JackpotRules& held = *rules_.jackpot;
        CycleDraw draw{.jackpot = jackpot, .sold = rules_.sales.At(jackpot / 100)};
        draw.atCap = held.cap && jackpot >= static_cast<double>(*held.cap) ? before.atCap + 1 : 0;
        draw.mustGo = held.mustBeWonAfter && draw.atCap > *held.mustBeWonAfter;
        draw.unwonLog = before.unwonLog + std::max(0.0, draw.sold - 1) * unwonEach_;
        draw.unwon = std::exp(draw.unwonLog);
        const auto [next, excess] = Rolled(rules_, odds_, jackpot);
        draw.next = next;
        draw.excess = excess;  // paid only to a roll-down tier
        draw.rolledIn = before.excess;
        return draw;
    }

    // Whether no draw from `draw` on ends the cycle: no other ticket is sold while the sales
    // cannot grow, and no roll-down is to come.
    bool NeverEnds(const CycleDraw& draw) const {
        const JackpotRules& held = *rules_.jackpot;
        const bool still = draw.next == draw.jackpot;
        const bool unsold = draw.sold <= 1 && (rules_.sales.perJackpot == 0 || still);
        const bool rollsDown = held.mustBeWonAfter && held.cap &&
                               !(still && draw.jackpot < static_cast<double>(*held.cap));
        return unsold && !rollsDown;
    }

    const LotteryRules& rules_;
    const std::vector<TierOdds>& odds_;
    double unwonEach_;  // log(1 - p) of the jackpot's tier
    std::vector<CycleDraw> kept_;
    std::vector<double> unwon_;  // theirs, side by side for the search of a cycle's end
    std::array<std::uint32_t, kBuckets + 1> above_{};  // kept chances above b / kBuckets
    std::size_t firstMustGo_;  // the first kept draw that rolls down; kKept for none
};

// The process, told the user's draws by the engine: those in a paying tier or the jackpot's one
// by one, the others as a count, during which only the jackpot's cycles go on.
class Process final : public DrawSink {
public:
    Process(const LotteryRules& rules, const RoundsRequest& request, Rounds& played)
        : DrawSink(Paying(rules)),
          rules_(rules),
          odds_(Odds(rules)),
          request_(request),
          played_(played),
          others_(request.seed),
          pathEvery_(std::max<std::uint64_t>(1, request.rounds / kPathPoints)),
          steady_{.jackpot = request.jackpot, .sold = rules.sales.At(request.jackpot / 100)} {
        if (rules.jackpot) {
            cycle_ = std::make_unique<Cycle>(rules, odds_, request.jackpot);
            // Each counted draw's length and jackpot, the same in every cycle: set once.
            played_.ends.resize(Rounds::kEndsByDraw);
            Cycle::Walk walk;
            for (std::uint64_t k = 0; k < Rounds::kEndsByDraw; ++k) {
                played_.ends[k].length = k + 1;
                played_.ends[k].jackpot = cycle_->At(k, walk).jackpot;
            }
        }
    }

    void Pass(std::uint64_t draws) override { Through(draws); }
    void Hit(std::uint64_t passed, int tier) override {
        Through(passed);
        One(tier);
    }

private:
    // `draws` draws in which the user is paid nothing.
    void Through(std::uint64_t draws) {
        if (!cycle_) {
            Walk(draws);
            return;
        }
        for (;;) {
            draws -= WholeCycles(draws);
            StartCycle();
            const std::uint64_t before = end_ - k_;
            if (draws <= before) {
                Walk(draws);
                return;
            }
            // The cycle's last draw, in which the user is paid nothing.
            Walk(before);
            const double jackpot = Now().jackpot;
            if (nextPoint_ == played_.draws) {
                Point(jackpot);
            }
            EndCycle(jackpot, othersWin_);
            ++played_.draws;
            draws -= before + 1;
        }
    }

    // The tiers whose draws change what the user is paid: those the rules pay, and the jackpot's.
    static std::vector<std::uint8_t> Paying(const LotteryRules& rules) {
        std::vector<std::uint8_t> paying(static_cast<std::size_t>(rules.Ticket().tiers()));
        for (const RuleTier& tier : rules.tiers) {
            paying[static_cast<std::size_t>(tier.index)] = 1;
        }
        if (rules.jackpot) {
            paying[static_cast<std::size_t>(rules.jackpot->tier)] = 1;
        }
        return paying;
    }

    const CycleDraw& Now() { return cycle_ ? cycle_->At(k_, now_) : steady_; }

    // At a cycle's first draw, its end, within the draws left (none where it does not end in
    // them): one uniform v, the others winning at the first draw where the chance that none of
    // them has yet is at most v. Ends worked out ahead within more draws left are the same
    // within fewer.
    void StartCycle() {
        if (!fresh_) {
            return;
        }
        fresh_ = false;
        const std::uint64_t left = request_.rounds - played_.draws;
        std::tie(end_, othersWin_) = NextEnd(left);
        ++aheadAt_;
        end_ = end_ < left ? end_ : UINT64_MAX;
    }

    // The next cycle's end, within `left` draws, not yet taken: kAhead of them worked out at once.
    std::pair<std::uint64_t, bool> NextEnd(std::uint64_t left) {
        if (aheadAt_ == kAhead) {
            for (auto& end : ahead_) {
                end = cycle_->End(cycleEnds_.Uniform(), left);
            }
            aheadAt_ = 0;
        }
        return ahead_[aheadAt_];
    }

    // From a cycle's first draw, the cycles that end within `draws` at a counted draw, where no
    // chart point falls, counted as StartCycle, Walk and EndCycle would count them, in one loop.
    // The draws that they take.
    std::uint64_t WholeCycles(std::uint64_t draws) {
        if (!fresh_ || nextPoint_ < played_.draws + draws) {
            return 0;
        }
        const std::uint64_t left = request_.rounds - played_.draws;
        std::uint64_t done = 0;
        for (;; ++aheadAt_) {
            const auto [end, won] = NextEnd(left - done);
            if (end >= std::min<std::uint64_t>(draws - done, Rounds::kEndsByDraw)) {
                break;  // beyond the draws (or the run), or not counted by draw
            }
            Rounds::Ends& counted = played_.ends[end];
            ++(won ? counted.won : counted.rolledDown);
            done += end + 1;
        }
        played_.draws += done;
        return done;
    }

    void Point(double jackpot) {
        played_.path.emplace_back(nextPoint_, jackpot);
        nextPoint_ += pathEvery_;
    }

    // `draws` draws in which nothing happens but the jackpot's growth: the chart's points.
    void Walk(std::uint64_t draws) {
        while (nextPoint_ < played_.draws + draws) {
            const std::uint64_t step = nextPoint_ - played_.draws;
            k_ += step;
            played_.draws += step;
            draws -= step;
            Point(Now().jackpot);
        }
        k_ += draws;  // read only with a jackpot
        played_.draws += draws;
    }

    // One draw, the user's in `tier`, a paying one.
    void One(int tier) {
        if (cycle_) {
            StartCycle();
        }
        const CycleDraw& now = Now();
        if (nextPoint_ == played_.draws) {
            Point(now.jackpot);
        }
        double rolled = now.rolledIn;  // to the roll-down tier
        double wonNow = 0;
        const int top = rules_.jackpot ? rules_.jackpot->tier : -1;
        const double sold = now.sold;
        if (cycle_) {
            const bool hit = tier == top;
            const bool others = othersWin_ && k_ == end_;
            if (hit || others) {
                if (hit) {
                    const double sharing =
                        others ? others_.BinomialAtLeastOne(
                                     sold - 1, odds_[static_cast<std::size_t>(top)].probability)
                               : 0;
                    wonNow +=
                        Paid(rules_, now.jackpot / (1 + sharing)) * rules_.payout.PresentShare();
                }
                EndCycle(now.jackpot, true);
            } else if (now.mustGo) {
                rolled += now.jackpot;
                EndCycle(now.jackpot, false);
            } else {
                ++k_;
            }
        }
        if (tier != top) {
            wonNow +=
                Prize(tier, sold, rules_.jackpot && rules_.jackpot->rollDown == tier ? rolled : 0);
        }
        if (wonNow > 0) {
            played_.won += wonNow;
            KeepLargest(played_.userWins, {played_.draws, wonNow});
        }
        ++played_.draws;
    }

    // The cycle ends at its draw k_ (its jackpot `jackpot`), won or rolled down.
    void EndCycle(double jackpot, bool won) {
        Rounds::Ends& end =
            k_ < Rounds::kEndsByDraw
                ? played_.ends[k_]
                : played_.ends.emplace_back(Rounds::Ends{.length = k_ + 1, .jackpot = jackpot});
        ++(won ? end.won : end.rolledDown);  // the totals are summed from these at the end
        k_ = 0;  // a walk beyond the kept draws starts again by itself, being past the draw asked
        fresh_ = true;
    }

    // What a draw in a tier other than the jackpot's pays the user, `rolled` added to its fund.
    double Prize(int tier, double sold, double rolled) {
        const TierOdds& odds = odds_[static_cast<std::size_t>(tier)];
        if (odds.fixed && rolled == 0) {
            return Paid(rules_, *odds.fixed);
        }
        const double fund =
            LotteryRules::FundOf(odds.fundShare, sold, price_) + rolled + odds.fixed.value_or(0);
        return Paid(rules_, fund / (1 + others_.Binomial(sold - 1, odds.probability)));
    }

    const LotteryRules& rules_;
    const std::vector<TierOdds> odds_;
    const double price_ = static_cast<double>(rules_.price);
    const RoundsRequest& request_;
    Rounds& played_;
    BinomialSource others_;
    std::uint64_t pathEvery_;
    std::uint64_t nextPoint_ = 0;   // the draw of the chart's next point
    CycleDraw steady_;              // every draw, without a jackpot
    std::unique_ptr<Cycle> cycle_;  // none without a jackpot
    Cycle::Walk now_;               // to the draw under way
    std::uint64_t k_ = 0;           // the draw under way, from the cycle's first
    bool fresh_ = true;             // the cycle's end not yet drawn
    std::uint64_t end_ = 0;         // the draw that ends the cycle
    bool othersWin_ = false;        // at its end, or it rolls down
    // The cycles' uniforms, from a source of their own, and their ends worked out kAhead at a
    // time: apart from the draws' work, whose branches they no longer wait on.
    static constexpr std::size_t kAhead = 64;
    BinomialSource cycleEnds_{request_.seed, true};
    std::array<std::pair<std::uint64_t, bool>, kAhead> ahead_{};
    std::size_t aheadAt_ = kAhead;
};

}  // namespace

double MeanJackpotCycle(const LotteryRules& rules, double jackpot) {
    if (!rules.jackpot) {
        return 0;
    }
    const std::vector<TierOdds> odds = Odds(rules);
    const double p = odds[static_cast<std::size_t>(rules.jackpot->tier)].probability;
    const double cap = rules.jackpot->cap ? static_cast<double>(*rules.jackpot->cap) : INFINITY;
    double mean = 0, surviving = 1;
    int atCap = 0;
    for (std::uint64_t draw = 0; surviving > 1e-15 && draw < 100'000'000; ++draw) {
        mean += surviving;
        atCap = jackpot >= cap ? atCap + 1 : 0;
        if (rules.jackpot->mustBeWonAfter && atCap > *rules.jackpot->mustBeWonAfter) {
            break;  // won or rolled down: the cycle ends here
        }
        surviving *= std::exp(rules.sales.At(jackpot / 100) * std::log1p(-p));
        jackpot = Rolled(rules, odds, jackpot).first;
    }
    return mean;
}

Rounds PlayRounds(const LotteryRules& rules, const DrawRule& ticket, const RoundsRequest& request,
                  GeneratorState& state, ParallelDrawEngine& engine, EventPump& pump) {
    Rounds played;
    played.lawMeanCycle = MeanJackpotCycle(rules, request.jackpot);
    Process process(rules, request, played);
    std::vector<std::uint64_t> tally(static_cast<std::size_t>(ticket.tiers()));
    const DrawRun run = engine.Run(state, request.rounds, ticket, tally, pump, nullptr, &process);
    for (const Rounds::Ends& end : played.ends) {
        played.jackpotWins += end.won;
        played.rolledDown += end.rolledDown;
    }
    played.stopped = run.stopped;
    played.spent = static_cast<double>(rules.price) * static_cast<double>(run.done);
    return played;
}

RoundsFigures FigureRounds(const Rounds& rounds) {
    RoundsFigures figures;
    // The sizes won, each with its count, in order: a rank is found by adding the counts up.
    std::vector<std::pair<double, std::uint64_t>> sizes;
    double drawn = 0;
    std::uint64_t ended = 0;
    for (const Rounds::Ends& end : rounds.ends) {
        if (end.won > 0) {
            sizes.emplace_back(end.jackpot, end.won);
        }
        drawn += static_cast<double>(end.length) * static_cast<double>(end.won + end.rolledDown);
        ended += end.won + end.rolledDown;
    }
    std::sort(sizes.begin(), sizes.end());
    const auto rank = [&](double q) {
        const auto at =
            static_cast<std::uint64_t>(std::ceil(q * static_cast<double>(rounds.jackpotWins)));
        std::uint64_t below = 0;
        for (const auto& [size, count] : sizes) {
            below += count;
            if (below >= std::max<std::uint64_t>(at, 1)) {
                return size;
            }
        }
        return sizes.back().first;
    };
    if (!sizes.empty()) {
        figures.median = rank(0.5);
        figures.p1 = rank(0.01);
        figures.p99 = rank(0.99);
    }
    if (ended > 0) {
        figures.meanCycle = drawn / static_cast<double>(ended);
    }
    return figures;
}

}  // namespace loto
