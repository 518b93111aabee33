#include "blocks/engine/editor/be_view.h"

#include <windowsx.h>

#include <cstdlib>
#include <cwchar>

#include "blocks/engine/block.h"
#include "blocks/engine/block_clipboard.h"
#include "blocks/engine/block_host.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/signal_type.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/core/kest_host.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/menus/kest_menu.h"
#include "kestui/menus/kest_popup_menu.h"

namespace {

// Positions of the popup menu's items.
const int kMenuProperties = 0;
const int kMenuCopy = 2;
const int kMenuCut = 3;
const int kMenuPaste = 4;
const int kMenuDelete = 5;

const int kHintChars = 256;

int LinkSegmentHit(int segment) {
  switch (segment) {
    case 0: return CBEView::kHitLinkAtInput;
    case 4: return CBEView::kHitLinkAtOutput;
    case 1: return CBEView::kHitLinkX1;
    case 2: return CBEView::kHitLinkY;
    case 3: return CBEView::kHitLinkX2;
    default: return CBEView::kHitNothing;
  }
}

void FormatPinHint(wchar_t* buffer, const wchar_t* description, BeSignalType type) {
  const wchar_t* typeName = GetSignalTypeName(type);
  if (!typeName) typeName = L"";
  if (description && *description) {
    _snwprintf(buffer, kHintChars - 1, L"%ls (%ls)", description, typeName);
  } else {
    _snwprintf(buffer, kHintChars - 1, L"%ls", typeName);
  }
  buffer[kHintChars - 1] = 0;
}

void UnionInto(RECT* bounds, const RECT& r) {
  if (r.left < bounds->left) bounds->left = r.left;
  if (r.top < bounds->top) bounds->top = r.top;
  if (r.right > bounds->right) bounds->right = r.right;
  if (r.bottom > bounds->bottom) bounds->bottom = r.bottom;
}

}  // namespace

CBEView::CBEView(CKestContainer* container, BeScheme* scheme, uint32_t position, int width,
                 int height)
    : scheme_(scheme) {
  SetPaperColor(kBackground);
  SetBandStyle(PS_SOLID, kRubberBandColor, R2_XORPEN);
  if (!CreateCanvasWindow(container, position, width, height, WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, true)) return;
  SetBackColor(KEST_TRANSPARENT);
  CKestPopupMenu* menu = new CKestPopupMenu;
  int properties = menu->AddItem(L"Свойства", ID_KEST_POPUP_PROPERTIES);
  menu->SetDefaultItem(properties, true);
  menu->AppendSeparator();
  menu->AddItem(L"Копировать\tCtrl+C", ID_KEST_POPUP_COPY, KEST_MOD_CTRL, 'C');
  menu->AddItem(L"Вырезать\tCtrl+X", ID_KEST_POPUP_CUT, KEST_MOD_CTRL, 'X');
  menu->AddItem(L"Вставить\tCtrl+V", ID_KEST_POPUP_PASTE, KEST_MOD_CTRL, 'V');
  menu->AddItem(L"Удалить\tDel", ID_KEST_POPUP_DELETE);
  menu->AppendSeparator();
  menu->AddItem(L"Выделить все\tCtrl+A", ID_KEST_POPUP_SELECT_ALL, KEST_MOD_CTRL, 'A');
  SetMenu(menu);
  UpdateScrollRange();
}

CBEView::~CBEView() = default;

// ---------------------------------------------------------------------------
// Operations

bool CBEView::Copy() { return scheme_ && BeBlockClipboard::Copy(scheme_, window_); }

bool CBEView::Paste() {
  if (!scheme_) return false;
  HWND main = MainKestForm ? MainKestForm->GetHandle() : nullptr;
  bool pasted = BeBlockClipboard::Paste(scheme_, window_, main);
  UpdateScrollRange();
  Repaint();
  return pasted;
}

void CBEView::DeleteSelection() {
  if (hotLink_) DrawLinkOnWindow(hotLink_, false);
  hotLink_ = nullptr;
  if (scheme_) {
    CBEBlock* block = scheme_->blocks;
    while (block) {
      if (block->IsSelected() && !block->IsDevice()) {
        delete block;
        block = scheme_->blocks;  // the list changed: start again
      } else {
        block = block->next;
      }
    }
  }
  pressedHit_ = kHitNothing;
  pressedObject_ = nullptr;
  NotifyModified();
  UpdateScrollRange();
  Repaint();
}

