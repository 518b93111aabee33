// The machine: the run loop and its budget, calls and frames, name
// resolution, receivers, storage that moves or goes while a reference to it
// is on the stack, and byte code that is damaged.
#include <cstdint>
#include <functional>

#include "script/machine/vm_frame.h"
#include "script/machine/vm_function.h"
#include "script/values/vm_array.h"
#include "script/values/vm_object.h"
#include "runner/vm_runner.h"
#include "script/vm_fixture.h"

namespace {

using vmtest::TextOf;
using vmtest::VmAsm;
using vmtest::VmMachine;

TEST(VmEngine, StartsEmpty) {
  VmEngine vm;
  EXPECT_EQ(vm.ProgramCounter(), 0);
  EXPECT_EQ(vm.StackCount(), 0);
  EXPECT_EQ(vm.Line(), -1);
  EXPECT_EQ(vm.PauseFlag(), -1);
  EXPECT_EQ(vm.CodeSize(), 0);
  EXPECT_EQ(vm.CurrentFrame(), nullptr);
  EXPECT_EQ(vm.Log(), &SimMessageLog::Global());
  EXPECT_EQ(vm.Run(), 0);  // no code: stops at once
  EXPECT_EQ(vm.ProgramCounter(), -1);
}

TEST(VmEngine, ErrorsGoToTheProgramLogByDefault) {
  SimMessageLog& log = SimMessageLog::Global();
  int before = log.GetCount();
  VmEngine vm;
  vm.RaiseError(L"проба");
  ASSERT_EQ(log.GetCount(), before + 1);
  EXPECT_STREQ(log.GetItem(before), L"Ошибка в строке -1: проба");
  log.Resize(before);
}

TEST(VmEngine, BudgetSpreadsAProgramOverRuns) {
  VmAsm a;
  a.PushInt(1).SetVar(L"x");  // 4 instructions
  for (int k = 0; k < 9995; ++k) a.Op(OP_NOP);
  a.Return();  // 10 000 in all
  VmMachine m(a);
  EXPECT_EQ(m.vm.Run(), 4000);
  EXPECT_EQ(m.GlobalValue(L"x").i, 1);
  EXPECT_GE(m.vm.ProgramCounter(), 0);
  EXPECT_EQ(m.vm.Run(), 4000);
  EXPECT_EQ(m.vm.Run(), 2000);
  EXPECT_EQ(m.vm.ProgramCounter(), -1);
  EXPECT_EQ(m.vm.Run(), 0);
}

TEST(VmEngine, StackAndFramesCarryOverBetweenRuns) {
  VmAsm a;
  int entry = a.Define(L"f", {L"n"});
  a.PushInt(40).Var(L"f").Load().Call(1).SetVar(L"r").Return();
  a.PatchTo(entry, a.Here());
  for (int k = 0; k < 5000; ++k) a.Op(OP_NOP);
  a.Var(L"n").Load().PushInt(2).Op(OP_ADD).Return();
  VmMachine m(a);
  m.vm.Run();
  EXPECT_EQ(m.vm.FrameDepth(), 1);
  m.vm.Run();
  EXPECT_EQ(m.vm.FrameDepth(), 0);
  EXPECT_EQ(m.GlobalValue(L"r").i, 42);
}

TEST(VmEngine, TopLevelReturnEndsTheProgram) {
  VmAsm a;
  a.Return().PushInt(1).SetVar(L"x");
  VmMachine m(a);
  EXPECT_EQ(m.vm.Run(), 1);
  EXPECT_EQ(m.vm.ProgramCounter(), -1);
  EXPECT_EQ(m.vm.Run(), 0);
  EXPECT_EQ(m.Global(L"x"), nullptr);
}

TEST(VmEngine, ErrorStopsUntilTheNextStart) {
  VmAsm a;
  a.Var(L"x", 1).PushInt(5).Store().Line(12).PushInt(1).Op(OP_NEG).Op(OP_NEG).Var(L"nope");
  VmMachine m(a);
  m.vm.Run();
  EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(12, L"Переменная \"nope\" не найдена"));
  EXPECT_EQ(m.vm.Run(), 0);
  EXPECT_EQ(m.log.GetCount(), 1);
  EXPECT_EQ(m.GlobalValue(L"x").i, 5);  // what was stored stays
  m.vm.RegisterBuiltins();  // a new start
  EXPECT_EQ(m.vm.ProgramCounter(), 0);
  EXPECT_EQ(m.vm.Line(), 12);  // the line stays until the next OP_LINE
  EXPECT_EQ(m.Global(L"x"), nullptr);
  EXPECT_EQ(m.GlobalValue(L"true").type, VM_BOOLEAN);
  EXPECT_TRUE(m.GlobalValue(L"true").b);
  EXPECT_FALSE(m.GlobalValue(L"false").b);
  ASSERT_NE(m.Global(L"null"), nullptr);
  EXPECT_EQ(m.GlobalValue(L"null").type, VM_UNDEFINED);
}

