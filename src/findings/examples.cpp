#include "findings/examples.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace parvolen {
namespace {

constexpr std::int64_t kNone = std::int64_t{1} << 60;

std::int64_t Add(std::int64_t a, std::int64_t b) { return std::min(a + b, kNone); }

void Append(TermString& out, const TermString& more) { out.insert(out.end(), more.begin(), more.end()); }

// A queue of (cost, item), cheapest first.
template <class Item>
using CheapestFirst = std::priority_queue<std::pair<std::int64_t, Item>, std::vector<std::pair<std::int64_t, Item>>,
                                          std::greater<>>;

}  // namespace

Examples::Examples(const Grammar& grammar, const LLSets& ll1)
    : grammar_(grammar), ll1_(ll1), nonts_(static_cast<std::size_t>(std::max(grammar.Lang().LastNonterminal, 0)) + 1) {}

// Shortest strings by Knuth's generalization of Dijkstra's algorithm: a nonterminal is settled
// with its least length once every symbol of the production that gives it is settled.
void Examples::Prepare() const {
  if (prepared_) return;
  prepared_ = true;
  const Grammar& grammar = grammar_;
  const LLSets& ll1 = ll1_;
  const auto& prods = grammar.Productions();
  shortLength_.assign(nonts_, kNone);
  shortProd_.assign(nonts_, 0);
  std::vector<std::int64_t> best(nonts_, kNone);
  std::vector<std::int32_t> bestProd(nonts_, 0);
  std::vector<std::size_t> pending(prods.size(), 0);
  std::vector<std::int64_t> sum(prods.size(), 0);
  std::vector<std::vector<std::int32_t>> uses(nonts_);
  CheapestFirst<std::int32_t> queue;
  auto offer = [&](std::int32_t nont, std::int64_t length, std::int32_t prod) {
    if (length >= best[nont]) return;
    best[nont] = length;
    bestProd[nont] = prod;
    queue.push({length, nont});
  };
  for (std::size_t p = 1; p < prods.size(); ++p) {
    const std::int32_t owner = prods[p].Owner;
    if (!ll1.Productive(owner) || prods[p].Path.empty()) continue;
    const SymbolString& right = grammar.RightSide(static_cast<std::int32_t>(p));
    if (!std::all_of(right.begin(), right.end(),
                     [&](const GrammarSymbol& s) { return s.Kind == kEdgeTerminal || ll1.Productive(s.Code); }))
      continue;
    for (const GrammarSymbol& s : right) {
      if (s.Kind == kEdgeTerminal) {
        ++sum[p];
      } else {
        ++pending[p];
        uses[s.Code].push_back(static_cast<std::int32_t>(p));
      }
    }
    if (pending[p] == 0) offer(owner, sum[p], static_cast<std::int32_t>(p));
  }
  while (!queue.empty()) {
    const auto [length, nont] = queue.top();
    queue.pop();
    if (shortLength_[nont] != kNone) continue;
    shortLength_[nont] = length;
    shortProd_[nont] = bestProd[nont];
    for (std::int32_t p : uses[nont]) {
      sum[p] = Add(sum[p], length);
      if (--pending[p] == 0) offer(prods[p].Owner, sum[p], p);
    }
  }
  // Where a string of a production can begin: each symbol up to the first that derives a non-empty string.
  startUses_.assign(nonts_, {});
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (!ll1.Productive(prods[p].Owner) || prods[p].Path.empty()) continue;
    const SymbolString& right = grammar.RightSide(static_cast<std::int32_t>(p));
    if (Length(right) >= kNone) continue;
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind == kEdgeTerminal) {
        startTerms_[right[i].Code].push_back({static_cast<std::int32_t>(p), i});
        break;
      }
      startUses_[right[i].Code].push_back({static_cast<std::int32_t>(p), i});
      if (shortLength_[right[i].Code] != 0) break;
    }
  }
}

