// Every instruction of the byte code, run from hand-assembled programs.
#include <cmath>
#include <functional>
#include <limits>

#include "script/machine/vm_frame.h"
#include "script/machine/vm_function.h"
#include "script/values/vm_array.h"
#include "script/values/vm_object.h"
#include "script/vm_fixture.h"

namespace {

using vmtest::TextOf;
using vmtest::VmAsm;
using vmtest::VmMachine;

typedef std::function<void(VmAsm&)> Operand;

Operand I(int32_t v) { return [v](VmAsm& a) { a.PushInt(v); }; }
Operand D(double v) { return [v](VmAsm& a) { a.PushDouble(v); }; }
Operand S(const wchar_t* v) { return [v](VmAsm& a) { a.PushString(v); }; }
Operand B(bool v) { return [v](VmAsm& a) { a.PushBool(v); }; }
Operand U() { return [](VmAsm& a) { a.PushUndefined(); }; }
// The value of a global set up by the prologue: arr = [1], arr2 = [1, 2],
// obj = {}, obj2 = {}.
Operand G(const wchar_t* name) { return [name](VmAsm& a) { a.Var(name).Load(); }; }

void Prologue(VmAsm& a) {
  a.Var(L"arr", 1).PushInt(1).PushInt(2).PushInt(3).NewArray(3).Store();
  a.Var(L"arr").PushInt(0).Index(0).Load().Op(OP_POP);
  a.Var(L"arr", 1).PushString(L"one").NewArray(1).Store();
  a.Var(L"arr2", 1).PushInt(1).PushInt(2).NewArray(2).Store();
  a.Var(L"obj", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"obj2", 1).Op(OP_NEW_OBJECT).Store();
}

struct BinaryCase {
  Operand a;
  int op;
  Operand b;
  int type;               // tag of the result, or -1 for an error
  const wchar_t* result;  // its text, or the error message
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

void RunBinaryCases(const BinaryCase* cases, size_t n) {
  for (size_t k = 0; k < n; ++k) {
    const BinaryCase& c = cases[k];
    VmAsm a;
    Prologue(a);
    a.Line(7);
    c.a(a);
    c.b(a);
    a.Op(c.op).SetVar(L"r").Return();
    VmMachine m(a);
    m.RunToEnd();
    std::wstring where = L"case " + std::to_wstring(k) + L" op " + std::to_wstring(c.op);
    if (c.type < 0) {
      EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(7, c.result)) << where;
      EXPECT_EQ(m.Global(L"r"), nullptr) << where;
    } else {
      EXPECT_EQ(m.log.GetCount(), 0) << where << " " << m.LastLog();
      const VmValue& r = m.GlobalValue(L"r");
      EXPECT_EQ(r.type, c.type) << where;
      EXPECT_EQ(TextOf(r), c.result) << where;
      EXPECT_EQ(m.vm.StackCount(), 0) << where;
    }
  }
}

TEST(VmInstructions, Addition) {
  const BinaryCase cases[] = {
      {I(2), OP_ADD, I(3), VM_INTEGER, L"5"},
      {I(2), OP_ADD, D(0.5), VM_NUMBER, L"2.5"},
      {S(L"a"), OP_ADD, I(5), VM_STRING, L"a5"},
      {I(1), OP_ADD, S(L"2"), VM_STRING, L"12"},
      {U(), OP_ADD, S(L"x"), VM_STRING, L"x"},
      {S(L""), OP_ADD, S(L""), VM_STRING, L""},
      {S(L"x"), OP_ADD, D(0.05), VM_STRING, L"x5.e-002"},
      {S(L"v"), OP_ADD, B(true), VM_STRING, L"v1"},
      {I(2147483647), OP_ADD, I(1), VM_INTEGER, L"-2147483648"},
      {B(true), OP_ADD, I(1), VM_INTEGER, L"2"},
      {U(), OP_ADD, I(3), VM_INTEGER, L"3"},
      {D(0.1), OP_ADD, D(0.2), VM_NUMBER, L"0.3"},
      {B(true), OP_ADD, B(true), -1, L"Невозможно сложить указанные типы данных"},
      {U(), OP_ADD, U(), -1, L"Невозможно сложить указанные типы данных"},
      {G(L"arr"), OP_ADD, I(1), -1, L"Невозможно сложить указанные типы данных"},
      {S(L"a"), OP_ADD, G(L"obj"), -1, L"Невозможно сложить указанные типы данных"},
  };
  RunBinaryCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmInstructions, Arithmetic) {
  const BinaryCase cases[] = {
      {I(7), OP_SUB, I(2), VM_INTEGER, L"5"},
      {S(L"10"), OP_SUB, I(4), VM_INTEGER, L"6"},
      {D(7.5), OP_SUB, I(2), VM_NUMBER, L"5.5"},
      {U(), OP_SUB, I(3), VM_INTEGER, L"-3"},
      {I(-2147483647 - 1), OP_SUB, I(1), VM_INTEGER, L"2147483647"},
      {B(true), OP_SUB, B(true), -1, L"Невозможно вычесть указанные типы данных"},
      {U(), OP_SUB, U(), -1, L"Невозможно вычесть указанные типы данных"},
      {B(true), OP_SUB, U(), -1, L"Невозможно вычесть указанные типы данных"},
      {I(6), OP_MUL, I(7), VM_INTEGER, L"42"},
      {D(2.5), OP_MUL, I(2), VM_NUMBER, L"5"},
      {I(65536), OP_MUL, I(65536), VM_INTEGER, L"0"},
      {G(L"arr"), OP_MUL, I(2), -1, L"Невозможно перемножить указанные типы данных"},
      {I(7), OP_DIV, I(2), VM_INTEGER, L"3"},
      {I(-7), OP_DIV, I(2), VM_INTEGER, L"-3"},
      {I(7), OP_DIV, I(0), VM_INTEGER, L"7"},
      {S(L"7"), OP_DIV, I(2), VM_INTEGER, L"3"},
      {S(L"10"), OP_DIV, I(4), VM_INTEGER, L"2"},
      {S(L"7"), OP_DIV, I(0), VM_STRING, L"7"},
      {I(-2147483647 - 1), OP_DIV, I(-1), VM_INTEGER, L"-2147483648"},
      {D(7.0), OP_DIV, I(0), VM_NUMBER, L"Infinity"},
      {D(0.0), OP_DIV, I(0), VM_NUMBER, L"NaN"},
      {B(true), OP_DIV, I(2), VM_INTEGER, L"0"},
      {U(), OP_DIV, U(), -1, L"Невозможно произвести деление указанных типов данных"},
      {G(L"obj"), OP_DIV, I(1), -1, L"Невозможно произвести деление указанных типов данных"},
      {I(7), OP_MOD, I(3), VM_INTEGER, L"1"},
      {I(-7), OP_MOD, I(3), VM_INTEGER, L"-1"},
      {I(7), OP_MOD, I(0), VM_INTEGER, L"7"},
      {D(7.5), OP_MOD, I(2), VM_INTEGER, L"1"},
      {S(L"9"), OP_MOD, I(4), VM_INTEGER, L"1"},
      {S(L"7"), OP_MOD, I(0), VM_STRING, L"7"},
      {I(-2147483647 - 1), OP_MOD, I(-1), VM_INTEGER, L"-2147483648"},
      {G(L"arr"), OP_MOD, I(2), VM_INTEGER, L"1"},
      {I(1), OP_SHL, I(33), VM_INTEGER, L"2"},
      {I(1), OP_SHL, I(31), VM_INTEGER, L"-2147483648"},
      {I(-1), OP_USHR, I(28), VM_INTEGER, L"15"},
      {I(-1), OP_USHR, I(0), VM_INTEGER, L"-1"},
      {I(-16), OP_SHR, I(2), VM_INTEGER, L"-4"},
      {I(-16), OP_SHR, I(34), VM_INTEGER, L"-4"},
      {S(L"8"), OP_SHR, I(1), VM_INTEGER, L"4"},
      {D(2.9), OP_SHL, D(1.5), VM_INTEGER, L"4"},
  };
  RunBinaryCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmInstructions, Equality) {
  const BinaryCase cases[] = {
      {B(true), OP_EQ, I(1), VM_BOOLEAN, L"1"},
      {S(L"5"), OP_EQ, I(5), VM_BOOLEAN, L"1"},
      {S(L"5"), OP_EQ, D(5), VM_BOOLEAN, L"1"},
      {S(L"5.0"), OP_EQ, I(5), VM_BOOLEAN, L"0"},
      {U(), OP_EQ, U(), VM_BOOLEAN, L"1"},
      {U(), OP_NE, U(), VM_BOOLEAN, L"0"},
      {U(), OP_EQ, I(0), VM_BOOLEAN, L"1"},
      {U(), OP_EQ, G(L"arr"), VM_BOOLEAN, L"0"},
      {U(), OP_NE, G(L"arr"), VM_BOOLEAN, L"1"},
      {G(L"arr"), OP_EQ, G(L"arr"), VM_BOOLEAN, L"1"},
      {G(L"arr"), OP_EQ, G(L"arr2"), VM_BOOLEAN, L"0"},
      {G(L"arr"), OP_NE, G(L"arr2"), VM_BOOLEAN, L"1"},
      {G(L"obj"), OP_EQ, G(L"obj"), VM_BOOLEAN, L"1"},
      {G(L"obj"), OP_NE, G(L"obj2"), VM_BOOLEAN, L"1"},
      {I(1), OP_EQ, D(1.0), VM_BOOLEAN, L"1"},
      {D(kNaN), OP_EQ, D(kNaN), VM_BOOLEAN, L"0"},
      {D(kNaN), OP_NE, D(kNaN), VM_BOOLEAN, L"1"},
      {S(L""), OP_EQ, S(L""), VM_BOOLEAN, L"1"},
      {S(L"a"), OP_EQ, S(L""), VM_BOOLEAN, L"0"},
      {U(), OP_EQ, S(L""), VM_BOOLEAN, L"1"},
      {I(1), OP_STRICT_EQ, I(1), VM_BOOLEAN, L"1"},
      {I(1), OP_STRICT_EQ, D(1.0), VM_BOOLEAN, L"0"},
      {I(1), OP_STRICT_NE, D(1.0), VM_BOOLEAN, L"1"},
      {S(L"a"), OP_STRICT_EQ, S(L"a"), VM_BOOLEAN, L"1"},
      {U(), OP_STRICT_EQ, U(), VM_BOOLEAN, L"1"},
      {U(), OP_STRICT_NE, U(), VM_BOOLEAN, L"0"},
      {G(L"arr"), OP_STRICT_EQ, G(L"arr"), VM_BOOLEAN, L"1"},
      {G(L"arr"), OP_STRICT_NE, G(L"arr2"), VM_BOOLEAN, L"1"},
      {B(false), OP_STRICT_EQ, B(false), VM_BOOLEAN, L"1"},
  };
  RunBinaryCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmInstructions, Order) {
  const wchar_t* kCannot = L"Невозможно сравнить данные типы данных";
  const BinaryCase cases[] = {
      {B(false), OP_LT, B(true), VM_BOOLEAN, L"1"},
      {B(true), OP_GE, B(true), VM_BOOLEAN, L"1"},
      {B(true), OP_LE, B(true), VM_BOOLEAN, L"1"},
      {B(true), OP_GT, B(false), VM_BOOLEAN, L"1"},
      {B(false), OP_GE, B(true), VM_BOOLEAN, L"0"},
      {I(2), OP_LT, I(3), VM_BOOLEAN, L"1"},
      {D(2.5), OP_LT, I(2), VM_BOOLEAN, L"0"},
      {D(2.5), OP_GE, I(2), VM_BOOLEAN, L"1"},
      {S(L"a"), OP_LT, S(L"b"), VM_BOOLEAN, L"1"},
      {S(L""), OP_LT, S(L"a"), VM_BOOLEAN, L"1"},
      {S(L"10"), OP_LT, I(9), VM_BOOLEAN, L"1"},
      {S(L"b"), OP_LE, S(L"b"), VM_BOOLEAN, L"1"},
      {G(L"arr"), OP_LT, G(L"arr2"), VM_BOOLEAN, L"1"},
      {G(L"arr2"), OP_GT, G(L"arr"), VM_BOOLEAN, L"1"},
      {U(), OP_LT, I(1), VM_BOOLEAN, L"1"},
      {D(kNaN), OP_LT, I(1), VM_BOOLEAN, L"0"},
      {I(1), OP_GE, D(kNaN), VM_BOOLEAN, L"0"},
      {G(L"obj"), OP_LT, G(L"obj2"), -1, kCannot},
      {U(), OP_LT, U(), -1, kCannot},
      {G(L"arr"), OP_LE, I(1), -1, kCannot},
      {G(L"obj"), OP_GE, G(L"obj"), -1, kCannot},
  };
  RunBinaryCases(cases, sizeof cases / sizeof cases[0]);
}

TEST(VmInstructions, LogicAndBits) {
  const BinaryCase cases[] = {
      {I(1), OP_AND, S(L"true"), VM_BOOLEAN, L"1"},
      {I(1), OP_AND, S(L"x"), VM_BOOLEAN, L"0"},
      {I(0), OP_OR, S(L"x"), VM_BOOLEAN, L"0"},
      {I(0), OP_OR, G(L"obj"), VM_BOOLEAN, L"1"},
      {I(6), OP_BIT_XOR, I(3), VM_INTEGER, L"5"},
      {I(6), OP_BIT_AND, I(3), VM_INTEGER, L"2"},
      {I(6), OP_BIT_OR, I(3), VM_INTEGER, L"7"},
      {S(L"0x10"), OP_BIT_OR, D(1.9), VM_INTEGER, L"17"},
  };
  RunBinaryCases(cases, sizeof cases / sizeof cases[0]);
}

struct UnaryCase {
  Operand a;
  VmAsm& (*op)(VmAsm&);
  int type;
  const wchar_t* result;
};

VmAsm& Not(VmAsm& a) { return a.Op(OP_NOT); }
VmAsm& BitNot(VmAsm& a) { return a.Op(OP_BIT_NOT); }
VmAsm& Neg(VmAsm& a) { return a.Op(OP_NEG); }
VmAsm& TypeOf(VmAsm& a) { return a.Op(OP_TYPEOF); }
VmAsm& InstanceOfInt(VmAsm& a) { return a.Op(OP_INSTANCEOF).Byte(VM_INTEGER); }
VmAsm& InstanceOfArray(VmAsm& a) { return a.Op(OP_INSTANCEOF).Byte(VM_ARRAY); }
VmAsm& InstanceOf99(VmAsm& a) { return a.Op(OP_INSTANCEOF).Byte(99); }

TEST(VmInstructions, UnaryOperators) {
  Operand reference = [](VmAsm& a) { a.Var(L"arr"); };
  Operand function = [](VmAsm& a) { a.Var(L"f").Load(); };
  const UnaryCase cases[] = {
      {S(L"true"), Not, VM_BOOLEAN, L"0"},
      {U(), Not, VM_BOOLEAN, L"1"},
      {I(0), BitNot, VM_INTEGER, L"-1"},
      {S(L"0x10"), BitNot, VM_INTEGER, L"-17"},
      {I(5), Neg, VM_INTEGER, L"-5"},
      {D(2.5), Neg, VM_NUMBER, L"-2.5"},
      {I(-2147483647 - 1), Neg, VM_INTEGER, L"-2147483648"},
      {S(L"5"), Neg, -1, L"Невозможно изменить знак указанному типу данных"},
      {U(), Neg, -1, L"Невозможно изменить знак указанному типу данных"},
      {U(), TypeOf, VM_STRING, L"undefined"},
      {B(true), TypeOf, VM_STRING, L"boolean"},
      {I(2), TypeOf, VM_STRING, L"number"},
      {D(2.5), TypeOf, VM_STRING, L"number"},
      {S(L"s"), TypeOf, VM_STRING, L"string"},
      {G(L"arr"), TypeOf, VM_STRING, L"object"},
      {G(L"obj"), TypeOf, VM_STRING, L"object"},
      {reference, TypeOf, VM_STRING, L"object"},
      {function, TypeOf, VM_STRING, L"function"},
      {I(5), InstanceOfInt, VM_BOOLEAN, L"1"},
      {D(5), InstanceOfInt, VM_BOOLEAN, L"0"},
      {G(L"arr"), InstanceOfArray, VM_BOOLEAN, L"1"},
      {reference, InstanceOfArray, VM_BOOLEAN, L"0"},
      {I(5), InstanceOf99, VM_BOOLEAN, L"0"},
  };
  for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k) {
    const UnaryCase& c = cases[k];
    VmAsm a;
    int entry = a.Define(L"f", {});
    Prologue(a);
    a.Line(3);
    c.a(a);
    c.op(a).SetVar(L"r").Return();
    a.PatchTo(entry, a.Here());
    a.PushUndefined().Return();
    VmMachine m(a);
    m.RunToEnd();
    if (c.type < 0) {
      EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(3, c.result)) << k;
    } else {
      EXPECT_EQ(m.log.GetCount(), 0) << k << " " << m.LastLog();
      EXPECT_EQ(m.GlobalValue(L"r").type, c.type) << k;
      EXPECT_EQ(TextOf(m.GlobalValue(L"r")), c.result) << k;
    }
  }
}

