#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

namespace loto {

// The integer that holds the drawn set of a pool wider than one word.
__extension__ using WideSet = unsigned __int128;

// The largest pool whose drawn set a 64-bit word holds: the numbers 0 to top + 1.
inline constexpr int kMostInOneWord = 62;

// Calls `call` with the type of integer that holds a drawn set of the pool of `top` numbers (a
// std::type_identity): one word up to kMostInOneWord, two above.
template <typename Call>
decltype(auto) WithSetFor(int top, Call&& call) {
    return top <= kMostInOneWord ? std::forward<Call>(call)(std::type_identity<std::uint64_t>{})
                                 : std::forward<Call>(call)(std::type_identity<WideSet>{});
}

// Calls `call` with a pool's count of numbers drawn as a std::integral_constant where it is one
// of the most common (5, 6, 7), so that a draw's first candidates are taken unrolled; with 0, to
// be counted as the loop runs, for any other.
template <typename Call>
decltype(auto) WithDrawnCount(int drawn, Call&& call) {
    switch (drawn) {
        case 5:
            return std::forward<Call>(call)(std::integral_constant<int, 5>{});
        case 6:
            return std::forward<Call>(call)(std::integral_constant<int, 6>{});
        case 7:
            return std::forward<Call>(call)(std::integral_constant<int, 7>{});
        default:
            return std::forward<Call>(call)(std::integral_constant<int, 0>{});
    }
}

}  // namespace loto
