#include "cli/report.h"

#include <cstdio>
#include <sstream>

namespace loto {
namespace {

double DrawsPerSecond(const SimulateReport& report) {
    return report.drawSeconds > 0 ? static_cast<double>(report.drawsDone) / report.drawSeconds
                                  : 0.0;
}

nlohmann::json Column(const HeadlessWindow& window, ResultColumn column) {
    nlohmann::json texts = nlohmann::json::array();
    for (int k = 0; k < kResultRows; ++k) {
        texts.push_back(window.result(column, k));
    }
    return texts;
}

// Right-aligns UTF-8 text by its characters, not its bytes.
std::string PadLeft(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return std::string(width > characters ? width - characters : 0, ' ') + text;
}

// The message as one line: the window spreads it over its label with runs of spaces.
std::string OneLine(std::string_view caption) {
    std::string line;
    for (const char c : caption) {
        if (c != ' ' || (!line.empty() && line.back() != ' ')) {
            line.push_back(c);
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

}  // namespace

nlohmann::json ReportJson(const HeadlessWindow& window, const SimulateReport& report) {
    return {
        {"valid", report.outcome == Outcome::Completed},
        {"estimate", window.estimate()},
        {"observed", Column(window, ResultColumn::Stat)},
        {"expected", Column(window, ResultColumn::Theo)},
        {"deviation", Column(window, ResultColumn::Ecart)},
        {"draws", report.drawsDone},
        {"seconds", report.drawSeconds},
    };
}

std::string ReportText(const HeadlessWindow& window, const SimulateReport& report) {
    std::ostringstream out;
    out << "estimate: " << window.estimate() << '\n';
    if (window.messageVisible(Message::ValidGrille)) {
        out << OneLine(MessageCaption(Message::ValidGrille)) << '\n';
    }
    out << " k" << PadLeft("observed", 20) << PadLeft("expected", 20) << PadLeft("deviation %", 16)
        << '\n';
    for (int k = 0; k < kResultRows; ++k) {
        out << ' ' << k << PadLeft(window.result(ResultColumn::Stat, k), 20)
            << PadLeft(window.result(ResultColumn::Theo, k), 20)
            << PadLeft(window.result(ResultColumn::Ecart, k), 16) << '\n';
    }
    char line[128];
    std::snprintf(line, sizeof line, "draws: %llu in %.3f s (%.0f draws/s)\n",
                  static_cast<unsigned long long>(report.drawsDone), report.drawSeconds,
                  DrawsPerSecond(report));
    out << line;
    return out.str();
}

}  // namespace loto
