#pragma once

#include <string>
#include <vector>

#include "panel/panel_session.h"
#include "platform/event_pump.h"

namespace loto {

// The page's view of the panel of any game (#Panneau): what its boxes hold when a run starts, its
// progress while it draws, and what the run showed.
[[nodiscard]] PanelFields PanelTyped();
// The games that the panel's box offers (#PJeux), as typed.
[[nodiscard]] std::vector<std::string> PanelGameChoices();
// The example rules offered, each by its file, its game and its date.
void ShowRulesChoices();
// Boxes filled, as by example rules.
void ShowPanelFields(const PanelFields& fields);
void ShowPanelStarted();
void ShowPanelProgress(const DrawProgress& progress, const std::string& status);
void ShowPanel(const PanelShown& shown);

}  // namespace loto
