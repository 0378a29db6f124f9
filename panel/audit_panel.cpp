#include "panel/audit_panel.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <variant>

#include "audit/audit_part.h"
#include "audit/history_csv.h"
#include "charts/audit_chart.h"
#include "core/game_input.h"
#include "export/json.h"
#include "export/json_numbers.h"
#include "panel/audit_words.h"
#include "platform/quoted_text.h"
#include "platform/whole_number.h"

namespace loto {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The text as a file that the history's reader reads; none for an empty one, which no reader
// needs to open.
File Opened(const std::string& text) {
    return {text.empty() ? nullptr : fmemopen(const_cast<char*>(text.data()), text.size(), "rb"),
            std::fclose};
}

bool NamesADate(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.find("date") != std::string::npos;
}

std::vector<ColumnRef> Columns(const std::vector<int>& columns) {
    return {columns.begin(), columns.end()};
}

HistoryOptions Reading(const AuditFields& fields, const std::optional<Game>& game) {
    HistoryOptions options;
    ChooseColumns(options, Columns(fields.main), Columns(fields.second),
                  fields.bonus > 0 ? std::optional<ColumnRef>(fields.bonus) : std::nullopt, game);
    if (fields.date > 0) {
        options.date = fields.date;
    }
    return options;
}

// The history of the columns chosen, or why it cannot be read, said.
std::variant<History, std::string> Read(const AuditFields& fields,
                                        const std::optional<Game>& game) {
    const File file = Opened(fields.text);
    if (!file) {
        return EmptyFileText();
    }
    HistoryReading reading = ReadHistory(file.get(), Reading(fields, game));
    if (!reading.history) {
        return BadLineText(*reading.error);
    }
    return std::move(*reading.history);
}

}  // namespace

AuditHead ReadAuditHead(std::string_view text) {
    const std::string bytes(text);
    const File file = Opened(bytes);
    const std::optional<HistoryHead> head = file ? ReadHistoryHead(file.get()) : std::nullopt;
    if (!head) {
        return {.refusal = file ? NoHeaderText() : EmptyFileText()};
    }
    AuditHead offered{.columns = head->names};
    for (std::size_t c = 0; c < head->names.size(); ++c) {
        const int column = static_cast<int>(c) + 1;
        const bool date = NamesADate(head->names[c]);
        if (date && offered.date == 0) {
            offered.date = column;
        }
        const std::optional<int> value =
            c < head->first.size() ? ReadWholeNumber<int>(head->first[c]) : std::nullopt;
        if (!date && value && *value >= 1 && *value <= 255) {
            offered.main.push_back(column);
        }
    }
    const AuditFields fields{.name = {}, .text = bytes, .main = offered.main, .date = offered.date};
    const std::variant<History, std::string> read = Read(fields, std::nullopt);
    if (const History* history = std::get_if<History>(&read)) {
        offered.game = GameName(GuessedGame(*history, false));
    }
    return offered;
}

AuditShown RunAuditPanel(const AuditFields& fields, EventPump& pump) {
    std::optional<Game> game;
    if (fields.game.find_first_not_of(" \t") != std::string::npos) {
        const ReadGame read = ParseGame(fields.game);
        if (!read.game) {
            return {.refusal = AuditGameRefusalText(fields.game)};
        }
        game = read.game;
    }
    if (fields.main.empty()) {
        return {.refusal = NoMainColumnText()};
    }
    std::variant<History, std::string> read = Read(fields, game);
    if (std::string* refusal = std::get_if<std::string>(&read)) {
        return {.refusal = std::move(*refusal)};
    }
    const History& history = std::get<History>(read);
    if (const std::optional<UntestableHistory> why = WhyUntestable(history)) {
        return {.refusal = UntestableText(*why, history.setAside.size())};
    }
    const bool guessed = !game;
    const std::vector<HistoryPart> parts = AuditedParts(history, game, fields.bonus > 0);
    AuditShown shown;
    for (const HistoryPart& part : parts) {
        AuditReport report = AuditPart(part,
                                       {.source = Quoted(fields.name),
                                        .game = part.game,
                                        .guessed = guessed,
                                        .setAside = history.setAside},
                                       {.replicates = std::nullopt,
                                        .alpha = 0.01,
                                        .threads = 1,
                                        .ticket = std::nullopt,
                                        .pump = &pump});
        if (report.family.empty()) {
            return {.refusal = NoTestText(report.draws)};
        }
        if (Stopped(report.family)) {
            return {.stopped = true};
        }
        shown.reports.push_back(std::move(report));
    }
    shown.svg = AuditSvg(parts.back().history, shown.reports.back().game);
    shown.json = DumpJson(shown.reports.size() == 1 ? ToJson(shown.reports.front())
                                                    : ToJson(shown.reports)) +
                 '\n';
    return shown;
}

}  // namespace loto