TEST(VmEngine, ResetKeepsTheCodeAndFreesEverything) {
  VmLiveCounts before = g_vmLiveCounts;
  VmAsm a;
  int entry = a.Define(L"f", {L"a", L"b"});
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Op(OP_WITH_BEGIN);
  a.Var(L"o").Field(L"self", 1).Var(L"o").Load().Store();
  a.PushString(L"x").PushInt(1).NewArray(1).Var(L"f").Load().Call(2);
  a.PatchTo(entry, a.Here());
  a.Var(L"loc", 2).PushString(L"text").Store().Op(OP_NOP).Jump(a.Here() + 5);
  VmMachine m(a);
  m.vm.Run();  // stopped inside f with a local, a with scope and a cycle
  EXPECT_EQ(m.vm.FrameDepth(), 1);
  int size = m.vm.CodeSize();
  m.vm.Reset();
  EXPECT_EQ(m.vm.CodeSize(), size);
  EXPECT_EQ(m.vm.ProgramCounter(), 0);
  EXPECT_EQ(m.vm.StackCount(), 0);
  EXPECT_EQ(m.vm.FrameDepth(), 0);
  EXPECT_EQ(m.vm.TopScopeCount(), 0);
  EXPECT_EQ(m.vm.ReceiverObject(), nullptr);
  EXPECT_EQ(m.vm.ReceiverArray(), nullptr);
  EXPECT_EQ(m.vm.Scratch().type, VM_UNDEFINED);
  EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays);
  EXPECT_EQ(g_vmLiveCounts.objects, before.objects);
  EXPECT_EQ(g_vmLiveCounts.variables, before.variables);
  EXPECT_EQ(g_vmLiveCounts.texts, before.texts);
  EXPECT_EQ(g_vmLiveCounts.functions, before.functions);
  EXPECT_EQ(g_vmLiveCounts.frames, before.frames);
}

// f(x) { return x; } with the argument 1, as a method of an object whose
// property x is 2, and a receiver property that no local hides.
TEST(VmEngine, LocalsAreFoundBeforeReceiverProperties) {
  VmAsm a;
  int ef = a.Define(L"f", {L"x"});
  int eg = a.Define(L"g", {});
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"x", 1).PushInt(2).Store();
  a.Var(L"o").Field(L"y", 1).PushInt(5).Store();
  a.Var(L"o").Field(L"f", 1).Var(L"f").Load().Store();
  a.Var(L"o").Field(L"g", 1).Var(L"g").Load().Store();
  a.Var(L"y", 1).PushInt(100).Store();
  a.Var(L"r1", 1).PushInt(1).Var(L"o").Field(L"f").Load().Call(1).Store();
  a.Var(L"r2", 1).Var(L"o").Field(L"g").Load().Call(0).Store();
  a.Var(L"r3", 1).Var(L"g").Load().Call(0).Store();  // a plain call: the global y
  a.Return();
  a.PatchTo(ef, a.Here());
  a.Var(L"x").Load().Return();
  a.PatchTo(eg, a.Here());
  a.Var(L"y").Load().Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"r1").i, 1);
  EXPECT_EQ(m.GlobalValue(L"r2").i, 5);
  EXPECT_EQ(m.GlobalValue(L"r3").i, 100);
}

TEST(VmEngine, ThisNamesTheReceiverOfAMethodCallOnly) {
  VmAsm a;
  int e = a.Define(L"h", {});
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"v", 1).PushInt(9).Store();
  a.Var(L"o").Field(L"h", 1).Var(L"h").Load().Store();
  a.Var(L"r1", 1).Var(L"o").Field(L"h").Load().Call(0).Store();
  a.Var(L"o").Field(L"v").Load().Op(OP_POP);  // a member of o was looked up last
  a.Line(20).Var(L"r2", 1).Var(L"h").Load().Call(0).Store();
  a.Return();
  a.PatchTo(e, a.Here());
  a.Line(30).Var(L"this").Field(L"v").Load().Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.GlobalValue(L"r1").i, 9);
  EXPECT_EQ(m.GlobalValue(L"r2").type, VM_UNDEFINED);  // created, never stored
  EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(30, L"this не определено"));
}

