// The instructions of the script machine.
#include <climits>
#include <cstring>
#include <cwchar>
#include <new>

#include "foundation/buffers.h"
#include "script/compiler/vm_code.h"
#include "script/compiler/vm_messages.h"
#include "script/machine/vm_engine.h"
#include "script/machine/vm_frame.h"
#include "script/machine/vm_function.h"
#include "script/machine/vm_live_counts.h"
#include "script/values/vm_array.h"
#include "script/values/vm_object.h"
#include "script/values/vm_text.h"
#include "script/values/vm_variable.h"

// The instructions that run most often are inlined into the run loop.
#define VM_HOT __attribute__((always_inline)) inline

namespace {

int32_t WrapAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int32_t WrapSub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
int32_t WrapMul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

const wchar_t* TypeName(int type) {
  switch (type) {
    case VM_BOOLEAN:
      return L"boolean";
    case VM_INTEGER:
    case VM_NUMBER:
      return L"number";
    case VM_STRING:
      return L"string";
    case VM_ARRAY:
    case VM_OBJECT:
    case VM_REFERENCE:
      return L"object";
    case VM_FUNCTION:
      return L"function";
    default:
      return L"undefined";
  }
}

// Equality by the common type of the two tags; two undefined values are
// equal.
bool ValuesEqual(const VmValue& a, const VmValue& b, int type) {
  switch (type) {
    case VM_UNDEFINED:
      return a.type == VM_UNDEFINED && b.type == VM_UNDEFINED;
    case VM_BOOLEAN:
      return a.ToBool() == b.ToBool();
    case VM_INTEGER:
      return a.ToInt() == b.ToInt();
    case VM_NUMBER:
      return a.ToDouble() == b.ToDouble();
    case VM_STRING:
      return CompareValues(a, b) == 0;
    case VM_ARRAY:
      return a.array == b.array;
    case VM_FUNCTION:
      return a.function == b.function;
    case VM_OBJECT:
      return a.object == b.object;
    case VM_REFERENCE:
      return a.SameReference(b);
    default:
      return false;
  }
}

}  // namespace

void VmEngine::DereferenceSlow(VmValue& v) {
  VmValue copy;
  if (VmValue* target = v.RefTarget()) copy.Assign(*target);
  v.MoveFrom(copy);
}

bool VmEngine::PushReference(VmValue* target) {
  VmValue* slot = PushSlot();
  if (!slot) return false;
  slot->SetReference(target);
  return true;
}

// The locals of a call have distinct names (a local is made only when the
// search found none; only a function's own argument list can repeat a name,
// and its arguments are always made first, in order). So a name found as
// the k-th local of one call of a function is the k-th local of every call
// of it that has one of that name, and checking that one local is enough.
// An argument's local borrows the function's own name text: the same
// pointer in every call. A name that no argument of the function has is no
// local of a call whose locals are still its arguments alone.
VM_HOT VmVariable* VmEngine::FindLocalAt(Site* site) {
  VmFrame* frame = frame_;
  int count = frame->LocalCount();
  if (site->localFunction == frame->function) {
    int k = site->localIndex;
    if (k < 0) {
      if (frame->onlyArguments) return nullptr;
    } else if (k < count) {
      VmVariable* v = frame->Local(k);
      if (v->name == site->localName || (v->hash == site->hash && SameVmName(v->name, site->name))) return v;
    }
  }
  for (int k = count - 1; k >= 0; --k) {
    VmVariable* v = frame->Local(k);
    if (v->hash == site->hash && SameVmName(v->name, site->name)) {
      site->localFunction = frame->function;
      site->localIndex = k;
      site->localName = v->name;
      return v;
    }
  }
  if (frame->onlyArguments) {
    site->localFunction = frame->function;
    site->localIndex = -1;
  }
  return nullptr;
}

// The global last found for the site stays valid until a global is added
// or all go.
VM_HOT VmVariable* VmEngine::FindGlobalAt(Site* site) {
  if (site->globalsVersion == globalsVersion_ && site->global) return site->global;
  VmVariable* global = FindVariable(globals_, site->name, site->hash);
  site->global = global;
  site->globalsVersion = globalsVersion_;
  return global;
}

// A name that needs neither "this", a with scope nor the receiver's
// properties, and names an existing local or global: the value ResolveName
// would refer to. Null: ResolveName decides.
VM_HOT VmValue* VmEngine::FindPlainName(Site* site) {
  if (site->isThis) return nullptr;
  if (VmFrame* frame = frame_) {
    if (frame->scopes.Count()) return nullptr;
    if (VmVariable* local = FindLocalAt(site)) return &local->value;
    if (frame->receiver || site->operand == kVmVariableDeclare) return nullptr;
  } else if (scopes_.Count()) {
    return nullptr;
  }
  VmVariable* global = FindGlobalAt(site);
  return global ? &global->value : nullptr;
}

