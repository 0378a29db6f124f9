// Any text a user can type: reading it never fails, never yields a value that is not a number,
// and does not depend on where the blanks stand.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/number_text.h"
#include "platform/text_to_number.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = loto::TextToNumber(text);
    if (!value) {
        return 0;
    }
    Require(std::isfinite(*value));

    std::string spread;
    for (const char c : text) {
        spread.push_back(c);
        if (c != ' ') {
            spread.push_back(' ');
        }
    }
    const std::optional<double> again = loto::TextToNumber(spread);
    Require(again.has_value() && std::memcmp(&*again, &*value, sizeof(double)) == 0);

    // What a count box shows reads back as the same number.
    const double whole = std::trunc(*value);
    Require(loto::TextToNumber(loto::CountToText(whole, ",")) == whole);
    return 0;
}
