// Pictures of a view for a file, the clipboard or the printer. A view asks
// BeginPictureExport for a context of a kind (KestPictureFile, KestPictureClipboard,
// KestPicturePrinter) over the rectangle it will draw, in its screen pixels;
// null means nothing is to be drawn (cancelled, refused or failed, the user
// already told). Otherwise it draws everything into the context and hands
// it to EndPictureExport with the same kind. The context is always an
// enhanced metafile; its end writes it to a file (as a metafile, or
// rendered into a JPEG or BMP bitmap at the export resolution), puts it on
// the clipboard, or prints it centred on one page with one-inch margins.
// One export runs at a time.
#pragma once

#include <windows.h>

HDC BeginPictureExport(int kind, const RECT& rect);
void EndPictureExport(int kind, HDC dc);

// File: asks for the path ("wmf", "jpg" or "bmp"), for a bitmap also the
// resolution ("Экспорт"), and refuses a bitmap beyond the limits below.
HDC BeginFileExport(const RECT& rect);
void EndFileExport(HDC dc);
HDC BeginClipboardExport(const RECT& rect);
void EndClipboardExport(HDC dc);
HDC BeginPrinterExport(const RECT& rect);
void EndPrinterExport(HDC dc);

// The metafile context over rect (screen pixels, converted to 0.01 mm of
// the screen), written to file (null: in memory); null when it cannot be
// made.
HDC CreatePictureMetafile(const RECT& rect, const wchar_t* file);

// Dots per inch of bitmap exports: 100 at start, the last one chosen after.
double GetExportResolution();
void SetExportResolution(double resolution);

// The bitmap size of a picture of width x height screen pixels at a
// resolution: each side scaled by resolution / 96 and truncated.
SIZE ExportBitmapSize(int width, int height, double resolution);
// Largest bitmap an export makes: each side and the 24-bit pixel bytes.
constexpr int kVelkExportMaxBitmapSide = 10000;
constexpr long long kVelkExportMaxBitmapBytes = 256ll * 1024 * 1024;
// Whether a bitmap of that size may be made (both sides positive, within
// the limits).
bool ExportBitmapFits(SIZE size);

// Where a picture of width x height goes on a page of pageWidth x
// pageHeight device pixels at dpiX x dpiY: as large as fits between
// one-inch margins, keeping its proportions, centred. An empty rectangle
// when the picture or the printable area is empty.
RECT PrintPlacement(int pageWidth, int pageHeight, int dpiX, int dpiY, int width, int height);