// Inside a call: the call's with scopes (newest first), its locals and
// arguments, the properties of its receiver, then the globals (not for a
// declaration). At the top level: the with scopes, then the globals. A name
// found as a property of an object makes that object the receiver of a
// call that follows; any other name leaves no receiver.
void VmEngine::ResolveName(Site* site) {
  if (receiverObject_) SetReceiverObject(nullptr);
  const wchar_t* name = site->name;
  if (site->isThis) {
    if (!frame_ || !frame_->receiver) {
      RaiseError(kVmErrorThisUndefined);
      return;
    }
    scratch_.SetObject(frame_->receiver);
    PushReference(&scratch_);
    return;
  }
  VmScopeList& scopes = frame_ ? frame_->scopes : scopes_;
  if (scopes.Count()) {
    VmValue found;
    for (int k = scopes.Count() - 1; k >= 0; --k) {
      if (GetMemberHashed(scopes.At(k), name, site->hash, site->isLength, false, &found, nullptr)) {
        if (VmValue* slot = PushSlot()) slot->MoveFrom(found);
        return;
      }
      if (programCounter_ < 0) return;  // the lookup itself failed
      SetReceiverObject(nullptr);
    }
  }
  int mode = site->operand;
  bool declaring = frame_ && mode == kVmVariableDeclare;
  if (frame_) {
    if (VmVariable* local = FindLocalAt(site)) {
      PushReference(&local->value);
      return;
    }
    if (VmObject* receiver = frame_->receiver) {
      if (VmVariable* p = receiver->FindProperty(name, site->hash)) {
        SetReceiverObject(receiver);
        if (VmValue* slot = PushSlot()) slot->SetPropertyReference(receiver, p);
        return;
      }
    }
  }
  if (!declaring) {
    if (VmVariable* global = FindGlobalAt(site)) {
      PushReference(&global->value);
      return;
    }
  }
  if (mode == kVmVariableExisting) {
    wchar_t text[kMaxDisplayNameChars + 1];
    swprintf(text, kMaxDisplayNameChars + 1, kVmErrorVariableNotFound, name);
    text[kMaxDisplayNameChars] = 0;
    RaiseError(text);
    return;
  }
  VmVariable* variable;
  if (declaring) {
    variable = frame_->AddLocal(name);
  } else {
    variable = new (std::nothrow) VmVariable();
    if (variable && !variable->SetName(name)) {
      delete variable;
      variable = nullptr;
    }
    if (variable) AddGlobal(variable);
  }
  if (!variable) {
    RaiseError(kVmErrorNoMemory);
    return;
  }
  PushReference(&variable->value);
}

VM_HOT void VmEngine::EnterScriptFunction(CVMFunction* function, int n) {
  if (n < 0 || stackTop_ + 1 < n) {
    RaiseError(kVmErrorStackDamaged);
    return;
  }
  if (frameDepth_ >= kMaxFrames) {
    RaiseError(kVmErrorStackOverflow);
    return;
  }
  VmFrame* frame = new (std::nothrow) VmFrame(this, function);
  if (!frame) {
    RaiseError(kVmErrorNoMemory);
    return;
  }
  frame->SetReceiver(receiverObject_);
  int first = stackTop_ - n + 1;
  for (int k = 0; k < function->argumentCount; ++k) {
    // The function outlives its calls, so the local borrows its name.
    VmVariable* local = frame->AddArgument(function->argumentNames[k], function->argumentHashes[k]);
    if (!local) {
      RaiseError(kVmErrorNoMemory);
      return;
    }
    if (k < n) {
      Dereference(stack_[first + k]);
      local->value.MoveFrom(stack_[first + k]);
    }
  }
  // Those moved are empty; surplus arguments are released.
  for (int k = stackTop_; k >= first + function->argumentCount; --k) stack_[k].Release();
  stackTop_ = first - 1;
  frame->stackBase = stackTop_;
  frame->onlyArguments = true;
  Jump(function->entry);
}

void VmEngine::CallScriptFunction(CVMFunction* function, int n) { EnterScriptFunction(function, n); }

void VmEngine::CallBuiltin(CVMFunction* function, int n) {
  function->Call(n, this);
  runLimit_ = pauseFlag_ > 0 ? 0 : kRunBudget;
}

// The value on top is the call's result; everything the call stacked
// beneath it goes, so the caller's stack is as it was before the call.
VM_HOT void VmEngine::Return() {
  VmFrame* frame = frame_;
  if (!frame) {
    programCounter_ = -1;
    return;
  }
  int base = frame->stackBase;
  if (stackTop_ <= base) {
    line_ = frame->savedLine;  // errors after the call name the caller's line
    delete frame;
    PushSlot();  // an undefined result
    return;
  }
  if (stackTop_ == base + 1 && stack_[stackTop_].type != VM_REFERENCE) {
    // The result is already where it goes.
    line_ = frame->savedLine;
    delete frame;
    return;
  }
  // The result stays in its slot while the rest goes, and then moves down
  // to the slot above the caller's stack, which the call took, so it is
  // free. No value is held on the machine stack here: a value's double asks
  // for 8-byte alignment, which the 32-bit stack does not promise, and the
  // compiler would keep a frame pointer through the whole run loop for it,
  // one register fewer in every instruction.
  int top = stackTop_;
  Dereference(stack_[top]);  // a local it names dies with the frame
  for (int k = top - 1; k > base; --k) stack_[k].Release();
  stack_[base + 1].MoveFrom(stack_[top]);
  stackTop_ = base + 1;
  line_ = frame->savedLine;
  delete frame;
}

