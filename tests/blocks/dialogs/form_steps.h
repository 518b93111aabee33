// Driving dialogs that are forms of their own (not CBEPropertyForm) and
// dialogs that open further dialogs: each modal form that shows gets the
// next step, in order; a step looks at its form, changes it and closes it
// (a step may open a nested form, which then gets the step after it).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "kestui/buttons/kest_check_box.h"
#include "kestui/forms/kest_form.h"
#include "kestui/lists/kest_list_view.h"

namespace dialogtest {

using Step = std::function<void(CKestForm* form)>;

// Runs call (which shows the first form) with the steps answering the
// forms as they show; answers what call answered. Every step must have
// run and every form must be gone at the end.
bool RunSteps(const std::function<bool()>& call, const std::vector<Step>& steps);

// Every descendant window of a form, in creation order.
std::vector<HWND> Descendants(CKestControl* form);

// The descendants of a form of a class, in creation order.
template <typename T>
std::vector<T*> Find(CKestControl* form) {
  std::vector<T*> found;
  for (HWND window : Descendants(form))
    if (auto* control = dynamic_cast<T*>(GetControlFromHandle(window))) found.push_back(control);
  return found;
}

// The button (or check box) of a form with that caption; null for none.
HWND FindButton(CKestControl* form, const wchar_t* caption);
// Clicks it as the user does.
void Press(CKestControl* form, const wchar_t* caption);
// Sends a command to the form as a menu item or a tool button would.
void Command(CKestControl* form, UINT command);

// The texts of a list view's rows, column by column ("a|int|0").
std::vector<std::wstring> Rows(CKestListView* list);

}  // namespace dialogtest
