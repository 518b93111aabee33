#include "blocks/engine/macro/macro.h"

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "foundation/stream.h"

namespace {
const int kMacroWidth = 200;
const int kMacroMinHeight = 60;
const int kMacroPinPitch = 20;
// Bytes each pin takes in the base record.
const int kInputRecordBytes = 16;
const int kOutputRecordBytes = 5;

CBEMacroInput* AsInputPort(CBEBlock* block) {
  return block && block->GetClassId() == kBeMacroInputClassId ? static_cast<CBEMacroInput*>(block)
                                                            : nullptr;
}

CBEMacroOutput* AsOutputPort(CBEBlock* block) {
  return block && block->GetClassId() == kBeMacroOutputClassId ? static_cast<CBEMacroOutput*>(block)
                                                             : nullptr;
}
}  // namespace

CBEMacro::CBEMacro() {
  rect = RECT{0, 0, kMacroWidth, kMacroMinHeight};
  fillColor = kBeMacroFill;
  SetCaption(L"Макроблок");
}

CBEMacro::~CBEMacro() {
  delete nested;
  nested = nullptr;
}

CBEBlock* CBEMacro::Create() { return new CBEMacro; }

void CBEMacro::AttachToScheme(BeScheme* newScheme) {
  CBEBlock::AttachToScheme(newScheme);
  if (!newScheme) return;
  // The nested scheme is made on the first attachment; a later one (the
  // block moved to another scheme) hangs it under the new scheme.
  if (!nested) {
    nested = new BeScheme;
    nested->Init(newScheme->catalogue);
  }
  nested->catalogue = newScheme->catalogue;
  nested->parent = newScheme;
  nested->frequency = newScheme->frequency;
  nested->baseRom = 0;
  nested->romLimit = newScheme->romLimit;
  nested->ramLimit = newScheme->ramLimit;
}

void CBEMacro::Start() {
  if (nested) nested->Start();
}

void CBEMacro::Step(float dt) {
  if (nested) nested->Step(dt);
}

void CBEMacro::Stop() {
  if (nested) nested->Stop();
}

void CBEMacro::Save(CStream* stream) {
  stream->WriteInt32(inputCount);
  stream->WriteInt32(outputCount);
  CBEBlock::Save(stream);
  if (nested) {
    nested->Save(stream, false);
  } else {
    BeScheme empty;
    empty.Save(stream, false);
  }
}

bool CBEMacro::Load(CStream* stream) {
  int inputsWanted, outputsWanted;
  if (!ReadInt32Checked(stream, &inputsWanted) || !ReadInt32Checked(stream, &outputsWanted))
    return false;
  // Each pin takes its bytes in the base record that follows.
  int left = BytesLeft(stream);
  if (inputsWanted < 0 || outputsWanted < 0 || inputsWanted > left / kInputRecordBytes ||
      outputsWanted > left / kOutputRecordBytes)
    return false;
  if (!SetInputCount(inputsWanted) || !SetOutputCount(outputsWanted)) return false;
  if (!CBEBlock::Load(stream)) return false;
  // Spread the pins over the height just read.
  SpreadInputs();
  SpreadOutputs();
  if (!nested || nested->NestingDepth() > kBeMaxSchemeNesting) return false;
  if (!nested->Load(stream, false)) return false;
  BindPorts();
  return true;
}

void CBEMacro::BindPorts() {
  if (!nested) return;
  for (CBEBlock* block = nested->blocks; block; block = block->next) {
    if (CBEMacroInput* port = AsInputPort(block)) {
      if (port->index < 0 || port->index >= inputCount) continue;
      port->owner = this;
      inputs[port->index]->name = port->caption;
      inputs[port->index]->type = port->outputs[0]->type;
    } else if (CBEMacroOutput* port = AsOutputPort(block)) {
      if (port->index < 0 || port->index >= outputCount) continue;
      port->owner = this;
      outputs[port->index]->name = port->caption;
      outputs[port->index]->type = port->inputs[0]->type;
    }
  }
}

void CBEMacro::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, caption);
}

bool ApplyMacroProperties(CBEMacro* macro, const wchar_t* caption, const BeMacroPinRow* inputRows,
                          int inputRowCount, const BeMacroPinRow* outputRows, int outputRowCount) {
  if (!macro || !macro->nested) return false;
  if (inputRowCount < 0 || (inputRowCount > 0 && !inputRows)) inputRowCount = 0;
  if (outputRowCount < 0 || (outputRowCount > 0 && !outputRows)) outputRowCount = 0;
  BeScheme* nested = macro->nested;
  macro->SetCaption(caption);
  for (CBEBlock* block = nested->blocks; block; block = block->next) {
    if (CBEMacroInput* port = AsInputPort(block)) port->owner = nullptr;
    if (CBEMacroOutput* port = AsOutputPort(block)) port->owner = nullptr;
  }
  // The pins' names pointed at the ports' captions, which change below.
  for (int i = 0; i < macro->inputCount; ++i) macro->inputs[i]->name = nullptr;
  for (int i = 0; i < macro->outputCount; ++i) macro->outputs[i]->name = nullptr;

  int rows = inputRowCount > outputRowCount ? inputRowCount : outputRowCount;
  int height = kMacroPinPitch * rows;
  if (height < kMacroMinHeight) height = kMacroMinHeight;
  macro->rect.bottom = macro->rect.top + height;
  bool ok = macro->SetInputCount(inputRowCount) && macro->SetOutputCount(outputRowCount);
  if (!ok) return false;

  for (int i = 0; i < inputRowCount; ++i) {
    const BeMacroPinRow& row = inputRows[i];
    CBEMacroInput* port = AsInputPort(row.port);
    if (!port) port = AsInputPort(nested->CreateBlock(kBeMacroInputClassId));
    BeInputPin* pin = macro->inputs[i];
    if (!port) {
      ok = false;
      continue;
    }
    port->index = i;
    port->owner = macro;
    port->SetCaption(row.name);
    BeOutputPin* out = port->outputs[0];
    if (out->type != row.type) {
      out->Disconnect();
      out->type = row.type;
    }
    if (pin->type != row.type) {
      pin->source = nullptr;
      pin->type = row.type;
    }
    pin->name = port->caption;
  }
  for (int i = 0; i < outputRowCount; ++i) {
    const BeMacroPinRow& row = outputRows[i];
    CBEMacroOutput* port = AsOutputPort(row.port);
    if (!port) port = AsOutputPort(nested->CreateBlock(kBeMacroOutputClassId));
    BeOutputPin* pin = macro->outputs[i];
    if (!port) {
      ok = false;
      continue;
    }
    port->index = i;
    port->owner = macro;
    port->SetCaption(row.name);
    BeInputPin* in = port->inputs[0];
    if (in->type != row.type) {
      in->source = nullptr;
      in->type = row.type;
    }
    if (pin->type != row.type) {
      pin->Disconnect();
      pin->type = row.type;
    }
    pin->name = port->caption;
  }
  // Ports that no row claimed go.
  CBEBlock* block = nested->blocks;
  while (block) {
    CBEBlock* next = block->next;
    CBEMacroInput* in = AsInputPort(block);
    CBEMacroOutput* out = AsOutputPort(block);
    if ((in && !in->owner) || (out && !out->owner)) delete block;
    block = next;
  }
  return ok;
}
