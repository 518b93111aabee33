#include "blocks/library/interfaces/wifi_radio_list.h"

#include "blocks/library/interfaces/wifi_module.h"

namespace {
CBEWiFi* g_wifiHead = nullptr;
}  // namespace

CBEWiFi* BeWiFiRadioList::Head() { return g_wifiHead; }

void BeWiFiRadioList::Join(CBEWiFi* block) {
  if (!block || block->onList_) return;
  block->previous = nullptr;
  block->next = g_wifiHead;
  if (g_wifiHead) g_wifiHead->previous = block;
  g_wifiHead = block;
  block->onList_ = 1;
}

void BeWiFiRadioList::Leave(CBEWiFi* block) {
  if (!block || !block->onList_) return;
  if (block->previous) block->previous->next = block->next;
  if (block->next) block->next->previous = block->previous;
  if (g_wifiHead == block) g_wifiHead = block->next;
  block->next = nullptr;
  block->previous = nullptr;
  block->onList_ = 0;
}

bool BeWiFiRadioList::Contains(const CBEWiFi* block) { return block && block->onList_; }

int BeWiFiRadioList::Count() {
  int n = 0;
  for (CBEWiFi* b = g_wifiHead; b; b = b->next) ++n;
  return n;
}
