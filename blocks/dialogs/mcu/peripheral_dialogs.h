// The property dialogs of the processor peripherals: the on-board
// computer's general-purpose lines and, in the microcontroller's block
// diagrams, the software PWM, the interval meter, the ADC, the
// timer/counter and the port pin. Each answers true after the dialog was
// confirmed (the block then holds what was chosen and has rebuilt its pins
// or recomputed its costs) and false, with the block untouched, otherwise
// or for a block of another class.
#pragma once

class CBEBlock;

// "Отметьте галочкой выходы:" over a list of the lines with check boxes.
bool ShowGpioDialog(CBEBlock* block);
// "Период ШИМ [сек]:" and "Кол-во дискрет (ампл.входа):".
bool ShowSoftwarePwmDialog(CBEBlock* block);
// The measuring-pulse period, the number of input periods and the filter.
bool ShowIntervalDetectorDialog(CBEBlock* block);
// REFS1:0, ADLAR, ADPS2:0 and the eight channel boxes.
bool ShowAvrAdcDialog(CBEBlock* block);
// CSx, ICRx (16-bit timers) and the mode of each compare output.
bool ShowAvrTimerDialog(CBEBlock* block);
// "Режим порта:"; a pin in an alternate-function mode (3 to 7) opens no
// form and answers false (the block itself tells the user why).
bool ShowIOPortDialog(CBEBlock* block);

// The texts the dialogs show.
extern const wchar_t* const kBeAdcReferenceItems[4];
extern const wchar_t* const kBeAdcAdjustItems[2];
extern const wchar_t* const kBeAdcPrescalerItems[8];
extern const wchar_t* const kBeTimerCompareItems[3];
extern const wchar_t* const kBePortModeItems[4];
