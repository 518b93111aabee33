// One top-level function declaration found by the compiler's first pass.
#pragma once

class VmCompiler;

class VmFunctionRecord {
public:
  // A record with no name, no arguments and entry operand -1, linked in
  // front of the compiler's list.
  explicit VmFunctionRecord(VmCompiler* compiler);
  ~VmFunctionRecord();
  VmFunctionRecord(const VmFunctionRecord&) = delete;
  VmFunctionRecord& operator=(const VmFunctionRecord&) = delete;

  bool SetName(const wchar_t* name);
  bool AddArgument(const wchar_t* name);

  VmFunctionRecord* next = nullptr;
  wchar_t* name = nullptr;
  int argumentCount = 0;
  wchar_t** argumentNames = nullptr;
  int bodyStart = 0;       // source position of the "{" of the body
  int entryOperand = -1;   // code offset of the entry operand of its OP_DEFINE_FUNCTION
};
