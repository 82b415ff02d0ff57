#include "reader/sections.h"

#include "analysis/productions.h"
#include "model/lexical_symbols.h"
#include "model/output_shapes.h"
#include "model/symbol_tables.h"
#include "reader/language_section.h"
#include "reader/production_groups.h"
#include "reader/tokens_section.h"
#include "semantics/assembler.h"

namespace parvolen {
namespace {

// The order of the rows is the order of sections in a description, and others rely on it:
// the reader (reader.cpp) searches a header from the current row on and ends every row it
// passes, so a section is never revisited; the end handlers rely on the earlier rows being
// closed ([Terminals] resolves the [Language] names, [Nonterminals] the starting symbol, and
// [Productions] analyses a grammar whose symbols are complete); every description file and
// test case lists its sections in this order. [Tokens] exists only for the embeddable
// translator (reader/prefix_only.cpp): a classic reading passes over its row.
constexpr std::array<SectionRow, kSectionCount> kRows = {{
    {"dummy", nullptr, nullptr, nullptr},  // never matched: a header begins with "["
    {"[Language]", LanguageBegin, LanguageLine, LanguageEnd},
    {"[Terminals]", nullptr, TerminalsLine, TerminalsEnd},
    {"[Nonterminals]", nullptr, NonterminalsLine, NonterminalsEnd},
    {"[OutTerms]", nullptr, OutTermsLine, nullptr},
    {"[Actions]", nullptr, ActionsLine, nullptr},
    {"[Productions]", nullptr, ProductionsLine, ProductionsEnd},
    {"[Keywords]", nullptr, KeywordsLine, nullptr},
    {"[Symbols]", nullptr, SymbolsLine, nullptr},
    {"[Tokens]", nullptr, TokensLine, nullptr},
    {"[OutShapes]", nullptr, OutShapesLine, nullptr},
    {"[Instructions]", nullptr, SemAsmLine, nullptr},
}};

}  // namespace

const std::array<SectionRow, kSectionCount>& SectionTable() { return kRows; }

}  // namespace parvolen