void CBEView::SelectAll(bool select) {
  if (scheme_) {
    for (CBEBlock* block = scheme_->blocks; block; block = block->next) {
      if (select) {
        block->flags |= kBeBlockSelected;
      } else {
        block->flags &= static_cast<unsigned char>(~kBeBlockSelected);
      }
    }
  }
  Repaint();
}

void CBEView::ShowBlockProperties() {
  if (pressedHit_ != kHitBlock || !pressedObject_) return;
  CBEBlock* block = static_cast<CBEBlock*>(pressedObject_);
  // The dialog may delete blocks (a macro's inner editor, a paste): what
  // the view held of them is dropped before anything else is touched.
  bool changed = GetBlockHost()->ShowBlockProperties(block);
  pressedHit_ = kHitNothing;
  pressedObject_ = nullptr;
  hotLink_ = nullptr;
  if (changed) {
    Repaint();
    NotifyModified();
  }
}

bool CBEView::CanPaste() const { return BeBlockClipboard::CanPaste(); }

bool CBEView::HasSelection() const {
  if (!scheme_) return false;
  for (CBEBlock* block = scheme_->blocks; block; block = block->next) {
    if (block->IsSelected() && !block->IsDevice()) return true;
  }
  return false;
}

void CBEView::PaintScheme(HDC dc, bool force) {
  if (!dc || !scheme_) return;
  CKestOwnedFont font(CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH, L"Arial"));
  CKestOwnedPen hotPen(CreatePen(PS_SOLID, 1, kHotLinkColor));
  CKestDcSelection selection(dc);
  selection.Select(font.Get());
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = ::SetTextColor(dc, RGB(0, 0, 0));
  for (CBEBlock* block = scheme_->GetTail(); block; block = block->previous) block->Paint(dc, force);
  if (hotLink_) {
    CKestDcSelection pen(dc);
    pen.Select(hotPen.Get());
    hotLink_->DrawLink(dc);
  }
  ::SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

void CBEView::SetPendingClass(unsigned int classId) {
  pendingClass_ = classId;
  mode_ = kDragPlace;
}

int CBEView::HitTest(int x, int y, void** object) const {
  if (object) *object = nullptr;
  if (!scheme_) return kHitNothing;
  for (CBEBlock* block = scheme_->blocks; block; block = block->next) {
    for (int i = 0; i < block->inputCount; ++i) {
      BeInputPin* input = block->inputs[i];
      if (input->source && input->source->hardware) continue;
      POINT at = input->GetPosition();
      int hit = kHitNothing;
      if (abs(at.x - x) < kInputHitDistance && abs(at.y - y) < kInputHitDistance) {
        hit = kHitInput;
      } else {
        hit = LinkSegmentHit(input->HitTestLink(x, y));
      }
      if (hit != kHitNothing) {
        if (object) *object = input;
        return hit;
      }
    }
    for (int i = 0; i < block->outputCount; ++i) {
      BeOutputPin* output = block->outputs[i];
      if (output->hardware) continue;
      POINT at = output->GetPosition();
      if (abs(at.x - x) < kOutputHitDistance && abs(at.y - y) < kOutputHitDistance) {
        if (object) *object = output;
        return kHitOutput;
      }
    }
    const RECT& r = block->rect;
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
      if (object) *object = block;
      return kHitBlock;
    }
  }
  return kHitNothing;
}

RECT CBEView::GetSchemeBounds() const {
  RECT bounds = {0, 0, 10, 10};
  if (scheme_) {
    for (CBEBlock* block = scheme_->blocks; block; block = block->next) {
      UnionInto(&bounds, block->rect);
      for (int i = 0; i < block->inputCount; ++i) {
        RECT link;
        if (block->inputs[i]->GetLinkBounds(&link)) UnionInto(&bounds, link);
      }
    }
  }
  InflateRect(&bounds, kScrollMargin, kScrollMargin);
  return bounds;
}

int CBEView::OriginWhenFitting(int low) const { return low < -kScrollMargin ? low : 0; }

// ---------------------------------------------------------------------------
// Messages

