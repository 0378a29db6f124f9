#include "platform/text_to_number.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace loto {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The no-break spaces that group digits in French texts ("1 000 000" copied from a document):
// U+00A0 and U+202F, in UTF-8. Their length at the start of `text`, or 0.
std::size_t NoBreakSpaceLength(std::string_view text) {
    for (const std::string_view space : {"\u00A0", "\u202F"}) {
        if (text.starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(const std::string& s, std::size_t at) {
    while (at < s.size() && IsDigit(s[at])) {
        ++at;
    }
    return at;
}

// Length of the longest leading part of s that reads as a decimal number; 0 when none does.
std::size_t NumberPrefixLength(const std::string& s) {
    std::size_t at = 0;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) {
        ++at;
    }
    const std::size_t integerStart = at;
    at = SkipDigits(s, at);
    std::size_t digits = at - integerStart;
    if (at < s.size() && s[at] == '.') {
        const std::size_t fractionStart = at + 1;
        at = SkipDigits(s, fractionStart);
        digits += at - fractionStart;
    }
    if (digits == 0) {
        return 0;
    }
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < s.size() && (s[exponent] == '+' || s[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(s, exponent);
        if (exponentEnd > exponent) {
            at = exponentEnd;
        }
    }
    return at;
}

// strtod rounds correctly and tells overflow (HUGE_VAL) from underflow; the "C" locale keeps
// the period as the separator whatever the process locale says.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

std::string WithoutBlanks(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (const std::size_t space = NoBreakSpaceLength(text.substr(at))) {
            at += space - 1;
        } else if (!IsBlank(text[at])) {
            compact.push_back(text[at]);
        }
    }
    return compact;
}

std::optional<double> TextToNumber(std::string_view text) {
    std::string compact = WithoutBlanks(text);
    compact.resize(NumberPrefixLength(compact));
    if (compact.empty()) {
        return 0.0;
    }
    errno = 0;
    const double value = strtod_l(compact.c_str(), nullptr, CLocale());
    if (errno == ERANGE && std::isinf(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace loto
