#include "codegen/construct.h"

namespace parvolen {

// Placeholder until code generation is built: nothing is written.
Status Construct(Language* lang, std::string_view, ConsOptions* options) {
  if (lang == nullptr || options == nullptr) return stNotAllocated;
  return stOk;
}

}  // namespace parvolen
