// An OpenGL rendering context for the tests of the items' OpenGL drawing:
// on a window, or else on a 32-bit bitmap, made current while alive.
// Mesa's software renderer, which tools/deps.sh installs, gives Wine its
// contexts under Xvfb.
#pragma once

#include <windows.h>

#include "blocks/panel/ui_panel.h"

namespace paneltest {

class GlTarget {
public:
  explicit GlTarget(HWND window) : window_(window) {
    windowDc_ = GetDC(window);
    if (TryContext(windowDc_, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER)) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kPanelCanvasWidth;
    info.bmiHeader.biHeight = kPanelCanvasHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    memoryDc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(memoryDc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_) old_ = SelectObject(memoryDc_, bitmap_);
    TryContext(memoryDc_, PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI);
  }
  ~GlTarget() {
    if (context_) {
      wglMakeCurrent(nullptr, nullptr);
      wglDeleteContext(context_);
    }
    if (memoryDc_) {
      if (old_) SelectObject(memoryDc_, old_);
      if (bitmap_) DeleteObject(bitmap_);
      DeleteDC(memoryDc_);
    }
    ReleaseDC(window_, windowDc_);
  }
  GlTarget(const GlTarget&) = delete;
  GlTarget& operator=(const GlTarget&) = delete;
  bool Ready() const { return context_ != nullptr; }

private:
  bool TryContext(HDC dc, DWORD flags) {
    if (!dc) return false;
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = flags;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    int format = ChoosePixelFormat(dc, &pfd);
    if (!format || !SetPixelFormat(dc, format, &pfd)) return false;
    HGLRC context = wglCreateContext(dc);
    if (!context) return false;
    if (!wglMakeCurrent(dc, context)) {
      wglDeleteContext(context);
      return false;
    }
    context_ = context;
    return true;
  }
  HWND window_;
  HDC windowDc_ = nullptr;
  HDC memoryDc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  HGLRC context_ = nullptr;
};
}  // namespace paneltest
