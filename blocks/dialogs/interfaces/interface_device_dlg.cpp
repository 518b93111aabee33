#include "blocks/dialogs/interfaces/interface_device_dlg.h"

#include <commctrl.h>

#include <cwchar>

#include "blocks/dialogs/dialog_resources.h"
#include "blocks/dialogs/interfaces/data_field_dialog.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/interfaces/interface_device.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "kestui/bars/kest_separator.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_panel.h"
#include "kestui/containers/kest_v_splitter.h"
#include "kestui/lists/kest_list_view.h"
#include "kestui/menus/kest_popup_menu.h"
#include "script/script_resources.h"

namespace {
const int kPanelWidth = 250, kPanelHeight = 500;
const int kStripWidth = 1000, kStripHeight = 28;
const int kButtonSize = 25;
const int kListSize = 500;
const int kSendNameWidth = 90, kReceiveNameWidth = 100, kTypeWidth = 70, kChannelWidth = 70;
// Positions of the popup items.
const int kEditItem = 0, kDeleteItem = 3, kUpItem = 5, kDownItem = 6;

// A field's channel as the list shows it: "n" for the robot's number.
void ChannelText(int channel, wchar_t* text) {
  if (channel == kBeFieldRobotChannel) wcscpy(text, L"n");
  else FormatInt(channel, text);
}

// A list's channel text as a channel: "n" 255, empty -1, else the number.
int ChannelOf(const wchar_t* text) {
  if (text[0] == L'n') return kBeFieldRobotChannel;
  if (!text[0]) return -1;
  return ParseInt(text, 0, nullptr);
}

const wchar_t* TypeText(BeSignalType type) {
  const wchar_t* name = GetSignalTypeName(type);
  return name ? name : L"";
}

void EnableButton(CKestSpdBtn* button, bool on) {
  if (button) button->Enable(on);
}
}  // namespace


CInterfaceDeviceDlg::CInterfaceDeviceDlg(CBEInterfaceDevice* device) : block(device) {}

