// CKestPainter: scoped selection of GDI objects into a device context.
//
// Each kind of object (pen, brush, font, bitmap) that the painter selects
// first remembers what the DC held before; the destructor puts those back.
// Objects the painter made itself (SetPen, SetBrush) or was handed with
// SelectOwned are deleted once they are out of the DC; a font set with
// SetFont is a counted reference, released at the end.
#pragma once

#include <windows.h>

#include "kestui/graphics/kest_font.h"

class CKestPainter {
public:
  explicit CKestPainter(HDC dc);
  virtual ~CKestPainter();
  CKestPainter(const CKestPainter&) = delete;
  CKestPainter& operator=(const CKestPainter&) = delete;

  HDC GetDC() const { return dc_; }

  // Selects an object the caller keeps owning. False when the DC refused
  // it (or it is no pen, brush, font or bitmap).
  bool Select(HGDIOBJ object);
  // Selects an object the painter now owns: it is deleted when it leaves
  // the DC, also when the selection fails.
  bool SelectOwned(HGDIOBJ object);
  // A new solid pen or brush, owned.
  bool SetPen(int style, int width, COLORREF color);
  bool SetBrush(COLORREF color);
  // Selects the font and keeps a reference to it until the painter goes or
  // another font is set.
  bool SetFont(CKestFont* font);

  // Puts the DC's own objects back and frees what the painter owns; the
  // destructor does the same. The painter may be used again afterwards.
  void Restore();

private:
  enum Kind { kPen, kBrush, kFont, kBitmap, kKinds };
  static int KindOf(HGDIOBJ object);
  bool SelectKind(HGDIOBJ object, bool owned);

  HDC dc_;
  HGDIOBJ original_[kKinds] = {};  // what the DC held before the first selection
  HGDIOBJ owned_[kKinds] = {};     // the owned object now selected, per kind
  CKestFont* font_ = nullptr;
};
