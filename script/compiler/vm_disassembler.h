// A readable listing of byte code, one instruction a line, for tests and
// for looking into stored programs.
#pragma once

#include <string>

// "0000 PUSH_CONST int 5" lines. Operands that run past the code end the
// listing with a line "xxxx <truncated>"; an unknown opcode gives
// "xxxx <bad opcode N>" and the listing stops there.
std::wstring DisassembleVmCode(const unsigned char* code, int size);
// The name of an opcode ("PUSH_CONST"), or null for a byte above 46.
const wchar_t* GetVmOpcodeName(int opcode);
