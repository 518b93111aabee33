// The script machine of one script block: it runs one compiled program in
// slices of at most 4000 instructions and keeps the program's globals, call
// frames, functions, arrays and objects and its value stack between slices.
// Run-time errors stop the program and go to the simulation message log.
#pragma once

#include <cstdint>

#include "script/machine/vm_scope_list.h"
#include "script/values/vm_value.h"

class CVMFunction;
class SimMessageLog;
class VmText;
class VmArray;
class VmFrame;
class VmObject;
class VmVariable;

class VmEngine {
public:
  static constexpr int kStackSize = 512;
  static constexpr int kRunBudget = 4000;     // instructions per Run
  static constexpr int kMaxFrames = 2000;     // nested calls before "Переполнение стека"
  static constexpr int kMaxIndexedItems = 200000;  // growth through indexing and array literals
  static constexpr int kMaxNameChars = 4095;  // longer names read from code are cut
  static constexpr int kMaxDisplayNameChars = 255;
  static constexpr unsigned char kEndMark = 0xFF;  // after the last code byte

  VmEngine();
  ~VmEngine();
  VmEngine(const VmEngine&) = delete;
  VmEngine& operator=(const VmEngine&) = delete;

  // Reset, then the built-in functions, objects and globals.
  void RegisterBuiltins();
  // Releases the stack, every frame, global, function, array and object
  // (those kept alive only by cycles too), the with scopes, the scratch value
  // and the receivers; program counter 0, stack empty, pause flag -1,
  // simulated time 0. The
  // code and the current line stay.
  void Reset();

  // Resizes the code to n bytes (new bytes zero); the caller then writes
  // them through Code(). False when n is negative or memory ran out (the
  // code is then unchanged).
  bool SetCodeSize(int n);
  // The caller may write the bytes after SetCodeSize and before the next
  // Run; the machine decodes name operands once per code load (and again
  // after every Reset), so later writes into running code are not seen.
  unsigned char* Code() { return code_; }
  int CodeSize() const { return codeSize_; }
  // SetCodeSize and a copy of the bytes.
  bool SetCode(const void* bytes, int n);

  // Runs at most kRunBudget instructions from the program counter; answers
  // how many ran.
  int Run();
  // Stops the program and logs "Ошибка в строке %d: %s" with the current
  // line and the message.
  void RaiseError(const wchar_t* message);

  // Places the value on top, moved (the source becomes undefined) or
  // copied; "Переполнение стека" and false when the stack is full.
  bool Push(VmValue& value, bool move);
  // Releases and removes the top value; "Повреждение стека" and false on an
  // empty stack.
  bool Pop() {
    if (stackTop_ < 0) return StackDamaged();
    stack_[stackTop_--].Release();
    return true;
  }
  // True when at least n values are stacked, else "Повреждение стека".
  bool CheckOperands(int n) { return (n >= 0 && stackTop_ + 1 >= n) || StackDamaged(); }
  // A fresh undefined slot on top, or null after "Переполнение стека".
  VmValue* PushSlot() { return stackTop_ < kStackSize - 1 ? &stack_[++stackTop_] : StackOverflow(); }

  VmVariable* FindGlobal(const wchar_t* name) const;
  void AddGlobal(VmVariable* variable);  // at the head
  // The newest function called className "." member, or null.
  CVMFunction* FindFunction(const wchar_t* className, const wchar_t* member) const;
  // The member lookup: on success outRef becomes a reference to the member
  // (a property, or the scratch value holding a length or a method) and the
  // value becomes the current receiver of its kind.
  bool GetMember(const VmValue& value, const wchar_t* name, bool create, VmValue* outRef);

  // The with scopes of the top level.
  bool PushScopeObject(const VmValue& value) { return scopes_.Push(value); }
  void PopScopeObject() { scopes_.Pop(); }

  // Operand readers at the program counter. An operand that would extend
  // past the code stops the program (counter -1) and reads as 0.
  int ReadByte() {
    if (programCounter_ < 0 || programCounter_ >= codeSize_) return OperandPastEnd();
    return code_[programCounter_++];
  }
  int32_t ReadInt() {
    if (programCounter_ < 0 || programCounter_ > codeSize_ - 4) return OperandPastEnd();
    const unsigned char* p = code_ + programCounter_;
    programCounter_ += 4;
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
  }
  double ReadDouble();
  // A name operand, cut to kMaxNameChars units, in a buffer of the machine
  // that the next ReadString overwrites; the counter moves past the zero
  // unit, or to the end of the code when none comes.
  const wchar_t* ReadString();

  // The script function call: a new frame, the arguments moved into locals,
  // execution goes on at the function's entry.
  void CallScriptFunction(CVMFunction* function, int argumentCount);

