// A scheme host that names what components publish in a table of its own,
// as the program's payload table does: handles from 1 up, a withdrawn
// payload resolving to null. Installed while alive.
#pragma once

#include <cstdint>
#include <vector>

#include "scheme/model/scheme_host.h"

namespace sensortest {

class PayloadHost : public CSchemeHost {
public:
  PayloadHost() : scope_(this) {}
  uint32_t PublishPayload(void* payload, const void* owner) override {
    if (!payload) return 0;
    entries.push_back({payload, owner});
    return static_cast<uint32_t>(entries.size());
  }
  void WithdrawPayloads(const void* owner) override {
    for (Entry& e : entries)
      if (e.owner == owner) e.payload = nullptr;
  }
  void* Resolve(uint32_t handle) const {
    return handle >= 1 && handle <= entries.size() ? entries[handle - 1].payload : nullptr;
  }
  // Bytes 4-7 of a payload, little-endian, resolved.
  void* Resolve(const std::vector<uint8_t>& payload) const {
    if (payload.size() < 8) return nullptr;
    return Resolve(payload[4] | (payload[5] << 8) | (payload[6] << 16) | (static_cast<uint32_t>(payload[7]) << 24));
  }

  struct Entry {
    void* payload;
    const void* owner;
  };
  std::vector<Entry> entries;

private:
  CSchemeHostScope scope_;
};

}  // namespace sensortest