void VmEngine::Add() {
  VmValue& a = stack_[stackTop_ - 1];
  VmValue& b = stack_[stackTop_];
  if (a.type == VM_INTEGER && b.type == VM_INTEGER) {
    a.i = WrapAdd(a.i, b.i);
    b.type = VM_UNDEFINED;
    --stackTop_;
    return;
  }
  switch (GetCommonType(a.type, b.type)) {
    case VM_INTEGER:
      a.SetInt(WrapAdd(a.ToInt(), b.ToInt()));
      break;
    case VM_NUMBER:
      a.SetDouble(a.ToDouble() + b.ToDouble());
      break;
    case VM_STRING: {
      wchar_t ba[kVmTextBufferChars], bb[kVmTextBufferChars];
      const wchar_t* x = a.ToText(ba);
      const wchar_t* y = b.ToText(bb);
      int nx = a.type == VM_STRING ? a.StringLength() : (x ? static_cast<int>(wcslen(x)) : 0);
      int ny = b.type == VM_STRING ? b.StringLength() : (y ? static_cast<int>(wcslen(y)) : 0);
      if (nx > VmText::kMaxLength - ny) {
        RaiseError(kVmErrorTextTooLong);
        return;
      }
      // s = s + x and s += x: when the text is held only by a and by the
      // value that the store right after this instruction replaces, it
      // grows in place; nothing can see it before the store.
      if (a.type == VM_STRING && a.text && ny > 0 && a.text->Refs() == 2 && stackTop_ >= 2 &&
          programCounter_ < codeSize_ - 1 && code_[programCounter_] == OP_STORE) {  // with its operand
        VmValue& r = stack_[stackTop_ - 2];
        VmValue* target = r.type == VM_REFERENCE ? r.RefTarget() : nullptr;
        if (target && target->type == VM_STRING && target->text == a.text) {
          VmText* grown = a.text;
          if (!VmText::AppendInPlace(&grown, y, ny)) {
            RaiseError(kVmErrorNoMemory);
            return;
          }
          a.text = grown;
          target->text = grown;
          break;
        }
      }
      VmText* text = nullptr;
      if (nx + ny > 0) {
        text = VmText::Create(x, nx, y, ny);
        if (!text) {
          RaiseError(kVmErrorNoMemory);
          return;
        }
      }
      a.TakeText(text);
      break;
    }
    default:
      RaiseError(kVmErrorCannotAdd);
      return;
  }
  Pop();
}

void VmEngine::Arithmetic(int opcode) {
  VmValue& a = stack_[stackTop_ - 1];
  VmValue& b = stack_[stackTop_];
  if (a.type == VM_INTEGER && b.type == VM_INTEGER && (opcode == OP_SUB || opcode == OP_MUL)) {
    a.i = opcode == OP_SUB ? WrapSub(a.i, b.i) : WrapMul(a.i, b.i);
    b.type = VM_UNDEFINED;
    --stackTop_;
    return;
  }
  if (opcode == OP_MOD) {
    int32_t x = a.ToInt(), y = b.ToInt();
    // A remainder that would fault leaves a as it was.
    if (y != 0 && !(x == INT_MIN && y == -1)) a.SetInt(x % y);
    Pop();
    return;
  }
  if (opcode == OP_SHL || opcode == OP_SHR || opcode == OP_USHR) {
    int32_t x = a.ToInt();
    int s = b.ToInt() & 31;
    uint32_t u = static_cast<uint32_t>(x);
    if (opcode == OP_SHL) a.SetInt(static_cast<int32_t>(u << s));
    else if (opcode == OP_USHR) a.SetInt(static_cast<int32_t>(u >> s));
    else a.SetInt(x < 0 ? static_cast<int32_t>(~(~u >> s)) : static_cast<int32_t>(u >> s));
    Pop();
    return;
  }
  int type = GetArithmeticType(a.type, b.type);
  if (type == VM_INTEGER) {
    int32_t x = a.ToInt(), y = b.ToInt();
    if (opcode == OP_SUB) a.SetInt(WrapSub(x, y));
    else if (opcode == OP_MUL) a.SetInt(WrapMul(x, y));
    else if (y != 0 && !(x == INT_MIN && y == -1)) a.SetInt(x / y);
    // A division that would fault leaves a as it was.
  } else if (type == VM_NUMBER) {
    double x = a.ToDouble(), y = b.ToDouble();
    a.SetDouble(opcode == OP_SUB ? x - y : opcode == OP_MUL ? x * y : x / y);
  } else {
    RaiseError(opcode == OP_SUB ? kVmErrorCannotSubtract : opcode == OP_MUL ? kVmErrorCannotMultiply : kVmErrorCannotDivide);
    return;
  }
  Pop();
}

