// The audio signal (type 23, "Аудио"): what a microphone hands its signal
// net and what the audio blocks read. Its eight bytes: byte 0 the clip
// number, bytes 1-2 the marker 0xEA22 (little-endian), byte 3 nothing, bytes
// 4-7 the sound's payload handle.
#pragma once

#include <cstdint>

// The net source kind of a microphone's signal.
const int kSourceAudio = 23;
const uint16_t kAudioValueMarker = 0xEA22;

// What a microphone points its signal net's source at: the audio value of
// its current clip.
struct BeAudioSource {
  unsigned char value[8];
};

// Whether the eight bytes carry the marker.
inline bool IsAudioValue(const unsigned char* value) {
  return value[1] == (kAudioValueMarker & 0xFF) && value[2] == (kAudioValueMarker >> 8);
}
// The sound handle of bytes 4-7.
inline uint32_t AudioSoundHandle(const unsigned char* value) {
  return static_cast<uint32_t>(value[4]) | (static_cast<uint32_t>(value[5]) << 8) |
         (static_cast<uint32_t>(value[6]) << 16) | (static_cast<uint32_t>(value[7]) << 24);
}
