#include "scheme/parts/device.h"

#include <cstring>

#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "scheme/database/compdb_record.h"

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
