#include "form/accessible_names.h"

namespace loto {
namespace {

std::string Matches(int k) {
    switch (k) {
        case 0:
            return "aucun bon num\u00E9ro";
        case 1:
            return "1 bon num\u00E9ro";
        default:
            return std::to_string(k) + " bons num\u00E9ros";
    }
}

std::string ColumnName(ResultColumn column) {
    switch (column) {
        case ResultColumn::Stat:
            return "Nb de fois sortis, ";
        case ResultColumn::Theo:
            return "Nb th\u00E9orique, ";
        case ResultColumn::Ecart:
            return "\u00C9cart en %, ";
    }
    return {};
}

std::string MessageName(Message message) {
    switch (message) {
        case Message::ValidGrille:
            return "Grille non valide : num\u00E9ros de 1 \u00E0 49, tous diff\u00E9rents, s'il "
                   "vous pla\u00EEt";
        case Message::Test:
            return "Patientez s'il vous pla\u00EEt, test de rapidit\u00E9 du PC";
        case Message::Patientez:
            return "Patientez s'il vous pla\u00EEt, tirages en cours";
        case Message::ValidNbTirages:
            return "Nombre de tirages illisible : hors des limites du PC";
    }
    return {};
}

// A caption's words, one space between them: the spaces that place a caption are not heard.
std::string Words(std::string_view caption) {
    std::string words;
    for (const char c : caption) {
        if (c != ' ') {
            words.push_back(c);
        } else if (!words.empty() && words.back() != ' ') {
            words.push_back(' ');
        }
    }
    if (!words.empty() && words.back() == ' ') {
        words.pop_back();
    }
    return words;
}

}  // namespace

std::string AccessibleName(const ControlDesign& design) {
    const ControlUse& use = design.use;
    switch (use.role) {
        case Role::Caption:
            return Words(design.caption);
        case Role::DrawCount:
            return "Nombre de tirages";
        case Role::Favourite:
            return use.row == 1 ? "1er num\u00E9ro" : std::to_string(use.row) + "e num\u00E9ro";
        case Role::Estimate:
            return "Date et heure pr\u00E9vues pour la fin des tirages";
        case Role::Result:
            return ColumnName(use.column) + Matches(use.row);
        case Role::Message:
            return MessageName(use.message);
        case Role::Simuler:
            return "Simuler";
        case Role::Effacer:
            return "Effacer";
        case Role::Quitter:
            return "Quitter";
    }
    return {};
}

}  // namespace loto
