#include "blocks/engine/plugin/plugin_chooser.h"

#include "blocks/engine/plugin/plugin_list.h"
#include "blocks/engine/plugin/plugin_module.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/core/kest_messages.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/graphics/kest_imagelist.h"
#include "kestui/lists/kest_tree_view.h"

namespace {
const int kFormSize = 500;
const int kButtonPanelHeight = 45;
const int kButtonWidth = 100;
const int kButtonHeight = 25;
const int kModuleImage = 0;
const int kKindImage = 1;
}  // namespace

CBEPluginChooserForm::CBEPluginChooserForm(CKestControl* owner, const BePluginList& list) {
  if (!Create(owner, L"Создать plugin", KEST_POS_CENTER, kFormSize, kFormSize, nullptr, true, false,
              true, true))
    return;
  SetReady(false);
  CKestPanel* buttons =
      new CKestPanel(this, 0, KEST_POS_BOTTOM, kFormSize, kButtonPanelHeight, false, false);
  new CKestButton(buttons, L"Создать", true, kBePluginChooserCreateId, KEST_POS_FLOW, kButtonWidth,
                  kButtonHeight, nullptr, 1);
  new CKestButton(buttons, L"Отмена", false, kBePluginChooserCancelId, KEST_POS_FLOW, kButtonWidth,
                  kButtonHeight, nullptr, 2);
  tree_ = new CKestTreeView(this, KEST_POS_CLIENT, kFormSize, kFormSize,
                            WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                                TVS_LINESATROOT | TVS_SHOWSELALWAYS);
  images_ = new CKestImageList(16, 16);
  images_->AddRef();
  images_->AddResourceImage(kBePluginModuleImageResource);
  images_->AddResourceImage(kBePluginKindImageResource);
  tree_->SetImageList(images_);
  uint32_t index = 0;
  for (BePluginModule* m = list.head; m; m = m->next, ++index) {
    if (!modules_.Append(m)) break;
    HTREEITEM item = tree_->AddItem(nullptr, m->fileName ? m->fileName : L"", kModuleImage,
                                    kModuleImage, index);
    for (int k = 0; k < m->kindCount; ++k) {
      tree_->AddItem(item, m->kinds[k].name ? m->kinds[k].name : L"", kKindImage, kKindImage,
                     static_cast<uint32_t>(k));
    }
  }
  Realign();
  tree_->SetFocus();
  SetReady(true);
}

CBEPluginChooserForm::~CBEPluginChooserForm() {
  // The tree holds its own reference to the list.
  if (images_) images_->Release();
  images_ = nullptr;
}

bool CBEPluginChooserForm::GetSelectedKind(BePluginChoice* choice) const {
  if (!tree_ || !tree_->GetHandle()) return false;
  HTREEITEM item = tree_->GetSelectedItem();
  if (!item || tree_->GetItemImage(item) != kKindImage) return false;
  HTREEITEM parent = tree_->GetParentItem(item);
  if (!parent) return false;
  uint32_t moduleIndex = tree_->GetItemData(parent);
  if (moduleIndex >= static_cast<uint32_t>(modules_.Count())) return false;
  BePluginModule* m = modules_[static_cast<int>(moduleIndex)];
  int kind = static_cast<int>(tree_->GetItemData(item));
  if (!m->Kind(kind)) return false;
  if (choice) {
    choice->module = m;
    choice->kindIndex = kind;
  }
  return true;
}

bool ChoosePluginBlock() {
  auto* form = new CBEPluginChooserForm(MainKestForm, ProgramPluginList());
  if (!form->GetHandle()) {
    delete form;
    return false;
  }
  HWND window = form->GetHandle();
  int result = form->ShowModal(false);
  BePluginChoice choice = {nullptr, 0};
  bool isKind = result == 1 && IsWindow(window) && GetControlFromHandle(window) == form && form->GetSelectedKind(&choice);
  // The answer is read; the form goes at once (unless it went already).
  if (IsWindow(window) && GetControlFromHandle(window) == form) delete form;
  if (result != 1) return false;
  if (!isKind) {
    ShowMessageText(MainKestForm, MB_OK | MB_ICONERROR, L"Ошибка",
                    L"Необходимо выбрать блок из какой-нибудь DLL-библиотеки");
    return false;
  }
  SetPluginChoice(choice.module, choice.kindIndex);
  return true;
}
