// CComponentViewer: the small modal window "Свойства" of a component: its
// picture (a file of the database images folder) beside its description,
// and "OK". The caller shows it with CKestForm::ShowModal.
#pragma once

#include <windows.h>

#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_paintbox.h"

constexpr int kVelkViewerWidth = 600;
constexpr int kVelkViewerHeight = 300;

// Where the viewer draws a picture of width x height in a box of
// areaWidth x areaHeight: 10 pixels narrower than the box with the
// picture's proportions, or, when the box is lower than that, 10 pixels
// lower than the box; centred. Empty when nothing can be drawn.
RECT FitViewerPicture(int areaWidth, int areaHeight, int width, int height);

class CComponentViewer : public CKestForm {
public:
  // owner: the owner form or null. description: the text shown, taken
  // whole. pictureFile: a file name in the database images folder, or null;
  // a picture that does not load leaves the box white.
  CComponentViewer(CKestControl* owner, const wchar_t* description, const wchar_t* pictureFile);
  ~CComponentViewer() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CKestPaintBox* GetPictureBox() const { return pictureBox_; }
  CKestLabel* GetTextLabel() const { return textLabel_; }
  CKestButton* GetOkButton() const { return okButton_; }
  CKestImage* GetPicture() const { return picture_; }

private:
  void BuildControls();
  void PaintPicture();

  CKestImage* picture_ = nullptr;
  CKestPaintBox* pictureBox_ = nullptr;
  CKestLabel* textLabel_ = nullptr;
  CKestButton* okButton_ = nullptr;
};
