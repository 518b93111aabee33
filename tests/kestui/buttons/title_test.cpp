// Buttons, check boxes, radios and labels: what a press reports to the form,
// radio groups, the default button of a modal form, label measuring,
// stacking and painting.
#include <windows.h>

#include <cwchar>
#include <vector>

#include "kestui/kest_test_widgets.h"
#include "kestui/key_input.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_check_box.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/buttons/kest_radio.h"
#include "kestui/containers/kest_flow_layout.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/forms/kest_form.h"
#include "support/test_support.h"

namespace {

using keytest::PressKey;
using keytest::RunLoopUntilIdle;
using keytest::TestPanel;

struct Command {
  int id;
  int code;
  HWND sender;
};

// A form that records the WM_COMMAND messages it receives.
class RecordingForm : public CKestForm {
public:
  explicit RecordingForm(bool create = true) {
    if (create) Create(nullptr, L"Проверка", KestPos(30, 30), 420, 320, nullptr, false, false, true, true);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) {
      commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    }
    if (message == kFocusAndPress && focusTarget) {
      ::SetFocus(focusTarget);
      PostMessageW(focusTarget, WM_KEYDOWN, pressKey, keytest::KeyData(pressKey, false));
      PostMessageW(focusTarget, WM_KEYUP, pressKey, keytest::KeyData(pressKey, true));
      return 0;
    }
    return CKestForm::WindowProc(message, wParam, lParam);
  }
  int CountFrom(HWND sender) const {
    int n = 0;
    for (const Command& c : commands) n += c.sender == sender ? 1 : 0;
    return n;
  }

  // Posted to the form inside a modal loop: focus a window, then press a key on it.
  static constexpr UINT kFocusAndPress = WM_APP + 1;
  HWND focusTarget = nullptr;
  UINT pressKey = 0;
  std::vector<Command> commands;
};




void ClickAt(HWND window, int x, int y) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  RunLoopUntilIdle();
}

// Destroys what a test left and drops the quit request that the end of the
// main form posts.
void CloseForm(CKestForm* form) {
  if (form && form->GetHandle()) DestroyWindow(form->GetHandle());
  velktest::FlushEvents();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class TitleTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new RecordingForm();
    ASSERT_NE(nullptr, form->GetHandle());
    window = form->GetHandle();
    kesttest::ActivateWindow(window);
  }
  void TearDown() override {
    if (IsWindow(window)) CloseForm(form);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  RecordingForm* form = nullptr;
  HWND window = nullptr;
};

TEST_F(TitleTest, CheckBoxTogglesOnceWithOneCommandForClickEnterAndSpace) {
  auto* box = new CKestCheckBox(form, L"Флажок", false, 41, KestPos(10, 10), 160, 20, nullptr);
  HWND handle = box->GetHandle();
  ASSERT_NE(nullptr, handle);
  EXPECT_FALSE(box->IsChecked());

  enum Way { kClick, kEnter, kSpace };
  for (Way way : {kClick, kEnter, kSpace, kClick, kSpace, kEnter}) {
    SCOPED_TRACE(way);
    bool before = box->IsChecked();
    form->commands.clear();
    box->SetFocus();
    switch (way) {
      case kClick:
        ClickAt(handle, 5, 5);
        break;
      case kEnter:
        PressKey(handle, VK_RETURN);
        break;
      case kSpace:
        PressKey(handle, VK_SPACE);
        break;
    }
    EXPECT_NE(before, box->IsChecked());
    ASSERT_EQ(1u, form->commands.size());
    EXPECT_EQ(41, form->commands[0].id);
    EXPECT_EQ(0, form->commands[0].code);
    EXPECT_EQ(handle, form->commands[0].sender);
  }
}

TEST_F(TitleTest, CheckBoxInAPanelStillGivesOneCommand) {
  auto* panel = new TestPanel(form, KestPos(0, 0), 300, 200);
  auto* box = new CKestCheckBox(panel, L"В панели", true, 42, KestPos(10, 10), 160, 20, nullptr);
  EXPECT_TRUE(box->IsChecked());
  box->SetFocus();
  ClickAt(box->GetHandle(), 5, 5);
  EXPECT_FALSE(box->IsChecked());
  PressKey(box->GetHandle(), VK_SPACE);
  EXPECT_TRUE(box->IsChecked());
  EXPECT_EQ(2, form->CountFrom(box->GetHandle()));
}

