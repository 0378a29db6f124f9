#pragma once

#include <array>
#include <string>

#include "core/command_window.h"

namespace loto {

// What a click on a button asks for: the page queues it until the program takes it.
enum class PageCommand { None = 0, Simuler = 1, Effacer = 2, Quitter = 3 };

// The ids of the controls that the commands use, found by their role in the design (an id is
// the control's name).
struct FormIds {
    std::string drawCount;
    std::array<std::string, kFavouriteCount> favourites;  // Txt1erN° to Txt6emeN°
    std::string estimate;
    std::array<std::array<std::string, kResultRows>, 3> results;  // by ResultColumn, then k
    std::array<std::string, 3> messages;                          // by Message
};

// Builds the designed form in the page's element #Form1, back to front, each control an element
// whose id is its name, in the design's Tab order.
FormIds BuildForm();

}  // namespace loto
