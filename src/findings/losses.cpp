#include "findings/losses.h"

#include <algorithm>
#include <array>
#include <limits>
#include <set>

#include "findings/strings.h"
#include "findings/term_bits.h"

namespace parvolen {
namespace {

// Which nonterminal can stand last in a derivation of which: the graph of the nonterminals
// before a part of a right side that derives the empty string, with the questions a loss
// asks of it. Built once the first loss needs it.
class EndGraph {
 public:
  EndGraph(const Grammar& grammar, const LLSets& ll1) : grammar_(grammar), ll1_(ll1) {}

  // A right-recursive nonterminal behind a loss at owner on term: it can end with itself and
  // with owner, and term can follow it. The lowest such number, or 0.
  std::int32_t RightListFor(std::int32_t owner, std::int32_t term) {
    Build();
    const TermString follower = term == 0 ? TermString{} : TermString{term};
    const std::vector<bool> endsWithOwner = Reach(owner, back_);
    for (std::size_t l = 1; l < forth_.size(); ++l) {
      const auto list = static_cast<std::int32_t>(l);
      if (endsWithOwner[l] && ll1_.Follow(list).contains(follower) && Recursive(list)) return list;
    }
    return 0;
  }

 private:
  void Build() {
    if (!forth_.empty()) return;
    const std::size_t count = static_cast<std::size_t>(std::max(grammar_.Lang().LastNonterminal, 0)) + 1;
    forth_.assign(count, {});
    back_.assign(count, {});
    recursive_.assign(count, -1);
    const auto& prods = grammar_.Productions();
    for (std::size_t p = 1; p < prods.size(); ++p) {
      if (!ll1_.Useful(static_cast<std::int32_t>(p))) continue;
      const SymbolString& right = grammar_.RightSide(static_cast<std::int32_t>(p));
      for (std::size_t i = right.size(); i-- > 0;) {
        if (right[i].Kind != kEdgeNonterminal) break;
        forth_[prods[p].Owner].push_back(right[i].Code);
        back_[right[i].Code].push_back(prods[p].Owner);
        if (!ll1_.First(right[i].Code).contains(TermString{})) break;
      }
    }
  }

  // Every nonterminal reachable from `from` in the graph (from itself included).
  static std::vector<bool> Reach(std::int32_t from, const std::vector<std::vector<std::int32_t>>& graph) {
    std::vector<bool> seen(graph.size(), false);
    if (from < 1 || static_cast<std::size_t>(from) >= graph.size()) return seen;
    std::vector<std::int32_t> stack{from};
    seen[from] = true;
    while (!stack.empty()) {
      const std::int32_t n = stack.back();
      stack.pop_back();
      for (std::int32_t m : graph[n])
        if (!seen[m]) {
          seen[m] = true;
          stack.push_back(m);
        }
    }
    return seen;
  }

  // Whether the nonterminal can end with itself again.
  bool Recursive(std::int32_t list) {
    if (recursive_[list] < 0) {
      bool again = false;
      for (std::int32_t m : forth_[list]) again = again || m == list || Reach(m, forth_)[list];
      recursive_[list] = again ? 1 : 0;
    }
    return recursive_[list] == 1;
  }

