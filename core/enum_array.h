#pragma once

#include <array>
#include <cstddef>

namespace loto {

// How many values an enumeration has, from 0 up; each enumeration used as an index says it.
template <typename Enum>
inline constexpr std::size_t kEnumCount = 0;

// An array indexed by the values of an enumeration, checked: a value out of range throws rather
// than reaching past the array.
template <typename Enum, typename T>
class EnumArray {
public:
    [[nodiscard]] constexpr T& operator[](Enum e) {
        return values_.at(static_cast<std::size_t>(e));
    }
    [[nodiscard]] constexpr const T& operator[](Enum e) const {
        return values_.at(static_cast<std::size_t>(e));
    }
    [[nodiscard]] constexpr auto begin() noexcept { return values_.begin(); }
    [[nodiscard]] constexpr auto end() noexcept { return values_.end(); }
    [[nodiscard]] constexpr auto begin() const noexcept { return values_.begin(); }
    [[nodiscard]] constexpr auto end() const noexcept { return values_.end(); }

    friend bool operator==(const EnumArray&, const EnumArray&) = default;

private:
    std::array<T, kEnumCount<Enum>> values_{};
};

}  // namespace loto
