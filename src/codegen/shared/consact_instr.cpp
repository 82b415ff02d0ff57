#include "codegen/shared/consact_instr.h"

#include <algorithm>
#include <string_view>

#include "base/console.h"
#include "codegen/shared/framing.h"
#include "semantics/instruction_set.h"

namespace parvolen {
namespace {

constexpr std::string_view kNewTop = "ValStack[sp+1]";
constexpr std::string_view kTop = "ValStack[sp-0]";

bool IsImmediate(std::int32_t kind) { return kind == kOperandImm; }
bool IsValueSlot(std::int32_t kind) { return kind >= kOperandStack && kind < kOperandImm; }
bool IsStackSlot(std::int32_t kind) { return kind >= kOperandStack && kind < kOperandReg; }

// How the generated code names one immediate kind (by ImmType): the Value member, the ValType
// member and the printer of the writer module.
struct ImmForm {
  std::string_view member;
  std::string_view kindName;
  std::string_view printer;
};

const ImmForm* ImmFormOf(std::int32_t immType) {
  static constexpr ImmForm kForms[] = {
      {"s", "vtStr", "OutStr"},
      {"c", "vtChar", "OutChar"},
      {"i", "vtInt", "OutNum"},
      {"id", "vtId", "OutId"},
  };
  if (immType < kImmString || immType > kImmIdent) return nullptr;
  return &kForms[immType - kImmString];
}

// True when the language's values include the immediate's kind: the machine holds only the
// kinds of the language's terminal values.
bool HoldsKind(const Language& lang, std::int32_t immType) {
  switch (immType) {
    case kImmString: return lang.UseStrings != 0;
    case kImmChar: return lang.UseChars != 0;
    case kImmInt: return lang.NumTerm > 0;
    case kImmIdent: return lang.IdTerm > 0;
    default: return false;
  }
}

Status ImmediateText(const Language& lang, const SemInst& inst, std::string& text) {
  const bool textKind = inst.ImmType == kImmString || inst.ImmType == kImmIdent;
  const bool textKnown = inst.ImmVal >= 0 && static_cast<std::size_t>(inst.ImmVal) < lang.ImmStrings.size();
  if (textKind && !textKnown) {
    Print("*** Bad immediate value in consact:ConsAddr ***");
    return stNotFinished;
  }
  switch (inst.ImmType) {
    case kImmString: text = "\"" + lang.ImmStrings[inst.ImmVal] + "\""; return stOk;
    // Escaped, so that a quote or a backslash still gives a valid character constant.
    case kImmChar: text = "'" + MkCharEsc(static_cast<char>(inst.ImmVal)) + "'"; return stOk;
    case kImmInt: text = std::to_string(inst.ImmVal); return stOk;
    case kImmIdent: text = lang.ImmStrings[inst.ImmVal]; return stOk;
    default:
      Print("*** Bad immediate value in consact:ConsAddr ***");
      return stNotFinished;
  }
}

// What one instruction is translated with: the record, the options, the instruction, its row of
// the instruction set and the C expressions of the operands it uses.
struct Instr {
  CodeWriter& out;
  const Language& lang;
  ConsOptions& options;
  const SemInst& inst;
  const Instruction& row;
  std::string dst;
  std::string src;

