// The microphone: two output pins that hand the sound it picks up, as an
// audio record (source kind 23), to every net not driven harder than
// 10 kohm. It has no electrical model.
#pragma once

#include <windows.h>

#include <cstdint>

#include "blocks/library/interfaces/audio_value.h"
#include "scheme/parts/out_sensor.h"

// The eight bytes of an audio record: sequence, tag 0xEA22, a spare byte,
// the sound's handle. A net's source points at it (CBEAudioIn reads it).
// The camera's video record has the same layout with the tag 0x33EE.
struct MediaAudioRecord {
  alignas(8) BeAudioSource bytes = {};  // aligned as a signal source

  void Set(unsigned char sequence, uint32_t handle, uint16_t tag = kAudioValueMarker);
  unsigned char Sequence() const { return bytes.value[0]; }
  uint32_t Handle() const { return AudioSoundHandle(bytes.value); }
};

class CSCHMicrophone : public CSCHOutSensor {
public:
  // A net driven below this resistance keeps its own source.
  static constexpr float kWeakestDriver = 10000;

  // No sound; a 91 x 91 px symbol with two outputs on the left.
  CSCHMicrophone();

  // "mic.png" at the top-left corner, the instance name below.
  void Paint(HDC dc) override;
  void Start() override;
  void Step(float dt) override;

  // The sound the microphone picks up (a payload handle); 0 none. Nothing
  // in the scheme sets it: the simulator around it does.
  uint32_t audioSource = 0;
  const MediaAudioRecord& GetAudioRecord() const { return record_; }

private:
  MediaAudioRecord record_;
};

// Registry creator ("Mic").
CSCHBlock* CreateCSCHMicrophone();
