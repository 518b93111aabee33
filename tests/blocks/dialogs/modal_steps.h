// Driving dialogs whose modal loops open further modal forms (editors over
// a list dialog): a list of steps, each run by a thread timer when the
// newest visible live form is of the step's kind. A step that opens a form
// posts the command, so that it returns and the next step meets the new
// form on a later tick.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "kestui/buttons/kest_button.h"
#include "kestui/forms/kest_custom_form.h"
#include "support/test_support.h"

namespace dialogtest {

using ModalStep = std::function<bool(CKestCustomForm* top)>;

// A step for the newest visible form when it is a T.
template <class T>
ModalStep On(std::function<void(T*)> act) {
  return [act](CKestCustomForm* top) {
    T* form = dynamic_cast<T*>(top);
    if (!form) return false;
    act(form);
    return true;
  };
}

// Posts a click on the button (it closes its form with its result).
inline void Press(CKestButton* button) {
  if (button) PostMessageW(button->GetHandle(), BM_CLICK, 0, 0);
}

class ModalSteps {
public:
  // Runs call with the timer working through steps; answers what call did.
  // Every step must have run by the time call returns.
  static bool Run(const std::function<bool()>& call, std::vector<ModalStep> steps) {
    Steps() = std::move(steps);
    Next() = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
    EXPECT_NE(0u, timer);
    bool answer = call();
    KillTimer(nullptr, timer);
    velktest::FlushEvents();
    EXPECT_EQ(Steps().size(), Next()) << "every step ran";
    Steps().clear();
    return answer;
  }

  // The newest visible live form, or null.
  static CKestCustomForm* TopForm() {
    for (int i = LiveForms.count - 1; i >= 0; i--) {
      CKestCustomForm* form = LiveForms.forms[i];
      if (form && form->GetHandle() && IsWindowVisible(form->GetHandle())) return form;
    }
    return nullptr;
  }

private:
  static std::vector<ModalStep>& Steps() {
    static std::vector<ModalStep> steps;
    return steps;
  }
  static size_t& Next() {
    static size_t next = 0;
    return next;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (Next() >= Steps().size()) return;
    CKestCustomForm* top = TopForm();
    if (!top) return;
    // Counted before it runs: a step may open a form whose loop ticks on.
    size_t index = Next()++;
    if (!Steps()[index](top)) Next() = index;
  }
};

}  // namespace dialogtest