TEST(VmInstructions, PushConstTypes) {
  VmAsm a;
  a.PushUndefined().PushInt(7).Op(OP_PUSH_CONST).Byte(9).PushBool(true).Op(OP_PUSH_CONST).Byte(1).Byte(2);
  a.PushDouble(0.25).PushString(L"тест").PushString(L"");
  VmMachine m(a);
  m.vm.Run();
  EXPECT_EQ(m.vm.ProgramCounter(), -1);
  EXPECT_EQ(m.log.GetCount(), 0);
  ASSERT_EQ(m.vm.StackCount(), 8);
  int types[] = {VM_UNDEFINED, VM_INTEGER, VM_UNDEFINED, VM_BOOLEAN, VM_BOOLEAN, VM_NUMBER, VM_STRING, VM_STRING};
  const wchar_t* texts[] = {L"", L"7", L"", L"1", L"1", L"0.25", L"тест", L""};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(m.vm.StackAt(k).type, types[k]) << k;
    EXPECT_EQ(TextOf(m.vm.StackAt(k)), texts[k]) << k;
  }
  EXPECT_EQ(m.vm.StackAt(7).text, nullptr);
}

TEST(VmInstructions, StackShapes) {
  {  // STORE with flag 0 leaves the value, with flag 1 nothing
    VmAsm a;
    a.Var(L"x", 1).PushInt(4).Store(0).Var(L"y", 1).PushInt(5).Store(1);
    VmMachine m(a);
    m.RunToEnd();
    ASSERT_EQ(m.vm.StackCount(), 1);
    EXPECT_EQ(m.vm.StackAt(0).i, 4);
    EXPECT_EQ(m.GlobalValue(L"x").i, 4);
    EXPECT_EQ(m.GlobalValue(L"y").i, 5);
  }
  {  // DUP copies a reference as a reference; SWAP; POP
    VmAsm a;
    a.Var(L"x", 1).Op(OP_DUP).PushInt(9).Store(1).Load().PushString(L"s").Op(OP_SWAP);
    VmMachine m(a);
    m.RunToEnd();
    ASSERT_EQ(m.vm.StackCount(), 2);
    EXPECT_EQ(TextOf(m.vm.StackAt(0)), L"s");
    EXPECT_EQ(m.vm.StackAt(1).i, 9);
  }
  {
    VmAsm a;
    a.PushInt(1).Op(OP_POP).Line(4).Op(OP_POP).PushInt(2);
    VmMachine m(a);
    m.RunToEnd();
    EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(4, L"Повреждение стека"));
    EXPECT_EQ(m.vm.StackCount(), 0);
  }
}

