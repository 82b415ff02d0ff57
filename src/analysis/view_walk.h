// A faster way to the same views: the unfolding of ViewMakeOne, with what follows a terminal
// worked out once per (edge list, remaining lookahead, continuation, follow flag) and reused.
//
// After a terminal edge no work mark of a smaller remaining lookahead is set (only the calls at
// that lookahead set them, and they have all returned), so the strings the rest of the walk adds
// depend on nothing but that key. The walker collects a view's strings in a trie of its own,
// outside the view table, and then inserts them into the table in the order in which the plain
// unfolding would first reach each of them: the view numbers, LastView and the point where the
// table fills up are exactly those of ViewMakeOne. Any other failure leaves the table untouched,
// and the caller computes that view with ViewMakeOne, which gives the status, trace and partial
// results of the plain unfolding.
#pragma once

#include <cstdint>
#include <memory>

#include "model/language.h"
#include "base/status.h"

namespace parvolen {

class ViewWalker {
 public:
  explicit ViewWalker(Language* lang);
  ~ViewWalker();
  ViewWalker(const ViewWalker&) = delete;
  ViewWalker& operator=(const ViewWalker&) = delete;

  // The strings of the edge list at `edges` up to `lookahead` terminals (the follow flag as for
  // ViewMakeOne, with an empty continuation), merged into the empty list headed by the slot.
  // Sets `unfold` and writes nothing when the walk met a failure: the caller then runs
  // ViewMakeOne. Otherwise the status is that of inserting the strings into the view table.
  [[nodiscard]] Status Make(std::int32_t edges, std::int32_t* slot, std::int32_t lookahead, bool follow,
                            bool& unfold);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace parvolen
