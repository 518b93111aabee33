#include "blocks/library/converters/byte_builder.h"

#include <cwchar>
#include <new>

#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/base_record.h"
#include "blocks/library/mcu/io_port.h"
#include "blocks/library/typed_block.h"

namespace {
const int kBits = 8;
const wchar_t* const kBitNames[kBits] = {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7"};
const int kLoopCycles = 24;
const int kLoopRom = 32;
const int kPortReadCost = 2;  // cycles and bytes, for each

// The pin block of the scheme's port-block list whose only output is
// output; null when none is.
const CBEIOPort* PortPinOf(const BeScheme* scheme, const BeOutputPin* output) {
  if (!scheme) return nullptr;
  for (const CBEIOPort* p = static_cast<const CBEIOPort*>(scheme->portBlocks); p; p = p->nextPort)
    if (p->outputCount == 1 && p->outputs[0] == output) return p;
  return nullptr;
}
}  // namespace

CBEByteBuilder::CBEByteBuilder() {
  rect = RECT{0, 0, 15, 120};
  fillColor = RGB(255, 255, 255);
  cycles = kLoopCycles;
  rom = kLoopRom;
  if (!SetInputCount(kBits) || !SetOutputCount(1)) return;
  for (int i = 0; i < kBits; ++i) {
    inputs[i]->type = kBeSignalBit;
    inputs[i]->name = kBitNames[i];
  }
  outputs[0]->type = kBeSignalChar;
}

CBEBlock* CBEByteBuilder::Create() { return KeepIfPinsMade(new (std::nothrow) CBEByteBuilder, kBits, 1); }

bool CBEByteBuilder::ReadsPort(wchar_t letter) const {
  for (int j = 0; j < inputCount; ++j) {
    const BeOutputPin* source = inputs[j]->source;
    if (!source) continue;
    const CBEIOPort* pin = PortPinOf(scheme, source);
    if (!pin) return false;
    // "P%c%d" with the letter and the input's number (0 to 7).
    const wchar_t name[4] = {L'P', letter, static_cast<wchar_t>(L'0' + j), 0};
    const wchar_t* caption = pin->GetCaption();
    if (!caption || !wcsstr(caption, name)) return false;
  }
  return true;
}

void CBEByteBuilder::EstimateCosts() {
  cycles = kLoopCycles;
  rom = kLoopRom;
  for (wchar_t letter = L'A'; letter <= L'H'; ++letter) {
    if (!ReadsPort(letter)) continue;
    bool gap = false;
    for (int j = 0; j < inputCount; ++j) gap = gap || !inputs[j]->source;
    cycles = rom = gap ? 2 * kPortReadCost : kPortReadCost;
    return;
  }
}

void CBEByteBuilder::Start() {
  EstimateCosts();
  CBEBlock::Start();
}

void CBEByteBuilder::Step(float) {
  if (outputCount < 1) return;
  unsigned char byte = 0;
  for (int i = 0; i < inputCount && i < kBits; ++i) {
    const BeOutputPin* source = inputs[i]->source;
    if (source && source->value[0] != 0) byte = static_cast<unsigned char>(byte | (1u << i));
  }
  outputs[0]->value[0] = byte;
}

bool CBEByteBuilder::Load(CStream* stream) {
  return BaseRecordFollows(stream, inputCount, outputCount) && LoadBaseRecord(this, stream);
}