// Operations that need stacked values and find too few report a damaged
// stack; those that need a reference and find another value say so.
TEST(VmInstructions, OperandErrors) {
  struct Case {
    std::function<void(VmAsm&)> code;
    const wchar_t* message;
  } cases[] = {
      {[](VmAsm& a) { a.PushInt(1).Op(OP_ADD); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.Op(OP_NEG); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.Op(OP_DUP); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.PushInt(1).Op(OP_SWAP); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.Op(OP_JUMP_IF_FALSE).Int(0); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.Op(OP_TYPEOF); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.PushInt(1).Op(OP_EQ); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.Op(OP_CALL).Byte(0); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.Var(L"f").Load().Call(3); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.PushInt(1).PushInt(2).NewArray(3); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.NewArray(0x7FFFFFFF); }, L"Повреждение стека"},
      {[](VmAsm& a) { a.NewArray(-1); }, L"Неизвестная инструкция"},
      {[](VmAsm& a) { a.PushInt(1).PushInt(0).Index(0); }, L"Команда vm_index не обнаружила ссылку."},
      {[](VmAsm& a) { a.Var(L"x", 1).PushInt(0).Index(0); }, L"Данные не являются массивом."},
      {[](VmAsm& a) { a.PushInt(1).Field(L"p"); }, L"Команда vm_field не обнаружила ссылку."},
      {[](VmAsm& a) { a.PushInt(1).Load(); }, L"Команда vm_load не обнаружила ссылку."},
      {[](VmAsm& a) { a.PushInt(1).PushInt(2).Store(); }, L"Команда vm_store не обнаружила ссылку."},
      {[](VmAsm& a) { a.PushInt(1).Op(OP_DELETE); }, L"vm_delete не обраружила ссылки"},
      {[](VmAsm& a) { a.PushInt(1).Op(OP_WITH_BEGIN); }, L"В стеке нет ссылки"},
      {[](VmAsm& a) { a.Op(OP_WITH_BEGIN); }, L"В стеке нет ссылки"},
      {[](VmAsm& a) { a.PushInt(1).Call(0); }, L"Указанный тип данных не является функцией"},
      {[](VmAsm& a) { a.Var(L"f"); a.Call(0); }, L"Указанный тип данных не является функцией"},
      {[](VmAsm& a) { a.Var(L"nope"); }, L"Переменная \"nope\" не найдена"},
      {[](VmAsm& a) { a.Var(L"this"); }, L"this не определено"},
      {[](VmAsm& a) { a.Op(47); }, L"Неизвестная инструкция"},
      {[](VmAsm& a) { a.Op(255); }, L"Неизвестная инструкция"},
      {[](VmAsm& a) { a.Op(OP_NEW_OBJECT).Op(OP_POP).Var(L"o", 1).Op(OP_NEW_OBJECT).Store().Var(L"o").Field(L"p"); },
       L"Метод или свойство не найдено."},
      {[](VmAsm& a) { a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store().Var(L"o").Load().Op(OP_DUP).Op(OP_LT); },
       L"Невозможно сравнить данные типы данных"},
  };
  for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k) {
    VmAsm a;
    int entry = a.Define(L"f", {});
    a.Line(11);
    cases[k].code(a);
    a.PushInt(99).SetVar(L"after").Return();
    a.PatchTo(entry, a.Here());
    a.PushUndefined().Return();
    VmMachine m(a);
    m.RunToEnd();
    ASSERT_EQ(m.log.GetCount(), 1) << k << " " << m.LastLog();
    EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(11, cases[k].message)) << k;
    EXPECT_EQ(m.vm.ProgramCounter(), -1) << k;
    EXPECT_EQ(m.Global(L"after"), nullptr) << k;  // nothing ran after the error
    EXPECT_EQ(m.vm.Run(), 0);
  }
}

