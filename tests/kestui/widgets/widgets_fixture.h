// A form for the tests of the grid and the other widgets that no program
// form uses: it records the grid requests and framework reports that reach
// it, keeps cell texts for the grid's text requests, and can draw cells.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "kestui/kest_test_widgets.h"
#include "kestui/containers/kest_container.h"
#include "kestui/widgets/kest_grid.h"
#include "support/test_support.h"

namespace widgettest {

struct GridCall {
  WPARAM code;
  int column;
  int row;
  uint32_t state;  // draw requests
  std::wstring text;  // set-text requests
};

class WidgetForm : public CKestContainer {
public:
  WidgetForm(int width, int height) {
    CreateControlWindow(0, nullptr, L"Kest widgets test", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE,
                        KestPos(30, 30), width, height, nullptr, nullptr, nullptr);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEST_GRIDREQUEST) {
      auto* request = reinterpret_cast<KestGridRequest*>(lParam);
      GridCall call = {wParam, request->column, request->row, request->state,
                       request->text ? request->text : L""};
      if (wParam != KestGridRequestDrawCell || recordDrawing) calls.push_back(call);
      switch (wParam) {
        case KestGridRequestDrawCell:
          return drawCell ? drawCell(request) : 0;
        case KestGridRequestSelectingCell:
          return refuseCell ? refuseCell(request->column, request->row) : 0;
        case KestGridRequestGetText: {
          auto found = texts.find({request->column, request->row});
          return found == texts.end() ? 0 : reinterpret_cast<LRESULT>(found->second.c_str());
        }
        case KestGridRequestSetText:
          texts[{request->column, request->row}] = request->text ? request->text : L"";
          return 0;
        default:
          return 0;
      }
    }
    if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_KEST_SCROLL ||
        message == WM_KEST_MOUSEMOVE || message == WM_KEST_RBUTTONDOWN) {
      seen.push_back(kesttest::Seen{message, wParam, lParam,
                                    message == WM_NOTIFY && lParam
                                        ? reinterpret_cast<NMHDR*>(lParam)->code
                                        : 0u});
    }
    return CKestContainer::WindowProc(message, wParam, lParam);
  }

  int Count(UINT message) const {
    int n = 0;
    for (const auto& s : seen) n += s.message == message;
    return n;
  }
  std::wstring Text(int column, int row) const {
    auto found = texts.find({column, row});
    return found == texts.end() ? L"<none>" : found->second;
  }
  std::vector<GridCall> Calls(WPARAM code) const {
    std::vector<GridCall> result;
    for (const auto& c : calls) {
      if (c.code == code) result.push_back(c);
    }
    return result;
  }

  std::vector<GridCall> calls;
  std::vector<kesttest::Seen> seen;
  std::map<std::pair<int, int>, std::wstring> texts;
  std::function<LRESULT(KestGridRequest*)> drawCell;
  std::function<bool(int, int)> refuseCell;
  bool recordDrawing = false;
};

// A test with a form that goes when the test ends; the modifier keys are
// released before and after.
template <int Width, int Height>
class WidgetFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    kesttest::SetModifierKeys(false, false, false);
    form = new WidgetForm(Width, Height);
    ASSERT_NE(nullptr, form->GetHandle());
    guard = std::make_unique<kesttest::WindowGuard>(form);
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
    kesttest::SetModifierKeys(false, false, false);
  }

  WidgetForm* form = nullptr;
  std::unique_ptr<kesttest::WindowGuard> guard;
};

inline std::wstring ClipboardText(HWND owner) {
  std::wstring text = L"<no text>";
  if (!OpenClipboard(owner)) return L"<no clipboard>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

inline void EmptyTheClipboard(HWND owner) {
  if (OpenClipboard(owner)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

inline std::string Describe(int left, int top, int right, int bottom) {
  return "(" + std::to_string(left) + "," + std::to_string(top) + ")-(" + std::to_string(right) +
         "," + std::to_string(bottom) + ")";
}
inline std::string Describe(const RECT& r) { return Describe(r.left, r.top, r.right, r.bottom); }

inline LPARAM Point(int x, int y) {
  return MAKELPARAM(static_cast<short>(x), static_cast<short>(y));
}

}  // namespace widgettest
