// The output port of a macro block: a device block of the nested scheme that
// carries the value on its input out to one of the macro's outputs.
#pragma once

#include "blocks/engine/block.h"

class CBEMacro;

class CBEMacroOutput : public CBEBlock {
public:
  CBEMacroOutput();
  ~CBEMacroOutput() override;

  // Copies the value on the input to the macro's output at the index.
  void Step(float dt) override;
  // Index, the input's type (one byte), the base record.
  void Save(CStream* stream) override;
  bool Load(CStream* stream) override;
  void Draw(HDC dc) override;

  // Null when its pin could not be made.
  static CBEBlock* Create();

  int index = -1;
  CBEMacro* owner = nullptr;
};
