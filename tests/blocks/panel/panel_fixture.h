// Shared pieces of the control-panel tests: two item kinds of our own (one
// plain, one bound to a user-interface block), a block scheme whose catalogue
// makes those blocks and a foreign device block, a recorder for message
// boxes, a 32-bit DIB to paint into, and a fixture that puts the kind
// registry back as start-up leaves it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/panel/be_ui_control.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/velk_ui_control.h"
#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"

class CKestContainer;
class CKestCanvas;

namespace paneltest {

const unsigned int kProbeBlockClassId = 0x7E57FF00;
const unsigned int kForeignBlockClassId = 0x7E57FF01;
// Kind names of the test kinds ("Проба", "Блок").
extern const wchar_t kPlainKind[];
extern const wchar_t kBlockKind[];

// An item that fills its rectangle with its colour as background and draws
// a 2-pixel frame of its face colour as face.
class ProbeItem : public CVelkUIControl {
public:
  explicit ProbeItem(UiPanel* panel) : CVelkUIControl(panel) {}
  void DrawBackground(HDC dc) override;
  void DrawFace(HDC dc) override;
  COLORREF fill = RGB(255, 0, 0);
  COLORREF face = RGB(0, 0, 255);
};

// The same with a user-interface block of kProbeBlockClassId.
class BlockItem : public ProbeItem {
public:
  explicit BlockItem(UiPanel* panel) : ProbeItem(panel) {}
  void CreateBlock() override;
};

class ProbeBlock : public CBEUIControl {};
class ForeignBlock : public CBEBlock {
public:
  ForeignBlock() { flags |= kBeBlockDevice; }
};

// A scheme with a catalogue of the probe and foreign blocks.
class ProbeScheme {
public:
  ProbeScheme();
  CBEBlock* AddBlock(unsigned int classId, const wchar_t* caption);
  BeCatalogue catalogue;
  BeScheme scheme;
};

// Records the message boxes of the lower layers and answers IDOK.
class RecordingHost : public CKestHost {
public:
  int ShowMessage(UINT flags, const wchar_t* caption, const wchar_t* text) override {
    this->flags.push_back(flags);
    captions.push_back(caption ? caption : L"");
    texts.push_back(text ? text : L"");
    return IDOK;
  }
  std::vector<UINT> flags;
  std::vector<std::wstring> captions;
  std::vector<std::wstring> texts;
};

// Registers the start-up kinds and the two test kinds; puts the start-up
// kinds back when the test ends.
class PanelTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  ProbeItem* AddPlain(UiPanel* panel, const wchar_t* name, int x, int y, int w, int h);
  BlockItem* AddBlockItem(UiPanel* panel, const wchar_t* name);

  RecordingHost host;
  CKestHostScope hostScope{&host};
  ProbeScheme probe;
  int plainRow = -1;
  int blockRow = -1;
};

// The item names of a panel from head to end ("-" for none).
std::vector<std::wstring> Names(const UiPanel& panel);

// A top-down 32-bit DIB with a memory DC.
class Dib {
public:
  Dib(int width, int height, COLORREF fill);
  ~Dib();
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const;

private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  DWORD* bits_ = nullptr;
};

// A canvas window for the panel: a canvas in a top-level container.
class CanvasHost {
public:
  CanvasHost();
  ~CanvasHost();
  CanvasHost(const CanvasHost&) = delete;
  CanvasHost& operator=(const CanvasHost&) = delete;
  CKestCanvas* box = nullptr;
  CKestContainer* frame = nullptr;
  // Painted on the canvas's paint requests when set.
  UiPanel* panel = nullptr;
};

}  // namespace paneltest
