// The line settings form of the USB-UART parts.
#pragma once

#include "components/electronic/usb/uart_settings.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_combo_box.h"

// The modal settings form: optional heading lines, then the speed, parity,
// stop bits and protocol lists, "OK" (1) and "Отмена" (2).
class CUartSettingsForm : public CKestForm {
public:
  // Centred on the screen, not sizeable; heading and priceLine may be null.
  CUartSettingsForm(const wchar_t* caption, int width, int height, const wchar_t* heading,
                    const wchar_t* priceLine, const UartSettings& settings);

  // Takes the chosen values into settings; a list without a valid selection
  // keeps the stored value.
  void TakeInto(UartSettings* settings) const;

  CKestComboBox* speedBox = nullptr;
  CKestComboBox* parityBox = nullptr;
  CKestComboBox* stopBox = nullptr;
  CKestComboBox* protocolBox = nullptr;
  CKestButton* okButton = nullptr;
  CKestButton* cancelButton = nullptr;
};

// Shows the form modally; true, with settings changed, when "OK" closed it.
bool EditUartSettings(const wchar_t* caption, int width, int height, const wchar_t* heading,
                      const wchar_t* priceLine, UartSettings* settings);
