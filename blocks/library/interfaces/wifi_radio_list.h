// BeWiFiRadioList: the program-wide list of the WiFi blocks that are running
// and enabled, newest first. A WiFi block joins it at Start (when enabled)
// and leaves it at Stop or when it is deleted. The WiFi blocks link with the
// blocks that joined before them; the camera's ad-hoc radio walks it too,
// reading each block's mode, SSID, pose, axis, beam widths, power, gain and
// outgoing set.
#pragma once

class CBEWiFi;

class BeWiFiRadioList {
public:
  // The newest block on the air, null when none; walk on through next.
  static CBEWiFi* Head();
  // Links the block at the head; nothing when it is on the list already.
  static void Join(CBEWiFi* block);
  // Unlinks the block (its neighbours joined; a head hands the head to its
  // next) and clears its links; nothing when it is not on the list.
  static void Leave(CBEWiFi* block);
  static bool Contains(const CBEWiFi* block);
  static int Count();
};
