// The status bar of the Kest framework: CKestStatusBar wraps
// "msctls_statusbar32" with panels whose text alignment is given by tab
// prefixes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_control.h"

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
