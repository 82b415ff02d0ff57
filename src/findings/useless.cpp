#include "findings/useless.h"

#include <algorithm>
#include <string>

namespace parvolen {
namespace {

// The offset and length of the index-th symbol of the right side (grammar symbols only) in the
// production's line; false when the line does not show it.
bool SpanOfSymbol(const Grammar& grammar, std::int32_t prod, std::size_t index, std::string_view line,
                  std::size_t& offset, std::size_t& length) {
  const Production& p = grammar.Productions()[prod];
  const Language& lang = grammar.Lang();
  std::size_t written = 0;  // symbols of every kind before it in the line
  std::size_t symbols = 0;  // grammar symbols before it
  if (p.LeftRecursive) {
    if (index == 0) return SymbolSpan(line, 0, offset, length);
    written = symbols = 1;
  }
  for (std::int32_t e : p.Path) {
    if (e < 1 || e > lang.LastEdge) continue;
    const std::int32_t kind = lang.EdgeTab[e].WhoAmI;
    if (kind == kEdgeEnd) continue;
    if ((kind == kEdgeTerminal || kind == kEdgeNonterminal) && symbols++ == index)
      return SymbolSpan(line, written, offset, length);
    ++written;
  }
  return false;
}

Diagnostic At(Diagnostic d, Severity level, std::string text, std::string hint = {}) {
  d.Level = level;
  d.Text = std::move(text);
  d.Hint = std::move(hint);
  return d;
}

}  // namespace

// Productive nonterminals by counting, for each production, the nonterminals of its right side
// not yet known to derive a terminal string.
UselessSymbols FindUseless(const Grammar& grammar) {
  const Language& lang = grammar.Lang();
  const auto& prods = grammar.Productions();
  const std::size_t nonts = static_cast<std::size_t>(lang.NontTab.Exists() ? std::max(lang.LastNonterminal, 0) : 0) + 1;
  UselessSymbols u{std::vector<bool>(nonts), std::vector<bool>(nonts), std::vector<bool>(nonts),
                   std::vector<std::int32_t>(prods.size(), -1), 0, FlatLists(nonts)};
  const auto known = [&](std::int32_t n) { return n >= 1 && static_cast<std::size_t>(n) < nonts; };
  std::vector<std::int32_t> pending(prods.size(), 0);
  FlatLists& uses = u.Uses;
  std::vector<std::int32_t> queue;
  const auto produce = [&](std::int32_t owner) {
    if (known(owner) && !u.Productive[owner]) {
      u.Productive[owner] = true;
      queue.push_back(owner);
    }
  };
  for (std::size_t q = 1; q < prods.size(); ++q) {
    const auto p = static_cast<std::int32_t>(q);
    if (known(prods[q].Owner)) u.Defined[prods[q].Owner] = true;
    if (prods[q].Path.empty()) {
      pending[q] = 1;  // never read into a trie: derives nothing
      u.Blocked[q] = 0;
      continue;
    }
    const SymbolString& right = grammar.RightSide(p);
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind == kEdgeTerminal)
        u.LargestTerminal = right[i].Code < 0 || u.LargestTerminal < 0 ? -1 : std::max(u.LargestTerminal, right[i].Code);
      if (right[i].Kind != kEdgeNonterminal) continue;
      ++pending[q];
      if (!known(right[i].Code)) continue;
      uses.Count(static_cast<std::size_t>(right[i].Code));
      if (i > 0 || !prods[q].LeftRecursive) u.Used[right[i].Code] = true;  // not the leading [Owner]
    }
  }
  uses.Place();
  for (std::size_t q = 1; q < prods.size(); ++q) {
    if (prods[q].Path.empty()) continue;
    for (const GrammarSymbol& s : grammar.RightSide(static_cast<std::int32_t>(q)))
      if (s.Kind == kEdgeNonterminal && known(s.Code)) uses.Add(static_cast<std::size_t>(s.Code), static_cast<std::int32_t>(q));
    if (pending[q] == 0) produce(prods[q].Owner);
  }
  while (!queue.empty()) {
    const std::int32_t n = queue.back();
    queue.pop_back();
    for (std::int32_t p : uses[static_cast<std::size_t>(n)])
      if (--pending[p] == 0) produce(prods[p].Owner);
  }
  for (std::size_t q = 1; q < prods.size(); ++q) {
    if (pending[q] == 0 || prods[q].Path.empty()) continue;
    const SymbolString& right = grammar.RightSide(static_cast<std::int32_t>(q));
    for (std::size_t i = 0; i < right.size(); ++i)
      if (right[i].Kind == kEdgeNonterminal && !u.Derives(right[i].Code)) {
        u.Blocked[q] = static_cast<std::int32_t>(i);
        break;
      }
  }
  return u;
}

std::vector<Diagnostic> UselessDiagnostics(const Grammar& grammar, const UselessSymbols& useless,
                                           const DescriptionPlaces& places, const ReadProgress& progress,
                                           const UselessLevels& levels) {
  std::vector<Diagnostic> found;
  const Language& lang = grammar.Lang();
  // The k-th line of [Nonterminals] declared nonterminal k.
  std::int32_t nont = 0;
  for (const ReadProgress::Line& line : progress.Handled) {
    if (line.Section != "[Nonterminals]") continue;
    const std::int32_t n = ++nont;
    if (static_cast<std::size_t>(n) >= useless.Productive.size() || useless.Productive[n]) continue;
    const std::string name = "'" + grammar.NontName(n) + "'";
    const bool start = n == lang.StartNont;
    if (!useless.Defined[n] && (useless.Used[n] || start)) {
      found.push_back(At(places.AtLine(line.Number), start ? levels.EmptyStart : levels.Undefined,
                         (start ? "the starting symbol " : "nonterminal ") + name +
                             " is used but never defined: no production has it on its left side"));
    } else if (useless.Defined[n]) {
      found.push_back(At(places.AtLine(line.Number), start ? levels.EmptyStart : Severity::Warning,
                         (start ? "the starting symbol " : "nonterminal ") + name +
                             " derives no finite terminal string: none of its productions can complete" +
                             (start ? ", so every input is rejected" : ""),
                         "give it a production that ends the recursion"));
    }
  }
  const auto& prods = grammar.Productions();
  for (std::size_t q = 1; q < prods.size(); ++q) {
    const auto p = static_cast<std::int32_t>(q);
    const std::int32_t blocked = useless.Blocked[q];
    const SymbolString& right = grammar.RightSide(p);
    if (blocked < 0 || static_cast<std::size_t>(blocked) >= right.size()) continue;
    const std::int32_t n = right[blocked].Code;
    const std::string why = useless.Defined.size() > static_cast<std::size_t>(n) && !useless.Defined[n]
                                ? " has no production"
                                : " derives no finite terminal string";
    Diagnostic d = places.AtLine(prods[q].Line);
    std::size_t offset = 0, length = 0;
    if (const ReadProgress::Line* line = places.LineAt(prods[q].Line);
        line != nullptr && SpanOfSymbol(grammar, p, static_cast<std::size_t>(blocked), line->Text, offset, length))
      d = places.At(prods[q].Line, offset, length);
    found.push_back(At(std::move(d), Severity::Warning,
                       "this production of '" + grammar.NontName(prods[q].Owner) + "' can never complete: '" +
                           grammar.NontName(n) + "'" + why));
  }
  return found;
}

}  // namespace parvolen
