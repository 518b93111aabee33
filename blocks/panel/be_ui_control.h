// CBEUIControl: the base of the user-interface blocks bound to control
// items. Such a block is a device block of the control-panel computer's
// scheme; it carries the name of its item as its caption and reaches the
// item through a reference that binding by name restores (it is not saved).
#pragma once

#include "blocks/engine/block.h"

class CKestImage;
class CVelkUIControl;
class UiPanel;

class CBEUIControl : public CBEBlock {
public:
  CBEUIControl();
  // Clears the linked item's block reference, then leaves the scheme.
  ~CBEUIControl() override;

  // Opens the control-panel editor on the panel of the user-interface block
  // of this block's own scheme, with this block's item selected. False when
  // the scheme has no panel. The block must not be touched after the editor
  // returns: the editor may have deleted it.
  bool ShowProperties() override;

  CVelkUIControl* item = nullptr;  // not owned

protected:
  // Sets the rectangle to width x height at the block's place.
  void SetSize(int width, int height);
  // The class picture (loaded once from the scheme icons) stretched over the
  // rectangle when it can be loaded, then the caption below.
  void DrawPicture(HDC dc, CKestImage* picture, const wchar_t* fileName);
  // Opens the control-panel editor modally (tests replace it).
  virtual bool OpenEditor(UiPanel* target, CVelkUIControl* selected);
};
