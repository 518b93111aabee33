// CKestSpdBtn: the flat owner-drawn button of tool bars and palettes. An
// image (one picture, or a horizontal strip of square frames: normal,
// disabled, hot) with an optional caption beside or below it; a highlight
// while hot (the mouse over it) or pressed, and an optional toggle (down)
// state. Clicks reach the form as WM_COMMAND (id, window) from the base
// Click; a release that does not end a press on the button is ignored
// entirely.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_title_control.h"
#include "kestui/containers/kest_container.h"
#include "kestui/graphics/image.h"

class CKestSpdBtn : public CKestTitleControl {
public:
  enum State { StateNormal = 0, StateHot = 1, StatePressed = 2 };

  // imageId: a bitmap or encoded picture resource of the program (0: none).
  // A picture that does not load leaves the button without image.
  CKestSpdBtn(CKestContainer* container, int id, UINT imageId, const wchar_t* hint, bool toggle,
              int width, int height, const wchar_t* caption, uint32_t position,
              bool imageBesideCaption);
  ~CKestSpdBtn() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Takes ownership (null: no image). A picture at least twice as wide as
  // high is a strip of width / height frames. The colour of pixel (0, 0)
  // becomes the transparent index of an indexed picture.
  void SetImage(CKestImage* image);
  CKestImage* GetImage() const { return image_; }
  int GetFrameCount() const { return frameCount_; }
  // The frame drawn now: 0; with more than 2 frames 1 when disabled and 2
  // when hot; with 2 frames 1 when disabled.
  int GetFrameIndex() const;

  // A different state repaints; the down flag becomes (state == pressed).
  void SetState(int state);
  void SetDown(bool down) { SetState(down ? StatePressed : StateNormal); }
  int GetState() const { return state_; }
  bool IsDown() const { return down_; }
  bool IsToggle() const { return toggle_; }

  // Draws the button on dc, as WM_PAINT does.
  void Paint(HDC dc);

  // The highlight colour mixed into the parent's background and the frame
  // around it.
  static constexpr COLORREF HighlightColor = 0x00FF6600;
  // A lightened copy of an indexed picture for the disabled look: every
  // colour-table component c becomes (c - 208) / 4 + 208, rows copied with
  // the system's row stride; the entry of pixel (0, 0) is transparent. Null
  // for a picture that is not indexed or when memory runs out.
  static CKestImage* MakeDisabledCopy(const CKestImage& image);
  static int DisabledComponent(int c) { return (c - 208) / 4 + 208; }

private:
  void DrawImage(HDC dc, const RECT& area, int y0, bool enabled);

  CKestImage* image_ = nullptr;
  int frameCount_ = 1;
  int state_ = StateNormal;
  bool down_ = false;
  bool tracking_ = false;
  bool toggle_ = false;
  bool beside_ = false;
};
