#include "app/board/pcb_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

#include "app/browser/db_explorer.h"
#include "app/shell/main_form.h"
#include "app/shell/startup.h"
#include "app/views/view_messages.h"
#include "blocks/engine/editor/open_editor_count.h"
#include "foundation/memory_stream.h"
#include "kestui/core/kest_command_ids.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "kestui/graphics/kest_window_dc.h"
#include "kestui/menus/kest_menu.h"
#include "kestui/menus/kest_popup_menu.h"
#include "scheme/board/pcb_painter.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"
#include "scheme/model/wire.h"

namespace {

const float kHalfGrid = CPCBView::kGrid / 2;
const int kExtentMargin = 20;
const int kFrameGap = 3;
// Holes and their keep-out squares.
const float kHoleInset = 2.54f;
const float kHoleRadius = 1.5f;
const float kKeepOutHalf = 2.5f;
// Margins around parts by pin count.
const int kManyPins = 43, kSeveralPins = 6;
const float kManyPinsMargin = 5.0f, kSeveralPinsMargin = 2.46f;
// Colours.
const COLORREF kBoardEdgeColor = RGB(153, 153, 153);
const COLORREF kBoardColor = RGB(0, 102, 0);
const COLORREF kFrameColor = RGB(204, 204, 204);
const COLORREF kConflictColor = RGB(51, 255, 255);
// Pixel values stay far inside int whatever a file holds.
const float kPixelLimit = 1.0e8f;

int ToPixel(float v) {
  if (!(v == v)) return 0;
  if (v > kPixelLimit) v = kPixelLimit;
  if (v < -kPixelLimit) v = -kPixelLimit;
  return static_cast<int>(v);  // towards zero
}

float MarginOf(const CSCHBlock* part) {
  if (part->pinCount > kManyPins) return kManyPinsMargin;
  if (part->pinCount > kSeveralPins) return kSeveralPinsMargin;
  return 0;
}

bool AddingToSelection() { return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0; }

CSCHBlock* OldestBlock(SchScheme* scheme) {
  CSCHBlock* b = scheme->blocks;
  while (b && b->next) b = b->next;
  return b;
}

}  // namespace

float SnapToBoardGrid(float v) { return std::floor(v / CPCBView::kGrid + 0.5f) * CPCBView::kGrid; }

bool IsPcbClipboardAvailable() {
  UINT format = ClipboardFormatVelkPcb();
  return format != 0 && IsClipboardFormatAvailable(format);
}

CPCBView::CPCBView(CKestContainer* container, uint32_t position, int width, int height, SchScheme* shown,
                   float boardW, float boardH)
    : scheme(shown), boardWidth(boardW), boardHeight(boardH) {
  Watch(shown);
  backColor_ = KEST_TRANSPARENT;
  SetBandStyle(PS_SOLID, kFrameColor, R2_XORPEN);
  // The window starts without scroll bars; UpdateScrollRange shows them.
  if (!CreateCanvasWindow(container, position, width, height, WS_TABSTOP, true)) return;
  UpdateScrollRange();
  CKestPopupMenu* menu = new CKestPopupMenu;
  menu->AddItem(L"Повернуть влево", kCmdRotateLeft);
  menu->AddItem(L"Повернуть право", kCmdRotateRight);
  menu->AppendSeparator();
  int info = menu->AddItem(L"Информация", ID_KEST_POPUP_PROPERTIES);
  menu->AppendSeparator();
  menu->AddItem(L"Копировать\tCtrl-C", kCmdCopy, KEST_MOD_CTRL, 'C');
  menu->AddItem(L"Вырезать\tCtrl-X", kCmdCut, KEST_MOD_CTRL, 'X');
  menu->AddItem(L"Вставить\tCtrl-V", kCmdPaste, KEST_MOD_CTRL, 'V');
  menu->AddItem(L"Удалить\tDel", ID_KEST_POPUP_DELETE, 0, VK_DELETE);
  menu->AppendSeparator();
  menu->AddItem(L"Выделить все\tCtrl+A", ID_KEST_POPUP_SELECT_ALL, KEST_MOD_CTRL, 'A');
  menu->SetDefaultItem(info, true);
  menu->SetItemBitmap(0, kCmdRotateLeft);
  menu->SetItemBitmap(1, kCmdRotateRight);
  SetMenu(menu);
}

