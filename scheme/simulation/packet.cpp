#include "scheme/simulation/packet.h"

int SchPacket::liveCount_ = 0;

SchPacket::SchPacket() {
  payload.granularity = 64;
  ++liveCount_;
}

SchPacket::~SchPacket() { --liveCount_; }

void SchPacket::Release() {
  if (--useCount <= 0) delete this;
}
