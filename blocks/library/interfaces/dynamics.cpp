#include "blocks/library/interfaces/dynamics.h"

#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/interfaces/audio_value.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"

uint32_t BeCurrentSound = 0;
const wchar_t kDynamicsPicture[] = L"dynamics.jpg";

CBEDynamics::CBEDynamics() {
  flags |= kBeBlockDevice;
  rect = RECT{0, 0, 83, 80};
  SetInputCount(1);
  if (inputCount == 1) {
    inputs[0]->type = kBeSignalAudio;
    inputs[0]->description = L"Вход аудио-информации";
  }
}

CBEBlock* CBEDynamics::Create() {
  CBEDynamics* block = new (std::nothrow) CBEDynamics;
  if (block && block->inputCount != 1) {
    delete block;
    return nullptr;
  }
  return block;
}

CKestImage& CBEDynamics::Picture() {
  static CKestImage picture;
  return picture;
}

void CBEDynamics::Start() {
  lastClip = 0;
  countdown = 0;
}

void CBEDynamics::Step(float) {
  const BeOutputPin* source = inputCount > 0 ? inputs[0]->source : nullptr;
  if (source && source->type == kBeSignalAudio && IsAudioValue(source->value)) {
    if (source->value[0] != lastClip) {
      lastClip = source->value[0];
      countdown = kDynamicsAnnouncePasses;
    }
    if (countdown > 0) {
      --countdown;
      BeCurrentSound = AudioSoundHandle(source->value);
      return;
    }
  }
  BeCurrentSound = 0;
}

void CBEDynamics::Draw(HDC dc) {
  CKestImage& picture = Picture();
  if (!LoadSchemeIcon(&picture, kDynamicsPicture)) return;
  picture.Draw(dc, rect);
}
