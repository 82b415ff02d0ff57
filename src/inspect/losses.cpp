#include "inspect/losses.h"

#include <set>

#include "inspect/strings.h"

namespace parvolen::inspect {
namespace {

// The nonterminals that can stand last in a derivation of each one (itself included): the
// nonterminals before a part of a right side that can derive nothing, closed transitively.
std::vector<std::set<std::int32_t>> EndsOf(const Grammar& grammar, const LLSets& ll1) {
  const std::size_t count = static_cast<std::size_t>(std::max(grammar.Lang().LastNonterminal, 0)) + 1;
  std::vector<std::set<std::int32_t>> ends(count);
  for (std::size_t n = 1; n < count; ++n) ends[n].insert(static_cast<std::int32_t>(n));
  const auto& prods = grammar.Productions();
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (!ll1.Useful(static_cast<std::int32_t>(p))) continue;
    const SymbolString right = grammar.RightSide(static_cast<std::int32_t>(p));
    for (std::size_t i = right.size(); i-- > 0;) {
      if (right[i].Kind != kEdgeNonterminal) break;
      ends[prods[p].Owner].insert(right[i].Code);
      if (!ll1.First(right[i].Code).contains(TermString{})) break;
    }
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (auto& set : ends) {
      const std::size_t before = set.size();
      for (std::int32_t n : std::set<std::int32_t>(set)) set.insert(ends[n].begin(), ends[n].end());
      changed = changed || set.size() != before;
    }
  }
  return ends;
}

// A production of the nonterminal that ends with the nonterminal itself, not left-recursive.
std::int32_t RightRecursiveProduction(const Grammar& grammar, std::int32_t nont) {
  const auto& prods = grammar.Productions();
  for (std::size_t p = 1; p < prods.size(); ++p) {
    if (prods[p].Owner != nont || prods[p].LeftRecursive) continue;
    const SymbolString right = grammar.RightSide(static_cast<std::int32_t>(p));
    if (!right.empty() && right.back() == GrammarSymbol{kEdgeNonterminal, nont}) return static_cast<std::int32_t>(p);
  }
  return 0;
}

// A right-recursive nonterminal whose follow strings a loss at `owner` on `term` comes from:
// one that can end with itself, can end with owner, and can be followed by the terminal.
void FindRightList(const Grammar& grammar, const LLSets& ll1, const std::vector<std::set<std::int32_t>>& ends,
                   std::int32_t owner, std::int32_t term, Loss& loss) {
  const TermString follower = term == 0 ? TermString{} : TermString{term};
  for (std::size_t l = 1; l < ends.size(); ++l) {
    const auto list = static_cast<std::int32_t>(l);
    bool recursive = false;
    for (std::int32_t n : ends[l]) recursive = recursive || (n != list && ends[n].contains(list));
    const std::int32_t prod = RightRecursiveProduction(grammar, list);
    if (!(recursive || prod != 0) || !ends[l].contains(owner) || !ll1.Follow(list).contains(follower)) continue;
    loss.RightList = list;
    loss.RightProd = prod;
    return;
  }
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

}  // namespace

std::vector<Loss> FindLosses(const Grammar& grammar, const LLSets& ll1, Examples& examples) {
  std::vector<Loss> losses;
  const Language& lang = grammar.Lang();
  if (!ll1.Complete() || !lang.NontTab.Exists()) return losses;
  const auto ends = EndsOf(grammar, ll1);
  const StringSet none{TermString{}};
  for (const ChoicePoint& choice : grammar.Choices()) {
    if (!ll1.Reachable(choice.Owner)) continue;
    const bool loop = choice.InTails && choice.Prefix.empty();
    const bool decided = choice.Members.size() >= 2;
    if (!decided && !loop) continue;
    const auto level = LevelOne(lang, choice.Decision);
    const auto loopTerms = ViewTopTerms(lang, lang.NontTab[choice.Owner].DLRF);
    for (std::int32_t member : choice.Members) {
      // The member's textbook terminals; inside the loop only those its tails begin with.
      std::set<std::int32_t> terms;
      for (std::int32_t prod : grammar.ProductionsBelow(member)) {
        if (!ll1.Useful(prod)) continue;
        const StringSet& after = loop ? none : ll1.Follow(choice.Owner);
        for (const TermString& s : ll1.FirstOf(grammar.RestFrom(prod, member), after))
          if (!s.empty() || !loop) terms.insert(s.empty() ? 0 : s[0]);
      }
      Loss missing{LossKind::Missing, &choice, member, {}, false, {}, {}, 0, 0};
      Loss below{LossKind::BelowLevelOne, &choice, member, {}, false, {}, {}, 0, 0};
      for (std::int32_t term : terms) {
        const std::int32_t key = term == 0 ? lang.EoiCode : term;
        if (key == 0) continue;  // without an end-of-input terminal the end cannot be told
        if (loop && !loopTerms.contains(key)) {
          missing.Terms.push_back(term);
          missing.InLoop = true;
          continue;
        }
        if (!decided) continue;
        const auto node = level.find(key);
        if (node == level.end()) missing.Terms.push_back(term);
        else if (node->second == 0) below.Terms.push_back(term);
      }
      for (Loss* loss : {&missing, &below}) {
        if (loss->Terms.empty()) continue;
        // A shared level-1 node concerns all the members it leaves open: one warning for them.
        if (loss->Kind == LossKind::BelowLevelOne && !losses.empty() && losses.back().Choice == &choice &&
            losses.back().Kind == LossKind::BelowLevelOne && losses.back().Terms == loss->Terms)
          continue;
        loss->Example = examples.AtChoice(choice, member, loss->Terms.front());
        if (loss->Kind == LossKind::Missing)
          FindRightList(grammar, ll1, ends, choice.Owner, loss->Terms.front(), *loss);
        else
          loss->Sharing = SharingMembers(lang, choice.Decision, loss->Terms.front() == 0 ? lang.EoiCode : loss->Terms.front());
        losses.push_back(std::move(*loss));
      }
    }
  }
  return losses;
}

}  // namespace parvolen::inspect
