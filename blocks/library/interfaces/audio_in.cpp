#include "blocks/library/interfaces/audio_in.h"

#include <cstring>
#include <new>

#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/device_owner.h"
#include "blocks/library/interfaces/audio_value.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/base_record.h"
#include "blocks/library/record_scan.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/simulation/pin_state.h"

CBEAudioIn::CBEAudioIn() {
  flags |= kBeBlockDevice;
  fillColor = kHardwareFill;
  rect = RECT{0, 0, 150, 30};
  SetOutputCount(1);
  if (outputCount == 1) {
    outputs[0]->name = L"Audio";
    outputs[0]->description = L"Оцифрованный звук с микрофона";
    outputs[0]->type = kBeSignalAudio;
  }
}

CBEBlock* CBEAudioIn::Create() {
  CBEAudioIn* block = new (std::nothrow) CBEAudioIn;
  if (block && block->outputCount != 1) {
    delete block;
    return nullptr;
  }
  return block;
}

void CBEAudioIn::Step(float) {
  if (outputCount < 1) return;
  unsigned char* value = outputs[0]->value;
  CSCHBlock* owner = GetOwnerComponent(this);
  SchPinState S = {};
  if (owner) owner->GetPinState(pinIndex + 1, &S);
  if (S.source && S.sourceKind == kSourceAudio) {
    memcpy(value, reinterpret_cast<const BeAudioSource*>(S.source)->value, 8);
  } else {
    // No microphone: no sound.
    memset(value + 4, 0, 4);
  }
}

void CBEAudioIn::Save(CStream* stream) {
  stream->WriteByte(pinIndex & 0xFF);
  stream->WriteByte(0);
  CBEBlock::Save(stream);
}

bool CBEAudioIn::Load(CStream* stream) {
  unsigned char pin, zero;
  if (!ReadByteChecked(stream, &pin) || !ReadByteChecked(stream, &zero) ||
      !BaseRecordFollows(stream, inputCount, outputCount))
    return false;
  pinIndex = pin;
  return CBEBlock::Load(stream);
}
