// The data-channel dialog of the interface devices: the two field lists
// with their tool strips and popup menus, "Поле данных", and what "OK"
// writes back: each row keeps the field (pin) it came from, so links follow
// their fields; "Отмена" changes nothing.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "blocks/dialogs/dialog_driver.h"
#include "blocks/dialogs/form_steps.h"
#include "blocks/dialogs/interfaces/data_field_dialog.h"
#include "blocks/dialogs/interfaces/interface_device_dlg.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/interfaces/com_port.h"
#include "blocks/library/interfaces/lan_adapter.h"
#include "blocks/library/mcu/uart.h"
#include "blocks/library/typed_block.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/lists/kest_combo_box.h"
#include "kestui/menus/kest_popup_menu.h"
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

class InterfaceDeviceDlgTest : public DialogTest {};

CInterfaceDeviceDlg* AsDlg(CKestForm* form) { return dynamic_cast<CInterfaceDeviceDlg*>(form); }

// A reader of one of the block's outputs, of its type.
CBEBlock* Reader(Bench& bench, CBEBlock* block, int output) {
  blocktest::Source* reader = bench.Source(kBeSignalBit);
  reader->SetInputCount(1);
  reader->Input(0)->type = block->Output(output)->type;
  bench.Link(block, output, reader, 0);
  return reader;
}

void Select(CKestListView* list, int row) {
  ASSERT_NE(nullptr, list);
  velktest::SelectListViewRow(list->GetHandle(), row);
}

