#include "kestui/widgets/grid_combo.h"

#include <cwchar>

#include "foundation/buffers.h"
#include "kestui/widgets/kest_grid.h"

namespace {
constexpr int kMaxChoiceLength = 1024;
}

CGridCombo::CGridCombo(CKestGrid* grid, bool editable, const RECT& rect)
    : CKestComboBox(grid, 0, editable, KestPos(0, 0), rect.right - rect.left,
                    rect.bottom - rect.top, 0),
      grid_(grid),
      gridWindow_(grid ? grid->GetHandle() : nullptr) {
  if (window_) {
    SetWindowPos(window_, nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

CKestGrid* CGridCombo::GetGrid() const {
  return (gridWindow_ && GetControlFromHandle(gridWindow_) == grid_) ? grid_ : nullptr;
}

void CGridCombo::EndEdit() {
  CKestGrid* grid = GetGrid();
  if (grid && grid->GetEditor() == this) grid->EndEdit();
}

void CGridCombo::AddChoices(const wchar_t* choices) {
  if (!choices) return;
  wchar_t entry[kMaxChoiceLength + 1];
  const wchar_t* start = choices;
  for (;;) {
    const wchar_t* end = wcschr(start, L'\n');
    size_t length = end ? static_cast<size_t>(end - start) : wcslen(start);
    size_t kept = length < kMaxChoiceLength ? length : kMaxChoiceLength;
    wmemcpy(entry, start, kept);
    entry[kept] = 0;
    AddItem(entry, 0);
    if (!end) break;
    start = end + 1;
  }
}

void CGridCombo::ShowText(const wchar_t* text) {
  if (!window_) return;
  if (IsEditable()) {
    SetText(text);
    return;
  }
  LRESULT found = CB_ERR;
  if (text && text[0]) {
    found = SendMessageW(window_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(text));
  }
  SetSelectedIndex(found == CB_ERR ? -1 : static_cast<int>(found));
}

bool CGridCombo::OnKey(WPARAM key) {
  switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
      EndEdit();
      return true;
    case VK_LEFT:
    case VK_RIGHT:
      if (IsEditable()) return false;
      if (GetGrid()) PostMessageW(gridWindow_, WM_KEYDOWN, key, 0);
      EndEdit();
      return true;
    default:
      return false;
  }
}

LRESULT CGridCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if ((wParam == VK_RETURN || wParam == VK_ESCAPE) && window_ &&
          SendMessageW(window_, CB_GETDROPPEDSTATE, 0, 0)) {
        // The open list takes the key first (Enter picks, Esc closes it),
        // then the edit ends with what the box shows.
        LRESULT result = CKestComboBox::WindowProc(message, wParam, lParam);
        EndEdit();
        return result;
      }
      if (OnKey(wParam)) return 0;
      break;
    case WM_KEST_KEYDOWN:
      // Posted by the inner edit after it saw the key.
      OnKey(wParam);
      return 0;
    case WM_KILLFOCUS: {
      // An editable combo hands its focus on to its own inner edit.
      HWND to = reinterpret_cast<HWND>(wParam);
      bool inside = to && (to == window_ || IsChild(window_, to));
      LRESULT result = CKestComboBox::WindowProc(message, wParam, lParam);
      if (!inside) EndEdit();
      return result;
    }
    case WM_KEST_COMMAND:
      // The focus left the combo (also from its inner edit).
      if (HIWORD(wParam) == CBN_KILLFOCUS) {
        EndEdit();
        return 1;
      }
      // Its own list work (the chosen entry into the box); the grid's form
      // is not told about its editor's notifications.
      CKestComboBox::WindowProc(message, wParam, lParam);
      return 1;
    default:
      break;
  }
  return CKestComboBox::WindowProc(message, wParam, lParam);
}
