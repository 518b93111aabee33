#include "script/compiler/vm_disassembler.h"

#include <cstdio>

#include "script/compiler/vm_code.h"
#include "script/values/vm_number_text.h"

namespace {

const wchar_t* const kNames[kVmOpcodeCount] = {
    L"NOP",       L"PUSH_CONST",  L"VARIABLE", L"INDEX",      L"FIELD",         L"LOAD",      L"STORE",
    L"DUP",       L"POP",         L"NEW_ARRAY", L"NEW_OBJECT", L"SWAP",         L"ADD",       L"SUB",
    L"MUL",       L"DIV",         L"MOD",      L"SHL",        L"SHR",           L"NEG",       L"EQ",
    L"NE",        L"LT",          L"LE",       L"GT",         L"GE",            L"JUMP_IF_FALSE", L"JUMP",
    L"CALL",      L"AND",         L"OR",       L"BIT_XOR",    L"NOT",           L"BIT_AND",   L"BIT_OR",
    L"BIT_NOT",   L"RETURN",      L"LINE",     L"DELETE",     L"WITH_BEGIN",    L"DEFINE_FUNCTION", L"USHR",
    L"STRICT_EQ", L"STRICT_NE",   L"INSTANCEOF", L"TYPEOF",   L"WITH_END",
};

class Reader {
public:
  Reader(const unsigned char* code, int size) : code_(code), size_(size) {}
  bool Byte(int* v) {
    if (pc > size_ - 1) return false;
    *v = code_[pc++];
    return true;
  }
  bool Int(int32_t* v) {
    if (pc > size_ - 4) return false;
    *v = ReadCodeInt(code_ + pc);
    pc += 4;
    return true;
  }
  bool Double(double* v) {
    if (pc > size_ - 8) return false;
    *v = ReadCodeDouble(code_ + pc);
    pc += 8;
    return true;
  }
  bool String(std::wstring* s) {
    s->clear();
    while (pc <= size_ - 2) {
      wchar_t c = static_cast<wchar_t>(code_[pc] | (code_[pc + 1] << 8));
      pc += 2;
      if (!c) return true;
      s->push_back(c);
    }
    return false;
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
    switch (op) {
      case OP_PUSH_CONST:
        ok = r.Byte(&b);
        if (!ok) break;
        if (b == 1 && (ok = r.Byte(&b))) out += b ? L" bool true" : L" bool false";
        else if (b == 2 && (ok = r.Int(&i))) out += std::wstring(L" int ") + FormatIntText(i, number);
        else if (b == 3 && (ok = r.Double(&d))) out += std::wstring(L" double ") + FormatDoubleText(d, number);
        else if (b == 4 && (ok = r.String(&s))) out += L" string " + Quoted(s);
        else if (b != 1 && b != 2 && b != 3 && b != 4) out += L" undefined";
        break;
      case OP_VARIABLE:
      case OP_FIELD:
        if ((ok = r.String(&s) && r.Byte(&b))) out += L" " + Quoted(s) + L" " + FormatIntText(b, number);
        break;
      case OP_INDEX:
      case OP_STORE:
      case OP_CALL:
      case OP_INSTANCEOF:
        if ((ok = r.Byte(&b))) out += std::wstring(L" ") + FormatIntText(b, number);
        break;
      case OP_NEW_ARRAY:
      case OP_JUMP_IF_FALSE:
      case OP_JUMP:
      case OP_LINE:
        if ((ok = r.Int(&i))) out += std::wstring(L" ") + FormatIntText(i, number);
        break;
      case OP_DEFINE_FUNCTION:
        if ((ok = r.String(&s) && r.Byte(&b))) {
          out += L" " + Quoted(s) + L" (";
          for (int k = 0; k < b && ok; ++k) {
            if ((ok = r.String(&s))) out += (k ? L", " : L"") + s;
          }
          out += L")";
          if (ok && (ok = r.Int(&i))) out += std::wstring(L" entry ") + FormatIntText(i, number);
        }
        break;
      default:
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