TEST(VmInstructions, FieldOnBooleanReportsTwice) {
  VmAsm a;
  a.Line(2).Var(L"b", 1).PushBool(true).Store().Var(L"b").Field(L"x");
  VmMachine m(a);
  m.RunToEnd();
  ASSERT_EQ(m.log.GetCount(), 2);
  EXPECT_EQ(m.LogLine(0), VmMachine::ErrorAt(2, L"Ошибка виртуальной машины!"));
  EXPECT_EQ(m.LogLine(1), VmMachine::ErrorAt(2, L"Метод или свойство не найдено."));
}

TEST(VmInstructions, NewArray) {
  struct Case {
    Operand value;
    int count;
    int32_t first;  // type of item 0, -1 when empty
  } cases[] = {
      {I(5), 5, VM_UNDEFINED},     {S(L"5"), 1, VM_STRING}, {I(-3), 0, -1},
      {I(300000), 200000, VM_UNDEFINED}, {D(2.7), 2, VM_UNDEFINED}, {D(std::nan("")), 0, -1},
      {B(true), 1, VM_BOOLEAN},
  };
  for (const Case& c : cases) {
    VmAsm a;
    a.Var(L"r", 1);
    c.value(a);
    a.NewArray(1).Store().Return();
    VmMachine m(a);
    m.RunToEnd();
    EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
    const VmValue& r = m.GlobalValue(L"r");
    ASSERT_EQ(r.type, VM_ARRAY);
    EXPECT_EQ(r.array->count, c.count);
    if (c.count) {
      EXPECT_EQ(r.array->items[0].type, c.first);
    }
  }
  VmAsm a;
  a.Var(L"r", 1).PushInt(1).PushString(L"b").PushDouble(1.5).NewArray(3).Store();
  a.Var(L"e", 1).NewArray(0).Store().Return();
  VmMachine m(a);
  m.RunToEnd();
  const VmValue& r = m.GlobalValue(L"r");
  ASSERT_EQ(r.type, VM_ARRAY);
  ASSERT_EQ(r.array->count, 3);
  EXPECT_EQ(TextOf(r.array->items[0]), L"1");
  EXPECT_EQ(TextOf(r.array->items[1]), L"b");
  EXPECT_EQ(TextOf(r.array->items[2]), L"1.5");
  EXPECT_EQ(m.GlobalValue(L"e").array->count, 0);
  EXPECT_EQ(m.vm.StackCount(), 0);
}

