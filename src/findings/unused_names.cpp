#include <algorithm>
#include <string>

#include "base/text.h"
#include "findings/grammar_diagnostics.h"

namespace parvolen {
namespace {

// What the productions use: terminals, actions and output terminals by number, and the
// nonterminals that the starting symbol reaches.
struct Uses {
  std::vector<bool> Terminals, Actions, OutTerms, Reached;
};

void Mark(std::vector<bool>& used, std::int32_t code) {
  if (code >= 1 && static_cast<std::size_t>(code) < used.size()) used[code] = true;
}

Uses FindUses(const Grammar& grammar) {
  const Language& lang = grammar.Lang();
  auto count = [](std::int32_t last) { return static_cast<std::size_t>(std::max(last, 0)) + 1; };
  Uses uses{std::vector<bool>(count(lang.LastTerminal)), std::vector<bool>(count(lang.LastAction)),
            std::vector<bool>(count(lang.LastOutTerm)), std::vector<bool>(count(lang.LastNonterminal))};
  // The terminal edges of the paths are the terminals of the right sides; the paths are walked
  // for actions and output terminals only where the language declares some.
  const auto& prods = grammar.Productions();
  for (std::size_t p = 1; p < prods.size(); ++p)
    for (const GrammarSymbol& symbol : grammar.RightSide(static_cast<std::int32_t>(p)))
      if (symbol.Kind == kEdgeTerminal) Mark(uses.Terminals, symbol.Code);
  if (uses.Actions.size() > 1 || uses.OutTerms.size() > 1)
    for (const Production& prod : prods)
      for (std::int32_t e : prod.Path) {
        if (e < 1 || e > lang.LastEdge) continue;
        const EdgeRec& edge = lang.EdgeTab[e];
        if (edge.WhoAmI == kEdgeAction) Mark(uses.Actions, edge.Code);
        if (edge.WhoAmI == kEdgeOutput) Mark(uses.OutTerms, edge.Code);
      }
  std::vector<std::int32_t> stack;
  if (lang.StartNont >= 1 && static_cast<std::size_t>(lang.StartNont) < uses.Reached.size()) {
    uses.Reached[lang.StartNont] = true;
    stack.push_back(lang.StartNont);
  }
  while (!stack.empty()) {
    const std::int32_t nont = stack.back();
    stack.pop_back();
    for (std::int32_t p : grammar.ProductionsOf(nont))
      for (const GrammarSymbol& symbol : grammar.RightSide(p))
        if (symbol.Kind == kEdgeNonterminal && symbol.Code >= 1 &&
            static_cast<std::size_t>(symbol.Code) < uses.Reached.size() && !uses.Reached[symbol.Code]) {
          uses.Reached[symbol.Code] = true;
          stack.push_back(symbol.Code);
        }
  }
  return uses;
}

bool Unused(const std::vector<bool>& used, std::int32_t code) {
  return code >= 1 && static_cast<std::size_t>(code) < used.size() && !used[code];
}

// Terminal numbers by name, made when the first keyword or symbol asks: sorted by name, a name
// declared twice keeping its first number.
class TerminalsByName {
 public:
  explicit TerminalsByName(const Grammar& grammar) : grammar_(grammar) {}

  // The terminal of the name, or 0.
  std::int32_t Find(std::string_view name) {
    if (byName_.empty()) Make();
    const auto at = std::lower_bound(byName_.begin(), byName_.end(), name,
                                     [](const auto& entry, std::string_view n) { return entry.first < n; });
    return at != byName_.end() && at->first == name ? at->second : 0;
  }

