#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "audit/report.h"
#include "platform/event_pump.h"

namespace loto {

// The page's audit of a history file, without the page: its columns offered, the history read with
// those chosen, its game given or guessed, and audited as loto-sim's --audit audits it, every
// refusal said in French.

// A file as the page read it, and what its lists and boxes hold.
struct AuditFields {
    std::string name;         // the file's
    std::string text;         // its bytes
    std::vector<int> main{};  // columns from 1
    std::vector<int> second{};
    int bonus = 0;  // 0: none
    int date = 0;
    std::string game{};  // blank: guessed from the draws
};

// What a file read offers: its header's names; those suggested for the main numbers (each whose
// first value is a whole number of 1 to 255 and whose name does not say a date) and the date (the
// first column named with "date", in any case); the game that those columns show. Or why no
// header can be read.
struct AuditHead {
    std::string refusal{};
    std::vector<std::string> columns{};
    std::vector<int> main{};
    int date = 0;
    std::string game{};  // none where the draws cannot be read with those columns
};
[[nodiscard]] AuditHead ReadAuditHead(std::string_view text);

// An audit, a report a period; loto-sim's chart and JSON of it. Or why there is none: refused
// (with the line at fault, where one is), or stopped.
struct AuditShown {
    std::string refusal{};
    bool stopped = false;
    std::vector<AuditReport> reports{};
    std::string svg{};
    std::string json{};
};

// The fair histories of the calibrations drawn on one thread, the pump running between slices of
// them: the page stays responsive, and the audit stops when the pump says so.
[[nodiscard]] AuditShown RunAuditPanel(const AuditFields& fields, EventPump& pump);

}  // namespace loto