TEST(VmInstructions, IndexGrowsOnlyForWritesAndWithinLimit) {
  struct Case {
    int32_t index;
    int write;
    int count;               // the array's count afterwards
    const wchar_t* message;  // or null
  } cases[] = {
      {0, 1, 1, nullptr},       {199999, 1, 200000, nullptr},
      {200000, 1, 0, L"Неверный индекс массива (200000)"},
      {0, 0, 0, L"Неверный индекс массива (0)"},
      {-1, 1, 0, L"Неверный индекс массива (-1)"},
      {5, 0, 0, L"Неверный индекс массива (5)"},
  };
  for (const Case& c : cases) {
    VmAsm a;
    a.Var(L"a", 1).NewArray(0).Store().Line(5).Var(L"a").PushInt(c.index).Index(c.write).PushInt(7).Store().Return();
    VmMachine m(a);
    m.RunToEnd();
    const VmValue& arr = m.GlobalValue(L"a");
    ASSERT_EQ(arr.type, VM_ARRAY);
    EXPECT_EQ(arr.array->count, c.count) << c.index;
    EXPECT_EQ(m.vm.ReceiverArray(), arr.array);
    if (c.message) {
      EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(5, c.message));
    } else {
      EXPECT_EQ(m.log.GetCount(), 0);
      EXPECT_EQ(arr.array->items[c.index].i, 7);
    }
  }
}

