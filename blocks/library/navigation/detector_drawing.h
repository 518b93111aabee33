// The body of the camera detectors: a raised grey frame with a picture of
// the program's resources in its centre.
#pragma once

#include <windows.h>

// Draw3DFrameRect over rect (fill 0xCCCCCC, light edge 0xFFFFFF, shadow
// edge 0x999999), then the bitmap resource of the program copied
// width x height to the centre of rect (nothing when it does not load).
void DrawDetectorBody(HDC dc, const RECT& rect, int bitmapId, int width, int height);
