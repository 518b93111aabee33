#include "blocks/library/mcu/line_value.h"

#include <cstring>

void PutLineSource(unsigned char* value, SchSignalSource* source, const CBEBlock* owner, BePayloadHandle* handle) {
  BePayloadTable& table = BePayloadTable::Program();
  if (table.Resolve(*handle) != source) {
    if (*handle != kNoPayload) table.Release(*handle);
    *handle = source ? table.Add(source, owner) : kNoPayload;
  }
  memset(value, 0, 4);
  BePutPayloadHandle(value, *handle);
}

SchSignalSource* LineSourceOf(const unsigned char* value) {
  return static_cast<SchSignalSource*>(BeResolvePayload(value));
}

SchPacketSet* LinePacketsOf(const unsigned char* value) {
  SchSignalSource* source = LineSourceOf(value);
  return source ? source->packets : nullptr;
}