// A built-in for the member lookup tests: "Array.sum" adds the receiver
// array's integers and its arguments.
class ArraySum : public CVMFunction {
public:
  explicit ArraySum(VmEngine* e) : CVMFunction(e, L"Array.sum") {}
  void Call(int n, VmEngine* e) override {
    int32_t sum = 0;
    VmArray* a = e->ReceiverArray();
    for (int k = 0; a && k < a->count; ++k) sum += a->items[k].ToInt();
    for (int k = 0; k < n; ++k) {
      sum += e->StackAt(e->StackTop()).ToInt();
      e->Pop();
    }
    VmValue r;
    r.SetInt(sum);
    e->Push(r, true);
  }
};

// "String.twice": the receiver string's text twice.
class StringTwice : public CVMFunction {
public:
  explicit StringTwice(VmEngine* e) : CVMFunction(e, L"String.twice") {}
  void Call(int n, VmEngine* e) override {
    while (n-- > 0) e->Pop();
    std::wstring t = TextOf(e->ReceiverString());
    VmValue r;
    r.SetString((t + t).c_str());
    e->Push(r, true);
  }
};

TEST(VmInstructions, MemberLookupByKind) {
  VmAsm a;
  a.Var(L"s", 1).PushString(L"abc").Store();
  a.Var(L"n", 1).PushInt(123).Store();
  a.Var(L"arr", 1).PushInt(1).PushInt(2).NewArray(2).Store();
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"r1", 1).Var(L"s").Field(L"length").Load().Store();
  a.Var(L"r2", 1).Var(L"n").Field(L"count").Load().Store();
  a.Var(L"r3", 1).Var(L"u", 1).Field(L"length").Load().Store();
  a.Var(L"r4", 1).Var(L"arr").Field(L"length").Load().Store();
  a.Var(L"arr").Field(L"length").PushInt(10).Store();  // no effect
  a.Var(L"r5", 1).PushInt(4).Var(L"arr").Field(L"sum").Load().Call(1).Store();
  a.Var(L"r6", 1).Var(L"n").Field(L"twice").Load().Call(0).Store();
  a.Var(L"o").Field(L"p", 1).PushInt(8).Store();
  a.Var(L"r7", 1).Var(L"o").Field(L"p").Load().Store();
  a.Return();
  VmMachine m(a);
  new ArraySum(&m.vm);
  new StringTwice(&m.vm);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"r1").i, 3);
  EXPECT_EQ(m.GlobalValue(L"r2").i, 3);
  EXPECT_EQ(m.GlobalValue(L"r3").i, 0);
  EXPECT_EQ(m.GlobalValue(L"r4").i, 2);
  EXPECT_EQ(m.GlobalValue(L"arr").array->count, 2);
  EXPECT_EQ(m.GlobalValue(L"r5").i, 7);
  EXPECT_EQ(TextOf(m.GlobalValue(L"r6")), L"123123");
  EXPECT_EQ(m.GlobalValue(L"r7").i, 8);
  EXPECT_EQ(m.vm.ReceiverObject(), m.GlobalValue(L"o").object);
  EXPECT_EQ(m.vm.FindFunction(L"Array", L"sum")->displayName, std::wstring(L"Array.sum"));
  EXPECT_EQ(m.vm.FindFunction(L"Array", L"nope"), nullptr);
  EXPECT_EQ(m.vm.FindFunction(L"Array", std::wstring(250, L'x').c_str()), nullptr);
}

