// Layout seams of the control base, filled in by the container layer:
// realign a parent that is a container, and ask a container's flow layout
// where the next automatically placed widget goes.
#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_flow_layout.h"

void KestRealignIfContainer(CKestControl* parent) {
  if (CKestContainer* container = dynamic_cast<CKestContainer*>(parent)) container->Realign();
}

bool KestPlaceInFlow(CKestControl* container, int width, int height, POINT* position) {
  CKestContainer* owner = dynamic_cast<CKestContainer*>(container);
  if (!owner || !position) return false;
  KestFlowLayout* flow = owner->GetFlowLayout();
  if (!flow) return false;
  *position = flow->Place(width, height);
  return true;
}
