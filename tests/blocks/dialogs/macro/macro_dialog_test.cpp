// The macro block's dialog: the name, the two port lists with their rows'
// port blocks, ports created and deleted in the nested scheme on "OK",
// rows that keep their ports (and the macro's pins with their links) when
// moved, "Открыть внутренюю схему", and "Отмена" changing nothing.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/form_steps.h"
#include "blocks/dialogs/interfaces/interface_device_dlg.h"
#include "blocks/dialogs/macro/macro_dialog.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/open_editor_count.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"
#include "blocks/engine/output_pin.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/lists/kest_combo_box.h"
#include "support/form_queries.h"

namespace {

using blocktest::Bench;
using dialogtest::Command;
using dialogtest::DialogTest;
using dialogtest::Find;
using dialogtest::Press;
using dialogtest::Rows;
using dialogtest::RunSteps;
using dialogtest::Step;

class MacroDialogTest : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    macro = bench.Create<CBEMacro>(kBeMacroBlockClassId);
    ASSERT_NE(nullptr, macro);
    ASSERT_NE(nullptr, macro->nested);
  }
  Bench bench;
  CBEMacro* macro = nullptr;
};

CInterfaceDeviceDlg* AsDlg(CKestForm* form) { return dynamic_cast<CInterfaceDeviceDlg*>(form); }

int CountPorts(BeScheme* scheme, unsigned int classId) {
  int n = 0;
  for (CBEBlock* b = scheme->blocks; b; b = b->next) n += b->GetClassId() == classId;
  return n;
}

template <typename T>
T* Port(BeScheme* scheme, unsigned int classId, int index) {
  for (CBEBlock* b = scheme->blocks; b; b = b->next)
    if (b->GetClassId() == classId && static_cast<T*>(b)->index == index) return static_cast<T*>(b);
  return nullptr;
}

// "Поле данных" without a channel: name and type set, "OK".
Step Field(const wchar_t* name, BeSignalType type) {
  return [=](CKestForm* form) {
    EXPECT_TRUE(Find<CKestSpinEdit>(form).empty()) << "no channel part";
    auto combos = Find<CKestComboBox>(form);
    ASSERT_EQ(1u, combos.size());
    EXPECT_EQ(L"char", dialogtest::Selected(combos[0]));
    for (CKestEdit* e : Find<CKestEdit>(form)) dialogtest::TypeInto(e, name);
    for (int i = 0; i < combos[0]->GetCount(); ++i)
      if (static_cast<BeSignalType>(combos[0]->GetItemData(i)) == type) combos[0]->SetSelectedIndex(i);
    Press(form, L"OK");
  };
}

TEST_F(MacroDialogTest, ANewMacroOpensEmptyAndStaysSixtyHighWithoutPorts) {
  EXPECT_TRUE(RunSteps([&] { return macro->ShowProperties(); },
                       {[&](CKestForm* form) {
                         CInterfaceDeviceDlg* dlg = AsDlg(form);
                         ASSERT_NE(nullptr, dlg);
                         HWND window = form->GetHandle();
                         EXPECT_EQ(L"Макроблок", velktest::WindowText(window));
                         RECT rect;
                         GetWindowRect(window, &rect);
                         EXPECT_EQ(550, rect.right - rect.left);
                         EXPECT_EQ(500, rect.bottom - rect.top);
                         EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME);
                         ASSERT_TRUE(dlg->sendList && dlg->receiveList);
                         EXPECT_EQ(2, dlg->sendList->GetColumnCount());
                         EXPECT_EQ(140, ListView_GetColumnWidth(dlg->sendList->GetHandle(), 1));
                         EXPECT_EQ(100, ListView_GetColumnWidth(dlg->receiveList->GetHandle(), 0));
                         EXPECT_EQ(0, dlg->sendList->GetItemCount());
                         EXPECT_EQ(0, dlg->receiveList->GetItemCount());
                         EXPECT_NE(nullptr, dialogtest::FindButton(form, L"Открыть внутренюю схему"));
                         auto edits = Find<CKestEdit>(form);
                         ASSERT_EQ(1u, edits.size());
                         EXPECT_EQ(L"Макроблок", velktest::WindowText(edits[0]->GetHandle()));
                         Press(form, L"OK");
                       }}));
  EXPECT_EQ(60, macro->Height());
  EXPECT_EQ(0, macro->inputCount);
  EXPECT_EQ(0, macro->outputCount);
  EXPECT_EQ(0, CountPorts(macro->nested, kBeMacroInputClassId));
  EXPECT_EQ(0, CountPorts(macro->nested, kBeMacroOutputClassId));
}

