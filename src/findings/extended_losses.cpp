#include "findings/extended_losses.h"

#include <algorithm>
#include <map>
#include <set>

#include "findings/classic_replay.h"
#include "findings/examples.h"
#include "findings/textbook.h"

namespace parvolen {
namespace {

// Most example inputs replayed for one member of a choice.
constexpr int kTriesPerMember = 16;

bool IsLoop(const ChoicePoint& choice) { return choice.InTails && choice.Prefix.empty(); }

// The member that the decision list selects on the string; 0 where it selects none.
std::int32_t Selected(const Language& lang, std::int32_t root, const TermString& string) {
  std::size_t level = 0;
  std::int64_t budget = lang.LastNode;
  for (std::int32_t n = root; n >= 1 && n <= lang.LastNode && budget-- > 0;) {
    const NodeRec& node = lang.NodeTab[n];
    if (level >= string.size()) return 0;
    if (node.Term != string[level]) {
      n = node.Altr;
      continue;
    }
    if (node.Edge != 0) return node.Edge;
    n = node.Next;
    ++level;
  }
  return 0;
}

TermString WithoutEnd(const Language& lang, TermString input) {
  if (lang.EoiCode != 0 && !input.empty() && input.back() == lang.EoiCode) input.pop_back();
  return input;
}

// Tail loops that go on at a terminal that can also follow their nonterminal where the loop
// has to end; the loop's condition reads one terminal whatever the lookahead.
void LoopLosses(const Grammar& grammar, const LLSets& ll1, Examples& examples, std::vector<ExtendedLoss>& out) {
  const Language& lang = grammar.Lang();
  const std::size_t nonts = static_cast<std::size_t>(std::max(lang.LastNonterminal, 0)) + 1;
  // The terminals that can come after each nonterminal where it ends its tail loop, in one pass
  // over the right sides.
  std::vector<std::set<std::int32_t>> exits(nonts);
  const auto& prods = grammar.Productions();
  for (std::size_t q = 1; q < prods.size(); ++q) {
    const auto prod = static_cast<std::int32_t>(q);
    if (!ll1.Useful(prod)) continue;
    const SymbolString& right = grammar.RightSide(prod);
    for (std::size_t i = 0; i < right.size(); ++i) {
      const std::int32_t n = right[i].Code;
      if (right[i].Kind != kEdgeNonterminal || n < 1 || static_cast<std::size_t>(n) >= nonts) continue;
      if (lang.NontTab[n].RecEdges == 0 || (i == 0 && prods[q].LeftRecursive && prods[q].Owner == n)) continue;
      const SymbolString rest(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end());
      for (const TermString& s : ll1.FirstOf(rest, ll1.Follow(prods[q].Owner)))
        if (!s.empty()) exits[n].insert(s.front());
    }
  }
  for (const ChoicePoint& choice : grammar.Choices()) {
    if (!IsLoop(choice) || !ll1.Reachable(choice.Owner)) continue;
    const auto goesOn = ViewTopTerms(lang, lang.NontTab[choice.Owner].DLRF);
    std::int32_t term = 0;
    for (std::int32_t t : exits[choice.Owner])
      if (goesOn.contains(t)) {
        term = t;
        break;
      }
    if (term == 0) continue;
    ExtendedLoss loss{&choice, true, 0, 0, {term}, std::nullopt};
    const auto around = examples.Around(choice.Owner, term);
    const auto itself = examples.Shortest({{kEdgeNonterminal, choice.Owner}});
    if (around && itself) {
      TermString input = around->Before;
      input.insert(input.end(), itself->begin(), itself->end());
      input.insert(input.end(), around->After.begin(), around->After.end());
      loss.Example = WithoutEnd(lang, std::move(input));
    }
    out.push_back(std::move(loss));
  }
}

// Inside a production: a member loses the strings that run past the end of its production to
// an earlier member that has them too, at the last level. The loss counts where an input that
// needs the member on such a string is rejected, and accepted once the decision on the string
// is taken the other way.
void ChoiceLosses(const Grammar& grammar, const LLSets& ll1, Examples& examples, std::vector<ExtendedLoss>& out) {
  const Language& lang = grammar.Lang();
  const std::int32_t k = std::clamp(lang.Lookahead, 1, 5);
  std::optional<LLSets> wide;
  if (k > 1) wide.emplace(grammar, k);
  const LLSets& sets = k > 1 ? *wide : ll1;
  if (!sets.Complete()) return;
  const auto size = static_cast<std::size_t>(k);
  for (const ChoicePoint& choice : grammar.Choices()) {
    if (IsLoop(choice) || choice.Members.size() < 2 || choice.Decision == 0 || !sets.Reachable(choice.Owner)) continue;
    const StringSet& follow = sets.Follow(choice.Owner);
    // Every string of a member, made when first asked for: a string counts as lost to the
    // preference only where the winner can begin with it too.
    std::map<std::int32_t, StringSet> strings;
    const auto holds = [&](std::int32_t m, const TermString& s) {
      auto [at, made] = strings.try_emplace(m);
      if (made)
        for (std::int32_t prod : grammar.ProductionsBelow(m))
          if (sets.Useful(prod)) at->second.merge(sets.FirstOf(grammar.RestFrom(prod, m), follow));
      return at->second.contains(s);
    };
    for (std::int32_t member : choice.Members) {
      // What the member's productions read before they end, when that is shorter than k.
      StringSet ending;
      for (std::int32_t prod : grammar.ProductionsBelow(member)) {
        if (!sets.Useful(prod)) continue;
        for (const TermString& s : sets.FirstOf(grammar.RestFrom(prod, member), StringSet{TermString{}}))
          if (s.size() < size) ending.insert(s);
      }
      if (ending.empty()) continue;
      int tries = 0;
      for (const TermString& s : sets.Then(ending, follow)) {
        if (s.empty() || tries >= kTriesPerMember) continue;
        TermString padded = s;
        if (lang.EoiCode != 0) padded.resize(size, lang.EoiCode);
        const std::int32_t winner = Selected(lang, choice.Decision, padded);
        if (winner == 0 || winner == member || !holds(winner, s)) continue;
        ++tries;
        const auto example = examples.AtChoice(choice, member, s.front());
        if (!example) continue;
        TermString input = example->Before;
        input.insert(input.end(), example->After.begin(), example->After.end());
        if (ReplayClassic(lang, input) != ClassicVerdict::Rejects) continue;
        // Taken the other way where the example reaches the choice, the decision lets the parser
        // read the whole input.
        const DecisionOverride undone{choice.First, example->Before.size(), padded, member};
        std::size_t read = 0;
        if (ReplayClassic(lang, input, &undone, &read) != ClassicVerdict::Accepts || read < input.size()) continue;
        out.push_back({&choice, false, member, winner, s, WithoutEnd(lang, std::move(input))});
        break;
      }
    }
  }
}

}  // namespace

std::vector<ExtendedLoss> FindExtendedLosses(const Grammar& grammar) {
  std::vector<ExtendedLoss> out;
  const Language& lang = grammar.Lang();
  if (lang.Extended == 0 || !lang.NontTab.Exists()) return out;
  bool loops = false, choices = false;
  for (const ChoicePoint& choice : grammar.Choices()) {
    loops = loops || IsLoop(choice);
    choices = choices || (!IsLoop(choice) && choice.Members.size() >= 2);
  }
  if (!loops && !choices) return out;
  const LLSets ll1(grammar, 1);
  if (!ll1.Complete()) return out;
  Examples examples(grammar, ll1);
  if (loops) LoopLosses(grammar, ll1, examples, out);
  if (choices) ChoiceLosses(grammar, ll1, examples, out);
  return out;
}

}  // namespace parvolen
