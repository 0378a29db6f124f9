#include "audit/history_csv.h"

#include <algorithm>
#include <bitset>
#include <chrono>
#include <numeric>
#include <span>
#include <string_view>
#include <type_traits>

#include "platform/latin1_text.h"
#include "platform/line_reader.h"
#include "platform/quoted_text.h"

namespace loto {
namespace {

constexpr int kStorable = 255;            // a number is kept in one byte
constexpr std::size_t kMostLevels = 100;  // of a --by column

bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view text) noexcept {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

constexpr const char* kQuoteOpen = "a quote is not closed";

// A record's fields, quotes undone; at a fault, those read up to it and the reason.
struct Fields {
    std::vector<std::string> values;
    const char* fault = nullptr;
};

// A quoted field from just after its opening quote: its text, and where the closing quote ends,
// or npos when the line ends first.
std::size_t ReadQuoted(std::string_view line, std::size_t i, std::string& field) {
    while (i < line.size()) {
        if (line[i] != '"') {
            field += line[i++];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            i += 2;
        } else {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

Fields Split(std::string_view line, char delimiter) {
    Fields fields;
    std::size_t i = 0;
    while (true) {
        std::string& field = fields.values.emplace_back();
        std::size_t start = i;
        while (start < line.size() && IsBlank(line[start])) {
            ++start;
        }
        if (start < line.size() && line[start] == '"') {
            i = ReadQuoted(line, start + 1, field);
            if (i == std::string_view::npos) {
                fields.fault = kQuoteOpen;
                return fields;
            }
            while (i < line.size() && IsBlank(line[i])) {
                ++i;
            }
            if (i < line.size() && line[i] != delimiter) {
                fields.fault = "text follows a closing quote";
                return fields;
            }
        } else {
            const std::size_t end = std::min(line.find(delimiter, i), line.size());
            field = line.substr(i, end - i);
            i = end;
        }
        if (i >= line.size()) {
            return fields;
        }
        ++i;  // past the delimiter
    }
}

char DelimiterOf(std::string_view header) noexcept {
    std::size_t commas = 0;
    std::size_t semicolons = 0;
    bool quoted = false;
    for (const char c : header) {
        quoted ^= c == '"';  // "" inside a quoted field toggles twice
        commas += !quoted && c == ',' ? 1 : 0;
        semicolons += !quoted && c == ';' ? 1 : 0;
    }
    return semicolons > 0 && semicolons >= commas ? ';' : ',';
}

bool IsBlankRow(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& field) { return Trimmed(field).empty(); });
}

// A number of 1..top, or why a field holds none.
struct Parsed {
    int value = 0;
    std::string fault;
};

Parsed ReadNumber(std::string_view field, int top) {
    const std::string_view text = Trimmed(field);
    const bool sign = !text.empty() && (text.front() == '+' || text.front() == '-');
    const std::string_view digits = sign ? text.substr(1) : text;
    Parsed parsed;
    parsed.fault = Quoted(text);  // a field may hold any byte, a NUL among them
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) {
        parsed.fault += " is not a whole number";
        return parsed;
    }
    if (sign) {
        parsed.fault += " has a sign";
        return parsed;
    }
    for (const char c : digits) {
        parsed.value = std::min(parsed.value * 10 + (c - '0'), top + 1);  // no overflow
    }
    if (parsed.value < 1 || parsed.value > top) {
        parsed.fault += " is out of range 1 to ";
        parsed.fault += std::to_string(top);
        return parsed;
    }
    parsed.fault.clear();
    return parsed;
}

// A pool's columns and the bound of its numbers while reading: N, or the storable bound when N
// is guessed.
struct PoolColumns {
    std::vector<std::size_t> columns;
    int top;
    bool guessed;
};

struct Layout {
    std::vector<std::string> header;
    PoolColumns main;
    PoolColumns second;
    std::optional<std::size_t> bonus;
    std::optional<std::size_t> date;
    std::optional<std::size_t> by;

    [[nodiscard]] std::string Label(std::size_t column) const {
        const std::string_view name = Trimmed(header[column]);
        return name.empty() ? std::to_string(column + 1) : PrintableText(name);
    }
};

// The column's place in the header, or why there is none.
std::optional<std::size_t> Find(const ColumnRef& ref, const std::vector<std::string>& header,
                                std::string& fault) {
    if (const int* position = std::get_if<int>(&ref)) {
        if (*position >= 1 && static_cast<std::size_t>(*position) <= header.size()) {
            return static_cast<std::size_t>(*position - 1);
        }
        fault = "there is no column ";
        fault += std::to_string(*position);
        fault += ": the header has ";
        fault += std::to_string(header.size());
        return std::nullopt;
    }
    const std::string& name = std::get<std::string>(ref);
    const auto named = [&](const std::string& field) { return Trimmed(field) == Trimmed(name); };
    const auto found = std::find_if(header.begin(), header.end(), named);
    if (found == header.end() || std::count_if(header.begin(), header.end(), named) > 1) {
        fault = found == header.end() ? "no column named " : "more than one column is named ";
        fault += PrintableText(name);
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - header.begin());
}

// What is wrong with the options before any line is read, if anything.
std::string CheckOptions(const HistoryOptions& options) {
    std::string fault;
    if (options.main.empty()) {
        return "no main columns are chosen";
    }
    const auto check = [&](const std::optional<Pool>& bounds, std::size_t columns) {
        if (!bounds || !fault.empty()) {
            return;
        }
        if (bounds->drawn < 1 || bounds->drawn > bounds->top || bounds->top > kStorable) {
            fault = "a pool draws 1 to N numbers of 1..N, N at most 255";
        } else if (columns != static_cast<std::size_t>(bounds->drawn)) {
            fault = std::to_string(columns);
            fault += " columns for a pool that draws ";
            fault += std::to_string(bounds->drawn);
        }
    };
    if (options.wholeDraw) {
        if (options.main.size() != 1) {
            return "a whole draw is read from one column";
        }
    } else {
        check(options.mainPool, options.main.size());
    }
    if (!options.second.empty() && !options.wholeDraw) {
        check(options.secondPool, options.second.size());
    }
    return fault;
}

// The header's columns for the options, or why they cannot be had.
std::optional<Layout> Resolve(std::vector<std::string> header, const HistoryOptions& options,
                              std::string& fault) {
    Layout layout;
    layout.header = std::move(header);
    for (std::string& name : layout.header) {
        name = AsUtf8(name);
    }
    std::vector<std::size_t> chosen;
    const auto find = [&](const ColumnRef& ref) {
        const auto column = fault.empty() ? Find(ref, layout.header, fault) : std::nullopt;
        if (column && std::find(chosen.begin(), chosen.end(), *column) != chosen.end()) {
            fault = "column ";
            fault += layout.Label(*column);
            fault += " is chosen twice";
        }
        chosen.push_back(column.value_or(0));
        return column.value_or(0);
    };
    const auto pool = [&](const std::vector<ColumnRef>& refs, const std::optional<Pool>& b) {
        PoolColumns columns{{}, b ? b->top : kStorable, !b};
        for (const ColumnRef& ref : refs) {
            columns.columns.push_back(find(ref));
        }
        return columns;
    };
    layout.main = pool(options.main, options.mainPool);
    layout.second = pool(options.second, options.secondPool);
    if (options.bonus) {
        layout.bonus = find(*options.bonus);
    }
    if (options.date) {
        layout.date = find(*options.date);
    }
    if (options.by) {
        layout.by = find(*options.by);
    }
    if (!fault.empty()) {
        return std::nullopt;
    }
    return layout;
}

// Builds the history line by line.
class Builder {
public:
    Builder(Layout layout, const HistoryOptions& options)
        : layout_(std::move(layout)), dates_(options.dateOrder), whole_(options.wholeDraw) {
        history_.main.drawn = static_cast<int>(layout_.main.columns.size());
        history_.second.drawn = static_cast<int>(layout_.second.columns.size());
        if (whole_) {
            history_.main.drawn = options.mainPool ? options.mainPool->drawn : 0;
            history_.second.drawn = options.secondPool ? options.secondPool->drawn : 0;
            bonusInDraw_ = options.bonusInDraw;
        }
    }

    // Why the line is no draw, or empty when it was added.
    std::string Add(const std::vector<std::string>& fields) {
        std::vector<std::string_view> values;
        std::string fault = whole_ ? Split(fields, values) : Columns(fields, values);
        const auto mainCount = static_cast<std::size_t>(history_.main.drawn);
        const auto secondCount = static_cast<std::size_t>(history_.second.drawn);
        const std::span<const std::string_view> all(values);
        if (fault.empty()) {
            fault = ReadPool(all.first(mainCount), layout_.main.top, main_);
        }
        if (fault.empty()) {
            fault = ReadPool(all.last(secondCount), layout_.second.top, second_);
        }
        int bonus = 0;
        if (fault.empty() && HasBonus()) {
            fault = ReadBonus(values[mainCount], bonus);
        }
        std::int32_t day = 0;
        if (fault.empty() && layout_.date) {
            fault = ReadDate(fields, day);
        }
        const std::string* level =
            fault.empty() && layout_.by ? Field(fields, *layout_.by, fault) : nullptr;
        if (level != nullptr && !Known(AsUtf8(Trimmed(*level))) &&
            history_.levels.names.size() == kMostLevels) {
            fault = "column ";
            fault += layout_.Label(*layout_.by);
            fault += " has more than ";
            fault += std::to_string(kMostLevels);
            fault += " values: no machine or set of balls has so many";
        }
        if (!fault.empty()) {
            return fault;
        }
        Append(main_, history_.main, mainHighest_);
        Append(second_, history_.second, secondHighest_);
        if (HasBonus()) {
            history_.bonus.push_back(static_cast<std::uint8_t>(bonus));
            mainHighest_ = std::max(mainHighest_, bonus);
        }
        if (layout_.date) {
            history_.days.push_back(day);
        }
        if (level != nullptr) {
            AddLevel(AsUtf8(Trimmed(*level)));
        }
        return fault;
    }

    // Why the dates cannot be read, if they cannot, once every line is.
    std::optional<std::string> SettleDates() { return dates_.Settle(history_.days); }

    History Finish(char delimiter, std::vector<BadLine> setAside) && {
        history_.main.top = layout_.main.guessed ? mainHighest_ : layout_.main.top;
        history_.second.top = layout_.second.guessed ? secondHighest_ : layout_.second.top;
        history_.delimiter = delimiter;
        history_.setAside = std::move(setAside);
        if (layout_.by) {
            history_.levels.column = layout_.Label(*layout_.by);
        }
        if (layout_.date) {
            SortByDate(history_);
        }
        return std::move(history_);
    }

private:
    const std::string* Field(const std::vector<std::string>& fields, std::size_t column,
                             std::string& fault) const {
        if (column < fields.size() && !Trimmed(fields[column]).empty()) {
            return &fields[column];
        }
        fault = "column ";
        fault += layout_.Label(column);
        fault += column < fields.size() ? " is empty" : " is missing";
        return nullptr;
    }

    [[nodiscard]] bool HasBonus() const noexcept { return layout_.bonus || bonusInDraw_; }

    [[nodiscard]] bool Known(const std::string& level) const {
        const std::vector<std::string>& names = history_.levels.names;
        return std::find(names.begin(), names.end(), level) != names.end();
    }

    void AddLevel(const std::string& name) {
        DrawLevels& levels = history_.levels;
        const auto found = std::find(levels.names.begin(), levels.names.end(), name);
        levels.of.push_back(static_cast<std::uint16_t>(found - levels.names.begin()));
        if (found == levels.names.end()) {
            levels.names.push_back(name);
        }
    }

    // The fields of the columns chosen, main, bonus and second pool's, in that order.
    std::string Columns(const std::vector<std::string>& fields,
                        std::vector<std::string_view>& values) const {
        std::string fault;
        std::vector<std::size_t> columns = layout_.main.columns;
        if (layout_.bonus) {
            columns.push_back(*layout_.bonus);
        }
        columns.insert(columns.end(), layout_.second.columns.begin(), layout_.second.columns.end());
        for (const std::size_t column : columns) {
            const std::string* field = Field(fields, column, fault);
            if (field == nullptr) {
                return fault;
            }
            values.push_back(*field);
        }
        return fault;
    }

    // The numbers of the one column that holds the whole draw, separated by blanks: as many as a
    // draw takes, the first draw's count where the game is guessed.
    std::string Split(const std::vector<std::string>& fields,
                      std::vector<std::string_view>& values) {
        std::string fault;
        const std::string* field = Field(fields, layout_.main.columns.front(), fault);
        if (field == nullptr) {
            return fault;
        }
        const std::string_view text = *field;
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t start = text.find_first_not_of(" \t", from);
            if (start == std::string_view::npos) {
                break;
            }
            const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
            values.push_back(text.substr(start, end - start));
            from = end;
        }
        if (history_.main.drawn == 0) {
            history_.main.drawn = static_cast<int>(values.size());  // the first draw's count
        }
        const std::size_t count = static_cast<std::size_t>(history_.main.drawn) +
                                  (bonusInDraw_ ? 1 : 0) +
                                  static_cast<std::size_t>(history_.second.drawn);
        if (values.size() != count) {
            fault = Quoted(Trimmed(text));
            fault += " holds ";
            fault += std::to_string(values.size());
            fault += " numbers, where a draw has ";
            fault += std::to_string(count);
        }
        return fault;
    }

    std::string ReadPool(std::span<const std::string_view> fields, int top,
                         std::vector<std::uint8_t>& numbers) const {
        numbers.clear();
        std::bitset<kStorable + 1> seen;
        for (const std::string_view field : fields) {
            Parsed parsed = ReadNumber(field, top);
            if (parsed.fault.empty() && seen[static_cast<std::size_t>(parsed.value)]) {
                parsed.fault = std::to_string(parsed.value);
                parsed.fault += " is repeated";
            }
            if (!parsed.fault.empty()) {
                return parsed.fault;
            }
            seen.set(static_cast<std::size_t>(parsed.value));
            numbers.push_back(static_cast<std::uint8_t>(parsed.value));
        }
        return {};
    }

    std::string ReadBonus(std::string_view field, int& bonus) const {
        Parsed parsed = ReadNumber(field, layout_.main.top);
        if (parsed.fault.empty() &&
            std::find(main_.begin(), main_.end(), parsed.value) != main_.end()) {
            parsed.fault = "bonus ";
            parsed.fault += std::to_string(parsed.value);
            parsed.fault += " is also a main number";
        }
        bonus = parsed.value;
        return parsed.fault;
    }

    std::string ReadDate(const std::vector<std::string>& fields, std::int32_t& day) {
        std::string fault;
        const std::string* field = Field(fields, *layout_.date, fault);
        if (field == nullptr) {
            return fault;
        }
        const auto read = dates_.Read(Trimmed(*field), history_.days.size());
        if (!read) {
            fault = Quoted(Trimmed(*field));
            fault += " is not a date";
            return fault;
        }
        day = *read;
        return fault;
    }

    static void Append(const std::vector<std::uint8_t>& numbers, PoolHistory& pool, int& highest) {
        pool.numbers.insert(pool.numbers.end(), numbers.begin(), numbers.end());
        for (const std::uint8_t x : numbers) {
            highest = std::max<int>(highest, x);
        }
    }

    Layout layout_;
    DateReader dates_;
    bool whole_;
    bool bonusInDraw_ = false;
    History history_;
    std::vector<std::uint8_t> main_;  // the line's numbers, kept to spare an allocation a line
    std::vector<std::uint8_t> second_;
    int mainHighest_ = 0;
    int secondHighest_ = 0;
};

enum class Next { Record, End, TooLong };

// The next record: a line, and the lines after it while a quoted field holds their line breaks,
// as a spreadsheet writes a cell of two lines; its fields, and the number of its first line. A
// failed read ends it as the end does, which the reader tells.
Next NextRecord(LineReader& reader, std::string& record, std::uint64_t& first, char delimiter,
                Fields& fields) {
    std::optional<std::string_view> line = reader.Next();
    if (!line) {
        return reader.tooLong() ? Next::TooLong : Next::End;
    }
    first = reader.number();
    record.assign(*line);
    while ((fields = Split(record, delimiter)).fault == kQuoteOpen) {
        line = reader.Next();
        if (!line) {
            return reader.tooLong() ? Next::TooLong : Next::Record;  // the quote left open
        }
        if (record.size() + 1 + line->size() > kMaxLineBytes) {
            return Next::TooLong;
        }
        record.append(1, '\n').append(*line);
    }
    return Next::Record;
}

// The header: the first line that is not blank, a line of blanks and delimiters being blank
// whichever the delimiter; none at the input's end.
std::optional<std::string_view> HeaderLine(LineReader& reader) {
    std::optional<std::string_view> line = reader.Next();
    while (line && line->find_first_not_of(" \t,;") == std::string_view::npos) {
        line = reader.Next();
    }
    return line;
}

HistoryReading Failed(std::uint64_t line, std::string reason,
                      std::vector<std::string> fields = {}) {
    return {std::nullopt, BadLine{line, std::move(fields), std::move(reason)}};
}

}  // namespace

