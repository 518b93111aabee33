#include "components/electronic/electronic_classes.h"

#include "components/electronic/battery.h"
#include "components/electronic/discrete/bi_transistor.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/discrete/cmos_transistor.h"
#include "components/electronic/discrete/diod.h"
#include "components/electronic/discrete/quartz.h"
#include "components/electronic/resister.h"
#include "scheme/class_registry.h"

namespace {

struct CreatorRow {
  const char* name;
  SchBlockCreator creator;
};

const CreatorRow kElectronicCreators[] = {
    {"Resister", CreateCSCHResister},
    {"Battery", CreateCSCHBattery},
    {"Capacitor", CreateCCapacitor},
    {"Quartz", CreateCQuartz},
    {"diod", CreateCSCHDiod},
    {"BiTransistor", CreateCSCHBiTransistor},
    {"CMOSTransistor", CreateCSCHCMOSTransistor},
};

}  // namespace

bool RegisterElectronicComponentCreators() {
  bool all = true;
  for (const CreatorRow& row : kElectronicCreators)
    if (!g_schClassRegistry.SetCreator(row.name, row.creator)) all = false;
  return all;
}
