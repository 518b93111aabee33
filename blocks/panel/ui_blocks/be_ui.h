// CBEUI: the user-interface block of a control-panel computer's scheme. It
// owns the robot's control panel (UiPanel), keeps it inside its own record
// ahead of the block record, and opens the control-panel editor on it.
#pragma once

#include "blocks/engine/block.h"

class CVelkUIControl;
class UiPanel;

const unsigned int kUIBlockClassId = 0x55FFF710;
const COLORREF kUIBlockFill = 0xCCCCCC;

class CBEUI : public CBEBlock {
public:
  // 200 x 100, grey, a device block without pins; the panel comes with the
  // scheme the block is attached to.
  CBEUI();
  // Forgets the panel as the current one and deletes it with its items and
  // the blocks linked to them.
  ~CBEUI() override;
  static CBEBlock* Create();

  // Attaches the block; the first scheme gives it its panel, which becomes
  // the current panel.
  void AttachToScheme(BeScheme* newScheme) override;
  // The "vkUI" panel stream, then the base record.
  void Save(CStream* stream) override;
  // The panel stream (a damaged one is left where its reader stopped), then
  // the base record; answers the base record's result.
  bool Load(CStream* stream) override;
  void Draw(HDC dc) override;
  // Binds the panel's items to their blocks and opens the editor on the
  // panel. The block must not be touched after the editor returns.
  bool ShowProperties() override;

  UiPanel* panel = nullptr;  // owned

protected:
  // Opens the control-panel editor modally (tests replace it).
  virtual bool OpenEditor(UiPanel* target, CVelkUIControl* selected);
};

// The panel of the user-interface block attached most recently; null when
// that block is gone.
UiPanel* CurrentPanel();
void SetCurrentPanel(UiPanel* panel);
// The panel of the first user-interface block of scheme, or null.
UiPanel* FindSchemePanel(const BeScheme* scheme);
