#include "semantics/assembler.h"

#include "base/console.h"
#include "model/symbol_tables.h"
#include "semantics/instruction_set.h"
#include "semantics/instruction_text.h"

namespace parvolen {
namespace {

// Parses an operand text into the field the instruction puts it in.
Status Operand(Language& lang, std::string_view text, OperandField field, SemInst& inst) {
  switch (field) {
    case OperandField::Dst: return SemPar(lang, text, inst.Dst, inst);
    case OperandField::Src: return SemPar(lang, text, inst.Src, inst);
    case OperandField::Ignored: break;
  }
  return stOk;
}

// "#name": the action's instructions begin with the next instruction line.
Status StartAction(Language& lang, std::string_view name) {
  std::int32_t action = 0;
  if (Status st = FindAction(lang, name, action); st != stOk) return st;
  lang.ActionTab[action].FirstInst = lang.LastSemInst + 1;
  return stOk;
}

}  // namespace

Status AddSemAsmLabel(Language&, std::string_view, std::int32_t) {
  Print("\n *** AddSemAsmLabel ***\n");
  return stNotFinished;
}

Status SemAsmLine(Language& lang, std::string_view line) {
  if (line.empty()) return stOk;
  if (line.front() == '#') return StartAction(lang, line.substr(1));

  std::string_view label, mnemo, first, second;
  if (Status st = SplitSemAsmLine(line, label, mnemo, first, second); st != stOk) return st;

  const TableGrowth grow{lang.SemInstTab, lang.SemInsts, lang.LastSemInst, stTooManySemInsts};
  if (Status st = grow.Ready(); st != stOk) return st;
  if (Status st = grow.Room(); st != stOk) return st;
  const Instruction* m = InstructionNamed(mnemo);
  if (m == nullptr) return stUnknownMnemo;

  // The instruction is counted before its label and operands are examined.
  std::int32_t index = 0;
  if (Status st = grow.Take(index); st != stOk) return st;
  SemInst& inst = lang.SemInstTab[index];
  if (!label.empty()) return AddSemAsmLabel(lang, label, index);
  inst.Opcode = m->opcode;
  if (!m->assembled) {
    Print("\n *** SemAsmLine ***\n");
    return stNotFinished;
  }
  if (Status st = Operand(lang, first, m->first, inst); st != stOk) return st;
  return Operand(lang, second, m->second, inst);
}

}  // namespace parvolen
