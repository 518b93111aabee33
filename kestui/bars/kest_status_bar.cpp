#include "kestui/bars/kest_status_bar.h"

#include <commctrl.h>

#include <cwchar>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"

CKestStatusBar::CKestStatusBar(CKestControl* form, bool sizeGrip, int height) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  DWORD style = WS_CHILD | WS_VISIBLE | (sizeGrip ? SBARS_SIZEGRIP : CCS_TOP);
  CreateControlWindow(0, STATUSCLASSNAMEW, L"", style, KEST_POS_BOTTOM, 2000, height, form, nullptr,
                      nullptr);
}

CKestStatusBar::~CKestStatusBar() {
  FreeBuffer(edges_);
  FreeBuffer(alignments_);
  edges_ = nullptr;
  alignments_ = nullptr;
}

int CKestStatusBar::AddPanel(int width, int8_t alignment, const wchar_t* text) {
  int pos = count_;
  if (!ResizeSteppedArray(&edges_, pos, pos + 1)) return -1;
  if (!ResizeSteppedArray(&alignments_, pos, pos + 1)) return -1;
  count_ = pos + 1;
  edges_[pos] = -1;
  if (window_) {
    SendMessageW(window_, SB_SETPARTS, static_cast<WPARAM>(count_), reinterpret_cast<LPARAM>(edges_));
  }
  edges_[pos] = pos == 0 ? width : width + edges_[pos - 1];
  alignments_[pos] = alignment;
  SetPanelText(pos, text);
  return pos;
}

void CKestStatusBar::SetPanelText(int index, const wchar_t* text) {
  if (index < 0 || index >= count_ || !window_) return;
  int8_t alignment = alignments_[index];
  if (alignment < 0) {
    SendMessageW(window_, SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return;
  }
  const wchar_t* prefix = alignment == 0 ? L"\t" : L"\t\t";
  size_t prefixLength = wcslen(prefix);
  size_t length = text ? wcslen(text) : 0;
  wchar_t* shown = AllocWideString(prefixLength + length);
  if (!shown) return;
  wmemcpy(shown, prefix, prefixLength);
  if (length) wmemcpy(shown + prefixLength, text, length);
  shown[prefixLength + length] = 0;
  SendMessageW(window_, SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shown));
  FreeBuffer(shown);
}
