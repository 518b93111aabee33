// How many block-diagram editor windows are open anywhere in the program.
// The board view refuses to delete parts while any is open.
#pragma once

int OpenBlockEditorCount();
// Called by the block-diagram editor's constructor and destructor.
void NoteBlockEditorOpened();
void NoteBlockEditorClosed();
