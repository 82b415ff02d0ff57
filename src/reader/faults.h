// Where in a description line a reading fault lies, for the located diagnostics of the reader:
// the line handlers return only a status, and these routines find the offending text of the
// line again from the status, the line and the record read so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/status.h"
#include "model/language.h"

namespace parvolen {

// The offending text of one line: its offset and length in the trimmed line, what is wrong
// with it and, where one helps, a hint.
struct LineFault {
  std::size_t Offset = 0;
  std::size_t Length = 0;
  std::string Text;
  std::string Hint;
};

// The fault of a line of the section of the row that failed with the status, for the sections
// whose lines name declared things: [Productions] (as below), the "name = shape" lines of
// [Keywords], [Symbols] and [OutShapes] (a missing "=", an unknown name, a shape declared
// before) and [Instructions] (an unknown action, mnemonic or operand, a missing operand or
// string delimiter). False when the status is none of these or the line shows no such fault.
[[nodiscard]] bool LocateLineFault(Language& lang, std::size_t row, std::string_view line, Status st,
                                   LineFault& fault);

// The fault of a production line that failed with the status: the name that no table knows
// (hinting at the nearest declared name, or saying that the table's section declares nothing),
// a missing "::=" or a misplaced delimiter. False when
// the status is none of these or the line shows no such fault.
[[nodiscard]] bool LocateProductionFault(Language& lang, std::string_view line, Status st, LineFault& fault);

// The fault of a section header that the reader does not accept while in the section of the
// row: one that only --prefix reads met in a classic (not embedded) reading, one that belongs
// before the current section, or an unknown one (hinting at the nearest header). False when the
// header is accepted there.
[[nodiscard]] bool LocateHeaderFault(std::string_view header, std::size_t row, bool embedded, LineFault& fault);

// A fault that the end handler of a section row finds, told in terms of the [Language] key
// whose value causes it (empty when no key is to blame, such as a missing StartingSymbol).
struct EndFault {
  std::string_view Key;
  std::string Text;
  std::string Hint;
};

// The fault of the end handler of the row that failed with the status: a starting symbol or a
// special terminal name (IdName, NumName, CharName, StrName, EofName) that names nothing
// declared, no starting symbol, no nonterminals. False when the status is none of these.
[[nodiscard]] bool LocateEndFault(Language& lang, std::size_t row, Status st, EndFault& fault);

// A section that a description needs entries of ([Nonterminals], [Productions]) and that has
// none when its end handler fails with stNotAllocated: when its header was read, the section is
// empty; else it is missing, and `next` is the header that followed in its place (empty at the
// end of the file). The hint gives the order of the sections. False for other rows or statuses.
[[nodiscard]] bool LocateMissingSection(const Language& lang, std::size_t row, Status st, bool headerRead,
                                        std::string_view next, LineFault& fault);

// The fault of a section header that came too early: the section `missing` must come before
// it and follows on line `later`. Names both, the line and the order of the sections.
[[nodiscard]] LineFault EarlySectionFault(std::string_view header, std::string_view missing, std::int64_t later);

}  // namespace parvolen