void CPCBView::SetScheme(SchScheme* shown) {
  Watch(shown);
  scheme = shown;
  currentPart = nullptr;
  tool = kToolNormal;
  dragState = kDragIdle;
  pasteFlag = 0;
  if (window_) {
    UpdateScrollRange();
    InvalidateRect(window_, nullptr, FALSE);
  }
}

void CPCBView::OnSchemeDeleting(SchScheme* gone) {
  if (scheme == gone) SetScheme(nullptr);
}

void CPCBView::OnObjectDeleting(SchScheme*, const void* gone) {
  if (!gone || currentPart != gone) return;
  // The part being placed, moved or turned goes: the gesture ends with it.
  currentPart = nullptr;
  tool = kToolNormal;
  dragState = kDragIdle;
  pasteFlag = 0;
  rotating_ = false;
  offsetX = offsetY = 0;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CPCBView::SetPictureExporter(CPictureExporter* exporter) {
  exporter_ = exporter ? exporter : &defaultExporter_;
}

void CPCBView::NotifyModified() {
  if (MainKestForm && MainKestForm->GetHandle()) SendMessageW(MainKestForm->GetHandle(), WM_SCHEME_MODIFIED, 0, 0);
}

void CPCBView::SendSelectionChanged() {
  HWND owner = window_ ? GetOwnerFormWindow(window_) : nullptr;
  if (owner && owner != window_) SendMessageW(owner, WM_EDITOR_SELECTION_CHANGED, 1, 0);
}

// ---------------------------------------------------------------- coordinates

void CPCBView::RefreshCenter() {
  if (!window_) return;
  RECT client;
  GetClientRect(window_, &client);
  centerX = client.right / 2;
  centerY = client.bottom / 2;
}

int CPCBView::BoardToDocumentX(float x) const { return ToPixel(x * scale) + centerX; }
int CPCBView::BoardToDocumentY(float y) const { return ToPixel(y * scale) + centerY; }
int CPCBView::BoardToScreenX(float x) const { return BoardToDocumentX(x) - GetScrollX(); }
int CPCBView::BoardToScreenY(float y) const { return BoardToDocumentY(y) - GetScrollY(); }
float CPCBView::ScreenToBoardX(int x) const { return static_cast<float>(ClientToDocument(x, 0).x - centerX) / scale; }
float CPCBView::ScreenToBoardY(int y) const { return static_cast<float>(ClientToDocument(0, y).y - centerY) / scale; }

bool CPCBView::HasFootprint(const CSCHBlock* part) {
  return part && part->footprintWidth > 0 && part->footprintLength > 0;
}

void CPCBView::PartHalfExtents(const CSCHBlock* part, float* hx, float* hy) {
  float w = part->footprintWidth / 2, h = part->footprintLength / 2;
  bool turned = (part->orientation & 1) != 0;
  *hx = turned ? h : w;
  *hy = turned ? w : h;
}

RECT CPCBView::PartDocumentRect(const CSCHBlock* part) const {
  float hx = 0, hy = 0;
  PartHalfExtents(part, &hx, &hy);
  return RECT{BoardToDocumentX(part->boardX - hx), BoardToDocumentY(part->boardY - hy),
              BoardToDocumentX(part->boardX + hx), BoardToDocumentY(part->boardY + hy)};
}

RECT CPCBView::PartClientRect(const CSCHBlock* part) const { return DocumentToClient(PartDocumentRect(part)); }

CSCHBlock* CPCBView::HitTestPart(int x, int y) const {
  if (!scheme) return nullptr;
  POINT p = {x, y};
  for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
    // Parts without a footprint (grounds, meters) are not on the board.
    if (!HasFootprint(b)) continue;
    RECT r = PartClientRect(b);
    InflateRect(&r, 1, 1);
    if (PtInRect(&r, p)) return b;
  }
  return nullptr;
}

// ---------------------------------------------------------------- painting

void CPCBView::PaintBoard(PcbPainter* painter) { PaintBoardWith(painter, true); }

