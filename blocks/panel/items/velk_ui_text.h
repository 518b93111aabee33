// CVelkUIText: a text on the control panel ("Текст"), drawn in its own font
// and colour; its size follows its text at every paint.
#pragma once

#include "blocks/panel/velk_ui_control.h"

class CVelkUIText : public CVelkUIControl {
public:
  // "Текст" in 16-point Arial, black.
  explicit CVelkUIText(UiPanel* panel);
  ~CVelkUIText() override;

  // Name, text, X, Y, font, style, size 5..100, colour.
  void BuildProperties(UiPropertyList* list) override;
  // Sizes the item to its text and draws it, transparent.
  void DrawBackground(HDC dc) override;
  // Base record, text, font name, style (1 byte), size (2), colour (4).
  void Save(CStream* stream) override;
  // A record that ends before the style gives style 0 and size 10.
  bool Load(CStream* stream) override;

  // Replaces the text with a copy (null or empty: none).
  bool SetTextCopy(const wchar_t* value);

  wchar_t* text = nullptr;      // owned
  wchar_t* fontName = nullptr;  // owned
  int fontStyle = 0;
  int fontSize = 16;
  COLORREF textColor = 0x000000;
};

// The kind's factory.
CVelkUIControl* NewVelkUIText(UiPanel* panel);
