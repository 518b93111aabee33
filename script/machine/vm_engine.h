// The script machine of one script block: it runs one compiled program in
// slices of at most 4000 instructions and keeps the program's globals, call
// frames, functions, arrays and objects and its value stack between slices.
// Run-time errors stop the program and go to the simulation message log.
#pragma once

#include <cstdint>

#include "script/compiler/vm_code.h"
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
    int v;
    return DecodeCodeByte(code_, codeSize_, &programCounter_, &v) ? v : OperandPastEnd();
  }
  int32_t ReadInt() {
    int32_t v;
    return DecodeCodeInt(code_, codeSize_, &programCounter_, &v) ? v : OperandPastEnd();
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
    // The local the name was last found as: the local at localIndex in a
    // call of localFunction, whose name text was localName.
    CVMFunction* localFunction;
    const wchar_t* localName;
    int localIndex;
  };
  Site* SiteAt(int at) {
    return static_cast<unsigned>(at) < static_cast<unsigned>(siteIndexSize_) ? siteIndex_[at] : nullptr;
  }
  Site* NewSite(int at);
  void DropNewestSite(int at);  // the one NewSite just made
  void ClearSites();
  bool GetMemberHashed(const VmValue& value, const wchar_t* name, uint32_t hash, bool isLength, bool create,
                       VmValue* outRef, Site* site);
  CVMFunction* FindMethod(int kind, const wchar_t* name, Site* site);

  // Runs one instruction (more when it joins the ones that follow, as the
  // loop would run them); count is the number run in this slice so far.
  void Execute(int opcode, int* count);
  bool StackDamaged();      // raises "Повреждение стека", answers false
  VmValue* StackOverflow();  // raises "Переполнение стека", answers null
  void Jump(int32_t target) { programCounter_ = target >= 0 && target < codeSize_ ? target : -1; }
  int OperandPastEnd() {
    programCounter_ = -1;
    return 0;
  }
  // The instructions that take more than a few lines, and the instructions
  // that follow them and run at once.
  void PushConstant(int* count);
  void PushOtherConstant(int type);
  bool FuseIntegerOperation(int32_t v, int* count);
  bool ReadTextConstant(VmValue* value);
  void Variable(int* count);
  bool ResolveVariable(Site* site, bool room);
  void Field();
  void Index();
  void Load();
  void Store();
  void NewObject();
  void Swap();
  void Delete();
  void WithBegin();
  void Negate();
  void Logic(int opcode);
  void InstanceOf();
  void JumpIfFalse();
  void CallFunction();
  bool FuseCall(CVMFunction* f, int* count);
  void EnterScriptFunction(CVMFunction* function, int argumentCount);
  // A built-in's Call; a pause flag it leaves positive ends the slice.
  void CallBuiltin(CVMFunction* function, int argumentCount);
  bool Line(int* count);
  // Name resolution.
  Site* NameSite(Site* scratch);
  Site* DecodeNameSite(int at, Site* scratch);
  VmValue* FindPlainName(Site* site);
  VmVariable* FindLocalAt(Site* site);
  VmVariable* FindGlobalAt(Site* site);
  void ResolveName(Site* site);
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
  void Dereference(VmValue& v) {
    if (v.type == VM_REFERENCE) DereferenceSlow(v);
  }
  void DereferenceSlow(VmValue& v);

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
  int runLimit_ = kRunBudget;  // instructions this slice may run (see Run)
  double simulatedTime_ = 0;
  bool resetting_ = false;
  bool deleting_ = false;
  VmArray* droppedArrays_ = nullptr;
  VmObject* droppedObjects_ = nullptr;
  SimMessageLog* log_;
  // Sites are made in blocks that never move, so that the index can hold
  // their addresses.
  static constexpr int kSitesPerBlock = 64;
  struct SiteBlock {
    SiteBlock* next;
    int used;
    Site sites[kSitesPerBlock];
  };
  Site** siteIndex_ = nullptr;  // per code offset: its site, or null
  int siteIndexSize_ = 0;
  SiteBlock* siteBlocks_ = nullptr;  // newest first
  uint32_t globalsVersion_ = 0;    // changes whenever a global is added or all go
  uint32_t functionsVersion_ = 0;  // likewise for functions
  wchar_t name_[kMaxNameChars + 1];
  VmValue stack_[kStackSize];
};
