#include "blocks/library/typed_load_undo.h"

#include "blocks/engine/block.h"
#include "blocks/library/typed_block.h"

BeTypedLoadUndo::BeTypedLoadUndo(const CBEBlock* block, BeSignalType type)
    : rect_(block->rect), inputCount_(block->inputCount), outputCount_(block->outputCount), type_(type) {}

void BeTypedLoadUndo::Restore(CBEBlock* block) const {
  block->rect = rect_;
  block->SetInputCount(inputCount_);
  if (block->outputCount != outputCount_) block->SetOutputCount(outputCount_);
  SetPinTypes(block, type_);
}
