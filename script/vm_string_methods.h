// The text functions of scripts ("String.charAt" ...). They are found by
// their display names on values of the tags undefined, integer, number and
// string and work on the text of the machine's current receiver string;
// fromCharCode is also the property of the global String.
#pragma once

#include "script/vm_function.h"

// A string of the units given by the integers of the arguments (low 16
// bits); a code 0 ends it there.
class CVMStringFromCharCode : public CVMFunction {
public:
  explicit CVMStringFromCharCode(VmEngine* engine) : CVMFunction(engine, L"String.fromCharCode") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// charAt(index): the one-unit string at index; undefined outside the text.
class CVMStringCharAt : public CVMFunction {
public:
  explicit CVMStringCharAt(VmEngine* engine) : CVMFunction(engine, L"String.charAt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// charCodeAt(index): the unit at index as an integer; undefined outside.
class CVMStringCharCodeAt : public CVMFunction {
public:
  explicit CVMStringCharCodeAt(VmEngine* engine) : CVMFunction(engine, L"String.charCodeAt") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// The receiver's text followed by the texts of the arguments.
class CVMStringConcat : public CVMFunction {
public:
  explicit CVMStringConcat(VmEngine* engine) : CVMFunction(engine, L"String.concat") {}
  void Call(int argumentCount, VmEngine* engine) override;
};

// indexOf(text, start): the first position of text at or after start; -1
// when there is none, the start lies outside, or either text is empty.
class CVMStringIndexOf : public CVMFunction {
public:
  explicit CVMStringIndexOf(VmEngine* engine) : CVMFunction(engine, L"String.indexOf") {}
  void Call(int argumentCount, VmEngine* engine) override;
};