void CPCBView::PaintBoardWith(PcbPainter* painter, bool selection) {
  if (!painter || !painter->dc) return;
  HDC dc = painter->dc;
  {
    CKestOwnedPen edge(CreatePen(PS_SOLID, 1, kBoardEdgeColor));
    CKestOwnedBrush green(CreateSolidBrush(kBoardColor));
    CKestDcSelection select(dc);
    select.Select(edge.Get());
    select.Select(green.Get());
    painter->SetPlacement(0, 0, 0);
    float w = boardWidth / 2, h = boardHeight / 2;
    painter->DrawRectangle(-w, -h, w, h);
    select.Select(GetStockObject(WHITE_BRUSH));
    for (int sx = -1; sx <= 1; sx += 2)
      for (int sy = -1; sy <= 1; sy += 2) painter->DrawCircle(sx * (w - kHoleInset), sy * (h - kHoleInset), kHoleRadius);
  }
  SetBkMode(dc, TRANSPARENT);
  if (!scheme) return;
  CKestOwnedPen dotted(CreatePen(PS_DOT, 1, kFrameColor));
  for (CSCHBlock* b = OldestBlock(scheme); b; b = b->prev) {
    if (!HasFootprint(b)) continue;
    {
      int saved = SaveDC(dc);
      painter->SetPlacement(b->boardX, b->boardY, b->orientation & 3);
      b->PaintFootprint(painter);
      RestoreDC(dc, saved);
    }
    if (!selection || !(b->flags & kSchBoardSelected)) continue;
    // The painter's bitmap has the client's size: client rectangles fit it.
    RECT r = PartClientRect(b);
    CKestDcSelection select(dc);
    select.Select(dotted.Get());
    select.Select(GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left - kFrameGap, r.top - kFrameGap, r.right + kFrameGap, r.bottom + kFrameGap);
  }
}

void CPCBView::AddRectToRegion(HRGN region, float left, float top, float right, float bottom) {
  CKestOwnedRegion mark(CreateRectRgn(BoardToScreenX(left), BoardToScreenY(top), BoardToScreenX(right),
                                      BoardToScreenY(bottom)));
  if (mark) CombineRgn(region, region, mark.Get(), RGN_OR);
}

bool CPCBView::MarkOverlap(HRGN region, float x1, float y1, float hx1, float hy1, float x2, float y2, float hx2,
                           float hy2) {
  if (std::fabs(x1 - x2) > hx1 + hx2 || std::fabs(y1 - y2) > hy1 + hy2) return false;
  AddRectToRegion(region, std::fmax(x1 - hx1, x2 - hx2), std::fmax(y1 - hy1, y2 - hy2), std::fmin(x1 + hx1, x2 + hx2),
                  std::fmin(y1 + hy1, y2 + hy2));
  return true;
}

bool CPCBView::IsMoving(const CSCHBlock* part) const {
  if (rotating_) return part == currentPart;
  if (tool == kToolPlace) return part == currentPart;
  if (dragState == kDragMove) return (part->flags & kSchBoardSelected) != 0;
  return false;
}

bool CPCBView::CheckConflicts(HRGN region) {
  movingConflicts_ = 0;
  if (!scheme || !region) return false;
  bool marked = false;
  float bw = boardWidth / 2, bh = boardHeight / 2;
  auto note = [&](const CSCHBlock* a, const CSCHBlock* b) {
    marked = true;
    if (IsMoving(a) || (b && IsMoving(b))) movingConflicts_ = 1;
  };
  for (CSCHBlock* p = scheme->blocks; p; p = p->next) {
    float hx = 0, hy = 0;
    PartHalfExtents(p, &hx, &hy);
    if (!(hx > 0 && hy > 0)) continue;
    float m = MarginOf(p);
    hx += m;
    hy += m;
    float x = p->boardX, y = p->boardY;
    float left = x - hx, right = x + hx, top = y - hy, bottom = y + hy;
    if (left < -bw) AddRectToRegion(region, left, top, -bw, bottom), note(p, nullptr);
    if (top < -bh) AddRectToRegion(region, left, top, right, -bh), note(p, nullptr);
    if (right > bw) AddRectToRegion(region, bw, top, right, bottom), note(p, nullptr);
    if (bottom > bh) AddRectToRegion(region, left, bh, right, bottom), note(p, nullptr);
    for (int sx = -1; sx <= 1; sx += 2)
      for (int sy = -1; sy <= 1; sy += 2)
        if (MarkOverlap(region, x, y, hx, hy, sx * (bw - kHoleInset), sy * (bh - kHoleInset), kKeepOutHalf,
                        kKeepOutHalf))
          note(p, nullptr);
    for (CSCHBlock* q = p->next; q; q = q->next) {
      float qx = 0, qy = 0;
      PartHalfExtents(q, &qx, &qy);
      if (!(qx > 0 && qy > 0)) continue;
      float qm = MarginOf(q);
      if (MarkOverlap(region, x, y, hx, hy, q->boardX, q->boardY, qx + qm, qy + qm)) note(p, q);
    }
  }
  return marked;
}

