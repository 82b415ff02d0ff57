#include "findings/grammar.h"

#include <algorithm>

namespace parvolen {
namespace {

template <class Table>
std::string NameIn(const Table& table, std::int32_t last, std::int32_t code) {
  if (code >= 1 && code <= last && table.Exists()) return std::string(table[code].Name.View());
  return "#" + std::to_string(code);
}

}  // namespace

Grammar::Grammar(const Language& lang, const ReadProgress* progress) : lang_(lang) {
  const std::int32_t lastProd = lang.ProdTab.Exists() ? lang.LastProduction : 0;
  productions_.resize(static_cast<std::size_t>(lastProd) + 1);
  for (std::int32_t p = 1; p <= lastProd; ++p) {
    productions_[p].Number = p;
    productions_[p].Owner = lang.ProdTab[p].Nont;
  }
  // A plain line of [Productions] registers one production, a line with groups those written
  // out from it (each with its origin): the lines and the productions come in the same order.
  std::vector<bool> written(productions_.size(), false);
  for (const ProdOrigin& origin : lang.ProdOrigins) {
    if (origin.Prod < 1 || origin.Prod > lastProd) continue;
    Production& prod = productions_[origin.Prod];
    written[origin.Prod] = true;
    prod.Line = origin.Line;
    prod.Symbols = origin.Symbols;
    prod.Whole = origin.Whole;
  }
  // The text of a production is its line where the progress record has it, else the record's.
  std::vector<bool> lined(productions_.size(), false);
  if (progress != nullptr) {
    std::int32_t p = 1;
    for (const ReadProgress::Line& line : progress->Handled) {
      if (line.Section != "[Productions]") continue;
      if (p <= lastProd && written[p] && productions_[p].Line == line.Number) {
        while (p <= lastProd && written[p] && productions_[p].Line == line.Number) ++p;
        continue;
      }
      if (p > lastProd) continue;
      productions_[p].Line = line.Number;
      productions_[p].Text = line.Text;
      lined[p] = true;
      ++p;
    }
  }
  for (std::int32_t p = 1; p <= lastProd; ++p)
    if (!lined[p]) productions_[p].Text = std::string(lang.ProdTab[p].Text.View());
  if (lang.EdgeTab.Exists() && lang.NontTab.Exists()) {
    for (std::int32_t n = 1; n <= lang.LastNonterminal; ++n) {
      const NontRec& nont = lang.NontTab[n];
      Walk(n, nont.ProdEdges, nont.ProdNodes, false);
      Walk(n, nont.RecEdges, nont.RecNodes, true);
    }
  }
  // The productions below each edge, in one block: first counted, then placed in ascending order.
  belowStart_.assign(static_cast<std::size_t>(std::max(lang.LastEdge, 0)) + 2, 0);
  for (const Production& prod : productions_)
    for (std::int32_t e : prod.Path)
      if (prod.Number != 0 && ValidEdge(e)) ++belowStart_[static_cast<std::size_t>(e) + 1];
  for (std::size_t e = 1; e < belowStart_.size(); ++e) belowStart_[e] += belowStart_[e - 1];
  below_.resize(belowStart_.back());
  std::vector<std::size_t> placed(belowStart_.begin(), belowStart_.end() - 1);
  rights_.resize(productions_.size());
  byOwner_.resize(static_cast<std::size_t>(lang.NontTab.Exists() ? std::max(lang.LastNonterminal, 0) : 0) + 1);
  for (Production& prod : productions_) {
    if (prod.Number == 0) continue;
    SymbolString& right = rights_[prod.Number];
    right.reserve(prod.Path.size() + (prod.LeftRecursive ? 1 : 0));
    if (prod.LeftRecursive) right.push_back({kEdgeNonterminal, prod.Owner});
    for (std::int32_t e : prod.Path) {
      if (!ValidEdge(e)) continue;
      below_[placed[static_cast<std::size_t>(e)]++] = prod.Number;
      const EdgeRec& edge = lang_.EdgeTab[e];
      if (edge.WhoAmI == kEdgeTerminal || edge.WhoAmI == kEdgeNonterminal) right.push_back({edge.WhoAmI, edge.Code});
    }
    if (prod.Owner >= 1 && static_cast<std::size_t>(prod.Owner) < byOwner_.size())
      byOwner_[prod.Owner].push_back(prod.Number);
  }
}

// Depth-first over one trie, with an explicit stack so that long productions need no deep
// recursion; records every production's path and every choice point.
void Grammar::Walk(std::int32_t owner, std::int32_t root, std::int32_t decision, bool tails) {
  if (!ValidEdge(root)) return;
  // The stack, path and members are kept from trie to trie, so that their room is reused.
  std::vector<WalkStep>& stack = walkStack_;
  std::vector<std::int32_t>& path = walkPath_;
  std::vector<std::int32_t>& members = walkMembers_;
  stack.clear();
  path.clear();
  std::int64_t budget = lang_.LastEdge;  // a trie visits each edge once
  auto openList = [&](std::int32_t first, std::int32_t node, std::size_t depth) {
    members.clear();
    for (std::int32_t m = first; ValidEdge(m) && budget-- > 0; m = lang_.EdgeTab[m].Altr) members.push_back(m);
    for (auto it = members.rbegin(); it != members.rend(); ++it) stack.push_back({*it, depth});
    // Only a list where the parser chooses is kept, with a copy of the path leading to it.
    if (members.size() >= 2 || node != 0 || (tails && depth == 0))
      choices_.push_back(ChoicePoint{owner, tails, path, first, node, members});
  };
  openList(root, decision, 0);
  while (!stack.empty()) {
    const WalkStep at = stack.back();
    stack.pop_back();
    path.resize(at.depth);
    path.push_back(at.edge);
    const EdgeRec& edge = lang_.EdgeTab[at.edge];
    if (edge.WhoAmI == kEdgeEnd) {
      if (edge.Code >= 1 && edge.Code < static_cast<std::int32_t>(productions_.size())) {
        Production& prod = productions_[edge.Code];
        prod.Path = path;
        prod.LeftRecursive = tails;
      }
    } else if (ValidEdge(edge.Next)) {
      openList(edge.Next, edge.Node, at.depth + 1);
    }
  }
}

std::string Grammar::TermName(std::int32_t term) const { return NameIn(lang_.TermTab, lang_.LastTerminal, term); }

std::string Grammar::NontName(std::int32_t nont) const {
  return NameIn(lang_.NontTab, lang_.LastNonterminal, nont);
}

std::string Grammar::EdgeText(std::int32_t e) const {
  if (!ValidEdge(e)) return "?";
  const EdgeRec& edge = lang_.EdgeTab[e];
  switch (edge.WhoAmI) {
    case kEdgeTerminal: return "(" + TermName(edge.Code) + ")";
    case kEdgeNonterminal: return "[" + NontName(edge.Code) + "]";
    case kEdgeAction: return "{" + NameIn(lang_.ActionTab, lang_.LastAction, edge.Code) + "}";
    case kEdgeOutput: return "<" + NameIn(lang_.OutTermTab, lang_.LastOutTerm, edge.Code) + ">";
    case kEdgeEnd: return "end";
    default: return "?";
  }
}

std::string Grammar::PathText(const std::vector<std::int32_t>& edges) const {
  std::string text;
  for (std::int32_t e : edges)
    if (ValidEdge(e) && lang_.EdgeTab[e].WhoAmI != kEdgeEnd) text += EdgeText(e);
  return text;
}

std::string Grammar::Where(const ChoicePoint& choice) const {
  std::string prefix = PathText(choice.Prefix);
  if (choice.InTails) return "in the tails, after [" + NontName(choice.Owner) + "]" + prefix;
  return prefix.empty() ? "at the start" : "after " + prefix;
}

std::span<const std::int32_t> Grammar::ProductionsThrough(std::int32_t edge) const {
  if (!ValidEdge(edge)) return {};
  const auto e = static_cast<std::size_t>(edge);
  return std::span(below_).subspan(belowStart_[e], belowStart_[e + 1] - belowStart_[e]);
}

std::vector<std::int32_t> Grammar::ProductionsBelow(std::int32_t edge) const {
  if (!ValidEdge(edge)) return {};
  if (const auto through = ProductionsThrough(edge); !through.empty()) return {through.begin(), through.end()};
  // An edge of a follow trie: its subtree's end edges name the productions it came from.
  std::vector<std::int32_t> found;
  if (lang_.EdgeTab[edge].WhoAmI == kEdgeEnd) found.push_back(lang_.EdgeTab[edge].Code);
  std::vector<std::int32_t> stack;  // lists below the edge: every member and its siblings count
  if (ValidEdge(lang_.EdgeTab[edge].Next)) stack.push_back(lang_.EdgeTab[edge].Next);
  std::int64_t budget = lang_.LastEdge;
  while (!stack.empty() && budget-- > 0) {
    const EdgeRec& e = lang_.EdgeTab[stack.back()];
    stack.pop_back();
    if (e.WhoAmI == kEdgeEnd) found.push_back(e.Code);
    if (ValidEdge(e.Altr)) stack.push_back(e.Altr);
    if (ValidEdge(e.Next)) stack.push_back(e.Next);
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

SymbolString Grammar::RestFrom(std::int32_t prod, std::int32_t edge) const {
  const std::span<const GrammarSymbol> rest = RestSpan(prod, edge);
  return {rest.begin(), rest.end()};
}

// The right side holds the symbols of the path in order, after the leading [Owner] of a
// left-recursive production: the rest begins after the symbols that the path has before the edge.
std::span<const GrammarSymbol> Grammar::RestSpan(std::int32_t prod, std::int32_t edge) const {
  if (prod < 1 || prod >= static_cast<std::int32_t>(productions_.size())) return {};
  const Production& p = productions_[prod];
  const auto at = std::find(p.Path.begin(), p.Path.end(), edge);
  if (at == p.Path.end()) return {};
  std::size_t before = p.LeftRecursive ? 1 : 0;
  for (auto e = p.Path.begin(); e != at; ++e)
    if (ValidEdge(*e) && (lang_.EdgeTab[*e].WhoAmI == kEdgeTerminal || lang_.EdgeTab[*e].WhoAmI == kEdgeNonterminal))
      ++before;
  const SymbolString& right = rights_[prod];
  return std::span(right).subspan(std::min(before, right.size()));
}

SymbolString Grammar::PrefixOf(const ChoicePoint& choice) const {
  SymbolString symbols;
  if (choice.InTails) symbols.push_back({kEdgeNonterminal, choice.Owner});
  for (std::int32_t e : choice.Prefix) {
    const EdgeRec& edge = lang_.EdgeTab[e];
    if (edge.WhoAmI == kEdgeTerminal || edge.WhoAmI == kEdgeNonterminal) symbols.push_back({edge.WhoAmI, edge.Code});
  }
  return symbols;
}

const ChoicePoint* Grammar::ChoiceAt(std::int32_t first) const {
  for (const ChoicePoint& choice : choices_)
    if (choice.First == first) return &choice;
  return nullptr;
}

}  // namespace parvolen
