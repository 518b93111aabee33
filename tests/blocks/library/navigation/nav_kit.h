// Helpers of the navigation map's tests: camera transforms and a host that
// notes the message boxes a map asks for.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "blocks/library/navigation/nav_map.h"
#include "foundation/vecmath.h"
#include "kestui/core/kest_host.h"

namespace navtest {

// A camera's world transform: position (m) in row 3, viewing axis in row 2.
inline Mat4f Camera(float px, float py, float pz, float ax = 0, float ay = 1, float az = 0) {
  Mat4f m;
  MakeIdentityMatrix(&m);
  m.at(2, 0) = ax;
  m.at(2, 1) = ay;
  m.at(2, 2) = az;
  m.at(3, 0) = px;
  m.at(3, 1) = py;
  m.at(3, 2) = pz;
  return m;
}

// A range finder with the mounting and search ranges given.
inline NavRangeFinder Finder(double x, double y, double angle, double searchAngle, double searchDistance,
                             double maxRange) {
  NavRangeFinder f = {};
  f.x = x;
  f.y = y;
  f.angle = angle;
  f.searchAngle = searchAngle;
  f.searchDistance = searchDistance;
  f.maxRange = maxRange;
  return f;
}

// Notes every message box instead of showing it.
class MessageHost : public CKestHost {
public:
  int ShowMessage(UINT flags, const wchar_t* caption, const wchar_t* text) override {
    flags_.push_back(flags);
    captions.push_back(caption ? caption : L"");
    texts.push_back(text ? text : L"");
    return IDOK;
  }
  int Count() const { return static_cast<int>(texts.size()); }
  std::vector<UINT> flags_;
  std::vector<std::wstring> captions;
  std::vector<std::wstring> texts;
};

}  // namespace navtest
