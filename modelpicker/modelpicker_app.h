// modelpicker from start to end: folders, command line, tables, the form and
// the hand-shake files.
#pragma once

#include <windows.h>

// The icon resource of the program.
constexpr int kPickerIconId = 101;

// Runs the program on the text after the program name; the exit code is
// always 0.
int RunModelPicker(HINSTANCE instance, const wchar_t* commandLine);
