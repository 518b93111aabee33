// A reference-counted GDI font shared by widgets.
#pragma once

#include <windows.h>

class CKestFont {
public:
  CKestFont(const wchar_t* faceName, int height, int weight = FW_NORMAL, bool italic = false,
            bool underline = false, bool strikeOut = false, BYTE charset = DEFAULT_CHARSET,
            int escapement = 0, int orientation = 0);
  virtual ~CKestFont();
  CKestFont(const CKestFont&) = delete;
  CKestFont& operator=(const CKestFont&) = delete;

  void AddRef() { ++refCount_; }
  // Deletes the font when the count falls below 1 (also from 0).
  void Release();
  int GetRefCount() const { return refCount_; }

  HFONT GetHandle() const { return font_; }

private:
  HFONT font_ = nullptr;
  int refCount_ = 0;
};

// The framework's default font: "Verdana", height -12, weight 400,
// DEFAULT_CHARSET. A new object with count 0.
CKestFont* CreateDefaultKestFont();

// The shared font of the hint windows; cleared when that font is deleted.
extern CKestFont* HintFont;
