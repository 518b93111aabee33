// The hint window of the Kest framework.
#pragma once

#include <windows.h>

#include "kestui/core/kest_control.h"

// A small pale yellow tooltip window at the cursor. Created with new; the
// object deletes itself (next movement, next rest, or its 5 s timer).
class CHintWindow : public CKestControl {
public:
  explicit CHintWindow(const wchar_t* text);
  ~CHintWindow() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* GetText() const { return text_; }

  // The top-level window of the widget whose hint this is (null when it was
  // made outside the tracking): the hint goes when that window loses
  // activation (HideHintOfWindow).
  HWND shownFor = nullptr;

  static constexpr COLORREF BackColor = 0x00CCFFFF;
  static constexpr UINT_PTR CloseTimerId = 1000;
  static constexpr UINT CloseDelayMs = 5000;

private:
  wchar_t* text_ = nullptr;
};

// Where a hint of the given size goes for a cursor position, kept inside
// the virtual screen: below the cursor, or above it near the bottom edge.
POINT PlaceHintWindow(POINT cursor, int width, int height);
