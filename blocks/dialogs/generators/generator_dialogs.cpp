#include "blocks/dialogs/generators/generator_dialogs.h"

#include <cstdint>

#include "blocks/dialogs/frame/property_form.h"
#include "blocks/engine/block.h"
#include "blocks/library/generators/duration.h"
#include "blocks/library/generators/event.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/generators/monostable.h"
#include "blocks/library/generators/single_impuls.h"
#include "foundation/buffers.h"
#include "foundation/numbers.h"
#include "kestui/forms/kest_input_dialog.h"

namespace {
const int kEventWidth = 260, kEventHeight = 120, kEventListWidth = 220;
const int kSingleWidth = 300, kMeanderWidth = 200, kTimingHeight = 170;
const int kTimingEditWidth = 170, kTimingButtonWidth = 70;
// The edits are read to this many characters.
const int kReadChars = 31;

const wchar_t* const kEventKinds[] = {L"Увеличение сигнала", L"Уменьшение сигнала", L"Изменение сигнала"};
const int kEventKindCount = 3;

CKestEdit* AddTimeRow(CBEPropertyForm* form, const wchar_t* caption, float value) {
  wchar_t text[kFoundationFormatDoubleChars];
  FormatDouble(value, text, 0);
  return form->AddTextRow(caption, kTimingEditWidth, 0, text);
}

float ReadTime(CKestEdit* edit) {
  wchar_t text[kReadChars + 1];
  ReadEditText(edit, text, kReadChars);
  return ParseFloat(text, 0.0f, nullptr);
}

// The period and phase form; false unless "OK" closed it.
bool AskTiming(CBEBlock* block, int width, const wchar_t* periodCaption, float period, float phase,
               float* newPeriod, float* newPhase) {
  CBEPropertyForm* form = OpenPropertyForm(block, width, kTimingHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  CKestEdit* periodEdit = AddTimeRow(form, periodCaption, period);
  CKestEdit* phaseEdit = AddTimeRow(form, L"Нач.фаза [мс]:", phase);
  form->AddButtons(kTimingButtonWidth);
  if (!form->Confirm()) return false;
  *newPeriod = ReadTime(periodEdit);
  *newPhase = ReadTime(phaseEdit);
  return true;
}

// The input box for a time in milliseconds; false (the value kept) when it
// gave no text.
bool AskMilliseconds(CBEBlock* block, const wchar_t* prompt, int32_t* value) {
  wchar_t text[kFoundationFormatIntChars];
  FormatInt(*value, text);
  wchar_t* answer = ShowInputDialog(MainKestForm, block->GetCaption(), prompt, text);
  if (!answer) return false;
  *value = TextHasDigit(answer) ? ParseInt(answer, *value, nullptr) : 0;
  FreeBuffer(answer);
  return true;
}
}  // namespace

bool ShowEventDialog(CBEBlock* block) {
  auto* event = dynamic_cast<CBEEvent*>(block);
  if (!event) return false;
  CBEPropertyForm* form = OpenPropertyForm(event, kEventWidth, kEventHeight);
  if (!form) return false;
  BePropertyFormScope scope(form);
  int current = event->kind < kEventKindCount ? event->kind : -1;
  CKestComboBox* kinds =
      form->AddListRow(L"Тип событий:", kEventKinds, kEventKindCount, current, kEventListWidth);
  form->SetInitialFocus(kinds);
  form->AddButtons();
  if (!form->Confirm()) return false;
  int index = kinds ? kinds->GetSelectedIndex() : -1;
  if (index >= 0) event->kind = static_cast<unsigned char>(index);
  return true;
}

bool ShowSingleImpulsDialog(CBEBlock* block) {
  auto* impuls = dynamic_cast<CBESingleImpuls*>(block);
  if (!impuls) return false;
  float period = 0, phase = 0;
  if (!AskTiming(impuls, kSingleWidth, L"Период [мс] (-1 - без повтора):", impuls->period, impuls->initialDelay,
                 &period, &phase))
    return false;
  impuls->SetTiming(period, phase);
  return true;
}

bool ShowMeanderDialog(CBEBlock* block) {
  auto* meander = dynamic_cast<CBEMeander*>(block);
  if (!meander) return false;
  float period = 0, phase = 0;
  if (!AskTiming(meander, kMeanderWidth, L"Период [мс]:", meander->period, meander->initialPhase, &period, &phase))
    return false;
  meander->SetTiming(period, phase);
  return true;
}

bool ShowDurationDialog(CBEBlock* block) {
  auto* duration = dynamic_cast<CBEDuration*>(block);
  return duration && AskMilliseconds(duration, L"Время продления [мс]:", &duration->extension);
}

bool ShowMonostableDialog(CBEBlock* block) {
  auto* monostable = dynamic_cast<CBEMonostable*>(block);
  return monostable && AskMilliseconds(monostable, L"Интервал работы [мс]:", &monostable->duration);
}