void VmEngine::Compare(int opcode) {
  VmValue& a = stack_[stackTop_ - 1];
  VmValue& b = stack_[stackTop_];
  bool result;
  if (a.type == VM_INTEGER && b.type == VM_INTEGER) {
    int32_t x = a.i, y = b.i;
    switch (opcode) {
      case OP_LT: result = x < y; break;
      case OP_LE: result = x <= y; break;
      case OP_GT: result = x > y; break;
      case OP_GE: result = x >= y; break;
      case OP_EQ: case OP_STRICT_EQ: result = x == y; break;
      default: result = x != y; break;
    }
    a.type = VM_BOOLEAN;
    a.b = result;
    b.type = VM_UNDEFINED;
    --stackTop_;
    return;
  }
  if (opcode == OP_STRICT_EQ || opcode == OP_STRICT_NE) {
    bool equal = a.type == b.type && ValuesEqual(a, b, a.type);
    result = opcode == OP_STRICT_EQ ? equal : !equal;
  } else {
    int type = GetCommonType(a.type, b.type);
    if (opcode == OP_EQ || opcode == OP_NE) {
      bool equal = ValuesEqual(a, b, type);
      result = opcode == OP_EQ ? equal : !equal;
    } else {
      if (type == VM_BOOLEAN) {
        bool x = a.ToBool(), y = b.ToBool();
        switch (opcode) {
          case OP_LT: result = !x && y; break;
          case OP_LE: result = !x || y; break;
          case OP_GT: result = x && !y; break;
          default: result = x || !y; break;
        }
      } else if (type == VM_NUMBER) {
        double x = a.ToDouble(), y = b.ToDouble();
        switch (opcode) {
          case OP_LT: result = x < y; break;
          case OP_LE: result = x <= y; break;
          case OP_GT: result = x > y; break;
          default: result = x >= y; break;
        }
      } else if (type == VM_INTEGER || type == VM_STRING || type == VM_ARRAY) {
        int c = CompareValues(a, b);
        switch (opcode) {
          case OP_LT: result = c < 0; break;
          case OP_LE: result = c <= 0; break;
          case OP_GT: result = c > 0; break;
          default: result = c >= 0; break;
        }
      } else {
        RaiseError(kVmErrorCannotCompare);
        return;
      }
    }
  }
  a.SetBool(result);
  Pop();
}

void VmEngine::NewArray() {
  int32_t n = ReadInt();
  if (programCounter_ < 0) return;
  if (n < 0) {
    RaiseError(kVmErrorBadInstruction);
    return;
  }
  if (!CheckOperands(n)) return;
  VmArray* a = new (std::nothrow) VmArray(this);
  if (!a) {
    RaiseError(kVmErrorNoMemory);
    return;
  }
  VmValue value;
  value.SetArray(a);  // held from here on, so every exit frees it
  VmValue& top = stack_[stackTop_];
  if (n == 1 && (top.type == VM_INTEGER || top.type == VM_NUMBER)) {
    int32_t length = top.ToInt();
    if (length < 0) length = 0;
    if (length > kMaxIndexedItems) length = kMaxIndexedItems;
    if (!a->Resize(length)) {
      RaiseError(kVmErrorNoMemory);
      return;
    }
    Pop();
  } else {
    if (!a->Resize(n)) {
      RaiseError(n > VmArray::kMaxItems ? kVmErrorArrayTooLarge : kVmErrorNoMemory);
      return;
    }
    int first = stackTop_ - n + 1;
    for (int k = 0; k < n; ++k) {
      Dereference(stack_[first + k]);
      a->items[k].MoveFrom(stack_[first + k]);
    }
    stackTop_ -= n;
  }
  if (VmValue* slot = PushSlot()) slot->MoveFrom(value);
}

namespace {
// Two script functions of one name, argument names and entry.
bool SameScriptFunction(const CVMFunction* a, const CVMFunction* b) {
  if (!a->isScript || !b->isScript || a->entry != b->entry || a->argumentCount != b->argumentCount) return false;
  if (wcscmp(a->displayName ? a->displayName : L"", b->displayName ? b->displayName : L"") != 0) return false;
  for (int k = 0; k < a->argumentCount; ++k)
    if (wcscmp(a->argumentNames[k], b->argumentNames[k]) != 0) return false;
  return true;
}
}  // namespace

void VmEngine::DefineFunction() {
  wchar_t* name = DupString(ReadString());
  int n = ReadByte();
  CVMFunction* f = nullptr;
  if (programCounter_ >= 0 && name) f = new (std::nothrow) CVMFunction(this, name);
  for (int k = 0; k < n && programCounter_ >= 0; ++k) {
    const wchar_t* argument = ReadString();
    if (f && !f->AddArgument(argument)) {
      RaiseError(kVmErrorNoMemory);
      FreeBuffer(name);
      return;
    }
  }
  int32_t entry = ReadInt();
  if (programCounter_ < 0 || !f) {
    // The function stays in the list until the reset; without its whole
    // instruction it is never bound to a name.
    if (programCounter_ >= 0) RaiseError(kVmErrorNoMemory);
    FreeBuffer(name);
    return;
  }
  f->entry = entry;
  f->isScript = true;
  // A name defined before keeps its one global: the definition replaces
  // the value. Code that runs its definitions again (stored byte code that
  // jumps back over them) would otherwise add a global, and a function, on
  // every pass; the same definition keeps the function it made the first
  // time.
  if (VmVariable* older = FindGlobal(name)) {
    FreeBuffer(name);
    CVMFunction* kept = older->value.type == VM_FUNCTION ? older->value.function : nullptr;
    if (kept && SameScriptFunction(kept, f)) {
      functions_ = f->next;  // f is the newest function: nothing linked after it
      ++functionsVersion_;
      delete f;
      return;
    }
    older->value.SetFunction(f);
    return;
  }
  VmVariable* global = new (std::nothrow) VmVariable();
  if (!global || !global->SetName(name)) {
    delete global;
    FreeBuffer(name);
    RaiseError(kVmErrorNoMemory);
    return;
  }
  FreeBuffer(name);
  global->value.SetFunction(f);
  AddGlobal(global);
}

