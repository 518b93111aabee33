#include "scheme/parts/measure_device.h"

namespace {

// The program-wide list of measuring devices, oldest first (the devices
// themselves belong to their schemes), and how many of them have each
// capital letter as their whole instance name.
struct MeasureList {
  CSCHMeasureDevice* first = nullptr;
  CSCHMeasureDevice* last = nullptr;
  int count = 0;
  int letterUsers[26] = {};
} g_measureDevices;

// The index of a name that is one capital letter, -1 for any other name.
int LetterIndex(const wchar_t* name) {
  if (name && name[0] >= L'A' && name[0] <= L'Z' && name[1] == 0) return name[0] - L'A';
  return -1;
}

}  // namespace

CSCHMeasureDevice::CSCHMeasureDevice() {
  MeasureList& l = g_measureDevices;
  prevDevice_ = l.last;
  if (l.last) l.last->nextDevice_ = this;
  else l.first = this;
  l.last = this;
  l.count++;
}

CSCHMeasureDevice::~CSCHMeasureDevice() {
  MeasureList& l = g_measureDevices;
  if (prevDevice_) prevDevice_->nextDevice_ = nextDevice_;
  else l.first = nextDevice_;
  if (nextDevice_) nextDevice_->prevDevice_ = prevDevice_;
  else l.last = prevDevice_;
  l.count--;
  int letter = LetterIndex(instanceName);
  if (letter >= 0) l.letterUsers[letter]--;
}

void CSCHMeasureDevice::InstanceNameChanging(const wchar_t* from, const wchar_t* to) {
  MeasureList& l = g_measureDevices;
  int letter = LetterIndex(from);
  if (letter >= 0) l.letterUsers[letter]--;
  letter = LetterIndex(to);
  if (letter >= 0) l.letterUsers[letter]++;
}

int CSCHMeasureDevice::GetListCount() { return g_measureDevices.count; }

CSCHMeasureDevice* CSCHMeasureDevice::GetListItem(int i) {
  if (i < 0 || i >= g_measureDevices.count) return nullptr;
  CSCHMeasureDevice* d = g_measureDevices.first;
  while (d && i-- > 0) d = d->nextDevice_;
  return d;
}

wchar_t CSCHMeasureDevice::GetFreeLetter() {
  for (int i = 0; i < 26; i++)
    if (g_measureDevices.letterUsers[i] == 0) return static_cast<wchar_t>(L'A' + i);
  return 0;
}
