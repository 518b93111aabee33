// CKestDatePicker: a drop-down date picker in the short date form. Its
// colours are those of the drop-down calendar; its calendar font is a
// counted reference.
#pragma once

#include <windows.h>

#include "kestui/graphics/kest_font.h"
#include "kestui/widgets/kest_datetime_picker.h"

class CKestDatePicker : public CKestCustomDateTimePicker {
public:
  CKestDatePicker(CKestControl* parent, int id, uint32_t position, int width, int height);
  ~CKestDatePicker() override;

  // DTM_SETMCCOLOR with MCSC_BACKGROUND / MCSC_TEXT.
  HBRUSH SetBackColor(COLORREF color) override;
  void SetTextColor(COLORREF color) override;
  // The font of the drop-down calendar (DTM_SETMCFONT); null: the widget's.
  void SetCalendarFont(CKestFont* font);
  CKestFont* GetCalendarFont() const { return calendarFont_; }

private:
  CKestFont* calendarFont_ = nullptr;
};
