#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "audit/family.h"
#include "audit/history.h"
#include "audit/report.h"

namespace loto {

// What the page's audit says, in French: why a file cannot be audited, each test's name, and what
// the family says at its level.

[[nodiscard]] std::string EmptyFileText();
[[nodiscard]] std::string NoHeaderText();
[[nodiscard]] std::string NoMainColumnText();
[[nodiscard]] std::string AuditGameRefusalText(std::string_view typed);
// "Ligne 12 : 7.5 n'est pas un nombre entier" from the reader's reason: its words said in French,
// what it quotes of the file as it is.
[[nodiscard]] std::string BadLineText(const BadLine& bad);
[[nodiscard]] std::string UntestableText(const UntestableHistory& why, std::size_t setAside);
[[nodiscard]] std::string NoTestText(std::uint64_t draws);

// "écarts", "paires extrêmes", "numéros par Machine"…; "principale" or "seconde".
[[nodiscard]] std::string TestNameText(const std::string& name);
[[nodiscard]] std::string PoolText(AuditPool pool);

// The family at the level, after Holm's adjustment: what is unlikely under fair draws, or that
// nothing is, and what that does not mean.
[[nodiscard]] std::string AuditSentenceText(const AuditReport& report);

}  // namespace loto
