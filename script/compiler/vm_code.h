// Byte code: one opcode byte followed directly by its operands (bytes,
// little-endian int32s and doubles, zero-terminated UTF-16LE strings), with
// nothing beside it. Stored documents keep byte code, so this layout and the
// numbering of the opcodes never change.
#pragma once

#include <cstdint>

enum VmOpcode : unsigned char {
  OP_NOP = 0,
  OP_PUSH_CONST = 1,
  OP_VARIABLE = 2,
  OP_INDEX = 3,
  OP_FIELD = 4,
  OP_LOAD = 5,
  OP_STORE = 6,
  OP_DUP = 7,
  OP_POP = 8,
  OP_NEW_ARRAY = 9,
  OP_NEW_OBJECT = 10,
  OP_SWAP = 11,
  OP_ADD = 12,
  OP_SUB = 13,
  OP_MUL = 14,
  OP_DIV = 15,
  OP_MOD = 16,
  OP_SHL = 17,
  OP_SHR = 18,
  OP_NEG = 19,
  OP_EQ = 20,
  OP_NE = 21,
  OP_LT = 22,
  OP_LE = 23,
  OP_GT = 24,
  OP_GE = 25,
  OP_JUMP_IF_FALSE = 26,
  OP_JUMP = 27,
  OP_CALL = 28,
  OP_AND = 29,
  OP_OR = 30,
  OP_BIT_XOR = 31,
  OP_NOT = 32,
  OP_BIT_AND = 33,
  OP_BIT_OR = 34,
  OP_BIT_NOT = 35,
  OP_RETURN = 36,
  OP_LINE = 37,
  OP_DELETE = 38,
  OP_WITH_BEGIN = 39,
  OP_DEFINE_FUNCTION = 40,
  OP_USHR = 41,
  OP_STRICT_EQ = 42,
  OP_STRICT_NE = 43,
  OP_INSTANCEOF = 44,
  OP_TYPEOF = 45,
  OP_WITH_END = 46,
};

const int kVmOpcodeCount = 47;

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
int32_t ReadCodeInt(const unsigned char* p);
double ReadCodeDouble(const unsigned char* p);