// ---------------------------------------------------------------- constants

VM_HOT void VmEngine::PushConstant(int* count) {
  int pc = programCounter_;
  if (pc <= codeSize_ - 5 && code_[pc] == VM_INTEGER) {
    int32_t v = ReadCodeInt(code_ + pc + 1);
    programCounter_ = pc + 5;
    if (FuseIntegerOperation(v, count)) return;
    if (VmValue* slot = PushSlot()) {
      slot->type = VM_INTEGER;
      slot->i = v;
    }
    return;
  }
  PushOtherConstant(ReadByte());
}

void VmEngine::PushOtherConstant(int type) {
  VmValue value;
  if (type == VM_INTEGER) value.SetInt(ReadInt());  // cut short: the read stops the program
  else if (type == VM_BOOLEAN) value.SetBool(ReadByte() != 0);
  else if (type == VM_NUMBER) value.SetDouble(ReadDouble());
  else if (type == VM_STRING && programCounter_ >= 0 && !ReadTextConstant(&value)) return;
  if (programCounter_ < 0) return;
  if (VmValue* slot = PushSlot()) slot->MoveFrom(value);
}

// An integer constant followed by an operation on an integer on top: both
// run here when the slice has room for both (and the stack for the
// constant), as the loop would run them; a comparison that a conditional
// jump takes at once, the jump too. False when nothing ran.
VM_HOT bool VmEngine::FuseIntegerOperation(int32_t v, int* count) {
  // (The end mark after the code is no operation.)
  int top = stackTop_;
  if (*count + 1 >= runLimit_ || static_cast<unsigned>(top) >= kStackSize - 1u ||
      stack_[top].type != VM_INTEGER)
    return false;
  VmValue& a = stack_[top];
  int pc = programCounter_;
  switch (code_[pc]) {
    case OP_ADD: a.i = WrapAdd(a.i, v); break;
    case OP_SUB: a.i = WrapSub(a.i, v); break;
    case OP_MUL: a.i = WrapMul(a.i, v); break;
    case OP_LT: a.b = a.i < v; a.type = VM_BOOLEAN; break;
    case OP_LE: a.b = a.i <= v; a.type = VM_BOOLEAN; break;
    case OP_GT: a.b = a.i > v; a.type = VM_BOOLEAN; break;
    case OP_GE: a.b = a.i >= v; a.type = VM_BOOLEAN; break;
    case OP_EQ: a.b = a.i == v; a.type = VM_BOOLEAN; break;
    case OP_NE: a.b = a.i != v; a.type = VM_BOOLEAN; break;
    default: return false;
  }
  ++pc;
  ++*count;
  const int jumpBytes = VmInstructionBytes(OP_JUMP_IF_FALSE);
  if (a.type == VM_BOOLEAN && *count + 1 < runLimit_ && pc <= codeSize_ - jumpBytes &&
      code_[pc] == OP_JUMP_IF_FALSE) {
    bool truth = a.b;
    a.type = VM_UNDEFINED;
    stackTop_ = top - 1;
    int32_t target = ReadCodeInt(code_ + pc + 1);
    programCounter_ = pc + jumpBytes;
    ++*count;
    if (!truth) Jump(target);
    return true;
  }
  programCounter_ = pc;
  return true;
}

// A string constant's text is made once and kept by the instruction's
// offset; each push shares it. False after an error.
bool VmEngine::ReadTextConstant(VmValue* value) {
  int at = programCounter_ - 2;
  if (Site* site = SiteAt(at)) {
    programCounter_ = site->next;
    if (site->text) site->text->AddRef();
    value->TakeText(site->text);
    return true;
  }
  int start = programCounter_, n = 0;
  ScanCodeString(code_, codeSize_, &programCounter_, &n);
  VmText* text = nullptr;
  if (n > 0) {
    text = VmText::CreateFromBytes(code_ + start, n);
    if (!text) {
      RaiseError(n > VmText::kMaxLength ? kVmErrorTextTooLong : kVmErrorNoMemory);
      return false;
    }
  }
  if (Site* fresh = NewSite(at)) {
    fresh->next = programCounter_;
    fresh->text = text;
    if (text) text->AddRef();
  }
  value->TakeText(text);
  return true;
}

// ---------------------------------------------------------------- names

