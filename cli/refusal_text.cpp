#include "cli/refusal_text.h"

#include "core/game_input.h"
#include "platform/quoted_text.h"

namespace loto {

std::string RefusalText(const Refusal& refusal) {
    const std::string typed = Quoted(refusal.typed);
    const std::string number = std::to_string(refusal.number);
    switch (refusal.why) {
        case Refused::NotAGame:
            return typed +
                   " is not a game: K/N, then +bonus, then +M/Q, with 1 <= K < N <= 99 and 1 <= M "
                   "< Q <= 99";
        case Refused::SecondPoolMissing:
            return "the numbers of the second pool are missing, after a " + Quoted(kSecondPoolMark);
        case Refused::NoSecondPool:
            return "this game has no second pool, but the ticket holds a " +
                   Quoted(kSecondPoolMark);
        case Refused::PoolSize:
            return "a ticket holds 1 to " + number +
                   (refusal.second ? " numbers of the second pool" : " main numbers") + ", not " +
                   std::to_string(refusal.count);
        case Refused::BeyondNumbers:
            return refusal.name + " is " + typed + ", beyond the range of numbers";
        case Refused::OutsidePool:
            return refusal.name + " is " + typed + ", not from 1 to " + number;
        case Refused::HeldAlready:
            return refusal.name + " is " + typed + ", " + number +
                   " once rounded, which the ticket holds already";
        case Refused::NotTierAmount:
            return typed + " is not TIER=AMOUNT";
        case Refused::NotAnAmount:
            return typed +
                   " is not an amount: digits, then at most two decimals after a point, up to "
                   "10^16";
        case Refused::NotATier:
            return "--prize: " + typed + " is not a tier of a " + refusal.game + " ticket of " +
                   std::to_string(refusal.count) + " numbers";
        case Refused::TierTwice:
            return "--prize: tier " + typed + " is given twice";
        case Refused::NothingPays:
            return "--until any: no tier of the ticket has a prize (--prize)";
        case Refused::UntilNotATier:
            return "--until: " + typed + " is not a tier of this " + refusal.game + " ticket";
        case Refused::TooMuchMoney:
            return "a draw of this ticket could cost or pay more than 10^16: too much to count to "
                   "the cent";
    }
    return {};
}

}  // namespace loto
