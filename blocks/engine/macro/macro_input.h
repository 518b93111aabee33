// The input port of a macro block: a device block of the nested scheme that
// brings the value of one of the macro's inputs in on its output.
#pragma once

#include "blocks/engine/block.h"

class CBEMacro;

class CBEMacroInput : public CBEBlock {
public:
  CBEMacroInput();
  ~CBEMacroInput() override;

  // Copies the value feeding the macro's input at the index to the output.
  void Step(float dt) override;
  // Index, the output's type (one byte), the base record.
  void Save(CStream* stream) override;
  bool Load(CStream* stream) override;
  void Draw(HDC dc) override;

  // Null when its pin could not be made.
  static CBEBlock* Create();

  int index = -1;
  CBEMacro* owner = nullptr;  // the macro served; null when unbound
};