void ChooseColumns(HistoryOptions& options, std::vector<ColumnRef> main,
                   std::vector<ColumnRef> second, std::optional<ColumnRef> bonus,
                   const std::optional<Game>& game) {
    options.wholeDraw = main.size() == 1 && second.empty() && !bonus;
    options.bonusInDraw = options.wholeDraw && game && game->bonus;
    options.main = std::move(main);
    options.second = std::move(second);
    options.bonus = std::move(bonus);
    if (game) {
        options.mainPool = Pool{game->main.drawn, game->main.top};
        if (game->hasSecond()) {
            options.secondPool = Pool{game->second.drawn, game->second.top};
        }
    }
}

std::optional<HistoryHead> ReadHistoryHead(std::FILE* input) {
    LineReader reader(input);
    const std::optional<std::string_view> line = HeaderLine(reader);
    if (!line) {
        return std::nullopt;
    }
    const char delimiter = DelimiterOf(*line);
    Fields header = Split(*line, delimiter);
    if (header.fault != nullptr) {
        return std::nullopt;
    }
    HistoryHead head;
    for (const std::string& name : header.values) {
        head.names.push_back(AsUtf8(name));
    }
    std::string record;
    std::uint64_t first = 0;
    Fields fields;
    while (NextRecord(reader, record, first, delimiter, fields) == Next::Record &&
           fields.fault == nullptr) {
        if (!IsBlankRow(fields.values)) {
            head.first = std::move(fields.values);
            break;
        }
    }
    return head;
}

