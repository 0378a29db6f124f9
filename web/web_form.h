#pragma once

namespace loto {

// What a click on a button asks for: the page queues it until the program takes it.
enum class PageCommand { None = 0, Simuler = 1, Effacer = 2, Quitter = 3 };

// Builds the designed form in the page's element #Form1, back to front, each control an element
// whose id is its name, in the design's Tab order.
void BuildForm();

}  // namespace loto
