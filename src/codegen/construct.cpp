#include "codegen/construct.h"

#include "base/console.h"
#include "codegen/classic/consact.h"
#include "codegen/classic/error_module.h"
#include "codegen/classic/lexer_module.h"
#include "codegen/classic/parser_module.h"
#include "codegen/classic/writer_module.h"

namespace parvolen {

Status ConsPrepare(const Language& lang, ConsOptions& options) {
  options.OpcodeCount.fill(0);
  for (std::int32_t i = 1; i <= lang.LastSemInst && lang.SemInstTab.Exists(); ++i) {
    const std::int32_t opcode = lang.SemInstTab[i].Opcode;
    if (opcode >= 0 && opcode < static_cast<std::int32_t>(options.OpcodeCount.size())) ++options.OpcodeCount[opcode];
  }
  options.ValueKinds = (lang.UseChars != 0) + (lang.UseStrings != 0) + (lang.NumTerm > 0) + (lang.IdTerm > 0);
  return stOk;
}

Status Construct(Language* lang, std::string_view targetDir, ConsOptions* options) {
  if (lang == nullptr || targetDir.data() == nullptr || options == nullptr) {
    PrintDiagHeader("Construct");
    if (lang == nullptr) Print(" Language handle\n");
    if (targetDir.data() == nullptr) Print(" Directory\n");
    if (options == nullptr) Print(" Options\n");
    return stNotAllocated;
  }
  if (Status st = ConsPrepare(*lang, *options); st != stOk) return st;

  // The order of the modules is binding: the lexer sets PlainIntValue, which the actions module
  // reads; the actions module sets OutputUsed, which the writer module reads; the parser comes
  // last and includes them all. Files completed before a failure stay in place.
  if (Status st = ConsError(*lang, targetDir); st != stOk) return st;
  if (Status st = ConsLex(*lang, targetDir, *options); st != stOk) return st;
  if (lang->LastAction > 0) {
    if (Status st = ConsAct(*lang, targetDir, *options); st != stOk) return st;
  }
  const bool hasWriter = lang->LastOutTerm > 0;
  if (hasWriter) {
    if (Status st = ConsWriter(*lang, targetDir, *options); st != stOk) return st;
  }
  return ConsParser(*lang, targetDir, hasWriter, *options);
}

}  // namespace parvolen