HistoryReading ReadHistory(std::FILE* input, const HistoryOptions& options) {
    if (std::string fault = CheckOptions(options); !fault.empty()) {
        return Failed(0, std::move(fault));
    }
    LineReader reader(input);
    Next next = Next::Record;
    // What ends the reading before the input's end: a record too long, or a failed read.
    const auto unreadable = [&] {
        return Failed(reader.number(), next == Next::TooLong || reader.tooLong()
                                           ? "the line is longer than 1 MiB"
                                           : "the input could not be read");
    };
    const std::optional<std::string_view> line = HeaderLine(reader);
    if (!line) {
        return reader.tooLong() || reader.error() != 0 ? unreadable()
                                                       : Failed(0, "there is no header line");
    }
    const char delimiter = DelimiterOf(*line);
    Fields header = Split(*line, delimiter);
    if (header.fault != nullptr) {
        return Failed(reader.number(), header.fault, std::move(header.values));
    }
    std::string fault;
    std::optional<Layout> layout = Resolve(std::move(header.values), options, fault);
    if (!layout) {
        return Failed(reader.number(), std::move(fault));
    }
    Builder builder(std::move(*layout), options);
    std::vector<BadLine> setAside;
    std::uint64_t first = 0;
    std::string record;
    Fields fields;
    while ((next = NextRecord(reader, record, first, delimiter, fields)) == Next::Record &&
           reader.error() == 0) {
        if (fields.fault == nullptr && IsBlankRow(fields.values)) {
            continue;
        }
        std::string reason = fields.fault != nullptr ? fields.fault : builder.Add(fields.values);
        if (reason.empty()) {
            continue;
        }
        if (!options.skipBad) {
            return Failed(first, std::move(reason), std::move(fields.values));
        }
        setAside.push_back({first, std::move(fields.values), std::move(reason)});
    }
    if (next == Next::TooLong || reader.error() != 0) {
        return unreadable();
    }
    if (std::optional<std::string> undated = builder.SettleDates()) {
        return Failed(0, std::move(*undated));
    }
    return {std::move(builder).Finish(delimiter, std::move(setAside)), std::nullopt};
}

}  // namespace loto