TEST_F(TitleTest, ReleasingTheMouseOutsideACheckBoxChangesNothing) {
  auto* box = new CKestCheckBox(form, L"Флажок", false, 43, KestPos(10, 10), 160, 20, nullptr);
  SendMessageW(box->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(box->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
  RunLoopUntilIdle();
  EXPECT_FALSE(box->IsChecked());
  EXPECT_EQ(0, form->CountFrom(box->GetHandle()));
}

TEST_F(TitleTest, RadiosOfOneContainerAreExclusiveAndOthersUntouched) {
  CKestRadio* group[3];
  for (int i = 0; i < 3; ++i) {
    group[i] = new CKestRadio(form, L"Выбор", 50 + i, KestPos(10, 10 + 24 * i), 120, 20, nullptr);
  }
  auto* panel = new TestPanel(form, KestPos(200, 0), 200, 200);
  auto* other1 = new CKestRadio(panel, L"Другой 1", 60, KestPos(10, 10), 120, 20, nullptr);
  auto* other2 = new CKestRadio(panel, L"Другой 2", 61, KestPos(10, 34), 120, 20, nullptr);
  other2->SetChecked(true);
  // A check box is a button of another kind: radios leave it alone.
  auto* box = new CKestCheckBox(form, L"Флажок", true, 70, KestPos(10, 90), 120, 20, nullptr);
  for (CKestRadio* radio : group) {
    SetWindowLongW(radio->GetHandle(), GWL_STYLE,
                   GetWindowLongW(radio->GetHandle(), GWL_STYLE) & ~WS_TABSTOP);
  }
  group[0]->SetChecked(true);

  ClickAt(group[1]->GetHandle(), 5, 5);
  EXPECT_FALSE(group[0]->IsChecked());
  EXPECT_TRUE(group[1]->IsChecked());
  EXPECT_FALSE(group[2]->IsChecked());
  EXPECT_NE(0, GetWindowLongW(group[0]->GetHandle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_NE(0, GetWindowLongW(group[2]->GetHandle(), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(other1->IsChecked());
  EXPECT_TRUE(other2->IsChecked());
  EXPECT_TRUE(box->IsChecked());
  ASSERT_EQ(1u, form->commands.size());
  EXPECT_EQ(51, form->commands[0].id);
  EXPECT_EQ(0, form->commands[0].code);

  // Space on a radio: one command too.
  form->commands.clear();
  group[2]->SetFocus();
  PressKey(group[2]->GetHandle(), VK_SPACE);
  EXPECT_FALSE(group[1]->IsChecked());
  EXPECT_TRUE(group[2]->IsChecked());
  EXPECT_EQ(1u, form->commands.size());
  EXPECT_EQ(1, form->CountFrom(group[2]->GetHandle()));

  // Clicking the checked radio again keeps it checked and still reports.
  form->commands.clear();
  ClickAt(group[2]->GetHandle(), 5, 5);
  EXPECT_TRUE(group[2]->IsChecked());
  EXPECT_EQ(1u, form->commands.size());
}

TEST_F(TitleTest, CheckBoxAnswersItsBrushForTheParentsColourRequest) {
  auto* box = new CKestCheckBox(form, L"Цвет", false, 44, KestPos(10, 10), 160, 20, nullptr);
  box->SetTextColor(RGB(200, 0, 0));
  HBRUSH brush = box->SetBackColor(RGB(0, 0, 255));
  ASSERT_NE(nullptr, brush);
  HDC dc = GetDC(box->GetHandle());
  LRESULT answer = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(box->GetHandle()));
  EXPECT_EQ(reinterpret_cast<LRESULT>(brush), answer);
  EXPECT_EQ(RGB(200, 0, 0), GetTextColor(dc));
  EXPECT_EQ(RGB(0, 0, 255), GetBkColor(dc));
  ReleaseDC(box->GetHandle(), dc);
}

// A modal form with an edit and two buttons; the form posts itself the
// focusing and the key press so that the modal loop handles them.
struct ModalCase {
  const char* name;
  bool pressEnterInEdit;  // else: click the second button
  int expected;
};

TEST(TitleModalTest, ButtonsCloseAModalFormWithTheirResult) {
  const ModalCase cases[] = {
      {"enter in edit -> default button", true, 2},
      {"click on second button", false, 5},
  };
  for (const ModalCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto* dialog = new RecordingForm();
    ASSERT_NE(nullptr, dialog->GetHandle());
    HWND window = dialog->GetHandle();
    auto* edit = new CKestEdit(dialog, 7, KestPos(10, 10), 200, 21, false, 0, true);
    auto* defaultButton = new CKestButton(dialog, L"Закрыть", true, 8, KestPos(10, 50), 80, 25, nullptr, 2);
    auto* other = new CKestButton(dialog, L"Пять", false, 9, KestPos(100, 50), 80, 25, nullptr, 5);
    HWND defaultHandle = defaultButton->GetHandle();
    HWND otherHandle = other->GetHandle();
    if (c.pressEnterInEdit) {
      dialog->focusTarget = edit->GetHandle();
      dialog->pressKey = VK_RETURN;
      PostMessageW(window, RecordingForm::kFocusAndPress, 0, 0);
    } else {
      PostMessageW(otherHandle, BM_CLICK, 0, 0);
    }
    int result = dialog->ShowModal(false);
    EXPECT_EQ(c.expected, result);
    // The result comes first: the form and its record are still there.
    ASSERT_EQ(dialog, GetControlFromHandle(window));
    HWND pressed = c.pressEnterInEdit ? defaultHandle : otherHandle;
    ASSERT_EQ(1, dialog->CountFrom(pressed));
    EXPECT_EQ(0, dialog->CountFrom(c.pressEnterInEdit ? otherHandle : defaultHandle));
    // Enter is not typed into the edit.
    EXPECT_EQ(0, GetWindowTextLengthW(edit->GetHandle()));
    velktest::FlushEvents();
    EXPECT_FALSE(IsWindow(window));  // the queued destruction ran
    CloseForm(nullptr);
  }
}

TEST_F(TitleTest, ButtonWithoutModalResultOnlyReports) {
  auto* button = new CKestButton(form, L"Кнопка", false, 12, KestPos(10, 10), 80, 25, L"Подсказка", 0);
  EXPECT_STREQ(L"Подсказка", button->GetHint());
  EXPECT_EQ(12, GetWindowLongW(button->GetHandle(), GWL_ID));
  ClickAt(button->GetHandle(), 5, 5);
  EXPECT_EQ(1, form->CountFrom(button->GetHandle()));
  EXPECT_TRUE(IsWindow(window));
  // Space and Enter on the focused button press it once each.
  button->SetFocus();
  PressKey(button->GetHandle(), VK_SPACE);
  PressKey(button->GetHandle(), VK_RETURN);
  EXPECT_EQ(3, form->CountFrom(button->GetHandle()));
}

// Label measuring and layout.

TEST_F(TitleTest, MeasuredLabelIsAsWideAsItsTextAndTwoPixelsTaller) {
  const wchar_t* caption = L"Напряжение";
  auto* label = new CKestLabel(form, caption, KestPos(10, 10), false, KEST_LABEL_MEASURE,
                               KEST_LABEL_MEASURE, -1);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, form->GetFont()->GetHandle());
  SIZE text;
  GetTextExtentPoint32W(dc, caption, static_cast<int>(wcslen(caption)), &text);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_GT(text.cx, 20);
  EXPECT_EQ(text.cx, label->GetWidth());
  EXPECT_EQ(text.cy + 2, label->GetHeight());

  auto* empty = new CKestLabel(form, nullptr, KestPos(10, 40), false, KEST_LABEL_MEASURE,
                               KEST_LABEL_MEASURE, -1);
  EXPECT_EQ(10, empty->GetWidth());
  EXPECT_EQ(20, empty->GetHeight());
  // Only the measured direction is measured.
  auto* half = new CKestLabel(form, caption, KestPos(10, 70), false, 200, KEST_LABEL_MEASURE, 0);
  EXPECT_EQ(200, half->GetWidth());
  EXPECT_EQ(text.cy + 2, half->GetHeight());
}

TEST_F(TitleTest, StackedLabelSharesACellWithTheNextFlowWidget) {
  KestFlowLayout* flow = form->GetFlowLayout();
  ASSERT_NE(nullptr, flow);
  int left = flow->leftEdge, top = flow->cursorY;
  auto* label = new CKestLabel(form, L"Имя", KEST_POS_FLOW, true, 60, 18, -1);
  auto* edit = new CKestEdit(form, 3, KEST_POS_FLOW, 120, 21, false, 0, true);
  auto* next = new CKestButton(form, L"Далее", false, 4, KEST_POS_FLOW, 80, 25, nullptr, 0);
  EXPECT_EQ(left + 8, label->GetPosition().x);
  EXPECT_EQ(top + 8, label->GetPosition().y);
  EXPECT_EQ(left + 8, edit->GetPosition().x);
  EXPECT_EQ(top + 8 + 18, edit->GetPosition().y);
  EXPECT_EQ(left + 8 + 120 + 8, next->GetPosition().x);
  // Without the stack flag the label takes its own cell.
  form->NewFlowRow();
  auto* plain = new CKestLabel(form, L"Имя", KEST_POS_FLOW, false, 60, 18, -1);
  auto* edit2 = new CKestEdit(form, 5, KEST_POS_FLOW, 120, 21, false, 0, true);
  EXPECT_EQ(plain->GetPosition().y, edit2->GetPosition().y);
  EXPECT_EQ(plain->GetPosition().x + 60 + 8, edit2->GetPosition().x);
}

TEST_F(TitleTest, LabelInAGradientContainerIsTransparent) {
  auto* panel = new TestPanel(form, KestPos(0, 0), 200, 100);
  panel->SetGradient(true, RGB(0, 0, 128));
  auto* label = new CKestLabel(panel, L"Заголовок", KestPos(5, 5), false, 100, 20, -1);
  EXPECT_EQ(KEST_TRANSPARENT, label->GetBackColor());
  auto* plain = new CKestLabel(form, L"Обычная", KestPos(210, 5), false, 100, 20, -1);
  EXPECT_NE(KEST_TRANSPARENT, plain->GetBackColor());
  EXPECT_NE(0, GetWindowLongW(label->GetHandle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

// Pixel checks of what a label shows.
class LabelPaintTest : public TitleTest {
protected:
  // Counts, in the label's rectangle as the form shows it, the pixels that
  // look like the (pure red) text colour; also gives the mean column of them.
  int CountTextPixels(CKestLabel* label, double* meanX = nullptr) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    velktest::FlushEvents();
    RECT r = label->GetBounds();
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    GdiFlush();
    int count = 0;
    double sumX = 0;
    auto* pixels = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        uint32_t p = pixels[y * w + x];
        int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
        if (red > 150 && green < 100 && blue < 100) {
          ++count;
          sumX += x;
        }
      }
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(window, dc);
    if (meanX) *meanX = count ? sumX / count / w : 0;
    return count;
  }
};

TEST_F(LabelPaintTest, TransparentLabelErasesItsOldText) {
  form->SetBackColor(RGB(255, 255, 255));
  auto* label = new CKestLabel(form, L"ЖЖЖЖЖЖЖЖ", KestPos(20, 20), false, 200, 24, -1);
  label->SetBackColor(KEST_TRANSPARENT);
  label->SetTextColor(RGB(255, 0, 0));
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_GT(CountTextPixels(label), 20);
  EXPECT_TRUE(label->SetCaption(L""));
  EXPECT_EQ(0, CountTextPixels(label));
  EXPECT_TRUE(label->SetCaption(L"ЖЖ"));
  int shortText = CountTextPixels(label);
  EXPECT_GT(shortText, 5);
}

TEST_F(LabelPaintTest, OpaqueLabelRepaintsAtOnceAndAligns) {
  struct Case {
    int8_t alignment;
    double minMean, maxMean;
  };
  const Case cases[] = {{-1, 0.0, 0.3}, {0, 0.35, 0.65}, {1, 0.7, 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    auto* label = new CKestLabel(form, L"Ж", KestPos(20, 60), false, 300, 24, c.alignment);
    label->SetBackColor(RGB(255, 255, 255));
    label->SetTextColor(RGB(255, 0, 0));
    label->SetCaption(L"ЖЖЖ");
    double mean = 0;
    EXPECT_GT(CountTextPixels(label, &mean), 10);
    EXPECT_GE(mean, c.minMean);
    EXPECT_LE(mean, c.maxMean);
    DestroyWindow(label->GetHandle());
  }
}

}  // namespace
