// CBEPropertyForm: the form every simple block property dialog is built on.
// A dialog describes its rows to it (a label stacked over its control, one
// row after another through the flow layout), then adds the two buttons and
// runs it; the form keeps the controls of its rows so that the dialog (and a
// test) reads them back after the modal loop.
//
// The frame: a modal form owned by the main form, titled with the block's
// caption, centred on the screen, fixed size without a minimize box;
// "OK" (default, result 1) and "Отмена" (result 2), 80 x 25, centred side by
// side in the last row. Esc and the close box answer as "Отмена".
#pragma once

#include <windows.h>

#include "blocks/engine/signal_type.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_radio_group_box.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/edits/kest_spin_edit.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_combo_box.h"

class CBEBlock;

// The standard sizes of the rows' controls.
const int kBeDialogListWidth = 120, kBeDialogListHeight = 21;
const int kBeDialogSpinWidth = 100, kBeDialogSpinHeight = 22;
const int kBeDialogRealWidth = 120;
const int kBeDialogTextWidth = 170, kBeDialogTextHeight = 21, kBeDialogTextLimit = 31;
const int kBeDialogButtonWidth = 80, kBeDialogButtonHeight = 25;
const int kBeDialogOkResult = 1, kBeDialogCancelResult = 2;

// The modal loop of a dialog's form; true only when it closed with
// kBeDialogOkResult and the form is still there to read.
bool ConfirmDialogForm(CKestForm* form);

// A centred row of "OK" (the default button, kBeDialogOkResult) and
// "Отмена" (kBeDialogCancelResult), each width x 25, in the container's
// flow; ok and cancel (either may be null) receive the buttons.
void AddDialogButtons(CKestContainer* row, int width, CKestButton** ok, CKestButton** cancel);

class CBEPropertyForm : public CKestForm {
public:
  static constexpr int kMaxRows = 8;
  static constexpr int kMaxTextLines = 4;

  CBEPropertyForm() = default;

  // Creates the hidden form, width x height, centred on the screen and owned
  // by the main form; false when its window could not be made.
  bool Open(const wchar_t* caption, int width, int height);

  // Rows: the caption in a label stacked over the control, then a new flow
  // row. Each answers its control (null when the form is not open or has
  // all its rows).
  // A drop-down list of the texts with the item selected (-1 for none),
  // width x 21.
  CKestComboBox* AddListRow(const wchar_t* caption, const wchar_t* const* items, int count, int selected,
                            int width = kBeDialogListWidth);
  // A type list of the codes first..last in code order; the item of current
  // is selected (none when current lies outside).
  CKestComboBox* AddTypeRow(const wchar_t* caption, BeSignalType first, BeSignalType last, BeSignalType current);
  // An integer spin edit, step 1, width x 22, showing value clamped.
  CKestSpinEdit* AddIntegerRow(const wchar_t* caption, int minimum, int maximum, int width, int value);
  // A real spin edit, step 1, 120 x 22, showing value ("%g") clamped.
  CKestSpinEdit* AddRealRow(const wchar_t* caption, double minimum, double maximum, double value);
  // An editable edit with a client edge, width x 21, limit characters (0:
  // none), showing text.
  CKestEdit* AddTextRow(const wchar_t* caption, int width, int limit, const wchar_t* text);
  // A group box of radio items in one column, checked the item given; its
  // items' clicks reach the form as commands of id.
  CKestRadioGroupBox* AddRadioRow(const wchar_t* caption, int width, int height, const wchar_t* const* items,
                                  int count, int checked, int id = 0);
  // A line of explanation in a row of its own, centred across the form; it
  // is no row (no control under it). Null when the form is not open or has
  // all its lines.
  CKestLabel* AddTextLine(const wchar_t* text);
  // A row left empty, to set what follows apart.
  void AddEmptyRow();
  // "OK" and "Отмена", buttonWidth x 25, centred in the last row of the
  // form, or of container (a panel of the form) when one is given.
  void AddButtons(int buttonWidth = kBeDialogButtonWidth, CKestContainer* container = nullptr);
  // Rows added from now on put their label beside the control (the label
  // first) instead of above it.
  void SetLabelsBeside(bool beside) { labelsBeside_ = beside; }

  // The control that takes the focus when the form is shown (and whenever
  // the form itself would get it). Given before the form shows, the focus
  // would be what the modal loop hands back when it ends.
  void SetInitialFocus(CKestControl* control) { initialFocus_ = control; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The modal loop; true only for "OK" with the form still there to read.
  bool Confirm();

  int GetRowCount() const { return rowCount_; }
  CKestLabel* GetRowLabel(int row) const { return HasRow(row) ? labels_[row] : nullptr; }
  CKestControl* GetRowControl(int row) const { return HasRow(row) ? controls_[row] : nullptr; }
  int GetTextLineCount() const { return lineCount_; }
  CKestLabel* GetTextLine(int line) const {
    return line >= 0 && line < lineCount_ && line < kMaxTextLines ? lines_[line] : nullptr;
  }
  CKestButton* GetOkButton() const { return ok_; }
  CKestButton* GetCancelButton() const { return cancel_; }

private:
  bool HasRow(int row) const { return row >= 0 && row < rowCount_ && row < kMaxRows; }
  // The stacked label of a new row; null when no row is left.
  CKestLabel* BeginRow(const wchar_t* caption);
  void EndRow(CKestControl* control);

  int rowCount_ = 0;
  CKestLabel* labels_[kMaxRows] = {};
  CKestControl* controls_[kMaxRows] = {};
  int lineCount_ = 0;
  CKestLabel* lines_[kMaxTextLines] = {};
  CKestButton* ok_ = nullptr;
  CKestButton* cancel_ = nullptr;
  CKestControl* initialFocus_ = nullptr;
  bool labelsBeside_ = false;
};

// Deletes the form at the end of the dialog when its window is still the
// form's (the program may have ended it meanwhile).
class BePropertyFormScope {
public:
  explicit BePropertyFormScope(CBEPropertyForm* form);
  ~BePropertyFormScope();
  BePropertyFormScope(const BePropertyFormScope&) = delete;
  BePropertyFormScope& operator=(const BePropertyFormScope&) = delete;

private:
  CBEPropertyForm* form_;
  HWND window_;
};

// A new open form for the block's dialog: titled with the block's caption,
// width x height; null (nothing left behind) when it could not be made.
CBEPropertyForm* OpenPropertyForm(CBEBlock* block, int width, int height);
// The same with a caption of the caller's.
CBEPropertyForm* OpenPropertyForm(const wchar_t* caption, int width, int height);

// The type a type list stands for: first + the selected index, or fallback
// when nothing is selected.
BeSignalType SelectedListType(CKestComboBox* list, BeSignalType first, BeSignalType fallback);
// Does the text hold a decimal digit: a number field's text without one
// reads as 0 rather than as the field's previous value.
bool TextHasDigit(const wchar_t* text);
// The text of an edit, at most chars characters of it, into a buffer of
// chars + 1 (empty for a null edit).
void ReadEditText(CKestEdit* edit, wchar_t* text, int chars);