TEST_F(MacroDialogTest, AddedRowsBecomePortsOfTheNestedScheme) {
  EXPECT_TRUE(RunSteps([&] { return macro->ShowProperties(); },
                       {[&](CKestForm* form) {
                          CInterfaceDeviceDlg* dlg = AsDlg(form);
                          Command(form, kBeAddSendField);
                          Command(form, kBeAddSendField);
                          Command(form, kBeAddReceiveField);
                          EXPECT_EQ((std::vector<std::wstring>{L"x|int", L"y|float"}), Rows(dlg->sendList));
                          EXPECT_EQ((std::vector<std::wstring>{L"z|bit"}), Rows(dlg->receiveList));
                          RedrawWindow(form->GetHandle(), nullptr, nullptr,
                                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                          velktest::FlushEvents();
                          EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_macro.bmp"));
                          Press(form, L"OK");
                        },
                        Field(L"x", kBeSignalInt), Field(L"y", kBeSignalFloat), Field(L"z", kBeSignalBit)}));
  ASSERT_EQ(2, macro->inputCount);
  ASSERT_EQ(1, macro->outputCount);
  EXPECT_EQ(60, macro->Height());
  auto* x = Port<CBEMacroInput>(macro->nested, kBeMacroInputClassId, 0);
  auto* y = Port<CBEMacroInput>(macro->nested, kBeMacroInputClassId, 1);
  auto* z = Port<CBEMacroOutput>(macro->nested, kBeMacroOutputClassId, 0);
  ASSERT_TRUE(x && y && z);
  EXPECT_STREQ(L"x", x->caption);
  EXPECT_EQ(kBeSignalFloat, y->outputs[0]->type);
  EXPECT_EQ(kBeSignalBit, z->inputs[0]->type);
  EXPECT_EQ(macro, x->owner);
  EXPECT_STREQ(L"y", macro->inputs[1]->name);
  EXPECT_NE(y->caption, macro->inputs[1]->name) << "the pin's own copy";
  EXPECT_EQ(kBeSignalInt, macro->inputs[0]->type);

  // Two more inputs: 80 high. The dialog lists the ports with their types.
  EXPECT_TRUE(RunSteps([&] { return macro->ShowProperties(); },
                       {[&](CKestForm* form) {
                          CInterfaceDeviceDlg* dlg = AsDlg(form);
                          EXPECT_EQ((std::vector<std::wstring>{L"x|int", L"y|float"}), Rows(dlg->sendList));
                          EXPECT_EQ(reinterpret_cast<LPARAM>(x), dlg->sendList->GetItemData(0));
                          Command(form, kBeAddSendField);
                          Command(form, kBeAddSendField);
                          Press(form, L"OK");
                        },
                        Field(L"u", kBeSignalChar), Field(L"v", kBeSignalChar)}));
  EXPECT_EQ(4, CountPorts(macro->nested, kBeMacroInputClassId));
  EXPECT_EQ(80, macro->Height());
}

// Inputs a (int) and b (float) read inside and fed outside; the user moves
// b above a, deletes the output row and cancels nothing else.
TEST_F(MacroDialogTest, MovedRowsKeepTheirPortsAndLinksAndDeletedRowsTheirs) {
  const BeMacroPinRow ins[] = {{L"a", kBeSignalInt, nullptr}, {L"b", kBeSignalFloat, nullptr}};
  const BeMacroPinRow outs[] = {{L"y", kBeSignalInt, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins, 2, outs, 1));
  BeScheme* n = macro->nested;
  auto* a = Port<CBEMacroInput>(n, kBeMacroInputClassId, 0);
  auto* b = Port<CBEMacroInput>(n, kBeMacroInputClassId, 1);
  auto* y = Port<CBEMacroOutput>(n, kBeMacroOutputClassId, 0);
  ASSERT_TRUE(a && b && y);
  CBEBlock* insideA = n->CreateBlock(kBeAbsClassId);
  CBEBlock* insideB = n->CreateBlock(kBeAbsClassId);
  insideA->inputs[0]->type = kBeSignalInt;
  insideB->inputs[0]->type = kBeSignalFloat;
  insideA->inputs[0]->source = a->outputs[0];
  insideB->inputs[0]->source = b->outputs[0];
  CBEBlock* insideY = n->CreateBlock(kBeAbsClassId);
  y->inputs[0]->source = insideY->outputs[0];
  blocktest::Source* feedA = bench.Source(kBeSignalInt);
  blocktest::Source* feedB = bench.Source(kBeSignalFloat);
  bench.Link(feedA, macro, 0);
  bench.Link(feedB, macro, 1);
  blocktest::Source* outside = bench.Source(kBeSignalBit);
  outside->SetInputCount(1);
  outside->Input(0)->type = kBeSignalInt;
  bench.Link(macro, 0, outside, 0);
  BeInputPin* pinB = macro->inputs[1];

  EXPECT_TRUE(RunSteps([&] { return macro->ShowProperties(); },
                       {[&](CKestForm* form) {
                         CInterfaceDeviceDlg* dlg = AsDlg(form);
                         EXPECT_EQ(L"М", velktest::WindowText(form->GetHandle()));
                         velktest::SelectListViewRow(dlg->sendList->GetHandle(), 1);
                         Command(form, kBeSendFieldUp);
                         EXPECT_EQ((std::vector<std::wstring>{L"b|float", L"a|int"}), Rows(dlg->sendList));
                         EXPECT_EQ(reinterpret_cast<LPARAM>(b), dlg->sendList->GetItemData(0));
                         velktest::SelectListViewRow(dlg->receiveList->GetHandle(), 0);
                         Command(form, kBeDeleteReceiveField);
                         Press(form, L"OK");
                       }}));
  EXPECT_EQ(0, b->index);
  EXPECT_EQ(1, a->index);
  EXPECT_EQ(b->outputs[0], insideB->inputs[0]->source) << "nested links stay with their port";
  EXPECT_EQ(a->outputs[0], insideA->inputs[0]->source);
  EXPECT_EQ(pinB, macro->inputs[0]) << "b's pin moved with its row";
  EXPECT_EQ(feedB->Output(0), macro->inputs[0]->source) << "outer links follow their pins";
  EXPECT_EQ(feedA->Output(0), macro->inputs[1]->source);
  EXPECT_STREQ(L"b", macro->inputs[0]->name);
  EXPECT_EQ(0, macro->outputCount);
  EXPECT_EQ(0, CountPorts(n, kBeMacroOutputClassId)) << "the deleted row's port went";
  EXPECT_EQ(nullptr, outside->Input(0)->source);
}

TEST_F(MacroDialogTest, CancelAndEscapeChangeNothing) {
  const BeMacroPinRow ins[] = {{L"a", kBeSignalInt, nullptr}};
  ASSERT_TRUE(ApplyMacroProperties(macro, L"М", ins, 1, nullptr, 0));
  std::vector<uint8_t> before = blocktest::RecordBytes(macro);
  for (bool escape : {false, true}) {
    EXPECT_FALSE(RunSteps([&] { return macro->ShowProperties(); },
                          {[&](CKestForm* form) {
                             CInterfaceDeviceDlg* dlg = AsDlg(form);
                             velktest::SelectListViewRow(dlg->sendList->GetHandle(), 0);
                             Command(form, kBeDeleteSendField);
                             Command(form, kBeAddReceiveField);
                             dialogtest::TypeInto(Find<CKestEdit>(form)[0], L"другое");
                             if (escape) PostMessageW(form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                             else Press(form, L"Отмена");
                           },
                           Field(L"q", kBeSignalInt)}));
    EXPECT_EQ(before, blocktest::RecordBytes(macro));
    EXPECT_EQ(1, CountPorts(macro->nested, kBeMacroInputClassId));
    EXPECT_EQ(0, CountPorts(macro->nested, kBeMacroOutputClassId));
  }
}

TEST_F(MacroDialogTest, AnEmptyNameShowsTheCatalogueCaption) {
  EXPECT_TRUE(RunSteps([&] { return macro->ShowProperties(); },
                       {[&](CKestForm* form) {
                         dialogtest::TypeInto(Find<CKestEdit>(form)[0], L"Регулятор");
                         Press(form, L"OK");
                       }}));
  EXPECT_STREQ(L"Регулятор", macro->GetCaption());
  EXPECT_TRUE(RunSteps([&] { return macro->ShowProperties(); },
                       {[&](CKestForm* form) {
                         EXPECT_EQ(L"Регулятор", velktest::WindowText(form->GetHandle()));
                         dialogtest::TypeInto(Find<CKestEdit>(form)[0], L"");
                         Press(form, L"OK");
                       }}));
  EXPECT_EQ(nullptr, macro->caption);
  EXPECT_STREQ(L"Макроблок", macro->GetCaption());
}

TEST_F(MacroDialogTest, OpeningTheInnerSchemeAppliesFirstThenOpensAnEditor) {
  ASSERT_TRUE(frame->CreateMDIClient());
  int editors = BeOpenEditorCount;
  EXPECT_TRUE(RunSteps([&] { return macro->ShowProperties(); },
                       {[&](CKestForm* form) {
                          Command(form, kBeAddSendField);
                          Press(form, L"Открыть внутренюю схему");
                        },
                        Field(L"in", kBeSignalShort)}));
  EXPECT_EQ(1, macro->inputCount);
  EXPECT_EQ(1, CountPorts(macro->nested, kBeMacroInputClassId));
  EXPECT_EQ(kBeSignalShort, macro->inputs[0]->type);
  EXPECT_EQ(editors + 1, BeOpenEditorCount);
  CBEEditor* editor = nullptr;
  for (int i = 0; i < LiveForms.count; ++i)
    if (auto* e = dynamic_cast<CBEEditor*>(LiveForms.forms[i])) editor = e;
  ASSERT_NE(nullptr, editor);
  EXPECT_EQ(macro->nested, editor->GetScheme());
}

}  // namespace
