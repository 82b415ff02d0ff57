// The explanation of one description, built once and written as text, JSON or a graph: the
// summary, the productions with their lines, the views, the choice points with their decision
// lists, the losses of the analysis, and where a failing read stopped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/trace.h"
#include "base/status.h"
#include "findings/kind_failure.h"
#include "findings/loss_warnings.h"
#include "findings/references.h"
#include "model/language.h"
#include "findings/read_progress.h"
#include "inspect/prefix_report.h"

namespace parvolen::inspect {

struct TableUse {
  std::string Name;  // the [Language] key of its capacity
  std::int32_t Count = 0;
  std::int32_t Capacity = 0;
};

struct SpecialTerminal {
  std::string Key;  // IdName, NumName, CharName, StrName, EofName, EolName
  std::string Name;
  std::int32_t Number = 0;  // 0 when not resolved to a terminal
};

struct SummaryReport {
  std::string Language;
  std::vector<TableUse> Tables;
  std::vector<SpecialTerminal> Specials;  // the ones named
  std::string StartingSymbol;
  std::int32_t Lookahead = 0;
  std::vector<std::pair<std::string, bool>> Options;
};

struct NamedSet {
  std::string Name;
  std::vector<Names> Strings;
};

struct NonterminalReport {
  std::string Name;
  std::int32_t Number = 0;
  bool Productive = false;
  bool Reachable = false;
  std::vector<ProductionRef> Productions;
  std::vector<NamedSet> Views;     // First, Follow, NLRF, DLRF, PureDLRF; none when not analysed
  std::vector<NamedSet> Textbook;  // FIRST and FOLLOW for the lookahead; none when not computed
};

struct DecisionRow {
  Names String;
  MemberRef Member;  // Edge empty: even the last level leaves the choice open
};

struct ChoiceReport {
  std::string Nonterminal;
  std::string Where;
  std::vector<MemberRef> Members;
  std::vector<DecisionRow> Decisions;
  bool Loop = false;       // the root of the left-recursive tails
  Names LoopTerms;         // the terminals the tail loop repeats on
};

struct FailureReport {
  Status Code = stOk;
  std::string Message;
  std::int64_t Line = 0;  // the last line read; 0 when none was
  std::string Text;
  bool AtEnd = false;  // every line was read; the failure came when the sections were ended
  // stNotKindAny.
  bool HaveReentry = false;
  std::string View;  // e.g. "NLRF of S (what can follow S where it occurs)"
  std::string Reentered;
  std::int32_t Depth = 0;
  std::vector<ChainStep> Chain;
  // stNotKindGiven.
  bool HaveConflict = false;
  std::string Nonterminal;
  std::string Where;
  MemberRef Holder;
  MemberRef Claimant;
  Names Claimed;
  bool HaveReach = false;
  Names Reach;  // a short input read before the choice point
};

struct Report {
  std::string File;
  Status Code = stOk;
  std::vector<std::string> Console;  // lines the reading printed (warnings, diagnostics)
  bool HaveRecord = false;
  bool Analysed = false;  // the views and decision lists are complete
  SummaryReport Summary;
  std::vector<NonterminalReport> Nonterminals;
  std::vector<ChoiceReport> Choices;
  std::int32_t TextbookK = 0;
  bool TextbookComplete = false;
  std::vector<WarningReport> Warnings;
  std::optional<FailureReport> Failure;
  // With --prefix: the embeddable translator's decisions, in place of the choice points and
  // warnings of the classic parser.
  std::optional<EmbeddedReport> Embedded;
};

// What one reading left behind, for BuildReport.
struct ReadOutcome {
  std::string File;
  Status Code = stOk;
  std::string Console;
  const Language* Lang = nullptr;  // nullptr when no record was made
  const ReadProgress* Progress = nullptr;
  const AnalysisTrace* Trace = nullptr;
};

// Builds the whole explanation from one reading.
[[nodiscard]] Report BuildReport(const ReadOutcome& outcome);

}  // namespace parvolen::inspect
