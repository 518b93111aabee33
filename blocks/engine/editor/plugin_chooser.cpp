#include "blocks/engine/editor/plugin_chooser.h"

// Until the plug-in block joins the engine there is no kind to choose: the
// chooser answers as cancelled, so nothing is placed.
bool ChoosePluginBlock() { return false; }
