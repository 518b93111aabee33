// The property dialogs of the control-theory links: proportional, constant
// divider, differentiator, integral, integral with reload, first-order lag
// and oscillating link. Each answers true after "OK" (the block then holds
// what the form showed, corrected as the link accepts it) and false, with
// the block, its pins and costs untouched, on "Отмена", Esc, the close box
// or a block of another class.
#pragma once

class CBEBlock;

bool ShowProportionalDialog(CBEBlock* block);
bool ShowConstDividerDialog(CBEBlock* block);
bool ShowDiffDialog(CBEBlock* block);
// "Коэффициент усиления:", "Нач.значение на выходе:", "Ограничение на
// выходе:", "Тип данных:", "Способ реализации:"; the limit is not below 0,
// at most 512 in the table realisation and within the type's range.
bool ShowIntegralDialog(CBEBlock* block);
// Edits and a type list; the type goes to the data pins, no cost changes.
bool ShowIntegralWithReloadDialog(CBEBlock* block);
bool ShowInertialDialog(CBEBlock* block);
bool ShowVibroDialog(CBEBlock* block);
