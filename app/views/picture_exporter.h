// Where a view draws a picture of itself for the file, clipboard or printer:
// the view asks for a device context of a kind, draws everything into it in
// its own pixel coordinates and hands it back. A view holds one exporter
// object; a test gives it its own.
#pragma once

#include <windows.h>

#include "kestui/core/kest_host.h"  // KestPictureKind


class CPictureExporter {
public:
  virtual ~CPictureExporter() = default;
  // A context to draw the picture of rect into, or null when nothing is to
  // be drawn (cancelled, or no export of that kind).
  virtual HDC Begin(int kind, const RECT& rect);
  // Finishes the picture drawn into dc.
  virtual void End(int kind, HDC dc);
};
