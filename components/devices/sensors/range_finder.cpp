#include "components/devices/sensors/range_finder.h"

#include <cmath>
#include <new>

#include "components/devices/device_text.h"
#include "components/devices/encoder_supply.h"
#include "foundation/numbers.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_dc_selection.h"
#include "kestui/graphics/kest_gdi_object.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/parts/out_sensor.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "scheme/simulation/pin_model.h"

const wchar_t kRangeFinderBurntMessage[] = L"Дальномер \"%s\" вышел из строя!";

namespace {

// The picture the four range finders share, loaded on the first paint.
CKestImage g_rangeFinderPicture;

// The name is centred on this width, whatever the body's width.
const int kNameCentringWidth = 100;

}  // namespace

void BurnRangeFinder(CSCHBlock* finder) {
  if (!finder->burnt) {
    finder->burnt = 1;
    ReportDevice(finder, kRangeFinderBurntMessage);
  }
  DriveBurntPins(finder);
}

RangeFinderPower StepRangeFinderSupply(CSCHBlock* finder, const RangeFinderModel& model, RangeFinderSupply* supply) {
  if (finder->burnt) {
    DriveBurntPins(finder);
    return RangeFinderPower::kBurnt;
  }
  const EncoderSupply s = DriveEncoderSupply(finder, model.plusPin, model.minusPin, model.load);
  supply->Uv = s.Up;
  supply->Rv = s.Rp;
  supply->Ug = s.Ug;
  supply->Rg = s.Rg;
  supply->V = s.Us;
  supply->Vmid = RoundToFloat(static_cast<double>(s.Ug) + s.Us / 2.0);
  // A supply that is no number burns the finder as well.
  if (!(s.Us <= model.burnAbove && s.Us >= kRangeFinderReverse)) {
    BurnRangeFinder(finder);
    return RangeFinderPower::kBurnt;
  }
  return s.Us > model.worksAbove ? RangeFinderPower::kOn : RangeFinderPower::kOff;
}

bool WithinRails(const RangeFinderSupply& supply, float U) {
  return U >= supply.Ug - kRangeFinderRailMargin && U <= supply.Uv + kRangeFinderRailMargin;
}

bool ReadPullUpInput(CSCHBlock* finder, int pin, const RangeFinderSupply& supply, float* U) {
  float u = 0, r = kSchOpenResistance;
  finder->GetPinInput(pin, &u, &r);
  const float in = RoundToFloat(supply.Uv + (static_cast<double>(u) - supply.Uv) * kRangeFinderPullUp /
                                                (static_cast<double>(r) + kRangeFinderPullUp + supply.Rv));
  if (!WithinRails(supply, in)) {
    BurnRangeFinder(finder);
    return false;
  }
  *U = in;
  return true;
}

void ReleaseRangeFinderPin(CSCHBlock* finder, int pin) { finder->SetPinSource(pin, 0, kSchOpenResistance); }

float RangeFinderDistance(const CSCHOutSensor* finder, float axisDistance) {
  if (!finder->pose) return 0;
  return axisDistance > 0 ? axisDistance : 0;
}

void PaintRangeFinder(HDC dc, const CSCHBlock* finder) {
  const RECT& r = finder->rect;
  const int pictureLeft = r.right - kRangeFinderPictureWidth;
  if (LoadSchemeIcon(&g_rangeFinderPicture, L"distsensor.png")) g_rangeFinderPicture.Draw(dc, pictureLeft, r.top);
  {
    CKestOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    CKestDcSelection selection(dc);
    selection.Select(pen.Get());
    for (int i = 0; i < finder->pinCount; i++) {
      const int y = r.top + finder->pins[i].offset;
      MoveToEx(dc, r.left, y, nullptr);
      LineTo(dc, pictureLeft, y);
    }
  }
  PaintDeviceName(dc, finder, r.left + (kNameCentringWidth - DeviceNameWidth(dc, finder)) / 2, r.bottom);
}

int FindRangeFinderRequest(const SchPacketSet* set, int format, int id, unsigned char lastSequence) {
  if (!set) return -1;
  for (int i = 0; i < set->count; i++) {
    const SchPacket* p = set->packets[i];
    if (p->format == format && (id == kRangeFinderAnyId || p->id == id) && p->sequence != lastSequence) return i;
  }
  return -1;
}

int RangeFinderRequestCommand(const SchPacket* request) {
  // Read in place: the packet is shared with every set that holds it.
  return request->payload.size > 0 && request->payload.data ? request->payload.data[0] : -1;
}

bool PutRangeFinderAnswer(SchPacketSet* first, SchPacketSet* second, unsigned char id, unsigned char sequence,
                          int format, unsigned char command, uint16_t value) {
  SchPacket* p = new (std::nothrow) SchPacket;
  if (!p) return false;
  p->useCount = 1;
  p->id = id;
  p->sequence = sequence;
  p->format = format;
  const unsigned char payload[4] = {sequence, command, static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>(value >> 8)};
  bool ok = p->payload.Write(payload, 4) == 4;
  if (ok && first) ok = first->Put(p);
  if (ok && second && !second->Put(p)) {
    ok = false;
    // Both lines carry the answer or neither does.
    if (first) first->RemoveAt(first->FindId(id));
  }
  p->Release();
  return ok;
}