  [[nodiscard]] int Kinds() const { return options.ValueKinds; }
  [[nodiscard]] bool Single() const { return Kinds() == 1; }
  // Values that live on the heap: copies duplicate them.
  [[nodiscard]] bool HeapValues() const { return lang.UseStrings != 0 || lang.IdTerm > 0; }
  [[nodiscard]] bool PlainInt() const { return options.PlainIntValue != 0; }
  // ValFree exists: tagged values, or plain string or identifier values.
  [[nodiscard]] bool Releases() const { return Kinds() > 1 || (Single() && HeapValues()); }
  [[nodiscard]] bool SrcImmediate() const { return IsImmediate(inst.Src); }
};

// True when the operands the instruction uses are integers: an immediate of integer kind, any
// other operand a value of a language with numbers.
bool IntegerOperands(const Instr& x) {
  const auto integer = [&x](bool used, std::int32_t kind) {
    if (!used) return true;
    return IsImmediate(kind) ? x.inst.ImmType == kImmInt : x.lang.NumTerm > 0;
  };
  return integer(x.row.ReadsDst(), x.inst.Dst) && integer(x.row.ReadsSrc(), x.inst.Src);
}

// The reason why the instruction cannot be carried out by this language's translator, or 0.
Status CheckMeaning(const Instr& x) {
  const Language& lang = x.lang;
  const SemInst& inst = x.inst;
  const Instruction& row = x.row;
  // Without output terminals the translator has no output file to print into.
  if (row.prints && lang.LastOutTerm <= 0) return stNotOpen;
  if (row.immediateDst != stOk && IsImmediate(inst.Dst)) return row.immediateDst;
  if (row.immediateSrc != stOk && IsImmediate(inst.Src)) return row.immediateSrc;
  // A language without terminal values has no Value: no stack, registers or fetched values.
  const bool usesValues =
      row.holdsValue || (row.ReadsDst() && IsValueSlot(inst.Dst)) || (row.ReadsSrc() && IsValueSlot(inst.Src));
  if (x.Kinds() == 0 && usesValues) return stSemNoValue;
  // FetchVal exists only in a lexer that keeps the terminals' values.
  if (inst.Opcode == kOpFetch && lang.IgnoreValues != 0) return stSemNoValue;
  if (row.integer != stOk && !IntegerOperands(x)) return row.integer;
  if (row.storesSource && x.SrcImmediate() && !HoldsKind(lang, inst.ImmType)) return stBadSemType;
  return stOk;
}

// ---- statements ----

void WriteIntCheck(Instr& x, const std::string& operand, bool immediate) {
  if (x.PlainInt() || immediate) return;
  x.out.Put("\tif  ( %s.WhoAmI != vtInt )\n\t\treturn\tecNotNum;\n", operand);
}

// A single-kind string or identifier value is a plain pointer, NULL until it is set and after
// it was moved away: copying or printing it gives ecNoVal, as an empty tagged value does.
void WriteEmptyCheck(Instr& x) {
  if (x.SrcImmediate()) return;
  x.out.Put("\tif  ( %s == NULL )\n\t\treturn\tecNoVal;\n", x.src);
}

// A value about to be overwritten gives its text back first, or it would be lost.
void WriteRelease(Instr& x, std::string_view dst) {
  if (x.Releases()) x.out.Put("\tValFree(&(%s));\n", dst);
}

// An empty tagged source gives ecNoVal, as ValCopy and ValMove answer it.
void WriteTagCheck(Instr& x, std::string_view operand) {
  x.out.Put("\tif  ( %s.WhoAmI == vtNone )\n\t\treturn\tecNoVal;\n", operand);
}

// dst gets a copy of the source: strings and identifiers are duplicated, an immediate sets the
// kind it has.
void WriteCopy(Instr& x, std::string_view dst) {
  CodeWriter& out = x.out;
  if (dst == x.src && x.Releases()) {
    // A copy onto itself keeps the value (a duplicate would replace it and lose the text).
    if (x.Single()) {
      WriteEmptyCheck(x);
    } else {
      WriteTagCheck(x, dst);
    }
    return;
  }
  if (x.Single()) {
    if (x.HeapValues()) {
      WriteEmptyCheck(x);
      WriteRelease(x, dst);
      out.Put("\tif  ( ( %s = strdup(%s) ) == NULL )\n\t\treturn\tecNoMem;\n", {dst, x.src});
    } else {
      out.Put("\t%s = %s;\n", {dst, x.src});
    }
    return;
  }
  WriteRelease(x, dst);
  const ImmForm* imm = x.SrcImmediate() ? ImmFormOf(x.inst.ImmType) : nullptr;
  if (imm == nullptr) {
    out.Put("\tif  ( ( e = ValCopy(&(%s), &(%s)) ) != ecOk )\n\t\treturn\te;\n", {dst, x.src});
  } else if (x.inst.ImmType == kImmString || x.inst.ImmType == kImmIdent) {
    out.Put("\tif  ( ( %s.Val.%s = strdup(%s) ) == NULL )\n\t\treturn\tecNoMem;\n\t%s.WhoAmI = %s;\n",
            {dst, imm->member, x.src, dst, imm->kindName});
  } else {
    out.Put("\t%s.Val.%s = %s;\n\t%s.WhoAmI = %s;\n", {dst, imm->member, x.src, dst, imm->kindName});
  }
}

// dst takes the source's value without a duplicate; the source is left empty.
void WriteMove(Instr& x, std::string_view dst, std::string_view src) {
  CodeWriter& out = x.out;
  if (dst == src && x.Releases()) {
    // Moved onto itself, the value ends empty as a moved source does: its text is freed.
    if (!x.Single()) WriteTagCheck(x, dst);
    WriteRelease(x, dst);
    return;
  }
  WriteRelease(x, dst);
  if (x.Single()) {
    out.Put("\t%s = %s;\n", {dst, src});
    if (x.HeapValues()) out.Put("\t%s= NULL;\t\t/* housekeeping */\n", src);
    return;
  }
  out.Put("\tif  ( ( e = ValMove(&(%s), &(%s)) ) != ecOk )\n\t\treturn\te;\n", {dst, src});
}

void WritePut(Instr& x) {
  CodeWriter& out = x.out;
  const std::string& src = x.src;
  if (x.SrcImmediate()) {
    // An immediate is printed by the printer of its own kind.
    out.Put("\tif  ( ( e = %s(%s) ) != ecOk )\n\t\treturn\te;\n", {ImmFormOf(x.inst.ImmType)->printer, src});
    return;
  }
  if (x.Single()) {
    if (x.HeapValues()) WriteEmptyCheck(x);
    if (x.PlainInt()) {
      out.Put("\tif  ( ( e = OutNum(");
    } else if (x.lang.UseChars != 0) {
      out.Put("\tif  ( ( e = OutChar(");
    } else {
      out.Put("\tif  ( ( e = OutStr(");
    }
    out.Put("%s) ) != ecOk )\n\t\treturn\te;\n", src);
    return;
  }
  out.Put("\tswitch  (%s.WhoAmI ) {\n", src);
  if (x.lang.UseStrings != 0) {
    out.Put("\t\tcase vtStr:\n");
    out.Put("\t\t\tif  ( ( e = OutStr(%s.Val.s) ) != ecOk )\n\t\t\t\t", src);
    out.Put("return\te;\n\t\t\tbreak;\n");
  }
  if (x.lang.UseChars != 0) {
    out.Put("\t\tcase vtChar:\n");
    out.Put("\t\t\tif  ( ( e = OutChar(%s.Val.c) ) != ecOk )\n\t\t\t\t", src);
    out.Put("return\te;\n\t\t\tbreak;\n");
  }
  if (x.lang.NumTerm > 0) {
    out.Put("\t\tcase vtInt:\n");
    out.Put("\t\t\tif  ( ( e = OutNum(%s.Val.i) ) != ecOk )\n\t\t\t\t", src);
    out.Put("return\te;\n\t\t\tbreak;\n");
  }
  if (x.lang.IdTerm > 0) {
    out.Put("\t\tcase vtId:\n");
    out.Put("\t\t\tif  ( ( e = OutId(%s.Val.id) ) != ecOk )\n\t\t\t\t", src);
    out.Put("return\te;\n\t\t\tbreak;\n");
  }
  out.Put("\t\tdefault:\n\t\t\treturn\tecFinish;\n");
  out.Put("\t}\n");
}

void WriteArithmetic(Instr& x) {
  CodeWriter& out = x.out;
  WriteIntCheck(x, x.dst, false);
  WriteIntCheck(x, x.src, x.SrcImmediate());
  const std::int32_t op = x.inst.Opcode;
  // Computed in unsigned arithmetic, so that a result beyond int wraps around instead of being
  // undefined behaviour.
  const std::string dst = x.dst + (x.PlainInt() ? "" : ".Val.i");
  const std::string src = x.src + (x.PlainInt() || x.SrcImmediate() ? "" : ".Val.i");
  out.Put("\t%s = (int)( (unsigned)%s", {dst, dst});
  out.Put(op == kOpAdd ? " + " : op == kOpSub ? " - " : " * ");
  out.Put("(unsigned)%s );\n", src);
}

void WriteSpaces(Instr& x) {
  CodeWriter& out = x.out;
  WriteIntCheck(x, x.src, x.SrcImmediate());
  out.Put("\tif  ( ( e = OutSpaces(");
  out.Put(x.src);
  if (!x.PlainInt() && !x.SrcImmediate()) out.Put(".Val.i");
  out.Put(") ) != ecOk )\n");
  out.Put("\t\treturn\te;\n");
}

// Slot k of the stack is ValStack[sp-k]: with fewer than k entries that index would fall below
// the array, so the instruction first checks the depth. Entry 0 is never used, so s0 (and s1
// of a pop, whose own test leaves at least one entry) needs no check.
void WriteDepthCheck(Instr& x) {
  const auto depth = [](std::int32_t kind) { return IsStackSlot(kind) ? kind - kOperandStack : 0; };
  const std::int32_t need =
      std::max(x.row.ReadsDst() ? depth(x.inst.Dst) : 0, x.row.ReadsSrc() ? depth(x.inst.Src) : 0);
  const std::int32_t covered = x.inst.Opcode == kOpPop ? 1 : 0;
  if (need > covered) x.out.Put("\tif  ( sp < %d )\n\t\treturn\tecNoStk;\n", std::to_string(need));
}

Status Translate(Instr& x) {
  CodeWriter& out = x.out;
  WriteDepthCheck(x);
  switch (x.inst.Opcode) {
    case kOpPop:
      out.Put("\tif  ( sp <= 0 )\n\t\treturn\tecNoStk;\n");
      WriteMove(x, x.dst, kTop);
      out.Put("\tsp--;\n");
      break;
    case kOpPush:
      out.Put("\tif  ( sp >= SemStackSize )\n");
      out.Put("\t\treturn\tecStkOvr;\n");
      WriteCopy(x, kNewTop);  // the entry above the top is empty: its release frees nothing
      out.Put("\tsp++;\n");
      break;
    case kOpCopy: WriteCopy(x, x.dst); break;
    case kOpMove: WriteMove(x, x.dst, x.src); break;
    case kOpPut: WritePut(x); break;
    case kOpFetch:
      WriteRelease(x, x.dst);
      out.Put("\tif  ( ( e = FetchVal(&(%s)) ) != ecOk )\n\t\treturn\te;\n", x.dst);
      break;
    case kOpAdd:
    case kOpSub:
    case kOpMul: WriteArithmetic(x); break;
    case kOpWriteln:
      out.Put("\tif  ( ( e = OutId(\"\\n\") ) != ecOk )\n");
      out.Put("\t\treturn\te;\n");
      break;
    case kOpSpaces: WriteSpaces(x); break;
    default: return stNotFinished;
  }
  if (x.row.prints) x.options.OutputUsed = 1;  // a printer is called: the writer module must offer them
  return stOk;
}

}  // namespace

Status ConsAddr(const Language& lang, std::int32_t kind, const SemInst* inst, std::string& text) {
  text.clear();
  if (kind >= kOperandStack && kind < kOperandReg) {
    text = "ValStack[sp-" + std::to_string(kind - kOperandStack) + "]";
  } else if (kind >= kOperandReg && kind < kOperandGReg) {
    text = "Register[" + std::to_string(kind - kOperandReg) + "]";
  } else if (kind >= kOperandGReg && kind < kOperandImm) {
    text = "GRegister[" + std::to_string(kind - kOperandGReg) + "]";
  } else if (kind == kOperandImm) {
    if (inst == nullptr) return stNotAllocated;
    return ImmediateText(lang, *inst, text);
  } else {
    Print("*** Unknown addressing in consact:ConsAddr ***\n");
    return stNotFinished;
  }
  return stOk;
}

bool UsesGRegister(const SemInst& inst) {
  const Instruction* row = InstructionOf(inst.Opcode);
  if (row == nullptr) return false;
  const auto isG = [](std::int32_t kind) { return kind >= kOperandGReg && kind < kOperandImm; };
  return (row->ReadsDst() && isG(inst.Dst)) || (row->ReadsSrc() && isG(inst.Src));
}

Status ConsInstr(CodeWriter& out, const Language& lang, const SemInst& inst, ConsOptions& options) {
  switch (inst.Opcode) {
    case 0: return stOk;  // an empty entry
    case kOpReturn: return stSemReturn;
    case kOpGen:
      out.Put("\t/* !!! generate quadruple - replace by your code !!! */\n");
      return stOk;
    default: break;
  }
  const Instruction* row = InstructionOf(inst.Opcode);
  if (row == nullptr) return stNotFinished;  // no instruction: nothing is written
  Instr x{out, lang, options, inst, *row, {}, {}};
  // Every operand is formed before anything is written: an operand without a C form leaves
  // the whole instruction out rather than half a statement.
  if (row->ReadsDst()) {
    if (Status st = ConsAddr(lang, inst.Dst, &inst, x.dst); st != stOk) return st;
  }
  if (row->ReadsSrc()) {
    if (Status st = ConsAddr(lang, inst.Src, &inst, x.src); st != stOk) return st;
  }
  if (Status st = CheckMeaning(x); st != stOk) return st;
  return Translate(x);
}

}  // namespace parvolen