TEST(VmEngine, DeclarationsInsideAFunction) {
  VmAsm a;
  int e = a.Define(L"f", {});
  a.Var(L"y", 1).PushInt(1).Store();
  a.Var(L"f").Load().Call(0).Op(OP_POP).Return();
  a.PatchTo(e, a.Here());
  a.Var(L"y", 2).PushInt(50).Store();   // a local, though a global y exists
  a.Var(L"z", 1).PushInt(7).Store();    // no such global: a new global
  a.Var(L"w", 3).PushInt(8).Store();    // an unknown mode acts as mode 1
  a.Var(L"ly", 1).Var(L"y").Load().Store();
  a.PushUndefined().Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"y").i, 1);
  EXPECT_EQ(m.GlobalValue(L"z").i, 7);
  EXPECT_EQ(m.GlobalValue(L"w").i, 8);
  EXPECT_EQ(m.GlobalValue(L"ly").i, 50);
}

TEST(VmEngine, ArgumentsMissingAreUndefinedAndSurplusDropped) {
  VmAsm a;
  int e = a.Define(L"f", {L"a", L"b"});
  a.Var(L"r1", 1).PushInt(1).Var(L"f").Load().Call(1).Store();
  a.Var(L"r2", 1).PushInt(1).PushInt(2).PushInt(3).PushInt(4).Var(L"f").Load().Call(4).Store();
  a.Return();
  a.PatchTo(e, a.Here());
  a.Var(L"b").Load().Op(OP_TYPEOF).Var(L"a").Load().Op(OP_ADD).Var(L"b").Load().Op(OP_TYPEOF).Op(OP_ADD).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(TextOf(m.GlobalValue(L"r1")), L"undefined1undefined");
  EXPECT_EQ(TextOf(m.GlobalValue(L"r2")), L"number1number");
  EXPECT_EQ(m.vm.StackCount(), 0);
}

// A return leaves exactly the result where the call was, whatever the body
// stacked (a switch value, an unfinished expression).
TEST(VmEngine, ReturnTrimsTheStackToTheCall) {
  VmAsm a;
  int e = a.Define(L"f", {});
  int g = a.Define(L"g", {});
  a.PushInt(77).Var(L"f").Load().Call(0).SetVar(L"r1").SetVar(L"keep");
  a.Var(L"g").Load().Call(0).SetVar(L"r2").Return();
  a.PatchTo(e, a.Here());
  a.PushInt(1).PushInt(2).PushString(L"res").Return();
  a.PatchTo(g, a.Here());
  a.Return();  // nothing on top: the result is undefined
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(TextOf(m.GlobalValue(L"r1")), L"res");
  EXPECT_EQ(m.GlobalValue(L"keep").i, 77);
  EXPECT_EQ(m.GlobalValue(L"r2").type, VM_UNDEFINED);
  EXPECT_NE(m.Global(L"r2"), nullptr);
  EXPECT_EQ(m.vm.StackCount(), 0);
}

// The local is read before it goes with the call, whether the reference is
// alone on the call's stack or above values the body left; what the caller
// stacked before the call stays, and nothing of the call is left alive.
TEST(VmEngine, ReturningAReferenceToALocalReturnsItsValue) {
  for (int beneath : {0, 2}) {
    VmLiveCounts before = g_vmLiveCounts;
    {
      VmAsm a;
      int e = a.Define(L"f", {});
      a.PushInt(77).Var(L"f").Load().Call(0).SetVar(L"r").SetVar(L"keep").Return();
      a.PatchTo(e, a.Here());
      a.Var(L"loc", 2).PushString(L"local").Store(0).Op(OP_POP);
      if (beneath) a.PushInt(8).PushString(L"below");
      a.Var(L"loc").Return();
      VmMachine m(a);
      m.RunToEnd();
      EXPECT_EQ(m.log.GetCount(), 0) << beneath << ": " << m.LastLog();
      EXPECT_EQ(m.GlobalValue(L"r").type, VM_STRING) << beneath;
      EXPECT_EQ(TextOf(m.GlobalValue(L"r")), L"local") << beneath;
      EXPECT_EQ(m.GlobalValue(L"keep").i, 77) << beneath;
      EXPECT_EQ(m.vm.StackCount(), 0) << beneath;
    }
    EXPECT_EQ(g_vmLiveCounts.frames, before.frames) << beneath;
    EXPECT_EQ(g_vmLiveCounts.variables, before.variables) << beneath;
    EXPECT_EQ(g_vmLiveCounts.texts, before.texts) << beneath;
  }
}

TEST(VmEngine, EndlessRecursionStopsWithStackOverflow) {
  VmAsm a;
  int e = a.Define(L"f", {L"n"});
  a.PushInt(0).Var(L"f").Load().Call(1).Return();
  a.PatchTo(e, a.Here());
  a.Line(2).Var(L"n").Load().PushInt(1).Op(OP_ADD).Var(L"f").Load().Call(1).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(2, L"Переполнение стека"));
  EXPECT_EQ(m.vm.FrameDepth(), VmEngine::kMaxFrames);
  m.vm.Reset();
  EXPECT_EQ(m.vm.FrameDepth(), 0);
}

