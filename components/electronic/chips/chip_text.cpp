#include "components/electronic/chips/chip_text.h"

#include <cwchar>

#include "scheme/model/block.h"
#include "scheme/board/pcb_painter.h"

void ChipTextToWide(const char* text, wchar_t* out, int chars) {
  if (!out || chars <= 0) return;
  out[0] = 0;
  if (!text || !*text) return;
  wchar_t buffer[512];
  int n = MultiByteToWideChar(1251, 0, text, -1, buffer, 512);
  if (n <= 0) {
    // Too long for the buffer: convert the head only.
    int length = 0;
    while (length < 500 && text[length]) length++;
    n = MultiByteToWideChar(1251, 0, text, length, buffer, 511);
    if (n < 0) n = 0;
    buffer[n] = 0;
  }
  wcsncpy(out, buffer, chars - 1);
  out[chars - 1] = 0;
}

int ChipTextDigitsEnd(const wchar_t* text) {
  if (!text) return 0;
  int i = 0;
  while (text[i] && !(text[i] >= L'0' && text[i] <= L'9')) i++;
  while (text[i] >= L'0' && text[i] <= L'9') i++;
  return i;
}

void ChipShortModel(const char* model, wchar_t* out, int chars) {
  if (!out || chars <= 0) return;
  ChipTextToWide(model, out, chars);
  int end = ChipTextDigitsEnd(out);
  if (out[end] == L'A') end++;
  out[end] = 0;
}

void PaintChipLabels(CSCHBlock* block, HDC dc) {
  const RECT& r = block->rect;
  const int middle = (r.top + r.bottom) / 2;
  COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
  const int cx = (r.left + r.right) / 2;
  if (block->instanceName)
    TextOutW(dc, cx, middle, block->instanceName, static_cast<int>(wcslen(block->instanceName)));
  wchar_t name[64];
  ChipShortModel(block->model, name, 64);
  SetTextAlign(dc, TA_CENTER | TA_TOP);
  if (name[0]) TextOutW(dc, cx, middle, name, static_cast<int>(wcslen(name)));
  SetTextAlign(dc, oldAlign);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
}

void DrawFootprintText(PcbPainter* painter, float x, float y, float height, const wchar_t* text,
                       int direction, COLORREF color) {
  COLORREF old = SetTextColor(painter->dc, color);
  int oldMode = SetBkMode(painter->dc, TRANSPARENT);
  painter->DrawText(x, y, height, text, direction);
  SetBkMode(painter->dc, oldMode);
  SetTextColor(painter->dc, old);
}

void DrawFootprintName(PcbPainter* painter, CSCHBlock* block) {
  if (!block->instanceName) return;
  DrawFootprintText(painter, 0, -block->footprintLength / 2 - 2, 3, block->instanceName, 0,
                    RGB(255, 255, 255));
}
