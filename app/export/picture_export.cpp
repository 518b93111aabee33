#include "app/export/picture_export.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "app/export/export_resolution_form.h"
#include "app/views/picture_exporter.h"
#include "foundation/buffers.h"
#include "foundation/paths.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_window_dc.h"

namespace {

const double kDefaultResolution = 100.0;
const double kScreenDpi = 96.0;
const wchar_t kExportFilter[] = L"wmf-файлы|*.wmf|jpg-файлы|*.jpg|bmp-файлы|*.bmp";
const wchar_t kErrorCaption[] = L"Ошибка";

// The state of the export under way.
double g_resolution = kDefaultResolution;
wchar_t* g_exportPath = nullptr;  // between BeginFileExport and EndFileExport
wchar_t g_exportExtension[kFoundationMaxPathChars + 1] = {};
int g_pictureWidth = 0, g_pictureHeight = 0;

void FreeExportPath() {
  FreeBuffer(g_exportPath);
  g_exportPath = nullptr;
}

bool IsMetafileExtension() { return wcscmp(g_exportExtension, L"WMF") == 0; }

void ShowError(const wchar_t* format, const wchar_t* argument) {
  ShowMessageBox(MainKestForm, MB_OK | MB_ICONERROR, kErrorCaption, format, argument ? argument : L"");
}

void ShowErrorText(const wchar_t* text) { ShowError(L"%ls", text); }

void RememberSize(const RECT& rect) {
  g_pictureWidth = rect.right - rect.left;
  g_pictureHeight = rect.bottom - rect.top;
}

HENHMETAFILE CloseMetafile(HDC dc) { return dc ? CloseEnhMetaFile(dc) : nullptr; }

// Renders the metafile into a white 24-bit bitmap of size and saves it to
// path in the format its extension names.
bool RenderAndSave(HENHMETAFILE metafile, SIZE size, const wchar_t* path, bool* rendered) {
  *rendered = false;
  CKestImage image;
  if (!image.Create(size.cx, size.cy, 24)) return false;
  HDC dc = image.GetDC();
  if (!dc) return false;
  RECT all = {0, 0, size.cx, size.cy};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  BOOL played = PlayEnhMetaFile(dc, metafile, &all);
  image.ReleaseDC();
  if (!played) return false;
  *rendered = true;
  return SUCCEEDED(image.Save(path));
}

}  // namespace

double GetExportResolution() { return g_resolution; }
void SetExportResolution(double resolution) { g_resolution = resolution; }

SIZE ExportBitmapSize(int width, int height, double resolution) {
  double w = std::trunc(width * resolution / kScreenDpi), h = std::trunc(height * resolution / kScreenDpi);
  // Sizes far beyond any limit stay beyond it without overflowing.
  const double kCeiling = 2147483647.0;
  SIZE size;
  size.cx = static_cast<LONG>(w > kCeiling ? kCeiling : (w < -kCeiling ? -kCeiling : w));
  size.cy = static_cast<LONG>(h > kCeiling ? kCeiling : (h < -kCeiling ? -kCeiling : h));
  return size;
}

bool ExportBitmapFits(SIZE size) {
  if (size.cx <= 0 || size.cy <= 0) return false;
  if (size.cx > kVelkExportMaxBitmapSide || size.cy > kVelkExportMaxBitmapSide) return false;
  long long stride = (static_cast<long long>(size.cx) * 3 + 3) / 4 * 4;
  return stride * size.cy <= kVelkExportMaxBitmapBytes;
}

RECT PrintPlacement(int pageWidth, int pageHeight, int dpiX, int dpiY, int width, int height) {
  RECT target = {0, 0, 0, 0};
  int areaWidth = pageWidth - 2 * dpiX, areaHeight = pageHeight - 2 * dpiY;
  if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) return target;
  int w = areaWidth;
  int h = MulDiv(areaWidth, height, width);
  if (areaHeight < h) {
    h = areaHeight;
    w = MulDiv(areaHeight, width, height);
  }
  target.left = (pageWidth - w) / 2;
  target.top = (pageHeight - h) / 2;
  target.right = target.left + w;
  target.bottom = target.top + h;
  return target;
}

HDC CreatePictureMetafile(const RECT& rect, const wchar_t* file) {
  CKestWindowDC screen(nullptr);
  if (!screen) return nullptr;
  HDC dc = screen.Get();
  int horzSize = GetDeviceCaps(dc, HORZSIZE) * 100, horzRes = GetDeviceCaps(dc, HORZRES);
  int vertSize = GetDeviceCaps(dc, VERTSIZE) * 100, vertRes = GetDeviceCaps(dc, VERTRES);
  if (horzRes <= 0 || vertRes <= 0) return nullptr;
  RECT frame = {MulDiv(rect.left, horzSize, horzRes), MulDiv(rect.top, vertSize, vertRes),
                MulDiv(rect.right, horzSize, horzRes), MulDiv(rect.bottom, vertSize, vertRes)};
  return CreateEnhMetaFileW(dc, file, &frame, L"Схема\0");
}

// ---------------------------------------------------------------- file