TEST(VmInstructions, DeleteReleasesButKeepsTheSlot) {
  VmAsm a;
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"p", 1).PushString(L"v").Store();
  a.Var(L"r", 1).Var(L"o").Field(L"p").Op(OP_DELETE).Store();
  a.Var(L"a", 1).PushInt(1).PushInt(2).NewArray(2).Store();
  a.Var(L"a").PushInt(0).Index(0).Op(OP_DELETE).Op(OP_POP).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(TextOf(m.GlobalValue(L"r")), L"1");
  VmVariable* p = m.GlobalValue(L"o").object->FindProperty(L"p");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->value.type, VM_UNDEFINED);
  VmArray* arr = m.GlobalValue(L"a").array;
  EXPECT_EQ(arr->count, 2);
  EXPECT_EQ(arr->items[0].type, VM_UNDEFINED);
  EXPECT_EQ(arr->items[1].i, 2);
}

TEST(VmInstructions, JumpsAndLines) {
  VmAsm a;
  a.Var(L"i", 1).PushInt(0).Store();
  int loop = a.Here();
  a.Line(3).Var(L"i").Load().PushInt(5).Op(OP_LT);
  int exit = a.OpenJump(OP_JUMP_IF_FALSE);
  a.Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_ADD).Store().Jump(loop);
  a.Patch(exit);
  a.Line(9).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.GlobalValue(L"i").i, 5);
  EXPECT_EQ(m.vm.Line(), 9);
  EXPECT_EQ(m.log.GetCount(), 0);
}

