// What the tests of the microcontroller's pin blocks and peripherals share:
// a bench whose scheme holds pin blocks captioned as the microcontroller
// captions them (the pin's description), and readings of their fields.
#pragma once

#include <cstring>
#include <vector>

#include "block_kit.h"
#include "blocks/library/mcu/io_port.h"

namespace avrtest {

struct AvrBench : blocktest::Bench {
  // A pin block with that caption, id and mode (its pins built), at the
  // head of the port-block list.
  CBEIOPort* Pin(const wchar_t* caption, int id = 0, int mode = CBEIOPort::kModeInput) {
    auto* p = Create<CBEIOPort>(kBePortPinBlockClassId);
    if (!p) return nullptr;
    p->SetCaption(caption);
    p->pinId = static_cast<unsigned short>(id);
    p->SetMode(mode);
    return p;
  }
  // The pin blocks of the scheme's port-block list, from its head.
  std::vector<CBEIOPort*> PortList() const {
    std::vector<CBEIOPort*> list;
    for (CBEIOPort* p = static_cast<CBEIOPort*>(scheme.portBlocks); p; p = p->nextPort) list.push_back(p);
    return list;
  }
};

// Whether the block's top-left corner is at (x, y).
inline ::testing::AssertionResult At(const CBEBlock* block, int x, int y) {
  if (!block) return ::testing::AssertionFailure() << "no block";
  if (block->rect.left == x && block->rect.top == y) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "at (" << block->rect.left << ", " << block->rect.top << "), not (" << x
                                       << ", " << y << ")";
}

// The stored value's bytes.
inline std::vector<uint8_t> Stored(const CBEIOPort* p) {
  return std::vector<uint8_t>(p->storedValue, p->storedValue + 8);
}

}  // namespace avrtest
