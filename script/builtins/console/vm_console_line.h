// The line that console.log and console.info (print and printf) gather for
// the log.
#pragma once

#include "foundation/plain_array.h"
#include "scheme/simulation/sim_log.h"

// The log keeps a line's first kMaxMessageChars units (and cuts between the
// halves of no surrogate pair); one unit more is gathered so the log makes
// that cut, and text beyond never shows.
const int kVmConsoleLineChars = SimMessageLog::kMaxMessageChars + 1;

// Appends at most the room left of a line of kVmConsoleLineChars units; false
// when memory ran out.
bool AppendConsoleText(CPlainArray<wchar_t>* line, const wchar_t* text, int length);
