// Corners of the language: the names a pin may not take, a block that the
// source leaves open, and stored byte code that defines a function again.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "script/compiler/vm_compiler.h"
#include "script/compiler/vm_error_sink.h"
#include "script/editor/script_editor.h"
#include "script/machine/vm_function.h"
#include "script/vm_fixture.h"

namespace {

using vmtest::VmAsm;
using vmtest::VmMachine;

class Reports : public VmErrorSink {
public:
  void ReportError(int position, const wchar_t* message) override {
    texts.push_back(std::wstring(message) + L" @ " + std::to_wstring(position));
  }
  std::vector<std::wstring> texts;
};

// "this" names the receiver of a call and "instanceof" is an operator: a
// pin of either name could never be read or assigned, so the editor keeps
// them with the keywords.
TEST(ScriptPinNames, TheReceiverAndTheTypeOperatorAreReserved) {
  EXPECT_TRUE(IsReservedScriptName(L"this"));
  EXPECT_TRUE(IsReservedScriptName(L"instanceof"));
  // A pin of such a name could not be used: assigning "instanceof" does not
  // compile, and "this" names the receiver, which top-level code has not.
  {
    VmCompiler compiler;
    Reports reports;
    compiler.SetErrorSink(&reports);
    EXPECT_FALSE(compiler.Compile(L"instanceof = 1;"));
  }
  VmCompiler compiler;
  ASSERT_TRUE(compiler.Compile(L"this = 1;"));
  VmMachine m;
  ASSERT_TRUE(m.vm.SetCode(compiler.GetCode(), compiler.GetCodeSize()));
  m.RunToEnd();
  EXPECT_EQ(VmMachine::ErrorAt(1, L"this не определено"), m.LastLog());
  // Names that merely begin like them stay free.
  EXPECT_FALSE(IsReservedScriptName(L"thisOne"));
  EXPECT_FALSE(IsReservedScriptName(L"instance"));
  EXPECT_TRUE(IsScriptIdentifier(L"this"));  // a name by its letters, refused as reserved
}

// A block that the source ends inside is refused with the message that an
// open switch gets, at the end of the source; closed blocks compile.
TEST(ScriptCompiler, ABlockLeftOpenAtTheEndIsRefused) {
  struct Case {
    const wchar_t* source;
    const wchar_t* report;  // null: compiles
  };
  const Case cases[] = {
      {L"while (x) {", L"Ожидается \"}\". @ 11"},
      {L"while (x) { y = 1;", L"Ожидается \"}\". @ 18"},
      {L"{", L"Ожидается \"}\". @ 1"},
      {L"if (a) { b(); } else {", L"Ожидается \"}\". @ 22"},
      {L"for (i = 0; i < 2; i++) { { x = 1; }", L"Ожидается \"}\". @ 36"},
      {L"function f() { return 1;", L"Ожидается \"}\". @ 24"},
      {L"switch (1) { case 1: x();", L"Ожидается \"}\". @ 25"},  // the model
      {L"while (x) { y = 1; }", nullptr},
      {L"{ }", nullptr},
      {L"}", nullptr},  // a stray brace at top level ends an empty statement
      {L"function f() { return 1; } y = f();", nullptr},
  };
  for (const Case& c : cases) {
    VmCompiler compiler;
    Reports reports;
    compiler.SetErrorSink(&reports);
    bool compiled = compiler.Compile(c.source);
    std::string shown(c.source, c.source + wcslen(c.source));
    if (!c.report) {
      EXPECT_TRUE(compiled) << shown;
      EXPECT_TRUE(reports.texts.empty()) << shown;
      continue;
    }
    EXPECT_FALSE(compiled) << shown;
    ASSERT_EQ(1u, reports.texts.size()) << shown;
    EXPECT_EQ(c.report, reports.texts[0]) << shown;
  }
}

int CountGlobals(const VmEngine& vm, const wchar_t* name) {
  int n = 0;
  for (VmVariable* v = vm.Globals(); v; v = v->next)
    if (v->name && wcscmp(v->name, name) == 0) ++n;
  return n;
}

int CountFunctions(const VmEngine& vm) {
  int n = 0;
  for (CVMFunction* f = vm.Functions(); f; f = f->next) ++n;
  return n;
}

// Damaged stored code that jumps back over its function definitions runs
// them again and again: the name keeps one global, and the function made
// the first time stays the one it holds.
TEST(ScriptMachine, ADefinitionRunAgainKeepsOneGlobalAndOneFunction) {
  VmAsm a;
  int entry = a.Define(L"f", {L"p"});
  a.Jump(0);
  a.Patch(entry);
  a.PushUndefined().Return();
  VmMachine m(a);
  m.vm.Run();  // one slice: a few thousand passes over the definition
  ASSERT_GE(m.vm.ProgramCounter(), 0);
  EXPECT_EQ(1, CountGlobals(m.vm, L"f"));
  int functions = CountFunctions(m.vm);
  EXPECT_EQ(1, functions);
  VmVariable* f = m.Global(L"f");
  ASSERT_NE(nullptr, f);
  ASSERT_EQ(VM_FUNCTION, f->value.type);
  CVMFunction* first = f->value.function;
  m.vm.Run();
  EXPECT_EQ(1, CountGlobals(m.vm, L"f"));
  EXPECT_EQ(functions, CountFunctions(m.vm));
  EXPECT_EQ(first, m.Global(L"f")->value.function);
  EXPECT_EQ(0, m.log.GetCount());
}

// A second, different definition of a name replaces the function its
// global holds, in place: lookups find the newer one, as when it hid the
// older.
TEST(ScriptMachine, ADifferentDefinitionReplacesTheGlobalsFunction) {
  VmAsm a;
  int one = a.Define(L"f", {});
  int two = a.Define(L"f", {L"x"});
  a.Var(L"r", 1).Var(L"f").Load().Call(0).Store(1);
  a.Return();
  a.Patch(one);
  a.PushInt(1).Return();
  a.Patch(two);
  a.PushInt(2).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(1, CountGlobals(m.vm, L"f"));
  ASSERT_EQ(VM_FUNCTION, m.Global(L"f")->value.type);
  EXPECT_EQ(1, m.Global(L"f")->value.function->argumentCount);
  EXPECT_EQ(2, m.GlobalValue(L"r").i);
  EXPECT_EQ(0, m.log.GetCount()) << std::string(m.LastLog().begin(), m.LastLog().end()).size();
}

// A global that the program made before (a variable of that name) takes
// the function in place as well.
TEST(ScriptMachine, ADefinitionTakesTheVariableOfItsName) {
  VmAsm a;
  a.PushInt(7).SetVar(L"g");
  int entry = a.Define(L"g", {});
  a.Var(L"r", 1).Var(L"g").Load().Call(0).Store(1);
  a.Return();
  a.Patch(entry);
  a.PushInt(3).Return();
  VmMachine m(a);
  m.RunToEnd();
  EXPECT_EQ(1, CountGlobals(m.vm, L"g"));
  EXPECT_EQ(3, m.GlobalValue(L"r").i);
}

}  // namespace
