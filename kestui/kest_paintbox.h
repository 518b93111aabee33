// Drawing surfaces and the status bar.
//
// CKestPaintBox is a plain child window whose owning form draws it: each
// time it paints it sends WM_KEST_PAINT (0, box window) to the form, which
// draws with GetDC / ReleaseDC of the box (the paint DC while the paint
// runs). CKestImageBox draws a CKestImage first, at its natural size or
// scaled to fit with its aspect ratio kept, then lets the form draw over it.
// CKestStatusBar wraps "msctls_statusbar32" with panels whose text alignment
// is given by tab prefixes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/image.h"
#include "kestui/kest_control.h"

class CKestPaintBox : public CKestControl {
public:
  CKestPaintBox(CKestControl* parent, int id, uint32_t position, int width, int height);
  ~CKestPaintBox() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Draws the box: sends WM_KEST_PAINT to the owning form.
  virtual void Paint();

  // The kept DC: during a paint the paint DC, otherwise a window DC taken by
  // the first GetDC and released by the matching last ReleaseDC. Calls nest.
  HDC GetDC();
  void ReleaseDC();
  int GetDCUseCount() const { return dcUses_; }

protected:
  HDC dc_ = nullptr;
  int dcUses_ = 0;
  bool windowDC_ = false;  // dc_ came from GetDC (not BeginPaint)
};

class CKestImageBox : public CKestPaintBox {
public:
  // resourceId: a picture resource of the program (0: none); a picture that
  // does not load leaves the box empty. sizeToImage: the window takes the
  // picture's size when a picture is set. fit: the picture is scaled into
  // the client area keeping its aspect ratio and centred; the margins are
  // filled with the background colour.
  CKestImageBox(CKestControl* parent, int id, uint32_t position, UINT resourceId, bool sizeToImage,
                bool fit, int width, int height);
  ~CKestImageBox() override;

  void Paint() override;

  // Takes ownership of image (null: no picture); the previous one is
  // deleted. Repaints.
  void SetImage(CKestImage* image);
  CKestImage* GetImage() const { return image_; }

  // Where the picture of imageWidth x imageHeight is drawn in area.
  static RECT PlaceImage(const RECT& area, int imageWidth, int imageHeight, bool fit);

private:
  CKestImage* image_ = nullptr;
  bool sizeToImage_;
  bool fit_;
};

class CKestStatusBar : public CKestControl {
public:
  // Docked at the bottom of form; no panels.
  CKestStatusBar(CKestControl* form, bool sizeGrip, int height);
  ~CKestStatusBar() override;

  // Appends a panel; alignment below 0 left, 0 centred, above 0 right. The
  // newest panel reaches the right edge of the bar; its width takes effect
  // when a further panel is added. Answers the panel index, -1 when out of
  // memory.
  int AddPanel(int width, int8_t alignment, const wchar_t* text);
  // Sets a panel's text (null: empty); an index outside the panels is
  // ignored.
  void SetPanelText(int index, const wchar_t* text);
  int GetPanelCount() const { return count_; }

private:
  int count_ = 0;
  int32_t* edges_ = nullptr;
  int8_t* alignments_ = nullptr;
};
