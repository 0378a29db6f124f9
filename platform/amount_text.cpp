#include "platform/amount_text.h"

#include <algorithm>

namespace loto {

std::optional<Cents> ReadAmount(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view units = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (units.empty() || !digits(units) || !digits(decimals) || decimals.size() > 2 ||
        (point != std::string_view::npos && decimals.empty())) {
        return std::nullopt;
    }
    Cents cents = 0;
    for (const char c : units) {
        cents = cents * 10 + (c - '0');
        if (cents > kMostCents) {
            return std::nullopt;
        }
    }
    cents *= 100;
    for (std::size_t i = 0; i < 2; ++i) {
        cents += (i < decimals.size() ? decimals[i] - '0' : 0) * (i == 0 ? 10 : 1);
    }
    if (cents > kMostCents) {
        return std::nullopt;
    }
    return cents;
}

std::string AmountText(Cents cents, std::string_view point) {
    const bool negative = cents < 0;
    __extension__ unsigned __int128 magnitude = negative ? 0 - static_cast<unsigned __int128>(cents)
                                                         : static_cast<unsigned __int128>(cents);
    std::string digits;
    for (int place = 0; place < 3 || magnitude > 0; ++place) {
        if (place == 2) {
            digits.append(point.rbegin(), point.rend());
        }
        digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    }
    if (negative) {
        digits.push_back('-');
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

}  // namespace loto
