#pragma once

namespace loto {

// What a click on a button asks for: the page queues it until the program takes it. The first
// three are the form's, the last two the panel of any game's.
enum class PageCommand {
    None = 0,
    Simuler = 1,
    Effacer = 2,
    Quitter = 3,
    Lancer = 4,
    JusquAuRang = 5,
    Regles = 6,        // example rules chosen: the panel's boxes filled
    AuditFichier = 7,  // a history file read: its columns offered
    AuditLancer = 8
};

// Builds the designed form in the page's element #Form1, back to front, each control an element
// whose id is its name, in the design's Tab order.
void BuildForm();

}  // namespace loto
