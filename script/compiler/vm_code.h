// Byte code: one opcode byte followed directly by its operands (bytes,
// little-endian int32s and doubles, zero-terminated UTF-16LE strings), with
// nothing beside it. Stored documents keep byte code, so this layout and the
// numbering of the opcodes never change.
#pragma once

#include <cstdint>

#include "script/compiler/vm_opcode_table.h"

// The layout of the operand bytes after an opcode (see vm_opcode_table.h).
enum VmOperandLayout : unsigned char {
  kVmOperandsNone,
  kVmOperandsByte,
  kVmOperandsInt,
  kVmOperandsConstant,
  kVmOperandsNameByte,
  kVmOperandsFunction,
};

enum VmOpcode : unsigned char {
#define VM_OPCODE_ENUM(number, name, operands, stack, meaning) OP_##name = number,
  VM_OPCODE_TABLE(VM_OPCODE_ENUM)
#undef VM_OPCODE_ENUM
};

#define VM_OPCODE_ONE(number, name, operands, stack, meaning) +1
const int kVmOpcodeCount = 0 VM_OPCODE_TABLE(VM_OPCODE_ONE);
#undef VM_OPCODE_ONE

// The operand layout of each opcode, by number.
inline constexpr VmOperandLayout kVmOpcodeOperands[kVmOpcodeCount] = {
#define VM_OPCODE_OPERANDS(number, name, operands, stack, meaning) kVmOperands##operands,
    VM_OPCODE_TABLE(VM_OPCODE_OPERANDS)
#undef VM_OPCODE_OPERANDS
};

// The numbers run from 0 without a gap, in the order of the table.
constexpr bool VmOpcodesNumberedInOrder() {
  int n = 0;
#define VM_OPCODE_IN_ORDER(number, name, operands, stack, meaning) (number) == n++ &&
  return VM_OPCODE_TABLE(VM_OPCODE_IN_ORDER) true;
#undef VM_OPCODE_IN_ORDER
}
static_assert(VmOpcodesNumberedInOrder(), "opcodes are numbered 0, 1, 2, ... in table order");

// Bytes of the operands of a layout; kVmOperandBytesVary when they depend
// on the operands themselves (a constant's type, a string's length).
const int kVmOperandBytesVary = -1;
constexpr int VmOperandBytes(VmOperandLayout layout) {
  return layout == kVmOperandsNone ? 0 : layout == kVmOperandsByte ? 1 : layout == kVmOperandsInt ? 4 : kVmOperandBytesVary;
}
// The same for an opcode: one opcode byte plus its operands, or
// kVmOperandBytesVary.
constexpr int VmInstructionBytes(int opcode) {
  return VmOperandBytes(kVmOpcodeOperands[opcode]) == kVmOperandBytesVary ? kVmOperandBytesVary
                                                                             : 1 + VmOperandBytes(kVmOpcodeOperands[opcode]);
}

// Modes of OP_VARIABLE.
const unsigned char kVmVariableExisting = 0;
const unsigned char kVmVariableCreate = 1;
const unsigned char kVmVariableDeclare = 2;

// A growing buffer of byte code with the writers of every operand kind. The
// buffer grows in steps of 4096 bytes. A write that cannot grow the buffer
// marks the code as failed and writes nothing more.
class VmCode {
public:
  static constexpr int kGrowStep = 4096;

  VmCode() {}
  ~VmCode();
  VmCode(const VmCode&) = delete;
  VmCode& operator=(const VmCode&) = delete;

  bool EmitBytes(const void* data, int count);
  bool EmitByte(int value) {
    unsigned char b = static_cast<unsigned char>(value);
    return EmitBytes(&b, 1);
  }
  bool EmitInt(int32_t value);
  bool EmitDouble(double value);
  // The UTF-16 units of the text (null: none) and one zero unit.
  bool EmitString(const wchar_t* text);
  // Writes value over the four bytes at offset; false when they are not all
  // inside the code.
  bool PatchInt(int offset, int32_t value);

  void Clear();  // size 0, buffer freed, no failure

  const unsigned char* Bytes() const { return bytes_; }
  int Size() const { return size_; }
  int Capacity() const { return capacity_; }
  bool Failed() const { return failed_; }

private:
  unsigned char* bytes_ = nullptr;
  int size_ = 0;
  int capacity_ = 0;
  bool failed_ = false;
};

// Readers of little-endian operands at p (the caller checks the room).
inline int32_t ReadCodeInt(const unsigned char* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}
double ReadCodeDouble(const unsigned char* p);

// The operand decoders of the machine and the disassembler, at *at in code
// of size bytes. A byte, int32 or double that would extend past the end of
// the code (or an offset below 0) is not read: the answer is false and *at
// stays.
inline bool DecodeCodeByte(const unsigned char* code, int size, int* at, int* value) {
  if (*at < 0 || *at > size - 1) return false;
  *value = code[(*at)++];
  return true;
}
inline bool DecodeCodeInt(const unsigned char* code, int size, int* at, int32_t* value) {
  if (*at < 0 || *at > size - 4) return false;
  *value = ReadCodeInt(code + *at);
  *at += 4;
  return true;
}
inline bool DecodeCodeDouble(const unsigned char* code, int size, int* at, double* value) {
  if (*at < 0 || *at > size - 8) return false;
  *value = ReadCodeDouble(code + *at);
  *at += 8;
  return true;
}
// A string operand starting at *at (0 or more): *units becomes the number of
// UTF-16 units before its zero unit, and *at moves past that zero unit. When
// the code ends first, *units counts the whole units up to the end, *at
// becomes size and the answer is false.
inline bool ScanCodeString(const unsigned char* code, int size, int* at, int* units) {
  int start = *at;
  for (int pc = start; pc <= size - 2; pc += 2) {
    if (code[pc] == 0 && code[pc + 1] == 0) {
      *units = (pc - start) / 2;
      *at = pc + 2;
      return true;
    }
  }
  *units = start <= size - 2 ? (size - start) / 2 : 0;
  *at = size;
  return false;
}
