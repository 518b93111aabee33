// A numeric spin edit of the Kest framework: an integer or real value typed
// or stepped with up and down arrows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/containers/kest_container.h"
#include "kestui/edits/kest_custom_edit.h"
#include "kestui/edits/kest_up_down.h"

class CKestSpinEdit : public CKestCustomEdit {
public:
  // Integer or real; minimum and maximum both 0 mean no limits. The value
  // starts at the minimum. Its own notifications stay inside until it is
  // first painted.
  CKestSpinEdit(CKestContainer* container, int id, bool integer, double minimum, double maximum,
                double step, uint32_t position, int width, int height);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Clamps and shows the value ("%g" form); clears the modified flag.
  void SetValue(double value);
  // Parses typed text first (unparsable: the minimum), then clamps.
  double GetValue();
  // Clamps and shows the value as an integer; clears the modified flag.
  void SetIntValue(int value);
  // Parses typed text first (leading sign and digits; nothing: 0), then
  // clamps; truncated toward zero.
  int GetIntValue();
  void ClampValue();
  // Keeps width for the arrows and lays the text and the arrows out.
  void PlaceUpDown(int upDownWidth);

  bool IsInteger() const { return integer_; }
  double GetMinimum() const { return minimum_; }
  double GetMaximum() const { return maximum_; }
  double GetStep() const { return step_; }
  void SetRange(double minimum, double maximum);
  void SetStep(double step) { step_ = step; }
  CKestUpDown* GetUpDown() const { return upDown_; }
  bool IsInitialising() const { return initialising_; }

private:
  // Up to 64 characters of the text.
  void ReadText(wchar_t* buffer, int capacity) const;
  void ShowText(const wchar_t* text);
  void SetTextRect(int upDownWidth);

  bool integer_ = false;
  double value_ = 0;
  double minimum_ = 0;
  double maximum_ = 0;
  double step_ = 1;
  int upDownWidth_ = 15;
  CKestUpDown* upDown_ = nullptr;
  bool initialising_ = true;
};

// Leading blanks, an optional sign and decimal digits; 0 when none follow.
// Values beyond the int range stop at its ends.
int ParseLeadingInt(const wchar_t* text);