 private:
  void Make() {
    const Language& lang = grammar_.Lang();
    const std::int32_t last = std::max(lang.LastTerminal, 0);
    spelled_.reserve(static_cast<std::size_t>(last));  // the views below point into it
    for (std::int32_t t = 1; t <= last; ++t) {
      if (lang.TermTab.Exists()) {
        byName_.emplace_back(lang.TermTab[t].Name.View(), t);
      } else {
        spelled_.push_back(grammar_.TermName(t));
        byName_.emplace_back(spelled_.back(), t);
      }
    }
    std::stable_sort(byName_.begin(), byName_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (byName_.empty()) byName_.emplace_back(std::string_view(), 0);  // made: no name matches
  }

  const Grammar& grammar_;
  std::vector<std::string> spelled_;
  std::vector<std::pair<std::string_view, std::int32_t>> byName_;
};

Diagnostic Warning(Diagnostic d, std::string text) {
  d.Level = Severity::Warning;
  d.Text = std::move(text);
  return d;
}

}  // namespace

std::vector<Diagnostic> UnusedDiagnostics(const Grammar& grammar, const DescriptionPlaces& places,
                                          const ReadProgress& progress) {
  const Uses uses = FindUses(grammar);
  const Language& lang = grammar.Lang();
  TerminalsByName terminals(grammar);
  // A keyword or symbol is named only for a terminal that no production uses: without such a
  // terminal their lines need no look-up.
  const bool someUnused = std::find(uses.Terminals.begin() + 1, uses.Terminals.end(), false) != uses.Terminals.end();
  const std::string start = grammar.NontName(lang.StartNont);
  // The k-th line of a name section declared name k: each line declares exactly one.
  std::int32_t term = 0, nont = 0, action = 0, out = 0;
  std::vector<Diagnostic> found;
  for (const ReadProgress::Line& line : progress.Handled) {
    const std::string_view section = line.Section;
    // The end-of-input terminal serves the parser even where no production names it.
    if (section == "[Terminals]" && Unused(uses.Terminals, ++term) && term != lang.EoiCode) {
      found.push_back(Warning(places.AtLine(line.Number), "terminal '" + line.Text + "' is used by no production"));
    } else if (section == "[Nonterminals]" && Unused(uses.Reached, ++nont)) {
      found.push_back(Warning(places.AtLine(line.Number),
                              "nonterminal '" + line.Text + "' is never reached from the starting symbol '" + start + "'"));
    } else if (section == "[Actions]" && Unused(uses.Actions, ++action)) {
      found.push_back(Warning(places.AtLine(line.Number), "action '" + line.Text + "' is used by no production"));
    } else if (section == "[OutTerms]" && Unused(uses.OutTerms, ++out)) {
      found.push_back(
          Warning(places.AtLine(line.Number), "output terminal '" + line.Text + "' is used by no production"));
    } else if (someUnused && (section == "[Keywords]" || section == "[Symbols]")) {
      std::string_view name, shape;
      if (SplitAtEquals(line.Text, name, shape) != stOk) continue;
      const std::int32_t named = terminals.Find(name);
      if (named == 0 || !Unused(uses.Terminals, named)) continue;
      const std::string kind = section == "[Keywords]" ? "keyword" : "symbol";
      const auto offset = static_cast<std::size_t>(name.data() - line.Text.data());
      found.push_back(Warning(places.At(line.Number, offset, name.size()),
                              kind + " '" + std::string(shape) + "' stands for terminal '" + std::string(name) +
                                  "', which no production uses"));
    }
  }
  return found;
}

std::optional<Diagnostic> KeywordsWithoutIdName(const Language& lang, const DescriptionPlaces& places,
                                                const ReadProgress& progress, Severity level) {
  if (lang.LastKeyword <= 0 || !lang.IdName.View().empty()) return std::nullopt;
  for (const ReadProgress::Line& line : progress.Handled) {
    if (line.Section != "[Keywords]") continue;
    Diagnostic d = places.AtLine(line.Number);
    d.Level = level;
    d.Text = "keywords are declared but IdName is not set: the generated lexer gives other words the terminal "
             "of identifiers, which does not exist, and does not compile";
    d.Hint = "name the terminal of identifiers in [Language] (IdName = ...)";
    return d;
  }
  return std::nullopt;
}

}  // namespace parvolen
