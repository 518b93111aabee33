#include "blocks/engine/editor/open_editor_count.h"

int BeOpenEditorCount = 0;
