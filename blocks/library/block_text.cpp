#include "blocks/library/block_text.h"

#include <cwchar>

void DrawBlockText(HDC dc, int x, int y, const wchar_t* text) {
  if (!text) return;
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, x, y, text, static_cast<int>(wcslen(text)));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}
