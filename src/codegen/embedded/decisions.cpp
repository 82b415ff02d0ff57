#include "codegen/embedded/decisions.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/diagnostic.h"
#include "findings/examples.h"
#include "findings/grammar.h"
#include "findings/places.h"
#include "findings/textbook.h"

namespace parvolen {
namespace {

// A lookahead string of k terminals (a shorter one padded with the end code) and the member it
// selects.
struct Entry {
  TermString String;
  std::int32_t Member;
};

// Two members that share a string of k terminals.
struct Clash {
  std::int32_t Holder;
  std::int32_t Claimant;
  TermString String;
};

// A shared string that a preferred member takes.
struct Preference {
  std::int32_t Winner;
  TermString String;
};

// The decision over the entries from the level on: a leaf where one member is left, else a
// child per terminal at the level. At level k two members left are a clash, unless exactly one
// of them is preferred, which takes the string; in a clash the earlier one (in `order`) keeps it.
DecisionNode Build(const Language& lang, const std::vector<const Entry*>& entries, std::size_t level, std::size_t k,
                   const std::vector<std::int32_t>& order, std::optional<Clash>& clash,
                   std::optional<Preference>& preferred) {
  std::set<std::int32_t> members;
  for (const Entry* e : entries) members.insert(e->Member);
  DecisionNode node;
  if (members.size() <= 1) {
    node.Member = members.empty() ? 0 : *members.begin();
    return node;
  }
  if (level == k) {
    std::vector<std::int32_t> ranked;
    for (std::int32_t m : order)
      if (members.count(m) != 0) ranked.push_back(m);
    std::vector<std::int32_t> winners;
    for (std::int32_t m : ranked)
      if (m != kLeaveLoop && EdgePreferred(lang, m)) winners.push_back(m);
    if (winners.size() == 1) {
      node.Member = winners.front();
      if (!preferred) preferred = Preference{winners.front(), entries.front()->String};
      return node;
    }
    node.Member = ranked.front();
    if (!clash) clash = Clash{ranked[0], ranked[1], entries.front()->String};
    return node;
  }
  std::map<std::int32_t, std::vector<const Entry*>> byTerm;
  for (const Entry* e : entries) byTerm[e->String[level]].push_back(e);
  for (const auto& [term, group] : byTerm)
    node.Next[term] = Build(lang, group, level + 1, k, order, clash, preferred);
  return node;
}

// What follows the nonterminal where it is not the leading symbol of its own left-recursive
// productions: the strings that end its tail loop.
StringSet LoopExit(const Grammar& grammar, const LLSets& sets, std::int32_t nont) {
  StringSet exit;
  if (nont == grammar.Lang().StartNont) exit.insert(TermString{});
  const auto& prods = grammar.Productions();
  for (std::size_t q = 1; q < prods.size(); ++q) {
    const auto prod = static_cast<std::int32_t>(q);
    if (!sets.Useful(prod)) continue;
    const SymbolString& right = grammar.RightSide(prod);
    for (std::size_t i = 0; i < right.size(); ++i) {
      if (right[i].Kind != kEdgeNonterminal || right[i].Code != nont) continue;
      if (i == 0 && prods[q].LeftRecursive && prods[q].Owner == nont) continue;
      const SymbolString rest(right.begin() + static_cast<std::ptrdiff_t>(i) + 1, right.end());
      const StringSet after = sets.FirstOf(rest, sets.Follow(prods[q].Owner));
      exit.insert(after.begin(), after.end());
    }
  }
  return exit;
}

class Decider {
 public:
  Decider(const Grammar& grammar, std::int32_t endCode) : grammar_(grammar), end_(endCode) {}

  // The decision of the choice point on k terminals.
  DecisionNode Decide(const LLSets& sets, const ChoicePoint& choice, std::optional<Clash>& clash,
                      std::optional<Preference>& preferred) const {
    const auto k = static_cast<std::size_t>(sets.K());
    std::vector<Entry> entries;
    std::vector<std::int32_t> order = choice.Members;
    const StringSet& follow = sets.Follow(choice.Owner);
    for (std::int32_t member : choice.Members)
      for (std::int32_t prod : grammar_.ProductionsBelow(member)) {
        if (!sets.Useful(prod)) continue;
        for (const TermString& s : sets.FirstOf(grammar_.RestFrom(prod, member), follow))
          entries.push_back({Pad(s, k), member});
      }
    if (IsLoop(choice)) {
      for (const TermString& s : LoopExit(grammar_, sets, choice.Owner)) entries.push_back({Pad(s, k), kLeaveLoop});
      order.push_back(kLeaveLoop);
    }
    std::vector<const Entry*> all;
    for (const Entry& e : entries) all.push_back(&e);
    return Build(grammar_.Lang(), all, 0, k, order, clash, preferred);
  }

  [[nodiscard]] static bool IsLoop(const ChoicePoint& choice) { return choice.InTails && choice.Prefix.empty(); }

  [[nodiscard]] TermString Pad(TermString s, std::size_t k) const {
    s.resize(k, end_);
    return s;
  }

