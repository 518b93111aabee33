#include "blocks/dialogs/navigation/navigation_dialogs.h"

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/library/drivers/inertial_driver.h"
#include "blocks/library/geodesy/nav_controller.h"
#include "blocks/library/navigation/strip_detector.h"
#include "foundation/buffers.h"
#include "kestui/forms/kest_input_dialog.h"

namespace {
const int kNavWidth = 260, kNavHeight = 120, kNavListWidth = 220;
const int kStripWidth = 320, kStripHeight = 220;
const int kStripNoteWidth = 300, kStripNoteHeight = 80, kStripEditWidth = 300;
const int kStripButtonWidth = 100;

const wchar_t* const kCoordinateSystems[] = {L"Геоцентрическая XYZ", L"WGS-84", L"ПЗ-90.02"};
const int kCoordinateSystemCount = 3;

const wchar_t kStripCaption[] = L"Распознавание светоотпражающей полосы";
const wchar_t kStripNote[] =
    L"Светоотражающая полоса задается в 3D Studio MAX с помощью объекта Shape. У объекта Shape должно быть "
    L"название\r\n*STRIP*субназвание*любые_символы.\r\nНапример: *STRIP*WHITE*01";
}  // namespace

bool ShowNavControllerDialog(CBEBlock* block) {
  auto* controller = dynamic_cast<CBENavController*>(block);
  if (!controller) return false;
  CBEPropertyForm* form = OpenPropertyForm(controller, kNavWidth, kNavHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  int current = controller->coordinateSystem < kCoordinateSystemCount ? controller->coordinateSystem : -1;
  CKestComboBox* systems = form->AddListRow(L"Система координат:", kCoordinateSystems, kCoordinateSystemCount,
                                            current, kNavListWidth);
  form->SetInitialFocus(systems);
  form->AddButtons();
  if (!form->Confirm()) return false;
  int index = systems ? systems->GetSelectedIndex() : -1;
  if (index >= 0) controller->coordinateSystem = static_cast<unsigned char>(index);
  controller->SetOutputDescriptions();
  return true;
}

bool ShowStripDetectorDialog(CBEBlock* block) {
  auto* detector = dynamic_cast<CBEStripDetector*>(block);
  if (!detector) return false;
  CBEPropertyForm* form = OpenPropertyForm(kStripCaption, kStripWidth, kStripHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  new CKestLabel(form, kStripNote, KEST_POS_FLOW, false, kStripNoteWidth, kStripNoteHeight, 0);
  form->NewFlowRow();
  CKestEdit* edit = form->AddTextRow(L"Субназвание (если не задано, то любое):", kStripEditWidth, 0,
                                     detector->GetSubName());
  form->AddButtons(kStripButtonWidth);
  if (!form->Confirm() || !edit) return false;
  wchar_t* text = edit->GetText();
  // No copy of a text that is there: memory ran out, and the sub-name stays.
  if (!text && edit->GetTextLength() > 0) return false;
  bool set = detector->SetSubName(text);
  FreeBuffer(text);
  return set;
}

bool ShowInertialDriverDialog(CBEBlock* block) {
  auto* driver = dynamic_cast<CBEInertialDriver*>(block);
  if (!driver) return false;
  wchar_t* answer = ShowInputDialog(MainKestForm, driver->GetCaption(), L"Название протокола", driver->protocolName);
  if (!answer) return false;
  bool set = driver->SetProtocolName(answer);
  FreeBuffer(answer);
  return set;
}
