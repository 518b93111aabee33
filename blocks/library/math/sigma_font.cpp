#include "blocks/library/math/sigma_font.h"

#include <cwchar>

#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_font.h"

namespace {
const wchar_t kSymbolFace[] = L"Symbol";
const wchar_t kSymbolSigma[] = L"S";
// Tahoma has the Greek letters and comes with every Windows the program
// runs on.
const wchar_t kFallbackFace[] = L"Tahoma";
const wchar_t kUnicodeSigma[] = L"\x03A3";
const BYTE kSigmaCharset = DEFAULT_CHARSET;

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}
}  // namespace

bool HasSymbolFont() {
  static int known = -1;
  if (known < 0) {
    bool found = false;
    HDC screen = GetDC(nullptr);
    if (screen) {
      LOGFONTW wanted = {};
      wanted.lfCharSet = DEFAULT_CHARSET;
      wcscpy(wanted.lfFaceName, kSymbolFace);
      EnumFontFamiliesExW(screen, &wanted, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
      ReleaseDC(nullptr, screen);
    }
    known = found ? 1 : 0;
  }
  return known == 1;
}

void DrawSigma(HDC dc, int x, int y, int height) {
  bool symbol = HasSymbolFont();
  CKestFont* font = new CKestFont(symbol ? kSymbolFace : kFallbackFace, height, FW_NORMAL,
                                  false, false, false, kSigmaCharset);
  font->AddRef();
  {
    CKestDcSelection selection(dc);
    if (font->GetHandle()) selection.Select(font->GetHandle());
    COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    const wchar_t* text = symbol ? kSymbolSigma : kUnicodeSigma;
    TextOutW(dc, x, y, text, static_cast<int>(wcslen(text)));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
  }
  font->Release();
}
