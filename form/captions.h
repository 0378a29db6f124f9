#pragma once

#include <string_view>

#include "form/vocabulary.h"

namespace loto {

// The captions of the messages, every space included.
[[nodiscard]] constexpr std::string_view MessageCaption(Message message) {
    switch (message) {
        case Message::ValidGrille:
            return "      GRILLE NON VALIDE : N\u00B0 1 \u00E0 49         ET TOUS DIFFERENTS  "
                   "S.V.P";
        case Message::Test:
            return "P A T I E N T E Z  S.V.P  PENDANT LE TEST DE RAPIDITE DU  PC";
        case Message::Patientez:
            return "P A T I E N T E Z  S.V.P TIRAGES EN COURS";
        case Message::ValidNbTirages:
            return "      NOMBRE DE TIRAGES ILLISIBLE :         HORS DES LIMITES DU PC";
    }
    return {};
}

}  // namespace loto
