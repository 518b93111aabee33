// Plain grouping containers: panels (tool bars, side panels, header strips)
// and captioned group boxes, two of which create and arrange their own check
// boxes or radio buttons in a grid.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/kest_check_box.h"
#include "kestui/kest_container.h"
#include "kestui/kest_radio.h"
#include "kestui/kest_title_control.h"

// A container with an optional 1-pixel frame. A header panel has a vertical
// gradient derived from its parent's colour; a header panel lower than 45
// pixels is a tool-bar strip whose flow children (speed buttons) start 8
// pixels in and stand side by side without gaps.
class CKestPanel : public CKestContainer {
public:
  // bevel: above 0 raised, below 0 sunken, 0 none. flat: a light 1-pixel
  // frame whatever the bevel.
  CKestPanel(CKestContainer* container, int8_t bevel, uint32_t position, int width, int height,
             bool header, bool flat);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  int8_t GetBevel() const { return bevel_; }
  bool IsFlat() const { return flat_; }
  // Draws the frame (after the background was erased) on dc.
  void DrawFrame(HDC dc);

  // Header heights below this make a tool-bar strip.
  static constexpr int ToolBarHeightLimit = 45;

private:
  int8_t bevel_;
  bool flat_;
};

// A container with an etched frame and the window text as caption; its
// children stand inside the frame, below the caption.
class CKestGroupBox : public CKestContainer {
public:
  CKestGroupBox(CKestContainer* container, const wchar_t* caption, uint32_t position, int width,
                int height);

  // The client rectangle below the caption line, 8 pixels in from the frame.
  void GetClientArea(RECT* rect) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Draws the frame and caption on dc.
  void Paint(HDC dc);

protected:
  CKestGroupBox() = default;
  bool CreateGroupWindow(CKestContainer* container, const wchar_t* caption, uint32_t position,
                         int width, int height);
  // Height of the caption font ("A" on a screen DC), at least 4.
  int CaptionHeight();
};

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

// A group of check boxes.
class CKestCheckGroupBox : public CKestItemGroupBox {
public:
  CKestCheckGroupBox(CKestContainer* container, int id, const wchar_t* caption, uint32_t position,
                     int width, int height);
  // Appends an unchecked check box (100 x 18); answers its index or -1.
  int AddItem(const wchar_t* caption);
  // False for an index outside 0 .. count - 1.
  bool IsItemChecked(int index) const;
  // Sets the check mark without WM_COMMAND; other indices are ignored.
  void SetItemChecked(int index, bool checked);
  CKestCheckBox* GetItem(int index) const;
};

// A group of radio buttons: one of them checked at a time.
class CKestRadioGroupBox : public CKestItemGroupBox {
public:
  CKestRadioGroupBox(CKestContainer* container, int id, const wchar_t* caption, uint32_t position,
                     int width, int height);
  // Appends a radio (100 x 18); answers its index or -1.
  int AddItem(const wchar_t* caption);
  // The first checked item, or -1.
  int GetItemIndex() const;
  // Clicks the item: it is checked, the others unchecked, and WM_COMMAND
  // (group id, item window) is posted to the form. Other indices are
  // ignored.
  void SetItemIndex(int index);
  CKestRadio* GetItem(int index) const;
};

// Cell of item index of count items laid out in columns over area (the
// item grid of the check and radio groups): item i stands in row i / columns
// and column i % columns; the rows (count / columns, rounded up, so a last
// partial row is placed too) share the area's height equally and the
// columns its width. False for an index outside 0 .. count - 1.
bool GetGroupItemCell(const RECT& area, int count, int columns, int index, RECT* cell);
