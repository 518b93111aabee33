#include "blocks/engine/editor_count.h"

namespace {
int g_openEditors = 0;
}

int OpenBlockEditorCount() { return g_openEditors; }
void NoteBlockEditorOpened() { ++g_openEditors; }
void NoteBlockEditorClosed() { --g_openEditors; }
