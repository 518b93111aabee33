// The catalogue entries of the six user-interface blocks, which the
// control-panel computer puts into the hidden group 0 of its catalogue.
#pragma once

class BeCatalogueGroup;

// Appends CBEUI and the five control blocks, in that order; false when
// memory ran out.
bool AddUserInterfaceBlockEntries(BeCatalogueGroup* group);
