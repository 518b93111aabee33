// CBEStripDetector ("Блок распознавания светоотражающей полосы"): the
// interface of a camera detector that recognises a reflective strip on the
// floor: whether it is seen, its offset and angle, and its left and right
// branches. The strip is a Shape object of the 3D scene named *STRIP*, the
// sub-name, an asterisk and any further characters; without a sub-name any
// strip counts. Start clears the outputs; the step leaves them as they are.
#pragma once

#include "blocks/engine/block.h"

class CBEStripDetector : public CBEBlock {
public:
  // 120 x 150, 100,000 cycles, 2,000 ROM bytes, its catalogue caption as
  // its own caption; input "cam" (video signal), outputs "ok", "D", "A",
  // "left", "Aleft", "right", "Aright" (bits and floats); no sub-name.
  CBEStripDetector();
  ~CBEStripDetector() override;
  static CBEBlock* Create();

  // The base Start, the run-time reference cleared, the bits 0 and the
  // floats 0.0.
  void Start() override;
  // Nothing.
  void Step(float dt) override;
  // The base record, then the sub-name as a zero-terminated UTF-16 text (an
  // absent one as the terminator alone).
  void Save(CStream* stream) override;
  // False, with the block as it was, when the base record or the text's
  // terminator is cut off. An empty text reads back as absent.
  bool Load(CStream* stream) override;
  // The grey frame and picture 197 (32 x 32) in the centre.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // The sub-name; null when absent.
  const wchar_t* GetSubName() const { return subName; }
  // A copy of text (null or empty: absent); false when memory ran out (the
  // old one then stays).
  bool SetSubName(const wchar_t* text);

  // Fields, in this order.
  wchar_t* subName = nullptr;    // owned; null when absent
  unsigned int frameHandle = 0;  // run-time: a video payload handle
};
