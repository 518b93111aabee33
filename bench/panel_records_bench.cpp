// Control panels whose item records hold extreme sizes, places, lengths,
// font sizes and slider values (any 32-bit size, a default of 1e20, a font
// of 20,000 points): each panel is saved (which paints its preview), read
// back and painted on the 768 x 434 canvas, and the time of the slowest
// shape is reported. Goal: every shape in well under a second (0.25 s).
// Exit code 1 when a shape misses it.
//
// Run it from the build's bin folder, where "screen.png" lies.
#include <windows.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/panel/items/velk_ui_button.h"
#include "blocks/panel/items/velk_ui_image.h"
#include "blocks/panel/items/velk_ui_joystick.h"
#include "blocks/panel/items/velk_ui_line.h"
#include "blocks/panel/items/velk_ui_text.h"
#include "blocks/panel/items/velk_ui_trackbar.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_blocks/ui_block_entries.h"
#include "blocks/panel/ui_panel.h"
#include "blocks/panel/velk_ui_control.h"
#include "foundation/memory_stream.h"
#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"

namespace {

const double kGoalSeconds = 0.25;

// Palette rows of the kinds.
enum { kText, kLine, kPicture, kButton, kSlider, kJoystick, kVideo, kIndicator };

using velkbench::Now;

// Message boxes of the lower layers are answered at once.
class QuietHost : public CKestHost {
public:
  int ShowMessage(UINT, const wchar_t*, const wchar_t*) override { return IDOK; }
};

struct Shape {
  std::string name;
  int row;
  std::function<void(CVelkUIControl*)> make;
};

void Place(CVelkUIControl* item, int x, int y, int width, int height) {
  item->x = x;
  item->y = y;
  item->width = width;
  item->height = height;
}

std::vector<Shape> Shapes() {
  std::vector<Shape> shapes;
  const struct {
    const char* name;
    int x, y, width, height;
  } places[] = {
      {"100,000,000 px", 0, 0, 100000000, 100000000},
      {"largest", 10, 10, INT_MAX, INT_MAX},
      {"far away", INT_MIN, INT_MIN, INT_MAX, INT_MAX},
      {"negative", 300, 200, -100000000, -100000000},
      {"smallest", INT_MAX, INT_MAX, INT_MIN, INT_MIN},
  };
  const char* kindNames[] = {"text", "line", "picture", "button", "slider", "joystick", "video", "indicator"};
  for (int row = kText; row <= kIndicator; ++row) {
    for (const auto& p : places) {
      std::string name = std::string(kindNames[row]) + ", " + p.name;
      int x = p.x, y = p.y, w = p.width, h = p.height;
      shapes.push_back({name, row, [x, y, w, h](CVelkUIControl* item) { Place(item, x, y, w, h); }});
    }
  }
  shapes.push_back({"button 100,000,000 px high", kButton, [](CVelkUIControl* item) {
                      Place(item, 10, 10, 200, 100000000);
                    }});
  shapes.push_back({"button of font size 20,000", kButton, [](CVelkUIControl* item) {
                      static_cast<CVelkUIButton*>(item)->fontSize = 20000;
                    }});
  shapes.push_back({"text of font size 20,000", kText, [](CVelkUIControl* item) {
                      static_cast<CVelkUIText*>(item)->fontSize = 20000;
                    }});
  shapes.push_back({"text of font size -32768", kText, [](CVelkUIControl* item) {
                      static_cast<CVelkUIText*>(item)->fontSize = -32768;
                    }});
  shapes.push_back({"slider default 1e20", kSlider, [](CVelkUIControl* item) {
                      auto* s = static_cast<CVelkUITrackBar*>(item);
                      s->defaultValue = 1e20f;
                      s->topValue = 0;
                      s->bottomValue = 100;
                      s->tickStep = 1;
                    }});
  shapes.push_back({"slider default -1e20, step 1e-4", kSlider, [](CVelkUIControl* item) {
                      auto* s = static_cast<CVelkUITrackBar*>(item);
                      s->defaultValue = -1e20f;
                      s->tickStep = 0.0001f;
                    }});
  shapes.push_back({"slider 100,000,000 px long", kSlider, [](CVelkUIControl* item) {
                      auto* s = static_cast<CVelkUITrackBar*>(item);
                      Place(item, 10, 10, 30, 100000000);
                      s->topValue = 0;
                      s->bottomValue = 1e9f;
                      s->tickStep = 1;
                    }});
  shapes.push_back({"slider tick step 1e-30 on 1e30", kSlider, [](CVelkUIControl* item) {
                      auto* s = static_cast<CVelkUITrackBar*>(item);
                      s->topValue = -1e30f;
                      s->bottomValue = 1e30f;
                      s->tickStep = 1e-30f;
                    }});
  shapes.push_back({"line across the plane, 255 px thick", kLine, [](CVelkUIControl* item) {
                      auto* l = static_cast<CVelkUILine*>(item);
                      l->x1 = INT_MIN;
                      l->y1 = INT_MIN;
                      l->x2 = INT_MAX;
                      l->y2 = INT_MAX;
                      l->thickness = 255;
                    }});
  shapes.push_back({"line 100,000,000 px long", kLine, [](CVelkUIControl* item) {
                      auto* l = static_cast<CVelkUILine*>(item);
                      l->x1 = -100000000;
                      l->y1 = 100;
                      l->x2 = 100000000;
                      l->y2 = 300;
                      l->thickness = 20;
                    }});
  shapes.push_back({"line 100,000,000 px along the diagonal, 255 px thick", kLine, [](CVelkUIControl* item) {
                      auto* l = static_cast<CVelkUILine*>(item);
                      l->x1 = 0;
                      l->y1 = 0;
                      l->x2 = 100000000;
                      l->y2 = 100000000;
                      l->thickness = 255;
                    }});
  shapes.push_back({"picture stretched to 100,000,000 px", kPicture, [](CVelkUIControl* item) {
                      auto* image = static_cast<CVelkUIImage*>(item);
                      image->picture.Create(2, 2, 24);
                      Place(item, 0, 0, 100000000, 100000000);
                    }});
  shapes.push_back({"joystick deflected by 1e38", kJoystick, [](CVelkUIControl* item) {
                      auto* j = static_cast<CVelkUIJoystick*>(item);
                      j->xValue = 1e38f;
                      j->yValue = -1e38f;
                      j->maxX = 1e-38f;
                    }});
  return shapes;
}

// Save (with its preview), read back and paint a panel of one shape;
// answers the seconds it took, or a negative number when the panel did not
// read back.
double Run(const Shape& shape, BeCatalogue* catalogue, HDC canvas) {
  BeScheme scheme;
  scheme.Init(catalogue);
  UiPanel panel(&scheme);
  CVelkUIControl* item = CreatePanelItem(&panel, shape.row);
  if (!item) return -1;
  shape.make(item);
  double start = Now();
  CMemoryStream stream;
  panel.Save(&stream);
  stream.Seek(0, 0);
  BeScheme otherScheme;
  otherScheme.Init(catalogue);
  UiPanel back(&otherScheme);
  if (!back.Load(&stream)) return -1;
  back.PaintItems(canvas);
  panel.PaintItems(canvas);
  return Now() - start;
}

}  // namespace

int main() {
  QuietHost host;
  CKestHostScope scope(&host);
  RegisterPanelItemKinds();
  BeCatalogue catalogue;
  AddUserInterfaceBlockEntries(catalogue.AddGroup(nullptr));
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kPanelCanvasWidth;
  info.bmiHeader.biHeight = -kPanelCanvasHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);

  double slowest = 0;
  std::string slowestName;
  bool failed = false;
  for (const Shape& shape : Shapes()) {
    double seconds = Run(shape, &catalogue, dc);
    if (seconds < 0) {
      printf("%-45s did not read back\n", shape.name.c_str());
      failed = true;
      continue;
    }
    printf("%-45s %8.4f s\n", shape.name.c_str(), seconds);
    if (seconds > slowest) {
      slowest = seconds;
      slowestName = shape.name;
    }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  printf("slowest: %s, %.4f s (goal: under %.2f s)\n", slowestName.c_str(), slowest, kGoalSeconds);
  return failed || slowest >= kGoalSeconds ? 1 : 0;
}