// Array.push for the tests of storage that moves: appends its arguments to
// the receiver array and answers the new count.
class ArrayPush : public CVMFunction {
public:
  explicit ArrayPush(VmEngine* e) : CVMFunction(e, L"Array.push") {}
  void Call(int n, VmEngine* e) override {
    VmArray* a = e->ReceiverArray();
    int first = e->StackTop() - n + 1;
    for (int k = 0; k < n; ++k) a->PushBack(e->StackAt(first + k));
    for (int k = 0; k < n; ++k) e->Pop();
    VmValue r;
    r.SetInt(a->count);
    e->Push(r, true);
  }
};

// a[0] = a.push(1) with an array full to its capacity: the push moves the
// items while the reference to item 0 is on the stack.
TEST(VmEngine, StoreIntoAnItemAfterTheArrayMoved) {
  VmAsm a;
  a.Var(L"a", 1);
  for (int k = 0; k < 8; ++k) a.PushInt(k);
  a.NewArray(8).Store();
  a.Var(L"a").PushInt(0).Index(1);
  a.PushInt(1).Var(L"a").Field(L"push").Load().Call(1);
  a.Store().Return();
  VmMachine m(a);
  new ArrayPush(&m.vm);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  VmArray* arr = m.GlobalValue(L"a").array;
  ASSERT_EQ(arr->count, 9);
  EXPECT_EQ(arr->items[0].i, 9);
  EXPECT_EQ(arr->items[8].i, 1);
}

// o.p = (o = 0): the assignment in the value frees the object while the
// reference to its property is on the stack.
TEST(VmEngine, StoreIntoAPropertyOfAnObjectLetGo) {
  int objects = g_vmLiveCounts.objects;
  VmAsm a;
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"p", 1).Var(L"o", 1).PushInt(0).Store(0).Store(0).SetVar(L"r").Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"o").i, 0);
  EXPECT_EQ(m.GlobalValue(L"r").i, 0);
  EXPECT_EQ(g_vmLiveCounts.objects, objects);
}

// An item reference whose array shrank meanwhile: reading it is an index
// error, writing it brings the item back.
TEST(VmEngine, ItemReferenceAfterTheArrayShrank) {
  VmAsm a;
  a.Var(L"a", 1).PushInt(1).PushInt(2).PushInt(3).NewArray(3).Store();
  a.Var(L"a").PushInt(2).Index(0);
  a.Var(L"a", 1).PushInt(1).PushInt(2).NewArray(2).Store();  // the old array lives on in the reference
  a.Line(4).Load();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();  // the old array still has item 2
  ASSERT_EQ(m.vm.StackCount(), 1);
  EXPECT_EQ(m.vm.StackAt(0).i, 3);
}

TEST(VmEngine, WithKeepsItsObjectAlive) {
  int objects = g_vmLiveCounts.objects;
  VmAsm a;
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"p", 1).PushInt(6).Store();
  a.Var(L"o").Op(OP_WITH_BEGIN);
  a.Var(L"o").PushInt(0).Store();  // the with scope still holds the object
  a.Var(L"r", 1).Var(L"p").Load().Store();
  a.Op(OP_WITH_END).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"r").i, 6);
  m.vm.Reset();
  EXPECT_EQ(g_vmLiveCounts.objects, objects);
}

TEST(VmEngine, ReferencesAreNeverStored) {
  VmAsm a;
  int e = a.Define(L"f", {L"x"});
  a.Var(L"g", 1).PushInt(5).Store();
  a.Var(L"s", 1).Var(L"g").Store();                 // the value of g, not a reference
  a.Var(L"arr", 1).Var(L"g").NewArray(1).Store();   // an item that is g's value
  a.Var(L"g").Var(L"f").Load().Call(1).Op(OP_POP);  // an argument that is g's value
  a.Var(L"g").PushInt(6).Store();
  a.Return();
  a.PatchTo(e, a.Here());
  a.Var(L"x").Load().SetVar(L"seen").PushUndefined().Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"s").type, VM_INTEGER);
  EXPECT_EQ(m.GlobalValue(L"s").i, 5);
  ASSERT_EQ(m.GlobalValue(L"arr").array->count, 1);
  EXPECT_EQ(m.GlobalValue(L"arr").array->items[0].i, 5);
  EXPECT_EQ(m.GlobalValue(L"seen").i, 5);
}

TEST(VmEngine, ArrayAndTextGrowthIsCapped) {
  VmAsm a;
  a.Var(L"s", 1).PushString(L"x").Store();
  int loop = a.Here();
  a.Line(3).Var(L"s").Var(L"s").Load().Var(L"s").Load().Op(OP_ADD).Store().Jump(loop);
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(3, L"Слишком длинная строка"));
  EXPECT_EQ(m.GlobalValue(L"s").StringLength(), 1 << 22);
}

