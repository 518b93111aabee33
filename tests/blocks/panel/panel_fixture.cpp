#include "panel_fixture.h"

#include "kestui/containers/kest_container.h"
#include "kestui/graphics/kest_canvas.h"
#include "support/test_support.h"

namespace paneltest {

const wchar_t kPlainKind[] = L"Проба";
const wchar_t kBlockKind[] = L"Блок";

namespace {
CVelkUIControl* NewPlain(UiPanel* panel) { return new ProbeItem(panel); }
CVelkUIControl* NewBlockItem(UiPanel* panel) { return new BlockItem(panel); }
CBEBlock* NewProbeBlock() { return new ProbeBlock; }
CBEBlock* NewForeignBlock() { return new ForeignBlock; }

class FrameWindow : public CKestContainer {
public:
  FrameWindow() {
    CreateControlWindow(0, nullptr, L"Пульт", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, KestPos(0, 0),
                        kPanelCanvasWidth, kPanelCanvasHeight, nullptr, nullptr, nullptr);
  }
  // The editor's way: the canvas asks its form to paint it.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEST_PAINT && host && host->panel && host->box &&
        reinterpret_cast<HWND>(lParam) == host->box->GetHandle()) {
      host->panel->Paint(host->box);
      return 0;
    }
    return CKestContainer::WindowProc(message, wParam, lParam);
  }
  CanvasHost* host = nullptr;
};
}  // namespace

void ProbeItem::DrawBackground(HDC dc) {
  HBRUSH brush = CreateSolidBrush(fill);
  RECT r = {x, y, x + width, y + height};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void ProbeItem::DrawFace(HDC dc) {
  HBRUSH brush = CreateSolidBrush(face);
  RECT r = {x, y, x + width, y + height};
  FrameRect(dc, &r, brush);
  RECT inner = {x + 1, y + 1, x + width - 1, y + height - 1};
  FrameRect(dc, &inner, brush);
  DeleteObject(brush);
}

void BlockItem::CreateBlock() {
  if (!panel || !panel->scheme || block) return;
  CBEBlock* made = panel->scheme->CreateBlock(kProbeBlockClassId);
  if (!made) return;
  made->SetCaption(name);
  if (auto* control = dynamic_cast<CBEUIControl*>(made)) control->item = this;
  block = made;
}

ProbeScheme::ProbeScheme() {
  catalogue.AddGroup(nullptr);
  BeCatalogueGroup* group = catalogue.AddGroup(L"Пульт");
  group->AddEntry(kProbeBlockClassId, NewProbeBlock, L"Проба", nullptr);
  group->AddEntry(kForeignBlockClassId, NewForeignBlock, L"Чужой", nullptr);
  scheme.Init(&catalogue);
}

CBEBlock* ProbeScheme::AddBlock(unsigned int classId, const wchar_t* caption) {
  CBEBlock* block = scheme.CreateBlock(classId);
  if (block) block->SetCaption(caption);
  return block;
}

void PanelTest::SetUp() {
  RegisterPanelItemKinds();
  plainRow = PanelItemKindCount();
  AddPanelItemKind(kPlainKind, 1, NewPlain);
  blockRow = PanelItemKindCount();
  AddPanelItemKind(kBlockKind, 2, NewBlockItem, kProbeBlockClassId);
}

void PanelTest::TearDown() { RegisterPanelItemKinds(); }

ProbeItem* PanelTest::AddPlain(UiPanel* panel, const wchar_t* name, int x, int y, int w, int h) {
  auto* item = static_cast<ProbeItem*>(CreatePanelItem(panel, plainRow));
  item->SetName(name);
  item->x = x;
  item->y = y;
  item->width = w;
  item->height = h;
  return item;
}

BlockItem* PanelTest::AddBlockItem(UiPanel* panel, const wchar_t* name) {
  auto* item = static_cast<BlockItem*>(CreatePanelItem(panel, blockRow));
  item->SetName(name);
  item->CreateBlock();
  return item;
}

std::vector<std::wstring> Names(const UiPanel& panel) {
  std::vector<std::wstring> names;
  for (CVelkUIControl* item = panel.items; item; item = item->next)
    names.push_back(item->name ? item->name : L"-");
  return names;
}

Dib::Dib(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
  old_ = SelectObject(dc_, bitmap_);
  HBRUSH brush = CreateSolidBrush(fill);
  RECT all = {0, 0, width, height};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

Dib::~Dib() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF Dib::At(int x, int y) const {
  GdiFlush();
  DWORD p = bits_[y * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

CanvasHost::CanvasHost() {
  auto* window = new FrameWindow;
  window->host = this;
  frame = window;
  box = new CKestCanvas(frame, 1, KestPos(0, 0), kPanelCanvasWidth, kPanelCanvasHeight);
}

CanvasHost::~CanvasHost() {
  panel = nullptr;
  if (frame->GetHandle()) DestroyWindow(frame->GetHandle());
  velktest::FlushEvents();
}

}  // namespace paneltest
