#include "inspect/prefix_report.h"

#include <utility>

#include "codegen/embedded/decisions.h"
#include "codegen/embedded/lexicon_check.h"
#include "findings/examples.h"
#include "findings/grammar.h"
#include "findings/strings.h"
#include "findings/textbook.h"

namespace parvolen::inspect {
namespace {

EmbeddedMember MemberAt(const Grammar& grammar, std::int32_t member) {
  if (member == kLeaveLoop) return {true, {"leave the loop", {}}};
  return {false, member > 0 ? MemberOf(grammar, member) : MemberRef{}};
}

// The decision as rows: each path of terminals down to the member it selects.
void Rows(const Grammar& grammar, const DecisionNode& node, Names& path, std::vector<EmbeddedRow>& rows) {
  if (node.Leaf()) {
    rows.push_back({path, MemberAt(grammar, node.Member)});
    return;
  }
  for (const auto& [term, child] : node.Next) {
    path.push_back(TermNames(grammar, {term}).front());
    Rows(grammar, child, path, rows);
    path.pop_back();
  }
}

// The string up to its first end of the input (a string of k terminals repeats the end code).
Names Shared(const Grammar& grammar, const std::vector<std::int32_t>& string) {
  std::vector<std::int32_t> cut;
  for (std::int32_t t : string) {
    cut.push_back(t);
    if (t == grammar.Lang().EoiCode) break;
  }
  return TermNames(grammar, cut);
}

}  // namespace

EmbeddedReport BuildEmbeddedReport(const Language& lang, const ReadProgress* progress, std::string_view file) {
  EmbeddedReport report;
  EmbeddedDecisions decisions;
  report.Code = decisions.Compute(lang, progress, file, true);
  report.Depth = decisions.Depth();
  const Grammar grammar(lang, progress);
  const LLSets ll1(grammar, 1);
  Examples examples(grammar, ll1);
  for (const DecidedChoice& decided : decisions.Decided()) {
    const ChoicePoint* choice = grammar.ChoiceAt(decided.First);
    const DecisionNode* node = decisions.At(decided.First);
    if (choice == nullptr) continue;
    EmbeddedChoice c;
    c.Nonterminal = grammar.NontName(choice->Owner);
    c.Where = grammar.Where(*choice);
    c.Loop = choice->InTails && choice->Prefix.empty();
    c.Lookahead = node != nullptr ? DecisionDepth(*node) : 0;
    Names path;
    if (node != nullptr) Rows(grammar, *node, path, c.Rows);
    if (decided.Clashed) {
      EmbeddedConflict conflict;
      conflict.Holder = MemberAt(grammar, decided.Clash.Holder);
      conflict.Claimant = MemberAt(grammar, decided.Clash.Claimant);
      conflict.Shared = Shared(grammar, decided.Clash.String);
      if (const auto reach = examples.Reaching(*choice); reach.has_value()) {
        conflict.HaveReach = true;
        conflict.Reach = NamesOf(grammar, *reach);
      }
      switch (decided.Clash.SettledBy) {
        case Preference::Extended:
          conflict.Preference = "Extended";
          break;
        case Preference::Marked:
          conflict.Preference = "marked with '!'";
          break;
        case Preference::None:
          break;
      }
      c.Conflict = std::move(conflict);
    }
    report.Choices.push_back(std::move(c));
  }
  if (report.Code == stOk) {
    regex::Lexicon lexicon;
    report.Code = BuildCheckedLexicon(lang, progress, file, lexicon);
  }
  return report;
}

}  // namespace parvolen::inspect
