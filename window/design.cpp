#include "window/design.h"

#include <algorithm>
#include <array>
#include <utility>

namespace loto {
namespace {

using enum ControlKind;
using enum Align;
using enum Role;
using enum ResultColumn;

constexpr ControlUse Is(Role role) {
    return {.role = role};
}
constexpr ControlUse FavouriteAt(int position) {
    return {.role = Favourite, .row = position};
}
constexpr ControlUse ResultAt(ResultColumn column, int k) {
    return {.role = Result, .row = k, .column = column};
}
constexpr ControlUse Shows(loto::Message message) {
    return {.role = Role::Message, .message = message};
}

constexpr std::uint32_t kLightGrey = 0x00C0C0C0;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kGreen = 0x00008000;
constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;
constexpr std::uint32_t kYellow = 0x0000FFFF;
constexpr std::uint32_t kLightBlue = 0x00FF8080;
constexpr std::uint32_t kPaleBlue = 0x00FFC0C0;
constexpr std::uint32_t kLightGreen = 0x00C0FFC0;
constexpr std::uint32_t kLightCyan = 0x00FFFFC0;
constexpr std::uint32_t kLightYellow = 0x0080FFFF;
constexpr std::uint32_t kDefault = kDefaultColour;

constexpr FontDesign kWindowFont{"Arial", 9.75, true, false};
constexpr FontDesign kArial11{"Arial", 11.25, true, false};
constexpr FontDesign kArial12{"Arial", 12, true, false};
constexpr FontDesign kArial14{"Arial", 14.25, true, false};
constexpr FontDesign kArial15{"Arial", 15.75, true, false};
constexpr FontDesign kArial18{"Arial", 18, true, false};
constexpr FontDesign kArial20{"Arial", 20.25, true, false};
constexpr FontDesign kArialBlack12{"Arial Black", 12, true, true};

constexpr FormDesign kForm{"Form1", 9105, 6825, kLightGrey, kWindowFont};

// clang-format off
constexpr std::array<ControlDesign, 51> kControls{{
    // Labels. Among the messages LblValidGrille is in front of LblTest, and LblTest of LblPatientez.
    {"LblNbTirages", Label, "  Nombre de tirages de 6 num\u00E9ros \u00E0 simuler :", 120, 120, 5175, 375, kArial12, kDefault, kLightGreen, Centre, true, 2, true, Is(Caption)},
    {"LblNumFavoris", Label, "Saisie de 6 num\u00E9ros", 120, 600, 3615, 615, kArial15, kDefault, kYellow, Centre, true, 8, true, Is(Caption)},
    {"LblHeureFin", Label, "   DATE ET HEURE PREVUES POUR    LA FIN DES TIRAGES", 5400, 720, 3495, 495, kWindowFont, kDefault, kLightCyan, Centre, true, 12, true, Is(Caption)},
    {"LblR\u00E9sultats", Label, "                                                           RESULTATS", 120, 1800, 8775, 255, kArial12, kDefault, kLightYellow, Left, true, 13, true, Is(Caption)},
    {"LblBonsN\u00B0", Label, "Nb bons N\u00B0", 120, 2160, 1215, 375, kWindowFont, kDefault, kLightGreen, Centre, true, 21, true, Is(Caption)},
    {"LblNbFoisSortis", Label, "Nb de fois Sortis", 1440, 2160, 2655, 375, kArial14, kDefault, kLightGreen, Centre, true, 29, true, Is(Caption)},
    {"LblTheorique", Label, "Nb Th\u00E9orique", 4320, 2160, 2775, 375, kArial14, kDefault, kLightGreen, Centre, true, 37, true, Is(Caption)},
    {"LblEcart", Label, "Ecart en %", 7320, 2160, 1575, 375, kArial14, kDefault, kLightGreen, Centre, true, 38, true, Is(Caption)},
    {"LblAucunN\u00B0", Label, "Aucun     N\u00B0", 120, 2640, 1215, 375, kWindowFont, kDefault, kLightCyan, Centre, true, 14, true, Is(Caption)},
    {"LblUnN\u00B0", Label, "Un           N\u00B0", 120, 3120, 1215, 255, kWindowFont, kDefault, kLightCyan, Centre, true, 15, true, Is(Caption)},
    {"LblDeuxN\u00B0", Label, "Deux       N\u00B0", 120, 3480, 1215, 255, kWindowFont, kDefault, kLightCyan, Centre, true, 16, true, Is(Caption)},
    {"LblTroisN\u00B0", Label, "Trois       N\u00B0", 120, 4080, 1215, 255, kWindowFont, kDefault, kLightCyan, Centre, true, 17, true, Is(Caption)},
    {"LblQuatreN\u00B0", Label, "Quatre    N\u00B0", 120, 4440, 1215, 255, kWindowFont, kDefault, kLightCyan, Centre, true, 18, true, Is(Caption)},
    {"LblCinqN\u00B0", Label, "Cinq       N\u00B0", 120, 4800, 1215, 255, kWindowFont, kDefault, kLightCyan, Centre, true, 19, true, Is(Caption)},
    {"LblSixN\u00B0", Label, "Six         N\u00B0", 120, 5160, 1215, 375, kWindowFont, kDefault, kLightCyan, Centre, true, 20, true, Is(Caption)},
    {"LblPatientez", Label, MessageCaption(loto::Message::Patientez), 1680, 5760, 5295, 735, kArialBlack12, kDefault, kLightBlue, Centre, false, 46, true, Shows(loto::Message::Patientez)},
    {"LblTest", Label, MessageCaption(loto::Message::Test), 1680, 5760, 5295, 735, kArialBlack12, kDefault, kYellow, Centre, false, 47, true, Shows(loto::Message::Test)},
    {"LblValidGrille", Label, MessageCaption(loto::Message::ValidGrille), 1680, 5760, 5295, 735, kArial14, kRed, kWhite, Centre, false, 49, true, Shows(loto::Message::ValidGrille)},
    // Not in the design: why a number of draws beyond the range of numbers draws nothing.
    {"LblValidNbTirages", Label, MessageCaption(loto::Message::ValidNbTirages), 1680, 5760, 5295, 735, kArial14, kRed, kWhite, Centre, false, 50, true, Shows(loto::Message::ValidNbTirages)},
    // Text boxes and buttons, back to front: where neighbours overlap, the later one's border shows.
    {"TxtNbTirages", TextBox, "", 5400, 120, 3495, 525, kArial20, kBlue, kDefault, Right, true, 0, false, Is(DrawCount)},
    {"Txt2emeN\u00B0", TextBox, "", 720, 1080, 615, 600, kArial18, kGreen, kWhite, Centre, true, 3, true, FavouriteAt(2)},
    {"Txt3emeN\u00B0", TextBox, "", 1320, 1080, 615, 600, kArial18, kGreen, kWhite, Centre, true, 4, true, FavouriteAt(3)},
    {"Txt4emeN\u00B0", TextBox, "", 1920, 1080, 615, 600, kArial18, kGreen, kWhite, Centre, true, 5, true, FavouriteAt(4)},
    {"Txt5emeN\u00B0", TextBox, "", 2520, 1080, 615, 600, kArial18, kGreen, kWhite, Centre, true, 6, true, FavouriteAt(5)},
    {"Txt6emeN\u00B0", TextBox, "", 3120, 1080, 615, 600, kArial18, kGreen, kWhite, Centre, true, 7, true, FavouriteAt(6)},
    {"Txt1erN\u00B0", TextBox, "", 120, 1080, 615, 600, kArial18, kGreen, kWhite, Centre, true, 1, true, FavouriteAt(1)},
    {"CmdSimuler", Button, "SIMULER", 3840, 720, 1455, 855, kArial12, kDefault, kPaleBlue, Centre, true, 9, true, Is(Simuler)},
    {"CmdEffacer", Button, "EFFACER", 120, 5760, 1215, 735, kArial11, kDefault, kPaleBlue, Centre, true, 10, true, Is(Effacer)},
    {"CmdQuitter", Button, "QUITTER", 7320, 5760, 1575, 735, kArial12, kDefault, kPaleBlue, Centre, true, 11, true, Is(Quitter)},
    {"TxtStat0N\u00B0", TextBox, "", 1440, 2640, 2655, 405, kArial12, kDefault, kDefault, Right, true, 22, true, ResultAt(Stat, 0)},
    {"TxtStat1N\u00B0", TextBox, "", 1440, 3000, 2655, 360, kArial12, kDefault, kDefault, Right, true, 23, true, ResultAt(Stat, 1)},
    {"TxtStat2N\u00B0", TextBox, "", 1440, 3360, 2655, 360, kArial12, kDefault, kDefault, Right, true, 24, true, ResultAt(Stat, 2)},
    {"TxtStat3N\u00B0", TextBox, "", 1440, 4080, 2655, 360, kArial12, kDefault, kDefault, Right, true, 25, true, ResultAt(Stat, 3)},
    {"TxtStat4N\u00B0", TextBox, "", 1440, 4440, 2655, 360, kArial12, kDefault, kDefault, Right, true, 26, true, ResultAt(Stat, 4)},
    {"TxtStat5N\u00B0", TextBox, "", 1440, 4800, 2655, 360, kArial12, kDefault, kDefault, Right, true, 27, true, ResultAt(Stat, 5)},
    {"TxtStat6N\u00B0", TextBox, "", 1440, 5160, 2655, 360, kArial12, kDefault, kDefault, Right, true, 28, true, ResultAt(Stat, 6)},
    {"TxtTheo0N\u00B0", TextBox, "", 4320, 2640, 2775, 375, kArial12, kDefault, kDefault, Right, true, 30, true, ResultAt(Theo, 0)},
    {"TxtTheo1N\u00B0", TextBox, "", 4320, 3000, 2775, 375, kArial12, kDefault, kDefault, Right, true, 31, true, ResultAt(Theo, 1)},
    {"TxtTheo2N\u00B0", TextBox, "", 4320, 3360, 2775, 375, kArial12, kDefault, kDefault, Right, true, 32, true, ResultAt(Theo, 2)},
    {"TxtTheo3N\u00B0", TextBox, "", 4320, 4080, 2775, 375, kArial12, kDefault, kDefault, Right, true, 33, true, ResultAt(Theo, 3)},
    {"TxtTheo4N\u00B0", TextBox, "", 4320, 4440, 2775, 375, kArial12, kDefault, kDefault, Right, true, 34, true, ResultAt(Theo, 4)},
    {"TxtTheo5N\u00B0", TextBox, "", 4320, 4800, 2775, 375, kArial12, kDefault, kDefault, Right, true, 35, true, ResultAt(Theo, 5)},
    {"TxtTheo6N\u00B0", TextBox, "", 4320, 5160, 2775, 375, kArial12, kDefault, kDefault, Right, true, 36, true, ResultAt(Theo, 6)},
    {"TxtEcart0N\u00B0", TextBox, "", 7320, 2640, 1575, 375, kArial12, kDefault, kDefault, Right, true, 39, true, ResultAt(Ecart, 0)},
    {"TxtEcart1N\u00B0", TextBox, "", 7320, 3000, 1575, 360, kArial12, kDefault, kDefault, Right, true, 40, true, ResultAt(Ecart, 1)},
    {"TxtEcart2N\u00B0", TextBox, "", 7320, 3360, 1575, 375, kArial12, kDefault, kDefault, Right, true, 41, true, ResultAt(Ecart, 2)},
    {"TxtEcart3N\u00B0", TextBox, "", 7320, 4080, 1575, 375, kArial12, kDefault, kDefault, Right, true, 42, true, ResultAt(Ecart, 3)},
    {"TxtEcart4N\u00B0", TextBox, "", 7320, 4440, 1575, 375, kArial12, kDefault, kDefault, Right, true, 43, true, ResultAt(Ecart, 4)},
    {"TxtEcart5N\u00B0", TextBox, "", 7320, 4800, 1575, 375, kArial12, kDefault, kDefault, Right, true, 44, true, ResultAt(Ecart, 5)},
    {"TxtEcart6N\u00B0", TextBox, "", 7320, 5160, 1575, 375, kArial12, kDefault, kDefault, Right, true, 45, true, ResultAt(Ecart, 6)},
    {"TxtDateFin", TextBox, "", 5400, 1320, 3495, 375, kArial15, kDefault, kDefault, Centre, true, 48, false, Is(Estimate)},
}};
// clang-format on

// The table is checked when the program is built, as the form designer checks a form: places and
// sizes fall on whole pixels (a stray twip would be dropped without a trace), the Tab stops are
// numbered 0 to n - 1 without a gap or a repeat, and every control that the window looks up is
// there exactly once (an empty slot would be a control the commands cannot find).
consteval bool OnWholePixels() {
    const auto whole = [](int twips) { return twips % kTwipsPerPixel == 0; };
    bool all = whole(kForm.clientWidth) && whole(kForm.clientHeight);
    for (const ControlDesign& c : kControls) {
        all = all && whole(c.left) && whole(c.top) && whole(c.width) && whole(c.height);
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

// A control is used for `use` when its role and row are those, and its column or message too
// where the role has one.
constexpr bool Serves(const ControlDesign& c, const ControlUse& use) {
    return c.use.role == use.role && c.use.row == use.row &&
           (use.role != Result || c.use.column == use.column) &&
           (use.role != Role::Message || c.use.message == use.message);
}

constexpr long Uses(const ControlUse& use) {
    return std::count_if(kControls.begin(), kControls.end(),
                         [&](const ControlDesign& c) { return Serves(c, use); });
}

// Every control that the commands look up is there once: each favourite, each result of each
// column, each message, the other inputs, outputs and buttons.
consteval bool EachUseOnce() {
    bool once = true;
    for (int row = 0; row <= 6; ++row) {
        once = once && (row == 0 || Uses(FavouriteAt(row)) == 1);
        for (const ResultColumn column : {Stat, Theo, Ecart}) {
            once = once && Uses(ResultAt(column, row)) == 1;
        }
    }
    for (const auto message : {loto::Message::ValidGrille, loto::Message::Test,
                               loto::Message::Patientez, loto::Message::ValidNbTirages}) {
        once = once && Uses(Shows(message)) == 1;
    }
    for (const Role role : {DrawCount, Estimate, Simuler, Effacer, Quitter}) {
        once = once && Uses(Is(role)) == 1;
    }
    const auto counted = [](const ControlDesign& c) { return c.use.role != Caption; };
    return once &&
           std::count_if(kControls.begin(), kControls.end(), counted) == 6 + 21 + kMessageCount + 5;
}

static_assert(OnWholePixels(), "a place or size in twips that is not a whole pixel");
static_assert(TabStopsWithoutGaps(), "Tab stops must be numbered 0 to n - 1, each once");
static_assert(EachUseOnce(), "a control that the commands use is missing or repeated");
// The border setting is read for text boxes only; labels and buttons keep its default, on.
static_assert(std::all_of(kControls.begin(), kControls.end(),
                          [](const ControlDesign& c) { return c.border || c.kind == TextBox; }),
              "only a text box may be drawn without its border");

}  // namespace

const FormDesign& FrmLotoDesign() {
    return kForm;
}

std::span<const ControlDesign> FrmLotoControls() {
    return kControls;
}

const ControlDesign& DesignedControl(const ControlUse& use) {
    return *std::find_if(kControls.begin(), kControls.end(),
                         [&](const ControlDesign& c) { return Serves(c, use); });
}

}  // namespace loto
