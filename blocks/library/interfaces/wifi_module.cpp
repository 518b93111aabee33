#include "blocks/library/interfaces/wifi_module.h"

#include <cmath>
#include <cwchar>
#include <new>

#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/record_io.h"
#include "blocks/library/device_owner.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/interfaces/wifi_radio_list.h"
#include "components/electronic/radio/antenna.h"
#include "components/electronic/radio/radio_link.h"
#include "components/electronic/radio/router.h"
#include "foundation/buffers.h"
#include "foundation/stream.h"
#include "scheme/model/block.h"
#include "scheme/simulation/packet_set.h"

namespace {
const float kOmnidirectional = 6.2831855f;  // 2 pi
const wchar_t kWiFiCaption[] = L"Модуль WiFi";

bool SameSsid(const wchar_t* a, const wchar_t* b) { return wcscmp(a, b) == 0; }
}  // namespace

CBEWiFi::CBEWiFi()
    : CBEInterfaceDevice(0, 0, true, true), beamWidth1(kOmnidirectional), beamWidth2(kOmnidirectional) {
  flags |= kBeBlockDevice;
  rect.bottom = rect.top + kPortHeight;
  fillColor = kPortFill;
  speed = kLanSpeed;
  bitsPerByte = kLanBitsPerByte;
  SetCaption(kWiFiCaption);
}

CBEWiFi::~CBEWiFi() { BeWiFiRadioList::Leave(this); }

CBEBlock* CBEWiFi::Create() {
  CBEWiFi* block = new (std::nothrow) CBEWiFi;
  if (block && !block->caption) {
    delete block;
    return nullptr;
  }
  return block;
}

void CBEWiFi::SetSsid(const wchar_t* text) {
  int n = 0;
  if (text)
    for (; n < kWiFiSsidChars && text[n]; ++n) ssid[n] = text[n];
  ssid[n] = 0;
}

void CBEWiFi::Start() {
  // The program has no default radio pose: without an antenna the block has
  // none, and forms no link.
  pose = nullptr;
  CBEInterfaceDevice::Start();
  if (enabled) BeWiFiRadioList::Join(this);
}

void CBEWiFi::Stop() {
  BeWiFiRadioList::Leave(this);
  CBEInterfaceDevice::Stop();
}

bool CBEWiFi::TakeAntenna(bool* tuned) {
  CSCHBlock* owner = GetOwnerComponent(this);
  if (!owner || antennaPin >= owner->pinCount) return false;
  CSCHAntenna* antenna = CSCHAntenna::FromNet(owner->pins[antennaPin].net);
  if (!antenna) return false;
  pose = antenna->pose;
  axis = antenna->axis;
  beamWidth1 = antenna->widthAround;
  beamWidth2 = antenna->widthAlong;
  // An antenna without a band to tune to carries no link: its gain is 0,
  // so no one else links with the block either.
  *tuned = antenna->bandwidth > 0 && std::isfinite(antenna->bandwidth);
  gain = *tuned ? antenna->linearGain * RadioOffBandFactor(antenna->centreFrequency, antenna->bandwidth) : 0.0f;
  return true;
}

bool CBEWiFi::LinkWithRouter(CSCHRouter* router) {
  if (!router->packets || !signalSource.packets) return false;
  float strength = ComputeRadioLinkGain(pose, axis, beamWidth1, beamWidth2, power, gain, router->RadioPose(),
                                        router->radioAxis, router->radioAround, router->radioAlong, router->P,
                                        router->publishedGain);
  if (!(strength > kElecRadioLinkThreshold)) return false;
  signalSource.packets->Merge(router->packets);
  return true;
}

bool CBEWiFi::LinkWithPeer(CBEWiFi* peer) {
  if (!peer->signalSource.packets || !signalSource.packets) return false;
  float strength = ComputeRadioLinkGain(pose, axis, beamWidth1, beamWidth2, power, gain, peer->pose, peer->axis,
                                        peer->beamWidth1, peer->beamWidth2, peer->power, peer->gain);
  if (!(strength > kElecRadioLinkThreshold)) return false;
  signalSource.packets->Merge(peer->signalSource.packets);
  return true;
}

void CBEWiFi::Step(float dt) {
  if (!enabled) return;
  bool tuned = true;
  if (antennaPin >= 0 && !TakeAntenna(&tuned)) return;
  // No pose (no antenna pin) or no band: no radio link; the block still
  // runs on its own set.
  if (pose && tuned) {
    if (mode == kWiFiClient) {
      for (CSCHRouter* router = CSCHRouter::RadioListHead(); router; router = router->next) {
        if (router->mode != kElecRouterAccessPoint) continue;
        if (ssid[0] && !SameSsid(ssid, router->ssid)) continue;
        if (LinkWithRouter(router)) break;
      }
    }
    if ((mode == kWiFiClient || mode == kWiFiAdHoc) && ssid[0]) {
      // The blocks that joined before this one: each pair once a pass.
      for (CBEWiFi* peer = next; peer; peer = peer->next) {
        if (peer->mode == kWiFiAdHoc && SameSsid(ssid, peer->ssid)) LinkWithPeer(peer);
      }
    }
  }
  incoming = &signalSource;
  CBEInterfaceDevice::Step(dt);
}

void CBEWiFi::Save(CStream* stream) {
  stream->WriteByte(enabled ? 1 : 0);
  stream->WriteByte(mode);
  stream->WriteStringW(ssid);
  CBEInterfaceDevice::Save(stream);
}

bool CBEWiFi::Load(CStream* stream) {
  unsigned char storedEnabled, storedMode;
  if (!ReadByteChecked(stream, &storedEnabled) || storedEnabled > 1 || !ReadByteChecked(stream, &storedMode))
    return false;
  wchar_t* text = nullptr;
  if (!ReadStringWChecked(stream, &text)) return false;
  if (!InterfaceRecordReadable(stream)) {
    FreeBuffer(text);
    return false;
  }
  enabled = storedEnabled;
  mode = storedMode;
  SetSsid(text);
  FreeBuffer(text);
  return CBEInterfaceDevice::Load(stream);
}

bool CBEWiFi::ShowProperties() { return ShowBlockDialog(this, kBeWiFiClassId); }
