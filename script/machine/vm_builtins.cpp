// The built-in functions, objects and globals every script starts with.
#include <cmath>
#include <new>

#include "script/builtins/array/vm_array_concat.h"
#include "script/builtins/array/vm_array_join.h"
#include "script/builtins/array/vm_array_pop.h"
#include "script/builtins/array/vm_array_push.h"
#include "script/builtins/array/vm_array_reverse.h"
#include "script/builtins/array/vm_array_shift.h"
#include "script/builtins/array/vm_array_slice.h"
#include "script/builtins/array/vm_array_sort.h"
#include "script/builtins/array/vm_array_splice.h"
#include "script/builtins/array/vm_array_unshift.h"
#include "script/builtins/console/vm_console_info.h"
#include "script/builtins/console/vm_console_log.h"
#include "script/builtins/global/vm_parse_float.h"
#include "script/builtins/global/vm_parse_int.h"
#include "script/builtins/global/vm_sleep.h"
#include "script/builtins/global/vm_time.h"
#include "script/builtins/math/trig/vm_math_acos.h"
#include "script/builtins/math/trig/vm_math_asin.h"
#include "script/builtins/math/trig/vm_math_atan.h"
#include "script/builtins/math/trig/vm_math_atan2.h"
#include "script/builtins/math/trig/vm_math_cos.h"
#include "script/builtins/math/trig/vm_math_sin.h"
#include "script/builtins/math/trig/vm_math_tan.h"
#include "script/builtins/math/vm_math_abs.h"
#include "script/builtins/math/vm_math_ceil.h"
#include "script/builtins/math/vm_math_exp.h"
#include "script/builtins/math/vm_math_floor.h"
#include "script/builtins/math/vm_math_log.h"
#include "script/builtins/math/vm_math_max.h"
#include "script/builtins/math/vm_math_min.h"
#include "script/builtins/math/vm_math_pow.h"
#include "script/builtins/math/vm_math_random.h"
#include "script/builtins/math/vm_math_round.h"
#include "script/builtins/math/vm_math_sqrt.h"
#include "script/builtins/string/vm_string_char_at.h"
#include "script/builtins/string/vm_string_char_code_at.h"
#include "script/builtins/string/vm_string_concat.h"
#include "script/builtins/string/vm_string_from_char_code.h"
#include "script/builtins/string/vm_string_index_of.h"
#include "script/machine/vm_engine.h"
#include "script/values/vm_object.h"
#include "script/values/vm_variable.h"

namespace {

VmVariable* NewGlobal(VmEngine* engine, const wchar_t* name) {
  VmVariable* v = new (std::nothrow) VmVariable();
  if (!v) return nullptr;
  if (!v->SetName(name)) {
    delete v;
    return nullptr;
  }
  engine->AddGlobal(v);
  return v;
}

// A new global holding a new object; null when memory ran out.
VmObject* NewGlobalObject(VmEngine* engine, const wchar_t* name) {
  VmObject* o = new (std::nothrow) VmObject(engine);
  if (!o) return nullptr;
  VmVariable* v = NewGlobal(engine, name);
  if (!v) return nullptr;  // the object stays in the machine's list until the reset
  v->value.SetObject(o);
  return o;
}

// A built-in function: linked into the machine's function list by its
// constructor (and deleted by the reset); null when memory ran out.
template <class F>
CVMFunction* NewFunction(VmEngine* engine) {
  return new (std::nothrow) F(engine);
}

template <class F>
void AddFunctionProperty(VmEngine* engine, VmObject* object, const wchar_t* name) {
  CVMFunction* f = NewFunction<F>(engine);
  if (!f || !object) return;
  if (VmVariable* p = object->AddProperty(name)) p->value.SetFunction(f);
}

void AddNumberProperty(VmObject* object, const wchar_t* name, double value) {
  if (!object) return;
  if (VmVariable* p = object->AddProperty(name)) p->value.SetDouble(value);
}

template <class F>
void AddGlobalFunction(VmEngine* engine, const wchar_t* name) {
  CVMFunction* f = NewFunction<F>(engine);
  if (!f) return;
  if (VmVariable* v = NewGlobal(engine, name)) v->value.SetFunction(f);
}

}  // namespace

