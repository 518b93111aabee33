// How the dialogs join the program: their table fills the engine's, and a
// block's ShowProperties then opens its dialog.
#include "block_kit.h"
#include "blocks/dialogs/dialog_classes.h"
#include "blocks/dialogs/distance_dialog.h"
#include "blocks/dialogs/interfaces/interface_dialogs.h"
#include "blocks/dialogs/macro/macro_dialog.h"
#include "blocks/engine/block_dialog_table.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "foundation/buffer_failure_scope.h"

namespace {

TEST(DialogClasses, RegistrationFillsTheProgramsDialogTable) {
  blocktest::DialogScope restore;
  BeBlockDialogTable& program = BeBlockDialogTable::Program();
  program.Clear();
  ASSERT_TRUE(RegisterBlockDialogs());
  // The distance block, 20 data-type dialogs (the ten trigonometric
  // functions each under its own id), 9 logic and 9 arithmetic, vector and
  // converter ones, 4 digital, 7 control-link and 5 generator ones, the
  // video navigation's and 3 of navigation drivers and detectors, 6 of the
  // processor peripherals, the monitor's and the graph builder's, the local
  // map's and the scan sector's, the 8 interface devices' and the macro
  // block's.
  EXPECT_EQ(78, BlockDialogCount());
  EXPECT_EQ(BlockDialogCount(), program.Count());
  EXPECT_EQ(ShowDistanceDialog, program.Find(kBeDistanceClassId));
  for (unsigned int id : {kBeMUXClassId, kBeDEMUXClassId, kBeCoderClassId, kBePulsCounterClassId,
                          kBeProportionalClassId, kBeConstDividerClassId, kBeDiffClassId, kBeIntegralClassId,
                          kBeIntegralWithReloadClassId, kBeInertialClassId, kBeVibroClassId, kBeEventClassId,
                          kBeSingleImpulsClassId, kBeMeanderClassId, kBeDurationClassId, kBeMonostableClassId,
                          kBeVideoNavigationClassId, kBeNavControllerClassId, kBeStripDetectorClassId,
                          kBeInertialDriverClassId, kBeGPIOClassId, kBeSoftwarePWMClassId,
                          kBeIntervalDetectorClassId, kBeAvrADCClassId, kBeAvrTimerClassId, kBePortPinBlockClassId,
                          kBeMonitorClassId, kBeAvrPlotClassId, kBeLocalMapClassId, kBeScanSectorClassId,
                          kBeLANClassId, kBeUSBClassId, kBeCOMPortClassId, kBeBoardUARTClassId, kBeAvrUARTClassId,
                          kBeWiFiClassId, kBeAvrSPIClassId, kBeAvrTWIClassId, kBeMacroBlockClassId})
    EXPECT_NE(nullptr, program.Find(id)) << std::hex << id;
  // Again: nothing changes.
  ASSERT_TRUE(RegisterBlockDialogs());
  EXPECT_EQ(BlockDialogCount(), program.Count());
  // Refused memory is reported; a null table is refused.
  program.Clear();
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(RegisterBlockDialogs());
  }
  EXPECT_EQ(0, program.Count());
  EXPECT_FALSE(RegisterBlockDialogs(nullptr));
  // A table of one's own.
  BeBlockDialogTable own;
  ASSERT_TRUE(RegisterBlockDialogs(&own));
  EXPECT_EQ(ShowDistanceDialog, own.Find(kBeDistanceClassId));
}

// The dialog of the distance block answers false for any other block and
// shows nothing.
TEST(DialogClasses, TheDistanceDialogTakesOnlyDistanceBlocks) {
  blocktest::Bench bench;
  CBEBlock* length = bench.Create<CBEBlock>(kBeLengthClassId);
  int before = LiveForms.count;
  EXPECT_FALSE(ShowDistanceDialog(length));
  EXPECT_FALSE(ShowDistanceDialog(nullptr));
  EXPECT_EQ(before, LiveForms.count);
}

// The interface-device and macro dialogs likewise refuse a block of another
// class.
TEST(DialogClasses, TheInterfaceAndMacroDialogsTakeOnlyTheirOwnBlocks) {
  blocktest::Bench bench;
  CBEBlock* length = bench.Create<CBEBlock>(kBeLengthClassId);
  int before = LiveForms.count;
  for (BeBlockDialog dialog : {ShowLanDialog, ShowComPortDialog, ShowUartDialog, ShowWiFiDialog, ShowSpiDialog,
                               ShowTwiDialog, ShowMacroDialog}) {
    EXPECT_FALSE(dialog(length));
    EXPECT_FALSE(dialog(nullptr));
  }
  EXPECT_EQ(before, LiveForms.count);
}

}  // namespace
