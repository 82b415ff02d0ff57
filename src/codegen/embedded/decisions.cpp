#include "codegen/embedded/decisions.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/diagnostic.h"
#include "codegen/embedded/replay.h"
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
  std::int32_t Prod;  // the production below the member that gives it; 0 for leaving a loop
};

// Two members that share a string of k terminals.
struct Clash {
  std::int32_t Holder;
  std::int32_t Claimant;
  TermString String;
};

// A shared string that a preferred member takes from another one.
struct PreferredString {
  std::int32_t Winner;
  std::int32_t Loser;
  TermString String;
};

// The decision over the entries from the level on: a leaf where one member is left, else a
// child per terminal at the level. At level k two members left are a clash, unless exactly one
// of them is preferred, which takes the string; in a clash the earlier one (in `order`) keeps it.
DecisionNode Build(const Language& lang, const std::vector<const Entry*>& entries, std::size_t level, std::size_t k,
                   const std::vector<std::int32_t>& order, std::optional<Clash>& clash,
                   std::optional<PreferredString>& preferred) {
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
      const std::int32_t loser = ranked.front() != winners.front() ? ranked.front() : ranked[1];
      if (!preferred) preferred = PreferredString{winners.front(), loser, entries.front()->String};
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

// A choice decided: the decision and the strings it was built from.
struct ChoiceDecision {
  DecisionNode Node;
  std::vector<Entry> Entries;
};

class Decider {
 public:
  Decider(const Grammar& grammar, std::int32_t endCode, bool extended)
      : grammar_(grammar), end_(endCode), extended_(extended) {}

  // The decision of the choice point on k terminals. Under Extended, and for a tail marked as
  // preferred, a tail of a loop is not taken on the strings of a pass that reads no terminal:
  // the next pass would meet the same terminals and the preference would take the tail again,
  // for ever; leaving takes them.
  ChoiceDecision Decide(const LLSets& sets, const ChoicePoint& choice, std::optional<Clash>& clash,
                        std::optional<PreferredString>& preferred) const {
    const auto k = static_cast<std::size_t>(sets.K());
    const bool loop = IsLoop(choice);
    ChoiceDecision decided;
    std::vector<Entry>& entries = decided.Entries;
    std::vector<std::int32_t> order = choice.Members;
    const StringSet& follow = sets.Follow(choice.Owner);
    for (std::int32_t member : choice.Members)
      for (std::int32_t prod : grammar_.ProductionsBelow(member)) {
        if (!sets.Useful(prod)) continue;
        const SymbolString rest = grammar_.RestFrom(prod, member);
        StringSet strings;
        if (loop && (extended_ || EdgePreferred(grammar_.Lang(), member))) {
          StringSet reading = sets.FirstOf(rest, StringSet{TermString{}});
          reading.erase(TermString{});
          strings = sets.Then(reading, follow);
        } else {
          strings = sets.FirstOf(rest, follow);
        }
        for (const TermString& s : strings) entries.push_back({Pad(s, k), member, prod});
      }
    if (loop) {
      for (const TermString& s : LoopExit(grammar_, sets, choice.Owner)) entries.push_back({Pad(s, k), kLeaveLoop, 0});
      order.push_back(kLeaveLoop);
    }
    std::vector<const Entry*> all;
    for (const Entry& e : entries) all.push_back(&e);
    decided.Node = Build(grammar_.Lang(), all, 0, k, order, clash, preferred);
    return decided;
  }

  [[nodiscard]] static bool IsLoop(const ChoicePoint& choice) { return choice.InTails && choice.Prefix.empty(); }

  [[nodiscard]] TermString Pad(TermString s, std::size_t k) const {
    s.resize(k, end_);
    return s;
  }

 private:
  const Grammar& grammar_;
  std::int32_t end_;
  bool extended_;
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

// The member that the decision takes on the string; 0 for none.
std::int32_t Taken(const DecisionNode& node, const TermString& string) {
  const DecisionNode* at = &node;
  for (std::size_t level = 0; !at->Leaf(); ++level) {
    const auto child = level < string.size() ? at->Next.find(string[level]) : at->Next.end();
    if (child == at->Next.end()) return 0;
    at = &child->second;
  }
  return at->Member;
}

// Example inputs for the diagnostics of the preference, made when the first one needs them.
class LazyExamples {
 public:
  explicit LazyExamples(const Grammar& grammar) : grammar_(grammar) {}
  Examples& Get() {
    if (!examples_) {
      ll1_ = std::make_unique<LLSets>(grammar_, 1);
      examples_ = std::make_unique<Examples>(grammar_, *ll1_);
    }
    return *examples_;
  }

 private:
  const Grammar& grammar_;
  std::unique_ptr<LLSets> ll1_;
  std::unique_ptr<Examples> examples_;
};

// An input that needs the member at the choice with the string coming: for leaving a loop, a
// sentence around the nonterminal that the string follows.
std::optional<TermString> NeedingInput(Examples& examples, const ChoicePoint& choice, std::int32_t member,
                                       const TermString& string) {
  const std::int32_t next = string.empty() ? 0 : string.front();
  std::optional<ExampleInput> input;
  if (member == kLeaveLoop) {
    const auto around = examples.Around(choice.Owner, next);
    const auto itself = examples.Shortest({{kEdgeNonterminal, choice.Owner}});
    if (around && itself) {
      input = ExampleInput{around->Before, around->After};
      input->Before.insert(input->Before.end(), itself->begin(), itself->end());
    }
  } else {
    input = examples.AtChoice(choice, member, next);
  }
  if (!input) return std::nullopt;
  TermString whole = input->Before;
  whole.insert(whole.end(), input->After.begin(), input->After.end());
  return whole;
}

// Where Extended settled the choice: a warning at each member that loses strings to an earlier
// one, with an input that needs it there; an error (stNotKindGiven) when a member loses every
// string, so that its productions are never taken (for leaving a loop: the loop never ends).
// Only an input that the replay of the decisions rejects is given; a member that loses strings
// without such an input (the grammar derives it another way, as with the dangling else) gets no
// warning.
Status ReportPreference(const Grammar& grammar, const ChoicePoint& choice, const ChoiceDecision& decided, std::int32_t k,
                        std::int32_t endCode, const ReadProgress* progress, std::string_view file,
                        LazyExamples& examples, const EmbeddedDecisions& complete) {
  struct Fate {
    bool Kept = false;
    const Entry* Lost = nullptr;
    std::int32_t Winner = 0;
  };
  std::map<std::int32_t, Fate> fates;
  for (const Entry& e : decided.Entries) {
    Fate& fate = fates[e.Member];
    const std::int32_t taken = Taken(decided.Node, e.String);
    if (taken == e.Member) {
      fate.Kept = true;
    } else if (fate.Lost == nullptr) {
      fate.Lost = &e;
      fate.Winner = taken;
    }
  }
  const auto name = [&grammar](std::int32_t m) {
    if (m == kLeaveLoop) return std::string("leaving the tail loop");
    const std::string edge = grammar.EdgeText(m);
    return edge == "end" ? std::string("ending the production") : edge;
  };
  std::vector<std::int32_t> order = choice.Members;
  order.push_back(kLeaveLoop);
  Status st = stOk;
  for (std::int32_t member : order) {
    const auto found = fates.find(member);
    if (found == fates.end() || found->second.Lost == nullptr) continue;
    const Fate& fate = found->second;
    const std::string shared = Spelled(grammar, fate.Lost->String, endCode);
    const std::string where = "the choice of [" + grammar.NontName(choice.Owner) + "] " + grammar.Where(choice);
    std::string text;
    if (fate.Kept) {
      text = "with Extended = yes " + where + " takes " + name(fate.Winner) + " on '" + shared + "' (Lookahead = " +
             std::to_string(k) + "), never " + name(member);
    } else if (member == kLeaveLoop) {
      text = "with Extended = yes the tail loop of [" + grammar.NontName(choice.Owner) + "] never ends: " +
             name(fate.Winner) + " is taken on every string that can follow it, such as '" + shared + "'";
    } else {
      text = "with Extended = yes " + name(member) + " is never taken at " + where + ": " + name(fate.Winner) +
             " is taken on every string it can begin with, such as '" + shared + "'";
    }
    const auto input = NeedingInput(examples.Get(), choice, member, fate.Lost->String);
    const bool shown = input && ReplayParse(grammar.Lang(), complete, *input) == Replay::Rejects;
    if (fate.Kept && !shown) continue;
    if (shown)
      text += input->empty() ? "; the empty input, which needs it, is rejected"
                             : "; input that needs it is rejected, such as '" + Spelled(grammar, *input, -1) + "'";
    Diagnostic d;
    if (progress == nullptr) {
      d.File = std::string(file);
    } else {
      const DescriptionPlaces places(file, *progress);
      const std::int32_t at = member == kLeaveLoop ? fate.Winner : member;
      const std::int32_t prod = member == kLeaveLoop ? ProductionOf(grammar, fate.Winner) : fate.Lost->Prod;
      d = prod != 0 ? places.AtEdge(grammar, prod, at) : places.AtLine(0);
    }
    d.Level = fate.Kept ? Severity::Warning : Severity::Error;
    d.Text = text;
    if (!fate.Kept) st = stNotKindGiven;
    Report(d);
  }
  return st;
}

// The note of a choice that a preference decides: the winner, at its place, and a string it takes.
void NotePreference(const Grammar& grammar, const ChoicePoint& choice, const PreferredString& preferred, std::int32_t k,
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

Status EmbeddedDecisions::Compute(const Language& lang, const ReadProgress* progress, std::string_view file,
                                  bool explain) {
  decisions_.clear();
  decided_.clear();
  depth_ = 1;
  Status outcome = stOk;
  const Grammar grammar(lang, progress);
  const std::int32_t lookahead = std::clamp(lang.Lookahead, 1, 5);
  const std::int32_t endCode = lang.EoiCode;
  const Decider decider(grammar, endCode, lang.Extended != 0);
  struct Settled {
    const ChoicePoint* Choice;
    ChoiceDecision Decisions;
    std::int32_t K;
  };
  std::vector<Settled> settled;
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
      std::optional<PreferredString> preferred;
      ChoiceDecision decisions = decider.Decide(sets, *choice, clash, preferred);
      if ((clash || preferred) && k < lookahead) {
        undecided.push_back(choice);
        continue;
      }
      DecidedChoice decided{choice->First, k, clash.has_value() || preferred.has_value(), {}};
      if (clash) decided.Clash = {clash->Holder, clash->Claimant, clash->String, Preference::None};
      if (clash && lang.Extended != 0) decided.Clash.SettledBy = Preference::Extended;
      if (clash && decided.Clash.SettledBy == Preference::None) {
        outcome = stNotKindGiven;
        if (!explain) {
          ReportClash(grammar, *choice, *clash, k, endCode, progress, file);
          return outcome;
        }
      }
      if (preferred) NotePreference(grammar, *choice, *preferred, k, endCode, progress, file);
      if (preferred && !clash) decided.Clash = {preferred->Winner, preferred->Loser, preferred->String, Preference::Marked};
      const bool extended = clash && decided.Clash.SettledBy == Preference::Extended;
      decided_.push_back(std::move(decided));
      depth_ = std::max(depth_, DecisionDepth(decisions.Node));
      decisions_[choice->First] = decisions.Node;
      if (extended) settled.push_back({choice, std::move(decisions), k});
    }
    pending = std::move(undecided);
  }
  // In the order of the choice points, whatever lookahead decided them.
  std::map<std::int32_t, DecidedChoice> byFirst;
  for (DecidedChoice& d : decided_) byFirst.emplace(d.First, std::move(d));
  decided_.clear();
  for (const ChoicePoint& choice : grammar.Choices())
    if (const auto found = byFirst.find(choice.First); found != byFirst.end()) decided_.push_back(found->second);
  // Where the preference settled a choice, the inputs it costs are checked on all decisions.
  LazyExamples examples(grammar);
  for (const Settled& s : settled) {
    const Status st = ReportPreference(grammar, *s.Choice, s.Decisions, s.K, endCode, progress, file, examples, *this);
    if (outcome == stOk) outcome = st;
  }
  return outcome;
}

const DecisionNode* EmbeddedDecisions::At(std::int32_t first) const {
  const auto found = decisions_.find(first);
  return found == decisions_.end() ? nullptr : &found->second;
}

}  // namespace parvolen