TEST(VmInstructions, JumpsOutsideTheCodeStopSilently) {
  for (int32_t target : {-1, -100, 1000, 0x7FFFFFFF}) {
    VmAsm a;
    a.PushBool(false).JumpIfFalse(target).PushInt(1);
    VmMachine m(a);
    m.RunToEnd();
    EXPECT_EQ(m.vm.ProgramCounter(), -1);
    EXPECT_EQ(m.vm.StackCount(), 0);
    EXPECT_EQ(m.log.GetCount(), 0);
    VmAsm b;
    b.Jump(target).PushInt(1);
    VmMachine n(b);
    n.RunToEnd();
    EXPECT_EQ(n.vm.StackCount(), 0);
    EXPECT_EQ(n.log.GetCount(), 0);
  }
}

TEST(VmInstructions, WithScopes) {
  VmAsm a;
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"p", 1).PushInt(3).Store();
  a.Var(L"p", 1).PushInt(100).Store();
  a.Var(L"o").Op(OP_WITH_BEGIN);
  a.Var(L"in", 1).Var(L"p").Load().Store();  // the property hides the global
  a.Var(L"p").PushInt(4).Store();            // and takes the store
  a.Op(OP_WITH_END).Op(OP_WITH_END);         // the second does nothing
  a.Var(L"out", 1).Var(L"p").Load().Store().Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"in").i, 3);
  EXPECT_EQ(m.GlobalValue(L"out").i, 100);
  EXPECT_EQ(m.GlobalValue(L"o").object->FindProperty(L"p")->value.i, 4);
  EXPECT_EQ(m.vm.TopScopeCount(), 0);
}

TEST(VmInstructions, DefineFunctionLaterDefinitionWins) {
  VmAsm a;
  int e1 = a.Define(L"f", {L"x"});
  int e2 = a.Define(L"f", {});
  a.Var(L"r", 1).Var(L"f").Load().Call(0).Store().Return();
  a.PatchTo(e1, a.Here());
  a.PushInt(1).Return();
  a.PatchTo(e2, a.Here());
  a.PushInt(2).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.GlobalValue(L"r").i, 2);
  CVMFunction* f = m.GlobalValue(L"f").function;
  ASSERT_NE(f, nullptr);
  EXPECT_STREQ(f->displayName, L"f");
  EXPECT_EQ(f->argumentCount, 0);
  ASSERT_NE(m.vm.Functions()->next, nullptr);
  EXPECT_EQ(m.vm.Functions()->next->argumentCount, 1);
  EXPECT_STREQ(m.vm.Functions()->next->argumentNames[0], L"x");
}

TEST(VmInstructions, StackOverflowAtThe513thValue) {
  VmAsm a;
  a.Line(1);
  for (int k = 0; k < 512; ++k) a.PushInt(k);
  a.Line(2).PushInt(512);
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.vm.StackCount(), 512);
  EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(2, L"Переполнение стека"));
  VmAsm b;
  for (int k = 0; k < 512; ++k) b.PushInt(k);
  b.Line(3).Op(OP_DUP);
  VmMachine n(b);
  n.RunToEnd();
  EXPECT_EQ(n.LastLog(), VmMachine::ErrorAt(3, L"Переполнение стека"));
}

TEST(VmInstructions, VariableNameInTheMessageIsCut) {
  std::wstring name(300, L'z');
  VmAsm a;
  a.Var(name.c_str());
  VmMachine m(a);
  m.RunToEnd();
  std::wstring message = L"Переменная \"" + name + L"\" не найдена";
  EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(-1, message.substr(0, 255)));
}

}  // namespace
