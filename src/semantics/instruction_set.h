// The numbers of the semantic instruction set: opcodes and operand kinds of a SemInst.
// The actions generator translates these same numbers into C.
#pragma once

#include <cstdint>

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

}  // namespace parvolen
