// Continuation stack of the view construction: the edge lists still to be read after the
// nonterminals the unfolding has entered, innermost on top. One heap element per entry.
#pragma once

#include <cstdint>
#include <memory>

#include "base/status.h"

namespace parvolen {

class ContStack {
 public:
  ContStack() = default;
  ContStack(const ContStack&) = delete;
  ContStack& operator=(const ContStack&) = delete;
  ~ContStack() { Clear(); }

  [[nodiscard]] bool Empty() const { return top_ == nullptr; }
  // Puts an edge list on top; stNoMem when no memory.
  [[nodiscard]] Status Push(std::int32_t edges);
  // Takes the top off into edges; stPopEmpty on an empty stack.
  [[nodiscard]] Status Pop(std::int32_t& edges);
  // Makes copy hold the same entries in the same order; stNoMem (and copy empty) when no memory.
  [[nodiscard]] Status CopyTo(ContStack& copy) const;
  // Frees every element.
  void Clear();

 private:
  struct Element {
    std::unique_ptr<Element> below;
    std::int32_t edges;
  };
  std::unique_ptr<Element> top_;
};

}  // namespace parvolen
