#include "blocks/dialogs/dialog_classes.h"

#include "blocks/dialogs/arithmetic/arithmetic_dialogs.h"
#include "blocks/dialogs/control/control_dialogs.h"
#include "blocks/dialogs/debug/avr_plot_dlg.h"
#include "blocks/dialogs/debug/monitor_dlg.h"
#include "blocks/dialogs/digital/digital_dialogs.h"
#include "blocks/dialogs/distance_dialog.h"
#include "blocks/dialogs/frame/data_type_dialog.h"
#include "blocks/dialogs/generators/generator_dialogs.h"
#include "blocks/dialogs/interfaces/interface_dialogs.h"
#include "blocks/dialogs/local_map/local_map_dlg.h"
#include "blocks/dialogs/logic/logic_dialogs.h"
#include "blocks/dialogs/macro/macro_dialog.h"
#include "blocks/dialogs/mcu/peripheral_dialogs.h"
#include "blocks/dialogs/navigation/navigation_dialogs.h"
#include "blocks/dialogs/navigation/video_navigator_dialog.h"
#include "blocks/dialogs/scan_sector/scan_sector_dialog.h"
#include "blocks/engine/block_class_ids.h"
#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"

namespace {
struct DialogRow {
  unsigned int classId;
  BeBlockDialog dialog;
};

const DialogRow kDialogRows[] = {
    {kBeDistanceClassId, ShowDistanceDialog},
    // One data type for the whole block.
    {kBeArctan2ClassId, ShowArctan2Dialog},
    {kBeAbsClassId, ShowAbsDialog},
    {kBeSinClassId, ShowMathFuncDialog},
    {kBeCosClassId, ShowMathFuncDialog},
    {kBeTanClassId, ShowMathFuncDialog},
    {kBeCotanClassId, ShowMathFuncDialog},
    {kBeArcsinClassId, ShowMathFuncDialog},
    {kBeArccosClassId, ShowMathFuncDialog},
    {kBeArctanClassId, ShowMathFuncDialog},
    {kBeDegToRadClassId, ShowMathFuncDialog},
    {kBeRadToDegClassId, ShowMathFuncDialog},
    {kBePItoPIClassId, ShowMathFuncDialog},
    {kBeDiv2ClassId, ShowDiv2Dialog},
    {kBeMul2ClassId, ShowMul2Dialog},
    {kBeNotClassId, ShowNotDialog},
    {kBeSub2ClassId, ShowSub2Dialog},
    {kBeNegClassId, ShowNegDialog},
    {kBeCounterClassId, ShowCounterDialog},
    {kBeRegisterClassId, ShowRegisterDialog},
    {kBeDFlipFlopClassId, ShowDFlipFlopDialog},
    // Logic.
    {kBeShrClassId, ShowShrDialog},
    {kBeShlClassId, ShowShlDialog},
    {kBeGetBitClassId, ShowGetBitDialog},
    {kBeCmp2ClassId, ShowCmp2Dialog},
    {kBeCmpClassId, ShowCmpDialog},
    {kBeOr2ClassId, ShowOr2Dialog},
    {kBeAnd2ClassId, ShowAnd2Dialog},
    {kBeOrClassId, ShowOrDialog},
    {kBeAndClassId, ShowAndDialog},
    // Arithmetic, vectors, converter and constant.
    {kBeLimiterClassId, ShowLimiterDialog},
    {kBeSubClassId, ShowSubDialog},
    {kBeAddClassId, ShowAddDialog},
    {kBeSummatorClassId, ShowSummatorDialog},
    {kBeNormClassId, ShowNormDialog},
    {kBeLengthClassId, ShowLengthDialog},
    {kBeSpeedClassId, ShowSpeedDialog},
    {kBeTypeConvertorClassId, ShowTypeConvertorDialog},
    {kBeConstantClassId, ShowConstantDialog},
    // Multiplexer, demultiplexer, coder and pulse counter.
    {kBeMUXClassId, ShowMuxDialog},
    {kBeDEMUXClassId, ShowDemuxDialog},
    {kBeCoderClassId, ShowCoderDialog},
    {kBePulsCounterClassId, ShowPulsCounterDialog},
    // Control-theory links.
    {kBeProportionalClassId, ShowProportionalDialog},
    {kBeConstDividerClassId, ShowConstDividerDialog},
    {kBeDiffClassId, ShowDiffDialog},
    {kBeIntegralClassId, ShowIntegralDialog},
    {kBeIntegralWithReloadClassId, ShowIntegralWithReloadDialog},
    {kBeInertialClassId, ShowInertialDialog},
    {kBeVibroClassId, ShowVibroDialog},
    // Generators.
    {kBeEventClassId, ShowEventDialog},
    {kBeSingleImpulsClassId, ShowSingleImpulsDialog},
    {kBeMeanderClassId, ShowMeanderDialog},
    {kBeDurationClassId, ShowDurationDialog},
    {kBeMonostableClassId, ShowMonostableDialog},
    // Video navigation, navigation drivers and detectors.
    {kBeVideoNavigationClassId, ShowVideoNavigationDialog},
    {kBeNavControllerClassId, ShowNavControllerDialog},
    {kBeStripDetectorClassId, ShowStripDetectorDialog},
    {kBeInertialDriverClassId, ShowInertialDriverDialog},
    // Processor peripherals.
    {kBeGPIOClassId, ShowGpioDialog},
    {kBeSoftwarePWMClassId, ShowSoftwarePwmDialog},
    {kBeIntervalDetectorClassId, ShowIntervalDetectorDialog},
    {kBeAvrADCClassId, ShowAvrAdcDialog},
    {kBeAvrTimerClassId, ShowAvrTimerDialog},
    {kBePortPinBlockClassId, ShowIOPortDialog},
    // Monitor and graph builder.
    {kBeMonitorClassId, ShowMonitorDialog},
    {kBeAvrPlotClassId, ShowAvrPlotDialog},
    // Mapping blocks of the on-board computer.
    {kBeLocalMapClassId, ShowLocalMapDialog},
    {kBeScanSectorClassId, ShowScanSectorDialog},
    // Interface devices.
    {kBeLANClassId, ShowLanDialog},
    {kBeUSBClassId, ShowLanDialog},
    {kBeCOMPortClassId, ShowComPortDialog},
    {kBeBoardUARTClassId, ShowComPortDialog},
    {kBeAvrUARTClassId, ShowUartDialog},
    {kBeWiFiClassId, ShowWiFiDialog},
    {kBeAvrSPIClassId, ShowSpiDialog},
    {kBeAvrTWIClassId, ShowTwiDialog},
    // The macro block.
    {kBeMacroBlockClassId, ShowMacroDialog},
};
const int kDialogRowCount = sizeof(kDialogRows) / sizeof(kDialogRows[0]);
}  // namespace

bool RegisterBlockDialogs(BeBlockDialogTable* table) {
  if (!table) return false;
  bool ok = true;
  for (const DialogRow& row : kDialogRows) ok = table->Set(row.classId, row.dialog) && ok;
  return ok;
}

bool RegisterBlockDialogs() { return RegisterBlockDialogs(&BeBlockDialogTable::Program()); }

int BlockDialogCount() { return kDialogRowCount; }
