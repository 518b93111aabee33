// The common part of the Kest framework's group boxes that create and
// arrange their own check boxes or radio buttons in a grid.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/buttons/kest_title_control.h"
#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_group_box.h"

// Common part of the check and radio groups: items created by AddItem,
// each carrying the group's window id (a click on any item reaches the form
// as WM_COMMAND (group id, item window)), laid out in a grid of `columns`
// columns over the client area whenever an item is added, the group is
// resized or EndUpdate releases the last hold.
class CKestItemGroupBox : public CKestGroupBox {
public:
  ~CKestItemGroupBox() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Holds the layout until the matching EndUpdate.
  void BeginUpdate() { ++hold_; }
  // Releases one hold; the last one lays the items out.
  void EndUpdate();
  int GetItemCount() const { return count_; }
  // The item widget, or null outside 0 .. count - 1.
  CKestTitleControl* GetItemControl(int index) const;
  int GetUpdateHold() const { return hold_; }

  // Columns of the item grid, at least 1 at layout; set it after
  // construction.
  int columns = 1;

protected:
  CKestItemGroupBox(CKestContainer* container, int id, const wchar_t* caption, uint32_t position,
                    int width, int height, bool moveWithRepaint);
  // Stores a new item (null: out of memory or no window) and lays out
  // unless held. Answers its index, or -1.
  int AppendItem(CKestTitleControl* item);
  void LayoutItems();

  CKestTitleControl** items_ = nullptr;
  int count_ = 0;
  int hold_ = 0;
  int id_ = 0;

private:
  bool moveWithRepaint_;
};

// Cell of item index of count items laid out in columns over area (the
// item grid of the check and radio groups): item i stands in row i / columns
// and column i % columns; the rows (count / columns, rounded up, so a last
// partial row is placed too) share the area's height equally and the
// columns its width. False for an index outside 0 .. count - 1.
bool GetGroupItemCell(const RECT& area, int count, int columns, int index, RECT* cell);