std::int64_t Examples::Length(const SymbolString& symbols) const {
  std::int64_t length = 0;
  for (const GrammarSymbol& s : symbols) {
    if (s.Kind == kEdgeTerminal) length = Add(length, 1);
    else if (s.Code >= 1 && static_cast<std::size_t>(s.Code) < nonts_) length = Add(length, shortLength_[s.Code]);
    else return kNone;
  }
  return length;
}

// Expands the symbols by the productions that give the shortest strings; nonterminals that
// derive the empty string are passed over, so the work stays near the length of the result.
bool Examples::Expand(const SymbolString& symbols, TermString& out) const {
  if (Add(Length(symbols), static_cast<std::int64_t>(out.size())) > static_cast<std::int64_t>(kMaxExample)) return false;
  std::vector<GrammarSymbol> stack(symbols.rbegin(), symbols.rend());
  while (!stack.empty()) {
    const GrammarSymbol s = stack.back();
    stack.pop_back();
    if (s.Kind == kEdgeTerminal) {
      out.push_back(s.Code);
      continue;
    }
    if (shortLength_[s.Code] == 0) continue;
    const SymbolString& right = grammar_.RightSide(shortProd_[s.Code]);
    stack.insert(stack.end(), right.rbegin(), right.rend());
  }
  return true;
}

std::optional<TermString> Examples::Shortest(const SymbolString& symbols) const {
  Prepare();
  TermString out;
  if (Length(symbols) >= kNone || !Expand(symbols, out)) return std::nullopt;
  return out;
}

// Dijkstra's algorithm from the places where the terminal itself begins a production.
const Examples::StartTable& Examples::StartingWith(std::int32_t term) {
  auto [it, fresh] = starting_.try_emplace(term);
  StartTable& table = it->second;
  if (!fresh) return table;
  table.Length.assign(nonts_, kNone);
  table.From.assign(nonts_, {0, 0});
  std::vector<bool> settled(nonts_, false);
  CheapestFirst<std::int32_t> queue;
  auto restLength = [&](std::int32_t p, std::size_t i) {
    const SymbolString& right = grammar_.RightSide(p);
    return Length(SymbolString(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end()));
  };
  auto offer = [&](std::int32_t p, std::size_t i, std::int64_t length) {
    const std::int32_t owner = grammar_.Productions()[p].Owner;
    if (length >= table.Length[owner]) return;
    table.Length[owner] = length;
    table.From[owner] = {p, i};
    queue.push({length, owner});
  };
  if (auto found = startTerms_.find(term); found != startTerms_.end())
    for (const auto& [p, i] : found->second) offer(p, i, Add(1, restLength(p, i)));
  while (!queue.empty()) {
    const auto [length, nont] = queue.top();
    queue.pop();
    if (settled[nont]) continue;
    settled[nont] = true;
    for (const auto& [p, i] : startUses_[nont]) offer(p, i, Add(length, restLength(p, i)));
  }
  return table;
}

std::int64_t Examples::StartLength(const SymbolString& symbols, std::int32_t term, std::size_t& position) {
  const StartTable& table = StartingWith(term);
  std::int64_t best = kNone;
  for (std::size_t i = 0; i < symbols.size(); ++i) {
    const GrammarSymbol& s = symbols[i];
    const std::int64_t rest = Length(SymbolString(symbols.begin() + static_cast<std::ptrdiff_t>(i) + 1, symbols.end()));
    std::int64_t here = kNone;
    if (s.Kind == kEdgeTerminal) here = s.Code == term ? Add(1, rest) : kNone;
    else if (s.Code >= 1 && static_cast<std::size_t>(s.Code) < nonts_) here = Add(table.Length[s.Code], rest);
    if (here < best) {
      best = here;
      position = i;
    }
    if (s.Kind == kEdgeTerminal || s.Code < 1 || static_cast<std::size_t>(s.Code) >= nonts_ || shortLength_[s.Code] != 0)
      break;
  }
  return best;
}

