// The decisions of the embeddable translator: at each choice point of the tries, which member
// the next terminals select, from the complete lookahead sets (FIRST_k of each member's rest,
// followed by FOLLOW_k of its owner) rather than from the analysis's decision lists, which can
// leave strings out. Each choice is decided on as few terminals as tell its members apart, up
// to the Lookahead of the description; a tail loop is a choice between its tails and leaving.
#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "findings/read_progress.h"
#include "model/language.h"

namespace parvolen {

// A member that leaves a tail loop.
inline constexpr std::int32_t kLeaveLoop = -1;

// A node of a decision: a leaf takes its member; an inner node looks at the terminal of its
// level (1 for the coming terminal) and goes on to the child of that terminal.
struct DecisionNode {
  std::int32_t Member = 0;                    // a leaf: the member's first edge, or kLeaveLoop
  std::map<std::int32_t, DecisionNode> Next;  // by terminal; the end of the input is the end code
  [[nodiscard]] bool Leaf() const { return Next.empty(); }
};

// What settled a clash of two members: nothing (the choice cannot be decided), or a
// preference that lets one member win. Another kind of preference is another member here.
enum class Preference {
  None,
  Extended,  // Extended = yes: the member written first wins
  Marked,    // the member marked with '!' in its production wins
};

// Two members of a choice that share a string of `Lookahead` terminals, the most it may look at.
struct DecisionClash {
  std::int32_t Holder = 0;    // the member that keeps the string (kLeaveLoop: leaving the loop)
  std::int32_t Claimant = 0;  // the other member
  std::vector<std::int32_t> String;  // padded with the end code to its length
  Preference SettledBy = Preference::None;
};

// How one choice point was decided, in the order of the choice points.
struct DecidedChoice {
  std::int32_t First = 0;      // the first edge of its list
  std::int32_t Lookahead = 1;  // the terminals of the lookahead sets it was decided on
  bool Clashed = false;
  DecisionClash Clash;
};

class EmbeddedDecisions {
 public:
  // Decides every choice point of the record. stNotKindGiven when two members share a string
  // of Lookahead terminals (unless Extended lets the earlier one win), with a diagnostic at
  // both productions on standard error, naming the string and an input that reaches it.
  // With `explain`, such a clash prints nothing and the deciding goes on (the earlier member
  // keeps the string), so that Decided() lists every clash; the status is still stNotKindGiven.
  [[nodiscard]] Status Compute(const Language& lang, const ReadProgress* progress, std::string_view file,
                               bool explain = false);

  // How each choice point that needs a decision was decided (what Compute got to).
  [[nodiscard]] const std::vector<DecidedChoice>& Decided() const { return decided_; }

  // The decision of the list that begins with the edge (a root of the tails: of its loop).
  [[nodiscard]] const DecisionNode* At(std::int32_t first) const;
  // The most terminals any decision looks at.
  [[nodiscard]] std::int32_t Depth() const { return depth_; }

 private:
  std::map<std::int32_t, DecisionNode> decisions_;  // by first edge of the list
  std::vector<DecidedChoice> decided_;
  std::int32_t depth_ = 1;
};

// The number of levels of a decision (1: the coming terminal alone decides).
[[nodiscard]] std::int32_t DecisionDepth(const DecisionNode& node);

}  // namespace parvolen
