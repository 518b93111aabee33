#include "blocks/dialogs/macro/macro_dialog.h"

#include <cwchar>
#include <new>

#include "blocks/dialogs/interfaces/data_field_dialog.h"
#include "blocks/dialogs/interfaces/interface_device_dlg.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"
#include "blocks/engine/output_pin.h"
#include "foundation/buffers.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/lists/kest_list_view.h"

namespace {
const int kFormWidth = 550, kFormHeight = 500;
const int kPanelWidth = 250, kPanelHeight = 500;
const int kInputNameWidth = 90, kOutputNameWidth = 100, kTypeWidth = 140;
const int kButtonWidth = 80, kButtonHeight = 25;

const wchar_t* TypeText(BeSignalType type) {
  const wchar_t* name = GetSignalTypeName(type);
  return name ? name : L"";
}

// The rows of one side: every port of the nested scheme whose index is k,
// for k from 0 to count - 1, in the scheme's list order.
void FillPorts(CKestListView* list, CBEMacro* macro, bool inputs) {
  const int count = inputs ? macro->inputCount : macro->outputCount;
  const unsigned int classId = inputs ? kBeMacroInputClassId : kBeMacroOutputClassId;
  list->SuspendRedraw();
  for (int k = 0; k < count; ++k) {
    for (CBEBlock* block = macro->nested->blocks; block; block = block->next) {
      if (block->GetClassId() != classId) continue;
      int index = inputs ? static_cast<CBEMacroInput*>(block)->index : static_cast<CBEMacroOutput*>(block)->index;
      if (index != k) continue;
      BeSignalType type = inputs ? block->outputs[0]->type : block->inputs[0]->type;
      int row = list->AddItem(block->caption ? block->caption : L"", -1, reinterpret_cast<LPARAM>(block));
      list->SetItemText(row, 1, TypeText(type));
    }
  }
  list->ResumeRedraw();
}

// The rows of a list as the macro takes them; names point into texts
// (kBeFieldTextChars per row). False when memory ran out.
struct Rows {
  explicit Rows(CKestListView* list) : count(list ? list->GetItemCount() : 0) {
    rows = static_cast<BeMacroPinRow*>(AllocBuffer(sizeof(BeMacroPinRow) * (count + 1)));
    texts = static_cast<wchar_t*>(AllocBuffer(sizeof(wchar_t) * kBeFieldTextChars * (count + 1)));
    if (!rows || !texts) return;
    wchar_t type[kBeFieldTextChars];
    for (int i = 0; i < count; ++i) {
      wchar_t* name = texts + i * kBeFieldTextChars;
      list->GetItemText(i, 0, name, kBeFieldTextChars);
      list->GetItemText(i, 1, type, kBeFieldTextChars);
      rows[i].name = name;
      rows[i].type = FindSignalTypeByName(type);
      rows[i].port = reinterpret_cast<CBEBlock*>(list->GetItemData(i));
    }
  }
  ~Rows() {
    FreeBuffer(rows);
    FreeBuffer(texts);
  }
  Rows(const Rows&) = delete;
  Rows& operator=(const Rows&) = delete;
  bool Made() const { return rows && texts; }

  int count;
  BeMacroPinRow* rows;
  wchar_t* texts;
};
}  // namespace

bool ShowMacroDialog(CBEBlock* block) {
  auto* macro = dynamic_cast<CBEMacro*>(block);
  if (!macro || !macro->nested) return false;
  auto* form = new (std::nothrow) CInterfaceDeviceDlg(nullptr);
  if (!form) return false;
  if (!form->Create(MainKestForm, macro->GetCaption(), KEST_POS_CENTER, kFormWidth, kFormHeight, nullptr, true,
                    false, true, true)) {
    delete form;
    return false;
  }
  HWND window = form->GetHandle();
  form->SetReady(false);
  auto* top = new CKestPanel(form, 1, KEST_POS_TOP, kFormWidth, 90, false, false);
  new CKestLabel(top, L"Название:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  auto* name = new CKestEdit(top, 0, KEST_POS_FLOW, 150, 21, false, 0, true);
  name->SetText(macro->caption ? macro->caption : L"");
  top->NewFlowRow();
  new CKestButton(top, L"Открыть внутренюю схему", false, 0, KEST_POS_FLOW, 200, kButtonHeight, nullptr,
                  kBeOpenNestedSchemeResult);
  auto* bottom = new CKestPanel(form, 0, KEST_POS_BOTTOM, 1000, 45, false, false);
  new CKestButton(bottom, L"OK", false, IDOK, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 1);
  new CKestButton(bottom, L"Отмена", false, IDCANCEL, KEST_POS_FLOW, kButtonWidth, kButtonHeight, nullptr, 2);

  auto* left = new CKestPanel(form, 0, KEST_POS_LEFT, kPanelWidth, kPanelHeight, false, false);
  FillPorts(form->BuildFieldList(left, true, L"Входы", kInputNameWidth, kTypeWidth, false), macro, true);
  new CKestVSplitter(form, KEST_POS_LEFT);
  auto* right = new CKestPanel(form, 0, KEST_POS_CLIENT, kPanelWidth, kPanelHeight, false, false);
  FillPorts(form->BuildFieldList(right, false, L"Выходы", kOutputNameWidth, kTypeWidth, false), macro, false);
  form->Realign();
  form->SetReady(true);

  int result = form->ShowModal(false);
  if (GetControlFromHandle(window) != form) return false;  // the program ended it
  bool confirmed = result == 1 || result == kBeOpenNestedSchemeResult;
  if (confirmed) {
    wchar_t* caption = name->GetText();
    Rows inputs(form->sendList);
    Rows outputs(form->receiveList);
    if (inputs.Made() && outputs.Made()) {
      ApplyMacroProperties(macro, caption && caption[0] ? caption : nullptr, inputs.rows, inputs.count,
                           outputs.rows, outputs.count);
    } else {
      confirmed = false;
    }
    FreeBuffer(caption);
  }
  delete form;
  if (confirmed && result == kBeOpenNestedSchemeResult) new CBEEditor(MainKestForm, macro->nested);
  return confirmed;
}