bool Examples::ExpandStarting(const SymbolString& symbols, std::int32_t term, TermString& out) {
  std::size_t position = 0;
  const std::int64_t length = StartLength(symbols, term, position);
  if (length >= kNone || Add(length, static_cast<std::int64_t>(out.size())) > static_cast<std::int64_t>(kMaxExample))
    return false;
  const StartTable& table = StartingWith(term);
  // Down the chain of symbols the string begins in, to the terminal; the rests after each
  // follow in the reverse order.
  std::vector<SymbolString> rests{SymbolString(symbols.begin() + static_cast<std::ptrdiff_t>(position) + 1, symbols.end())};
  GrammarSymbol at = symbols[position];
  for (std::size_t guard = 0; at.Kind == kEdgeNonterminal && guard < nonts_; ++guard) {
    const auto [p, i] = table.From[at.Code];
    const SymbolString& right = grammar_.RightSide(p);
    rests.emplace_back(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end());
    at = right[i];
  }
  if (at.Kind != kEdgeTerminal) return false;
  out.push_back(term);
  for (auto it = rests.rbegin(); it != rests.rend(); ++it)
    if (!Expand(*it, out)) return false;
  return true;
}

std::optional<TermString> Examples::ShortestStartingWith(const SymbolString& symbols, std::int32_t term) {
  Prepare();
  TermString out;
  if (!ExpandStarting(symbols, term, out)) return std::nullopt;
  return out;
}

std::int64_t Examples::State(std::int32_t nont, std::int32_t next) const {
  return static_cast<std::int64_t>(nont) * (std::int64_t{grammar_.Lang().LastTerminal} + 1) + next;
}

// Contexts of nonterminals by Dijkstra's algorithm over (nonterminal, next terminal) from the
// starting symbol at the end of the input; a step enters a nonterminal where it occurs in a
// production of the reduced grammar.
void Examples::ComputeAround() {
  aroundDone_ = true;
  const std::int32_t start = grammar_.Lang().StartNont;
  if (!ll1_.Reachable(start)) return;
  const auto& prods = grammar_.Productions();
  std::vector<std::vector<std::int32_t>> inside(nonts_);  // occurrences by owner
  const StringSet none{TermString{}};
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (!ll1_.Useful(static_cast<std::int32_t>(p))) continue;
    const SymbolString& right = grammar_.RightSide(static_cast<std::int32_t>(p));
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind != kEdgeNonterminal) continue;
      const SymbolString rest(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end());
      Occurrence o{prods[p].Owner, right[i].Code, static_cast<std::int32_t>(p), i,
                   Length(SymbolString(right.begin(), right.begin() + static_cast<std::ptrdiff_t>(i))),
                   Length(rest) == 0, {}};
      if (ll1_.Complete()) {
        for (const TermString& first : ll1_.FirstOf(rest, none)) {
          std::size_t position = 0;
          if (!first.empty()) o.Firsts.push_back({first[0], StartLength(rest, first[0], position)});
        }
      }
      inside[o.Owner].push_back(static_cast<std::int32_t>(occurrences_.size()));
      occurrences_.push_back(std::move(o));
    }
  }
  std::vector<bool> leftFirst(nonts_, false);  // the owner's cheapest context has spread its rests
  std::map<std::int64_t, bool> settled;
  CheapestFirst<std::int64_t> queue;
  auto offer = [&](std::int64_t state, Step step) {
    auto [it, fresh] = around_.try_emplace(state, step);
    if (!fresh && it->second.Cost <= step.Cost) return;
    it->second = step;
    queue.push({step.Cost, state});
  };
  offer(State(start, 0), {0, -1, -1, 0});
  const std::int64_t width = std::int64_t{grammar_.Lang().LastTerminal} + 1;
  while (!queue.empty()) {
    const auto [cost, state] = queue.top();
    queue.pop();
    if (settled[state]) continue;
    settled[state] = true;
    const auto owner = static_cast<std::int32_t>(state / width);
    for (std::int32_t index : inside[owner]) {
      const Occurrence& o = occurrences_[index];
      if (o.RestNullable) offer(State(o.Nont, static_cast<std::int32_t>(state % width)), {Add(cost, o.BeforeLength), state, index, 0});
      if (leftFirst[owner]) continue;
      for (const auto& [term, length] : o.Firsts)
        offer(State(o.Nont, term), {Add(Add(cost, o.BeforeLength), length), state, index, term});
    }
    leftFirst[owner] = true;
  }
}

