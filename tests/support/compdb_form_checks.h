// Checks shared by the tests of the two model choosers (the editor's
// database browser and modelpicker): the window and its two panels, the
// heading bars and the parameter rows that scheme/database/compdb_widgets
// builds.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/buffers.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "scheme/database/compdb_widgets.h"
#include "support/form_queries.h"

namespace velktest {

// The chooser form's window: caption "Выбор модели", width x 500, a sizing
// frame, a minimize box and the system menu.
inline void ExpectChooserFrame(HWND window, int width) {
  EXPECT_EQ(L"Выбор модели", WindowText(window));
  RECT bounds;
  GetWindowRect(window, &bounds);
  EXPECT_EQ(width, bounds.right - bounds.left);
  EXPECT_EQ(500, bounds.bottom - bounds.top);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
}

// The chooser form's three children: a left panel 490 wide over the whole
// client height, a vertical splitter at x 490 and a right panel from the
// splitter to the right edge, both panels without a bevel (-1). *left and
// *right: the panels (null when the form has not three children).
inline void ExpectChooserPanels(HWND window, HWND* left, HWND* right) {
  *left = *right = nullptr;
  RECT client;
  GetClientRect(window, &client);
  std::vector<HWND> top = Children(window);
  ASSERT_EQ(3u, top.size());
  *left = top[0];
  *right = top[2];
  auto* leftPanel = dynamic_cast<CKestPanel*>(GetControlFromHandle(*left));
  auto* rightPanel = dynamic_cast<CKestPanel*>(GetControlFromHandle(*right));
  ASSERT_NE(nullptr, leftPanel);
  ASSERT_NE(nullptr, rightPanel);
  EXPECT_NE(nullptr, dynamic_cast<CKestVSplitter*>(GetControlFromHandle(top[1])));
  EXPECT_EQ(-1, leftPanel->GetBevel());
  EXPECT_EQ(-1, rightPanel->GetBevel());
  RECT l = RectIn(window, *left), s = RectIn(window, top[1]), r = RectIn(window, *right);
  EXPECT_EQ(0, l.left);
  EXPECT_EQ(490, l.right);
  EXPECT_EQ(0, l.top);
  EXPECT_EQ(client.bottom, l.bottom);
  EXPECT_EQ(490, s.left);
  EXPECT_EQ(s.right, r.left);
  EXPECT_EQ(client.right, r.right);
  EXPECT_EQ(client.bottom, r.bottom);
}

// A heading bar: a label of white bold Verdana (-14, 700) on grey
// (102, 102, 102), centred.
inline void ExpectHeadingBar(HWND header) {
  auto* label = dynamic_cast<CKestLabel*>(GetControlFromHandle(header));
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(RGB(255, 255, 255), label->GetTextColor());
  EXPECT_EQ(RGB(102, 102, 102), label->GetBackColor());
  EXPECT_EQ(0, label->GetAlignment());
  LOGFONTW font = {};
  ASSERT_TRUE(GetObjectW(label->GetFont()->GetHandle(), sizeof font, &font));
  EXPECT_STREQ(L"Verdana", font.lfFaceName);
  EXPECT_EQ(-14, font.lfHeight);
  EXPECT_EQ(700, font.lfWeight);
}

// What the value control of a parameter row shows: the edit's text or the
// combo's selected item ("" without either or a selection).
inline std::wstring ParameterValueText(const CompDbParameterRow& row) {
  if (row.edit) return WindowText(row.edit->GetHandle());
  if (!row.combo) return L"";
  int index = row.combo->GetSelectedIndex();
  if (index < 0) return L"";
  wchar_t* text = row.combo->CopyItemText(index);
  std::wstring result = text ? text : L"";
  FreeBuffer(text);
  return result;
}

// Row index of a parameter box: the label at (4, 4 + 25 * index), 276 wide,
// left-aligned; the value control at (284, same y), 200 wide; a read-only
// value is an edit 21 high on the button-face colour.
inline void ExpectParameterRowPlace(HWND box, const CompDbParameterRow& row, int index) {
  ASSERT_TRUE(row.label && (row.edit || row.combo));
  int y = 4 + 25 * index;
  RECT label = RectIn(box, row.label->GetHandle());
  EXPECT_EQ(4, label.left);
  EXPECT_EQ(y, label.top);
  EXPECT_EQ(276, label.right - label.left);
  EXPECT_EQ(-1, row.label->GetAlignment());
  HWND valueWindow = row.edit ? row.edit->GetHandle() : row.combo->GetHandle();
  RECT value = RectIn(box, valueWindow);
  EXPECT_EQ(284, value.left);
  EXPECT_EQ(y, value.top);
  EXPECT_EQ(200, value.right - value.left);
  if (row.edit) {
    EXPECT_EQ(21, value.bottom - value.top);
    EXPECT_TRUE(GetWindowLongW(valueWindow, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), row.edit->GetBackColor());
  }
}

}  // namespace velktest
