// Hand assembly of byte code and a machine whose errors go to a log of the
// test's own, for the script tests.
//
//   VmAsm a;
//   a.Var(L"x", 1).PushInt(5).Store(1).Return();
//   VmMachine m(a);
//   m.RunToEnd();
//   EXPECT_EQ(m.Global(L"x")->value.i, 5);
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scheme/simulation/sim_log.h"
#include "script/compiler/vm_code.h"
#include "script/machine/vm_engine.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_value.h"
#include "script/values/vm_variable.h"

namespace vmtest {

class VmAsm {
public:
  VmAsm& Op(int op) { return Byte(op); }
  VmAsm& Byte(int b) {
    code.EmitByte(b);
    return *this;
  }
  VmAsm& Int(int32_t v) {
    code.EmitInt(v);
    return *this;
  }
  VmAsm& Double(double v) {
    code.EmitDouble(v);
    return *this;
  }
  VmAsm& Str(const wchar_t* s) {
    code.EmitString(s);
    return *this;
  }
  VmAsm& PushUndefined() { return Op(OP_PUSH_CONST).Byte(0); }
  VmAsm& PushBool(bool v) { return Op(OP_PUSH_CONST).Byte(1).Byte(v ? 1 : 0); }
  VmAsm& PushInt(int32_t v) { return Op(OP_PUSH_CONST).Byte(2).Int(v); }
  VmAsm& PushDouble(double v) { return Op(OP_PUSH_CONST).Byte(3).Double(v); }
  VmAsm& PushString(const wchar_t* s) { return Op(OP_PUSH_CONST).Byte(4).Str(s); }
  VmAsm& Var(const wchar_t* name, int mode = 0) { return Op(OP_VARIABLE).Str(name).Byte(mode); }
  VmAsm& Field(const wchar_t* name, int create = 0) { return Op(OP_FIELD).Str(name).Byte(create); }
  VmAsm& Index(int write = 0) { return Op(OP_INDEX).Byte(write); }
  VmAsm& Load() { return Op(OP_LOAD); }
  VmAsm& Store(int drop = 1) { return Op(OP_STORE).Byte(drop); }
  VmAsm& Call(int n) { return Op(OP_CALL).Byte(n); }
  VmAsm& Line(int n) { return Op(OP_LINE).Int(n); }
  VmAsm& NewArray(int n) { return Op(OP_NEW_ARRAY).Int(n); }
  VmAsm& Return() { return Op(OP_RETURN); }
  VmAsm& Jump(int target) { return Op(OP_JUMP).Int(target); }
  VmAsm& JumpIfFalse(int target) { return Op(OP_JUMP_IF_FALSE).Int(target); }
  // name = value of the top (the value is taken off the stack).
  VmAsm& SetVar(const wchar_t* name) { return Var(name, 1).Op(OP_SWAP).Store(1); }
  // OP_DEFINE_FUNCTION with its entry operand left open; answers the
  // operand's offset for Patch.
  int Define(const wchar_t* name, std::initializer_list<const wchar_t*> args) {
    Op(OP_DEFINE_FUNCTION).Str(name).Byte(static_cast<int>(args.size()));
    for (const wchar_t* a : args) Str(a);
    int at = Here();
    Int(0);
    return at;
  }
  // A jump whose target is set later by Patch; answers the operand offset.
  int OpenJump(int op) {
    Op(op);
    int at = Here();
    Int(0);
    return at;
  }
  void Patch(int operand) { code.PatchInt(operand, Here()); }
  void PatchTo(int operand, int target) { code.PatchInt(operand, target); }
  int Here() const { return code.Size(); }
  std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(code.Bytes(), code.Bytes() + code.Size()); }

  VmCode code;
};

class VmMachine {
public:
  VmMachine() { vm.SetLog(&log); }
  explicit VmMachine(const VmAsm& a) : VmMachine() { Load(a); }
  void Load(const VmAsm& a) { ASSERT_TRUE(vm.SetCode(a.code.Bytes(), a.code.Size())); }
  void Load(const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(vm.SetCode(bytes.data(), static_cast<int>(bytes.size())));
  }
  // Runs slices until the program stops; answers how many slices ran.
  int RunToEnd(int maxSlices = 100000) {
    int slices = 0;
    while (vm.ProgramCounter() >= 0 && slices < maxSlices) {
      vm.Run();
      ++slices;
    }
    return slices;
  }
  VmVariable* Global(const wchar_t* name) { return vm.FindGlobal(name); }
  const VmValue& GlobalValue(const wchar_t* name) {
    static VmValue undefined;
    VmVariable* v = vm.FindGlobal(name);
    return v ? v->value : undefined;
  }
  std::wstring LogLine(int i) const {
    const wchar_t* t = log.GetItem(i);
    return t ? t : L"<none>";
  }
  std::wstring LastLog() const { return log.GetCount() ? LogLine(log.GetCount() - 1) : L"<empty>"; }
  // The error line the machine logs for a message at a line.
  static std::wstring ErrorAt(int line, const std::wstring& message) {
    return L"Ошибка в строке " + std::to_wstring(line) + L": " + message;
  }

  SimMessageLog log;
  VmEngine vm;
};

// Text of a value for comparisons in tests.
inline std::wstring TextOf(const VmValue& v) {
  wchar_t buffer[kVmTextBufferChars];
  const wchar_t* t = v.ToText(buffer);
  return t ? t : L"";
}

}  // namespace vmtest
