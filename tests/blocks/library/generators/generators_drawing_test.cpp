// What the "Генераторы" blocks draw, and the group placed from its palette
// entries as the view paints it.
#include <algorithm>
#include <string>

#include "block_kit.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/library/generators/constant.h"
#include "blocks/library/generators/duration.h"
#include "blocks/library/generators/event.h"
#include "blocks/library/generators/meander.h"
#include "blocks/library/generators/monostable.h"
#include "blocks/library/generators/single_impuls.h"
#include "kestui/forms/kest_form.h"
#include "support/live_forms.h"

namespace {

using blocktest::Bench;
using blocktest::Canvas;
using blocktest::DrawsCaption;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlue = RGB(0, 0, 255);

std::wstring ValueText(CBEConstant* c) {
  wchar_t text[48];
  c->FormatValue(text, 48);
  return text;
}

TEST(GeneratorDrawing, TheConstantShowsItsValueInItsType) {
  Bench bench;
  auto* c = bench.Create<CBEConstant>(kBeConstantClassId);
  EXPECT_TRUE(DrawsCaption(c, L"0"));
  struct Row {
    BeSignalType type;
    const wchar_t* text;
    const wchar_t* shown;
  } rows[] = {
      {kBeSignalBit, L"1", L"1"},
      {kBeSignalChar, L"300", L"44"},  // the low byte of 300
      {kBeSignalChar, L"-5", L"-5"},
      {kBeSignalShort, L"-32768", L"-32768"},
      {kBeSignalInt, L"2147483647", L"2147483647"},
      {kBeSignalFloat, L"2.5", L"2.500"},
      {kBeSignalFloat, L"0", L"0.000"},
      {kBeSignalFloat, L"-990000", L"-990000.000"},
      {kBeSignalDouble, L"0.0001", L"0.000"},
      {kBeSignalDouble, L"-12.3456", L"-12.346"},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(c->SetValueFromText(row.type, row.text));
    EXPECT_EQ(std::wstring(row.shown), ValueText(c)) << row.text;
    EXPECT_TRUE(DrawsCaption(c, row.shown)) << row.text;
  }
  // Large and small magnitudes with an exponent ("%3.3g"; the runtime
  // writes the exponent in two or three digits).
  struct Exp {
    BeSignalType type;
    const wchar_t* text;
    const wchar_t* twoDigits;
    const wchar_t* threeDigits;
  } exps[] = {
      {kBeSignalDouble, L"1000000", L"1e+06", L"1e+006"},
      {kBeSignalFloat, L"0.00005", L"5e-05", L"5e-005"},
      {kBeSignalDouble, L"-123456789", L"-1.23e+08", L"-1.23e+008"},
  };
  for (const Exp& e : exps) {
    ASSERT_TRUE(c->SetValueFromText(e.type, e.text));
    std::wstring shown = ValueText(c);
    EXPECT_TRUE(shown == e.twoDigits || shown == e.threeDigits) << e.text;
    EXPECT_TRUE(DrawsCaption(c, shown.c_str()));
  }
  // A bit draws its lowest bit; another type an empty text.
  c->Output(0)->type = kBeSignalBit;
  c->Output(0)->SetInt(6);
  EXPECT_EQ(L"0", ValueText(c));
  c->Output(0)->type = kBeSignalPulseA;
  EXPECT_EQ(L"", ValueText(c));
  EXPECT_TRUE(DrawsCaption(c, nullptr));
}

TEST(GeneratorDrawing, TheOneShotShowsItsDuration) {
  Bench bench;
  auto* shot = bench.Create<CBEMonostable>(kBeMonostableClassId);
  EXPECT_TRUE(DrawsCaption(shot, L"ЖМ\n1000мс"));
  shot->duration = -25;
  EXPECT_TRUE(DrawsCaption(shot, L"ЖМ\n-25мс"));
}

// Two lines centred in the body lowered by 5: no ink in the five rows under
// the top edge, ink balanced about the middle.
TEST(GeneratorDrawing, TheExtenderShowsItsTimeOnTwoLines) {
  Bench bench;
  auto* ext = bench.Create<CBEDuration>(kBeDurationClassId);
  Canvas canvas(130, 60);
  ASSERT_TRUE(canvas.Draw(ext, 20, 10));  // body 20..110 x 10..45
  EXPECT_EQ(RGB(204, 255, 204), canvas.At(22, 12));
  EXPECT_EQ(0, canvas.Count(21, 11, 108, 14, kBlack));
  int top = -1, bottom = -1, left = 200, right = -1;
  for (int y = 11; y < 60; ++y)
    for (int x = 21; x < 109; ++x)
      if (canvas.At(x, y) == kBlack && !(y == 44)) {
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ASSERT_GE(top, 15);
  EXPECT_GT(bottom - top, 15) << "two lines";
  EXPECT_LE(std::abs((left - 20) - (110 - right)), 3) << "centred";
  // The text follows the extension.
  Canvas other(130, 60);
  ext->extension = 5;
  ASSERT_TRUE(other.Draw(ext, 20, 10));
  EXPECT_FALSE(blocktest::SamePixels(canvas, other));
}

TEST(GeneratorDrawing, TheSquareWaveAndThePulseInBlue) {
  Bench bench;
  auto* m = bench.Create<CBEMeander>(kBeMeanderClassId);
  Canvas canvas(120, 60);
  ASSERT_TRUE(canvas.Draw(m, 10, 10));
  // From (15, 15) low, up at 20, down at 25 ... low to 70.
  const POINT blue[] = {{15, 15}, {18, 15}, {20, 10}, {22, 5}, {25, 10}, {27, 15}, {30, 7},
                        {62, 5},  {65, 12}, {67, 15}, {69, 15}};
  for (POINT p : blue) EXPECT_EQ(kBlue, canvas.At(10 + p.x, 10 + p.y)) << p.x << "," << p.y;
  const POINT notBlue[] = {{17, 5}, {22, 15}, {72, 15}, {14, 15}, {27, 5}};
  for (POINT p : notBlue) EXPECT_NE(kBlue, canvas.At(10 + p.x, 10 + p.y)) << p.x << "," << p.y;
  // The period below the wave, from (5, 18).
  EXPECT_GT(canvas.Count(15, 28, 88, 38, kBlack), 0);
  EXPECT_EQ(0, canvas.Count(11, 11, 14, 38, kBlack));
  EXPECT_EQ(0, canvas.Count(11, 11, 88, 27, kBlack));
  // Below 1 ms in microseconds: another text, the same wave.
  Canvas micro(120, 60);
  m->period = 0.5f;
  ASSERT_TRUE(micro.Draw(m, 10, 10));
  EXPECT_EQ(canvas.Count(11, 11, 88, 27, kBlue), micro.Count(11, 11, 88, 27, kBlue));
  EXPECT_FALSE(blocktest::SamePixels(canvas, micro));
  canvas.Save(L"library_generators_meander.bmp");

  auto* p = bench.Create<CBESingleImpuls>(kBeSingleImpulsClassId);
  Canvas once(120, 60);
  ASSERT_TRUE(once.Draw(p, 10, 10));
  const POINT pulse[] = {{15, 15}, {20, 15}, {23, 10}, {24, 5}, {25, 10}, {26, 15}, {60, 15}, {69, 15}};
  for (POINT q : pulse) EXPECT_EQ(kBlue, once.At(10 + q.x, 10 + q.y)) << q.x << "," << q.y;
  EXPECT_NE(kBlue, once.At(10 + 24, 10 + 15));
  EXPECT_NE(kBlue, once.At(10 + 70, 10 + 15));
  // "одиноч. имп." against a period: the text differs, the pulse does not.
  Canvas periodic(120, 60);
  p->period = 20.0f;
  ASSERT_TRUE(periodic.Draw(p, 10, 10));
  EXPECT_FALSE(blocktest::SamePixels(once, periodic));
  EXPECT_EQ(once.Count(11, 11, 88, 27, kBlue), periodic.Count(11, 11, 88, 27, kBlue));
}

TEST(GeneratorDrawing, TheEventDetectorIsAHalfRoundShape) {
  Bench bench;
  auto* event = bench.Create<CBEEvent>(kBeEventClassId);
  Canvas canvas(100, 50);
  ASSERT_TRUE(canvas.Draw(event, 10, 10));  // 10..80 x 10..40, centre (65, 25)
  const COLORREF fill = RGB(255, 255, 204);
  EXPECT_EQ(fill, canvas.At(13, 37));
  EXPECT_EQ(fill, canvas.At(72, 18));   // inside the circle
  EXPECT_EQ(kWhite, canvas.At(77, 13));  // outside it, inside the rectangle
  EXPECT_EQ(kWhite, canvas.At(77, 37));
  EXPECT_EQ(kWhite, canvas.At(79, 10));
  EXPECT_EQ(kBlack, canvas.At(10, 25));  // the left edge
  EXPECT_EQ(kBlack, canvas.At(65, 10));  // the top of the circle
  // The kind's text from (8, 9), in the DC's font (it may run past the
  // round side); kinds past the dialog draw none.
  int ink[4];
  for (unsigned char kind = 0; kind < 4; ++kind) {
    Canvas k(120, 50);
    event->kind = kind;
    ASSERT_TRUE(k.Draw(event, 10, 10));
    ink[kind] = k.Count(18, 19, 119, 36, kBlack);
    EXPECT_EQ(0, k.Count(11, 11, 17, 36, kBlack)) << "nothing left of the text";
  }
  EXPECT_GT(ink[2], ink[3] + 20);
  EXPECT_GT(ink[0], ink[2]) << "\"Событие +\"";
  EXPECT_GT(ink[1], ink[2]) << "\"Событие -\"";
  canvas.Save(L"library_generators_event.bmp");
}

// ------------------------------------------------------------ the group

class Frame : public CKestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SCHEME_MODIFIED) return 0;
    return CKestForm::WindowProc(message, wParam, lParam);
  }
};

