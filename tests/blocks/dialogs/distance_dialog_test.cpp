// The distance block's dialog on a real form: its layout, what it shows,
// "OK" writing the dimension and the type (pins rebuilt, links kept or
// dropped by type) and "Отмена" changing nothing.
#include <windows.h>

#include <string>
#include <vector>

#include "block_kit.h"
#include "blocks/dialogs/dialog_classes.h"
#include "blocks/dialogs/distance_dialog.h"
#include "blocks/library/math/vectors/distance.h"
#include "blocks/library/math/vectors/length.h"
#include "blocks/library/typed_block.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/forms/kest_form.h"
#include "support/form_queries.h"
#include "support/live_forms.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;

// The program's main form, which owns the dialogs.
class DistanceDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    frame = new CKestForm;
    ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(10, 10), 600, 400, nullptr, true, true, true, true));
    frame->Show(false);
    ASSERT_EQ(frame, MainKestForm);
    ASSERT_TRUE(RegisterBlockDialogs());
  }
  void TearDown() override { velktest::CloseAllLiveForms(); }

  blocktest::DialogScope dialogs;
  CKestForm* frame = nullptr;
};

CBEDistanceDialog* OpenDialog() {
  for (int i = LiveForms.count - 1; i >= 0; i--)
    if (auto* d = dynamic_cast<CBEDistanceDialog*>(LiveForms.forms[i])) return d;
  return nullptr;
}

std::vector<CKestLabel*> Labels(HWND form) {
  std::vector<CKestLabel*> labels;
  for (HWND child : velktest::Children(form))
    if (auto* label = dynamic_cast<CKestLabel*>(GetControlFromHandle(child))) labels.push_back(label);
  return labels;
}

std::wstring Text(CKestControl* control) { return velktest::WindowText(control->GetHandle()); }

