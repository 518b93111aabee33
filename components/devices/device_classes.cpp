#include "components/devices/device_classes.h"

#include "components/devices/drives/actuator.h"
#include "components/devices/drives/dc_motor.h"
#include "components/devices/drives/ice.h"
#include "components/devices/drives/servo.h"
#include "components/devices/sensors/encoder.h"
#include "components/devices/sensors/inertial_system.h"
#include "components/devices/sensors/limit_switcher.h"
#include "components/devices/sensors/nav_receiver.h"
#include "components/devices/sensors/potentiometric.h"
#include "components/devices/sensors/sen136b5b.h"
#include "components/devices/sensors/srf05.h"
#include "components/devices/sensors/urm04.h"
#include "components/devices/sensors/urm37.h"
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
    {"Encoder", CreateCSCHEncoder},
    {"potentiometric", CreateCSCHPotentiometric},
    {"LimitSwitcher", CreateCSCHLimitSwitcher},
    {"URM37", CreateCURM37},
    {"URM04", CreateCURM04},
    {"SRF-05", CreateCIE_SRF_05},
    {"SEN136B5B", CreateCSEN136B5B},
    {"NavReceiver", CreateCSCHNavReceiver},
    {"InertialSystem", CreateCSCHInertialSystem},
};

}  // namespace

bool RegisterDeviceComponentCreators() {
  bool all = true;
  for (const CreatorRow& row : kDeviceCreators)
    if (!g_schClassRegistry.SetCreator(row.name, row.creator)) all = false;
  return all;
}
