// The shared type picker of the block dialogs, and the dialogs of the blocks
// that offer nothing but their data type.
#pragma once

#include <cstdint>

class CBEBlock;

// A form of 260 x 120 titled caption: "Тип данных:" over a list of the type
// codes first..last with *type selected, "OK" and "Отмена". True, with the
// chosen code stored in *type, only when "OK" chose a code other than *type;
// false, *type unchanged, otherwise (also for first above last or a null
// argument).
bool ShowDataTypeDialog(const wchar_t* caption, int32_t* type, int first, int last);

// The data-type dialogs, by class. One type for every data pin (the whole
// pin set goes to the picked type; a pin whose type changes loses its links):
// the two-argument arc tangent (float, double), the absolute value (char to
// double), the trigonometric functions (float, double), division,
// multiplication and difference (char to double), NOT (bit to double).
bool ShowArctan2Dialog(CBEBlock* block);
bool ShowAbsDialog(CBEBlock* block);
bool ShowMathFuncDialog(CBEBlock* block);
bool ShowDiv2Dialog(CBEBlock* block);
bool ShowMul2Dialog(CBEBlock* block);
bool ShowNotDialog(CBEBlock* block);
bool ShowSub2Dialog(CBEBlock* block);
// The picked type on the output, then the named pins, then the costs: sign
// change (char to double; input and output), counter (char to int; the
// output alone), register and D flip-flop (bit to double; the output and
// input "D").
bool ShowNegDialog(CBEBlock* block);
bool ShowCounterDialog(CBEBlock* block);
bool ShowRegisterDialog(CBEBlock* block);
bool ShowDFlipFlopDialog(CBEBlock* block);
