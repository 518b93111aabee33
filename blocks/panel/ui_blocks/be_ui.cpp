#include "blocks/panel/ui_blocks/be_ui.h"

#include <new>

#include "blocks/engine/block_scheme.h"
#include "blocks/panel/editor/open_panel_editor.h"
#include "blocks/panel/ui_panel.h"
#include "foundation/stream.h"

namespace {
const int kUIBlockWidth = 200;
const int kUIBlockHeight = 100;
const wchar_t kUIBlockTitle[] = L"Интерфейс с пользователем";

UiPanel* g_currentPanel = nullptr;
}  // namespace

UiPanel* CurrentPanel() { return g_currentPanel; }
void SetCurrentPanel(UiPanel* panel) { g_currentPanel = panel; }

UiPanel* FindSchemePanel(const BeScheme* scheme) {
  if (!scheme) return nullptr;
  for (CBEBlock* block = scheme->blocks; block; block = block->next) {
    if (block->GetClassId() != kUIBlockClassId) continue;
    if (CBEUI* ui = dynamic_cast<CBEUI*>(block)) return ui->panel;
  }
  return nullptr;
}

CBEUI::CBEUI() {
  flags |= kBeBlockDevice;
  rect = RECT{0, 0, kUIBlockWidth, kUIBlockHeight};
  fillColor = kUIBlockFill;
}

CBEUI::~CBEUI() {
  if (panel && g_currentPanel == panel) g_currentPanel = nullptr;
  UiPanel* owned = panel;
  panel = nullptr;
  delete owned;
}

CBEBlock* CBEUI::Create() { return new (std::nothrow) CBEUI; }

void CBEUI::AttachToScheme(BeScheme* newScheme) {
  CBEBlock::AttachToScheme(newScheme);
  if (!newScheme) return;
  if (panel) {
    panel->scheme = newScheme;
  } else {
    panel = new (std::nothrow) UiPanel(newScheme);
  }
  if (panel) g_currentPanel = panel;
}

void CBEUI::Save(CStream* stream) {
  if (panel) {
    panel->Save(stream);
  } else {
    UiPanel empty(scheme);
    empty.Save(stream);
  }
  CBEBlock::Save(stream);
}

bool CBEUI::Load(CStream* stream) {
  if (panel) {
    panel->DeleteAll();
    panel->Load(stream);
  } else {
    UiPanel skipped(nullptr);
    skipped.Load(stream);
  }
  return CBEBlock::Load(stream);
}

void CBEUI::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, kUIBlockTitle);
}

bool CBEUI::ShowProperties() {
  if (!panel) return false;
  panel->BindBlocks();
  return OpenEditor(panel, nullptr);
}

bool CBEUI::OpenEditor(UiPanel* target, CVelkUIControl* selected) {
  return OpenPanelEditor(target, selected);
}
