// The global functions of scripts: the console output (also the globals
// print and printf), the number parsers, time and sleep. Output goes to the
// machine's log (the simulation message log in the program).
#pragma once

#include "script/vm_function.h"

// console.log and print: the texts of all arguments joined into one line,
// logged literally; false without arguments (nothing logged), else true.
class CVMConsoleLog : public CVMFunction {
public:
  explicit CVMConsoleLog(VmEngine* engine) : CVMFunction(engine, L"console.log") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// console.info and printf: the first argument's text with its "%d", "%f"
// and "%s" filled from the other arguments, scanning back from the end
// with the last argument first; false without arguments, undefined (and
// nothing logged) for an empty format, else true.
class CVMConsoleInfo : public CVMFunction {
public:
  explicit CVMConsoleInfo(VmEngine* engine) : CVMFunction(engine, L"console.info") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// The integer of the first argument; undefined without one.
class CVMParseInt : public CVMFunction {
public:
  explicit CVMParseInt(VmEngine* engine) : CVMFunction(engine, L"parseInt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// The number of the first argument; undefined without one.
class CVMParseFloat : public CVMFunction {
public:
  explicit CVMParseFloat(VmEngine* engine) : CVMFunction(engine, L"parseFloat") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// The simulated time of the run in seconds, as a number (arguments are
// ignored).
class CVMTime : public CVMFunction {
public:
  explicit CVMTime(VmEngine* engine) : CVMFunction(engine, L"time") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// sleep(ms): reads its duration and returns undefined at once; see Call.
class CVMSleep : public CVMFunction {
public:
  explicit CVMSleep(VmEngine* engine) : CVMFunction(engine, L"sleep") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
