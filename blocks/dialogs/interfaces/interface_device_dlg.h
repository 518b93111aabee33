// CInterfaceDeviceDlg: the form of the interface devices' property dialogs.
// It holds two lists of data fields, "Передаваемые данные" (the sent fields,
// the block's inputs after its fixed ones) and "Принимаемые данные" (the
// received fields, the outputs after its fixed ones), each with a tool strip
// and a popup menu, and writes the rows back into the block on Apply. Each
// class's dialog creates the window, adds its own controls, then calls
// BuildForm; the lists take the rest of the form.
//
// Every row remembers the field it was built from (its index + 1 as item
// data; 0 for a row added in the dialog), and moving a row moves that with it:
// Apply hands each row the field's own pin, so the links follow their
// fields, and a deleted field's readers lose their links.
//
// The macro block's dialog uses the form without a block: it builds its own
// lists into the same fields (rows carrying their port blocks), and the
// window procedure runs the row commands on them.
#pragma once

#include <windows.h>

#include "kestui/forms/kest_form.h"

class CBEInterfaceDevice;
class CKestListView;
class CKestPopupMenu;
class CKestSpdBtn;

// Commands of the field lists: the sent list's, then the received list's.
const UINT kBeEditSendField = 1999;
const UINT kBeAddSendField = 2000;
const UINT kBeDeleteSendField = 2001;
const UINT kBeSendFieldUp = 2002;
const UINT kBeSendFieldDown = 2003;
const UINT kBeEditReceiveField = 2005;
const UINT kBeAddReceiveField = 2006;
const UINT kBeDeleteReceiveField = 2007;
const UINT kBeReceiveFieldUp = 2008;
const UINT kBeReceiveFieldDown = 2009;

class CInterfaceDeviceDlg : public CKestForm {
public:
  // The form of the block's dialog (null: the macro dialog's); no window yet.
  explicit CInterfaceDeviceDlg(CBEInterfaceDevice* block);

  // Adds the list part for the lists the block has, then UpdateButtons.
  // Nothing without a block or a window.
  void BuildForm();
  // Writes the rows into the block: the field counts, each row's pin (the
  // field it came from, or a new one), its type (a change clears the pin's
  // links), channel and name. False when memory ran out for the pins (the
  // list is then as it was).
  bool Apply();
  // Enables the buttons and popup items of each list by its selection.
  void UpdateButtons();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The list part of one side, built into container and kept in the
  // side's fields (the macro dialog builds its lists so too): the caption
  // label, the tool strip, the list and its popup menu. nameWidth and
  // typeWidth: the first columns' widths; with channel the third column
  // "Канал".
  CKestListView* BuildFieldList(CKestContainer* container, bool send, const wchar_t* caption, int nameWidth,
                                int typeWidth, bool channel);

  // Fields, in this order (widgets the form owns).
  CKestSpdBtn* sendDelete = nullptr;
  CKestSpdBtn* sendUp = nullptr;
  CKestSpdBtn* sendDown = nullptr;
  CKestPopupMenu* sendPopup = nullptr;
  CKestListView* sendList = nullptr;
  CKestSpdBtn* receiveDelete = nullptr;
  CKestSpdBtn* receiveUp = nullptr;
  CKestSpdBtn* receiveDown = nullptr;
  CKestListView* receiveList = nullptr;
  CKestPopupMenu* receivePopup = nullptr;
  CBEInterfaceDevice* block;

private:
  bool RunCommand(UINT command);
  void EditRow(CKestListView* list);
  void AddRow(CKestListView* list, UINT editCommand);
  void DeleteRow(CKestListView* list);
  void MoveRow(CKestListView* list, bool up);
  bool ApplyList(CKestListView* list, bool send);
};