std::optional<ExampleInput> Examples::Rebuild(std::int64_t state) {
  std::vector<Step> steps;  // innermost first
  for (std::size_t guard = 0; guard <= around_.size(); ++guard) {
    const auto it = around_.find(state);
    if (it == around_.end()) return std::nullopt;
    if (it->second.Occurrence < 0) break;
    steps.push_back(it->second);
    state = it->second.From;
  }
  ExampleInput input;
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
    const Occurrence& o = occurrences_[it->Occurrence];
    const SymbolString& right = grammar_.RightSide(o.Prod);
    if (!Expand(SymbolString(right.begin(), right.begin() + static_cast<std::ptrdiff_t>(o.Position)), input.Before))
      return std::nullopt;
  }
  for (const Step& step : steps) {
    if (step.Term == 0) continue;
    const Occurrence& o = occurrences_[step.Occurrence];
    const SymbolString& right = grammar_.RightSide(o.Prod);
    if (!ExpandStarting(SymbolString(right.begin() + static_cast<std::ptrdiff_t>(o.Position) + 1, right.end()), step.Term,
                        input.After))
      return std::nullopt;
  }
  return input;
}

std::optional<ExampleInput> Examples::Around(std::int32_t nont, std::int32_t next) {
  Prepare();
  if (!aroundDone_) ComputeAround();
  if (nont < 1 || static_cast<std::size_t>(nont) >= nonts_) return std::nullopt;
  if (next != kAnyNext) {
    if (next < 0 || next > grammar_.Lang().LastTerminal || !around_.contains(State(nont, next))) return std::nullopt;
    return Rebuild(State(nont, next));
  }
  std::int64_t best = -1;
  std::int64_t bestCost = kNone;
  for (auto it = around_.lower_bound(State(nont, 0)); it != around_.end() && it->first <= State(nont, grammar_.Lang().LastTerminal); ++it)
    if (it->second.Cost < bestCost) {
      bestCost = it->second.Cost;
      best = it->first;
    }
  if (best < 0) return std::nullopt;
  return Rebuild(best);
}

std::optional<ExampleInput> Examples::AtChoice(const ChoicePoint& choice, std::int32_t member, std::int32_t next) {
  const auto prefix = Shortest(grammar_.PrefixOf(choice));
  if (!prefix) return std::nullopt;
  std::optional<ExampleInput> best;
  auto consider = [&](const std::optional<ExampleInput>& around, const TermString& start) {
    if (!around) return;
    ExampleInput candidate{around->Before, start};
    Append(candidate.Before, *prefix);
    Append(candidate.After, around->After);
    if (!best || candidate.Size() < best->Size()) best = std::move(candidate);
  };
  for (std::int32_t prod : grammar_.ProductionsBelow(member)) {
    if (!ll1_.Useful(prod)) continue;
    const SymbolString rest = grammar_.RestFrom(prod, member);
    if (next != 0)
      if (auto start = ShortestStartingWith(rest, next)) consider(Around(choice.Owner, kAnyNext), *start);
    if (Length(rest) == 0) consider(Around(choice.Owner, next), {});
  }
  return best;
}

std::optional<TermString> Examples::Reaching(const ChoicePoint& choice) {
  const auto prefix = Shortest(grammar_.PrefixOf(choice));
  const auto around = Around(choice.Owner, kAnyNext);
  if (!prefix || !around) return std::nullopt;
  TermString before = around->Before;
  Append(before, *prefix);
  return before;
}

}  // namespace parvolen