TEST_F(DistanceDialogTest, ShowsTheDimensionAndTheTypeInItsLayout) {
  Bench bench;
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  ASSERT_TRUE(distance->ApplyProperties(5, kBeSignalShort));
  distance->SetCaption(L"Расстояние до цели");
  auto* dialog = new CBEDistanceDialog;
  ASSERT_TRUE(dialog->Build(distance));
  HWND form = dialog->GetHandle();
  EXPECT_EQ(frame->GetHandle(), GetWindow(form, GW_OWNER));
  EXPECT_EQ(L"Расстояние до цели", velktest::WindowText(form));
  RECT window;
  GetWindowRect(form, &window);
  EXPECT_EQ(200, window.right - window.left);
  EXPECT_EQ(170, window.bottom - window.top);
  // Centred on the screen.
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(screenW / 2, (window.left + window.right) / 2, 2);
  EXPECT_NEAR(screenH / 2, (window.top + window.bottom) / 2, 2);

  CKestSpinEdit* dimension = dialog->GetDimensionEdit();
  ASSERT_NE(nullptr, dimension);
  EXPECT_EQ(5, dimension->GetIntValue());
  EXPECT_TRUE(dimension->IsInteger());
  EXPECT_EQ(2, dimension->GetMinimum());
  EXPECT_EQ(127, dimension->GetMaximum());
  EXPECT_EQ(1, dimension->GetStep());
  CKestComboBox* types = dialog->GetTypeList();
  ASSERT_NE(nullptr, types);
  EXPECT_FALSE(types->IsEditable());
  const wchar_t* names[] = {L"char", L"short", L"int", L"float", L"double"};
  ASSERT_EQ(5, types->GetCount());
  for (int i = 0; i < 5; ++i) {
    wchar_t text[16] = {};
    types->GetItemText(i, text);
    EXPECT_STREQ(names[i], text);
  }
  EXPECT_EQ(1, types->GetSelectedIndex());
  EXPECT_EQ(L"OK", Text(dialog->GetOkButton()));
  EXPECT_EQ(L"Отмена", Text(dialog->GetCancelButton()));
  EXPECT_EQ(1, dialog->GetOkButton()->GetModalResult());
  EXPECT_EQ(2, dialog->GetCancelButton()->GetModalResult());
  EXPECT_TRUE(GetWindowLongW(dialog->GetOkButton()->GetHandle(), GWL_STYLE) & BS_DEFPUSHBUTTON);

  // Rows: "Размерность вектора:" with the spin edit, "Тип данных:" with the
  // list, then the two buttons centred.
  std::vector<CKestLabel*> labels = Labels(form);
  ASSERT_EQ(2u, labels.size());
  EXPECT_EQ(L"Размерность вектора:", Text(labels[0]));
  EXPECT_EQ(L"Тип данных:", Text(labels[1]));
  RECT label0 = velktest::RectIn(form, labels[0]->GetHandle());
  RECT label1 = velktest::RectIn(form, labels[1]->GetHandle());
  RECT client;
  GetClientRect(form, &client);
  RECT spin = velktest::RectIn(form, dimension->GetHandle());
  RECT list = velktest::RectIn(form, types->GetHandle());
  RECT ok = velktest::RectIn(form, dialog->GetOkButton()->GetHandle());
  RECT cancel = velktest::RectIn(form, dialog->GetCancelButton()->GetHandle());
  EXPECT_EQ(60, spin.right - spin.left);
  EXPECT_EQ(22, spin.bottom - spin.top);
  EXPECT_EQ(120, list.right - list.left);
  EXPECT_EQ(80, ok.right - ok.left);
  EXPECT_EQ(25, ok.bottom - ok.top);
  EXPECT_EQ(80, cancel.right - cancel.left);
  // Each label stands over its field (side by side they would not fit the
  // 200 pixels of the form in the framework's font).
  EXPECT_LE(label0.bottom, spin.top + 1) << "the label above the spin edit";
  EXPECT_EQ(label0.left, spin.left);
  EXPECT_LE(label1.bottom, list.top + 1);
  EXPECT_EQ(label1.left, list.left);
  EXPECT_GT(label1.top, spin.bottom - 1);
  EXPECT_LE(spin.right, client.right);
  EXPECT_LE(list.right, client.right);
  EXPECT_GT(ok.top, list.top);
  EXPECT_EQ(ok.top, cancel.top);
  EXPECT_LT(ok.right, cancel.left + 1);
  EXPECT_NEAR(client.right / 2, (ok.left + cancel.right) / 2, 2) << "the buttons centred";
  EXPECT_LE(cancel.right, client.right);
  EXPECT_LE(ok.bottom, client.bottom);

  dialog->Show(false);
  velktest::FlushEvents();
  EXPECT_TRUE(velktest::SaveScreenshot(form, L"dialogs_distance.bmp"));
  delete dialog;
  velktest::FlushEvents();
}

// Closes the dialog once its modal loop runs: sets the dimension and the
// type, then clicks a button.
struct Answer {
  int dimension;      // 0: leave the field
  const wchar_t* dimensionText;  // typed instead when not null
  int typeIndex;      // -1: leave the list
  bool ok;
  bool seen;
};
Answer g_answer;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
  CBEDistanceDialog* d = OpenDialog();
  if (!d || !IsWindowVisible(d->GetHandle())) return;
  KillTimer(nullptr, id);
  g_answer.seen = true;
  if (g_answer.dimension) d->GetDimensionEdit()->SetIntValue(g_answer.dimension);
  if (g_answer.dimensionText) {
    // Typed over the whole field.
    HWND edit = d->GetDimensionEdit()->GetHandle();
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t* c = g_answer.dimensionText; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
  }
  if (g_answer.typeIndex >= 0) d->GetTypeList()->SetSelectedIndex(g_answer.typeIndex);
  CKestButton* button = g_answer.ok ? d->GetOkButton() : d->GetCancelButton();
  SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
}

// ShowProperties with the program's dialogs, answered as g_answer says.
bool RunDialog(CBEBlock* block, const Answer& answer) {
  g_answer = answer;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, AnswerDialog);
  EXPECT_NE(0u, timer);
  bool changed = block->ShowProperties();
  KillTimer(nullptr, timer);
  velktest::FlushEvents();
  EXPECT_TRUE(g_answer.seen) << "the dialog was shown";
  EXPECT_EQ(nullptr, OpenDialog()) << "the dialog is gone";
  return changed;
}