CKestListView* CInterfaceDeviceDlg::BuildFieldList(CKestContainer* container, bool send, const wchar_t* caption,
                                                   int nameWidth, int typeWidth, bool channel) {
  const UINT edit = send ? kBeEditSendField : kBeEditReceiveField;
  new CKestLabel(container, caption, KEST_POS_TOP, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  auto* strip = new CKestPanel(container, 1, KEST_POS_TOP, kStripWidth, kStripHeight, true, false);
  new CKestSpdBtn(strip, edit + 1, IDB_DIALOG_ADD, send ? L"Добавить вход" : L"Добавить выход", false,
                  kButtonSize, kButtonSize, nullptr, KEST_POS_FLOW, false);
  auto* remove = new CKestSpdBtn(strip, edit + 2, IDB_SCRIPT_PIN_DELETE, send ? L"Удалить вход" : L"Удалить выход",
                                 false, kButtonSize, kButtonSize, nullptr, KEST_POS_FLOW, false);
  new CKestSeparator(strip, KEST_POS_FLOW);
  auto* up = new CKestSpdBtn(strip, edit + 3, IDB_DIALOG_UP, L"Поднять вверх", false, kButtonSize, kButtonSize,
                             nullptr, KEST_POS_FLOW, false);
  auto* down = new CKestSpdBtn(strip, edit + 4, IDB_DIALOG_DOWN, L"Опустить вниз", false, kButtonSize,
                               kButtonSize, nullptr, KEST_POS_FLOW, false);
  auto* list = new CKestListView(container, KEST_POS_CLIENT, kListSize, kListSize,
                                 WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                 LVS_EX_FULLROWSELECT);
  list->AddColumn(L"Название", nameWidth, -1);
  list->AddColumn(L"Тип", typeWidth, 0);
  if (channel) list->AddColumn(L"Канал", kChannelWidth, 0);
  auto* menu = new CKestPopupMenu();
  menu->AddItem(L"Правка\tEnter", edit, 0, VK_RETURN);
  menu->SetDefaultItem(kEditItem, true);
  menu->AppendSeparator();
  menu->AddItem(send ? L"Добавить вход" : L"Добавить выход", edit + 1);
  menu->AddItem(send ? L"Удалить вход\tDel" : L"Удалить выход\tDel", edit + 2, 0, VK_DELETE);
  menu->AppendSeparator();
  menu->AddItem(L"Поднять вверх", edit + 3);
  menu->AddItem(L"Опустить вниз", edit + 4);
  list->SetMenu(menu);
  if (send) {
    sendDelete = remove;
    sendUp = up;
    sendDown = down;
    sendPopup = menu;
    sendList = list;
  } else {
    receiveDelete = remove;
    receiveUp = up;
    receiveDown = down;
    receivePopup = menu;
    receiveList = list;
  }
  return list;
}

void CInterfaceDeviceDlg::BuildForm() {
  if (!block || !GetHandle()) return;
  wchar_t channel[16];
  if (block->canSend) {
    auto* panel = new CKestPanel(this, 0, block->canReceive ? KEST_POS_LEFT : KEST_POS_CLIENT, kPanelWidth,
                                 kPanelHeight, false, false);
    CKestListView* list = BuildFieldList(panel, true, L"Передаваемые данные", kSendNameWidth, kTypeWidth, true);
    list->SuspendRedraw();
    for (int i = 0; i < block->SendFieldCount(); ++i) {
      const BeInputPin* pin = block->SendField(i);
      int row = list->AddItem(pin->name ? pin->name : L"", -1, i + 1);
      list->SetItemText(row, 1, TypeText(pin->type));
      ChannelText(block->sendChannels[i], channel);
      list->SetItemText(row, 2, channel);
    }
    list->ResumeRedraw();
  }
  if (block->canReceive) {
    // Only a block with fixed outputs lets the two lists share the width
    // by a splitter.
    if (block->fixedOutputs != 0) new CKestVSplitter(this, KEST_POS_LEFT);
    auto* panel = new CKestPanel(this, 0, KEST_POS_CLIENT, kPanelWidth, kPanelHeight, false, false);
    CKestListView* list = BuildFieldList(panel, false, L"Принимаемые данные", kReceiveNameWidth, kTypeWidth, true);
    list->SuspendRedraw();
    for (int i = 0; i < block->ReceiveFieldCount(); ++i) {
      const BeOutputPin* pin = block->ReceiveField(i);
      int row = list->AddItem(pin->name ? pin->name : L"", -1, i + 1);
      list->SetItemText(row, 1, TypeText(pin->type));
      ChannelText(block->receiveChannels[i], channel);
      list->SetItemText(row, 2, channel);
    }
    list->ResumeRedraw();
  }
  Realign();
  UpdateButtons();
}

void CInterfaceDeviceDlg::UpdateButtons() {
  struct Side {
    CKestListView* list;
    CKestSpdBtn* remove;
    CKestSpdBtn* up;
    CKestSpdBtn* down;
    CKestPopupMenu* menu;
  };
  const Side sides[] = {{sendList, sendDelete, sendUp, sendDown, sendPopup},
                        {receiveList, receiveDelete, receiveUp, receiveDown, receivePopup}};
  for (const Side& side : sides) {
    if (!side.list) continue;
    int s = side.list->GetSelectedIndex();
    int n = side.list->GetItemCount();
    bool any = s >= 0, up = s > 0, down = s >= 0 && s < n - 1;
    EnableButton(side.remove, any);
    EnableButton(side.up, up);
    EnableButton(side.down, down);
    if (!side.menu) continue;
    side.menu->EnableItem(kEditItem, any);
    side.menu->EnableItem(kDeleteItem, any);
    side.menu->EnableItem(kUpItem, up);
    side.menu->EnableItem(kDownItem, down);
  }
}

void CInterfaceDeviceDlg::EditRow(CKestListView* list) {
  int row = list ? list->GetSelectedIndex() : -1;
  if (row < 0) return;
  wchar_t name[kBeFieldTextChars], text[kBeFieldTextChars];
  list->GetItemText(row, 1, text, kBeFieldTextChars);
  BeSignalType type = FindSignalTypeByName(text);
  text[0] = 0;
  if (list->GetColumnCount() > 2) list->GetItemText(row, 2, text, kBeFieldTextChars);
  int channel = ChannelOf(text);
  list->GetItemText(row, 0, name, kBeFieldTextChars);
  HWND window = GetHandle();
  if (!ShowDataFieldDialog(name, &type, &channel)) return;
  // The form may have gone with the program meanwhile.
  if (GetControlFromHandle(window) != this || row >= list->GetItemCount()) return;
  list->SetItemText(row, 0, name);
  list->SetItemText(row, 1, TypeText(type));
  if (channel >= 0) {
    ChannelText(channel, text);
    list->SetItemText(row, 2, text);
  }
}

void CInterfaceDeviceDlg::AddRow(CKestListView* list, UINT editCommand) {
  if (!list) return;
  int row = list->AddItem(L"", -1, 0);
  if (row < 0) return;
  list->SetItemText(row, 1, TypeText(kBeSignalChar));
  if (list->GetColumnCount() > 2) list->SetItemText(row, 2, L"0");
  int selected = list->GetSelectedIndex();
  if (selected >= 0) list->SelectItem(selected, false);
  list->SelectItem(row, true);
  list->FocusItem(row);
  list->SetFocus();
  UpdateButtons();
  SendMessageW(GetHandle(), WM_COMMAND, editCommand, 0);
}

void CInterfaceDeviceDlg::DeleteRow(CKestListView* list) {
  int row = list ? list->GetSelectedIndex() : -1;
  if (row < 0) return;
  list->DeleteItem(row);
  int selected = list->GetSelectedIndex();
  if (selected >= 0) list->SelectItem(selected, false);
  UpdateButtons();
}

void CInterfaceDeviceDlg::MoveRow(CKestListView* list, bool up) {
  int row = list ? list->GetSelectedIndex() : -1;
  if (row < 0) return;
  int other = up ? row - 1 : row + 1;
  if (other < 0 || other >= list->GetItemCount()) return;
  // The whole row moves: its texts and the field (or port) it stands for.
  wchar_t a[kBeFieldTextChars], b[kBeFieldTextChars];
  for (int column = 0; column < list->GetColumnCount(); ++column) {
    list->GetItemText(row, column, a, kBeFieldTextChars);
    list->GetItemText(other, column, b, kBeFieldTextChars);
    list->SetItemText(row, column, b);
    list->SetItemText(other, column, a);
  }
  LPARAM data = list->GetItemData(row);
  list->SetItemData(row, list->GetItemData(other));
  list->SetItemData(other, data);
  list->SelectItem(row, false);
  list->SelectItem(other, true);
  list->FocusItem(other);
  UpdateButtons();
}

bool CInterfaceDeviceDlg::RunCommand(UINT command) {
  if (command < kBeEditSendField || command > kBeReceiveFieldDown || command == kBeEditSendField + 5) return false;
  bool send = command <= kBeSendFieldDown;
  CKestListView* list = send ? sendList : receiveList;
  UINT edit = send ? kBeEditSendField : kBeEditReceiveField;
  switch (command - edit) {
    case 0: EditRow(list); break;
    case 1: AddRow(list, edit); break;
    case 2: DeleteRow(list); break;
    case 3: MoveRow(list, true); break;
    case 4: MoveRow(list, false); break;
    default: break;
  }
  return true;
}

LRESULT CInterfaceDeviceDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    HWND from = header->hwndFrom;
    bool isSend = sendList && from == sendList->GetHandle();
    bool isReceive = receiveList && from == receiveList->GetHandle();
    if (isSend || isReceive) {
      if (header->code == static_cast<UINT>(LVN_ITEMCHANGED)) UpdateButtons();
      if (header->code == static_cast<UINT>(NM_DBLCLK)) {
        // The dialog opens once the list has finished with the click.
        PostMessageW(GetHandle(), WM_COMMAND, isSend ? kBeEditSendField : kBeEditReceiveField, 0);
        return 1;
      }
    }
  }
  if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0 && RunCommand(LOWORD(wParam))) return 0;
  if (message == WM_COMMAND && HIWORD(wParam) == 0 && RunCommand(LOWORD(wParam))) return 0;
  return CKestForm::WindowProc(message, wParam, lParam);
}