TEST(VmEngine, TruncatedOperandsStopSilently) {
  VmAsm full;
  full.PushInt(5);
  for (int cut = 1; cut < full.code.Size(); ++cut) {
    VmMachine m;
    m.Load(std::vector<uint8_t>(full.code.Bytes(), full.code.Bytes() + cut));
    m.RunToEnd();
    EXPECT_EQ(m.vm.ProgramCounter(), -1);
    EXPECT_EQ(m.vm.StackCount(), 0) << cut;
    EXPECT_EQ(m.log.GetCount(), 0) << cut;
  }
}

// Every prefix of a program that uses every operand kind ends without a
// crash, and the reset afterwards frees all it made.
TEST(VmEngine, EveryTruncationOfAProgramEnds) {
  VmAsm a;
  int e = a.Define(L"f", {L"a", L"b"});
  a.Line(1).Var(L"x", 1).PushDouble(2.5).Store().Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"p", 1).PushString(L"текст").Store();
  a.PushBool(true).PushInt(3).Var(L"f").Load().Call(2).Op(OP_POP);
  a.Var(L"arr", 1).PushInt(1).PushInt(2).NewArray(2).Store();
  a.Var(L"arr").PushInt(1).Index(1).Load().PushInt(2).Op(OP_LT);
  int end = a.Here() + 5;
  a.JumpIfFalse(end).Return();
  a.PatchTo(e, a.Here());
  a.Var(L"a").Load().Op(OP_TYPEOF).Return();
  VmLiveCounts before = g_vmLiveCounts;
  for (int cut = 0; cut <= a.code.Size(); ++cut) {
    VmMachine m;
    m.Load(std::vector<uint8_t>(a.code.Bytes(), a.code.Bytes() + cut));
    EXPECT_LT(m.RunToEnd(100), 100) << cut;
    m.vm.Reset();
    EXPECT_EQ(g_vmLiveCounts.arrays, before.arrays) << cut;
    EXPECT_EQ(g_vmLiveCounts.objects, before.objects) << cut;
    EXPECT_EQ(g_vmLiveCounts.variables, before.variables) << cut;
    EXPECT_EQ(g_vmLiveCounts.texts, before.texts) << cut;
  }
}

TEST(VmEngine, DefineFunctionWithHugeCountAndNoRoomStops) {
  VmAsm a;
  a.Op(OP_DEFINE_FUNCTION).Str(L"f").Byte(255).Str(L"a");
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.vm.ProgramCounter(), -1);
  EXPECT_EQ(m.log.GetCount(), 0);
  EXPECT_EQ(m.Global(L"f"), nullptr);
}

TEST(VmEngine, StringOperandWithoutTerminatorEndsTheCode) {
  std::vector<uint8_t> bytes = {OP_PUSH_CONST, 4, 'a', 0, 'b', 0, 'c'};
  VmMachine m;
  m.Load(bytes);
  m.vm.Run();
  EXPECT_EQ(m.vm.ProgramCounter(), -1);
  ASSERT_EQ(m.vm.StackCount(), 1);
  EXPECT_EQ(TextOf(m.vm.StackAt(0)), L"ab");
}

// Random bytes as code: whatever they hold, the machine ends every slice,
// never reads outside the code and frees everything on reset.
TEST(VmEngine, RandomCodeNeverCrashes) {
  uint32_t seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return static_cast<uint8_t>(seed >> 16);
  };
  VmLiveCounts before = g_vmLiveCounts;
  for (int program = 0; program < 3000; ++program) {
    std::vector<uint8_t> bytes(1 + program % 200);
    for (uint8_t& b : bytes) {
      b = next();
      if (b > 100) b %= 47;  // mostly real opcodes
    }
    VmMachine m;
    m.Load(bytes);
    m.RunToEnd(20);
    m.vm.Reset();
    ASSERT_EQ(g_vmLiveCounts.arrays, before.arrays) << program;
    ASSERT_EQ(g_vmLiveCounts.objects, before.objects) << program;
    ASSERT_EQ(g_vmLiveCounts.frames, before.frames) << program;
  }
}

TEST(VmEngine, PauseFlagEndsTheSlice) {
  VmAsm a;
  a.Op(OP_NOP).Op(OP_NOP).Op(OP_NOP).Return();
  VmMachine m(a);
  m.vm.SetPauseFlag(1);
  EXPECT_EQ(m.vm.Run(), 1);
  EXPECT_EQ(m.vm.Run(), 1);
  m.vm.SetPauseFlag(0);
  EXPECT_EQ(m.vm.Run(), 2);
  m.vm.Reset();
  EXPECT_EQ(m.vm.PauseFlag(), -1);
}

