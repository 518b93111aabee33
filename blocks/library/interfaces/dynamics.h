// CBEDynamics ("Аудио-система"): the control panel's loudspeakers in the
// program of the control-panel computer. A new clip on its audio input
// (type 23, a new clip number) is announced for 50 passes: BeCurrentSound
// holds its sound handle, then 0 until the clip number changes.
#pragma once

#include <cstdint>

#include "blocks/engine/block.h"

class CKestImage;

// The sound handle the audio system plays now; 0 for none. Nothing in the
// program reads it: it is what a player of the panel's sound would play.
extern uint32_t BeCurrentSound;

// Passes for which a new clip is announced.
const int kDynamicsAnnouncePasses = 50;
// The block's picture, in the scheme icons folder.
extern const wchar_t kDynamicsPicture[];

class CBEDynamics : public CBEBlock {
public:
  // A device block, 83 x 80, one unnamed audio input.
  CBEDynamics();
  static CBEBlock* Create();

  // No clip announced.
  void Start() override;
  void Step(float dt) override;
  // "dynamics.jpg" stretched over the body; nothing when it is missing.
  void Draw(HDC dc) override;
  // Base record only (CBEBlock::Save and Load).

  // The program-wide picture object, loaded once from the scheme icons
  // folder by the first Draw that finds the file.
  static CKestImage& Picture();

  // Fields, in this order.
  unsigned char lastClip = 0;
  int countdown = 0;
};
