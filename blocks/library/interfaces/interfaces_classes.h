// The interface devices of the computers' programs: the serial ports, the
// network adapters, the GPIO, LPT and audio blocks. No palette offers them:
// they stand in the hidden group 0 of the computers' catalogues, and the
// computers make them (BeScheme::CreateBlock by class id) when they build
// their pins.
#pragma once

#include "blocks/library/library_classes.h"

class BeCatalogueGroup;

extern const BeLibraryClassRow kInterfaceClassRows[];
extern const int kInterfaceClassRowCount;

// A hidden catalogue entry of a device block: its class and the caption the
// catalogue gives it.
struct BeDeviceEntryRow {
  unsigned int classId;
  const wchar_t* caption;
};
// The device entries of the on-board computer's catalogue (serial ports,
// network adapters, GPIO, LPT, microphone inputs) and of the control-panel
// computer's (network adapters and the audio system).
extern const BeDeviceEntryRow kBoardComputerDeviceRows[];
extern const int kBoardComputerDeviceRowCount;
extern const BeDeviceEntryRow kPultComputerDeviceRows[];
extern const int kPultComputerDeviceRowCount;

// Appends an entry without palette picture to the group for each row whose
// class has a creator in creators and that the group does not hold yet.
// False when memory ran out.
bool AddDeviceEntries(BeCatalogueGroup* group, const BeDeviceEntryRow* rows, int count,
                      const BeBlockCreatorTable& creators);
