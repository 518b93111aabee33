// The byte-code writer and reader and the listing.
#include <cmath>

#include <cstring>

#include "script/compiler/vm_disassembler.h"
#include "support/test_support.h"
#include "script/vm_fixture.h"

namespace {

using velktest::BytesEqual;
using velktest::ParseHex;
using vmtest::VmAsm;

TEST(VmCode, OperandsAreLittleEndian) {
  VmAsm a;
  a.PushInt(0x01020304).PushInt(-2).PushDouble(1.0).PushString(L"Aж").PushBool(true).Var(L"x", 2);
  EXPECT_TRUE(BytesEqual(a.Bytes(), ParseHex("01 02 04 03 02 01"
                                             "01 02 FE FF FF FF"
                                             "01 03 00 00 00 00 00 00 F0 3F"
                                             "01 04 41 00 36 04 00 00"
                                             "01 01 01"
                                             "02 78 00 00 00 02")));
}

TEST(VmCode, GrowsInSteps) {
  VmCode c;
  EXPECT_EQ(c.Capacity(), 0);
  c.EmitByte(1);
  EXPECT_EQ(c.Capacity(), 4096);
  for (int k = 0; k < 4096; ++k) c.EmitByte(k);
  EXPECT_EQ(c.Size(), 4097);
  EXPECT_EQ(c.Capacity(), 8192);
  EXPECT_TRUE(c.PatchInt(0, 0x0A0B0C0D));
  EXPECT_EQ(ReadCodeInt(c.Bytes()), 0x0A0B0C0D);
  EXPECT_FALSE(c.PatchInt(4094, 1));
  EXPECT_FALSE(c.PatchInt(-1, 1));
  EXPECT_FALSE(c.Failed());
  c.Clear();
  EXPECT_EQ(c.Size(), 0);
}

TEST(VmCode, ReadersRoundTrip) {
  for (double d : {0.0, -0.0, 1.5, -1e300, 5e-324, std::nan("")}) {
    VmCode c;
    c.EmitDouble(d);
    double back = ReadCodeDouble(c.Bytes());
    EXPECT_EQ(std::memcmp(&back, &d, 8), 0);
  }
  for (int32_t i : {0, 1, -1, 2147483647, -2147483647 - 1}) {
    VmCode c;
    c.EmitInt(i);
    EXPECT_EQ(ReadCodeInt(c.Bytes()), i);
  }
}

TEST(VmDisassembler, ListsEveryOperandKind) {
  VmAsm a;
  int e = a.Define(L"f", {L"a", L"b"});
  a.PatchTo(e, 40);
  a.PushUndefined().PushBool(false).PushInt(-5).PushDouble(0.5).PushString(L"s").Var(L"v", 1).Field(L"p", 0);
  a.Index(1).Store(0).Call(2).Op(OP_INSTANCEOF).Byte(5).NewArray(3).JumpIfFalse(7).Jump(8).Line(9).Op(OP_ADD).Op(60);
  EXPECT_EQ(DisassembleVmCode(a.code.Bytes(), a.code.Size()),
            L"0000 DEFINE_FUNCTION \"f\" (a, b) entry 40\n"
            L"0018 PUSH_CONST undefined\n"
            L"0020 PUSH_CONST bool false\n"
            L"0023 PUSH_CONST int -5\n"
            L"0029 PUSH_CONST double 0.5\n"
            L"0039 PUSH_CONST string \"s\"\n"
            L"0045 VARIABLE \"v\" 1\n"
            L"0051 FIELD \"p\" 0\n"
            L"0057 INDEX 1\n"
            L"0059 STORE 0\n"
            L"0061 CALL 2\n"
            L"0063 INSTANCEOF 5\n"
            L"0065 NEW_ARRAY 3\n"
            L"0070 JUMP_IF_FALSE 7\n"
            L"0075 JUMP 8\n"
            L"0080 LINE 9\n"
            L"0085 ADD\n"
            L"0086 <bad opcode 60>\n");
  std::vector<uint8_t> cut = {OP_LINE, 1, 0};
  EXPECT_EQ(DisassembleVmCode(cut.data(), 3), L"0000 LINE <truncated>\n");
  EXPECT_STREQ(GetVmOpcodeName(OP_WITH_END), L"WITH_END");
  EXPECT_EQ(GetVmOpcodeName(47), nullptr);
}

// The instruction set: every opcode's number, name and operand layout.
TEST(VmOpcodeTable, NumbersNamesAndOperands) {
  struct Row {
    int number;
    const wchar_t* name;
    VmOperandLayout operands;
  };
  const Row rows[] = {
      {0, L"NOP", kVmOperandsNone},          {1, L"PUSH_CONST", kVmOperandsConstant},
      {2, L"VARIABLE", kVmOperandsNameByte}, {3, L"INDEX", kVmOperandsByte},
      {4, L"FIELD", kVmOperandsNameByte},    {5, L"LOAD", kVmOperandsNone},
      {6, L"STORE", kVmOperandsByte},        {7, L"DUP", kVmOperandsNone},
      {8, L"POP", kVmOperandsNone},          {9, L"NEW_ARRAY", kVmOperandsInt},
      {10, L"NEW_OBJECT", kVmOperandsNone},  {11, L"SWAP", kVmOperandsNone},
      {12, L"ADD", kVmOperandsNone},         {13, L"SUB", kVmOperandsNone},
      {14, L"MUL", kVmOperandsNone},         {15, L"DIV", kVmOperandsNone},
      {16, L"MOD", kVmOperandsNone},         {17, L"SHL", kVmOperandsNone},
      {18, L"SHR", kVmOperandsNone},         {19, L"NEG", kVmOperandsNone},
      {20, L"EQ", kVmOperandsNone},          {21, L"NE", kVmOperandsNone},
      {22, L"LT", kVmOperandsNone},          {23, L"LE", kVmOperandsNone},
      {24, L"GT", kVmOperandsNone},          {25, L"GE", kVmOperandsNone},
      {26, L"JUMP_IF_FALSE", kVmOperandsInt}, {27, L"JUMP", kVmOperandsInt},
      {28, L"CALL", kVmOperandsByte},        {29, L"AND", kVmOperandsNone},
      {30, L"OR", kVmOperandsNone},          {31, L"BIT_XOR", kVmOperandsNone},
      {32, L"NOT", kVmOperandsNone},         {33, L"BIT_AND", kVmOperandsNone},
      {34, L"BIT_OR", kVmOperandsNone},      {35, L"BIT_NOT", kVmOperandsNone},
      {36, L"RETURN", kVmOperandsNone},      {37, L"LINE", kVmOperandsInt},
      {38, L"DELETE", kVmOperandsNone},      {39, L"WITH_BEGIN", kVmOperandsNone},
      {40, L"DEFINE_FUNCTION", kVmOperandsFunction}, {41, L"USHR", kVmOperandsNone},
      {42, L"STRICT_EQ", kVmOperandsNone},   {43, L"STRICT_NE", kVmOperandsNone},
      {44, L"INSTANCEOF", kVmOperandsByte},  {45, L"TYPEOF", kVmOperandsNone},
      {46, L"WITH_END", kVmOperandsNone},
  };
  ASSERT_EQ(kVmOpcodeCount, 47);
  ASSERT_EQ(sizeof(rows) / sizeof(rows[0]), 47u);
  for (const Row& r : rows) {
    EXPECT_STREQ(GetVmOpcodeName(r.number), r.name) << r.number;
    EXPECT_EQ(kVmOpcodeOperands[r.number], r.operands) << r.number;
  }
  EXPECT_EQ(OP_LINE, 37);
  EXPECT_EQ(OP_WITH_END, 46);
  // Whole instructions: the opcode byte and the fixed operands.
  EXPECT_EQ(VmInstructionBytes(OP_ADD), 1);
  EXPECT_EQ(VmInstructionBytes(OP_CALL), 2);
  EXPECT_EQ(VmInstructionBytes(OP_JUMP_IF_FALSE), 5);
  EXPECT_EQ(VmInstructionBytes(OP_PUSH_CONST), kVmOperandBytesVary);
  EXPECT_EQ(VmInstructionBytes(OP_VARIABLE), kVmOperandBytesVary);
  EXPECT_EQ(VmInstructionBytes(OP_DEFINE_FUNCTION), kVmOperandBytesVary);
}

// The decoders refuse an operand that runs past the code and leave the
// offset where it was.
TEST(VmCode, DecodersStopAtTheEnd) {
  const unsigned char code[] = {0x05, 0x01, 0x02, 0x03, 0x04, 'a', 0, 'b', 0, 0, 0, 'c', 0};
  int at = 1;
  int32_t i = 0;
  EXPECT_TRUE(DecodeCodeInt(code, 5, &at, &i));
  EXPECT_EQ(i, 0x04030201);
  EXPECT_EQ(at, 5);
  at = 2;
  EXPECT_FALSE(DecodeCodeInt(code, 5, &at, &i));
  EXPECT_EQ(at, 2);
  int b = 0;
  at = 4;
  EXPECT_TRUE(DecodeCodeByte(code, 5, &at, &b));
  EXPECT_EQ(b, 4);
  EXPECT_FALSE(DecodeCodeByte(code, 5, &at, &b));
  at = -1;
  EXPECT_FALSE(DecodeCodeByte(code, 5, &at, &b));
  double d = 0;
  at = 0;
  EXPECT_FALSE(DecodeCodeDouble(code, 7, &at, &d));
  EXPECT_EQ(at, 0);
  // "ab" and its zero unit; then an empty string; then "c" without one.
  int units = -1;
  at = 5;
  EXPECT_TRUE(ScanCodeString(code, 13, &at, &units));
  EXPECT_EQ(units, 2);
  EXPECT_EQ(at, 11);
  at = 9;
  EXPECT_TRUE(ScanCodeString(code, 13, &at, &units));
  EXPECT_EQ(units, 0);
  EXPECT_EQ(at, 11);
  EXPECT_FALSE(ScanCodeString(code, 13, &at, &units));
  EXPECT_EQ(units, 1);
  EXPECT_EQ(at, 13);
  at = 11;
  EXPECT_FALSE(ScanCodeString(code, 12, &at, &units));  // half a unit left
  EXPECT_EQ(units, 0);
  EXPECT_EQ(at, 12);
}

}  // namespace
