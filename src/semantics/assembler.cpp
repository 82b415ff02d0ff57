#include "semantics/assembler.h"

namespace parvolen {

// Placeholder until the assembler is built.
Status SemAsmLine(Language&, std::string_view) { return stNotFinished; }

}  // namespace parvolen