  int ProgramCounter() const { return programCounter_; }
  void SetProgramCounter(int pc) { programCounter_ = pc; }
  int StackCount() const { return stackTop_ + 1; }
  int StackTop() const { return stackTop_; }
  // The i-th stacked value from the bottom.
  VmValue& StackAt(int i) { return stack_[i]; }
  int Line() const { return line_; }
  VmFrame* CurrentFrame() const { return frame_; }
  int FrameDepth() const { return frameDepth_; }
  VmVariable* Globals() const { return globals_; }
  CVMFunction* Functions() const { return functions_; }
  VmArray* Arrays() const { return arrays_; }
  VmObject* Objects() const { return objects_; }
  VmValue& Scratch() { return scratch_; }
  VmObject* ReceiverObject() const { return receiverObject_; }
  VmArray* ReceiverArray() const { return receiverArray_; }
  const VmValue& ReceiverString() const { return receiverString_; }
  int TopScopeCount() const { return scopes_.Count(); }
  // The simulated time of the run in seconds, which the script's time()
  // answers; the owner of the machine keeps it (0 after a reset).
  double SimulatedTime() const { return simulatedTime_; }
  void SetSimulatedTime(double seconds) { simulatedTime_ = seconds; }
  int PauseFlag() const { return pauseFlag_; }
  void SetPauseFlag(int flag) { pauseFlag_ = flag; }

  // Where errors go: the program's simulation message log unless a test
  // or a tool gives another.
  SimMessageLog* Log() const { return log_; }
  void SetLog(SimMessageLog* log);

  // Upkeep of the lists, called by the arrays, objects and functions.
  void LinkArray(VmArray* a);
  void UnlinkArray(VmArray* a);
  void DropArray(VmArray* a);  // its count fell to 0: deleted (not during a reset)
  void LinkObject(VmObject* o);
  void UnlinkObject(VmObject* o);
  void DropObject(VmObject* o);
  void LinkFunction(CVMFunction* f);

private:
  friend class VmFrame;

  // The decoded name operand of one OP_VARIABLE, OP_FIELD or string
  // OP_PUSH_CONST, kept beside the code by the instruction's offset: the
  // name is hashed once and the global it resolved to is remembered until
  // the globals change.
  struct Site {
    int next;               // the program counter after the operands
    unsigned char operand;  // the mode or create flag
    bool isThis;
    bool isLength;          // "length" or "count"
    uint32_t hash;
    wchar_t* name;
    VmVariable* global;
    uint32_t globalsVersion;
    CVMFunction* method;  // the text or array method the name found
    uint32_t functionsVersion;
    int methodKind;       // VM_STRING or VM_ARRAY
    VmText* text;         // a string constant (null: the empty text)
  };
  Site* SiteAt(int at) {
    if (at < 0 || at >= siteIndexSize_) return nullptr;
    int k = siteIndex_[at];
    return k ? &sites_[k - 1] : nullptr;
  }
  Site* NewSite(int at);
  void ClearSites();
  bool GetMemberHashed(const VmValue& value, const wchar_t* name, uint32_t hash, bool isLength, bool create,
                       VmValue* outRef, Site* site);
  CVMFunction* FindMethod(int kind, const wchar_t* name, Site* site);

  // Runs one instruction (two when it joins a variable and its read);
  // count is the number run in this slice so far.
  void Execute(int opcode, int* count);
  bool StackDamaged();      // raises "Повреждение стека", answers false
  VmValue* StackOverflow();  // raises "Переполнение стека", answers null
  void Jump(int32_t target) { programCounter_ = target >= 0 && target < codeSize_ ? target : -1; }
  int OperandPastEnd() {
    programCounter_ = -1;
    return 0;
  }
  void ResolveName(const wchar_t* name, uint32_t hash, int mode, Site* site);
  bool PushReference(VmValue* target);
  void SetReceiverObject(VmObject* o);
  void SetReceiverArray(VmArray* a);
  void DeleteDropped();
  // Arithmetic and comparison instructions on the two top values.
  void Add();
  void Arithmetic(int opcode);
  void Compare(int opcode);
  void Return();
  void NewArray();
  void DefineFunction();
  void RaiseIndexError(int32_t index);
  // The value a reference argument names, copied in its place.
  void Dereference(VmValue& v);

  VmVariable* globals_ = nullptr;
  VmFrame* frame_ = nullptr;
  int frameDepth_ = 0;
  CVMFunction* functions_ = nullptr;
  VmObject* objects_ = nullptr;
  VmArray* arrays_ = nullptr;
  unsigned char* code_ = nullptr;
  int codeSize_ = 0;
  int programCounter_ = 0;
  int stackTop_ = -1;
  int line_ = -1;
  VmScopeList scopes_;
  VmValue scratch_;
  VmObject* receiverObject_ = nullptr;
  VmArray* receiverArray_ = nullptr;
  VmValue receiverString_;
  int pauseFlag_ = -1;
  double simulatedTime_ = 0;
  bool resetting_ = false;
  bool deleting_ = false;
  VmArray* droppedArrays_ = nullptr;
  VmObject* droppedObjects_ = nullptr;
  SimMessageLog* log_;
  int32_t* siteIndex_ = nullptr;  // per code offset: 1 + the index of its site, 0 for none
  int siteIndexSize_ = 0;
  static constexpr int kFirstSiteRoom = 64;  // the site array doubles from this
  Site* sites_ = nullptr;
  int siteCount_ = 0;
  int siteCapacity_ = 0;
  uint32_t globalsVersion_ = 0;    // changes whenever a global is added or all go
  uint32_t functionsVersion_ = 0;  // likewise for functions
  wchar_t name_[kMaxNameChars + 1];
  VmValue stack_[kStackSize];
};
