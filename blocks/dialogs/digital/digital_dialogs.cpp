#include "blocks/dialogs/digital/digital_dialogs.h"

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/block.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/digital/coder.h"
#include "blocks/library/digital/demux.h"
#include "blocks/library/digital/digital_drawing.h"
#include "blocks/library/digital/mux.h"
#include "blocks/library/digital/puls_counter.h"

namespace {
const int kSwitchFormWidth = 250, kSwitchFormHeight = 190;
const int kCoderFormWidth = 250, kCoderFormHeight = 110;
const int kPulsCounterFormWidth = 260, kPulsCounterFormHeight = 115;

// The channel count and kind rows of both switches; false (nothing kept)
// unless "OK" closed the form.
bool AskSwitch(CBEBlock* block, const wchar_t* countCaption, int count, BeSignalType type, int* newCount,
               BeSignalType* newType) {
  CBEPropertyForm* form = OpenPropertyForm(block, kSwitchFormWidth, kSwitchFormHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestSpinEdit* spin =
      form->AddIntegerRow(countCaption, kSwitchMinChannels, kSwitchMaxChannels, kBeDialogSpinWidth, count);
  CKestComboBox* kinds = AddSignalKindRow(form, L"Тип данных:", type);
  form->AddButtons();
  if (!form->Confirm()) return false;
  *newCount = spin ? spin->GetIntValue() : count;
  *newType = SelectedSignalKind(kinds, type);
  return true;
}
}  // namespace

CKestComboBox* AddSignalKindRow(CBEPropertyForm* form, const wchar_t* caption, BeSignalType current) {
  if (!form) return nullptr;
  CKestComboBox* list = form->AddListRow(caption, nullptr, 0, -1);
  if (!list) return nullptr;
  int selected = -1;
  for (int i = 0; i < kSwitchDataTypeCount; ++i) {
    BeSignalType code = kSwitchDataTypes[i];
    const wchar_t* name = GetSignalTypeName(code);
    list->AddItem(name ? name : L"", static_cast<LPARAM>(code));
    if (selected < 0 && code == current) selected = i;
  }
  list->SetSelectedIndex(selected);
  return list;
}

BeSignalType SelectedSignalKind(CKestComboBox* list, BeSignalType fallback) {
  int index = list ? list->GetSelectedIndex() : -1;
  return index >= 0 ? static_cast<BeSignalType>(list->GetItemData(index)) : fallback;
}

bool ShowMuxDialog(CBEBlock* block) {
  auto* mux = dynamic_cast<CBEMUX*>(block);
  if (!mux) return false;
  int n = 0;
  BeSignalType type = mux->GetType();
  if (!AskSwitch(mux, L"Кол-во входов:", mux->DataInputCount(), mux->GetType(), &n, &type)) return false;
  // A count or kind the block cannot take (or pins that could not be made)
  // leave it as it was.
  return mux->ApplyProperties(n, type);
}

bool ShowDemuxDialog(CBEBlock* block) {
  auto* demux = dynamic_cast<CBEDEMUX*>(block);
  if (!demux) return false;
  int m = 0;
  BeSignalType type = demux->GetType();
  if (!AskSwitch(demux, L"Кол-во выходов:", demux->outputCount, demux->GetType(), &m, &type)) return false;
  return demux->ApplyProperties(m, type);
}

bool ShowCoderDialog(CBEBlock* block) {
  auto* coder = dynamic_cast<CBECoder*>(block);
  if (!coder) return false;
  CBEPropertyForm* form = OpenPropertyForm(coder, kCoderFormWidth, kCoderFormHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  form->SetLabelsBeside(true);
  CKestSpinEdit* spin = form->AddIntegerRow(L"Кол-во входов:", kCoderMinInputs, kCoderMaxInputs,
                                            kBeDialogSpinWidth, coder->inputCount);
  form->SetInitialFocus(spin);
  form->AddButtons();
  if (!form->Confirm()) return false;
  int n = spin ? spin->GetIntValue() : coder->inputCount;
  return coder->SetInputCount(n);
}

bool ShowPulsCounterDialog(CBEBlock* block) {
  auto* counter = dynamic_cast<CBEPulsCounter*>(block);
  if (!counter) return false;
  CBEPropertyForm* form = OpenPropertyForm(counter, kPulsCounterFormWidth, kPulsCounterFormHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  form->SetLabelsBeside(true);
  BeSignalType current = counter->GetType();
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalInt, current);
  form->SetInitialFocus(types);
  form->AddButtons();
  if (!form->Confirm()) return false;
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  // Disconnects and retypes the output only for another type; the costs
  // are recomputed either way.
  return counter->SetDataType(type);
}