  const Grammar& grammar_;
  const LLSets& ll1_;
  std::vector<std::vector<std::int32_t>> forth_, back_;
  std::vector<int> recursive_;
};

// A production of the nonterminal that ends with the nonterminal itself, not left-recursive.
std::int32_t RightRecursiveProduction(const Grammar& grammar, std::int32_t nont) {
  for (std::int32_t p : grammar.ProductionsOf(nont)) {
    if (grammar.Productions()[p].LeftRecursive) continue;
    const SymbolString& right = grammar.RightSide(p);
    if (!right.empty() && right.back() == GrammarSymbol{kEdgeNonterminal, nont}) return p;
  }
  return 0;
}

// The members below the level-1 node of the terminal that its lower levels select.
std::vector<std::int32_t> SharingMembers(const Language& lang, std::int32_t decision, std::int32_t term) {
  std::set<std::int32_t> members;
  for (std::int32_t n = decision; n >= 1 && n <= lang.LastNode; n = lang.NodeTab[n].Altr) {
    if (lang.NodeTab[n].Term != term) continue;
    for (const Decision& d : DecisionStrings(lang, lang.NodeTab[n].Next))
      if (d.Member != 0) members.insert(d.Member);
    break;
  }
  return {members.begin(), members.end()};
}

// The terminals on which the textbook parser takes the member (0: the end of the input),
// ascending, into `terms`; inside the tail loop only those that its tails begin with.
void TextbookTerms(const Grammar& grammar, const LLSets& ll1, const ChoicePoint& choice, std::int32_t member,
                   bool loop, std::vector<std::int32_t>& terms) {
  terms.clear();
  const std::optional<std::int32_t> followOf = loop ? std::nullopt : std::optional(choice.Owner);
  TermBits bits;  // where the sets are held as bits: the terminals gathered there, in order
  const auto add = [&](std::int32_t prod) {
    if (!ll1.Useful(prod)) return;
    if (!ll1.AddFirstBits(grammar.RestSpan(prod, member), followOf, bits))
      ll1.AddFirstLeads(grammar.RestSpan(prod, member), followOf, terms);
  };
  if (const auto through = grammar.ProductionsThrough(member); !through.empty()) {
    for (std::int32_t prod : through) add(prod);
  } else {
    for (std::int32_t prod : grammar.ProductionsBelow(member)) add(prod);
  }
  bits.ForEach([&](std::int32_t t) { terms.push_back(t); });
  if (loop) terms.erase(std::remove(terms.begin(), terms.end(), 0), terms.end());  // the tails' own
  // The loop looks at the coming terminal after every pass, at the end of the input too.
  if (loop && grammar.Lang().EoiCode == 0 && ll1.Follow(choice.Owner).contains(TermString{}))
    terms.insert(terms.begin(), 0);
  if (ll1.HeldAsBits()) return;  // ascending and distinct already
  std::sort(terms.begin(), terms.end());
  terms.erase(std::unique(terms.begin(), terms.end()), terms.end());
}

// Level 1 of a choice's decision list by terminal, as LevelOne gives it, kept in one array
// from choice to choice: only the entries of the list at hand are set and then cleared.
class LevelTable {
 public:
  static constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::min();

  void Load(const Language& lang, std::int32_t root) {
    for (std::int32_t t : set_) edge_[static_cast<std::size_t>(t)] = kNone;
    set_.clear();
    if (!lang.NodeTab.Exists()) return;
    std::int64_t budget = lang.LastNode;
    for (std::int32_t n = root; n >= 1 && n <= lang.LastNode && budget-- > 0; n = lang.NodeTab[n].Altr) {
      const std::int32_t t = lang.NodeTab[n].Term;
      if (t < 0) continue;  // no terminal of a textbook set
      if (static_cast<std::size_t>(t) >= edge_.size()) edge_.resize(static_cast<std::size_t>(t) + 1, kNone);
      if (edge_[static_cast<std::size_t>(t)] == kNone) set_.push_back(t);
      edge_[static_cast<std::size_t>(t)] = lang.NodeTab[n].Edge;  // a later entry wins, as in LevelOne
    }
  }
  // The member the entry of the terminal selects (0: the next level decides), or kNone.
  [[nodiscard]] std::int32_t At(std::int32_t t) const {
    return t >= 0 && static_cast<std::size_t>(t) < edge_.size() ? edge_[static_cast<std::size_t>(t)] : kNone;
  }

