// Histories of real draws as spreadsheets write them, and the lines and options that are refused.
#include "audit/history_csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/latin1_text.h"

namespace loto {
namespace {

HistoryReading Read(std::string text, const HistoryOptions& options) {
    std::FILE* input = fmemopen(text.data(), text.size(), "rb");
    HistoryReading reading = ReadHistory(input, options);
    std::fclose(input);
    return reading;
}

std::vector<int> Numbers(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(History, ReadsWhatSpreadsheetsWrite) {
    // ';' with a byte-order mark, CRLF, quotes around names and numbers, quoted ';' and "",
    // blank lines and an empty row; draws in date order, those of one day in file order (enough of
    // them for an unstable sort to show).
    std::string text =
        "\xEF\xBB\xBF\"date\";\"n;\"\"1\"\"\";n2;note\r\n2001-01-31;1;2;\"say \"\"hi\"\"; "
        "bye\"\r\n\r\n"
        ";;;\r\n31/01/2000; 3 ;\"4\";x\r\n   \r\n31/1/2000;5;6;\r\n";
    std::vector<int> sorted;
    for (int i = 0; i < 40; ++i) {
        text += "1/1/1999;";
        text += std::to_string(1 + i % 8);
        text += ";9\r\n";
        sorted.insert(sorted.end(), {1 + i % 8, 9});
    }
    sorted.insert(sorted.end(), {3, 4, 5, 6, 1, 2});
    HistoryOptions byDate;
    byDate.main = {"n;\"1\"", 3};
    byDate.date = "date";
    byDate.mainPool = Pool{2, 9};
    const HistoryReading dated = Read(text, byDate);
    ASSERT_TRUE(dated.history.has_value()) << dated.error->reason;
    EXPECT_EQ(dated.history->delimiter, ';');
    EXPECT_EQ(Numbers(dated.history->main.numbers), sorted);
    EXPECT_EQ(std::vector(dated.history->days.end() - 3, dated.history->days.end()),
              (std::vector<std::int32_t>{10987, 10987, 11353}));
    EXPECT_EQ(dated.history->days.front(), 10592);
    EXPECT_EQ(dated.history->main.top, 9);

    // Positions, a bonus and a second pool, no last line end; without bounds K is the number of
    // columns and N the greatest number seen, the bonus's too.
    HistoryOptions guessed;
    guessed.main = {1, 2};
    guessed.bonus = 3;
    guessed.second = {"d", "e"};
    const HistoryReading plain = Read("a,b,c,d,e\n1,2,3,4,5\n7,8,9,1,2", guessed);
    ASSERT_TRUE(plain.history.has_value()) << plain.error->reason;
    const History& history = *plain.history;
    EXPECT_EQ(Numbers(history.main.numbers), (std::vector{1, 2, 7, 8}));
    EXPECT_EQ(Numbers(history.bonus), (std::vector{3, 9}));
    EXPECT_EQ(Numbers(history.second.numbers), (std::vector{4, 5, 1, 2}));
    EXPECT_EQ(
        std::tuple(history.main.drawn, history.main.top, history.second.drawn, history.second.top),
        std::tuple(2, 9, 2, 5));

    // The delimiter that occurs more often outside quotes, ';' on a tie.
    for (const auto& [header, delimiter] :
         {std::pair{"a,b,c;d", ','}, {"a;b,c", ';'}, {"\"a;b;c\",d", ','}, {"a", ','}}) {
        HistoryOptions first;
        first.main = {1};
        EXPECT_EQ(Read(header, first).history->delimiter, delimiter) << header;
    }
}

TEST(History, BadLinesAreSetAsideOrEndTheReading) {
    using namespace std::string_view_literals;
    const std::pair<std::string_view, std::string_view> lines[] = {
        {"2001-01-01,1,2,3,4", ""},
        {"   ", ""},
        {"2001-01-02,1,2,7.5,4", "\"7.5\" is not a whole number"},
        {"2001-01-03,12abc,2,3,4", "\"12abc\" is not a whole number"},
        {"2001-01-04,+3,2,1,4", "\"+3\" has a sign"},
        {"2001-01-05,1,,3,4", "column n2 is empty"},
        {"2001-01-06,1,2,3", "column bonus is missing"},
        {"2001-01-07,11,2,3,4", "\"11\" is out of range 1 to 10"},
        {"2001-01-08,0,2,3,4", "\"0\" is out of range 1 to 10"},
        {"2001-01-09,99999999999999999999,2,3,4",
         "\"99999999999999999999\" is out of range 1 to 10"},
        {"2001-01-10,2,2,3,4", "2 is repeated"},
        {"2001-01-11,1,2,3,2", "bonus 2 is also a main number"},
        {"2001-02-30,1,2,3,4", "\"2001-02-30\" is not a date"},
        {"31/13/2001,1,2,3,4", "\"31/13/2001\" is not a date"},
        // A field's bytes are quoted as \xNN in the reason, a NUL among them.
        {"2001-01-12,3\0x,2,1,4"sv, "\"3\\x00x\" is not a whole number"},
        {"2001-01-13,\"1\"x,2,3,4", "text follows a closing quote"},
        {"2001-01-14, 5 ,6,7,8", ""},
        // A spreadsheet's cell of two lines, quoted: one record of two lines.
        {"2001-01-15,4,5,6,7,\"two\nlines\"", ""},
        {"2001-01-16,\"1,2,3,4", "a quote is not closed"},
    };
    std::string text = "date,n1,n2,n3,bonus\n";
    for (const auto& [line, reason] : lines) {
        text += line;
        text += '\n';
    }
    HistoryOptions options;
    options.main = {"n1", "n2", "n3"};
    options.bonus = "bonus";
    options.date = "date";
    options.mainPool = Pool{3, 10};
    options.skipBad = true;
    const HistoryReading skipping = Read(text, options);
    ASSERT_TRUE(skipping.history.has_value());
    EXPECT_EQ(Numbers(skipping.history->main.numbers), (std::vector{1, 2, 3, 5, 6, 7, 4, 5, 6}));
    std::vector<std::pair<std::uint64_t, std::string>> setAside;
    std::vector<std::pair<std::uint64_t, std::string>> expected;
    for (const BadLine& bad : skipping.history->setAside) {
        setAside.emplace_back(bad.line, bad.reason);
    }
    std::uint64_t number = 2;  // a record's first line
    for (const auto& [line, reason] : lines) {
        if (!reason.empty()) {
            expected.emplace_back(number, reason);
        }
        number += 1 + static_cast<std::uint64_t>(std::count(line.begin(), line.end(), '\n'));
    }
    EXPECT_EQ(setAside, expected);
    EXPECT_EQ(skipping.history->setAside[0].fields,
              (std::vector<std::string>{"2001-01-02", "1", "2", "7.5", "4"}));

    options.skipBad = false;
    const HistoryReading stopped = Read(text, options);
    EXPECT_FALSE(stopped.history.has_value());
    ASSERT_TRUE(stopped.error.has_value());
    EXPECT_EQ(std::pair(stopped.error->line, stopped.error->reason), expected.front());
}

TEST(History, WrongColumnsAndOptionsAreErrors) {
    const auto options = [](std::vector<ColumnRef> main, std::optional<Pool> pool = {}) {
        HistoryOptions o;
        o.main = std::move(main);
        o.mainPool = pool;
        return o;
    };
    const std::tuple<std::string, HistoryOptions, std::uint64_t, std::string> cases[] = {
        {"\n\nn1,n2\n1,2\n", options({"n3"}), 3, "no column named n3"},
        {"n1,n2\n", options({9}), 1, "there is no column 9: the header has 2"},
        {"n1, n1 \n", options({"n1"}), 1, "more than one column is named n1"},
        {"n1,n2\n", options({"n1", 1}), 1, "column n1 is chosen twice"},
        {"n1,n2\n", options({"n1", "n2"}, Pool{3, 10}), 0, "2 columns for a pool that draws 3"},
        {"n1,n2\n", options({"n1"}, Pool{1, 300}), 0,
         "a pool draws 1 to N numbers of 1..N, N at most 255"},
        {"n1,n2\n", options({}), 0, "no main columns are chosen"},
        {" ;\n", options({1}), 0, "there is no header line"},
        {"n1\n" + std::string((1 << 20) + 1, '1'), options({1}), 2,
         "the line is longer than 1 MiB"},
    };
    for (const auto& [text, o, line, reason] : cases) {
        const HistoryReading reading = Read(text, o);
        EXPECT_FALSE(reading.history.has_value()) << reason;
        ASSERT_TRUE(reading.error.has_value()) << reason;
        EXPECT_EQ(std::pair(reading.error->line, reading.error->reason), std::pair(line, reason));
    }
}

// The columns as typed: names with the blanks around them dropped, or positions from 1 to a
// million; anything else, an empty name among them, is no list.
TEST(History, ColumnsAreNamesOrPositions) {
    using Columns = std::optional<std::vector<ColumnRef>>;
    const std::vector<std::pair<std::string, Columns>> rows = {
        {"a, b ,3", std::vector<ColumnRef>{"a", "b", 3}},
        {" n 1 ", std::vector<ColumnRef>{"n 1"}},
        {"1000000", std::vector<ColumnRef>{1000000}},
        {"1000001", std::nullopt},
        {"0", std::nullopt},
        {"a,,b", std::nullopt},
        {"a,", std::nullopt},
        {" ", std::nullopt},
    };
    for (const auto& [text, columns] : rows) {
        EXPECT_EQ(ParseColumns(text), columns) << text;
    }
    EXPECT_EQ(ParseColumn("\tdate "), ColumnRef("date"));
    EXPECT_EQ(ParseColumn("2,3"), ColumnRef("2,3"));  // one column: a name
}

// Text that is UTF-8 stays as it is; any other is read as Latin-1, a byte a character: a stray,
// truncated or overlong sequence, a surrogate, a code point past U+10FFFF.
TEST(History, TextInLatin1OrUtf8) {
    const std::pair<std::string, std::string> rows[] = {
        {"num\xc3\xa9ro \xe2\x82\xac \xf0\x9f\x8e\xb2",
         "num\xc3\xa9ro \xe2\x82\xac \xf0\x9f\x8e\xb2"},
        {"num\xe9ro", "num\xc3\xa9ro"},
        {"\xc3", "\xc3\x83"},
        {"\xc0\xaf", "\xc3\x80\xc2\xaf"},
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},
        {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"},
        {"\x80"
         "a",
         "\xc2\x80"
         "a"},
    };
    for (const auto& [text, utf8] : rows) {
        EXPECT_EQ(AsUtf8(text), utf8) << text;
    }
}

// Files of one game merged: each pool's N the greatest of the files', a draw of one date kept
// once; files that draw different counts refused.
TEST(History, MergedFromSeveralFiles) {
    const auto part = [](std::vector<std::uint8_t> main, std::vector<std::uint8_t> second,
                         std::int32_t day) {
        History history;
        history.main = {{2, *std::max_element(main.begin(), main.end())}, main};
        history.second = {{1, *std::max_element(second.begin(), second.end())}, second};
        history.days.assign(main.size() / 2, day);
        return history;
    };
    const MergedHistory merged = MergeHistories(
        {part({1, 9, 2, 3}, {4, 5}, 10), part({3, 2, 7, 8}, {5, 12}, 10)}, {"a", "b"});
    ASSERT_TRUE(merged.history);
    EXPECT_EQ(merged.repeated, 1u);  // {2, 3} + 5 on day 10 in both
    EXPECT_EQ(merged.history->main.draws(), 3u);
    EXPECT_EQ(std::pair(merged.history->main.top, merged.history->second.top), std::pair(9, 12));
    History three = part({1, 2, 3}, {1}, 0);
    three.main.drawn = 3;
    EXPECT_EQ(MergeHistories({part({1, 2}, {1}, 0), three}, {"a", "b"}).fault,
              "b draws 3 main numbers where a draws 2: files of one game are audited together");
}

}  // namespace
}  // namespace loto
