#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <string>

#include "platform/quoted_text.h"
#include "platform/whole_number.h"

namespace loto {

// The values of loto-sim's options, read in one place: whole numbers in decimal (CLI11's own
// conversion takes a leading 0 for octal and 0x for hexadecimal) and decimals in the C locale's
// forms, each refused with the text that was typed.

// A whole number from `low` to `high`, written as digits alone.
template <typename Number>
CLI::Validator WholeNumber(Number low, Number high) {
    return CLI::Validator(
        [low, high](const std::string& text) -> std::string {
            if (!AllDigits(text)) {
                return Quoted(text) + " is not a whole number";
            }
            const std::optional<Number> value = ReadWholeNumber<Number>(text);
            if (!value || *value < low || *value > high) {
                return Quoted(text) + " is not in range " + std::to_string(low) + " to " +
                       std::to_string(high);
            }
            return {};
        },
        "", "whole number");
}

// An option whose value is a whole number from `low` to `high`, given to `set`.
template <typename Number>
CLI::Option* AddWholeNumber(CLI::App& app, const std::string& name, Number low, Number high,
                            std::function<void(Number)> set, const std::string& description) {
    return app
        .add_option_function<std::string>(
            name,
            [set = std::move(set)](const std::string& text) {
                set(*ReadWholeNumber<Number>(text));
            },
            description)
        ->check(WholeNumber(low, high));
}

// A decimal in the C locale's forms (2.5, 1e-3), whole, where `allowed` holds of it.
[[nodiscard]] std::optional<double> ReadDecimal(const std::string& text,
                                                bool (*allowed)(double) noexcept);

// An option whose value is such a decimal, given to `set`, refused with `refusal` after the text.
CLI::Option* AddDecimal(CLI::App& app, const std::string& name, bool (*allowed)(double) noexcept,
                        std::function<void(double)> set, const std::string& refusal,
                        const std::string& description);

}  // namespace loto
