// The property dialogs of the arithmetic blocks with a constant operand, the
// summator, the vector norm and length, the limiter, the position-to-speed
// block, the type converter and the constant. Each answers true after "OK" (the block then holds what the
// form showed, its update run) and false, with the block untouched, on
// "Отмена", Esc, the close box or a block of another class.
#pragma once

class CBEBlock;

// "Ограничение сверху:", "Ограничение снизу:" (real, -1e25..1e25) and
// "Тип данных:" (char..double); the limits are stored in the type's width and
// the lower one never stays above the upper one.
bool ShowLimiterDialog(CBEBlock* block);
// "Вычитаемое:" / "Второе слогаемое:" and "Тип входных данных:" (char..double);
// the constant is a float for float and double, else a 32-bit integer.
bool ShowSubDialog(CBEBlock* block);
bool ShowAddDialog(CBEBlock* block);
// "Кол-во входов:" (2..127) and "Тип данных:" (char..double).
bool ShowSummatorDialog(CBEBlock* block);
// "Размерность вектора:" (2..127) and "Тип данных:" (norm float, double: as
// many outputs as inputs; length char..double, one output).
bool ShowNormDialog(CBEBlock* block);
bool ShowLengthDialog(CBEBlock* block);
// Three lines of explanation, "Период измерения [мс]:" (real, from 100 / the
// processor frequency of the block's scheme to 200000) and "Тип данных:"
// (char..double).
bool ShowSpeedDialog(CBEBlock* block);
// "Тип входных данных:" and "Тип выходных данных:" (bit..double each).
bool ShowTypeConvertorDialog(CBEBlock* block);
// "Значение:" and the group "Тип сигнала" (bit..double); the output keeps its
// links while its type stays.
bool ShowConstantDialog(CBEBlock* block);

// The shortest measuring period the speed dialog takes, in ms: 100 / the
// frequency in Hz (the default processor frequency for a block outside a
// scheme or a frequency that is not a positive number), at most 200000.
double SpeedPeriodMinimum(const CBEBlock* block);

// The constant's value as the dialog shows it, by the output's type: bit "1"
// or "0" (any of the first four bytes set), char, short, int the low 8, 16,
// 32 bits as a signed number, float and double "%g"; empty for other types.
void FormatConstantText(const unsigned char* value, int type, wchar_t* text, int chars);