// The decoded name operand of the OP_VARIABLE or OP_FIELD whose operands
// begin at the program counter, which moves past them. The operands are
// decoded once and kept by the instruction's offset; without room for that,
// scratch holds them for this execution only. Null when the operands ran
// past the code.
VM_HOT VmEngine::Site* VmEngine::NameSite(Site* scratch) {
  int at = programCounter_ - 1;
  if (Site* site = SiteAt(at)) {
    programCounter_ = site->next;
    return site;
  }
  return DecodeNameSite(at, scratch);
}

VmEngine::Site* VmEngine::DecodeNameSite(int at, Site* scratch) {
  const wchar_t* name = ReadString();
  int operand = ReadByte();
  if (programCounter_ < 0) return nullptr;
  Site* site = NewSite(at);
  wchar_t* copy = site ? DupString(name) : nullptr;
  if (!copy) {
    if (site) DropNewestSite(at);
    memset(static_cast<void*>(scratch), 0, sizeof(Site));
    site = scratch;
  }
  site->next = programCounter_;
  site->operand = static_cast<unsigned char>(operand);
  site->name = copy ? copy : name_;
  site->hash = HashVmName(site->name);
  site->isThis = wcscmp(site->name, L"this") == 0;
  site->isLength = wcscmp(site->name, L"length") == 0 || wcscmp(site->name, L"count") == 0;
  return site;
}

// A read of a variable is OP_VARIABLE and OP_LOAD: both run here when the
// slice has room for both, as the loop would run them. A plain name pushes
// its variable's value (or a reference to it) directly; any other goes
// through the whole resolution.
VM_HOT void VmEngine::Variable(int* count) {
  Site* site = SiteAt(programCounter_ - 1);
  bool room = *count + 1 < runLimit_;
  if (!site) {
    if (ResolveVariable(nullptr, room)) ++*count;
    return;
  }
  programCounter_ = site->next;
  if (receiverObject_) SetReceiverObject(nullptr);
  VmValue* target = FindPlainName(site);
  if (!target) {
    if (ResolveVariable(site, room)) ++*count;
    return;
  }
  int pc = programCounter_;
  bool load = room && code_[pc] == OP_LOAD;
  if (load && target->type == VM_FUNCTION && code_[pc + 1] == OP_CALL && FuseCall(target->function, count)) return;
  VmValue* slot = PushSlot();
  if (!slot) return;
  if (load) {
    slot->AssignToUndefined(*target);
    programCounter_ = pc + 1;
    ++*count;
  } else {
    slot->SetReference(target);
  }
}

// A function read by name and called at once (OP_VARIABLE, OP_LOAD,
// OP_CALL n): the call runs here when the slice has room for the two
// instructions after the variable and the calls's checks would pass, the
// function value never stacked. False when nothing ran.
VM_HOT bool VmEngine::FuseCall(CVMFunction* f, int* count) {
  int pc = programCounter_;  // at the OP_LOAD
  const int callBytes = VmInstructionBytes(OP_CALL);
  if (*count + 2 >= runLimit_ || pc + 1 + callBytes > codeSize_) return false;
  int n = code_[pc + 2];
  // The stack must have room for the function and hold the n arguments.
  if (stackTop_ >= kStackSize - 1 || stackTop_ + 1 < n) return false;
  programCounter_ = pc + 1 + callBytes;
  *count += 2;
  for (int k = stackTop_ - n + 1; k <= stackTop_; ++k) Dereference(stack_[k]);
  if (f->isScript) EnterScriptFunction(f, n);
  else CallBuiltin(f, n);
  return true;
}

// The whole resolution of the name of an OP_VARIABLE (site null: its
// operands not decoded yet) and, when the slice has room, the read that
// follows it. True when the read ran too.
bool VmEngine::ResolveVariable(Site* site, bool room) {
  Site scratch;
  if (!site) {
    site = NameSite(&scratch);
    if (!site) return false;
  }
  ResolveName(site);
  if (room && programCounter_ >= 0 && code_[programCounter_] == OP_LOAD) {
    VmValue& r = stack_[stackTop_];
    if (VmValue* target = r.RefTarget()) {
      ++programCounter_;
      VmValue copy;
      copy.Assign(*target);
      r.MoveFrom(copy);
      return true;
    }
  }
  return false;
}

void VmEngine::Field() {
  Site scratch;
  Site* site = NameSite(&scratch);
  if (!site || !CheckOperands(1)) return;
  VmValue& r = stack_[stackTop_];
  if (r.type != VM_REFERENCE) {
    RaiseError(kVmErrorFieldNoReference);
    return;
  }
  VmValue* target = r.RefTarget();
  VmValue undefined;
  VmValue member;
  if (!GetMemberHashed(target ? *target : undefined, site->name, site->hash, site->isLength, site->operand != 0,
                       &member, site)) {
    RaiseError(kVmErrorMemberNotFound);
    return;
  }
  r.MoveFrom(member);
}

// ---------------------------------------------------------------- storage

