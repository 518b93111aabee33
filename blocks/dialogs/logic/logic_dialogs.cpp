#include "blocks/dialogs/logic/logic_dialogs.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/block.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/logic/and.h"
#include "blocks/library/logic/and2.h"
#include "blocks/library/logic/cmp.h"
#include "blocks/library/logic/cmp2.h"
#include "blocks/library/logic/get_bit.h"
#include "blocks/library/logic/or.h"
#include "blocks/library/logic/or2.h"
#include "blocks/library/logic/relation.h"
#include "blocks/library/logic/shift_rule.h"
#include "blocks/library/logic/shl.h"
#include "blocks/library/logic/shr.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"
#include "kestui/graphics/kest_font.h"

namespace {
const int kSmallWidth = 200, kSmallHeight = 170, kTallHeight = 210;
// The edits read at most this many characters of their text.
const int kReadChars = 30;

const wchar_t* const kShiftKinds[] = {L"Логический", L"Арифметический", L"Циклический"};
const int kShiftKindCount = 3;
const wchar_t* const kOperations[] = {L"A = B", L"A ≠ B", L"A < B", L"A > B", L"A ≤ B", L"A ≥ B"};
const int kOperationCount = 6;

// The highest bit number (or shift count) the integer type holds.
int HighestBit(BeSignalType type) {
  if (type == kBeSignalChar) return 7;
  if (type == kBeSignalShort) return 15;
  return 31;
}

int IndexOrNone(int value, int count) { return value >= 0 && value < count ? value : -1; }

// The operation list in its own font: "Arial", height -12.
CKestComboBox* AddOperationRow(CBEPropertyForm* form, unsigned char relation) {
  CKestComboBox* list = form->AddListRow(L"Операция:", kOperations, kOperationCount,
                                         IndexOrNone(relation, kOperationCount));
  if (list) list->SetFont(new CKestFont(L"Arial", -12, FW_NORMAL, false, false, false, DEFAULT_CHARSET));
  return list;
}

unsigned char SelectedIndex(CKestComboBox* list, unsigned char fallback) {
  int index = list ? list->GetSelectedIndex() : -1;
  return index >= 0 ? static_cast<unsigned char>(index) : fallback;
}

template <class Shift>
bool ShowShift(CBEBlock* block) {
  auto* shift = dynamic_cast<Shift*>(block);
  if (!shift) return false;
  CBEPropertyForm* form = OpenPropertyForm(shift, kSmallWidth, kTallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestSpinEdit* count = form->AddIntegerRow(L"Число бит:", 1, 31, kBeDialogSpinWidth, shift->count);
  CKestComboBox* kind =
      form->AddListRow(L"Тип сдвига:", kShiftKinds, kShiftKindCount, IndexOrNone(shift->kind, kShiftKindCount));
  CKestComboBox* types = form->AddTypeRow(L"Тип входных данных:", kBeSignalChar, kBeSignalInt, shift->GetType());
  form->AddButtons();
  if (!form->Confirm()) return false;
  int bits = count ? count->GetIntValue() : shift->count;
  BeSignalType type = SelectedListType(types, kBeSignalChar, shift->GetType());
  ChangeInputType(shift->Input(0), type);
  ChangeOutputType(shift->Output(0), type);
  shift->kind = SelectedIndex(kind, shift->kind);
  if (bits > HighestBit(type)) bits = HighestBit(type);
  shift->count = static_cast<unsigned char>(bits);
  shift->UpdateCosts();
  return true;
}

template <class Gate>
bool ShowGate(CBEBlock* block, BeSignalType last) {
  auto* gate = dynamic_cast<Gate*>(block);
  if (!gate) return false;
  CBEPropertyForm* form = OpenPropertyForm(gate, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestSpinEdit* count = form->AddIntegerRow(L"Кол-во входов:", 2, 127, kBeDialogSpinWidth, gate->inputCount);
  CKestComboBox* types =
      form->AddTypeRow(L"Тип входных данных:", kBeSignalBit, last, gate->Output(0)->type);
  form->AddButtons();
  if (!form->Confirm()) return false;
  int inputs = count ? count->GetIntValue() : gate->inputCount;
  BeSignalType type = SelectedListType(types, kBeSignalBit, gate->Output(0)->type);
  // Pins that could not be made leave the block as it was.
  if (!gate->SetInputCount(inputs)) return false;
  for (int i = 0; i < gate->inputCount; ++i) ChangeInputType(gate->Input(i), type);
  ChangeOutputType(gate->Output(0), type);
  gate->UpdatePinsAndCosts();
  return true;
}

template <class Masked>
bool ShowMasked(CBEBlock* block) {
  auto* masked = dynamic_cast<Masked*>(block);
  if (!masked) return false;
  CBEPropertyForm* form = OpenPropertyForm(masked, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  wchar_t text[kBeDialogTextLimit + 1];
  BeSignalType current = masked->Output(0)->type;
  FormatMaskText(masked->mask, current, text, kBeDialogTextLimit + 1);
  CKestEdit* edit = form->AddTextRow(L"Маска:", kBeDialogTextWidth, kBeDialogTextLimit, text);
  CKestComboBox* types = form->AddTypeRow(L"Тип входных данных:", kBeSignalChar, kBeSignalInt, current);
  form->AddButtons();
  if (!form->Confirm()) return false;
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  ChangeInputType(masked->Input(0), type);
  ChangeOutputType(masked->Output(0), type);
  ReadEditText(edit, text, kReadChars);
  masked->mask = ParseMaskText(text);
  masked->UpdateCosts();
  return true;
}
}  // namespace

void FormatMaskText(unsigned int mask, int type, wchar_t* text, int chars) {
  if (!text || chars <= 0) return;
  if (type == kBeSignalChar)
    swprintf(text, chars, L"0x%02X", mask & 0xFFu);
  else if (type == kBeSignalShort)
    swprintf(text, chars, L"0x%04X", mask & 0xFFFFu);
  else
    swprintf(text, chars, L"0x%08X", mask);
}

unsigned int ParseMaskText(const wchar_t* text) {
  if (!text) return 0;
  if (text[0] == L'0' && text[1] == L'x') return static_cast<unsigned int>(ParseHex(text + 2, 0));
  return static_cast<unsigned int>(ParseInt(text, 0, nullptr));
}

bool ShowShrDialog(CBEBlock* block) { return ShowShift<CBEShr>(block); }

bool ShowShlDialog(CBEBlock* block) { return ShowShift<CBEShl>(block); }

bool ShowGetBitDialog(CBEBlock* block) {
  auto* getBit = dynamic_cast<CBEGetBit*>(block);
  if (!getBit) return false;
  CBEPropertyForm* form = OpenPropertyForm(getBit, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestSpinEdit* number =
      form->AddIntegerRow(L"Номер бита (с нуля):", 0, 31, kBeDialogSpinWidth, getBit->bitNumber);
  CKestComboBox* types =
      form->AddTypeRow(L"Тип входных данных:", kBeSignalChar, kBeSignalInt, getBit->GetType());
  form->AddButtons();
  if (!form->Confirm()) return false;
  int bit = number ? number->GetIntValue() : getBit->bitNumber;
  BeSignalType type = SelectedListType(types, kBeSignalChar, getBit->GetType());
  if (bit > HighestBit(type)) bit = HighestBit(type);
  getBit->bitNumber = static_cast<unsigned char>(bit);
  ChangeInputType(getBit->Input(0), type);
  return true;
}

bool ShowCmp2Dialog(CBEBlock* block) {
  auto* cmp = dynamic_cast<CBECmp2*>(block);
  if (!cmp || cmp->inputCount < 2) return false;
  CBEPropertyForm* form = OpenPropertyForm(cmp, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestComboBox* operation = AddOperationRow(form, cmp->relation);
  CKestComboBox* types = form->AddTypeRow(L"Тип входных данных:", kBeSignalBit, kBeSignalDouble, cmp->GetType());
  form->AddButtons();
  if (!form->Confirm()) return false;
  BeSignalType type = SelectedListType(types, kBeSignalBit, cmp->GetType());
  ChangeInputType(cmp->Input(0), type);
  ChangeInputType(cmp->Input(1), type);
  cmp->relation = SelectedIndex(operation, cmp->relation);
  cmp->UpdateCosts();
  return true;
}

bool ShowCmpDialog(CBEBlock* block) {
  auto* cmp = dynamic_cast<CBECmp*>(block);
  if (!cmp) return false;
  CBEPropertyForm* form = OpenPropertyForm(cmp, kSmallWidth, kTallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = cmp->GetType();
  wchar_t text[kFoundationFormatDoubleChars + kBeDialogTextLimit];
  int32_t whole;
  float real;
  double wide;
  memcpy(&whole, cmp->constant, 4);
  memcpy(&real, cmp->constant, 4);
  memcpy(&wide, cmp->constant, 8);
  if (current == kBeSignalBit || current == kBeSignalChar)
    FormatInt(static_cast<signed char>(cmp->constant[0]), text);
  else if (current == kBeSignalShort)
    FormatInt(static_cast<int16_t>(whole & 0xFFFF), text);
  else if (current == kBeSignalFloat)
    FormatDouble(real, text, 0);
  else if (current == kBeSignalDouble)
    FormatDouble(wide, text, 0);
  else
    FormatInt(whole, text);
  CKestEdit* edit = form->AddTextRow(L"Операнд B:", kBeDialogTextWidth, kBeDialogTextLimit, text);
  CKestComboBox* operation = AddOperationRow(form, cmp->relation);
  CKestComboBox* types = form->AddTypeRow(L"Тип входных данных:", kBeSignalBit, kBeSignalDouble, current);
  form->AddButtons();
  if (!form->Confirm()) return false;
  BeSignalType type = SelectedListType(types, kBeSignalBit, current);
  ChangeInputType(cmp->Input(0), type);
  unsigned char relation = SelectedIndex(operation, cmp->relation);
  // A bit is only equal or not.
  if (type == kBeSignalBit && relation >= kRelationLess) relation = kRelationNotEqual;
  cmp->relation = relation;
  ReadEditText(edit, text, kReadChars);
  if (type == kBeSignalDouble)
    cmp->SetConstantDouble(ParseDouble(text, 0.0, nullptr));
  else if (type == kBeSignalFloat)
    cmp->SetConstantFloat(ParseFloat(text, 0.0f, nullptr));
  else
    cmp->SetConstantInt(ParseInt(text, 0, nullptr));
  cmp->UpdateCosts();
  return true;
}

bool ShowOr2Dialog(CBEBlock* block) { return ShowGate<CBEOr2>(block, kBeSignalDouble); }

bool ShowAnd2Dialog(CBEBlock* block) { return ShowGate<CBEAnd2>(block, kBeSignalInt); }

bool ShowOrDialog(CBEBlock* block) { return ShowMasked<CBEOr>(block); }

bool ShowAndDialog(CBEBlock* block) { return ShowMasked<CBEAnd>(block); }
