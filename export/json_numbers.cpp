#include "export/json_numbers.h"

#include <cmath>
#include <cstdint>

#include "platform/decimal_digits.h"

namespace loto {
namespace {

using nlohmann::json;

// The subtype of the binary values that stand for a number's own text.
constexpr std::uint8_t kDigitsSubtype = 0x4E;

// Shortest digits without a point or an exponent: a whole number, written as one.
bool Whole(const std::string& shortest) {
    return shortest.find_first_of(".e") == std::string::npos;
}

// nlohmann's layout of a Double's digits: plain between 1e-4 and 1e15 (a point and a 0 after a
// whole number), with an exponent of at least two digits elsewhere.
std::string Laid(const SignificantDigits& d) {
    constexpr int kMinExponent = -4, kMaxExponent = 15;
    const int k = static_cast<int>(d.digits.size());
    const int n = d.exponent + 1;  // the digits before the point
    std::string text = d.negative ? "-" : "";
    if (k <= n && n <= kMaxExponent) {
        return text + d.digits + std::string(static_cast<std::size_t>(n - k), '0') + ".0";
    }
    if (0 < n && n <= kMaxExponent) {
        text += d.digits.substr(0, static_cast<std::size_t>(n));
        text += '.';
        return text += d.digits.substr(static_cast<std::size_t>(n));
    }
    if (kMinExponent < n && n <= 0) {
        return text + "0." + std::string(static_cast<std::size_t>(-n), '0') + d.digits;
    }
    text += d.digits.substr(0, 1);
    if (k > 1) {
        text += '.';
        text += d.digits.substr(1);
    }
    const int exponent = n - 1;
    const std::string written = std::to_string(std::abs(exponent));
    text += exponent < 0 ? "e-" : "e+";
    text += written.size() < 2 ? "0" : "";
    return text += written;
}

}  // namespace

json JsonDouble(std::optional<double> value) {
    if (!value || !std::isfinite(*value)) {
        return nullptr;
    }
    // A whole number is written as one only where a 64-bit integer holds it: from 2^63 on, the
    // shortest digits can still be whole (428786696323047750000), and the cast is undefined.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (Whole(ShortestText(*value)) && std::abs(*value) < kTwoTo63) {
        return *value == 0 ? json(0) : json(static_cast<std::int64_t>(*value));
    }
    return *value;
}

json JsonSingle(std::optional<float> value) {
    if (!value || !std::isfinite(*value)) {
        return nullptr;
    }
    const std::string shortest = ShortestText(*value);
    if (Whole(shortest)) {
        return JsonDigits(*value == 0 ? "0" : shortest);
    }
    return JsonDigits(Laid(ShortestDigits(*value)));
}

json JsonDigits(std::string text) {
    return json::binary(std::vector<std::uint8_t>(text.begin(), text.end()), kDigitsSubtype);
}

std::string DumpJson(const json& value) {
    if (value.is_binary() && value.get_binary().has_subtype() &&
        value.get_binary().subtype() == kDigitsSubtype) {
        return {value.get_binary().begin(), value.get_binary().end()};
    }
    std::string text;
    if (value.is_object()) {
        for (const auto& [key, member] : value.items()) {
            text += text.empty() ? '{' : ',';
            text += DumpJson(json(key));
            text += ':';
            text += DumpJson(member);
        }
        return text.empty() ? "{}" : text + "}";
    }
    if (value.is_array()) {
        for (const json& element : value) {
            text += text.empty() ? '[' : ',';
            text += DumpJson(element);
        }
        return text.empty() ? "[]" : text + "]";
    }
    // A text from a file (a history's field in Latin-1) may not be UTF-8, which JSON must be:
    // such bytes become U+FFFD rather than an exception.
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace loto