 private:
  const Grammar& grammar_;
  std::int32_t end_;
};

// The names of a string's terminals, up to the first end of the input (which a string of k
// terminals repeats to its length).
std::string Spelled(const Grammar& grammar, const TermString& string, std::int32_t endCode) {
  std::string text;
  for (std::int32_t t : string) {
    if (!text.empty()) text += ' ';
    text += t == endCode && t == 0 ? "<end of input>" : grammar.TermName(t);
    if (t == endCode) break;
  }
  return text;
}

// The first production below the member (for a loop's leaving: none).
std::int32_t ProductionOf(const Grammar& grammar, std::int32_t member) {
  if (member == kLeaveLoop) return 0;
  const std::vector<std::int32_t> below = grammar.ProductionsBelow(member);
  return below.empty() ? 0 : below.front();
}

void ReportClash(const Grammar& grammar, const ChoicePoint& choice, const Clash& clash, std::int32_t k,
                 std::int32_t endCode, const ReadProgress* progress, std::string_view file) {
  const std::string owner = grammar.NontName(choice.Owner);
  const std::string shared = Spelled(grammar, clash.String, endCode);
  const auto member = [&grammar](std::int32_t m) {
    return m == kLeaveLoop ? std::string("leaving the tail loop") : grammar.EdgeText(m);
  };
  const std::string text = "the embeddable translator cannot decide the choice of [" + owner + "] " +
                           grammar.Where(choice) + " on " + std::to_string(k) + " terminal" + (k == 1 ? "" : "s") +
                           ": both " + member(clash.Claimant) + " and " + member(clash.Holder) + " can begin with '" +
                           shared + "'";
  std::string hint;
  LLSets ll1(grammar, 1);
  Examples examples(grammar, ll1);
  if (const auto before = examples.Reaching(choice); before.has_value()) {
    hint = before->empty() ? "the choice is reached, for instance, at the beginning of the input"
                           : "the choice is reached, for instance, after '" + Spelled(grammar, *before, endCode) + "'";
  }
  const std::int32_t claimant = ProductionOf(grammar, clash.Claimant);
  const std::int32_t holder = ProductionOf(grammar, clash.Holder);
  if (progress == nullptr) {
    ReportError(text + (hint.empty() ? "" : "; " + hint));
    return;
  }
  const DescriptionPlaces places(file, *progress);
  const auto at = [&](std::int32_t prod, std::int32_t member) {
    return prod != 0 ? places.AtEdge(grammar, prod, member) : places.AtLine(0);
  };
  Diagnostic error = at(claimant != 0 ? claimant : holder, claimant != 0 ? clash.Claimant : clash.Holder);
  error.Text = text;
  error.Hint = hint;
  Report(error);
  if (holder != 0 && claimant != 0) {
    Diagnostic note = at(holder, clash.Holder);
    note.Level = Severity::Note;
    note.Text = "the other production that can begin with '" + shared + "'";
    Report(note);
  }
}

// The note of a choice that a preference decides: the winner, at its place, and a string it takes.
void ReportPreference(const Grammar& grammar, const ChoicePoint& choice, const Preference& preferred, std::int32_t k,
                      std::int32_t endCode, const ReadProgress* progress, std::string_view file) {
  const std::string text = "the choice of [" + grammar.NontName(choice.Owner) + "] " + grammar.Where(choice) + " takes " +
                           grammar.EdgeText(preferred.Winner) + " on '" + Spelled(grammar, preferred.String, endCode) +
                           "' (" + std::to_string(k) + " terminal" + (k == 1 ? "" : "s") +
                           "), where another member could begin too: it is preferred";
  Diagnostic note;
  if (progress != nullptr) {
    const DescriptionPlaces places(file, *progress);
    note = places.AtEdge(grammar, ProductionOf(grammar, preferred.Winner), preferred.Winner);
  }
  note.Level = Severity::Note;
  note.Text = text;
  Report(note);
}

}  // namespace

std::int32_t DecisionDepth(const DecisionNode& node) {
  std::int32_t deepest = 0;
  for (const auto& [term, child] : node.Next) deepest = std::max(deepest, DecisionDepth(child));
  return node.Leaf() ? 0 : deepest + 1;
}

Status EmbeddedDecisions::Compute(const Language& lang, const ReadProgress* progress, std::string_view file) {
  decisions_.clear();
  depth_ = 1;
  const Grammar grammar(lang, progress);
  const std::int32_t lookahead = std::clamp(lang.Lookahead, 1, 5);
  const std::int32_t endCode = lang.EoiCode;
  const Decider decider(grammar, endCode);
  std::vector<const ChoicePoint*> pending;
  for (const ChoicePoint& choice : grammar.Choices())
    if (choice.Members.size() > 1 || Decider::IsLoop(choice)) pending.push_back(&choice);
  // Each choice is decided on the fewest terminals that tell its members apart: the sets for
  // more terminals are computed only while some choice still needs them.
  for (std::int32_t k = 1; k <= lookahead && !pending.empty(); ++k) {
    const LLSets sets(grammar, k);
    if (!sets.Complete()) {
      ReportError("the lookahead sets of " + std::to_string(k) +
                  " terminals are too large to compute for the embeddable translator");
      return stNotKindGiven;
    }
    std::vector<const ChoicePoint*> undecided;
    for (const ChoicePoint* choice : pending) {
      std::optional<Clash> clash;
      std::optional<Preference> preferred;
      DecisionNode node = decider.Decide(sets, *choice, clash, preferred);
      if ((clash || preferred) && k < lookahead) {
        undecided.push_back(choice);
        continue;
      }
      if (clash && lang.Extended == 0) {
        ReportClash(grammar, *choice, *clash, k, endCode, progress, file);
        return stNotKindGiven;
      }
      if (preferred) ReportPreference(grammar, *choice, *preferred, k, endCode, progress, file);
      depth_ = std::max(depth_, DecisionDepth(node));
      decisions_[choice->First] = std::move(node);
    }
    pending = std::move(undecided);
  }
  return stOk;
}

const DecisionNode* EmbeddedDecisions::At(std::int32_t first) const {
  const auto found = decisions_.find(first);
  return found == decisions_.end() ? nullptr : &found->second;
}

}  // namespace parvolen
