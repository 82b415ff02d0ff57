#include "analysis/cont_stack.h"

#include <new>

namespace parvolen {

Status ContStack::Push(std::int32_t edges) {
  std::unique_ptr<Element> element(new (std::nothrow) Element{nullptr, edges});
  if (element == nullptr) return stNoMem;
  element->below = std::move(top_);
  top_ = std::move(element);
  return stOk;
}

Status ContStack::Pop(std::int32_t& edges) {
  if (top_ == nullptr) return stPopEmpty;
  edges = top_->edges;
  top_ = std::move(top_->below);
  return stOk;
}

Status ContStack::CopyTo(ContStack& copy) const {
  copy.Clear();
  std::unique_ptr<Element>* tail = &copy.top_;
  for (const Element* e = top_.get(); e != nullptr; e = e->below.get()) {
    tail->reset(new (std::nothrow) Element{nullptr, e->edges});
    if (*tail == nullptr) {
      copy.Clear();
      return stNoMem;
    }
    tail = &(*tail)->below;
  }
  return stOk;
}

void ContStack::Clear() {
  // One element at a time, so a long stack is not freed by a deep chain of destructors.
  while (top_ != nullptr) top_ = std::move(top_->below);
}

}  // namespace parvolen
