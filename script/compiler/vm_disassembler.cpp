#include "script/compiler/vm_disassembler.h"

#include <cstdio>

#include "script/compiler/vm_code.h"
#include "script/values/vm_number_text.h"

namespace {

const wchar_t* const kNames[kVmOpcodeCount] = {
#define VM_OPCODE_NAME(number, name, operands, stack, meaning) L## #name,
    VM_OPCODE_TABLE(VM_OPCODE_NAME)
#undef VM_OPCODE_NAME
};

class Reader {
public:
  Reader(const unsigned char* code, int size) : code_(code), size_(size) {}
  bool Byte(int* v) { return DecodeCodeByte(code_, size_, &pc, v); }
  bool Int(int32_t* v) { return DecodeCodeInt(code_, size_, &pc, v); }
  bool Double(double* v) { return DecodeCodeDouble(code_, size_, &pc, v); }
  bool String(std::wstring* s) {
    int start = pc, units = 0;
    bool whole = ScanCodeString(code_, size_, &pc, &units);
    s->clear();
    for (int k = 0; k < units; ++k)
      s->push_back(static_cast<wchar_t>(code_[start + 2 * k] | (code_[start + 2 * k + 1] << 8)));
    return whole;
  }
  int pc = 0;

private:
  const unsigned char* code_;
  int size_;
};

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

}  // namespace

const wchar_t* GetVmOpcodeName(int opcode) { return opcode >= 0 && opcode < kVmOpcodeCount ? kNames[opcode] : nullptr; }

std::wstring DisassembleVmCode(const unsigned char* code, int size) {
  std::wstring out;
  Reader r(code, size);
  wchar_t line[64];
  while (r.pc < size) {
    int at = r.pc;
    int op = code[r.pc++];
    swprintf(line, 64, L"%04d ", at);
    out += line;
    if (op >= kVmOpcodeCount) {
      swprintf(line, 64, L"<bad opcode %d>\n", op);
      out += line;
      break;
    }
    out += kNames[op];
    bool ok = true;
    int b = 0;
    int32_t i = 0;
    double d = 0;
    std::wstring s;
    wchar_t number[40];
    switch (kVmOpcodeOperands[op]) {
      case kVmOperandsConstant:
        ok = r.Byte(&b);
        if (!ok) break;
        if (b == 1 && (ok = r.Byte(&b))) out += b ? L" bool true" : L" bool false";
        else if (b == 2 && (ok = r.Int(&i))) out += std::wstring(L" int ") + FormatIntText(i, number);
        else if (b == 3 && (ok = r.Double(&d))) out += std::wstring(L" double ") + FormatDoubleText(d, number);
        else if (b == 4 && (ok = r.String(&s))) out += L" string " + Quoted(s);
        else if (b != 1 && b != 2 && b != 3 && b != 4) out += L" undefined";
        break;
      case kVmOperandsNameByte:
        if ((ok = r.String(&s) && r.Byte(&b))) out += L" " + Quoted(s) + L" " + FormatIntText(b, number);
        break;
      case kVmOperandsByte:
        if ((ok = r.Byte(&b))) out += std::wstring(L" ") + FormatIntText(b, number);
        break;
      case kVmOperandsInt:
        if ((ok = r.Int(&i))) out += std::wstring(L" ") + FormatIntText(i, number);
        break;
      case kVmOperandsFunction:
        if ((ok = r.String(&s) && r.Byte(&b))) {
          out += L" " + Quoted(s) + L" (";
          for (int k = 0; k < b && ok; ++k) {
            if ((ok = r.String(&s))) out += (k ? L", " : L"") + s;
          }
          out += L")";
          if (ok && (ok = r.Int(&i))) out += std::wstring(L" entry ") + FormatIntText(i, number);
        }
        break;
      case kVmOperandsNone:
        break;
    }
    if (!ok) {
      out += L" <truncated>\n";
      break;
    }
    out += L"\n";
  }
  return out;
}
