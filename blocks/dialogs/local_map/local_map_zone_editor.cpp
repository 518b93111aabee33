#include "blocks/dialogs/local_map/local_map_zone_editor.h"

#include <cwchar>

#include "foundation/numbers.h"
#include "blocks/dialogs/frame/property_form.h"
#include "kestui/buttons/kest_label.h"

namespace {
const int kWidth = 400, kHeight = 350;
const int kRowHeight = 22;
const int kButtonWidth = 100;
const int kMaskBits = 32;
}  // namespace

void KeepZoneOpen(LocalMapZone* zone) {
  if (RoundToFloat(zone->xMax) < RoundToFloat(zone->xMin)) zone->xMax = RoundToFloat(zone->xMin + 0.01);
  if (RoundToFloat(zone->yMax) < RoundToFloat(zone->yMin)) zone->yMax = RoundToFloat(zone->yMin + 0.01);
}

CKestSpinEdit* CLocalMapZoneEditor::AddField(const wchar_t* caption, float metres) {
  new CKestLabel(this, caption, KEST_POS_FLOW, false, 50, kRowHeight, 1);
  auto* edit = new CKestSpinEdit(this, 0, false, -10000, 10000, 1, KEST_POS_FLOW, 100, kRowHeight);
  edit->SetValue(static_cast<double>(metres) * 100);
  return edit;
}

bool CLocalMapZoneEditor::Build(CKestControl* owner, const wchar_t* caption, const LocalMapZone& zone) {
  if (!Create(owner, caption ? caption : L"", KEST_POS_CENTER, kWidth, kHeight, nullptr, false, false, true, true))
    return false;
  SetReady(false);
  edits_[kX1] = AddField(L"X1, см:", zone.xMin);
  edits_[kY1] = AddField(L"Y1, см:", zone.yMin);
  NewFlowRow();
  edits_[kX2] = AddField(L"X2, см:", zone.xMax);
  edits_[kY2] = AddField(L"Y2, см:", zone.yMax);
  NewFlowRow();
  layers_ = new CKestCheckGroupBox(this, 0, L"Сканируемые слои", KEST_POS_FLOW, 380, 200);
  layers_->columns = 4;
  layers_->BeginUpdate();
  for (int j = 0; j < kMaskBits; ++j) {
    wchar_t text[20];
    swprintf(text, 20, L"Слой %d", j);
    int item = layers_->AddItem(text);
    if (item >= 0) layers_->SetItemChecked(item, (zone.layerMask >> j) & 1u);
  }
  layers_->EndUpdate();
  NewFlowRow();
  AddDialogButtons(this, kButtonWidth, &ok_, &cancel_);
  SetReady(true);
  return true;
}

bool CLocalMapZoneEditor::Confirm() { return ConfirmDialogForm(this); }

LocalMapZone CLocalMapZoneEditor::Read() const {
  LocalMapZone zone = {};
  zone.xMin = RoundToFloat(edits_[kX1]->GetValue() / 100);
  zone.yMin = RoundToFloat(edits_[kY1]->GetValue() / 100);
  zone.xMax = RoundToFloat(edits_[kX2]->GetValue() / 100);
  zone.yMax = RoundToFloat(edits_[kY2]->GetValue() / 100);
  KeepZoneOpen(&zone);
  for (int j = 0; j < kMaskBits && j < layers_->GetItemCount(); ++j)
    if (layers_->IsItemChecked(j)) zone.layerMask |= 1u << j;
  return zone;
}
