#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "audit/columns.h"
#include "audit/draw_dates.h"
#include "audit/history.h"
#include "core/game.h"

namespace loto {

// A history of real draws as a spreadsheet writes it to CSV: a header line, then one draw a line.
// The delimiter is ',' or ';', whichever occurs more often outside quotes in the header (';' when
// both occur as often: where ';' delimits, ',' is the decimal mark). A UTF-8 byte-order mark
// at the start, CRLF or LF line ends and blank lines (blanks only, or a spreadsheet's empty row
// of delimiters only) are taken as spreadsheets write them. A field may be quoted, "...", with ""
// for a quote inside, and then hold the delimiter; a record is one line, so a quote still open at
// the line's end makes it a bad line.
//
// A number is digits alone, blanks around them allowed: "+3", "7.5", "12abc" and "" are bad.
// Dates are as DateReader reads them. A header's name that is not UTF-8 is read as Latin-1.

struct HistoryOptions {
    std::vector<ColumnRef> main;
    std::vector<ColumnRef> second;   // a second pool, drawn apart, if any
    std::optional<ColumnRef> bonus;  // drawn from the main pool, none of its draw's main numbers
    std::optional<ColumnRef> date;   // the draws are then put in date order (a stable sort)
    SlashOrder dateOrder = SlashOrder::Unknown;
    std::optional<ColumnRef> by;  // a machine's or a ball set's column: each draw's level
    // The main pool's one column holds a whole draw, its numbers separated by blanks: the main
    // pool's K, then the bonus where `bonusInDraw`, then the second pool's M. K is mainPool's,
    // or the count of the first draw's numbers.
    bool wholeDraw = false;
    bool bonusInDraw = false;
    // The pools, K numbers drawn of 1..N, N at most 255. None: K is the number of columns and N
    // the greatest number seen (up to 255), which the caller should say was guessed.
    std::optional<Pool> mainPool;
    std::optional<Pool> secondPool;
    // Bad lines are set aside and reading goes on; without it, the first one ends the reading.
    bool skipBad = false;
};

// The pools' columns, and the game where one is given, into the options: one column and no other
// holds the whole draw (with the bonus, where the game has one); the pools are the game's.
void ChooseColumns(HistoryOptions& options, std::vector<ColumnRef> main,
                   std::vector<ColumnRef> second, std::optional<ColumnRef> bonus,
                   const std::optional<Game>& game);

struct HistoryReading {
    std::optional<History> history;  // none after an error
    // The bad line that ended the reading; or what is wrong with the header or the options, at
    // the header's line ("no column named X"), or at line 0 when no line is at fault.
    std::optional<BadLine> error;
};

// The header's names (in UTF-8, as ReadHistory reads them) and the first record's fields, for a
// front end that offers the columns to choose; none where no header can be read.
struct HistoryHead {
    std::vector<std::string> names;
    std::vector<std::string> first;
};
[[nodiscard]] std::optional<HistoryHead> ReadHistoryHead(std::FILE* input);

// Reads the whole input. Memory grows with the draws alone, 1 byte a number and 4 a date (and
// the lines set aside): a line past 1 MiB ends the reading, as a failed read does.
[[nodiscard]] HistoryReading ReadHistory(std::FILE* input, const HistoryOptions& options);

}  // namespace loto
