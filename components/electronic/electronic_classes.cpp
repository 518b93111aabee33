#include "components/electronic/electronic_classes.h"

#include "components/electronic/battery.h"
#include "components/electronic/chips/max232.h"
#include "components/electronic/chips/max485.h"
#include "components/electronic/chips/std_logic.h"
#include "components/electronic/motor/l6203.h"
#include "components/electronic/motor/l6205.h"
#include "components/electronic/power/fdd03.h"
#include "components/electronic/power/injector.h"
#include "components/electronic/power/poe.h"
#include "components/electronic/power/power_supply.h"
#include "components/electronic/discrete/bi_transistor.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/discrete/cmos_transistor.h"
#include "components/electronic/discrete/diod.h"
#include "components/electronic/discrete/quartz.h"
#include "components/electronic/resister.h"
#include "components/electronic/connectors/connector2.h"
#include "components/electronic/connectors/cwf_connector.h"
#include "components/electronic/connectors/minifit_connector.h"
#include "components/electronic/connectors/miniusb_connector.h"
#include "components/electronic/connectors/mpw_connector.h"
#include "components/electronic/connectors/pls_connector.h"
#include "components/electronic/connectors/pls_connector2.h"
#include "components/electronic/connectors/wf_connector.h"
#include "components/electronic/radio/antenna.h"
#include "components/electronic/radio/router.h"
#include "components/electronic/switching/button.h"
#include "components/electronic/switching/relay.h"
#include "components/electronic/usb/ft232rl.h"
#include "components/electronic/usb/usbcom.h"
#include "scheme/model/class_registry.h"

namespace {

struct CreatorRow {
  const char* name;
  SchBlockCreator creator;
};

const CreatorRow kElectronicCreators[] = {
    {"Resister", CreateCSCHResister},
    {"Battery", CreateCSCHBattery},
    {"StdLogic", CreateCSCHStdLogic},
    {"MAX485", CreateCMAX485},
    {"MAX232", CreateCSCHMAX232},
    {"POWER_SUPPLY", CreateCSCHPowerSupply},
    {"FDD03", CreateCFDD03},
    {"PoE", CreateCSCHPoE},
    {"Injector", CreateCSCHInjector},
    {"Capacitor", CreateCCapacitor},
    {"Quartz", CreateCQuartz},
    {"diod", CreateCSCHDiod},
    {"BiTransistor", CreateCSCHBiTransistor},
    {"CMOSTransistor", CreateCSCHCMOSTransistor},
    {"Relay", CreateCSCHRelay},
    {"Button", CreateCSCHButton},
    {"FT232RL", CreateCFT232RL},
    {"USB-COM", CreateCUSBCOM},
    {"L6203", CreateCSCH_L6203},
    {"L6205", CreateCSCH_L6205},
    {"Antenna", CreateCSCHAntenna},
    {"Router", CreateCSCHRouter},
    {"PLS", CreateCPLSConnector},
    {"PLS2", CreateCPLSConnector2},
    {"CWF", CreateCCWFConnector},
    {"WF", CreateCWFConnector},
    {"MPW", CreateCMPWConnector},
    {"Connector2", CreateCConnector2},
    {"MiniFit", CreateCMiniFitConnector},
    {"MiniUSB", CreateCMiniUSBConnector},
};

}  // namespace

bool RegisterElectronicComponentCreators() {
  bool all = true;
  for (const CreatorRow& row : kElectronicCreators)
    if (!g_schClassRegistry.SetCreator(row.name, row.creator)) all = false;
  return all;
}
