#include "scheme/model/class_registry.h"

#include <cstring>

#include "foundation/buffers.h"
#include "foundation/plain_array.h"
#include "scheme/board/pcb.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"
#include "scheme/parts/5_gidro.h"
#include "scheme/parts/ground.h"
#include "scheme/parts/multimeter.h"
#include "scheme/parts/t_gidro.h"

SchClassRegistry g_schClassRegistry;

namespace {

// The registration order is fixed: documents and database tables name the
// classes, and the first matching row wins. Classes defined in the libraries
// above the scheme model get their creators through SetCreator.
const SchClassRow kComponentClasses[kSchComponentClassCount] = {
    {"DCMotor", nullptr},        {"T_GIDRO", CreateCSCH_T_Gidro}, {"5_GIDRO", CreateCSCH_5_Gidro},
    {"GND", CreateCSCHGnd},          {"PCB", CreateCSCH_PCB},           {"USB-COM", nullptr},
    {"PULT", nullptr},           {"PultComputer", nullptr},  {"MPW", nullptr},
    {"MiniFit", nullptr},        {"PLS", nullptr},           {"PLS2", nullptr},
    {"Battery", nullptr},        {"Button", nullptr},        {"AVR", nullptr},
    {"L6203", nullptr},          {"L6205", nullptr},         {"FDD03", nullptr},
    {"Multimeter", CreateCSCHMultimeter},   {"MAX232", nullptr},        {"BOARD_COMPUTER", nullptr},
    {"POWER_SUPPLY", nullptr},   {"Router", nullptr},        {"PoE", nullptr},
    {"Injector", nullptr},       {"Quartz", nullptr},        {"Capacitor", nullptr},
    {"WF", nullptr},             {"CWF", nullptr},           {"Connector2", nullptr},
    {"Camera", nullptr},         {"Encoder", nullptr},       {"potentiometric", nullptr},
    {"LimitSwitcher", nullptr},  {"StdLogic", nullptr},      {"NavReceiver", nullptr},
    {"Resister", nullptr},       {"InertialSystem", nullptr}, {"Relay", nullptr},
    {"BiTransistor", nullptr},   {"Antenna", nullptr},       {"CMOSTransistor", nullptr},
    {"servo", nullptr},          {"URM04", nullptr},         {"URM37", nullptr},
    {"SRF-05", nullptr},         {"SEN136B5B", nullptr},     {"MiniUSB", nullptr},
    {"HardDrive", nullptr},      {"diod", nullptr},          {"MAX485", nullptr},
    {"FT232RL", nullptr},        {"Mic", nullptr},           {"ICE", nullptr},
    {"ACTUATOR", nullptr},
};

}  // namespace

SchClassRegistry::~SchClassRegistry() { Clear(); }

bool SchClassRegistry::Add(const char* name, SchBlockCreator creator) {
  // The rows grow in steps of 16.
  if (!ResizeSteppedArray(&rows, count, count + 1, 16)) return false;
  capacity = SteppedCapacity(count + 1, 16);
  rows[count].name = name;
  rows[count].creator = creator;
  count++;
  return true;
}

bool SchClassRegistry::SetCreator(const char* name, SchBlockCreator creator) {
  SchClassRow* row = const_cast<SchClassRow*>(Find(name));
  if (!row) return false;
  row->creator = creator;
  return true;
}

const SchClassRow* SchClassRegistry::Find(const char* name) const {
  if (!name) return nullptr;
  for (int i = 0; i < count; i++)
    if (rows[i].name && strcmp(rows[i].name, name) == 0) return &rows[i];
  return nullptr;
}

void SchClassRegistry::Clear() {
  FreeBuffer(rows);
  rows = nullptr;
  count = 0;
  capacity = 0;
}

void RegisterComponentClasses() {
  for (const SchClassRow& row : kComponentClasses) g_schClassRegistry.Add(row.name, row.creator);
}

CSCHBlock* SchScheme::CreateBlock(const char* className) {
  const SchClassRow* row = g_schClassRegistry.Find(className);
  if (!row || !row->creator) return nullptr;
  CSCHBlock* block = row->creator();
  if (!block) return nullptr;
  block->className = row->name;
  block->Attach(this);
  return block;
}
