#include "scheme/device.h"

#include <cstring>

#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "scheme/compdb.h"

namespace {

// The program-wide list of measuring devices; emptied by its destructor at
// exit (the devices themselves belong to their schemes).
struct MeasureList {
  int count = 0;
  int capacity = 0;
  CSCHMeasureDevice** items = nullptr;
  ~MeasureList() { FreeBuffer(items); }
} g_measureDevices;

}  // namespace

void CSCHDevice::ApplyDbRecord(CompDbRecord* record) {
  if (record) {
    form = record->GetIntByName("Form");
    length = record->GetFloatByName("Length") / 1000;
    width = record->GetFloatByName("Width") / 1000;
    height = record->GetFloatByName("Height") / 1000;
    mass = record->GetFloatByName("mass");
  }
  CSCHBlock::ApplyDbRecord(record);
}

void CSCHDevice::Save(CStream* s) {
  CSCHBlock::Save(s);
  s->WriteByte(form);
  s->Write(&mass, 4);
  s->Write(&length, 4);
  s->Write(&width, 4);
  s->Write(&height, 4);
}

void CSCHDevice::Load(CStream* s) {
  CSCHBlock::Load(s);
  form = s->ReadByte();
  mass = s->ReadFloat();
  length = s->ReadFloat();
  width = s->ReadFloat();
  height = s->ReadFloat();
}

CSCHMeasureDevice::CSCHMeasureDevice() {
  MeasureList& l = g_measureDevices;
  if (l.count == l.capacity) {
    int wanted = l.capacity + 8;
    CSCHMeasureDevice** grown = static_cast<CSCHMeasureDevice**>(
        ReallocBuffer(l.items, wanted * sizeof(CSCHMeasureDevice*)));
    if (!grown) return;  // the device still works; it only goes unlisted
    l.items = grown;
    l.capacity = wanted;
  }
  l.items[l.count++] = this;
}

CSCHMeasureDevice::~CSCHMeasureDevice() {
  MeasureList& l = g_measureDevices;
  for (int i = 0; i < l.count; i++) {
    if (l.items[i] == this) {
      memmove(l.items + i, l.items + i + 1, (l.count - i - 1) * sizeof(CSCHMeasureDevice*));
      l.count--;
      break;
    }
  }
}

int CSCHMeasureDevice::GetListCount() { return g_measureDevices.count; }

CSCHMeasureDevice* CSCHMeasureDevice::GetListItem(int i) {
  if (i < 0 || i >= g_measureDevices.count) return nullptr;
  return g_measureDevices.items[i];
}
