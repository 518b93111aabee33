// Body colour of the "Логика" blocks (GDI 0x00BBGGRR).
#pragma once

#include <windows.h>

const COLORREF kLogicFill = 0x33FFFF;
