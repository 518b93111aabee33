// A function of the script machine: a script function defined by the code,
// or a built-in derived from this class.
#pragma once

#include <cstdint>

class VmEngine;

class CVMFunction {
public:
  // Links the function at the head of the machine's function list, which
  // owns it until the machine is reset. A null name is the empty name.
  CVMFunction(VmEngine* engine, const wchar_t* displayName);
  // Calls the function with n arguments on the machine's stack, the first
  // deepest. It removes them and leaves one result: a built-in at once, a
  // script function when its return runs.
  virtual void Call(int argumentCount, VmEngine* engine);
  virtual ~CVMFunction();
  CVMFunction(const CVMFunction&) = delete;
  CVMFunction& operator=(const CVMFunction&) = delete;

  // Stores copies of the argument names; false when memory ran out.
  bool AddArgument(const wchar_t* name);

  wchar_t* displayName = nullptr;
  int argumentCount = 0;
  wchar_t** argumentNames = nullptr;
  uint32_t* argumentHashes = nullptr;  // of the argument names, for the locals of a call
  CVMFunction* next = nullptr;
  int entry = -1;  // code offset of a script function's body
  bool isScript = false;  // defined by the code, so Call is the base one
};
