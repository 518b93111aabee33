// How many block-diagram editor windows are open anywhere in the program.
// Each editor counts itself while it lives; the board view refuses to
// delete parts while the count is above zero, so that no unit disappears
// under its open editor.
#pragma once

extern int BeOpenEditorCount;
