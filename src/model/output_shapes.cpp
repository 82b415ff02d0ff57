#include "model/output_shapes.h"

#include <string>

#include "base/console.h"
#include "base/text.h"
#include "model/symbol_tables.h"

namespace parvolen {

Status OutTNewShape(Language* lang, std::int32_t number, const char* shape) {
  const bool noTable = lang != nullptr && !lang->OutTermTab.Exists();
  if (lang == nullptr || shape == nullptr || noTable) {
    PrintDiagHeader("OutTNewShape");
    if (lang == nullptr) Print(" Language handle\n");
    if (shape == nullptr) Print(" Invalid input string pointer\n");
    if (noTable) Print(" Output terminal space allocation\n");
    return stNotAllocated;
  }
  if (number < 1 || number > lang->LastOutTerm) return stBadOutTermCode;
  lang->OutTermTab[number].Shape.Set(shape);
  return stOk;
}

Status OutShapesLine(Language& lang, std::string_view line) {
  std::string_view name, shape;
  if (Status st = SplitAtEquals(line, name, shape); st != stOk) return st;
  std::int32_t number = 0;
  if (Status st = FindOutTerm(lang, name, number); st != stOk) return st;
  return OutTNewShape(&lang, number, std::string(shape).c_str());
}

}  // namespace parvolen
