#include "units/media/microphone.h"

#include <new>

#include "components/devices/device_text.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"

namespace {

// The class picture, loaded by the first Paint.
CKestImage g_microphonePicture;

}  // namespace

void MediaAudioRecord::Set(unsigned char sequence, uint32_t handle, uint16_t tag) {
  bytes.value[0] = sequence;
  bytes.value[1] = static_cast<unsigned char>(tag & 0xFF);
  bytes.value[2] = static_cast<unsigned char>(tag >> 8);
  for (int i = 0; i < 4; i++) bytes.value[4 + i] = static_cast<unsigned char>(handle >> (8 * i));
}

CSCHMicrophone::CSCHMicrophone() {
  rect = RECT{0, 0, 91, 91};
  if (SetPinCount(2) && pinCount == 2) {
    const wchar_t* descriptions[2] = {L"Выход 1", L"Выход 2"};
    const int offsets[2] = {70, 87};
    for (int i = 0; i < 2; i++) {
      pins[i].name = nullptr;
      pins[i].description = descriptions[i];
      pins[i].side = kSchSideLeft;
      pins[i].offset = offsets[i];
    }
  }
}

void CSCHMicrophone::Paint(HDC dc) {
  if (LoadSchemeIcon(&g_microphonePicture, L"mic.png")) g_microphonePicture.Draw(dc, rect.left, rect.top);
  PaintDeviceName(dc, this, (rect.left + rect.right - DeviceNameWidth(dc, this)) / 2, rect.bottom);
}

void CSCHMicrophone::Start() {
  record_.Set(0, audioSource);
  CSCHOutSensor::Start();
}

void CSCHMicrophone::Step(float) {
  if (audioSource == 0) return;
  record_.Set(static_cast<unsigned char>(record_.Sequence() + 1), audioSource);
  for (int i = 0; i < pinCount && i < 2; i++) {
    float U = 0, R = kSchOpenResistance;
    GetPinInput(i, &U, &R);
    SchNet* net = pins[i].net;
    if (R > kWeakestDriver && net) {
      net->sourceKind = kSourceAudio;
      // Readers take the record's eight bytes through the source pointer.
      net->source = reinterpret_cast<SchSignalSource*>(&record_.bytes);
    }
  }
}

CSCHBlock* CreateCSCHMicrophone() { return new (std::nothrow) CSCHMicrophone; }