LRESULT CBEView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN: {
      POINT at = ClientToDocument(lParam);
      OnLeftDown(at.x, at.y, wParam);
      return CKestCanvas::WindowProc(message, wParam, lParam);
    }
    case WM_MOUSEMOVE: {
      HWND window = window_;
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (!IsWindow(window)) return 0;
      return CKestCanvas::WindowProc(message, wParam, lParam);
    }
    case WM_LBUTTONUP: {
      // The button's release is the view's own: no click goes to the form.
      if (GetCapture() == window_) ReleaseCapture();
      POINT at = ClientToDocument(lParam);
      OnLeftUp(at.x, at.y, wParam);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      OnDoubleClick();
      return 0;
    case WM_RBUTTONUP:
      OnRightUp();
      return CKestCanvas::WindowProc(message, wParam, lParam);
    case WM_KEYDOWN: {
      HWND window = window_;
      OnKeyDown(wParam);
      if (!IsWindow(window)) return 0;
      return CKestCanvas::WindowProc(message, wParam, lParam);
    }
    default:
      return CKestCanvas::WindowProc(message, wParam, lParam);
  }
}

void CBEView::OnLeftDown(int x, int y, WPARAM keys) {
  SetFocus();
  pressPoint_ = POINT{x, y};
  lastPoint_ = pressPoint_;
  buttonDown_ = 1;
  pressedHit_ = HitTest(x, y, &pressedObject_);
  if (mode_ != kDragIdle) return;  // a block waits to be placed
  switch (pressedHit_) {
    case kHitNothing:
      mode_ = kDragBand;
      break;
    case kHitBlock: {
      CBEBlock* block = static_cast<CBEBlock*>(pressedObject_);
      if (block->IsSelected()) {
        mode_ = kDragMove;
      } else {
        if (!(keys & (MK_CONTROL | MK_SHIFT))) ClearSelection();
        block->flags |= kBeBlockSelected;
        Repaint();
      }
      break;
    }
    case kHitInput: {
      BeInputPin* input = static_cast<BeInputPin*>(pressedObject_);
      if (input->source) {
        CutLink(input);
      } else {
        mode_ = kDragLinkFromInput;
      }
      break;
    }
    case kHitLinkAtInput:
    case kHitLinkAtOutput:
      CutLink(static_cast<BeInputPin*>(pressedObject_));
      break;
    case kHitLinkX1:
      mode_ = kDragRouteX1;
      break;
    case kHitLinkY:
      mode_ = kDragRouteY;
      break;
    case kHitLinkX2:
      mode_ = kDragRouteX2;
      break;
    case kHitOutput:
      mode_ = kDragLinkFromOutput;
      break;
    default:
      break;
  }
}

void CBEView::CutLink(BeInputPin* input) {
  if (hotLink_ == input) hotLink_ = nullptr;
  input->source = nullptr;
  cursorIndex_ = KestCursorLinkCut;
  Repaint();
  NotifyModified();
}