TEST(VmEngine, PushAndPopForBuiltins) {
  VmMachine m;
  VmValue v;
  v.SetString(L"moved");
  ASSERT_TRUE(m.vm.Push(v, true));
  EXPECT_EQ(v.type, VM_UNDEFINED);
  v.SetString(L"copied");
  ASSERT_TRUE(m.vm.Push(v, false));
  EXPECT_EQ(TextOf(v), L"copied");
  EXPECT_EQ(m.vm.StackCount(), 2);
  EXPECT_TRUE(m.vm.CheckOperands(2));
  EXPECT_TRUE(m.vm.Pop());
  EXPECT_TRUE(m.vm.Pop());
  EXPECT_EQ(m.log.GetCount(), 0);
  EXPECT_FALSE(m.vm.Pop());
  EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(-1, L"Повреждение стека"));
  EXPECT_FALSE(m.vm.CheckOperands(1));
}

TEST(VmEngine, SetCodeSize) {
  VmEngine vm;
  EXPECT_FALSE(vm.SetCodeSize(-1));
  ASSERT_TRUE(vm.SetCodeSize(3));
  EXPECT_EQ(vm.CodeSize(), 3);
  EXPECT_EQ(vm.Code()[2], 0);
  vm.Code()[0] = OP_NOP;
  vm.Code()[1] = OP_RETURN;
  EXPECT_EQ(vm.Run(), 2);
  ASSERT_TRUE(vm.SetCodeSize(0));
  EXPECT_EQ(vm.CodeSize(), 0);
}

}  // namespace

namespace {

// f(x) { with (o) return x; } called with 2 while o.x is 1: a with scope
// hides the arguments; the scope goes with the call.
TEST(VmEngine, WithScopeInsideACallHidesLocals) {
  VmAsm a;
  int e = a.Define(L"f", {L"x"});
  a.Var(L"o", 1).Op(OP_NEW_OBJECT).Store();
  a.Var(L"o").Field(L"x", 1).PushInt(1).Store();
  a.Var(L"r", 1).PushInt(2).Var(L"f").Load().Call(1).Store();
  a.Var(L"x", 1).PushInt(3).Store();
  a.Var(L"top", 1).Var(L"x").Load().Store().Return();
  a.PatchTo(e, a.Here());
  a.Var(L"o").Op(OP_WITH_BEGIN).Var(L"x").Load().Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"r").i, 1);
  EXPECT_EQ(m.GlobalValue(L"top").i, 3);
  EXPECT_EQ(m.vm.TopScopeCount(), 0);
}

}  // namespace

namespace {

// Appending to a text that only its variable holds grows it in place; a
// copy taken before keeps what it saw.
TEST(VmEngine, AppendingKeepsEarlierCopies) {
  VmAsm a;
  a.Var(L"s", 1).PushString(L"a").Store();
  a.Var(L"s", 1).Var(L"s").Load().PushString(L"b").Op(OP_ADD).Store();
  a.Var(L"t", 1).Var(L"s").Load().Store();
  a.Var(L"s", 1).Var(L"s").Load().PushString(L"c").Op(OP_ADD).Store();
  a.Var(L"s", 1).Op(OP_DUP).Load().PushString(L"d").Op(OP_ADD).Store();
  a.Var(L"u", 1).Var(L"s").Load().Store();
  a.Var(L"s", 1).Var(L"s").Load().PushInt(5).Op(OP_ADD).Store();
  a.Var(L"v", 1).Var(L"s").Load().Store();
  for (int k = 0; k < 100; ++k) a.Var(L"v", 1).Op(OP_DUP).Load().PushString(L"xy").Op(OP_ADD).Store();
  a.Var(L"w", 1).Var(L"v").Load().PushString(L"!").Op(OP_ADD).Store(0).Op(OP_POP).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(TextOf(m.GlobalValue(L"t")), L"ab");
  EXPECT_EQ(TextOf(m.GlobalValue(L"u")), L"abcd");
  EXPECT_EQ(TextOf(m.GlobalValue(L"s")), L"abcd5");
  std::wstring v = L"abcd5";
  for (int k = 0; k < 100; ++k) v += L"xy";
  EXPECT_EQ(TextOf(m.GlobalValue(L"v")), v);
  EXPECT_EQ(m.GlobalValue(L"v").StringLength(), 205);
  EXPECT_EQ(TextOf(m.GlobalValue(L"w")), v + L"!");
}

}  // namespace

namespace {

// A store cut off before its operand does not run, so the text it would have
// replaced stays as it was.
TEST(VmEngine, AppendBeforeATruncatedStoreChangesNothing) {
  VmAsm a;
  a.Var(L"s", 1).PushString(L"a").Store();
  a.Var(L"s", 1).Var(L"s").Load().PushString(L"b").Op(OP_ADD).Op(OP_STORE);
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0);
  EXPECT_EQ(TextOf(m.GlobalValue(L"s")), L"a");
}

}  // namespace