// The group's entries make these classes, and the editor's view places
// each where it is clicked; the picture shows the group as painted there.
TEST(GeneratorGroup, EveryEntryIsPlacedFromTheGroupAsItsClass) {
  Bench bench;
  const BeCatalogueGroup* group = bench.library.Group(L"Генераторы");
  ASSERT_NE(nullptr, group);
  const unsigned int ids[] = {kBeConstantClassId,   kBeMeanderClassId,  kBeSingleImpulsClassId,
                              kBeMonostableClassId, kBeDurationClassId, kBeEventClassId};
  ASSERT_EQ(6, group->entryCount);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ids[i], group->Entry(i)->classId);
    ASSERT_NE(nullptr, group->Entry(i)->creator) << i;
  }
  auto* frame = new Frame;
  ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(10, 10), 900, 600, nullptr, true, true, true, true));
  ASSERT_TRUE(frame->CreateMDIClient());
  frame->Show(false);
  auto* editor = new CBEEditor(frame, &bench.scheme);
  ASSERT_TRUE(editor->GetHandle());
  MoveWindow(editor->GetHandle(), 0, 0, 800, 420, TRUE);
  velktest::FlushEvents();
  CBEView* view = editor->GetView();
  for (int i = 0; i < 6; ++i) {
    view->SetPendingClass(ids[i]);
    int x = 60 + 130 * (i % 3), y = 50 + 110 * (i / 3);
    SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    velktest::FlushEvents();
    CBEBlock* placed = bench.scheme.blocks;
    ASSERT_NE(nullptr, placed);
    EXPECT_EQ(ids[i], placed->GetClassId());
    EXPECT_EQ(group->Entry(i), placed->entry);
  }
  EXPECT_EQ(6, bench.scheme.GetBlockCount());
  EXPECT_NE(nullptr, dynamic_cast<CBEEvent*>(bench.scheme.blocks));
  InvalidateRect(view->GetHandle(), nullptr, TRUE);
  UpdateWindow(editor->GetHandle());
  velktest::FlushEvents();
  velktest::SaveScreenshot(editor->GetHandle(), L"library_generators.bmp");
  EXPECT_TRUE(bench.host.texts.empty());
  velktest::CloseAllLiveForms();
}

}  // namespace
