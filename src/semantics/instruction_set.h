// The semantic instruction set: opcodes, operand kinds, and the one table that says, for each
// instruction, its mnemonic, which operands it reads and writes, whether it prints and which
// values it needs. The assembler and the actions and writer generators all read this table;
// adding an instruction means a row here and its C translation (codegen/shared/consact_instr.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "base/status.h"

namespace parvolen {

enum : std::int32_t {
  kOpPop = 1,
  kOpPush = 2,
  kOpCopy = 3,
  kOpMove = 4,
  kOpPut = 5,
  kOpReturn = 6,
  kOpFetch = 7,
  // 8 has no mnemonic.
  kOpAdd = 9,
  kOpSub = 10,
  kOpMul = 11,
  kOpWriteln = 12,
  kOpSpaces = 13,
  kOpGen = 14,
};

// Operand kinds: s0..s2 are 1..3 (value stack from its top), r0..r2 are 4..6 (registers),
// g0..g2 are 7..9 (g registers), 10 is the instruction's immediate value.
enum : std::int32_t {
  kOperandNone = 0,
  kOperandStack = 1,
  kOperandReg = 4,
  kOperandGReg = 7,
  kOperandImm = 10,
};

// Which field of a SemInst an operand text of the instruction line fills.
enum class OperandField : std::uint8_t { Ignored, Dst, Src };

struct Instruction {
  std::string_view mnemonic;  // matched exactly (case-sensitive)
  std::int32_t opcode;
  OperandField first;   // the operand text before the comma
  OperandField second;  // the operand text after it
  bool assembled;       // false: the mnemonic is recognised, then refused as not implemented
  bool prints;          // writes to the translator's output: needs output terminals
  bool holdsValue;      // uses a Value whatever its operands (the value stack, a fetched value)
  bool storesSource;    // stores its source in a value: an immediate must be of a kind the language holds
  Status integer;       // non-zero: its operands are integers, else this status
  Status immediateDst;  // non-zero: the status for an immediate destination
  Status immediateSrc;  // non-zero: the status for an immediate source

  [[nodiscard]] constexpr bool ReadsDst() const { return first == OperandField::Dst || second == OperandField::Dst; }
  [[nodiscard]] constexpr bool ReadsSrc() const { return first == OperandField::Src || second == OperandField::Src; }
};

namespace instruction_rows {
using enum OperandField;
// clang-format off
inline constexpr Instruction kRows[] = {
  // mnemonic  opcode      first    second   assembled prints value  stores integer          imm. dst          imm. src
  {"pop",     kOpPop,     Dst,     Ignored, true,     false, true,  false, stOk,            stMoveImmediate,  stOk},
  {"push",    kOpPush,    Src,     Ignored, true,     false, true,  true,  stOk,            stOk,             stOk},
  {"copy",    kOpCopy,    Dst,     Src,     true,     false, false, true,  stOk,            stWriteImmediate, stOk},
  {"move",    kOpMove,    Dst,     Src,     true,     false, false, false, stOk,            stMoveImmediate,  stMoveImmediate},
  {"put",     kOpPut,     Src,     Ignored, true,     true,  false, false, stOk,            stOk,             stOk},
  {"return",  kOpReturn,  Ignored, Ignored, true,     false, false, false, stOk,            stOk,             stOk},
  {"fetch",   kOpFetch,   Dst,     Ignored, true,     false, true,  false, stOk,            stWriteImmediate, stOk},
  {"add",     kOpAdd,     Dst,     Src,     true,     false, false, false, stSemAddNotInt,  stWriteImmediate, stOk},
  {"sub",     kOpSub,     Dst,     Src,     true,     false, false, false, stSemSubNotInt,  stWriteImmediate, stOk},
  {"mul",     kOpMul,     Dst,     Src,     true,     false, false, false, stSemMulNotInt,  stWriteImmediate, stOk},
  {"writeln", kOpWriteln, Ignored, Ignored, true,     true,  false, false, stOk,            stOk,             stOk},
  {"spaces",  kOpSpaces,  Src,     Ignored, true,     true,  false, false, stBadSemType,    stOk,             stOk},
  {"gen",     kOpGen,     Ignored, Ignored, false,    false, false, false, stOk,            stOk,             stOk},
};
// clang-format on
}  // namespace instruction_rows

inline constexpr const auto& kInstructionSet = instruction_rows::kRows;

// One above the greatest opcode: the size of a table indexed by opcode.
inline constexpr std::size_t kOpcodeLimit = [] {
  std::int32_t greatest = 0;
  for (const Instruction& i : kInstructionSet) greatest = i.opcode > greatest ? i.opcode : greatest;
  return static_cast<std::size_t>(greatest) + 1;
}();

namespace instruction_rows {
constexpr bool Distinct() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (kRows[i].opcode <= 0) return false;
    for (std::size_t j = 0; j < i; ++j)
      if (kRows[i].opcode == kRows[j].opcode || kRows[i].mnemonic == kRows[j].mnemonic) return false;
  }
  return true;
}
}  // namespace instruction_rows
static_assert(instruction_rows::Distinct(), "each row has its own positive opcode and its own mnemonic");

// The row of an opcode, or nullptr for a number that is no instruction.
[[nodiscard]] constexpr const Instruction* InstructionOf(std::int32_t opcode) {
  for (const Instruction& i : kInstructionSet)
    if (i.opcode == opcode) return &i;
  return nullptr;
}

// The row of a mnemonic, or nullptr.
[[nodiscard]] constexpr const Instruction* InstructionNamed(std::string_view mnemonic) {
  for (const Instruction& i : kInstructionSet)
    if (i.mnemonic == mnemonic) return &i;
  return nullptr;
}

}  // namespace parvolen
