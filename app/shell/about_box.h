// The about box: the program's icon, name, version, what it is, the makers'
// line with a web link and the project's web site. Shown modally by the main
// window's "О программе..." command; deletes itself after it closes.
#pragma once

#include <windows.h>

#include "kestui/forms/kest_form.h"

class CKestLabel;

// Control ids of the two web links.
const int kVelkAboutMakersLinkId = 1000;
const int kVelkAboutSiteLinkId = 1001;
// Where the links lead (opened with the default browser).
extern const wchar_t* const kVelkAboutMakersLinkTarget;
extern const wchar_t* const kVelkAboutSiteLinkTarget;

class CAboutBox : public CKestForm {
public:
  // Creates the window (hidden until ShowModal) owned by owner, and its
  // widgets.
  explicit CAboutBox(CKestForm* owner);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  // An underlined blue label with the hand cursor and the given window id.
  CKestLabel* AddLink(const wchar_t* text, int id);
};
