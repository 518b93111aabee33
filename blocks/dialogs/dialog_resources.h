// The pictures on the block property dialogs' tool buttons. They are the
// program's own: the add sign is the script editor's (resources/script.rc,
// linked with the script library), the delete cross the palette's
// (resources/velkboard.rc), so each id keeps one picture.
#pragma once

#include "script/script_resources.h"

#define IDB_DIALOG_ADD IDB_SCRIPT_PIN_ADD  // 16 x 16, the add buttons' plus sign
#define IDB_DIALOG_DELETE 110              // the delete buttons' cross