TEST_F(DistanceDialogTest, OkRebuildsThePinsKeepingLinksOfTheSameType) {
  Bench bench;
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  ASSERT_TRUE(distance->ApplyProperties(3, kBeSignalInt));
  std::vector<blocktest::Source*> sources;
  for (int i = 0; i < 6; ++i) {
    sources.push_back(bench.Source(kBeSignalInt));
    bench.Link(sources.back(), distance, i);
  }
  auto* reader = bench.Create<CBELength>(kBeLengthClassId);
  ChangeBlockType(reader, kBeSignalInt);
  reader->UpdatePinsAndCosts();
  bench.Link(distance, reader, 0);

  // d = 2, int: inputs 0 to 3 keep their links (the third A input becomes
  // the first B input), the output stays connected.
  EXPECT_TRUE(RunDialog(distance, {2, nullptr, 2, true, false}));
  ASSERT_EQ(4, distance->inputCount);
  EXPECT_EQ(100, distance->Height());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(sources[i]->Output(0), distance->Input(i)->source) << i;
  const int offsets[] = {10, 30, 60, 80};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(offsets[i], distance->Input(i)->yOffset) << i;
  EXPECT_STREQ(L"B", distance->Input(2)->name);
  EXPECT_EQ(distance->Output(0), reader->Input(0)->source);
  EXPECT_EQ(Costs(380, 10, 0, true), CostsOf(distance));

  // d = 4, double: every link of the int pins goes, the new pins come.
  EXPECT_TRUE(RunDialog(distance, {4, nullptr, 4, true, false}));
  ASSERT_EQ(8, distance->inputCount);
  EXPECT_EQ(180, distance->Height());
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(nullptr, distance->Input(i)->source) << i;
    EXPECT_EQ(kBeSignalDouble, distance->Input(i)->type) << i;
  }
  EXPECT_EQ(kBeSignalDouble, distance->GetType());
  EXPECT_EQ(nullptr, reader->Input(0)->source) << "the output was disconnected";
  EXPECT_EQ(90, distance->Output(0)->yOffset);
  EXPECT_EQ(Costs(490, 20, 0, true), CostsOf(distance));

  // A typed dimension beyond the range is held within 2..127.
  EXPECT_TRUE(RunDialog(distance, {0, L"500", -1, true, false}));
  EXPECT_EQ(127, distance->GetDimension());
  EXPECT_EQ(kBeSignalDouble, distance->GetType());
  EXPECT_TRUE(RunDialog(distance, {0, L"1", -1, true, false}));
  EXPECT_EQ(2, distance->GetDimension());
}

TEST_F(DistanceDialogTest, CancelChangesNothing) {
  Bench bench;
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  auto* a = bench.Source(kBeSignalFloat);
  bench.Link(a, distance, 0);
  std::vector<uint8_t> before = blocktest::RecordBytes(distance);
  EXPECT_FALSE(RunDialog(distance, {9, nullptr, 0, false, false}));
  EXPECT_EQ(before, blocktest::RecordBytes(distance));
  EXPECT_EQ(a->Output(0), distance->Input(0)->source);
  EXPECT_EQ(kBeSignalFloat, distance->GetType());
  EXPECT_EQ(Costs(380, 10, 0, true), CostsOf(distance));
}

// Esc closes it as "Отмена" does.
void CALLBACK EscapeDialog(HWND, UINT, UINT_PTR id, DWORD) {
  CBEDistanceDialog* d = OpenDialog();
  if (!d || !IsWindowVisible(d->GetHandle())) return;
  KillTimer(nullptr, id);
  g_answer.seen = true;
  d->GetDimensionEdit()->SetIntValue(7);
  HWND focus = GetFocus() ? GetFocus() : d->GetHandle();
  PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(DistanceDialogTest, EscapeChangesNothing) {
  Bench bench;
  auto* distance = bench.Create<CBEDistance>(kBeDistanceClassId);
  g_answer = {};
  UINT_PTR timer = SetTimer(nullptr, 0, 10, EscapeDialog);
  bool changed = distance->ShowProperties();
  KillTimer(nullptr, timer);
  velktest::FlushEvents();
  EXPECT_TRUE(g_answer.seen);
  EXPECT_FALSE(changed);
  EXPECT_EQ(2, distance->GetDimension());
}

}  // namespace
