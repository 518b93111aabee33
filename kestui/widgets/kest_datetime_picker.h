// CKestCustomDateTimePicker: the shared part of the date and time pickers
// over the system "SysDateTimePick32" control. Its own notifications reach
// the widget reflected (WM_KEST_NOTIFY): on DTN_DATETIMECHANGE it keeps the
// new date and lets the notification go on to the form as WM_NOTIFY. The
// WM_NOTIFY messages of the control's own parts (its calendar and arrows)
// go straight to the system procedure.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "kestui/core/kest_control.h"

class CKestCustomDateTimePicker : public CKestControl {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The shown date and time; false when the control shows none.
  bool GetDateTime(SYSTEMTIME* time) const;
  // Shows the time (no notification); false when the control refused it.
  bool SetDateTime(const SYSTEMTIME& time);
  // The date the last DTN_DATETIMECHANGE reported, and how many came.
  const SYSTEMTIME& GetChangedDateTime() const { return changed_; }
  int GetChangeCount() const { return changes_; }

protected:
  // style: the DTS_* bits added to WS_CHILD | WS_VISIBLE | WS_TABSTOP.
  CKestCustomDateTimePicker(CKestControl* parent, int id, uint32_t position, int width, int height,
                            DWORD style);

private:
  SYSTEMTIME changed_ = {};
  int changes_ = 0;
};
