#include "blocks/engine/macro/macro.h"

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"

#include <cstring>

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

void FreeName(const wchar_t** name) {
  FreeBuffer(const_cast<wchar_t*>(*name));
  *name = nullptr;
}

// A pin's own copy of a port's caption (none for none).
const wchar_t* CopyName(const wchar_t* caption) { return caption ? DupString(caption) : nullptr; }

// The scratch of ArrangePins, for lists of up to count pins.
struct PinScratch {
  explicit PinScratch(int count)
      : pins(static_cast<void**>(AllocBuffer(sizeof(void*) * (count + 1)))),
        order(static_cast<void**>(AllocBuffer(sizeof(void*) * (count + 1)))),
        taken(static_cast<unsigned char*>(AllocBuffer(count + 1))) {}
  ~PinScratch() {
    FreeBuffer(pins);
    FreeBuffer(order);
    FreeBuffer(taken);
  }
  PinScratch(const PinScratch&) = delete;
  PinScratch& operator=(const PinScratch&) = delete;
  bool Made() const { return pins && order && taken; }
  void** pins;
  void** order;
  unsigned char* taken;
};

// The macro's inputs (or outputs), already at least n, become n: pin k
// being the old pin from[k] (below old) with its links; from[k] = -1, or a
// pin an earlier entry took, gives a bare pin (bit, unconnected). Pins no
// entry names go (an output disconnected from its readers). The names were
// freed before. Needs no memory.
void ArrangePins(CBEMacro* macro, bool inputs, const int* from, int old, int n, PinScratch* scratch) {
  const int total = inputs ? macro->inputCount : macro->outputCount;
  void** pins = scratch->pins;
  void** order = scratch->order;
  unsigned char* taken = scratch->taken;
  memset(taken, 0, total + 1);
  for (int k = 0; k < total; ++k)
    pins[k] = inputs ? static_cast<void*>(macro->inputs[k]) : static_cast<void*>(macro->outputs[k]);
  for (int i = 0; i < n; ++i) {
    int k = from[i];
    if (k >= 0 && k < old && !taken[k]) {
      taken[k] = 1;
      order[i] = pins[k];
    } else {
      order[i] = nullptr;
    }
  }
  // Pins no entry keeps serve the new entries bare, then go at the end.
  int spare = 0;
  auto nextSpare = [&]() {
    while (spare < total && taken[spare]) ++spare;
    return pins[spare++];
  };
  for (int i = 0; i < n; ++i) {
    if (order[i]) continue;
    order[i] = nextSpare();
    if (inputs) {
      auto* pin = static_cast<BeInputPin*>(order[i]);
      pin->source = nullptr;
      pin->savedSource = 0;
      pin->type = kBeSignalBit;
    } else {
      auto* pin = static_cast<BeOutputPin*>(order[i]);
      pin->Disconnect();
      pin->type = kBeSignalBit;
      memset(pin->value, 0, sizeof pin->value);
    }
  }
  for (int i = n; i < total; ++i) order[i] = nextSpare();
  for (int k = 0; k < total; ++k) {
    if (inputs) macro->inputs[k] = static_cast<BeInputPin*>(order[k]);
    else macro->outputs[k] = static_cast<BeOutputPin*>(order[k]);
  }
  // Shrinking needs no memory; the same count spreads the pins.
  if (inputs) macro->SetInputCount(n);
  else macro->SetOutputCount(n);
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
  FreePinNames();
}

void CBEMacro::FreePinNames() {
  for (int i = 0; i < inputCount; ++i) FreeName(&inputs[i]->name);
  for (int i = 0; i < outputCount; ++i) FreeName(&outputs[i]->name);
}

bool CBEMacro::ShowProperties() { return ShowBlockDialog(this, kBeMacroBlockClassId); }

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
  FreePinNames();
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
      FreeName(&inputs[port->index]->name);
      inputs[port->index]->name = CopyName(port->caption);
      inputs[port->index]->type = port->outputs[0]->type;
    } else if (CBEMacroOutput* port = AsOutputPort(block)) {
      if (port->index < 0 || port->index >= outputCount) continue;
      port->owner = this;
      FreeName(&outputs[port->index]->name);
      outputs[port->index]->name = CopyName(port->caption);
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
  // Each row keeps the macro pin its port served (and so the pin's outer
  // links); the pins of rows new or unbound start bare.
  int* inputFrom = static_cast<int*>(AllocBuffer(sizeof(int) * (inputRowCount + 1)));
  int* outputFrom = static_cast<int*>(AllocBuffer(sizeof(int) * (outputRowCount + 1)));
  if (!inputFrom || !outputFrom) {
    FreeBuffer(inputFrom);
    FreeBuffer(outputFrom);
    return false;
  }
  for (int i = 0; i < inputRowCount; ++i) {
    CBEMacroInput* port = AsInputPort(inputRows[i].port);
    inputFrom[i] = port && port->owner == macro ? port->index : -1;
  }
  for (int i = 0; i < outputRowCount; ++i) {
    CBEMacroOutput* port = AsOutputPort(outputRows[i].port);
    outputFrom[i] = port && port->owner == macro ? port->index : -1;
  }
  int rows = inputRowCount > outputRowCount ? inputRowCount : outputRowCount;
  int height = kMacroPinPitch * rows;
  if (height < kMacroMinHeight) height = kMacroMinHeight;
  const int oldInputs = macro->inputCount, oldOutputs = macro->outputCount;
  const int inputTotal = inputRowCount > oldInputs ? inputRowCount : oldInputs;
  const int outputTotal = outputRowCount > oldOutputs ? outputRowCount : oldOutputs;
  // Growing the pins and the scratch are all that needs memory: both come
  // first, so a refusal leaves the macro as it was.
  PinScratch scratch(inputTotal > outputTotal ? inputTotal : outputTotal);
  bool ok = scratch.Made() && macro->SetInputCount(inputTotal) && macro->SetOutputCount(outputTotal);
  if (!ok) {
    FreeBuffer(inputFrom);
    FreeBuffer(outputFrom);
    macro->SetInputCount(oldInputs);
    macro->SetOutputCount(oldOutputs);
    return false;
  }
  macro->rect.bottom = macro->rect.top + height;
  // The pins' names are copies of the ports' captions, made again below.
  macro->FreePinNames();
  ArrangePins(macro, true, inputFrom, oldInputs, inputRowCount, &scratch);
  ArrangePins(macro, false, outputFrom, oldOutputs, outputRowCount, &scratch);
  FreeBuffer(inputFrom);
  FreeBuffer(outputFrom);
  macro->SetCaption(caption);
  for (CBEBlock* block = nested->blocks; block; block = block->next) {
    if (CBEMacroInput* port = AsInputPort(block)) port->owner = nullptr;
    if (CBEMacroOutput* port = AsOutputPort(block)) port->owner = nullptr;
  }

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
    if (row.name && !port->caption) ok = false;
    BeOutputPin* out = port->outputs[0];
    if (out->type != row.type) {
      out->Disconnect();
      out->type = row.type;
    }
    if (pin->type != row.type) {
      pin->source = nullptr;
      pin->type = row.type;
    }
    pin->name = CopyName(port->caption);
    if (port->caption && !pin->name) ok = false;
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
    if (row.name && !port->caption) ok = false;
    BeInputPin* in = port->inputs[0];
    if (in->type != row.type) {
      in->source = nullptr;
      in->type = row.type;
    }
    if (pin->type != row.type) {
      pin->Disconnect();
      pin->type = row.type;
    }
    pin->name = CopyName(port->caption);
    if (port->caption && !pin->name) ok = false;
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