void VmEngine::Index() {
  int write = ReadByte();
  if (programCounter_ < 0 || !CheckOperands(2)) return;
  VmValue& r = stack_[stackTop_ - 1];
  if (r.type != VM_REFERENCE) {
    RaiseError(kVmErrorIndexNoReference);
    return;
  }
  VmValue* target = r.RefTarget();
  if (!target || target->type != VM_ARRAY) {
    RaiseError(kVmErrorNotArray);
    return;
  }
  VmArray* a = target->array;
  SetReceiverArray(a);
  int32_t index = stack_[stackTop_].ToInt();
  Pop();
  if (index >= 0 && index < a->count) {
    r.SetItemReference(a, index);
  } else if (write && index >= a->count && index < kMaxIndexedItems) {
    if (!a->Resize(index + 1)) {
      RaiseError(kVmErrorNoMemory);
      return;
    }
    r.SetItemReference(a, index);
  } else {
    RaiseIndexError(index);
  }
}

void VmEngine::Load() {
  if (!CheckOperands(1)) return;
  VmValue& r = stack_[stackTop_];
  if (r.type != VM_REFERENCE) {
    RaiseError(kVmErrorLoadNoReference);
    return;
  }
  VmValue* target = r.RefTarget();
  if (!target) {
    RaiseIndexError(r.ref.index);
    return;
  }
  VmValue copy;
  copy.Assign(*target);
  r.MoveFrom(copy);
}

void VmEngine::Store() {
  int drop = ReadByte();
  if (programCounter_ < 0 || !CheckOperands(2)) return;
  VmValue& r = stack_[stackTop_ - 1];
  VmValue& v = stack_[stackTop_];
  if (r.type != VM_REFERENCE) {
    RaiseError(kVmErrorStoreNoReference);
    return;
  }
  if (r.refKind == kVmRefItem) {
    // The array may have shrunk since the item was indexed.
    VmArray* a = static_cast<VmArray*>(r.ref.target);
    if (r.ref.index >= a->count && !a->Resize(r.ref.index + 1)) {
      RaiseError(kVmErrorNoMemory);
      return;
    }
  }
  Dereference(v);  // storage never holds a reference
  r.RefTarget()->Assign(v);
  if (drop) {
    Pop();
    Pop();
  } else {
    r.MoveFrom(v);
    --stackTop_;
  }
}

void VmEngine::NewObject() {
  VmValue* slot = PushSlot();
  if (!slot) return;
  VmObject* o = new (std::nothrow) VmObject(this);
  if (!o) {
    RaiseError(kVmErrorNoMemory);
    return;
  }
  slot->SetObject(o);
}

void VmEngine::Swap() {
  if (!CheckOperands(2)) return;
  VmValue t;
  t.MoveFrom(stack_[stackTop_]);
  stack_[stackTop_].MoveFrom(stack_[stackTop_ - 1]);
  stack_[stackTop_ - 1].MoveFrom(t);
}

void VmEngine::Delete() {
  if (!CheckOperands(1)) return;
  VmValue& r = stack_[stackTop_];
  if (r.type != VM_REFERENCE) {
    RaiseError(kVmErrorDeleteNoReference);
    return;
  }
  if (VmValue* target = r.RefTarget()) target->Release();
  r.SetBool(true);
}

void VmEngine::WithBegin() {
  if (stackTop_ < 0 || stack_[stackTop_].type != VM_REFERENCE) {
    RaiseError(kVmErrorWithNoReference);
    return;
  }
  VmValue* target = stack_[stackTop_].RefTarget();
  VmValue undefined;
  VmScopeList& scopes = frame_ ? frame_->scopes : scopes_;
  if (!scopes.Push(target ? *target : undefined)) {
    RaiseError(kVmErrorStackOverflow);
    return;
  }
  Pop();
}

// ---------------------------------------------------------------- operators

void VmEngine::Negate() {
  if (!CheckOperands(1)) return;
  VmValue& a = stack_[stackTop_];
  if (a.type == VM_INTEGER) a.i = WrapSub(0, a.i);
  else if (a.type == VM_NUMBER) a.d = -a.d;
  else RaiseError(kVmErrorCannotNegate);
}

// AND, OR and the three bitwise operations of two values.
void VmEngine::Logic(int opcode) {
  if (!CheckOperands(2)) return;
  VmValue& a = stack_[stackTop_ - 1];
  VmValue& b = stack_[stackTop_];
  if (opcode == OP_AND) a.SetBool(a.ToBool() && b.ToBool());
  else if (opcode == OP_OR) a.SetBool(a.ToBool() || b.ToBool());
  else if (opcode == OP_BIT_XOR) a.SetInt(a.ToInt() ^ b.ToInt());
  else if (opcode == OP_BIT_AND) a.SetInt(a.ToInt() & b.ToInt());
  else a.SetInt(a.ToInt() | b.ToInt());
  Pop();
}

void VmEngine::InstanceOf() {
  int type = ReadByte();
  if (programCounter_ < 0 || !CheckOperands(1)) return;
  stack_[stackTop_].SetBool(stack_[stackTop_].type == type);
}

// ---------------------------------------------------------------- flow

