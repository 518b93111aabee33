// CGridCombo: the in-place combo box of a grid cell, editable (editor kind
// 1) or a drop-down list (kind 2). Enter, Esc and the loss of the focus end
// the edit; Left and Right stay in an editable combo's text, while a list
// combo posts them to the grid as WM_KEYDOWN and ends the edit. Key downs of
// an editable combo's inner edit arrive as WM_KEST_KEYDOWN.
#pragma once

#include <windows.h>

#include "kestui/lists/kest_combo_box.h"

class CKestGrid;

class CGridCombo : public CKestComboBox {
public:
  // A combo over rect (grid client coordinates); the list drops below it.
  CGridCombo(CKestGrid* grid, bool editable, const RECT& rect);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Adds the entries of choices, separated by "\n" (null: none).
  void AddChoices(const wchar_t* choices);
  // Shows a cell's text: typed into an editable combo, or the matching
  // entry of a list combo (none when no entry matches).
  void ShowText(const wchar_t* text);

  CKestGrid* GetGrid() const;

private:
  void EndEdit();
  // Handles a key down; true when it was consumed.
  bool OnKey(WPARAM key);

  CKestGrid* grid_;
  HWND gridWindow_;
};
