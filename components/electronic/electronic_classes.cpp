#include "components/electronic/electronic_classes.h"

#include "components/electronic/battery.h"
#include "components/electronic/resister.h"
#include "components/electronic/switching/button.h"
#include "components/electronic/switching/relay.h"
#include "scheme/class_registry.h"

namespace {

struct CreatorRow {
  const char* name;
  SchBlockCreator creator;
};

const CreatorRow kElectronicCreators[] = {
    {"Resister", CreateCSCHResister},
    {"Battery", CreateCSCHBattery},
    {"Relay", CreateCSCHRelay},
    {"Button", CreateCSCHButton},
};

}  // namespace

bool RegisterElectronicComponentCreators() {
  bool all = true;
  for (const CreatorRow& row : kElectronicCreators)
    if (!g_schClassRegistry.SetCreator(row.name, row.creator)) all = false;
  return all;
}
