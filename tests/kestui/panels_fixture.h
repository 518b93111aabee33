// A top-level container standing in for a form in the tests of panels,
// splitters, scroll boxes, tabs and speed buttons: it records the framework
// reports that reach it, and helpers to paint a widget into a bitmap.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "kest_test_widgets.h"
#include "kestui/containers/kest_container.h"
#include "support/test_support.h"

namespace kesttest {

class RecordingForm : public CKestContainer {
public:
  explicit RecordingForm(int width = 400, int height = 300) {
    CreateControlWindow(0, nullptr, L"Kest panels test", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE,
                        KestPos(30, 30), width, height, nullptr, nullptr, nullptr);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (IsReported(message)) seen.push_back(Seen{message, wParam, lParam, 0});
    if (message == WM_KEST_MOUSEWHEEL) return wheelAnswer;
    return CKestContainer::WindowProc(message, wParam, lParam);
  }
  int Count(UINT message, WPARAM wParam) const {
    int n = 0;
    for (const Seen& s : seen) n += s.message == message && s.wParam == wParam;
    return n;
  }

  std::vector<Seen> seen;
  LRESULT wheelAnswer = 0;
};

// A 32-bit top-down DIB section with a memory DC, filled with one colour.
class Canvas {
public:
  Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    DWORD p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  DWORD* bits_ = nullptr;
};

// A test with a recording form of the given size that goes when the test
// ends.
template <int Width, int Height>
class RecordingFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = new RecordingForm(Width, Height);
    ASSERT_NE(nullptr, form->GetHandle());
    guard = std::make_unique<WindowGuard>(form);
  }
  void TearDown() override {
    guard.reset();
    velktest::FlushEvents();
  }

  RecordingForm* form = nullptr;
  std::unique_ptr<WindowGuard> guard;
};

}  // namespace kesttest
