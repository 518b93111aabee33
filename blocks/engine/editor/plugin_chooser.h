// The chooser of plug-in block kinds: the user picks one kind of one loaded
// module; on success the choice is kept for the next plug-in block created.
// Answers false when cancelled or refused.
#pragma once

bool ChoosePluginBlock();
