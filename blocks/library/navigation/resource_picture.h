// Pictures that blocks copy into their body from the program's own bitmap
// resources.
#pragma once

#include <windows.h>

// Copies the bitmap resource of the running program unscaled to the centre
// of rect. False (nothing drawn) when the program has no such resource or
// the copy failed.
bool DrawResourcePictureCentred(HDC dc, const RECT& rect, int resourceId);
