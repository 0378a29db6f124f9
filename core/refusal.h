#pragma once

#include <string>

namespace loto {

// Why a game, a ticket, a prize or a tier as typed was refused, with what the message quotes:
// each front end says it in its own language.
enum class Refused {
    NotAGame,           // `typed`
    SecondPoolMissing,  // a game with a second pool, a ticket without
    NoSecondPool,       // a ticket with a second pool, a game without
    PoolSize,           // `second`: whose pool; `number`: its top; `count`: the numbers typed
    BeyondNumbers,      // `name`: N1 ... or S1 ...; `typed`
    OutsidePool,        // `name`, `typed`, `number`: the pool's top
    HeldAlready,        // `name`, `typed`, `number`: the number it rounds to
    NotTierAmount,      // `typed`
    NotAnAmount,        // `typed`
    NotATier,           // `typed`, `game`, `count`: the numbers of a combination
    TierTwice,          // `typed`
    NothingPays,        // drawn until any prize, with none
    UntilNotATier,      // `typed`, `game`
    TooMuchMoney,       // a draw could cost or pay more than can be counted to the cent
};

struct Refusal {
    Refused why = Refused::NotAGame;
    std::string typed{};
    std::string name{};
    std::string game{};
    int number = 0;
    int count = 0;
    bool second = false;
};

}  // namespace loto