void VmEngine::RegisterBuiltins() {
  Reset();
  // The methods of arrays and texts are found by display name in the
  // function list only.
  NewFunction<CVMArrayPush>(this);
  NewFunction<CVMArrayShift>(this);
  NewFunction<CVMArrayJoin>(this);
  NewFunction<CVMArrayConcat>(this);
  NewFunction<CVMArraySplice>(this);
  NewFunction<CVMArrayPop>(this);
  NewFunction<CVMArrayUnshift>(this);
  NewFunction<CVMArraySlice>(this);
  NewFunction<CVMArrayReverse>(this);
  NewFunction<CVMArraySort>(this);

  VmObject* stringObject = NewGlobalObject(this, L"String");
  AddFunctionProperty<CVMStringFromCharCode>(this, stringObject, L"fromCharCode");
  NewFunction<CVMStringCharAt>(this);
  NewFunction<CVMStringCharCodeAt>(this);
  NewFunction<CVMStringConcat>(this);
  NewFunction<CVMStringIndexOf>(this);

  VmObject* math = NewGlobalObject(this, L"Math");
  AddFunctionProperty<CVMMathAbs>(this, math, L"abs");
  AddFunctionProperty<CVMMathAcos>(this, math, L"acos");
  AddFunctionProperty<CVMMathAsin>(this, math, L"asin");
  AddFunctionProperty<CVMMathAtan>(this, math, L"atan");
  AddFunctionProperty<CVMMathAtan2>(this, math, L"atan2");
  AddFunctionProperty<CVMMathCeil>(this, math, L"ceil");
  AddFunctionProperty<CVMMathCos>(this, math, L"cos");
  AddFunctionProperty<CVMMathSin>(this, math, L"sin");
  AddFunctionProperty<CVMMathSqrt>(this, math, L"sqrt");
  AddFunctionProperty<CVMMathTan>(this, math, L"tan");
  AddFunctionProperty<CVMMathExp>(this, math, L"exp");
  AddFunctionProperty<CVMMathFloor>(this, math, L"floor");
  AddFunctionProperty<CVMMathLog>(this, math, L"log");
  AddFunctionProperty<CVMMathMax>(this, math, L"max");
  AddFunctionProperty<CVMMathMin>(this, math, L"min");
  AddFunctionProperty<CVMMathPow>(this, math, L"pow");
  AddFunctionProperty<CVMMathRandom>(this, math, L"random");
  AddFunctionProperty<CVMMathRound>(this, math, L"round");
  AddNumberProperty(math, L"PI", 3.14159265358979323846);
  AddNumberProperty(math, L"LN10", 2.30258509299404568402);
  AddNumberProperty(math, L"E", 2.71828182845904523536);
  AddNumberProperty(math, L"LN2", 0.69314718055994530942);
  AddNumberProperty(math, L"LOG10E", 0.43429448190325182765);
  AddNumberProperty(math, L"LOG2E", 1.44269504088896340736);
  AddNumberProperty(math, L"SQRT1_2", 0.70710678118654752440);
  AddNumberProperty(math, L"SQRT2", 1.41421356237309504880);

  VmObject* console = NewGlobalObject(this, L"console");
  AddFunctionProperty<CVMConsoleLog>(this, console, L"log");
  AddFunctionProperty<CVMConsoleInfo>(this, console, L"info");

  AddGlobalFunction<CVMParseInt>(this, L"parseInt");
  AddGlobalFunction<CVMParseFloat>(this, L"parseFloat");
  AddGlobalFunction<CVMTime>(this, L"time");
  AddGlobalFunction<CVMSleep>(this, L"sleep");
  AddGlobalFunction<CVMConsoleLog>(this, L"print");
  AddGlobalFunction<CVMConsoleInfo>(this, L"printf");
  if (VmVariable* v = NewGlobal(this, L"true")) v->value.SetBool(true);
  if (VmVariable* v = NewGlobal(this, L"false")) v->value.SetBool(false);
  NewGlobal(this, L"null");  // holds undefined
}
