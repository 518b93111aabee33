// Resource ids of the Kest UI framework, shared by C++ code and by
// resources/kest.rc (so: plain #defines only).
//
// The framework's own cursors. The cursor table of the widgets loads them by
// these ids from the program's resources; the ids are those the table uses.
#pragma once

#define IDCUR_KEST_CUT_LINK   32750  // cursor 14: over a link a click would cut
#define IDCUR_KEST_LINK_CUT   32751  // cursor 15: the link has just been cut
#define IDCUR_KEST_MOVE       32752  // cursor 2: move the selection (four arrows)
#define IDCUR_KEST_HAND       32761  // cursor 13: a link label (pointing hand)
#define IDCUR_KEST_SPLIT_NS   32764  // cursor 9: horizontal splitter, resize up/down
#define IDCUR_KEST_SPLIT_WE   32765  // cursor 10: vertical splitter, resize left/right
