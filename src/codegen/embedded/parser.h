// The parsing routines of the embeddable translator: one static function per nonterminal,
// calls along its production trie, the decision of each list where the trie branches (a plain
// switch where the coming terminal decides) and a loop over its left-recursive tails; a failed
// decision names the terminals it expected.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/embedded/decisions.h"
#include "codegen/embedded/plan.h"

namespace parvolen {

// The lists of expected terminals that the routines name, each written once.
class ExpectedLists {
 public:
  // The name of the array that holds the terminals (ending with -1).
  [[nodiscard]] std::string Name(const std::vector<std::int32_t>& terms);
  // Writes every array named so far.
  void Write(CodeWriter& out) const;

 private:
  std::map<std::string, std::int32_t> index_;
  std::vector<std::vector<std::int32_t>> lists_;
};

// What the routines use, so that NAME.c defines no static function that nothing calls (a C
// compiler warns about those): the routines of the nonterminals the starting symbol reaches, the
// actions and output terminals they call, and the token functions they need.
struct RoutineUse {
  std::vector<bool> Nonterminals;  // by code: a routine is written
  std::set<std::int32_t> Actions;
  std::set<std::int32_t> OutTerms;
  bool Match = false;
  bool Shift = false;
  bool Loops = false;  // some routine has a tail loop
};

// Declares the routines that are written.
void WriteEmbeddedDeclarations(const EmbeddedPlan& x, const RoutineUse& use, CodeWriter& out);

// Writes the routine of every nonterminal that the starting symbol's routine calls, directly or
// through others, naming the expected lists it needs and noting what it uses. A corrupt trie gives the status of the faulty index;
// nesting too deep for the generator's stack gives stNoMem.
[[nodiscard]] Status WriteEmbeddedRoutines(const EmbeddedPlan& x, const EmbeddedDecisions& decisions, CodeWriter& body,
                                           ExpectedLists& expected, RoutineUse& use);

}  // namespace parvolen