bool CInterfaceDeviceDlg::ApplyList(CKestListView* list, bool send) {
  const int n = list->GetItemCount();
  int* from = static_cast<int*>(AllocBuffer(sizeof(int) * (n + 1)));
  if (!from) return false;
  for (int i = 0; i < n; ++i) from[i] = static_cast<int>(list->GetItemData(i)) - 1;
  bool arranged = send ? block->ArrangeSendFields(from, n) : block->ArrangeReceiveFields(from, n);
  FreeBuffer(from);
  if (!arranged) return false;
  bool ok = true;
  wchar_t name[kBeFieldTextChars], text[kBeFieldTextChars];
  for (int i = 0; i < n; ++i) {
    list->GetItemText(i, 0, name, kBeFieldTextChars);
    list->GetItemText(i, 1, text, kBeFieldTextChars);
    BeSignalType type = FindSignalTypeByName(text);
    list->GetItemText(i, 2, text, kBeFieldTextChars);
    unsigned char channel =
        text[0] == L'n' ? kRobotChannel : static_cast<unsigned char>(ParseInt(text, 0, nullptr) & 0xFF);
    bool set = send ? block->SetSendField(i, name, type, channel) : block->SetReceiveField(i, name, type, channel);
    ok = set && ok;
  }
  return ok;
}

bool CInterfaceDeviceDlg::Apply() {
  if (!block) return false;
  bool ok = true;
  if (sendList) ok = ApplyList(sendList, true) && ok;
  if (receiveList) ok = ApplyList(receiveList, false) && ok;
  return ok;
}
