// The parsing routine of one nonterminal: straight-line code along its production trie,
// switches on the coming terminal where the trie branches, a loop over its left-recursive tails.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "codegen/shared/code_writer.h"
#include "codegen/shared/trie_reader.h"
#include "codegen/construct.h"
#include "model/language.h"

namespace parvolen {

// Writes the routines of one parser file. The identifiers and the working room of the switches
// are made once and serve every routine of the file.
class ParserRoutines {
 public:
  ParserRoutines(CodeWriter& out, const Language& lang, const ConsOptions& options)
      : out_(out), trie_(lang), trace_(options.DebugSupport != 0) {}

  // Writes the box comment and the routine Nont_<name> of nonterminal nont. A corrupt trie gives
  // the status of the faulty index (stBadTerminalCode to stBadActionCode); nesting too deep for
  // the stack gives stNoMem.
  [[nodiscard]] Status ConNont(std::int32_t nont);

 private:
  Status ConNontSeq(std::int32_t edge, int level);
  Status ConSwitch(std::int32_t nodes, std::int32_t first, int level, bool fetch);
  Status ConLoopCond(std::int32_t views);
  Status ConCall(const EdgeRec& e, std::string_view tabs);
  // Orders the level-1 nodes of the decision list by the member they select (see ConSwitch).
  Status GroupLabels(std::int32_t nodes, std::size_t members, std::size_t labels);

  CodeWriter& out_;
  TrieReader trie_;
  bool trace_;
  // Stacks shared by the nested switches, each switch using the part above where it began:
  std::vector<std::int32_t> members_;     // the members of a switch in list order
  std::vector<std::size_t> starts_;       // per member, where its labels begin in labels_ (one more at the end)
  std::vector<const NodeRec*> labels_;    // the nodes selecting each member, grouped by member
  std::vector<std::int32_t> memberPos_;   // by edge: 1 + its place among the members of the switch being grouped, else 0
};

}  // namespace parvolen
