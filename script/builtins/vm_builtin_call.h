// What every built-in function does with its arguments: read them where they
// lie on the machine's stack (the first deepest), then remove them all and
// leave exactly one result.
#pragma once

#include <cwchar>

#include "script/machine/vm_engine.h"
#include "script/values/vm_value.h"

class VmBuiltinCall {
public:
  VmBuiltinCall(VmEngine* engine, int argumentCount)
      : engine_(engine), count_(argumentCount < 0 ? 0 : argumentCount), first_(engine->StackTop() - count_ + 1) {}
  VmBuiltinCall(const VmBuiltinCall&) = delete;
  VmBuiltinCall& operator=(const VmBuiltinCall&) = delete;

  int Count() const { return count_; }
  // The k-th argument (k from 0), or null when fewer were given.
  VmValue* Arg(int k) { return k >= 0 && k < count_ && first_ + k >= 0 ? &engine_->StackAt(first_ + k) : nullptr; }
  // The integer, number or text of the k-th argument, or the default when it
  // was not given.
  int32_t IntArg(int k, int32_t missing) {
    VmValue* v = Arg(k);
    return v ? v->ToInt() : missing;
  }
  double DoubleArg(int k) {
    VmValue* v = Arg(k);
    return v ? v->ToDouble() : 0;
  }

  // Removes the arguments and pushes the result, moving it (it becomes
  // undefined). The result must not point into the arguments.
  void Finish(VmValue& result) {
    for (int k = 0; k < count_; ++k) engine_->Pop();
    count_ = 0;
    engine_->Push(result, true);
  }
  // Removes the arguments and pushes undefined.
  void FinishUndefined() {
    VmValue undefined;
    Finish(undefined);
  }
  // Stops the program with the message; the call still leaves its result
  // slot so the stack stays as the caller expects.
  void Fail(const wchar_t* message) {
    engine_->RaiseError(message);
    FinishUndefined();
  }

  VmEngine* Engine() const { return engine_; }

private:
  VmEngine* engine_;
  int count_;
  int first_;
};

// The text of a value (VmValue::ToText) with its length in units; null and
// 0 for no text.
struct VmTextOf {
  explicit VmTextOf(const VmValue& v) {
    chars = v.ToText(buffer);
    length = v.type == VM_STRING ? v.StringLength() : chars ? static_cast<int>(wcslen(chars)) : 0;
  }
  VmTextOf(const VmTextOf&) = delete;
  VmTextOf& operator=(const VmTextOf&) = delete;
  wchar_t buffer[kVmTextBufferChars];
  const wchar_t* chars;
  int length;
};
