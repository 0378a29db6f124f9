#include "cli/option_values.h"

#include <charconv>

namespace loto {

std::optional<double> ReadDecimal(const std::string& text, bool (*allowed)(double) noexcept) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end || error != std::errc{} || !allowed(value)) {
        return std::nullopt;
    }
    return value;
}

CLI::Option* AddDecimal(CLI::App& app, const std::string& name, bool (*allowed)(double) noexcept,
                        std::function<void(double)> set, const std::string& refusal,
                        const std::string& description) {
    return app
        .add_option_function<std::string>(
            name,
            [allowed, set = std::move(set)](const std::string& text) {
                set(*ReadDecimal(text, allowed));
            },
            description)
        ->check(CLI::Validator(
            [allowed, refusal](const std::string& text) -> std::string {
                return ReadDecimal(text, allowed) ? "" : Quoted(text) + refusal;
            },
            "", "decimal"));
}

}  // namespace loto
