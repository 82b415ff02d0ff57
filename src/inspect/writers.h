// The three forms of a report: plain text for people, JSON for tools, and a Graphviz graph of
// the edge tries and decision lists.
#pragma once

#include <string>

#include "inspect/report.h"
#include "model/language.h"
#include "findings/read_progress.h"

namespace parvolen::inspect {

// The report as plain text.
[[nodiscard]] std::string WriteText(const Report& report);

// The report as one JSON object with the same content.
[[nodiscard]] std::string WriteJson(const Report& report);

// The edge tries and decision lists of the nonterminal `only` (0: of all) as a Graphviz digraph.
[[nodiscard]] std::string WriteDot(const Language& lang, const ReadProgress* progress, std::int32_t only);

}  // namespace parvolen::inspect
