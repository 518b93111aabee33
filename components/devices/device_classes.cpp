#include "components/devices/device_classes.h"

#include "components/devices/drives/actuator.h"
#include "components/devices/drives/dc_motor.h"
#include "components/devices/drives/ice.h"
#include "components/devices/drives/servo.h"
#include "scheme/model/class_registry.h"

namespace {

struct CreatorRow {
  const char* name;
  SchBlockCreator creator;
};

const CreatorRow kDeviceCreators[] = {
    {"DCMotor", CreateCSCHDCMotor},
    {"servo", CreateCSCHServo},
    {"ACTUATOR", CreateCSCHActuator},
    {"ICE", CreateCSCHICE},
};

}  // namespace

bool RegisterDeviceComponentCreators() {
  bool all = true;
  for (const CreatorRow& row : kDeviceCreators)
    if (!g_schClassRegistry.SetCreator(row.name, row.creator)) all = false;
  return all;
}