void CPCBView::PaintBuffered(HDC dc) {
  if (!window_ || !dc) return;
  RefreshCenter();
  RECT client;
  GetClientRect(window_, &client);
  int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  try {
    PcbPainter painter(dc, GetScrollX(), GetScrollY(), scale, width, height);
    if (!painter.IsReady()) return;
    FillRect(painter.dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PaintBoard(&painter);
    CKestOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    conflicts = region && CheckConflicts(region.Get()) ? 1 : 0;
    if (conflicts) {
      CKestOwnedBrush brush(CreateSolidBrush(kConflictColor));
      CKestDcSelection select(painter.dc);
      select.Select(GetStockObject(NULL_PEN));
      select.Select(brush.Get());
      int oldRop = SetROP2(painter.dc, R2_XORPEN);
      SelectClipRgn(painter.dc, region.Get());
      // Without a pen a rectangle leaves its right and bottom edge out.
      Rectangle(painter.dc, 0, 0, width + 1, height + 1);
      SelectClipRgn(painter.dc, nullptr);
      SetROP2(painter.dc, oldRop);
    }
    BitBlt(dc, 0, 0, width, height, painter.dc, 0, 0, SRCCOPY);
  } catch (...) {
    // A part that fails to draw leaves the rest of the picture as it is.
  }
}

// ---------------------------------------------------------------- scrolling and zoom

RECT CPCBView::GetDocumentExtent() {
  RefreshCenter();
  float w = boardWidth / 2, h = boardHeight / 2;
  RECT extent = {BoardToDocumentX(-w), BoardToDocumentY(-h), BoardToDocumentX(w), BoardToDocumentY(h)};
  if (scheme) {
    for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
      float hx = 0, hy = 0;
      PartHalfExtents(b, &hx, &hy);
      if (!(hx > 0 || hy > 0)) continue;
      RECT r = PartDocumentRect(b);
      UnionRect(&extent, &extent, &r);
      // UnionRect skips empty rectangles: a part flat on one axis still counts.
      if (r.left < extent.left) extent.left = r.left;
      if (r.top < extent.top) extent.top = r.top;
      if (r.right > extent.right) extent.right = r.right;
      if (r.bottom > extent.bottom) extent.bottom = r.bottom;
    }
  }
  InflateRect(&extent, kExtentMargin, kExtentMargin);
  return extent;
}

