#include "kestui/graphics/kest_font.h"

CKestFont* HintFont = nullptr;

CKestFont::CKestFont(const wchar_t* faceName, int height, int weight, bool italic, bool underline,
                     bool strikeOut, BYTE charset, int escapement, int orientation) {
  font_ = CreateFontW(height, 0, escapement, orientation, weight, italic, underline, strikeOut,
                      charset, 0, 0, 0, 0, faceName);
}

CKestFont::~CKestFont() {
  if (font_) DeleteObject(font_);
  if (HintFont == this) HintFont = nullptr;
}

void CKestFont::Release() {
  if (--refCount_ < 1) delete this;
}

CKestFont* CreateDefaultKestFont() {
  return new CKestFont(L"Verdana", -12, FW_NORMAL, false, false, false, DEFAULT_CHARSET, 0, 0);
}