void CBEView::OnMouseMove(int clientX, int clientY) {
  cursorIndex_ = KestCursorArrow;
  SetHint(nullptr);
  if (buttonDown_) AutoScrollAtEdge(clientX, clientY);
  POINT at = ClientToDocument(clientX, clientY);
  int x = at.x, y = at.y;
  BeInputPin* oldHot = hotLink_;
  hotLink_ = nullptr;
  BeInputPin* newHot = nullptr;
  switch (mode_) {
    case kDragIdle: {
      void* object = nullptr;
      int hit = HitTest(x, y, &object);
      wchar_t hint[kHintChars];
      switch (hit) {
        case kHitBlock: {
          CBEBlock* block = static_cast<CBEBlock*>(object);
          if (block->IsSelected()) cursorIndex_ = KestCursorMove;
          SetHint(block->entry ? block->entry->caption : nullptr);
          break;
        }
        case kHitInput: {
          BeInputPin* input = static_cast<BeInputPin*>(object);
          FormatPinHint(hint, input->description, input->type);
          SetHint(hint);
          cursorIndex_ = input->source ? KestCursorCutLink : KestCursorCross;
          break;
        }
        case kHitLinkAtInput:
        case kHitLinkAtOutput:
          cursorIndex_ = KestCursorCutLink;
          newHot = static_cast<BeInputPin*>(object);
          break;
        case kHitLinkX1:
        case kHitLinkX2:
          cursorIndex_ = KestCursorSplitWe;
          newHot = static_cast<BeInputPin*>(object);
          break;
        case kHitLinkY:
          cursorIndex_ = KestCursorSplitNs;
          newHot = static_cast<BeInputPin*>(object);
          break;
        case kHitOutput: {
          BeOutputPin* output = static_cast<BeOutputPin*>(object);
          FormatPinHint(hint, output->description, output->type);
          SetHint(hint);
          cursorIndex_ = KestCursorCross;
          break;
        }
        default:
          break;
      }
      break;
    }
    case kDragBand:
      DrawRubber();
      lastPoint_ = POINT{x, y};
      DrawRubber();
      break;
    case kDragPlace:
      cursorIndex_ = KestCursorCross;
      break;
    case kDragLinkFromInput:
    case kDragLinkFromOutput: {
      DrawRubber();
      lastPoint_ = POINT{x, y};
      DrawRubber();
      int wanted = mode_ == kDragLinkFromInput ? kHitOutput : kHitInput;
      if (HitTest(x, y, nullptr) == wanted) cursorIndex_ = KestCursorCross;
      break;
    }
    case kDragRouteX1:
    case kDragRouteY:
    case kDragRouteX2: {
      BeInputPin* input = static_cast<BeInputPin*>(pressedObject_);
      if (mode_ == kDragRouteX1) {
        cursorIndex_ = KestCursorSplitWe;
        input->routeX1 = x;
      } else if (mode_ == kDragRouteY) {
        cursorIndex_ = KestCursorSplitNs;
        input->routeY = y;
      } else {
        cursorIndex_ = KestCursorSplitWe;
        input->routeX2 = x;
      }
      Repaint();
      break;
    }
    case kDragMove:
      cursorIndex_ = KestCursorMove;
      MoveSelected(x - lastPoint_.x, y - lastPoint_.y);
      lastPoint_ = POINT{x, y};
      NotifyModified();
      Repaint();
      break;
    default:
      break;
  }
  if (newHot != oldHot) {
    if (oldHot) DrawLinkOnWindow(oldHot, false);
    if (newHot) DrawLinkOnWindow(newHot, true);
  }
  hotLink_ = newHot;
}

void CBEView::OnLeftUp(int x, int y, WPARAM keys) {
  buttonDown_ = 0;
  int mode = mode_;
  switch (mode) {
    case kDragBand: {
      lastPoint_ = POINT{x, y};
      RECT band = {pressPoint_.x < x ? pressPoint_.x : x, pressPoint_.y < y ? pressPoint_.y : y,
                   pressPoint_.x < x ? x : pressPoint_.x, pressPoint_.y < y ? y : pressPoint_.y};
      if (!(keys & (MK_CONTROL | MK_SHIFT))) ClearSelection();
      if (scheme_) {
        for (CBEBlock* block = scheme_->blocks; block; block = block->next) {
          const RECT& r = block->rect;
          if (band.left < r.left && band.top < r.top && r.right < band.right && r.bottom < band.bottom)
            block->flags |= kBeBlockSelected;
        }
      }
      Repaint();
      break;
    }
    case kDragPlace: {
      mode_ = kDragIdle;
      CBEBlock* block = scheme_ ? scheme_->CreateBlock(pendingClass_) : nullptr;
      if (block) {
        int width = block->Width(), height = block->Height();
        block->MoveTo(x - width / 2, y - height / 2);
        NotifyModified();
      }
      Repaint();
      NotifyToolFinished(false);
      break;
    }
    case kDragLinkFromInput:
    case kDragLinkFromOutput:
      FinishLink(x, y);
      break;
    case kDragRouteX1:
    case kDragRouteY:
    case kDragRouteX2:
      NotifyModified();
      break;
    default:
      break;
  }
  mode_ = kDragIdle;
  Repaint();
  UpdateScrollRange();
}

void CBEView::FinishLink(int x, int y) {
  void* object = nullptr;
  int hit = HitTest(x, y, &object);
  BeInputPin* input = nullptr;
  BeOutputPin* output = nullptr;
  const wchar_t* refusal = nullptr;
  if (mode_ == kDragLinkFromInput && hit == kHitOutput) {
    input = static_cast<BeInputPin*>(pressedObject_);
    output = static_cast<BeOutputPin*>(object);
    refusal = L"Типы сигналов несовместимы!";
  } else if (mode_ == kDragLinkFromOutput && hit == kHitInput) {
    input = static_cast<BeInputPin*>(object);
    output = static_cast<BeOutputPin*>(pressedObject_);
    refusal = L"Типы сигналов не совместимы!";
  }
  if (!input || !output) return;
  if (IsSignalTypeCompatible(output->type, input->type)) {
    MakeLink(output, input);
    NotifyModified();
    return;
  }
  mode_ = kDragIdle;
  Repaint();
  GetKestHost()->ShowMessage(MB_OK | MB_ICONERROR, L"Ошибка", refusal);
}

