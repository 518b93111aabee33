// The property dialogs of the "Цифровые" blocks that size themselves or
// count: multiplexer, demultiplexer, priority coder and the counter for an
// incremental sensor. Each answers true after "OK" and false, with the
// block untouched, on "Отмена", Esc, the close box or a block of another
// class.
#pragma once

#include "blocks/engine/signal_type.h"

class CBEBlock;
class CBEPropertyForm;
class CKestComboBox;

// The signal-kind list of the multiplexer and demultiplexer: a drop-down
// list of the scalar types bit ... double and the message kinds, each item
// carrying its type code as item data; the first item whose code is
// current is selected (none when no item has it).
CKestComboBox* AddSignalKindRow(CBEPropertyForm* form, const wchar_t* caption, BeSignalType current);
// The code the selected item carries; fallback when nothing is selected.
BeSignalType SelectedSignalKind(CKestComboBox* list, BeSignalType fallback);

// "Кол-во входов:" (data inputs, 2..127) and "Тип данных:" (the output's
// kind): the block is resized to 30 pixels per data input plus the
// selector, the output and the data inputs take the kind and the data
// inputs the description "Вход"; the selector is never retyped.
bool ShowMuxDialog(CBEBlock* block);
// "Кол-во выходов:" (2..127) and "Тип данных:" (the data input's kind):
// 30 pixels per output, the data input and the outputs take the kind, the
// outputs the description "Выход".
bool ShowDemuxDialog(CBEBlock* block);
// "Кол-во входов:" (2..127) beside its spin edit: the coder rebuilds its
// inputs, height and costs.
bool ShowCoderDialog(CBEBlock* block);
// "Тип данных:" (char..int) beside its list: the output's type, then the
// costs recomputed in every case.
bool ShowPulsCounterDialog(CBEBlock* block);