bool MenuItemEnabled(CKestPopupMenu* menu, int position) {
  return !(GetMenuState(menu->GetHandle(), position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
}

// "Поле данных" answered: checks what it opened with, then sets a name, a
// type (by code) and a channel (-1 leaves the channel controls alone; 255
// checks "Канал=номер робота") and presses "OK" (or "Отмена").
Step FieldStep(const wchar_t* expectName, BeSignalType expectType, int expectChannel, const wchar_t* name,
               BeSignalType type, int channel, bool ok = true) {
  return [=](CKestForm* form) {
    EXPECT_EQ(L"Поле данных", velktest::WindowText(form->GetHandle()));
    auto edits = Find<CKestEdit>(form);
    auto combos = Find<CKestComboBox>(form);
    auto spins = Find<CKestSpinEdit>(form);
    auto checks = Find<CKestCheckBox>(form);
    ASSERT_EQ(1u, combos.size());
    CKestEdit* nameEdit = nullptr;
    for (CKestEdit* e : edits)
      if (!dynamic_cast<CKestSpinEdit*>(e)) nameEdit = e;
    ASSERT_NE(nullptr, nameEdit);
    EXPECT_EQ(expectName, velktest::WindowText(nameEdit->GetHandle()));
    EXPECT_EQ(nameEdit->GetHandle(), GetFocus());
    EXPECT_EQ(63, static_cast<int>(SendMessageW(nameEdit->GetHandle(), EM_GETLIMITTEXT, 0, 0)));
    int selected = combos[0]->GetSelectedIndex();
    EXPECT_EQ(expectType, selected >= 0 ? static_cast<BeSignalType>(combos[0]->GetItemData(selected)) : -1);
    if (expectChannel < 0) {
      EXPECT_TRUE(spins.empty());
      EXPECT_TRUE(checks.empty());
    } else {
      ASSERT_EQ(1u, spins.size());
      ASSERT_EQ(1u, checks.size());
      EXPECT_EQ(expectChannel, spins[0]->GetIntValue());
      EXPECT_EQ(expectChannel == 255, checks[0]->IsChecked());
    }
    if (name) dialogtest::TypeInto(nameEdit, name);
    for (int i = 0; i < combos[0]->GetCount(); ++i)
      if (static_cast<BeSignalType>(combos[0]->GetItemData(i)) == type) combos[0]->SetSelectedIndex(i);
    if (channel >= 0 && !spins.empty()) {
      bool robot = channel == 255;
      if (checks[0]->IsChecked() != robot) SendMessageW(checks[0]->GetHandle(), BM_CLICK, 0, 0);
      if (!robot) spins[0]->SetIntValue(channel);
    }
    Press(form, ok ? L"OK" : L"Отмена");
  };
}

TEST_F(InterfaceDeviceDlgTest, AddingFieldsOpensTheFieldDialogAndOkWritesThem) {
  Bench bench;
  auto* lan = bench.Create<CBELAN>(kBeLANClassId);
  ASSERT_NE(nullptr, lan);
  lan->SetCaption(L"LAN");
  EXPECT_TRUE(RunSteps([&] { return lan->ShowProperties(); },
                       {[&](CKestForm* form) {
                          CInterfaceDeviceDlg* dlg = AsDlg(form);
                          ASSERT_NE(nullptr, dlg);
                          HWND window = form->GetHandle();
                          EXPECT_EQ(L"LAN", velktest::WindowText(window));
                          EXPECT_EQ(MainKestForm->GetHandle(), GetWindow(window, GW_OWNER));
                          RECT rect;
                          GetWindowRect(window, &rect);
                          EXPECT_EQ(550, rect.right - rect.left);
                          EXPECT_EQ(500, rect.bottom - rect.top);
                          LONG style = GetWindowLongW(window, GWL_STYLE);
                          EXPECT_TRUE(style & WS_THICKFRAME);
                          EXPECT_FALSE(style & WS_MINIMIZEBOX);
                          // No top panel: the two lists and the buttons alone.
                          EXPECT_TRUE(Find<CKestComboBox>(form).empty());
                          EXPECT_TRUE(Find<CKestCheckBox>(form).empty());
                          EXPECT_TRUE(Find<CKestVSplitter>(form).empty()) << "no fixed outputs: no splitter";
                          ASSERT_TRUE(dlg->sendList && dlg->receiveList);
                          EXPECT_EQ(3, dlg->sendList->GetColumnCount());
                          EXPECT_EQ(0, dlg->sendList->GetItemCount());
                          EXPECT_EQ(0, dlg->receiveList->GetItemCount());
                          EXPECT_EQ(90, ListView_GetColumnWidth(dlg->sendList->GetHandle(), 0));
                          EXPECT_EQ(100, ListView_GetColumnWidth(dlg->receiveList->GetHandle(), 0));
                          EXPECT_EQ(70, ListView_GetColumnWidth(dlg->receiveList->GetHandle(), 2));
                          RECT send = velktest::RectIn(window, dlg->sendList->GetHandle());
                          RECT receive = velktest::RectIn(window, dlg->receiveList->GetHandle());
                          EXPECT_LE(send.right, receive.left) << "side by side";
                          // Add a sent field: "Поле данных" opens on it at once.
                          Command(form, kBeAddSendField);
                          EXPECT_EQ((std::vector<std::wstring>{L"скорость|int|7"}), Rows(dlg->sendList));
                          // A received field on the robot's channel.
                          Command(form, kBeAddReceiveField);
                          EXPECT_EQ((std::vector<std::wstring>{L"ответ|float|n"}), Rows(dlg->receiveList));
                          // A second one, the field dialog cancelled: the row stays as added.
                          Command(form, kBeAddReceiveField);
                          EXPECT_EQ((std::vector<std::wstring>{L"ответ|float|n", L"|char|0"}),
                                    Rows(dlg->receiveList));
                          EXPECT_EQ(1, dlg->receiveList->GetSelectedIndex());
                          RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                          velktest::FlushEvents();
                          EXPECT_TRUE(velktest::SaveScreenshot(window, L"dialogs_lan.bmp"));
                          Press(form, L"OK");
                        },
                        FieldStep(L"", kBeSignalChar, 0, L"скорость", kBeSignalInt, 7),
                        FieldStep(L"", kBeSignalChar, 0, L"ответ", kBeSignalFloat, 255),
                        FieldStep(L"", kBeSignalChar, 0, L"x", kBeSignalInt, 3, false)}));
  ASSERT_EQ(1, lan->SendFieldCount());
  ASSERT_EQ(2, lan->ReceiveFieldCount());
  EXPECT_STREQ(L"скорость", lan->SendField(0)->name);
  EXPECT_EQ(kBeSignalInt, lan->SendField(0)->type);
  EXPECT_EQ(7, lan->sendChannels[0]);
  EXPECT_STREQ(L"ответ", lan->ReceiveField(0)->name);
  EXPECT_EQ(kBeSignalFloat, lan->ReceiveField(0)->type);
  EXPECT_EQ(255, lan->receiveChannels[0]);
  EXPECT_EQ(nullptr, lan->ReceiveField(1)->name) << "an empty name: no name";
  EXPECT_EQ(kBeSignalChar, lan->ReceiveField(1)->type);
  EXPECT_EQ(0, lan->receiveChannels[1]);
  EXPECT_EQ(40, lan->Height());
}

// Three received fields a (int), b (short), c (int), each read; two sent
// fields. The user deletes b, moves c above a and exchanges the sent ones.
TEST_F(InterfaceDeviceDlgTest, LinksFollowTheirFieldsThroughDeletesAndMoves) {
  Bench bench;
  auto* com = bench.Create<CBECOMPort>(kBeCOMPortClassId);
  ASSERT_NE(nullptr, com);
  ASSERT_TRUE(com->SetReceiveFieldCount(3));
  ASSERT_TRUE(com->SetReceiveField(0, L"a", kBeSignalInt, 1));
  ASSERT_TRUE(com->SetReceiveField(1, L"b", kBeSignalShort, 2));
  ASSERT_TRUE(com->SetReceiveField(2, L"c", kBeSignalInt, 255));
  ASSERT_TRUE(com->SetSendFieldCount(2));
  ASSERT_TRUE(com->SetSendField(0, L"x", kBeSignalInt, 4));
  ASSERT_TRUE(com->SetSendField(1, L"y", kBeSignalFloat, 5));
  BeOutputPin* a = com->ReceiveField(0);
  BeOutputPin* c = com->ReceiveField(2);
  CBEBlock* readA = Reader(bench, com, 0);
  CBEBlock* readB = Reader(bench, com, 1);
  CBEBlock* readC = Reader(bench, com, 2);
  blocktest::Source* sx = bench.Source(kBeSignalInt);
  blocktest::Source* sy = bench.Source(kBeSignalFloat);
  bench.Link(sx, com, 0);
  bench.Link(sy, com, 1);

  EXPECT_TRUE(RunSteps([&] { return com->ShowProperties(); },
                       {[&](CKestForm* form) {
                         CInterfaceDeviceDlg* dlg = AsDlg(form);
                         ASSERT_NE(nullptr, dlg);
                         EXPECT_EQ((std::vector<std::wstring>{L"a|int|1", L"b|short|2", L"c|int|n"}),
                                   Rows(dlg->receiveList));
                         // Delete b by its shortcut while the list has the focus.
                         Select(dlg->receiveList, 1);
                         SetFocus(dlg->receiveList->GetHandle());
                         SendMessageW(dlg->receiveList->GetHandle(), WM_KEYDOWN, VK_DELETE, 0);
                         EXPECT_EQ((std::vector<std::wstring>{L"a|int|1", L"c|int|n"}), Rows(dlg->receiveList));
                         EXPECT_EQ(-1, dlg->receiveList->GetSelectedIndex());
                         Select(dlg->receiveList, 1);
                         Command(form, kBeReceiveFieldUp);
                         EXPECT_EQ((std::vector<std::wstring>{L"c|int|n", L"a|int|1"}), Rows(dlg->receiveList));
                         EXPECT_EQ(0, dlg->receiveList->GetSelectedIndex());
                         Select(dlg->sendList, 0);
                         Command(form, kBeSendFieldDown);
                         EXPECT_EQ((std::vector<std::wstring>{L"y|float|5", L"x|int|4"}), Rows(dlg->sendList));
                         EXPECT_EQ(1, dlg->sendList->GetSelectedIndex());
                         Press(form, L"OK");
                       }}));
  ASSERT_EQ(2, com->ReceiveFieldCount());
  EXPECT_EQ(c, com->ReceiveField(0));
  EXPECT_EQ(a, com->ReceiveField(1));
  EXPECT_STREQ(L"c", com->ReceiveField(0)->name);
  EXPECT_EQ(255, com->receiveChannels[0]);
  EXPECT_EQ(1, com->receiveChannels[1]);
  EXPECT_EQ(c, readC->Input(0)->source) << "c's reader still reads c";
  EXPECT_EQ(a, readA->Input(0)->source) << "a's reader still reads a";
  EXPECT_EQ(nullptr, readB->Input(0)->source) << "b's reader lost its link with b";
  EXPECT_STREQ(L"y", com->SendField(0)->name);
  EXPECT_EQ(sy->Output(0), com->SendField(0)->source) << "y keeps its source";
  EXPECT_EQ(sx->Output(0), com->SendField(1)->source) << "x keeps its source";
  EXPECT_EQ(5, com->sendChannels[0]);
}

TEST_F(InterfaceDeviceDlgTest, ButtonsAndMenuItemsFollowTheSelection) {
  Bench bench;
  auto* uart = bench.Create<CBEUART>(kBeAvrUARTClassId);
  ASSERT_NE(nullptr, uart);
  ASSERT_TRUE(uart->SetSendFieldCount(3));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(uart->SetSendField(i, L"f", kBeSignalChar, 0));
  EXPECT_FALSE(RunSteps(
      [&] { return uart->ShowProperties(); },
      {[&](CKestForm* form) {
         CInterfaceDeviceDlg* dlg = AsDlg(form);
         ASSERT_NE(nullptr, dlg);
         EXPECT_EQ(1u, Find<CKestVSplitter>(form).size()) << "a UART has fixed outputs: a splitter";
         struct Expect {
           int row;  // -1: none
           bool remove, up, down;
         };
         const Expect cases[] = {{-1, false, false, false}, {0, true, false, true}, {1, true, true, true},
                                 {2, true, true, false}};
         for (const Expect& e : cases) {
           SCOPED_TRACE(e.row);
           if (e.row < 0) {
             ListView_SetItemState(dlg->sendList->GetHandle(), -1, 0, LVIS_SELECTED);
           } else {
             Select(dlg->sendList, e.row);
           }
           velktest::FlushEvents();
           EXPECT_EQ(e.remove, dlg->sendDelete->IsEnabled());
           EXPECT_EQ(e.up, dlg->sendUp->IsEnabled());
           EXPECT_EQ(e.down, dlg->sendDown->IsEnabled());
           EXPECT_EQ(e.remove, MenuItemEnabled(dlg->sendPopup, 0)) << "Правка";
           EXPECT_TRUE(MenuItemEnabled(dlg->sendPopup, 2)) << "the add item";
           EXPECT_EQ(e.remove, MenuItemEnabled(dlg->sendPopup, 3));
           EXPECT_EQ(e.up, MenuItemEnabled(dlg->sendPopup, 5));
           EXPECT_EQ(e.down, MenuItemEnabled(dlg->sendPopup, 6));
         }
         // The popup: its items, ids and shortcuts; "Правка" is the default.
         HMENU menu = dlg->sendPopup->GetHandle();
         const int ids[] = {1999, 0, 2000, 2001, 0, 2002, 2003};
         ASSERT_EQ(7, GetMenuItemCount(menu));
         for (int i = 0; i < 7; ++i) EXPECT_EQ(ids[i], static_cast<int>(GetMenuItemID(menu, i))) << i;
         EXPECT_EQ(0u, GetMenuDefaultItem(menu, TRUE, 0));
         EXPECT_EQ(2005, static_cast<int>(GetMenuItemID(dlg->receivePopup->GetHandle(), 0)));
         // With nothing selected, the commands do nothing.
         ListView_SetItemState(dlg->sendList->GetHandle(), -1, 0, LVIS_SELECTED);
         for (UINT command : {kBeDeleteSendField, kBeSendFieldUp, kBeSendFieldDown, kBeEditSendField})
           Command(form, command);
         EXPECT_EQ(3, dlg->sendList->GetItemCount());
         // A double click on a row opens "Поле данных" on it.
         Select(dlg->sendList, 1);
         NMHDR header = {dlg->sendList->GetHandle(), 0, static_cast<UINT>(NM_DBLCLK)};
         EXPECT_EQ(1, SendMessageW(form->GetHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)));
         velktest::FlushEvents();
         EXPECT_EQ(L"g|bit|n", Rows(dlg->sendList)[1]);
         Press(form, L"Отмена");
       },
       FieldStep(L"f", kBeSignalChar, 0, L"g", kBeSignalBit, 255)}));
  EXPECT_STREQ(L"f", uart->SendField(1)->name) << "Отмена wrote nothing";
  EXPECT_EQ(3, uart->SendFieldCount());
}

TEST_F(InterfaceDeviceDlgTest, CancelChangesNothingWhateverWasDone) {
  Bench bench;
  auto* com = bench.Create<CBECOMPort>(kBeCOMPortClassId);
  ASSERT_NE(nullptr, com);
  ASSERT_TRUE(com->SetReceiveFieldCount(2));
  ASSERT_TRUE(com->SetReceiveField(0, L"a", kBeSignalInt, 1));
  ASSERT_TRUE(com->SetReceiveField(1, L"b", kBeSignalShort, 2));
  CBEBlock* reader = Reader(bench, com, 1);
  std::vector<uint8_t> before = blocktest::RecordBytes(com);
  for (dialogtest::Close close : {dialogtest::Close::kCancel, dialogtest::Close::kEscape}) {
    EXPECT_FALSE(RunSteps([&] { return com->ShowProperties(); },
                          {[&](CKestForm* form) {
                             CInterfaceDeviceDlg* dlg = AsDlg(form);
                             Select(dlg->receiveList, 0);
                             Command(form, kBeDeleteReceiveField);
                             Command(form, kBeAddSendField);
                             if (close == dialogtest::Close::kCancel) {
                               Press(form, L"Отмена");
                             } else {
                               SetFocus(dlg->sendList->GetHandle());
                               PostMessageW(dlg->sendList->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
                             }
                           },
                           FieldStep(L"", kBeSignalChar, 0, L"new", kBeSignalInt, 1)}));
    EXPECT_EQ(before, blocktest::RecordBytes(com));
    EXPECT_EQ(com->ReceiveField(1), reader->Input(0)->source);
  }
}

// A field on the robot's channel shows "n" and opens with the box checked;
// unchecking it while the number still shows 255 still gives 255. A type the
// list does not offer opens with none chosen and stays. A name longer than
// 63 characters comes back cut to 63.
TEST_F(InterfaceDeviceDlgTest, RobotChannelUnofferedTypeAndLongNames) {
  Bench bench;
  auto* lan = bench.Create<CBELAN>(kBeLANClassId);
  ASSERT_NE(nullptr, lan);
  ASSERT_TRUE(lan->SetSendFieldCount(3));
  std::wstring longName(70, L'ж');
  ASSERT_TRUE(lan->SetSendField(0, longName.c_str(), kBeSignalChar, 3));
  ASSERT_TRUE(lan->SetSendField(1, L"r", kBeSignalChar, 255));
  ASSERT_TRUE(lan->SetSendField(2, L"a", kBeSignalAnalog, 9));
  EXPECT_TRUE(RunSteps([&] { return lan->ShowProperties(); },
                       {[&](CKestForm* form) {
                          CInterfaceDeviceDlg* dlg = AsDlg(form);
                          EXPECT_EQ((std::vector<std::wstring>{longName + L"|char|3", L"r|char|n",
                                                               L"a|Аналоговый|9"}),
                                    Rows(dlg->sendList));
                          Select(dlg->sendList, 1);
                          Command(form, kBeEditSendField);
                          Select(dlg->sendList, 2);
                          Command(form, kBeEditSendField);
                          Press(form, L"OK");
                        },
                        [&](CKestForm* form) {
                          auto checks = Find<CKestCheckBox>(form);
                          auto spins = Find<CKestSpinEdit>(form);
                          ASSERT_EQ(1u, checks.size());
                          EXPECT_TRUE(checks[0]->IsChecked());
                          EXPECT_EQ(255, spins[0]->GetIntValue());
                          SendMessageW(checks[0]->GetHandle(), BM_CLICK, 0, 0);
                          EXPECT_FALSE(checks[0]->IsChecked());
                          Press(form, L"OK");
                        },
                        [&](CKestForm* form) {
                          auto combos = Find<CKestComboBox>(form);
                          ASSERT_EQ(1u, combos.size());
                          EXPECT_EQ(-1, combos[0]->GetSelectedIndex()) << "an analog type is not offered";
                          EXPECT_EQ(18, combos[0]->GetCount());
                          Press(form, L"OK");
                        }}));
  EXPECT_EQ(std::wstring(63, L'ж'), lan->SendField(0)->name) << "cut to 63 characters";
  EXPECT_EQ(3, lan->sendChannels[0]);
  EXPECT_EQ(255, lan->sendChannels[1]);
  EXPECT_EQ(kBeSignalAnalog, lan->SendField(2)->type);
  EXPECT_EQ(9, lan->sendChannels[2]);
}

// The type list of "Поле данных": eighteen types in their order, with codes.
TEST_F(InterfaceDeviceDlgTest, TheFieldDialogOffersItsTypesAndHidesAMissingChannel) {
  wchar_t name[kBeFieldTextChars] = L"вход";
  BeSignalType type = kBeSignalDouble;
  int channel = -1;
  EXPECT_TRUE(RunSteps([&] { return ShowDataFieldDialog(name, &type, &channel); },
                       {[&](CKestForm* form) {
                         RECT rect;
                         GetWindowRect(form->GetHandle(), &rect);
                         EXPECT_EQ(220, rect.right - rect.left);
                         EXPECT_EQ(215, rect.bottom - rect.top);
                         EXPECT_FALSE(GetWindowLongW(form->GetHandle(), GWL_STYLE) & WS_THICKFRAME);
                         auto combos = Find<CKestComboBox>(form);
                         ASSERT_EQ(1u, combos.size());
                         const std::vector<std::wstring> names = {
                             L"bit", L"char", L"short", L"int", L"float", L"double", L"Видео", L"Аудио",
                             L"Управл.камерами", L"Навигац. информация", L"Управл.нав.приемником",
                             L"Инерциальные данные", L"Управл.инерциал.сист.", L"Сектор сканирования",
                             L"Локальная карта", L"Управл.дальномером", L"Ответ дальномера", L"Глоб.карта"};
                         const int codes[] = {1, 2, 3, 4, 5, 6, 22, 23, 24, 27, 28, 25, 26, 30, 31, 32, 33, 36};
                         EXPECT_EQ(names, dialogtest::Items(combos[0]));
                         for (int i = 0; i < 18; ++i)
                           EXPECT_EQ(codes[i], static_cast<int>(combos[0]->GetItemData(i))) << i;
                         EXPECT_EQ(5, combos[0]->GetSelectedIndex());
                         EXPECT_TRUE(Find<CKestSpinEdit>(form).empty());
                         EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_data_field.bmp"));
                         combos[0]->SetSelectedIndex(13);
                         Press(form, L"OK");
                       }}));
  EXPECT_EQ(30, type);
  EXPECT_EQ(-1, channel);
  EXPECT_STREQ(L"вход", name);
}

}  // namespace