 private:
  std::vector<std::int32_t> edge_;
  std::vector<std::int32_t> set_;
};

// Gives a loss found its example input and what its explanation needs.
void Complete(const Grammar& grammar, Examples& examples, EndGraph& ends, Loss& loss) {
  const ChoicePoint& choice = *loss.Choice;
  const std::int32_t first = loss.Terms.front();
  loss.Example = examples.AtChoice(choice, loss.Member, first);
  switch (loss.Kind) {
    case LossKind::Missing:
      loss.RightList = ends.RightListFor(choice.Owner, first);
      loss.RightProd = RightRecursiveProduction(grammar, loss.RightList);
      break;
    case LossKind::BelowLevelOne:
      loss.Sharing = SharingMembers(grammar.Lang(), choice.Decision, first == 0 ? grammar.Lang().EoiCode : first);
      break;
    case LossKind::EndUnseen:
      if (loss.InLoop) {
        // The loop meets the end when the input ends right after the nonterminal.
        const auto around = examples.Around(choice.Owner, 0);
        const auto itself = examples.Shortest({{kEdgeNonterminal, choice.Owner}});
        if (around && itself) {
          loss.Example = ExampleInput{around->Before, {}};
          loss.Example->Before.insert(loss.Example->Before.end(), itself->begin(), itself->end());
        }
      }
      break;
  }
}

}  // namespace

std::vector<Loss> FindLosses(const Grammar& grammar, const LLSets& ll1, Examples& examples) {
  std::vector<Loss> losses;
  const Language& lang = grammar.Lang();
  if (!ll1.Complete() || !lang.NontTab.Exists()) return losses;
  EndGraph ends(grammar, ll1);
  bool endUnseen = false;  // reported once
  LevelTable level;
  std::vector<std::int32_t> terms;
  // The terminals of a member by what the parser does there, in the order of the warnings: the
  // end of the input unseen, the tail loop stopping, no level-1 entry, a level-1 entry that
  // leaves the choice to a later terminal.
  static constexpr std::array<LossKind, 4> kinds{LossKind::EndUnseen, LossKind::Missing, LossKind::Missing,
                                                 LossKind::BelowLevelOne};
  std::array<std::vector<std::int32_t>, 4> parts;
  for (const ChoicePoint& choice : grammar.Choices()) {
    const bool loop = choice.InTails && choice.Prefix.empty();
    const bool decided = choice.Members.size() >= 2;
    if (!ll1.Reachable(choice.Owner) || (!decided && !loop)) continue;
    level.Load(lang, choice.Decision);
    const auto loopTerms = loop ? ViewTopTerms(lang, lang.NontTab[choice.Owner].DLRF) : std::set<std::int32_t>{};
    for (std::int32_t member : choice.Members) {
      TextbookTerms(grammar, ll1, choice, member, loop, terms);
      for (std::vector<std::int32_t>& part : parts) part.clear();
      for (std::int32_t term : terms) {
        const std::int32_t key = term == 0 ? lang.EoiCode : term;
        const std::int32_t node = level.At(key);
        if (key == 0) {
          if (!endUnseen) parts[0].push_back(0);
          endUnseen = true;
        } else if (loop && !loopTerms.contains(key)) {
          parts[1].push_back(term);
        } else if (decided && node == LevelTable::kNone) {
          parts[2].push_back(term);
        } else if (decided && node == 0) {
          parts[3].push_back(term);
        }
      }
      for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty()) continue;
        Loss loss{kinds[i], &choice, member, parts[i], i == 0 ? loop : i == 1, {}, {}, 0, 0};
        // A shared level-1 node concerns all the members it leaves open: one warning for them.
        if (loss.Kind == LossKind::BelowLevelOne && !losses.empty() && losses.back().Choice == &choice &&
            losses.back().Kind == LossKind::BelowLevelOne && losses.back().Terms == loss.Terms)
          continue;
        Complete(grammar, examples, ends, loss);
        losses.push_back(std::move(loss));
      }
    }
  }
  return losses;
}

}  // namespace parvolen
