// The one place where the palette reaches the component browser.
#include "app/editor/component_chooser.h"

// The component browser is not part of this library yet: nothing can be
// chosen, and the palette leaves the scheme as it was.
bool ChooseComponentRecord(CKestControl*, const wchar_t*, const ComponentRecordUse&) { return false; }
