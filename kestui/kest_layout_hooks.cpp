// Layout seams of the control base. The container layer replaces these two
// bodies: realign a parent that is a container, and ask a container's flow
// layout where the next automatically placed widget goes.
#include "kestui/kest_control.h"

void KestRealignIfContainer(CKestControl* parent) { (void)parent; }

bool KestPlaceInFlow(CKestControl* container, int width, int height, POINT* position) {
  (void)container;
  (void)width;
  (void)height;
  if (position) *position = POINT{0, 0};
  return false;
}
