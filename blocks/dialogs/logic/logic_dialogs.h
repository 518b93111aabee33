// The property dialogs of the logic palette group (the NOT element's is a
// data-type dialog): shifts, bit extraction, both comparisons, the gates
// with many inputs and the bitwise operations with a mask. Each answers
// true after "OK" (the block then holds what the form showed, its update
// run) and false, with the block untouched, on "Отмена", Esc, the close box
// or a block of another class.
#pragma once

class CBEBlock;

// "Число бит:" (1..31), "Тип сдвига:", "Тип входных данных:" (char..int);
// the count is held within the type's width (7 for char, 15 for short).
bool ShowShrDialog(CBEBlock* block);
bool ShowShlDialog(CBEBlock* block);
// "Номер бита (с нуля):" (0..31) and the input type (char..int); the number
// is held within the type's width.
bool ShowGetBitDialog(CBEBlock* block);
// "Операция:" and the type of both inputs (bit..double).
bool ShowCmp2Dialog(CBEBlock* block);
// "Операнд B:", "Операция:" and the input type (bit..double); for bit only
// "=" and "≠" stay ("≠" replaces the others).
bool ShowCmpDialog(CBEBlock* block);
// "Кол-во входов:" (2..127) and the type of every pin (OR bit..double, AND
// bit..int).
bool ShowOr2Dialog(CBEBlock* block);
bool ShowAnd2Dialog(CBEBlock* block);
// "Маска:" (hexadecimal after "0x", else decimal; kept in 32 bits) and the
// type (char..int).
bool ShowOrDialog(CBEBlock* block);
bool ShowAndDialog(CBEBlock* block);

// The mask text as the dialogs show it: "0x%02X", "0x%04X" or "0x%08X" of
// the type's low bits (int for other types).
void FormatMaskText(unsigned int mask, int type, wchar_t* text, int chars);
// The mask a text stands for: hexadecimal after a leading "0x", any other
// text a decimal integer; what does not convert gives 0.
unsigned int ParseMaskText(const wchar_t* text);
