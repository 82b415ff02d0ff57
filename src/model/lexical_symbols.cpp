#include "model/lexical_symbols.h"

namespace parvolen {

// Placeholder until the keyword and symbol sections are built.
Status NewKeyword(Language*, std::string_view, std::int32_t) { return stNotFinished; }
Status SymbNew(Language*, std::int32_t*) { return stNotFinished; }
Status SymbIns(Language*, std::int32_t*, char, std::int32_t, std::int32_t**) { return stNotFinished; }
Status SymbNewShape(Language*, const char*, std::int32_t) { return stNotFinished; }
Status KeywordsLine(Language&, std::string_view) { return stNotFinished; }
Status SymbolsLine(Language&, std::string_view) { return stNotFinished; }

}  // namespace parvolen
