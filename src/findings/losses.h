// What the analysis loses: places where the generated parser rejects input that the grammar
// derives. The parser decides each choice on one terminal, by level 1 of the decision list, and
// repeats left-recursive tails while that terminal is in the top list of DLRF. Here each
// member's textbook LL(1) terminals are held against that.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "findings/examples.h"
#include "findings/grammar.h"
#include "findings/textbook.h"

namespace parvolen {

enum class LossKind {
  Missing,        // no level-1 node (or the tail loop stops): the parser reports a syntax error
  BelowLevelOne,  // the level-1 node leaves the choice to a later terminal, which the parser never reads
  EndUnseen,      // the end of the input decides, but without an end-of-input terminal the lexer
                  // answers it with a read error (reported once, for the first such place)
};

struct Loss {
  LossKind Kind = LossKind::Missing;
  const ChoicePoint* Choice = nullptr;
  std::int32_t Member = 0;
  std::vector<std::int32_t> Terms;  // the terminals concerned; 0 stands for the end of the input
  bool InLoop = false;              // Missing because the tail loop stops there
  std::optional<ExampleInput> Example;
  std::vector<std::int32_t> Sharing;  // BelowLevelOne: members that the lower levels tell apart
  std::int32_t RightList = 0;         // Missing: a right-recursive nonterminal behind the loss, or 0
  std::int32_t RightProd = 0;         // its right-recursive production
};

// Every loss, in the order of the choice points and their members.
[[nodiscard]] std::vector<Loss> FindLosses(const Grammar& grammar, const LLSets& ll1, Examples& examples);

}  // namespace parvolen
