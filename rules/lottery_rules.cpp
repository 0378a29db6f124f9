#include "rules/lottery_rules.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "core/game_input.h"
#include "core/play.h"
#include "core/tiers.h"
#include "platform/printf.h"
#include "platform/quoted_text.h"

namespace loto {
namespace {

using nlohmann::json;

constexpr std::uintmax_t kMostBytes = 1 << 20;
constexpr int kMostYears = 100;

// A field's fault, said with its path.
struct Fault {
    std::string text;
};

[[noreturn]] void Refuse(const std::string& field, const std::string& why) {
    throw Fault{field + ": " + why};
}

// A value as the file writes it, made safe for a terminal and cut past 40 characters.
std::string Shown(const json& value) {
    const std::string text = value.dump();
    return PrintableText(text.size() > 40 ? text.substr(0, 40) + "..." : text);
}

const json& Required(const json& object, const std::string& key, const std::string& path) {
    if (!object.contains(key)) {
        Refuse(path + key, "missing");
    }
    return object.at(key);
}

double Number(const json& value, const std::string& field) {
    if (!value.is_number()) {
        Refuse(field, Shown(value) + " is not a number");
    }
    return value.get<double>();
}

// A fraction from 0 to 1.
double Share(const json& value, const std::string& field) {
    const double share = Number(value, field);
    if (!(share >= 0 && share <= 1)) {
        Refuse(field, Shown(value) + " is not a share from 0 to 1");
    }
    return share;
}

// An amount in units, to the cent, from 0 to 10^16 units.
Cents Amount(const json& value, const std::string& field) {
    const double units = Number(value, field);
    if (!(units >= 0)) {
        Refuse(field, Shown(value) + " is negative");
    }
    if (!(units * 100 <= static_cast<double>(kMostCents))) {
        Refuse(field, Shown(value) + " is more than 10^16, too much to count to the cent");
    }
    return static_cast<Cents>(std::llround(units * 100));
}

void OnlyKeys(const json& object, const std::set<std::string>& keys, const std::string& path) {
    if (!object.is_object()) {
        Refuse(path.empty() ? "the file" : path.substr(0, path.size() - 1),
               Shown(object) + " is not an object");
    }
    for (const auto& [key, value] : object.items()) {
        if (keys.count(key) == 0) {
            Refuse(path + key, "no such field");
        }
    }
}

// The tier of the game named `name`, of the ticket of K (and M) numbers.
int TierNamed(const DrawRule& ticket, const std::string& name, const std::string& field) {
    for (const Tier& tier : Tiers(ticket)) {
        if (TierName(tier) == name) {
            return tier.index;
        }
    }
    Refuse(field, Quoted(name) + " is no tier of " + GameName(ticket.game));
}

std::vector<RuleTier> ReadTiers(const json& tiers, const DrawRule& ticket) {
    if (!tiers.is_object() || tiers.empty()) {
        Refuse("tiers", "must name the tiers that pay, as {\"5+2\": {\"share\": 0.5}}");
    }
    std::vector<RuleTier> read;
    double shares = 0;
    for (const auto& [name, pays] : tiers.items()) {
        const std::string path = "tiers." + name;
        RuleTier tier{.name = name, .index = TierNamed(ticket, name, path)};
        OnlyKeys(pays, {"fixed", "share"}, path + ".");
        if (pays.contains("fixed") == pays.contains("share")) {
            Refuse(path, "needs either fixed or share");
        }
        if (pays.contains("fixed")) {
            tier.fixed = Amount(pays.at("fixed"), path + ".fixed");
        } else {
            tier.share = Share(pays.at("share"), path + ".share");
            shares += *tier.share;
        }
        read.push_back(tier);
    }
    if (shares > 1 + 1e-12) {
        Refuse("tiers", Printf("the shares sum to %g, over 1", shares));
    }
    return read;
}

const RuleTier& TierOf(const std::vector<RuleTier>& tiers, const json& name, const DrawRule& ticket,
                       const std::string& field) {
    if (!name.is_string()) {
        Refuse(field, Shown(name) + " is not a tier's name");
    }
    const int index = TierNamed(ticket, name.get<std::string>(), field);
    for (const RuleTier& tier : tiers) {
        if (tier.index == index) {
            return tier;
        }
    }
    Refuse(field, Quoted(name.get<std::string>()) + " is not among the tiers");
}

JackpotRules ReadJackpot(const json& jackpot, const LotteryRules& rules, const DrawRule& ticket) {
    OnlyKeys(jackpot, {"start", "tier", "rollover", "cap", "roll_down", "must_be_won_after"},
             "jackpot.");
    JackpotRules read{
        .start = Amount(Required(jackpot, "start", "jackpot."), "jackpot.start"),
        .tier = TierOf(rules.tiers, Required(jackpot, "tier", "jackpot."), ticket, "jackpot.tier")
                    .index};
    if (jackpot.contains("rollover")) {
        if (!jackpot.at("rollover").is_boolean()) {
            Refuse("jackpot.rollover", Shown(jackpot.at("rollover")) + " is not true or false");
        }
        read.rollover = jackpot.at("rollover").get<bool>();
    }
    if (jackpot.contains("cap")) {
        read.cap = Amount(jackpot.at("cap"), "jackpot.cap");
        if (*read.cap < read.start) {
            Refuse("jackpot.cap", "under jackpot.start");
        }
    }
    if (jackpot.contains("roll_down")) {
        read.rollDown =
            TierOf(rules.tiers, jackpot.at("roll_down"), ticket, "jackpot.roll_down").index;
        if (*read.rollDown == read.tier) {
            Refuse("jackpot.roll_down", "is the jackpot's own tier");
        }
    }
    if (jackpot.contains("must_be_won_after")) {
        const json& after = jackpot.at("must_be_won_after");
        if (!after.is_number_integer() || after.get<long long>() < 1 ||
            after.get<long long>() > 1000) {
            Refuse("jackpot.must_be_won_after",
                   Shown(after) + " is not a count of draws, 1 to 1000");
        }
        if (!read.cap || !read.rollDown) {
            Refuse("jackpot.must_be_won_after", "needs jackpot.cap and jackpot.roll_down");
        }
        read.mustBeWonAfter = static_cast<int>(after.get<long long>());
    }
    return read;
}

TaxRules ReadTax(const json& tax) {
    OnlyKeys(tax, {"rate", "threshold", "on"}, "tax.");
    TaxRules read{.rate = Share(Required(tax, "rate", "tax."), "tax.rate")};
    if (tax.contains("threshold")) {
        read.threshold = static_cast<double>(Amount(tax.at("threshold"), "tax.threshold"));
    }
    if (tax.contains("on")) {
        const json& on = tax.at("on");
        if (on != "excess" && on != "whole") {
            Refuse("tax.on", Shown(on) + " is not \"excess\" or \"whole\"");
        }
        read.on = on == "whole" ? TaxOn::Whole : TaxOn::Excess;
    }
    return read;
}

Payout ReadPayout(const json& file) {
    Payout read;
    if (file.contains("payout") && file.at("payout") != "lump") {
        const json& payout = file.at("payout");
        OnlyKeys(payout, {"annuity"}, "payout.");
        const json& annuity = Required(payout, "annuity", "payout.");
        OnlyKeys(annuity, {"years", "growth"}, "payout.annuity.");
        const json& years = Required(annuity, "years", "payout.annuity.");
        if (!years.is_number_integer() || years.get<long long>() < 1 ||
            years.get<long long>() > kMostYears) {
            Refuse("payout.annuity.years", Shown(years) + " is not a count of years, 1 to 100");
        }
        read.annuity = true;
        read.years = static_cast<int>(years.get<long long>());
        if (annuity.contains("growth")) {
            read.growth = Number(annuity.at("growth"), "payout.annuity.growth");
            if (!(read.growth > -1 && read.growth <= 1)) {
                Refuse("payout.annuity.growth",
                       Shown(annuity.at("growth")) + " is not a yearly growth above -1, at most 1");
            }
        }
    }
    if (file.contains("discount")) {
        read.discount = Number(file.at("discount"), "discount");
        if (!(read.discount >= 0 && read.discount <= 1)) {
            Refuse("discount", Shown(file.at("discount")) + " is not a yearly rate from 0 to 1");
        }
    }
    return read;
}

Sales ReadSales(const json& sales) {
    Sales read;
    if (sales.is_number()) {
        read.base = Number(sales, "sales");
    } else {
        OnlyKeys(sales, {"base", "per_jackpot"}, "sales.");
        read.base = Number(Required(sales, "base", "sales."), "sales.base");
        if (sales.contains("per_jackpot")) {
            read.perJackpot = Number(sales.at("per_jackpot"), "sales.per_jackpot");
        }
    }
    if (!(read.base >= 1 && read.base <= 1e12) ||
        !(read.perJackpot >= 0 && read.perJackpot <= 1e3)) {
        Refuse("sales",
               "tickets sold a draw must be 1 to 10^12, and grow by 0 to 1000 a unit "
               "of jackpot");
    }
    return read;
}

LotteryRules Read(const json& file) {
    OnlyKeys(file,
             {"game", "price", "draws_per_week", "tiers", "prize_fund", "sales", "jackpot", "tax",
              "payout", "discount", "source", "as_of"},
             "");
    LotteryRules rules;
    const json& game = Required(file, "game", "");
    const ReadGame read = ParseGame(game.is_string() ? game.get<std::string>() : game.dump());
    if (!read.game) {
        Refuse("game", Shown(game) + " is not a game such as 5/50+2/12");
    }
    rules.game = *read.game;
    const DrawRule ticket = rules.Ticket();
    rules.price = Amount(Required(file, "price", ""), "price");
    if (rules.price == 0) {
        Refuse("price", "a ticket that costs nothing returns no rate");
    }
    if (file.contains("draws_per_week")) {
        const double perWeek = Number(file.at("draws_per_week"), "draws_per_week");
        if (!DrawsPerWeekAllowed(perWeek)) {
            Refuse("draws_per_week", Shown(file.at("draws_per_week")) + " is not 0.001 to 10000");
        }
        rules.drawsPerWeek = perWeek;
    }
    rules.tiers = ReadTiers(Required(file, "tiers", ""), ticket);
    const bool shares = std::any_of(rules.tiers.begin(), rules.tiers.end(),
                                    [](const RuleTier& tier) { return tier.share.has_value(); });
    if (shares || file.contains("prize_fund")) {
        rules.prizeFund = Share(Required(file, "prize_fund", ""), "prize_fund");
    }
    if (shares || file.contains("jackpot") || file.contains("sales")) {
        rules.sales = ReadSales(Required(file, "sales", ""));
    }
    if (file.contains("jackpot")) {
        rules.jackpot = ReadJackpot(file.at("jackpot"), rules, ticket);
    }
    if (file.contains("tax")) {
        rules.tax = ReadTax(file.at("tax"));
    }
    rules.payout = ReadPayout(file);
    for (const auto& [key, text] : {std::pair("source", &rules.source), {"as_of", &rules.asOf}}) {
        if (file.contains(key)) {
            if (!file.at(key).is_string()) {
                Refuse(key, Shown(file.at(key)) + " is not a text");
            }
            *text = file.at(key).get<std::string>();
        }
    }
    return rules;
}

}  // namespace

double Payout::PresentShare() const noexcept {
    if (!annuity) {
        return 1;
    }
    double paid = 0, worth = 0, payment = 1, factor = 1;
    for (int year = 0; year < years; ++year) {
        paid += payment;
        worth += payment * factor;
        payment *= 1 + growth;
        factor /= 1 + discount;
    }
    return worth / paid;
}

DrawRule LotteryRules::Ticket() const {
    DrawRule ticket{.game = game, .main = {}, .second = {}};
    for (int n = 1; n <= game.main.drawn; ++n) {
        ticket.main.Add(n);
    }
    for (int n = 1; n <= game.second.drawn; ++n) {
        ticket.second.Add(n);
    }
    return ticket;
}

ReadRules ParseRules(std::string_view text) {
    const json file = json::parse(text, nullptr, false);
    if (file.is_discarded()) {
        return {std::nullopt, "the file is not JSON"};
    }
    try {
        return {Read(file), {}};
    } catch (const Fault& fault) {
        return {std::nullopt, fault.text};
    } catch (const json::exception&) {
        return {std::nullopt, "the file holds a value out of range"};
    }
}

ReadRules ReadRulesFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return {std::nullopt, "is a directory"};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {std::nullopt, "cannot be read"};
    }
    std::string text;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMostBytes) {
            return {std::nullopt, "is larger than a megabyte: no lottery's rules are"};
        }
    }
    return ParseRules(text);
}

}  // namespace loto