namespace {

// Instructions that run together (a variable and its read, a constant and
// the operation on it, a comparison and its jump, a line and the statement
// after it) never cross the end of a slice: each slice runs exactly 4000.
TEST(VmEngine, SlicesEndAtTheSameInstructionWhateverRunsTogether) {
  for (int before = 3994; before <= 3999; ++before) {
    VmAsm a;
    a.Var(L"x", 1).PushInt(5).Store();  // 3 instructions
    for (int k = 3; k < before; ++k) a.Op(OP_NOP);
    int top = a.Here();
    a.Line(2).Var(L"x").Load().PushInt(1).Op(OP_SUB).PushInt(2).Op(OP_LT);
    a.JumpIfFalse(top).Line(3).Return();
    VmMachine m(a);
    EXPECT_EQ(m.vm.Run(), 4000) << before;
    int slices = 1;
    long long total = 4000;
    while (m.vm.ProgramCounter() >= 0 && slices < 100) {
      total += m.vm.Run();
      ++slices;
    }
    // x stays 5: 5 - 1 < 2 is false, so the loop repeats until the budget
    // of the test ends it; every full slice ran 4000 instructions.
    EXPECT_EQ(total, 4000LL * slices) << before;
    EXPECT_EQ(m.log.GetCount(), 0);
  }
  // The same loop with a condition that ends it: the count of instructions
  // is that of the plain loop.
  VmAsm b;
  b.Var(L"i", 1).PushInt(0).Store();  // 3
  int top = b.Here();
  b.Line(2).Var(L"i").Load().PushInt(100).Op(OP_LT);  // 5
  int exit = b.OpenJump(OP_JUMP_IF_FALSE);            // 6
  b.Var(L"i").Op(OP_DUP).Load().PushInt(1).Op(OP_ADD).Store().Jump(top);  // 13
  b.Patch(exit);
  b.Return();
  VmMachine m(b);
  EXPECT_EQ(m.vm.Run(), 3 + 100 * 13 + 6 + 1);
  EXPECT_EQ(m.GlobalValue(L"i").i, 100);
}

// A call of a function read by name (a variable, its read and the call)
// counts three instructions wherever the end of a slice falls among them.
TEST(VmEngine, ACallByNameCountsItsThreeInstructions) {
  for (int before = 3996; before <= 4000; ++before) {
    VmAsm a;
    int e = a.Define(L"f", {});  // 1 instruction
    for (int k = 1; k < before; ++k) a.Op(OP_NOP);
    a.Var(L"r", 1).Var(L"f").Load().Call(0).Store().Return();
    a.PatchTo(e, a.Here());
    a.PushInt(9).Return();
    VmMachine m(a);
    ASSERT_EQ(m.vm.Run(), 4000) << before;
    // Instructions run of the program's own: before, then r, f, its read,
    // the call and the body's two, as far as the 4000 reach.
    int ran = 4000 - before;
    EXPECT_EQ(m.vm.FrameDepth(), ran >= 4 && ran < 6 ? 1 : 0) << before;
    int stacked = ran <= 0 ? 0 : ran == 1 ? 1 : ran <= 3 ? 2 : ran == 4 ? 1 : 2;
    EXPECT_EQ(m.vm.StackCount(), stacked) << before;
    m.RunToEnd();
    EXPECT_EQ(m.GlobalValue(L"r").i, 9) << before;
    EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  }
}

// A function read by name onto a stack of 511 values is called; onto 512
// the read overflows.
TEST(VmEngine, ACallByNameNeedsRoomForTheFunction) {
  for (int values : {511, 512}) {
    VmAsm a;
    int e = a.Define(L"f", {});
    for (int k = 0; k < values; ++k) a.PushInt(k);
    a.Line(7).Var(L"f").Load().Call(0).Return();
    a.PatchTo(e, a.Here());
    a.PushInt(-9).Return();
    VmMachine m(a);
    m.RunToEnd();
    if (values == 511) {
      EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
      ASSERT_EQ(m.vm.StackCount(), 512);
      EXPECT_EQ(m.vm.StackAt(511).i, -9);
    } else {
      EXPECT_EQ(m.LastLog(), VmMachine::ErrorAt(7, L"Переполнение стека"));
      EXPECT_EQ(m.vm.FrameDepth(), 0);
    }
  }
}

// A built-in that sets or clears the pause flag while a slice runs.
class PauseBuiltin : public CVMFunction {
public:
  PauseBuiltin(VmEngine* engine, int flag) : CVMFunction(engine, flag > 0 ? L"pause" : L"resume"), flag_(flag) {}
  void Call(int n, VmEngine* engine) override {
    for (int k = 0; k < n; ++k) engine->Pop();
    VmValue none;
    engine->Push(none, true);
    engine->SetPauseFlag(flag_);
  }

private:
  int flag_;
};

TEST(VmEngine, ABuiltinThatPausesEndsTheSliceAfterItsCall) {
  VmAsm a;
  a.Var(L"pause").Load().Call(0).Op(OP_POP);                // 4
  a.Op(OP_NOP).Op(OP_NOP);                                  // 6
  a.Var(L"resume").Load().Call(0).Op(OP_POP).Op(OP_NOP).Return();  // 12
  VmMachine m(a);
  VmValue f;
  f.SetFunction(new PauseBuiltin(&m.vm, 1));
  m.vm.AddGlobal(new VmVariable(L"pause"));
  m.vm.FindGlobal(L"pause")->value.Assign(f);
  f.SetFunction(new PauseBuiltin(&m.vm, 0));
  m.vm.AddGlobal(new VmVariable(L"resume"));
  m.vm.FindGlobal(L"resume")->value.Assign(f);
  EXPECT_EQ(m.vm.Run(), 3);  // up to the call that paused
  EXPECT_EQ(m.vm.Run(), 1);  // paused: one instruction a slice
  EXPECT_EQ(m.vm.Run(), 1);
  EXPECT_EQ(m.vm.Run(), 1);
  EXPECT_EQ(m.vm.Run(), 1);  // the resume variable
  EXPECT_EQ(m.vm.Run(), 1);  // its read
  EXPECT_EQ(m.vm.Run(), 4);  // the call resumes: the slice goes on to the end
  EXPECT_EQ(m.vm.ProgramCounter(), -1);
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
}

// A function's locals are found by name in every call, whatever order they
// were declared in, and a name read before its local exists is the global.
TEST(VmEngine, LocalsAreFoundInEveryCallWhateverTheirOrder) {
  VmRunResult r = RunVmScript(
      L"function f(flag) {\n"
      L"  if (flag) { var a = 1; var b = 2; }\n"
      L"  else { var b = 20; var a = 10; }\n"
      L"  return a * 100 + b;\n"
      L"}\n"
      L"function g(p) {\n"
      L"  for (i = 0; i < 2; i = i + 1) {\n"
      L"    t = t * 10 + x;\n"
      L"    if (i == 0) { var x = 7; }\n"
      L"  }\n"
      L"  return t;\n"
      L"}\n"
      L"print(f(true)); print(f(false)); print(f(true));\n"
      L"t = 0; x = 5;\n"
      L"print(g(0)); print(x); print(g(0));\n");
  ASSERT_TRUE(r.compiled) << r.error;
  EXPECT_EQ(r.lines, (std::vector<std::wstring>{L"102", L"1020", L"102", L"57", L"5", L"5757"}));
}

// h(a, a): the later argument of a repeated name is the one found, in
// every call.
TEST(VmEngine, ARepeatedArgumentNameNamesTheLaterArgument) {
  VmAsm a;
  int e = a.Define(L"h", {L"a", L"a"});
  a.Var(L"r1", 1).PushInt(1).PushInt(2).Var(L"h").Load().Call(2).Store();
  a.Var(L"r2", 1).PushInt(3).PushInt(4).Var(L"h").Load().Call(2).Store();
  a.Var(L"r3", 1).PushInt(5).Var(L"h").Load().Call(1).Store().Return();
  a.PatchTo(e, a.Here());
  a.Var(L"a").Load().Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(m.log.GetCount(), 0) << m.LastLog();
  EXPECT_EQ(m.GlobalValue(L"r1").i, 2);
  EXPECT_EQ(m.GlobalValue(L"r2").i, 4);
  EXPECT_EQ(m.GlobalValue(L"r3").type, VM_UNDEFINED);  // the second a got no value
}

// More locals than a frame holds in itself, in calls nested deeper than
// the frame pool keeps.
TEST(VmEngine, ManyLocalsInDeepCalls) {
  VmLiveCounts before = g_vmLiveCounts;
  VmRunResult r = RunVmScript(
      L"function d(n, a, b, c) {\n"
      L"  var e = 1; var f2 = 2; var g = 3; var h = 4; var i = 5; var j = 6; var k = 7; var l = n;\n"
      L"  if (n == 0) return l + a + b + c + e + f2 + g + h + i + j + k;\n"
      L"  return d(n - 1, a, b, c) + l;\n"
      L"}\n"
      L"print(d(600, 1, 2, 3));\n");
  ASSERT_TRUE(r.compiled) << r.error;
  // 1 + 2 + 3 + 1 + 2 + ... + 7 = 34 at the bottom, and 600 + 599 + ... + 1.
  EXPECT_EQ(r.lines, (std::vector<std::wstring>{L"180334"}));
  EXPECT_EQ(g_vmLiveCounts.variables, before.variables);
  EXPECT_EQ(g_vmLiveCounts.frames, before.frames);
}

}  // namespace
