#include "blocks/library/converters/encoder_decoder.h"

#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/base_record.h"
#include "blocks/library/typed_block.h"

const unsigned char kBeEncoderPositions[256] = {
    112, 112, 96,  97,  80,  79,  81,  98,  64,  64,  63,  76,  65,  78,  82,  77,   // 0-15
    48,  48,  48,  48,  47,  47,  60,  99,  49,  49,  62,  62,  66,  101, 61,  100,  // 16-31
    32,  32,  32,  32,  32,  32,  32,  32,  31,  31,  31,  75,  44,  44,  83,  83,   // 32-47
    33,  33,  33,  33,  46,  46,  46,  46,  50,  50,  85,  86,  45,  45,  84,  87,   // 48-63
    16,  111, 111, 110, 110, 110, 110, 5,   5,   5,   5,   5,   5,   5,   5,   5,    // 64-79
    15,  15,  15,  15,  15,  15,  59,  59,  28,  27,  27,  26,  67,  67,  67,  67,   // 80-95
    17,  124, 124, 124, 124, 123, 123, 6,   30,  30,  30,  74,  74,  122, 122, 121,  // 96-111
    34,  35,  35,  35,  69,  69,  70,  70,  29,  29,  29,  73,  68,  68,  71,  72,   // 112-127
    0,   113, 95,  114, 114, 92,  94,  93,  93,  93,  93,  115, 115, 115, 117, 116,  // 128-143
    116, 116, 116, 116, 116, 91,  91,  91,  91,  91,  91,  91,  91,  102, 102, 103,  // 144-159
    127, 126, 126, 21,  21,  21,  21,  21,  21,  21,  21,  21,  43,  42,  42,  42,   // 160-175
    12,  12,  11,  22,  22,  90,  10,  9,   51,  51,  51,  51,  51,  89,  89,  88,   // 176-191
    1,   2,   108, 109, 109, 3,   3,   4,   4,   4,   107, 107, 107, 107, 118, 119,  // 192-207
    14,  37,  37,  37,  37,  37,  58,  58,  58,  38,  106, 25,  25,  25,  105, 104,  // 208-223
    18,  125, 19,  20,  20,  20,  20,  7,   53,  53,  53,  53,  54,  41,  41,  120,  // 224-239
    13,  36,  36,  23,  23,  23,  57,  8,   52,  39,  39,  24,  55,  40,  56,  56,   // 240-255
};

CBEEncoderDecoder::CBEEncoderDecoder() {
  rect = RECT{0, 0, 80, 40};
  fillColor = RGB(255, 255, 255);
  cycles = 4;
  rom = 260;
  if (!SetInputCount(1) || !SetOutputCount(1)) return;
  inputs[0]->type = kBeSignalChar;
  outputs[0]->type = kBeSignalChar;
}

CBEBlock* CBEEncoderDecoder::Create() { return KeepIfPinsMade(new (std::nothrow) CBEEncoderDecoder, 1, 1); }

void CBEEncoderDecoder::Step(float) {
  if (inputCount < 1 || outputCount < 1) return;
  const BeOutputPin* source = inputs[0]->source;
  if (source) outputs[0]->value[0] = kBeEncoderPositions[source->value[0]];
}

void CBEEncoderDecoder::Draw(HDC dc) {
  DrawBody(dc);
  DrawCaptionCentered(dc, L"Дешифр. энкодера");
}

bool CBEEncoderDecoder::Load(CStream* stream) {
  return BaseRecordFollows(stream, inputCount, outputCount) && LoadBaseRecord(this, stream);
}
