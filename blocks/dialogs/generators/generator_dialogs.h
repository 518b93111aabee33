// The property dialogs of the generator group: event detector, single
// impulse, square wave, pulse extender and monostable. Each answers true
// after the dialog was confirmed (the block then holds what was chosen,
// corrected as the block takes it) and false, with the block untouched,
// otherwise or for a block of another class. None changes pins or costs.
#pragma once

class CBEBlock;

// "Тип событий:": rise, fall or any change.
bool ShowEventDialog(CBEBlock* block);
// "Период [мс] (-1 - без повтора):" and "Нач.фаза [мс]:"; a negative
// period means no repetition, another one is at least 10 / the processor
// frequency.
bool ShowSingleImpulsDialog(CBEBlock* block);
// "Период [мс]:" (at least 10 / the processor frequency) and "Нач.фаза
// [мс]:".
bool ShowMeanderDialog(CBEBlock* block);
// The framework's input box, "Время продления [мс]:" or "Интервал работы
// [мс]:"; an empty text changes nothing and answers false.
bool ShowDurationDialog(CBEBlock* block);
bool ShowMonostableDialog(CBEBlock* block);
