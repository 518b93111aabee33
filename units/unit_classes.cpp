#include "units/unit_classes.h"

#include "scheme/model/class_registry.h"
#include "units/avr/avr.h"
#include "units/computers/board_computer.h"
#include "units/computers/control_panel.h"
#include "units/computers/hard_drive.h"
#include "units/computers/pult_computer.h"
#include "units/media/camera.h"
#include "units/media/microphone.h"

namespace {

struct CreatorRow {
  const char* name;
  SchBlockCreator creator;
};

const CreatorRow kUnitCreators[] = {
    {"AVR", CreateCAVR},
    {"BOARD_COMPUTER", CreateCSCHBoardComputer},
    {"Camera", CreateCSCHCamera},
    {"HardDrive", CreateCSCHHardDrive},
    {"Mic", CreateCSCHMicrophone},
    {"PULT", CreateCSCHPult},
    {"PultComputer", CreateCSCHPultComputer},
};

}  // namespace

bool RegisterUnitComponentCreators() {
  bool all = true;
  for (const CreatorRow& row : kUnitCreators)
    if (!g_schClassRegistry.SetCreator(row.name, row.creator)) all = false;
  return all;
}
