#include "reader/faults.h"

#include <utility>
#include <vector>

#include "base/diagnostic.h"
#include "base/text.h"
#include "model/symbol_tables.h"
#include "reader/prefix_only.h"
#include "reader/production_groups.h"
#include "reader/sections.h"
#include "reader/tokens_section.h"
#include "semantics/instruction_set.h"
#include "semantics/instruction_text.h"

namespace parvolen {
namespace {

// The names of the entries 1 to last of a name table, in their order.
template <class Record>
std::vector<std::string_view> Names(const Table<Record>& table, std::int32_t last) {
  std::vector<std::string_view> names;
  if (!table.Exists()) return names;
  for (std::int32_t i = 1; i <= last; ++i) names.push_back(table[i].Name.View());
  return names;
}

// One kind of item of a production: its delimiters, its table and how it is named.
struct ItemKind {
  char Open;
  char Close;
  Status Unknown;
  std::string_view Noun;
};

constexpr ItemKind kItemKinds[] = {
    {'(', ')', stUnknownTerminal, "terminal"},
    {'[', ']', stUnknownNonterminal, "nonterminal"},
    {'{', '}', stUnknownAction, "action"},
    {'<', '>', stUnknownOutTerm, "output terminal"},
};

// Looks the name up in the table of the kind; the declared names of that table for a hint.
Status Find(Language& lang, Status unknown, std::string_view name, std::vector<std::string_view>& names) {
  std::int32_t number = 0;
  switch (unknown) {
    case stUnknownTerminal:
      names = Names(lang.TermTab, lang.LastTerminal);
      return FindTerminal(lang, name, number);
    case stUnknownNonterminal:
      names = Names(lang.NontTab, lang.LastNonterminal);
      return FindNonterminal(lang, name, number);
    case stUnknownAction:
      names = Names(lang.ActionTab, lang.LastAction);
      return FindAction(lang, name, number);
    default:
      names = Names(lang.OutTermTab, lang.LastOutTerm);
      return FindOutTerm(lang, name, number);
  }
}

std::size_t OffsetIn(std::string_view line, std::string_view part) {
  return static_cast<std::size_t>(part.data() - line.data());
}

// Fills the fault for a name that the table of the kind does not know, when that is so.
bool UnknownName(Language& lang, std::string_view line, std::string_view name, const ItemKind& kind, Status st,
                 LineFault& fault) {
  std::vector<std::string_view> names;
  const Status found = Find(lang, kind.Unknown, name, names);
  if (found != st || (st != kind.Unknown && st != stNotAllocated)) return false;
  fault.Offset = OffsetIn(line, name);
  fault.Length = name.size();
  fault.Text = "unknown " + std::string(kind.Noun) + " '" + std::string(name) + "'";
  // A table that was never allocated: its section declares nothing.
  fault.Hint = st == stNotAllocated ? "the description declares no " + std::string(kind.Noun) + "s"
                                    : DidYouMean(name, names);
  return true;
}

// A "name = shape" line of [Keywords], [Symbols] or [OutShapes], whose name is of the kind: the
// missing "=", the unknown name, or the shape declared before.
bool LocateShapeFault(Language& lang, std::string_view line, Status st, const ItemKind& kind, LineFault& fault) {
  std::string_view name, shape;
  if (SplitAtEquals(line, name, shape) != stOk) {
    if (st != stMissingEquals) return false;
    fault = {0, line.size(), "expected '" + std::string(kind.Noun) + " = shape'", ""};
    return true;
  }
  if (UnknownName(lang, line, name, kind, st, fault)) return true;
  if (st != stKeywordDefined && st != stSymbolTwice) return false;
  const std::string_view noun = st == stKeywordDefined ? "keyword shape" : "symbol";
  fault = {OffsetIn(line, shape), shape.size(), std::string(noun) + " '" + std::string(shape) + "' declared twice", ""};
  return true;
}

constexpr std::string_view kOperandForms = "an operand is s0 to s2, r0 to r2, g0 to g2, a number, \"text\" or 'c'";

// The operand that an instruction line fails on, parsed again on a scratch record.
bool LocateOperandFault(std::string_view line, std::string_view mnemo, const Instruction& instruction,
                        std::string_view first, std::string_view second, Status st, LineFault& fault) {
  const struct {
    OperandField Field;
    std::string_view Text;
  } operands[] = {{instruction.first, first}, {instruction.second, second}};
  for (const auto& operand : operands) {
    if (operand.Field == OperandField::Ignored) continue;
    Language scratch;
    SemInst inst{};
    std::int32_t kind = 0;
    if (SemPar(scratch, operand.Text, kind, inst) != st) continue;
    // An empty operand has no place of its own: the end of the line stands for it.
    const std::size_t offset = operand.Text.empty() ? line.size() : OffsetIn(line, operand.Text);
    fault = {offset, operand.Text.size(), "", ""};
    const std::string quoted = "'" + std::string(operand.Text) + "'";
    switch (st) {
      case stMissingParameter:
        fault.Text = "missing operand of '" + std::string(mnemo) + "'";
        fault.Hint = "copy and move take two operands separated by a comma";
        if (!operand.Text.empty()) fault = {fault.Offset, fault.Length, quoted + " is no operand", std::string(kOperandForms)};
        break;
      case stMissingStrDelim: fault.Text = "string without its closing '\"'"; break;
      case stDigitExpected: fault.Text = "expected a digit after '" + std::string(1, operand.Text[0]) + "'"; break;
      default: fault.Text = "unknown operand " + quoted; break;
    }
    if (st == stUnknownOperand || st == stDigitExpected) fault.Hint = std::string(kOperandForms);
    return true;
  }
  return false;
}

// An [Instructions] line: the unknown action of a "#name" line, the unknown mnemonic, or the
// operand that cannot be parsed.
bool LocateInstructionFault(Language& lang, std::string_view line, Status st, LineFault& fault) {
  if (line.starts_with("#")) return UnknownName(lang, line, line.substr(1), kItemKinds[2], st, fault);
  std::string_view label, mnemo, first, second;
  if (SplitSemAsmLine(line, label, mnemo, first, second) != stOk) return false;
  const Instruction* instruction = InstructionNamed(mnemo);
  if (instruction == nullptr) {
    if (st != stUnknownMnemo) return false;
    std::vector<std::string_view> mnemonics;
    for (const Instruction& i : kInstructionSet) mnemonics.push_back(i.mnemonic);
    fault = {OffsetIn(line, mnemo), mnemo.size(), "unknown instruction '" + std::string(mnemo) + "'",
             DidYouMean(mnemo, mnemonics)};
    if (mnemo.empty()) fault = {OffsetIn(line, mnemo), 1, "missing instruction mnemonic", ""};
    return true;
  }
  return LocateOperandFault(line, mnemo, *instruction, first, second, st, fault);
}

// "sections come in this order: [Language], ...".
std::string SectionOrder() {
  std::string order;
  for (std::size_t r = 1; r < kSectionCount; ++r)
    if (!PrefixOnly(SectionTable()[r].Header)) order += (r > 1 ? ", " : "") + std::string(SectionTable()[r].Header);
  return "sections come in this order: " + order;
}

}  // namespace

bool LocateLineFault(Language& lang, std::size_t row, std::string_view line, Status st, LineFault& fault) {
  const std::string_view header = SectionTable()[row].Header;
  if (header == "[Productions]") return LocateProductionFault(lang, line, st, fault);
  if (header == "[Tokens]") return LocateTokensFault(lang, line, st, fault);
  if (header == "[Keywords]" || header == "[Symbols]") return LocateShapeFault(lang, line, st, kItemKinds[0], fault);
  if (header == "[OutShapes]") return LocateShapeFault(lang, line, st, kItemKinds[3], fault);
  if (header == "[Instructions]") return LocateInstructionFault(lang, line, st, fault);
  return false;
}

bool LocateProductionFault(Language& lang, std::string_view line, Status st, LineFault& fault) {
  std::string_view left;
  std::string_view right;
  if (SplitAtDefines(line, left, right) != stOk) {
    if (st != stMissingDefines) return false;
    fault = {0, line.size(), "expected '::=' between the nonterminal and its right side", ""};
    return true;
  }
  if (UnknownName(lang, line, left, kItemKinds[1], st, fault)) return true;
  const bool groups = lang.EmbeddedKeys != 0 && HasGroups(line);
  if (groups && (st == stEdgeLeftDelim || st == stEdgeRightDelim)) {
    GroupExpansion unused;
    return ExpandGroups(line, [](std::string_view) { return false; }, unused, fault) == st;
  }
  std::size_t pos = 0;
  while (pos < right.size()) {
    const ItemKind* kind = nullptr;
    for (const ItemKind& k : kItemKinds)
      if (right[pos] == k.Open) kind = &k;
    if (kind == nullptr && groups) {
      ++pos;  // a slash, an operator or '!'
      continue;
    }
    if (kind == nullptr) {
      if (st != stEdgeLeftDelim) return false;
      fault = {OffsetIn(line, right) + pos, 1, "expected '(', '[', '{' or '<' to begin a symbol of the right side",
               "the symbols of a right side follow each other without blanks"};
      if (std::string_view("/*+?!").find(right[pos]) != std::string_view::npos && lang.EmbeddedKeys == 0)
        fault.Hint = "only the embeddable translator reads groups and their operators: run with --prefix=NAME";
      return true;
    }
    const std::size_t end = right.find(kind->Close, pos + 1);
    if (end == std::string_view::npos) {
      if (st != stEdgeRightDelim) return false;
      fault = {OffsetIn(line, right) + pos, right.size() - pos,
               "'" + std::string(1, kind->Open) + "' without its closing '" + std::string(1, kind->Close) + "'", ""};
      return true;
    }
    const std::string_view name = right.substr(pos + 1, end - pos - 1);
    if (UnknownName(lang, line, name, *kind, st, fault)) return true;
    pos = end + 1;
  }
  return false;
}

bool LocateMissingSection(const Language& lang, std::size_t row, Status st, bool headerRead, std::string_view next,
                          LineFault& fault) {
  const struct {
    std::string_view Header;
    std::string_view Noun;
    std::int32_t Language::*Last;
  } needed[] = {{"[Nonterminals]", "nonterminals", &Language::LastNonterminal},
                {"[Productions]", "productions", &Language::LastProduction}};
  const std::string_view header = SectionTable()[row].Header;
  for (const auto& section : needed) {
    if (section.Header != header || st != stNotAllocated || lang.*section.Last != 0) continue;
    fault = {0, 0, "", SectionOrder()};
    if (headerRead) {
      fault.Text = "section " + std::string(header) + " declares no " + std::string(section.Noun);
      fault.Hint = "a description needs at least one of them";
    } else if (next.empty()) {
      fault.Text = "missing section " + std::string(header) + ": the description ends without it";
    } else {
      fault.Text = "missing section " + std::string(header) + ": it must come before " + std::string(next);
    }
    return true;
  }
  return false;
}

LineFault EarlySectionFault(std::string_view header, std::string_view missing, std::int64_t later) {
  return {0, header.size(),
          "section " + std::string(header) + " came too early: it must come after " + std::string(missing) +
              " (line " + std::to_string(later) + ")",
          SectionOrder()};
}

bool LocateHeaderFault(std::string_view header, std::size_t row, bool embedded, LineFault& fault) {
  if (std::string hint = PrefixOnlyHint(header, embedded); !hint.empty()) {
    fault = {0, header.size(), "unknown section " + std::string(header), std::move(hint)};
    return true;
  }
  const auto& rows = SectionTable();
  std::vector<std::string_view> headers;
  for (std::size_t r = 1; r < kSectionCount; ++r) {
    if (PrefixOnly(rows[r].Header) && !embedded) continue;
    if (EqualNoCase(header, rows[r].Header)) {
      if (r >= row) return false;
      fault = {0, header.size(),
               "section " + std::string(header) + " out of order: it must come before " +
                   std::string(rows[row].Header),
               ""};
      break;
    }
    headers.push_back(rows[r].Header);
  }
  if (fault.Text.empty()) {
    fault = {0, header.size(), "unknown section " + std::string(header), DidYouMean(header, headers)};
    if (!fault.Hint.empty()) return true;
    if (header.find("::=") != std::string_view::npos) {
      fault.Hint = "a line that begins with '[' is a section header, so no production line may begin with '['";
      return true;
    }
  }
  fault.Hint = SectionOrder();
  return true;
}

bool LocateEndFault(Language& lang, std::size_t row, Status st, EndFault& fault) {
  const std::string_view header = SectionTable()[row].Header;
  if (header == "[Nonterminals]") {
    if (st == stNotAllocated && !lang.NontTab.Exists()) {
      fault = {"", "the description declares no nonterminals", "list them in [Nonterminals]"};
      return true;
    }
    if (st != stUnknownNonterminal) return false;
    if (lang.StartingSymbol.Empty()) {
      fault = {"", "no starting symbol", "name it with StartingSymbol in [Language]"};
      return true;
    }
    const std::string_view name = lang.StartingSymbol.View();
    fault = {"StartingSymbol", "starting symbol '" + std::string(name) + "' is no declared nonterminal",
             DidYouMean(name, Names(lang.NontTab, lang.LastNonterminal))};
    return true;
  }
  if (header != "[Terminals]" || (st != stSpecialTerminalUnknown && st != stNotAllocated)) return false;
  const struct {
    std::string_view Key;
    const Name& Value;
  } specials[] = {{"IdName", lang.IdName},
                  {"NumName", lang.NumName},
                  {"CharName", lang.CharName},
                  {"StrName", lang.StrName},
                  {"EofName", lang.EofName}};
  // The first special name that no declared terminal has, as TerminalsEnd examines them.
  for (const auto& special : specials) {
    if (special.Value.Empty()) continue;
    const std::string_view name = special.Value.View();
    std::int32_t number = 0;
    const Status found = FindTerminal(lang, name, number);
    if (found == stOk) continue;
    fault = {special.Key, "'" + std::string(name) + "' of " + std::string(special.Key) + " is no declared terminal",
             found == stNotAllocated ? std::string("the description declares no terminals")
                                     : DidYouMean(name, Names(lang.TermTab, lang.LastTerminal))};
    return true;
  }
  return false;
}

}  // namespace parvolen
