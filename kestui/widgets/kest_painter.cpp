#include "kestui/widgets/kest_painter.h"

CKestPainter::CKestPainter(HDC dc) : dc_(dc) {}

CKestPainter::~CKestPainter() { Restore(); }

int CKestPainter::KindOf(HGDIOBJ object) {
  switch (object ? GetObjectType(object) : 0) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return kPen;
    case OBJ_BRUSH:
      return kBrush;
    case OBJ_FONT:
      return kFont;
    case OBJ_BITMAP:
      return kBitmap;
    default:
      return -1;
  }
}

bool CKestPainter::SelectKind(HGDIOBJ object, bool owned) {
  int kind = KindOf(object);
  HGDIOBJ previous = (dc_ && kind >= 0) ? SelectObject(dc_, object) : nullptr;
  if (!previous || previous == HGDI_ERROR) {
    if (owned && object) DeleteObject(object);
    return false;
  }
  if (!original_[kind]) original_[kind] = previous;
  // The owned object that was in the DC until now is out of it.
  if (owned_[kind] && owned_[kind] != object) DeleteObject(owned_[kind]);
  owned_[kind] = owned ? object : nullptr;
  return true;
}

bool CKestPainter::Select(HGDIOBJ object) { return SelectKind(object, false); }

bool CKestPainter::SelectOwned(HGDIOBJ object) { return SelectKind(object, true); }

bool CKestPainter::SetPen(int style, int width, COLORREF color) {
  return SelectOwned(CreatePen(style, width, color));
}

bool CKestPainter::SetBrush(COLORREF color) { return SelectOwned(CreateSolidBrush(color)); }

bool CKestPainter::SetFont(CKestFont* font) {
  if (!font || !font->GetHandle()) return false;
  if (!Select(font->GetHandle())) return false;
  font->AddRef();
  if (font_) font_->Release();
  font_ = font;
  return true;
}

void CKestPainter::Restore() {
  for (int kind = 0; kind < kKinds; ++kind) {
    if (original_[kind] && dc_) SelectObject(dc_, original_[kind]);
    original_[kind] = nullptr;
    if (owned_[kind]) DeleteObject(owned_[kind]);
    owned_[kind] = nullptr;
  }
  if (font_) font_->Release();
  font_ = nullptr;
}
