// The voltage label of a power pin ("+12V", "-5.5V", "~220V"), shared by the
// power supply and the board computer.
#pragma once

// Room FormatVoltageLabel needs, terminator included.
const int kElecVoltageLabelSize = 32;

// Writes the label of a voltage into buffer (kElecVoltageLabelSize characters):
// a whole number of volts (fraction below 0.01) without decimals, else one
// decimal; "~" for an alternating voltage, else "+" above 0 and "-" for 0
// and below, followed by the magnitude.
void FormatVoltageLabel(wchar_t* buffer, float volts, bool ac);