void VmEngine::JumpIfFalse() {
  int32_t target = ReadInt();
  if (programCounter_ < 0 || !CheckOperands(1)) return;
  bool truth = stack_[stackTop_].ToBool();
  Pop();
  if (!truth) Jump(target);
}

VM_HOT void VmEngine::CallFunction() {
  int n = ReadByte();
  if (programCounter_ < 0 || !CheckOperands(1)) return;
  if (stack_[stackTop_].type != VM_FUNCTION) {
    RaiseError(kVmErrorNotFunction);
    return;
  }
  if (!CheckOperands(n + 1)) return;
  CVMFunction* f = stack_[stackTop_].function;
  stack_[stackTop_--].Clear();
  for (int k = stackTop_ - n + 1; k <= stackTop_; ++k) Dereference(stack_[k]);
  if (f->isScript) EnterScriptFunction(f, n);  // what the base Call does, without the detour
  else CallBuiltin(f, n);
}

// Every statement begins with its line: true when the statement's first
// instruction is to run at once (the slice has room for it).
VM_HOT bool VmEngine::Line(int* count) {
  int pc = programCounter_;
  if (pc > codeSize_ - 4) {
    OperandPastEnd();
    return false;
  }
  line_ = ReadCodeInt(code_ + pc);
  programCounter_ = pc + 4;
  // (The end mark after the code is no opcode.)
  if (*count + 1 < runLimit_ && code_[programCounter_] < kVmOpcodeCount) {
    ++*count;
    return true;
  }
  return false;
}

VM_HOT void VmEngine::Execute(int opcode, int* count) {
  for (;;) switch (opcode) {
    case OP_NOP: return;
    case OP_PUSH_CONST: PushConstant(count); return;
    case OP_VARIABLE: Variable(count); return;
    case OP_INDEX: Index(); return;
    case OP_FIELD: Field(); return;
    case OP_LOAD: Load(); return;
    case OP_STORE: Store(); return;
    case OP_DUP:
      if (CheckOperands(1))
        if (VmValue* slot = PushSlot()) slot->Assign(stack_[stackTop_ - 1]);
      return;
    case OP_POP: Pop(); return;
    case OP_NEW_ARRAY: NewArray(); return;
    case OP_NEW_OBJECT: NewObject(); return;
    case OP_SWAP: Swap(); return;
    case OP_ADD:
      if (CheckOperands(2)) Add();
      return;
    case OP_SUB:
    case OP_MUL:
    case OP_DIV:
    case OP_MOD:
    case OP_SHL:
    case OP_SHR:
    case OP_USHR:
      if (CheckOperands(2)) Arithmetic(opcode);
      return;
    case OP_NEG: Negate(); return;
    case OP_EQ:
    case OP_NE:
    case OP_LT:
    case OP_LE:
    case OP_GT:
    case OP_GE:
    case OP_STRICT_EQ:
    case OP_STRICT_NE:
      if (CheckOperands(2)) Compare(opcode);
      return;
    case OP_JUMP_IF_FALSE: JumpIfFalse(); return;
    case OP_JUMP: {
      int32_t target = ReadInt();
      if (programCounter_ >= 0) Jump(target);
      return;
    }
    case OP_CALL: CallFunction(); return;
    case OP_AND:
    case OP_OR:
    case OP_BIT_XOR:
    case OP_BIT_AND:
    case OP_BIT_OR:
      Logic(opcode);
      return;
    case OP_NOT:
      if (CheckOperands(1)) stack_[stackTop_].SetBool(!stack_[stackTop_].ToBool());
      return;
    case OP_BIT_NOT:
      if (CheckOperands(1)) stack_[stackTop_].SetInt(~stack_[stackTop_].ToInt());
      return;
    case OP_RETURN: Return(); return;
    case OP_LINE:
      if (!Line(count)) return;
      opcode = code_[programCounter_++];
      continue;
    case OP_DELETE: Delete(); return;
    case OP_WITH_BEGIN: WithBegin(); return;
    case OP_WITH_END: (frame_ ? frame_->scopes : scopes_).Pop(); return;
    case OP_DEFINE_FUNCTION: DefineFunction(); return;
    case OP_INSTANCEOF: InstanceOf(); return;
    case OP_TYPEOF:
      if (CheckOperands(1)) stack_[stackTop_].SetString(TypeName(stack_[stackTop_].type));
      return;
    default:
      // The end mark after the code ends the program without a message.
      // Either way the byte is no instruction and does not count.
      if (programCounter_ > codeSize_) programCounter_ = -1;
      else RaiseError(kVmErrorBadInstruction);
      --*count;
      return;
  }
}

int VmEngine::Run() {
  if (!code_) {
    programCounter_ = -1;
    return 0;
  }
  // A positive pause flag ends the slice after the instruction that left
  // it so. Only a built-in can change it while the slice runs, so it is
  // looked at before the slice and after every built-in call.
  runLimit_ = pauseFlag_ > 0 ? 1 : kRunBudget;
  int i = 0;
  while (i < runLimit_ && programCounter_ >= 0) {
    Execute(code_[programCounter_++], &i);
    ++i;
  }
  if (programCounter_ < -1) programCounter_ = -1;
  return i;
}
