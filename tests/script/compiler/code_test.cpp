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

}  // namespace