HDC BeginFileExport(const RECT& rect) {
  RememberSize(rect);
  FreeExportPath();
  g_exportPath = ShowSaveFileDialog(MainKestForm, nullptr, L"wmf", kExportFilter, nullptr, nullptr);
  if (!g_exportPath) return nullptr;
  GetFileExtension(g_exportExtension, g_exportPath);
  CharUpperW(g_exportExtension);

  if (IsMetafileExtension()) {
    HDC dc = CreatePictureMetafile(rect, g_exportPath);
    if (!dc) {
      ShowError(L"Не удалось записать файл \"%ls\".", g_exportPath);
      FreeExportPath();
    }
    return dc;
  }

  CExportResolutionForm* question = new (std::nothrow) CExportResolutionForm(MainKestForm, g_resolution);
  int result = 0;
  if (question && question->GetHandle()) {
    result = question->ShowModal(false);
    if (result == 1) g_resolution = question->GetResolutionEdit()->GetValue();
  }
  delete question;
  if (result != 1) {
    FreeExportPath();
    return nullptr;
  }
  SIZE size = ExportBitmapSize(g_pictureWidth, g_pictureHeight, g_resolution);
  if (!ExportBitmapFits(size)) {
    wchar_t text[256];
    swprintf(text, 256, L"%ld x %ld", static_cast<long>(size.cx), static_cast<long>(size.cy));
    ShowError(L"Рисунок в %ls точек не может быть построен: каждая сторона должна быть от 1 до 10000 точек, "
              L"а весь рисунок не больше 256 МБ. Уменьшите разрешение.",
              text);
    FreeExportPath();
    return nullptr;
  }
  HDC dc = CreatePictureMetafile(rect, nullptr);
  if (!dc) {
    ShowError(L"Не удалось построить рисунок для файла \"%ls\".", g_exportPath);
    FreeExportPath();
  }
  return dc;
}

void EndFileExport(HDC dc) {
  HENHMETAFILE metafile = CloseMetafile(dc);
  if (!g_exportPath) {
    if (metafile) DeleteEnhMetaFile(metafile);
    return;
  }
  if (IsMetafileExtension()) {
    if (metafile) DeleteEnhMetaFile(metafile);
    else ShowError(L"Не удалось записать файл \"%ls\".", g_exportPath);
  } else if (!metafile) {
    ShowError(L"Не удалось построить рисунок для файла \"%ls\".", g_exportPath);
  } else {
    bool rendered = false;
    SIZE size = ExportBitmapSize(g_pictureWidth, g_pictureHeight, g_resolution);
    if (!RenderAndSave(metafile, size, g_exportPath, &rendered)) {
      // A file half written is no picture.
      DeleteFileW(g_exportPath);
      ShowError(rendered ? L"Не удалось записать файл \"%ls\"." : L"Не удалось построить рисунок для файла \"%ls\".",
                g_exportPath);
    }
    DeleteEnhMetaFile(metafile);
  }
  FreeExportPath();
}

// ---------------------------------------------------------------- clipboard

HDC BeginClipboardExport(const RECT& rect) {
  HDC dc = CreatePictureMetafile(rect, nullptr);
  if (!dc) ShowErrorText(L"Не удалось построить рисунок для буфера обмена.");
  return dc;
}

void EndClipboardExport(HDC dc) {
  HENHMETAFILE metafile = CloseMetafile(dc);
  if (!metafile) {
    ShowErrorText(L"Не удалось построить рисунок для буфера обмена.");
    return;
  }
  HWND owner = MainKestForm ? MainKestForm->GetHandle() : nullptr;
  if (!OpenClipboard(owner)) {
    DeleteEnhMetaFile(metafile);
    ShowErrorText(L"Не удается открыть буфер обмена Windows");
    return;
  }
  EmptyClipboard();
  // The clipboard owns the metafile once it took it.
  bool placed = SetClipboardData(CF_ENHMETAFILE, metafile) != nullptr;
  CloseClipboard();
  if (!placed) {
    DeleteEnhMetaFile(metafile);
    ShowErrorText(L"Не удалось поместить рисунок в буфер обмена Windows.");
  }
}

// ---------------------------------------------------------------- printer

HDC BeginPrinterExport(const RECT& rect) {
  RememberSize(rect);
  HDC dc = CreatePictureMetafile(rect, nullptr);
  if (!dc) ShowErrorText(L"Не удалось построить рисунок для печати.");
  return dc;
}

void EndPrinterExport(HDC dc) {
  HENHMETAFILE metafile = CloseMetafile(dc);
  if (!metafile) {
    ShowErrorText(L"Не удалось построить рисунок для печати.");
    return;
  }
  HDC printer = ShowPrintDialog(MainKestForm, nullptr, nullptr);
  if (!printer) {
    DeleteEnhMetaFile(metafile);
    return;
  }
  RECT target = PrintPlacement(GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES),
                               GetDeviceCaps(printer, LOGPIXELSX), GetDeviceCaps(printer, LOGPIXELSY),
                               g_pictureWidth, g_pictureHeight);
  DOCINFOW info = {};
  info.cbSize = sizeof info;
  info.lpszDocName = L"Схема Torvalk";
  bool printed = false;
  if (target.right > target.left && StartDocW(printer, &info) > 0) {
    bool page = StartPage(printer) > 0;
    bool played = page && PlayEnhMetaFile(printer, metafile, &target);
    bool ended = page && EndPage(printer) > 0;
    if (page && played && ended && EndDoc(printer) > 0) printed = true;
    else AbortDoc(printer);
  }
  DeleteDC(printer);
  DeleteEnhMetaFile(metafile);
  if (!printed) ShowErrorText(L"Не удалось напечатать схему.");
}

// ---------------------------------------------------------------- kinds

HDC BeginPictureExport(int kind, const RECT& rect) {
  switch (kind) {
    case KestPictureFile:
      return BeginFileExport(rect);
    case KestPictureClipboard:
      return BeginClipboardExport(rect);
    case KestPicturePrinter:
      return BeginPrinterExport(rect);
    default:
      return nullptr;
  }
}

void EndPictureExport(int kind, HDC dc) {
  switch (kind) {
    case KestPictureFile:
      EndFileExport(dc);
      break;
    case KestPictureClipboard:
      EndClipboardExport(dc);
      break;
    case KestPicturePrinter:
      EndPrinterExport(dc);
      break;
    default:
      break;
  }
}
