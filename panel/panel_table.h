#pragma once

#include <string>
#include <vector>

#include "panel/panel_cells.h"
#include "panel/panel_session.h"

namespace loto {

// What the panel shows of a run, in French: the tiers' table and the list of its money and of
// the tier drawn until.
// Rang, Tirages, Attendus, Écart, z, p, Attente moyenne, En années, Premier tirage.
using PanelRow = std::vector<PanelCell>;

struct PanelLine {
    std::string term;
    PanelCell cell;
};

// The tiers' rows, the chi-square under them and the tiers it pools, then the money's lines and
// the tier drawn until.
struct PanelTable {
    std::vector<PanelRow> tiers{};
    std::vector<PanelLine> stats{};
    std::vector<PanelLine> lines{};
};

[[nodiscard]] PanelTable MakePanelTable(const GameFigures& figures);

// After repetitions until a tier, the waits against their law and their test; after lifetimes,
// their nets against their exact law; none otherwise.
[[nodiscard]] std::vector<PanelLine> SummaryLines(const PanelShown& shown);

}  // namespace loto
