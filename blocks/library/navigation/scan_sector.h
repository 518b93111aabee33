// CBEScanSector ("Построитель карты видимой области по стереозрению"): a
// stereo-vision scanner of the on-board computer. Its two camera inputs are
// not read by its step; its output (type 30) names the block's
// ScanSectorModel, whose columns a producer of scans fills before it
// changes the output's counter byte. Value bytes: 0 the frame counter,
// 1-2 the tag 0x331E, 3 zero, 4-7 the model's payload handle.
#pragma once

#include "blocks/engine/block.h"
#include "blocks/engine/payload_table.h"
#include "blocks/library/navigation/scan_sector_model.h"

const unsigned short kBeScanSectorTag = 0x331E;
// The program's bitmap resource the block draws in its body (48 x 48).
const int kBeScanSectorPicture = 186;

class CBEScanSector : public CBEBlock {
public:
  // 180 x 60; inputs "video 1", "video 2" (type 22), output "scan sector"
  // (type 30); 10,000,000 cycles, 304,114 ROM and 545,444 RAM bytes, shared
  // routine; one slice from -0.3 m to 0.6 m.
  CBEScanSector();
  // Releases the model's handle (the base does) and frees the slices.
  ~CBEScanSector() override;
  static CBEBlock* Create();

  // Counter 0, the tag and the model's handle into the output value.
  void Start() override;
  // Nothing: the columns and the counter belong to the producer of scans.
  void Step(float dt) override;
  // Base record, then float D, zMin, zMax, view angle, 16-bit slice count
  // and per slice float yMin, yMax.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record or refused memory.
  // Slices kept keep their columns; new ones see nothing.
  bool Load(CStream* stream) override;
  // A grey raised frame with the scanner's picture in the middle.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  ScanSectorModel model;
  BePayloadHandle handle = kNoPayload;  // the model's, from Start
};
