#include "form/design.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "form/captions.h"
#include "form/colours.h"
#include "form/units.h"

namespace loto {
namespace {

using enum ControlKind;
using enum Align;
using enum Role;
using enum ResultColumn;

// A line of the touch layout, whole or from `column` over `span` columns.
constexpr PhoneCell Line(int line, int column = 1, int span = kPhoneColumns) {
    return {.line = line, .column = column, .span = span};
}
// Narrower still, the favourites take two lines: the lines below them move down one.
constexpr PhoneCell Lower(PhoneCell cell) {
    return {.line = cell.line + 1, .column = cell.column, .span = cell.span};
}

using namespace palette;

constexpr FontDesign kWindowFont{"Arial", 9.75, true, false};
constexpr FontDesign kArial11{"Arial", 11.25, true, false};
constexpr FontDesign kArial12{"Arial", 12, true, false};
constexpr FontDesign kArial14{"Arial", 14.25, true, false};
constexpr FontDesign kArial15{"Arial", 15.75, true, false};
constexpr FontDesign kArial18{"Arial", 18, true, false};
constexpr FontDesign kArial20{"Arial", 20.25, true, false};
constexpr FontDesign kArialBlack12{"Arial Black", 12, true, true};

constexpr FormDesign kForm{.title = "Form1",
                           .clientWidth = 9105,
                           .clientHeight = 6825,
                           .background = kLightGrey,
                           .font = kWindowFont};

// The fixed captions above the results.
constexpr std::array<ControlDesign, 4> kCaptions{{
    {.name = "LblNbTirages",
     .kind = Label,
     .caption = "  Nombre de tirages de 6 num\u00E9ros \u00E0 simuler :",
     .place = {120, 120, 5175, 375},
     .font = kArial12,
     .background = kLightGreen,
     .align = Centre,
     .tabIndex = 2,
     .phone = Line(1),
     .narrow = Line(1)},
    {.name = "LblNumFavoris",
     .kind = Label,
     .caption = "Saisie de 6 num\u00E9ros",
     .place = {120, 600, 3615, 615},
     .font = kArial15,
     .background = kYellow,
     .align = Centre,
     .tabIndex = 8,
     .phone = Line(3),
     .narrow = Line(3)},
    {.name = "LblHeureFin",
     .kind = Label,
     .caption = "   DATE ET HEURE PREVUES POUR    LA FIN DES TIRAGES",
     .place = {5400, 720, 3495, 495},
     .font = kWindowFont,
     .background = kLightCyan,
     .align = Centre,
     .tabIndex = 12,
     .phone = Line(6),
     .narrow = Lower(Line(6))},
    {.name = "LblR\u00E9sultats",
     .kind = Label,
     .caption = "                                                           RESULTATS",
     .place = {120, 1800, 8775, 255},
     .font = kArial12,
     .background = kLightYellow,
     .tabIndex = 13,
     .phone = Line(8),
     .narrow = Lower(Line(8))},
}};

// The four columns of the results on a touch screen, k first, then the count, the expected count
// and the deviation, each result on one line; narrower still, the columns are as wide.
struct PhoneColumn {
    int column, span, narrowColumn, narrowSpan;
};
constexpr PhoneColumn kPhoneK{.column = 1, .span = 2, .narrowColumn = 1, .narrowSpan = 3};
constexpr std::array<PhoneColumn, kEnumCount<ResultColumn>> kPhoneColumnsOf{{
    {.column = 3, .span = 3, .narrowColumn = 4, .narrowSpan = 3},
    {.column = 6, .span = 4, .narrowColumn = 7, .narrowSpan = 3},
    {.column = 10, .span = 3, .narrowColumn = 10, .narrowSpan = 3},
}};
constexpr int kPhoneHeadings = 9;  // the line of the headings, the results' lines below it

constexpr PhoneCell PhoneAt(int line, const PhoneColumn& column) {
    return Line(line, column.column, column.span);
}
constexpr PhoneCell NarrowAt(int line, const PhoneColumn& column) {
    return Lower(Line(line, column.narrowColumn, column.narrowSpan));
}

// The headings of the result columns, on one line of light green.
constexpr ControlDesign Heading(std::string_view name, std::string_view caption, int left,
                                int width, FontDesign font, int tabIndex,
                                const PhoneColumn& phone) {
    return {.name = name,
            .kind = Label,
            .caption = caption,
            .place = {left, 2160, width, 375},
            .font = font,
            .background = kLightGreen,
            .align = Centre,
            .tabIndex = tabIndex,
            .phone = PhoneAt(kPhoneHeadings, phone),
            .narrow = NarrowAt(kPhoneHeadings, phone)};
}

constexpr std::array<ControlDesign, 4> kHeadings{{
    Heading("LblBonsN\u00B0", "Nb bons N\u00B0", 120, 1215, kWindowFont, 21, kPhoneK),
    Heading("LblNbFoisSortis", "Nb de fois Sortis", 1440, 2655, kArial14, 29, kPhoneColumnsOf[0]),
    Heading("LblTheorique", "Nb Th\u00E9orique", 4320, 2775, kArial14, 37, kPhoneColumnsOf[1]),
    Heading("LblEcart", "Ecart en %", 7320, 1575, kArial14, 38, kPhoneColumnsOf[2]),
}};

// The result rows, k = 0 to 6, as the design gives them: what differs from row to row, then what
// is the same in every row (each column's left edge, width and first tab index).
struct RowDesign {
    std::string_view label;
    std::string_view caption;
    int labelTop, labelHeight;
    int boxTop;
    std::array<int, kEnumCount<ResultColumn>> boxHeights;  // Stat, Theo, Ecart
};

constexpr PerRow<RowDesign> kRows{{
    {.label = "LblAucunN\u00B0",
     .caption = "Aucun     N\u00B0",
     .labelTop = 2640,
     .labelHeight = 375,
     .boxTop = 2640,
     .boxHeights = {405, 375, 375}},
    {.label = "LblUnN\u00B0",
     .caption = "Un           N\u00B0",
     .labelTop = 3120,
     .labelHeight = 255,
     .boxTop = 3000,
     .boxHeights = {360, 375, 360}},
    {.label = "LblDeuxN\u00B0",
     .caption = "Deux       N\u00B0",
     .labelTop = 3480,
     .labelHeight = 255,
     .boxTop = 3360,
     .boxHeights = {360, 375, 375}},
    {.label = "LblTroisN\u00B0",
     .caption = "Trois       N\u00B0",
     .labelTop = 4080,
     .labelHeight = 255,
     .boxTop = 4080,
     .boxHeights = {360, 375, 375}},
    {.label = "LblQuatreN\u00B0",
     .caption = "Quatre    N\u00B0",
     .labelTop = 4440,
     .labelHeight = 255,
     .boxTop = 4440,
     .boxHeights = {360, 375, 375}},
    {.label = "LblCinqN\u00B0",
     .caption = "Cinq       N\u00B0",
     .labelTop = 4800,
     .labelHeight = 255,
     .boxTop = 4800,
     .boxHeights = {360, 375, 375}},
    {.label = "LblSixN\u00B0",
     .caption = "Six         N\u00B0",
     .labelTop = 5160,
     .labelHeight = 375,
     .boxTop = 5160,
     .boxHeights = {360, 375, 375}},
}};

struct ColumnDesign {
    int left, width, firstTab;
    PerRow<std::string_view> names;
};

constexpr ColumnDesign kRowLabels{.left = 120, .width = 1215, .firstTab = 14, .names = {}};
constexpr std::array<ColumnDesign, kEnumCount<ResultColumn>> kColumns{{
    {.left = 1440,
     .width = 2655,
     .firstTab = 22,
     .names = {"TxtStat0N\u00B0", "TxtStat1N\u00B0", "TxtStat2N\u00B0", "TxtStat3N\u00B0",
               "TxtStat4N\u00B0", "TxtStat5N\u00B0", "TxtStat6N\u00B0"}},
    {.left = 4320,
     .width = 2775,
     .firstTab = 30,
     .names = {"TxtTheo0N\u00B0", "TxtTheo1N\u00B0", "TxtTheo2N\u00B0", "TxtTheo3N\u00B0",
               "TxtTheo4N\u00B0", "TxtTheo5N\u00B0", "TxtTheo6N\u00B0"}},
    {.left = 7320,
     .width = 1575,
     .firstTab = 39,
     .names = {"TxtEcart0N\u00B0", "TxtEcart1N\u00B0", "TxtEcart2N\u00B0", "TxtEcart3N\u00B0",
               "TxtEcart4N\u00B0", "TxtEcart5N\u00B0", "TxtEcart6N\u00B0"}},
}};

constexpr ControlDesign RowLabel(int k) {
    const RowDesign& row = kRows[static_cast<std::size_t>(k)];
    return {.name = row.label,
            .kind = Label,
            .caption = row.caption,
            .place = {kRowLabels.left, row.labelTop, kRowLabels.width, row.labelHeight},
            .font = kWindowFont,
            .background = kLightCyan,
            .align = Centre,
            .tabIndex = kRowLabels.firstTab + k,
            .phone = PhoneAt(kPhoneHeadings + 1 + k, kPhoneK),
            .narrow = NarrowAt(kPhoneHeadings + 1 + k, kPhoneK)};
}

constexpr ControlDesign ResultBox(ResultColumn column, int k) {
    const RowDesign& row = kRows[static_cast<std::size_t>(k)];
    const auto c = static_cast<std::size_t>(column);
    const ColumnDesign& design = kColumns[c];
    return {.name = design.names[static_cast<std::size_t>(k)],
            .kind = TextBox,
            .place = {design.left, row.boxTop, design.width, row.boxHeights[c]},
            .font = kArial12,
            .align = Right,
            .tabIndex = design.firstTab + k,
            .use = ResultAt(column, k),
            .phone = PhoneAt(kPhoneHeadings + 1 + k, kPhoneColumnsOf[c]),
            .narrow = NarrowAt(kPhoneHeadings + 1 + k, kPhoneColumnsOf[c])};
}

// The messages share one line below the results, which stays when none shows.
constexpr int kPhoneMessages = kPhoneHeadings + 1 + kResultRows;

// The messages share one rectangle of the window, the message area, hidden at start.
constexpr ControlDesign MessageLabel(std::string_view name, loto::Message message, FontDesign font,
                                     std::uint32_t textColour, std::uint32_t background,
                                     int tabIndex) {
    return {.name = name,
            .kind = Label,
            .caption = MessageCaption(message),
            .place = {1680, 5760, 5295, 735},
            .font = font,
            .textColour = textColour,
            .background = background,
            .align = Centre,
            .shownAtStart = false,
            .tabIndex = tabIndex,
            .use = Shows(message),
            .phone = Line(kPhoneMessages),
            .narrow = Lower(Line(kPhoneMessages))};
}

// Back to front: LblValidGrille is in front of LblTest, and LblTest of LblPatientez; in front of
// them all, why a number of draws beyond the range of numbers draws nothing (not in the design).
constexpr std::array<ControlDesign, kEnumCount<loto::Message>> kMessageLabels{{
    MessageLabel("LblPatientez", Message::Patientez, kArialBlack12, kDefaultColour, kLightBlue, 46),
    MessageLabel("LblTest", Message::Test, kArialBlack12, kDefaultColour, kYellow, 47),
    MessageLabel("LblValidGrille", Message::ValidGrille, kArial14, kRed, kWhite, 49),
    MessageLabel("LblValidNbTirages", Message::ValidNbTirages, kArial14, kRed, kWhite, 50),
}};

// The six favourite boxes, each 600 twips right of the one before, overlapping it by 15; on a
// phone, side by side on one line, and on a narrower screen three on each of two lines.
constexpr ControlDesign FavouriteBox(int position, std::string_view name, int tabIndex) {
    constexpr int kLine = 4;
    constexpr int kPerNarrowLine = kFavouriteCount / 2;
    const int narrowIndex = (position - 1) % kPerNarrowLine;
    return {.name = name,
            .kind = TextBox,
            .place = {120 + 600 * (position - 1), 1080, 615, 600},
            .font = kArial18,
            .textColour = kGreen,
            .background = kWhite,
            .align = Centre,
            .tabIndex = tabIndex,
            .use = FavouriteAt(position),
            .phone = Line(kLine, 1 + 2 * (position - 1), 2),
            .narrow = Line(kLine + (position - 1) / kPerNarrowLine, 1 + 4 * narrowIndex, 4)};
}

constexpr std::array<ControlDesign, 1> kDrawCount{{
    {.name = "TxtNbTirages",
     .kind = TextBox,
     .place = {5400, 120, 3495, 525},
     .font = kArial20,
     .textColour = kBlue,
     .align = Right,
     .tabIndex = 0,
     .border = false,
     .use = Is(DrawCount),
     .phone = Line(2),
     .narrow = Line(2)},
}};

// Text boxes and buttons, back to front: where neighbours overlap, the later one's border shows.
constexpr std::array<ControlDesign, kFavouriteCount> kFavourites{{
    FavouriteBox(2, "Txt2emeN\u00B0", 3),
    FavouriteBox(3, "Txt3emeN\u00B0", 4),
    FavouriteBox(4, "Txt4emeN\u00B0", 5),
    FavouriteBox(5, "Txt5emeN\u00B0", 6),
    FavouriteBox(6, "Txt6emeN\u00B0", 7),
    FavouriteBox(1, "Txt1erN\u00B0", 1),
}};

constexpr std::array<ControlDesign, 3> kButtons{{
    {.name = "CmdSimuler",
     .kind = Button,
     .caption = "SIMULER",
     .place = {3840, 720, 1455, 855},
     .font = kArial12,
     .background = kPaleBlue,
     .align = Centre,
     .tabIndex = 9,
     .use = Is(Simuler),
     .phone = Line(5),
     .narrow = Lower(Line(5))},
    {.name = "CmdEffacer",
     .kind = Button,
     .caption = "EFFACER",
     .place = {120, 5760, 1215, 735},
     .font = kArial11,
     .background = kPaleBlue,
     .align = Centre,
     .tabIndex = 10,
     .use = Is(Effacer),
     .phone = Line(kPhoneMessages + 1, 1, 6),
     .narrow = Lower(Line(kPhoneMessages + 1, 1, 6))},
    {.name = "CmdQuitter",
     .kind = Button,
     .caption = "QUITTER",
     .place = {7320, 5760, 1575, 735},
     .font = kArial12,
     .background = kPaleBlue,
     .align = Centre,
     .tabIndex = 11,
     .use = Is(Quitter),
     .phone = Line(kPhoneMessages + 1, 7, 6),
     .narrow = Lower(Line(kPhoneMessages + 1, 7, 6))},
}};

constexpr std::array<ControlDesign, 1> kEstimate{{
    {.name = "TxtDateFin",
     .kind = TextBox,
     .place = {5400, 1320, 3495, 375},
     .font = kArial15,
     .align = Centre,
     .tabIndex = 48,
     .border = false,
     .use = Is(Estimate),
     .phone = Line(7),
     .narrow = Lower(Line(7))},
}};

// Every control, back to front: the labels, then the text boxes and buttons.
constexpr std::size_t kControlCount = std::size(kCaptions) + std::size(kHeadings) + kResultRows +
                                      std::size(kMessageLabels) + std::size(kDrawCount) +
                                      std::size(kFavourites) + std::size(kButtons) +
                                      kEnumCount<ResultColumn> * kResultRows + std::size(kEstimate);

consteval auto MakeControls() {
    std::array<ControlDesign, kControlCount> all{};
    std::size_t n = 0;
    const auto add = [&](const auto& controls) {
        for (const ControlDesign& c : controls) {
            all[n++] = c;
        }
    };
    add(kCaptions);
    add(kHeadings);
    for (int k = 0; k < kResultRows; ++k) {
        all[n++] = RowLabel(k);
    }
    add(kMessageLabels);
    add(kDrawCount);
    add(kFavourites);
    add(kButtons);
    for (const ResultColumn column : kResultColumns) {
        for (int k = 0; k < kResultRows; ++k) {
            all[n++] = ResultBox(column, k);
        }
    }
    add(kEstimate);
    return n == all.size() ? all : throw "the table's parts do not add up";
}

constexpr auto kControls = MakeControls();

// The table is checked when the program is built, as the form designer checks a form: places and
// sizes fall on whole pixels (a stray twip would be dropped without a trace), the Tab stops are
// numbered 0 to n - 1 without a gap or a repeat, each control's kind serves its role, and every
// control that the front ends look up is there exactly once.
consteval bool OnWholePixels() {
    const auto whole = [](int twips) { return twips % kTwipsPerPixel == 0; };
    bool all = whole(kForm.clientWidth) && whole(kForm.clientHeight);
    for (const ControlDesign& c : kControls) {
        const Place& p = c.place;
        all = all && whole(p.left) && whole(p.top) && whole(p.width) && whole(p.height);
    }
    return all;
}

consteval bool TabStopsWithoutGaps() {
    std::array<int, kControls.size()> uses{};
    for (const ControlDesign& c : kControls) {
        if (c.tabIndex < 0 || c.tabIndex >= static_cast<int>(uses.size())) {
            return false;
        }
        ++uses[static_cast<std::size_t>(c.tabIndex)];
    }
    return std::all_of(uses.begin(), uses.end(), [](int n) { return n == 1; });
}

// The index in the table of the control that serves `use`, or -1; -2 when several do.
constexpr int IndexOf(const ControlUse& use) {
    int found = -1;
    for (int i = 0; i < static_cast<int>(kControls.size()); ++i) {
        if (kControls[static_cast<std::size_t>(i)].use == use) {
            found = found == -1 ? i : -2;
        }
    }
    return found;
}

constexpr std::array kRoles{Caption,       DrawCount, Favourite, Estimate, Result,
                            Role::Message, Simuler,   Effacer,   Quitter};

// Where each control that the front ends look up stands in the table, found at build time.
struct Index {
    std::array<int, kRoles.size()> byRole{};  // the roles that one control serves
    std::array<int, kFavouriteCount> favourites{};
    EnumArray<ResultColumn, PerRow<int>> results{};
    EnumArray<loto::Message, int> messages{};
};

consteval Index MakeIndex() {
    Index index;
    for (const Role role : kRoles) {
        index.byRole[static_cast<std::size_t>(role)] = IndexOf(Is(role));
    }
    for (int position = 1; position <= kFavouriteCount; ++position) {
        index.favourites[static_cast<std::size_t>(position - 1)] = IndexOf(FavouriteAt(position));
    }
    for (const ResultColumn column : kResultColumns) {
        for (int k = 0; k < kResultRows; ++k) {
            index.results[column][static_cast<std::size_t>(k)] = IndexOf(ResultAt(column, k));
        }
    }
    for (const loto::Message message : kMessages) {
        index.messages[message] = IndexOf(Shows(message));
    }
    return index;
}

constexpr Index kIndex = MakeIndex();

consteval bool EachUseOnce() {
    const auto found = [](int i) { return i >= 0; };
    bool once = std::all_of(kIndex.favourites.begin(), kIndex.favourites.end(), found) &&
                std::all_of(kIndex.messages.begin(), kIndex.messages.end(), found);
    for (const PerRow<int>& column : kIndex.results) {
        once = once && std::all_of(column.begin(), column.end(), found);
    }
    constexpr std::array kSingles{DrawCount, Estimate, Simuler, Effacer, Quitter};
    for (const Role role : kSingles) {
        once = once && found(kIndex.byRole[static_cast<std::size_t>(role)]);
    }
    const auto used = [](const ControlDesign& c) { return c.use.role != Caption; };
    const auto uses = kFavouriteCount + kEnumCount<ResultColumn> * kResultRows +
                      kEnumCount<loto::Message> + std::size(kSingles);
    return once &&
           std::count_if(kControls.begin(), kControls.end(), used) == static_cast<long>(uses);
}

consteval bool KindsFitRoles() {
    return std::all_of(kControls.begin(), kControls.end(),
                       [](const ControlDesign& c) { return c.kind == KindFor(c.use.role); });
}

// Every control has its cells in both touch layouts, within the line's columns, and no two
// controls share one but the messages, which share their line as they share their place.
consteval bool PhoneCellsFit() {
    for (const ControlDesign& c : kControls) {
        for (const PhoneCell& cell : {c.phone, c.narrow}) {
            if (cell.line < 1 || cell.column < 1 || cell.span < 1 ||
                cell.column + cell.span - 1 > kPhoneColumns) {
                return false;
            }
        }
        for (const ControlDesign& other : kControls) {
            const bool messages = c.use.role == Role::Message && other.use.role == Role::Message;
            const auto overlap = [](const PhoneCell& a, const PhoneCell& b) {
                return a.line == b.line && a.column < b.column + b.span &&
                       b.column < a.column + a.span;
            };
            if (&c != &other && !messages &&
                (overlap(c.phone, other.phone) || overlap(c.narrow, other.narrow))) {
                return false;
            }
        }
    }
    return true;
}

static_assert(OnWholePixels(), "a place or size in twips that is not a whole pixel");
static_assert(PhoneCellsFit(), "a control without its cells on a phone, or two in one cell");
static_assert(TabStopsWithoutGaps(), "Tab stops must be numbered 0 to n - 1, each once");
static_assert(EachUseOnce(), "a control that the commands use is missing or repeated");
static_assert(KindsFitRoles(), "a control's kind does not serve its role");
// The border setting is read for text boxes only; labels and buttons keep its default, on.
static_assert(std::all_of(kControls.begin(), kControls.end(),
                          [](const ControlDesign& c) { return c.border || c.kind == TextBox; }),
              "only a text box may be drawn without its border");

int Found(int index) {
    if (index < 0) {
        throw std::out_of_range("the design has no such control");
    }
    return index;
}

}  // namespace

const FormDesign& FrmLotoDesign() {
    return kForm;
}

std::span<const ControlDesign> FrmLotoControls() {
    return kControls;
}

std::size_t ControlIndex(const ControlUse& use) {
    const auto row = static_cast<std::size_t>(use.row);
    switch (use.role) {
        case Role::Favourite:
            return static_cast<std::size_t>(Found(kIndex.favourites.at(row - 1)));
        case Role::Result:
            return static_cast<std::size_t>(Found(kIndex.results[use.column].at(row)));
        case Role::Message:
            return static_cast<std::size_t>(Found(kIndex.messages[use.message]));
        default:
            return static_cast<std::size_t>(
                Found(kIndex.byRole.at(static_cast<std::size_t>(use.role))));
    }
}

const ControlDesign& Designed(const ControlUse& use) {
    return kControls[ControlIndex(use)];
}

}  // namespace loto