void CBEView::MakeLink(BeOutputPin* output, BeInputPin* input) {
  input->source = output;
  POINT o = output->GetPosition();
  POINT i = input->GetPosition();
  input->routeY = (o.y + i.y) / 2;
  input->routeX2 = i.x - 20;
  if (i.x - 20 < o.x) {
    input->routeX1 = o.x + output->yOffset + 40;
  } else {
    input->routeX1 = (o.x + i.x) / 2 + input->yOffset / 5;
  }
}

void CBEView::OnDoubleClick() {
  if (GetCapture() == window_) ReleaseCapture();
  HWND window = window_;
  ShowBlockProperties();
  if (IsWindow(window)) NotifyToolFinished(false);
}

void CBEView::OnRightUp() {
  CKestMenu* menu = GetMenu();
  if (!menu) return;
  bool selection = HasSelection();
  menu->EnableItem(kMenuProperties, pressedHit_ == kHitBlock);
  menu->EnableItem(kMenuCopy, selection);
  menu->EnableItem(kMenuCut, selection);
  menu->EnableItem(kMenuDelete, selection);
  menu->EnableItem(kMenuPaste, CanPaste());
}

void CBEView::OnKeyDown(WPARAM key) {
  int dx = 0, dy = 0;
  switch (key) {
    case VK_LEFT: dx = -1; break;
    case VK_RIGHT: dx = 1; break;
    case VK_UP: dy = -1; break;
    case VK_DOWN: dy = 1; break;
    case VK_DELETE: {
      DeleteSelection();
      NotifyToolFinished(true);
      return;
    }
    default:
      return;
  }
  bool any = false;
  if (scheme_) {
    for (CBEBlock* block = scheme_->blocks; block; block = block->next) any = any || block->IsSelected();
  }
  if (!any) return;
  MoveSelected(dx, dy);
  Repaint();
  NotifyModified();
}

// ---------------------------------------------------------------------------
// Helpers

void CBEView::MoveSelected(int dx, int dy) {
  if (!scheme_ || (dx == 0 && dy == 0)) return;
  for (CBEBlock* block = scheme_->blocks; block; block = block->next) {
    if (block->IsSelected()) block->MoveBy(dx, dy);
  }
}

void CBEView::ClearSelection() {
  if (!scheme_) return;
  for (CBEBlock* block = scheme_->blocks; block; block = block->next)
    block->flags &= static_cast<unsigned char>(~kBeBlockSelected);
}

void CBEView::DrawLinkOnWindow(BeInputPin* input, bool highlighted) {
  if (!input) return;
  DrawOnWindow([&](HDC dc) {
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, highlighted ? kHotLinkColor : RGB(0, 0, 0)));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    input->DrawLink(dc);
  });
}

void CBEView::DrawRubber() {
  if (mode_ == kDragBand) {
    DrawBand(pressPoint_, lastPoint_);
    return;
  }
  POINT from = {0, 0};
  if (mode_ == kDragLinkFromInput) {
    from = static_cast<BeInputPin*>(pressedObject_)->GetPosition();
  } else {
    from = static_cast<BeOutputPin*>(pressedObject_)->GetPosition();
  }
  DrawRubberLine(from, lastPoint_);
}

void CBEView::Repaint() {
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CBEView::NotifyModified() {
  HWND main = MainKestForm ? MainKestForm->GetHandle() : nullptr;
  if (main) SendMessageW(main, WM_SCHEME_MODIFIED, 0, 0);
}

void CBEView::NotifyToolFinished(bool post) {
  if (!window_) return;
  if (post) {
    HWND parent = GetParent(window_);
    if (parent) PostMessageW(parent, WM_BLOCK_TOOL_FINISHED, 0, 0);
  } else {
    HWND form = GetOwnerFormWindow(window_);
    if (form) SendMessageW(form, WM_BLOCK_TOOL_FINISHED, 0, 0);
  }
}
