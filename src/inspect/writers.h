// The forms of a report: plain text for people, JSON for tools, an HTML page to look at, and a
// Graphviz graph of the edge tries and decision lists.
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

// The report as one self-contained HTML page: railroad diagrams, productions, terminals,
// warnings and failure; lang and progress are those of the reading the report was built from.
[[nodiscard]] std::string WriteHtml(const Report& report, const Language* lang, const ReadProgress* progress);

// Writes that page to the file (whole or not at all). The report's status, or stCannotCreate
// (the reason on standard error) when the file cannot be written.
[[nodiscard]] Status WriteHtmlFile(const std::string& path, const Report& report, const Language* lang,
                                   const ReadProgress* progress);

// The edge tries and decision lists of the nonterminal `only` (0: of all) as a Graphviz digraph.
[[nodiscard]] std::string WriteDot(const Language& lang, const ReadProgress* progress, std::int32_t only);

}  // namespace parvolen::inspect
