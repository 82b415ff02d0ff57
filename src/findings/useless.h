// Symbols that take part in no sentence: nonterminals that derive no finite terminal string,
// the productions that use one (they can never complete), and nonterminals that right sides use
// but that have no production. Found in time linear in the size of the grammar.
#pragma once

#include <cstdint>
#include <vector>

#include "base/diagnostic.h"
#include "findings/flat_lists.h"
#include "findings/grammar.h"
#include "findings/places.h"
#include "findings/read_progress.h"

namespace parvolen {

struct UselessSymbols {
  std::vector<bool> Productive;  // by nonterminal: derives some finite terminal string
  std::vector<bool> Defined;     // by nonterminal: has a production
  std::vector<bool> Used;        // by nonterminal: stands in a right side
  // By production: the index in its right side (RightSide, the leading [Owner] of a
  // left-recursive one included) of the first nonterminal that derives nothing; -1 when the
  // production can complete.
  std::vector<std::int32_t> Blocked;
  // The largest terminal number on the right sides of the productions read into a trie, or -1
  // when one is negative.
  std::int32_t LargestTerminal = 0;
  // By nonterminal: the productions read into a trie whose right side holds it, once for each
  // place, ascending.
  FlatLists Uses;

  [[nodiscard]] bool Completes(std::int32_t prod) const {
    return prod >= 1 && static_cast<std::size_t>(prod) < Blocked.size() && Blocked[prod] < 0;
  }
  [[nodiscard]] bool Derives(std::int32_t nont) const {
    return nont >= 1 && static_cast<std::size_t>(nont) < Productive.size() && Productive[nont];
  }
};

[[nodiscard]] UselessSymbols FindUseless(const Grammar& grammar);

// What the diagnostics are for: the classic run warns; the embeddable translator refuses a
// nonterminal used but never defined and a starting symbol that derives nothing.
struct UselessLevels {
  Severity Undefined = Severity::Warning;
  Severity EmptyStart = Severity::Warning;
};

// A diagnostic at the declaring line of each nonterminal that derives nothing or is used but
// never defined, and one at the first such symbol of each production that can never complete.
[[nodiscard]] std::vector<Diagnostic> UselessDiagnostics(const Grammar& grammar, const UselessSymbols& useless,
                                                         const DescriptionPlaces& places,
                                                         const ReadProgress& progress, const UselessLevels& levels);

}  // namespace parvolen
