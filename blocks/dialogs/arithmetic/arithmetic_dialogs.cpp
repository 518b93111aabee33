#include "blocks/dialogs/arithmetic/arithmetic_dialogs.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/converters/speed.h"
#include "blocks/library/converters/type_convertor.h"
#include "blocks/library/generators/constant.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/sub.h"
#include "blocks/library/math/summator.h"
#include "blocks/library/math/vectors/length.h"
#include "blocks/library/math/vectors/norm.h"
#include "blocks/library/typed_block.h"
#include "foundation/numbers.h"

namespace {
const int kSmallWidth = 200, kSmallHeight = 170, kTallHeight = 210;
const int kCountWidth = 60;
const int kMinInputs = 2, kMaxInputs = 127;
const double kLimitRange = 1e25;
const int kSpeedWidth = 300, kSpeedHeight = 260;
const double kSpeedPeriodMaximum = 200000;
const wchar_t* const kSpeedLines[] = {L"Блок измеряет скорость", L"изменения входной величины",
                                      L"за указанный период времени."};
const int kConstantWidth = 250, kConstantHeight = 290;
const int kConstantEditWidth = 230;
const int kConstantGroupWidth = 230, kConstantGroupHeight = 150;
// The edits read at most this many characters of their text.
const int kReadChars = 30;
const int kConstantReadChars = 31;
// Texts of numbers: a formatted double fits, as do the edits' limits.
const int kTextChars = 64;

int32_t Int32At(const unsigned char* bytes) {
  int32_t value;
  memcpy(&value, bytes, 4);
  return value;
}

float FloatAt(const unsigned char* bytes) {
  float value;
  memcpy(&value, bytes, 4);
  return value;
}

double DoubleAt(const unsigned char* bytes) {
  double value;
  memcpy(&value, bytes, 8);
  return value;
}

// A limit as the limiter's row shows it.
double LimitShown(const unsigned char* limit, BeSignalType type) {
  if (type == kBeSignalDouble) return DoubleAt(limit);
  if (type == kBeSignalFloat) return FloatAt(limit);
  return Int32At(limit);
}

template <class Block>
bool ShowConstantOperand(CBEBlock* block, const wchar_t* caption) {
  auto* arithmetic = dynamic_cast<Block*>(block);
  if (!arithmetic) return false;
  CBEPropertyForm* form = OpenPropertyForm(arithmetic, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = arithmetic->Output(0)->type;
  wchar_t text[kTextChars];
  if (current == kBeSignalFloat || current == kBeSignalDouble)
    FormatDouble(arithmetic->GetConstantFloat(), text, 0);
  else
    FormatInt(arithmetic->GetConstantInt(), text);
  CKestEdit* edit = form->AddTextRow(caption, kBeDialogTextWidth, kBeDialogTextLimit, text);
  CKestComboBox* types = form->AddTypeRow(L"Тип входных данных:", kBeSignalChar, kBeSignalDouble, current);
  form->AddButtons();
  if (!form->Confirm()) return false;
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  ChangeInputType(arithmetic->Input(0), type);
  ChangeOutputType(arithmetic->Output(0), type);
  ReadEditText(edit, text, kReadChars);
  if (type == kBeSignalFloat || type == kBeSignalDouble)
    arithmetic->SetConstantFloat(ParseFloat(text, 0.0f, nullptr));
  else
    arithmetic->SetConstantInt(ParseInt(text, 0, nullptr));
  arithmetic->UpdateCosts();
  return true;
}

// The dimension and type rows of the vector blocks; false on cancel.
bool AskDimensionAndType(CBEBlock* block, BeSignalType first, int* dimension, BeSignalType* type) {
  CBEPropertyForm* form = OpenPropertyForm(block, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = block->Output(0)->type;
  CKestSpinEdit* count =
      form->AddIntegerRow(L"Размерность вектора:", kMinInputs, kMaxInputs, kCountWidth, block->inputCount);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", first, kBeSignalDouble, current);
  form->AddButtons();
  if (!form->Confirm()) return false;
  *dimension = count ? count->GetIntValue() : block->inputCount;
  *type = SelectedListType(types, first, current);
  return true;
}
}  // namespace

void FormatConstantText(const unsigned char* value, int type, wchar_t* text, int chars) {
  if (!text || chars <= 0) return;
  text[0] = 0;
  if (!value || chars < kTextChars) return;
  switch (type) {
    case kBeSignalBit: wcscpy(text, Int32At(value) != 0 ? L"1" : L"0"); break;
    case kBeSignalChar: FormatInt(static_cast<signed char>(value[0]), text); break;
    case kBeSignalShort: FormatInt(static_cast<int16_t>(Int32At(value) & 0xFFFF), text); break;
    case kBeSignalInt: FormatInt(Int32At(value), text); break;
    case kBeSignalFloat: FormatDouble(FloatAt(value), text, 0); break;
    case kBeSignalDouble: FormatDouble(DoubleAt(value), text, 0); break;
    default: break;
  }
}

bool ShowLimiterDialog(CBEBlock* block) {
  auto* limiter = dynamic_cast<CBELimiter*>(block);
  if (!limiter || limiter->inputCount < 1) return false;
  CBEPropertyForm* form = OpenPropertyForm(limiter, kSmallWidth, kTallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = limiter->GetOutputType();
  CKestSpinEdit* upper =
      form->AddRealRow(L"Ограничение сверху:", -kLimitRange, kLimitRange, LimitShown(limiter->upper, current));
  CKestSpinEdit* lower =
      form->AddRealRow(L"Ограничение снизу:", -kLimitRange, kLimitRange, LimitShown(limiter->lower, current));
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, current);
  form->AddButtons();
  if (!form->Confirm() || !upper || !lower) return false;
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  ChangeInputType(limiter->Input(0), type);
  ChangeOutputType(limiter->Output(0), type);
  if (type == kBeSignalDouble) {
    double high = upper->GetValue(), low = lower->GetValue();
    limiter->SetLimitsDouble(high, low > high ? high : low);
  } else if (type == kBeSignalFloat) {
    float high = RoundToFloat(upper->GetValue()), low = RoundToFloat(lower->GetValue());
    limiter->SetLimitsFloat(high, low > high ? high : low);
  } else {
    int32_t high = upper->GetIntValue(), low = lower->GetIntValue();
    limiter->SetLimitsInt(high, low > high ? high : low);
  }
  limiter->UpdateCosts();
  return true;
}

bool ShowSubDialog(CBEBlock* block) { return ShowConstantOperand<CBESub>(block, L"Вычитаемое:"); }

bool ShowAddDialog(CBEBlock* block) { return ShowConstantOperand<CBEAdd>(block, L"Второе слогаемое:"); }

bool ShowSummatorDialog(CBEBlock* block) {
  auto* summator = dynamic_cast<CBESummator*>(block);
  if (!summator) return false;
  CBEPropertyForm* form = OpenPropertyForm(summator, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType current = summator->Output(0)->type;
  CKestSpinEdit* count =
      form->AddIntegerRow(L"Кол-во входов:", kMinInputs, kMaxInputs, kCountWidth, summator->inputCount);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, current);
  form->AddButtons();
  if (!form->Confirm()) return false;
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  // Pins that could not be made leave the block as it was.
  if (!summator->SetInputCount(count ? count->GetIntValue() : summator->inputCount)) return false;
  for (int i = 0; i < summator->inputCount; ++i) ChangeInputType(summator->Input(i), type);
  ChangeOutputType(summator->Output(0), type);
  summator->UpdatePinsAndCosts();
  return true;
}

bool ShowNormDialog(CBEBlock* block) {
  auto* norm = dynamic_cast<CBENorm*>(block);
  int dimension;
  BeSignalType type;
  if (!norm || !AskDimensionAndType(norm, kBeSignalFloat, &dimension, &type)) return false;
  if (!norm->SetInputCount(dimension)) return false;
  // Outputs that could not be made: as many inputs as outputs again (fewer
  // pins always fit), so the block stays whole.
  if (!norm->SetOutputCount(dimension)) norm->SetInputCount(norm->outputCount);
  for (int i = 0; i < norm->inputCount; ++i) ChangeInputType(norm->Input(i), type);
  for (int i = 0; i < norm->outputCount; ++i) ChangeOutputType(norm->Output(i), type);
  norm->UpdatePinsAndCosts();
  return true;
}

bool ShowLengthDialog(CBEBlock* block) {
  auto* length = dynamic_cast<CBELength*>(block);
  int dimension;
  BeSignalType type;
  if (!length || !AskDimensionAndType(length, kBeSignalChar, &dimension, &type)) return false;
  if (!length->SetInputCount(dimension)) return false;
  for (int i = 0; i < length->inputCount; ++i) ChangeInputType(length->Input(i), type);
  ChangeOutputType(length->Output(0), type);
  length->UpdatePinsAndCosts();
  return true;
}

double SpeedPeriodMinimum(const CBEBlock* block) {
  double frequency = block && block->scheme ? block->scheme->frequency : kBeDefaultProcessorFrequency;
  // A damaged frequency would leave no positive floor, and the block refuses
  // a period that is not positive.
  if (!std::isfinite(frequency) || frequency <= 0) frequency = kBeDefaultProcessorFrequency;
  double minimum = 100.0 / frequency;
  return minimum < kSpeedPeriodMaximum ? minimum : kSpeedPeriodMaximum;
}

bool ShowSpeedDialog(CBEBlock* block) {
  auto* speed = dynamic_cast<CBESpeed*>(block);
  if (!speed || speed->inputCount < 1 || speed->outputCount < 1) return false;
  CBEPropertyForm* form = OpenPropertyForm(speed, kSpeedWidth, kSpeedHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  for (const wchar_t* line : kSpeedLines) form->AddTextLine(line);
  form->AddEmptyRow();
  BeSignalType current = speed->GetType();
  CKestSpinEdit* period = form->AddRealRow(L"Период измерения [мс]:", SpeedPeriodMinimum(speed),
                                           kSpeedPeriodMaximum, speed->period);
  CKestComboBox* types = form->AddTypeRow(L"Тип данных:", kBeSignalChar, kBeSignalDouble, current);
  form->AddButtons();
  if (!form->Confirm() || !period) return false;
  BeSignalType type = SelectedListType(types, kBeSignalChar, current);
  ChangeInputType(speed->Input(0), type);
  ChangeOutputType(speed->Output(0), type);
  speed->period = RoundToFloat(period->GetValue());
  speed->UpdateCosts();
  return true;
}

bool ShowTypeConvertorDialog(CBEBlock* block) {
  auto* convertor = dynamic_cast<CBETypeConvertor*>(block);
  if (!convertor || convertor->inputCount < 1 || convertor->outputCount < 1) return false;
  CBEPropertyForm* form = OpenPropertyForm(convertor, kSmallWidth, kSmallHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeSignalType input = convertor->Input(0)->type, output = convertor->Output(0)->type;
  CKestComboBox* inputs = form->AddTypeRow(L"Тип входных данных:", kBeSignalBit, kBeSignalDouble, input);
  CKestComboBox* outputs = form->AddTypeRow(L"Тип выходных данных:", kBeSignalBit, kBeSignalDouble, output);
  form->AddButtons();
  if (!form->Confirm()) return false;
  ChangeInputType(convertor->Input(0), SelectedListType(inputs, kBeSignalBit, input));
  ChangeOutputType(convertor->Output(0), SelectedListType(outputs, kBeSignalBit, output));
  convertor->UpdateCosts();
  return true;
}

bool ShowConstantDialog(CBEBlock* block) {
  auto* constant = dynamic_cast<CBEConstant*>(block);
  if (!constant || constant->outputCount < 1) return false;
  CBEPropertyForm* form = OpenPropertyForm(constant, kConstantWidth, kConstantHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  BeOutputPin* output = constant->Output(0);
  wchar_t text[kTextChars];
  FormatConstantText(output->value, output->type, text, kTextChars);
  CKestEdit* edit = form->AddTextRow(L"Значение:", kConstantEditWidth, 0, text);
  const wchar_t* names[kBeSignalDouble];
  for (BeSignalType type = kBeSignalBit; type <= kBeSignalDouble; ++type)
    names[type - kBeSignalBit] = GetSignalTypeName(type);
  int checked = output->type >= kBeSignalBit && output->type <= kBeSignalDouble ? output->type - kBeSignalBit : -1;
  CKestRadioGroupBox* group = form->AddRadioRow(L"Тип сигнала", kConstantGroupWidth, kConstantGroupHeight, names,
                                                kBeSignalDouble, checked);
  form->AddButtons();
  form->SetInitialFocus(edit);
  if (!form->Confirm()) return false;
  int index = group ? group->GetItemIndex() : -1;
  BeSignalType type = index >= 0 ? kBeSignalBit + index : output->type;
  // A type outside bit..double that the user left alone: nothing to write.
  if (type < kBeSignalBit || type > kBeSignalDouble) return false;
  ChangeOutputType(output, type);
  wchar_t typed[kConstantReadChars + 1];
  ReadEditText(edit, typed, kConstantReadChars);
  return constant->SetValueFromText(type, typed);
}