void CPCBView::Zoom(bool in) {
  float next = in ? scale * kZoomStep : scale / kZoomStep;
  if (next > kMaxScale) next = kMaxScale;
  if (next < kMinScale) next = kMinScale;
  float factor = next / scale;
  scale = next;
  SetScrollOrigin(ToPixel(GetScrollX() * factor), ToPixel(GetScrollY() * factor));
  UpdateScrollRange();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CPCBView::ExportPicture(int kind) {
  int width = ToPixel(boardWidth * scale), height = ToPixel(boardHeight * scale);
  RECT picture = {0, 0, width, height};
  HDC dc = exporter_->Begin(kind, picture);
  if (!dc) return;
  {
    PcbPainter painter(nullptr, 0, 0, scale, width, height);
    HDC own = painter.dc;
    painter.dc = dc;
    // A picture shows the board, not what the user has selected on it.
    PaintBoardWith(&painter, false);
    painter.dc = own;
  }
  exporter_->End(kind, dc);
}

// ---------------------------------------------------------------- selection

void CPCBView::SelectAll(bool select) {
  if (scheme) {
    for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
      if (select && HasFootprint(b)) b->flags |= kSchBoardSelected;
      else if (!select) b->flags &= static_cast<unsigned char>(~kSchBoardSelected);
    }
  }
  SendSelectionChanged();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

int CPCBView::CountSelectedParts(bool all) const {
  if (!scheme) return 0;
  int count = 0;
  for (CSCHBlock* b = scheme->blocks; b && count < 2; b = b->next) {
    if (!(b->flags & kSchBoardSelected)) continue;
    if (!all && (b->flags & kSchAuxiliary)) continue;
    count++;
  }
  return count;
}

void CPCBView::MoveSelection(float dx, float dy) {
  if (!scheme) return;
  for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
    if (!(b->flags & kSchBoardSelected)) continue;
    b->boardX += dx;
    b->boardY += dy;
  }
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CPCBView::RotateSelection(int n) {
  if (CountSelectedParts(true) != 1 || !currentPart) return;
  currentPart->orientation = (currentPart->orientation + n) & 3;
  // The turned part counts as the one being moved for this check.
  rotating_ = true;
  PaintNow();
  rotating_ = false;
  if (!movingConflicts_) return;
  tool = kToolNormal;
  dragState = kDragMove;
  dragX = currentPart->boardX;
  dragY = currentPart->boardY;
  offsetX = offsetY = 0;
}

void CPCBView::CancelTool() {
  if (tool == kToolPlace && currentPart) {
    CSCHBlock* part = currentPart;
    currentPart = nullptr;
    delete part;
    tool = kToolNormal;
    dragState = kDragIdle;
    if (window_) InvalidateRect(window_, nullptr, FALSE);
  } else if (tool == kToolNormal && dragState == kDragMove) {
    MoveSelection(-offsetX, -offsetY);
    offsetX = offsetY = 0;
    dragState = kDragIdle;
    if (pasteFlag) {
      pasteFlag = 0;
      DeleteSelection();
    }
  }
}

void CPCBView::DeleteSelection() {
  if (BeOpenEditorCount > 0) {
    ShowMessageBox(this, MB_OK, L"Отказ", L"%ls", L"Необходимо закрыть все редакторы структурных схем.");
    return;
  }
  if (scheme) {
    for (;;) {
      CSCHBlock* b = scheme->blocks;
      while (b && !((b->flags & kSchBoardSelected) && !(b->flags & kSchAuxiliary))) b = b->next;
      if (!b) break;
      NotifyModified();
      delete b;
    }
  }
  currentPart = nullptr;
  UpdateScrollRange();
  SendSelectionChanged();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

// ---------------------------------------------------------------- clipboard

void CPCBView::CopySelection() {
  if (!scheme || CountSelectedParts(false) == 0) return;
  UINT format = ClipboardFormatVelkPcb();
  if (!format) return;
  // A part's children (its application circuit) go with it.
  for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
    if (!(b->flags & kSchBoardSelected)) continue;
    for (int i = 0; i < b->childCount; i++)
      if (b->children[i]) b->children[i]->flags |= kSchBoardSelected;
  }
  // Wires between two copied parts go with them (a chip's application
  // circuit keeps its wires); the mark is taken off again at once.
  auto markWires = [this](bool mark) {
    for (SchWire* w = scheme->wires; w; w = w->next) {
      w->flags &= static_cast<unsigned char>(~kSchBoardSelected);
      if (!mark) continue;
      CSCHBlock* a = w->GetEndBlock(0);
      CSCHBlock* b = w->GetEndBlock(1);
      if (a && b && (a->flags & kSchBoardSelected) && (b->flags & kSchBoardSelected)) w->flags |= kSchBoardSelected;
    }
  };
  CMemoryStream stream;
  markWires(true);
  scheme->Write(&stream, kSchBoardSelected);
  markWires(false);
  if (stream.size <= 0) return;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(stream.size));
  if (!block) return;
  void* bytes = GlobalLock(block);
  if (!bytes) {
    GlobalFree(block);
    return;
  }
  memcpy(bytes, stream.data, static_cast<size_t>(stream.size));
  GlobalUnlock(block);
  if (!OpenClipboard(window_)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  // The clipboard owns the block once it took it.
  if (!SetClipboardData(format, block)) GlobalFree(block);
  CloseClipboard();
}

void CPCBView::Cut() {
  if (CountSelectedParts(false) == 0) return;
  CopySelection();
  DeleteSelection();
}

void CPCBView::Paste() {
  if (!scheme || !IsPcbClipboardAvailable()) return;
  SelectAll(false);
  if (!OpenClipboard(window_)) return;
  CMemoryStream stream;
  bool copied = false;
  HGLOBAL block = GetClipboardData(ClipboardFormatVelkPcb());
  if (block) {
    SIZE_T size = GlobalSize(block);
    const void* bytes = (size > 0 && size <= 0x7FFFFFFF) ? GlobalLock(block) : nullptr;
    if (bytes) {
      copied = stream.Write(bytes, static_cast<int>(size)) == static_cast<int>(size);
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  if (!copied) return;
  stream.Seek(0, 0);
  // A stream that does not read leaves the scheme as it was: nothing to
  // move then.
  if (!scheme->Read(&stream, kSchSelected | kSchBoardSelected)) {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
    return;
  }
  for (SchWire* w = scheme->wires; w; w = w->next) w->flags &= static_cast<unsigned char>(~kSchBoardSelected);
  NotifyModified();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  CSCHBlock* first = scheme->blocks;
  while (first && !(first->flags & kSchBoardSelected)) first = first->next;
  for (CSCHBlock* b = scheme->blocks; b; b = b->next)
    if (b->flags & kSchBoardSelected) b->MakeNameUnique();
  if (!first) return;
  dragX = first->boardX;
  dragY = first->boardY;
  offsetX = offsetY = 0;
  pasteFlag = 1;
  tool = kToolNormal;
  dragState = kDragMove;
}

void CPCBView::ShowPartInfo() {
  CSCHBlock* part = currentPart;
  if (!part) return;
  if (part->model && part->tableName) {
    CKestControl* owner = nullptr;
    if (HWND form = window_ ? GetOwnerFormWindow(window_) : nullptr) owner = GetControlFromHandle(form);
    CDBExplorer* explorer = new CDBExplorer(owner, part->tableName, part->model, part->options);
    if (explorer->GetHandle()) explorer->ShowModal(false);
    delete explorer;
    return;
  }
  if (part->Edit()) NotifyModified();
}

// ---------------------------------------------------------------- mouse and keys

void CPCBView::OnMouseMove(int x, int y) {
  SetCursorIndex(KestCursorArrow);
  SetHint(nullptr);
  if (buttonDown) AutoScrollAtEdge(x, y);
  if (tool == kToolNormal && dragState == kDragIdle) {
    CSCHBlock* part = HitTestPart(x, y);
    if (!part) return;
    const wchar_t* type = part->typeText;
    const wchar_t* name = part->instanceName;
    if (!type) {
      SetHint(name);
    } else if (!name) {
      SetHint(type);
    } else {
      wchar_t text[512];
      swprintf(text, 512, L"%ls (%ls)", type, name);
      SetHint(text);
    }
    if (part->flags & kSchBoardSelected) SetCursorIndex(KestCursorMove);
  } else if (tool == kToolNormal && dragState == kDragMove) {
    SetCursorIndex(KestCursorMove);
    float gx = SnapToBoardGrid(ScreenToBoardX(x)), gy = SnapToBoardGrid(ScreenToBoardY(y));
    float dx = gx - dragX, dy = gy - dragY;
    dragX = gx;
    dragY = gy;
    if (std::fabs(dx) > kHalfGrid || std::fabs(dy) > kHalfGrid) {
      NotifyModified();
      offsetX += dx;
      offsetY += dy;
      MoveSelection(dx, dy);
    }
  } else if (tool == kToolNormal && dragState == kDragBand) {
    // The band is kept in client points.
    DrawBand(ClientToDocument(pressPoint.x, pressPoint.y), ClientToDocument(currentPoint.x, currentPoint.y));
    currentPoint = POINT{x, y};
    DrawBand(ClientToDocument(pressPoint.x, pressPoint.y), ClientToDocument(currentPoint.x, currentPoint.y));
  } else if (tool == kToolPlace && currentPart) {
    float gx = SnapToBoardGrid(ScreenToBoardX(x)), gy = SnapToBoardGrid(ScreenToBoardY(y));
    MoveSelection(gx - currentPart->boardX, gy - currentPart->boardY);
    currentPart->boardX = gx;
    currentPart->boardY = gy;
    InvalidateRect(window_, nullptr, FALSE);
  }
}

void CPCBView::OnLeftDown(int x, int y) {
  ::SetFocus(window_);
  pressPoint = currentPoint = POINT{x, y};
  buttonDown = 1;
  if (tool == kToolNormal && dragState == kDragIdle) {
    currentPart = HitTestPart(x, y);
    if (!currentPart) {
      if (!AddingToSelection()) SelectAll(false);
      dragState = kDragBand;
      SendSelectionChanged();
    } else if (!(currentPart->flags & kSchBoardSelected)) {
      if (!AddingToSelection()) SelectAll(false);
      currentPart->flags |= kSchBoardSelected;
      InvalidateRect(window_, nullptr, FALSE);
      SendSelectionChanged();
    } else {
      dragState = kDragMove;
      offsetX = offsetY = 0;
      dragX = SnapToBoardGrid(ScreenToBoardX(x));
      dragY = SnapToBoardGrid(ScreenToBoardY(y));
    }
  } else if (tool == kToolPlace && currentPart) {
    currentPart->boardX = SnapToBoardGrid(ScreenToBoardX(x));
    currentPart->boardY = SnapToBoardGrid(ScreenToBoardY(y));
    PaintNow();
    if (!movingConflicts_) {
      tool = kToolNormal;
      NotifyModified();
    } else {
      MessageBeep(0);
    }
  }
}

void CPCBView::OnLeftUp() {
  buttonDown = 0;
  if (tool != kToolNormal) return;
  if (dragState == kDragMove) {
    PaintNow();
    if (!movingConflicts_) {
      dragState = kDragIdle;
      pasteFlag = 0;
    } else {
      MessageBeep(0);
    }
  } else if (dragState == kDragBand) {
    dragState = kDragIdle;
    RECT band = {std::min(pressPoint.x, currentPoint.x), std::min(pressPoint.y, currentPoint.y),
                 std::max(pressPoint.x, currentPoint.x), std::max(pressPoint.y, currentPoint.y)};
    if (scheme) {
      for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
        if (!HasFootprint(b)) continue;
        RECT r = PartClientRect(b);
        if (band.left < r.left && band.top < r.top && r.right < band.right && r.bottom < band.bottom)
          b->flags |= kSchBoardSelected;
      }
    }
    InvalidateRect(window_, nullptr, FALSE);
    SendSelectionChanged();
  }
}

void CPCBView::EnablePopupItems() {
  CKestMenu* menu = GetMenu();
  if (!menu) return;
  bool one = CountSelectedParts(true) == 1;
  bool any = CountSelectedParts(false) != 0;
  menu->EnableItem(0, one);
  menu->EnableItem(1, one);
  menu->EnableItem(3, one);
  menu->EnableItem(5, any);
  menu->EnableItem(6, any);
  menu->EnableItem(8, any);
  menu->EnableItem(7, IsPcbClipboardAvailable());
}

bool CPCBView::OnRightDown() {
  ::SetFocus(window_);
  EnablePopupItems();
  if (tool == kToolNormal && dragState == kDragMove) {
    if (CountSelectedParts(true) == 1 && currentPart) RotateSelection(1);
    else CancelTool();
    return true;
  }
  if (tool == kToolPlace) {
    if (CSCHBlock* p0 = currentPart) {
      if (scheme) {
        for (CSCHBlock* b = scheme->blocks; b; b = b->next) {
          if (b == p0 || !(b->flags & kSchBoardSelected)) continue;
          b->orientation = (b->orientation + 1) & 3;
          float dx = b->boardX - p0->boardX, dy = b->boardY - p0->boardY;
          b->boardX = p0->boardX - dy;
          b->boardY = p0->boardY + dx;
        }
      }
      p0->orientation = (p0->orientation + 1) & 3;
      InvalidateRect(window_, nullptr, FALSE);
    }
    return true;
  }
  return false;
}

void CPCBView::OnWheel(int delta) {
  if (GetKeyState(VK_CONTROL) < 0) Zoom(delta > 0);
  else ScrollByWheel(delta);
}

LRESULT CPCBView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_LBUTTONDOWN:
      OnLeftDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_LBUTTONUP:
      OnLeftUp();
      break;
    case WM_LBUTTONDBLCLK:
      ReleaseCapture();
      ShowPartInfo();
      return 0;
    case WM_RBUTTONDOWN:
      if (OnRightDown()) {
        SuppressMenuOnRelease();
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        CancelTool();
        return 0;
      }
      if (wParam == VK_DELETE) {
        DeleteSelection();
        return 0;
      }
      break;
    default:
      break;
  }
  return CKestCanvas::WindowProc(message, wParam, lParam);
}
