#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace loto {

// Numbers in loto-sim's JSON: as JSON numbers that jq reads, each written from its own value.

// A Double as nlohmann writes it, a whole number without a point (-100, not -100.0); null for
// none.
[[nodiscard]] nlohmann::json JsonDouble(std::optional<double> value);

// A Single by its own shortest digits (std::to_chars on the float, not on the Double it widens
// to), laid out as a Double of those digits is: 43.596497, 7.151124e-06; null for none.
[[nodiscard]] nlohmann::json JsonSingle(std::optional<float> value);

// A number whose text is given whole, such as a sum of cents written from its integer: written as
// it stands. `text` must be a JSON number.
[[nodiscard]] nlohmann::json JsonDigits(std::string text);

// The JSON text of `value`, as nlohmann's dump() writes it, with the numbers above as written and
// any byte of a text that is not UTF-8 as U+FFFD.
[[nodiscard]] std::string DumpJson(const nlohmann::json& value);

}  // namespace loto
