#include "blocks/panel/ui_blocks/be_ui_video.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/panel/items/velk_ui_video.h"
#include "kestui/graphics/image.h"

namespace {
// One kind of picture a producer sends as a message: the signal type it may
// come on besides video, its tag, where its counter lies and how long a
// stalled picture stays.
struct KestPictureKind {
  BeSignalType ownType;  // 22 or its own message type
  uint16_t tag;
  bool wideCounter;  // 16-bit counter in bytes 0-1, tag in 2-3; else byte 0, tag in 1-2
  int countdown;
};

const KestPictureKind kPictureKinds[kUiVideoSlotCount] = {
    {kBeSignalVideo, 0x33EE, false, kUICameraFrameCountdown},
    {kBeSignalScanSector, 0x331E, false, kUICameraFrameCountdown},
    {kBeSignalLocalMap, 0x332E, true, kUIMapCountdown},
    {kBeSignalGlobalMap, 0x332F, true, kUIMapCountdown},
};
}  // namespace

CBEUIVideo::CBEUIVideo() {
  SetSize(120, 64);
  SetInputCount(1);
  SetOutputCount(2);
  if (Input(0)) {
    Input(0)->type = kBeSignalVideo;
    Input(0)->name = L"Video";
    Input(0)->description = L"Видео-вход";
  }
  if (Output(1)) {
    Output(0)->type = kBeSignalFloat;
    Output(0)->name = L"mouseX";
    Output(0)->description = L"Нормированное изображением положение мышки по X (от -1 до 1 слева на право)";
    Output(1)->type = kBeSignalFloat;
    Output(1)->name = L"mouseY";
    Output(1)->description = L"Нормированное изображением положение мышки по Y (от -1 до 1 сверху вниз)";
  }
}

CBEBlock* CBEUIVideo::Create() { return KeepIfPinsMade(new (std::nothrow) CBEUIVideo, 1, 2); }

void CBEUIVideo::Step(float) {
  CVelkUIVideo* video = dynamic_cast<CVelkUIVideo*>(item);
  if (!video) return;
  const BeOutputPin* source = Input(0) ? Input(0)->source : nullptr;
  int matched = -1;
  int counter = 0;
  const void* reference = nullptr;
  if (source) {
    const unsigned char* v = source->value;
    // Bytes 4-7 name the producer's record in the payload table; a record
    // that has gone (a stale handle) shows no picture.
    reference = BeResolvePayload(v);
    for (int k = 0; k < kUiVideoSlotCount && reference; ++k) {
      const KestPictureKind& kind = kPictureKinds[k];
      bool typeFits = source->type == kBeSignalVideo || source->type == kind.ownType;
      uint16_t tag = 0;
      memcpy(&tag, v + (kind.wideCounter ? 2 : 1), 2);
      if (typeFits && tag == kind.tag) {
        matched = k;
        if (kind.wideCounter) {
          int16_t wide = 0;
          memcpy(&wide, v, 2);
          counter = wide;
        } else {
          counter = static_cast<signed char>(v[0]);
        }
        break;
      }
      video->pictures[k] = nullptr;
    }
  }
  if (matched < 0) {
    for (int k = 0; k < kUiVideoSlotCount; ++k) video->pictures[k] = nullptr;
  } else if (counter != lastCounter) {
    lastCounter = counter;
    countdown = kPictureKinds[matched].countdown;
    for (int k = 0; k < kUiVideoSlotCount; ++k) video->pictures[k] = nullptr;
    video->pictures[matched] = reference;
  } else if (countdown > 0) {
    --countdown;
    if (countdown == 0) video->pictures[matched] = nullptr;
  }
  if (Output(1)) {
    Output(0)->SetFloat(video->mouseX);
    Output(1)->SetFloat(video->mouseY);
  }
}

void CBEUIVideo::Draw(HDC dc) {
  static CKestImage picture;
  DrawPicture(dc, &picture, L"video.jpg");
}
