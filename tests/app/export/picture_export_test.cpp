// Pictures leaving the program: a scheme view exported to .wmf, .jpg and
// .bmp files at chosen resolutions, refused and failed exports, the
// resolution question, the clipboard's enhanced metafile, and printing (the
// placement on the page as a table, a cancelled dialog and a printer that
// fails).
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/app_fixture.h"
#include "app/browser/browser_fixture.h"
#include "app/export/export_resolution_form.h"
#include "app/export/picture_export.h"
#include "app/views/scheme_view.h"
#include "app/views/view_fixture.h"
#include "kestui/forms/kest_custom_form.h"
#include "kestui/forms/kest_dialogs.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/image.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"
#include "support/memory_canvas.h"
#include "support/test_support.h"

namespace {

// A black-framed component body at a fixed place.
class Box : public CSCHBlock {
public:
  Box(SchScheme* scheme, RECT body) {
    className = "Box";
    Attach(scheme);
    rect = body;
  }
  void Paint(HDC dc) override {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FillRect(dc, &rect, black);
  }
};

std::wstring g_savePath;
int g_saveCalls = 0;
std::wstring g_saveFilter, g_saveExtension;
BOOL FakeSaveFileName(OPENFILENAMEW* info) {
  g_saveCalls++;
  // The filter arrives with "|" turned into the dialog's zeros.
  g_saveFilter.clear();
  for (const wchar_t* p = info->lpstrFilter; p && *p; p += wcslen(p) + 1) g_saveFilter += std::wstring(p) + L"|";
  g_saveExtension = info->lpstrDefExt ? info->lpstrDefExt : L"";
  if (g_savePath.empty()) return FALSE;
  wcsncpy(info->lpstrFile, g_savePath.c_str(), info->nMaxFile - 1);
  info->lpstrFile[info->nMaxFile - 1] = 0;
  return TRUE;
}

int g_printCalls = 0;
bool g_printChosen = false;
HRESULT FakePrintDialog(PRINTDLGEXW* info) {
  g_printCalls++;
  if (!g_printChosen) {
    info->dwResultAction = PD_RESULT_CANCEL;
    return S_OK;
  }
  // A memory context stands for a printer: it has no document to start.
  info->hDC = CreateCompatibleDC(nullptr);
  info->dwResultAction = PD_RESULT_PRINT;
  return S_OK;
}

class PictureExportTest : public apptest::WindowsTest {
protected:
  void SetUp() override {
    WindowsTest::SetUp();
    resolution_ = GetExportResolution();
    g_savePath.clear();
    g_saveCalls = 0;
    g_printCalls = 0;
    g_printChosen = false;
    seam_ = KestCommonDialogSeam{nullptr, FakeSaveFileName, nullptr, FakePrintDialog};
    SetCommonDialogSeam(&seam_);
    form_ = new CKestForm;
    ASSERT_TRUE(form_->Create(nullptr, L"Рисунок", KestPos(0, 0), 700, 500, nullptr, false, false, true, true));
    view_ = new CSchemeView(form_, KestPos(0, 0), 600, 400, &scheme_);
    // The extent: (-20, -20) to (420, 320) with the margin.
    new Box(&scheme_, RECT{100, 100, 180, 200});
    new Box(&scheme_, RECT{320, 220, 400, 300});
    view_->UpdateScrollRange();
    form_->Show(false);
    velktest::FlushEvents();
  }
  void TearDown() override {
    SetCommonDialogSeam(nullptr);
    SetExportResolution(resolution_);
    WindowsTest::TearDown();
  }

  RECT PictureRect() const {
    RECT r;
    int low = 0, high = 0;
    GetScrollRange(view_->GetHandle(), SB_HORZ, &low, &high);
    r.left = low;
    r.right = high;
    GetScrollRange(view_->GetHandle(), SB_VERT, &low, &high);
    r.top = low;
    r.bottom = high;
    return r;
  }

  // Exports to path, answering the resolution question with dpi (0: the
  // question is cancelled; -1: no question expected).
  void ExportTo(const std::wstring& path, double dpi, double* proposed = nullptr) {
    g_savePath = path;
    bool asked = false;
    browsertest::LoopProbe answer([&] {
      CExportResolutionForm* question = nullptr;
      for (int i = 0; i < LiveForms.count; i++)
        if (auto* q = dynamic_cast<CExportResolutionForm*>(LiveForms.forms[i])) question = q;
      if (!question) return;
      asked = true;
      if (proposed) *proposed = question->GetResolutionEdit()->GetValue();
      if (dpi <= 0) {
        PostMessageW(question->GetCancelButton()->GetHandle(), BM_CLICK, 0, 0);
        return;
      }
      question->GetResolutionEdit()->SetValue(dpi);
      PostMessageW(question->GetOkButton()->GetHandle(), BM_CLICK, 0, 0);
    });
    answer.Post();
    view_->ExportPicture(KestPictureFile);
    EXPECT_EQ(dpi >= 0, asked);
    velktest::FlushEvents();
  }

  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  double resolution_ = 100;
  KestCommonDialogSeam seam_ = {};
  SchScheme scheme_;
  CKestForm* form_ = nullptr;
  CSchemeView* view_ = nullptr;
};

TEST(PictureExportArithmetic, BitmapSizes) {
  const struct {
    int width, height;
    double dpi;
    LONG cx, cy;
  } cases[] = {
      {400, 300, 192, 800, 600}, {400, 300, 100, 416, 312}, {440, 340, 100, 458, 354},
      {440, 340, 72, 330, 255},  {1, 1, 72, 0, 0},          {96, 96, 1200, 1200, 1200},
  };
  for (const auto& c : cases) {
    SIZE size = ExportBitmapSize(c.width, c.height, c.dpi);
    EXPECT_EQ(c.cx, size.cx) << c.width << " at " << c.dpi;
    EXPECT_EQ(c.cy, size.cy) << c.height << " at " << c.dpi;
  }
  // Beyond every limit without overflowing.
  SIZE huge = ExportBitmapSize(2000000000, 2000000000, 1200);
  EXPECT_GT(huge.cx, kVelkExportMaxBitmapSide);
  EXPECT_FALSE(ExportBitmapFits(huge));
}

TEST(PictureExportArithmetic, BitmapLimits) {
  const struct {
    LONG cx, cy;
    bool fits;
  } cases[] = {
      {1, 1, true},
      {10000, 8000, true},    // 30,000-byte rows: 240,000,000 bytes
      {10000, 10000, false},  // 300,000,000 bytes
      {10001, 1, false},
      {1, 10001, false},
      {0, 5, false},
      {5, -1, false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.fits, ExportBitmapFits(SIZE{c.cx, c.cy})) << c.cx << " x " << c.cy;
}

TEST(PictureExportArithmetic, PrintPlacement) {
  const struct {
    const char* name;
    int pageWidth, pageHeight, dpiX, dpiY, width, height;
    RECT target;
  } cases[] = {
      // A4 portrait at 600 dpi: 3760 x 5816 between the margins.
      {"wide and flat", 4960, 7016, 600, 600, 800, 200, {600, 3038, 4360, 3978}},
      {"tall", 4960, 7016, 600, 600, 100, 1000, {2189, 600, 2771, 6416}},
      {"square", 4960, 7016, 600, 600, 300, 300, {600, 1628, 4360, 5388}},
      // Letter landscape at 300 dpi: 2700 x 1950.
      {"landscape", 3300, 2550, 300, 300, 400, 300, {350, 300, 2950, 2250}},
      {"other dpi per axis", 1000, 1000, 100, 200, 100, 100, {200, 200, 800, 800}},
      {"empty picture", 4960, 7016, 600, 600, 0, 100, {0, 0, 0, 0}},
      {"page inside its margins", 1000, 1000, 600, 600, 100, 100, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RECT r = PrintPlacement(c.pageWidth, c.pageHeight, c.dpiX, c.dpiY, c.width, c.height);
    EXPECT_EQ(c.target.left, r.left);
    EXPECT_EQ(c.target.top, r.top);
    EXPECT_EQ(c.target.right, r.right);
    EXPECT_EQ(c.target.bottom, r.bottom);
  }
}

TEST_F(PictureExportTest, MetafileFilesInAnyCaseAskNoResolution) {
  velktest::TempFolder folder;
  RECT picture = PictureRect();
  EXPECT_EQ(-20, picture.left);
  EXPECT_EQ(420, picture.right);
  for (const wchar_t* name : {L"scheme.wmf", L"other.WmF"}) {
    std::wstring path = folder.File(name);
    ExportTo(path, -1);
    EXPECT_EQ(L"wmf", g_saveExtension);
    EXPECT_EQ(L"wmf-файлы|*.wmf|jpg-файлы|*.jpg|bmp-файлы|*.bmp|", g_saveFilter);
    HENHMETAFILE metafile = GetEnhMetaFileW(path.c_str());
    ASSERT_NE(nullptr, metafile) << path.c_str();
    ENHMETAHEADER header = {};
    ASSERT_NE(0u, GetEnhMetaFileHeader(metafile, sizeof header, &header));
    EXPECT_EQ(static_cast<DWORD>(ENHMETA_SIGNATURE), header.dSignature);
    wchar_t description[64] = {};
    GetEnhMetaFileDescriptionW(metafile, 64, description);
    EXPECT_STREQ(L"Схема", description);
    DeleteEnhMetaFile(metafile);
  }
}

TEST_F(PictureExportTest, BitmapsAtTheChosenResolution) {
  velktest::TempFolder folder;
  RECT picture = PictureRect();
  int width = picture.right - picture.left, height = picture.bottom - picture.top;
  ASSERT_EQ(440, width);
  ASSERT_EQ(340, height);
  const struct {
    const wchar_t* name;
    double dpi;
    int cx, cy;
    bool exact;
  } cases[] = {
      {L"a100.bmp", 100, 458, 354, true},
      {L"a192.bmp", 192, 880, 680, true},
      {L"a100.jpg", 100, 458, 354, false},
      {L"a192.JPG", 192, 880, 680, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::wstring path = folder.File(c.name);
    ExportTo(path, c.dpi);
    EXPECT_EQ(c.dpi, GetExportResolution());
    CKestImage image;
    ASSERT_TRUE(SUCCEEDED(image.Load(path.c_str())));
    EXPECT_EQ(c.cx, image.GetWidth());
    EXPECT_EQ(c.cy, image.GetHeight());
    // White outside the parts; black inside the first body (scheme point
    // (140, 150): 160 and 170 pixels into the picture at 96 dpi).
    auto at = [&](int x, int y) {
      return image.GetPixel(static_cast<int>(x * c.dpi / 96), static_cast<int>(y * c.dpi / 96));
    };
    auto brightness = [](COLORREF p) { return GetRValue(p) + GetGValue(p) + GetBValue(p); };
    EXPECT_GT(brightness(at(5, 5)), 3 * 240);
    EXPECT_GT(brightness(at(250, 60)), 3 * 240);
    EXPECT_LT(brightness(at(160, 170)), 3 * 16);
    EXPECT_LT(brightness(at(380, 280)), 3 * 16);
    if (c.exact) {
      EXPECT_EQ(RGB(255, 255, 255), at(5, 5));
      EXPECT_EQ(RGB(0, 0, 0), at(160, 170));
    }
  }
}

TEST_F(PictureExportTest, TheLastResolutionIsProposedAgain) {
  velktest::TempFolder folder;
  SetExportResolution(100);
  double proposed = 0;
  ExportTo(folder.File(L"first.bmp"), 150, &proposed);
  EXPECT_EQ(100, proposed);
  ExportTo(folder.File(L"second.bmp"), 300, &proposed);
  EXPECT_EQ(150, proposed);
  EXPECT_EQ(300, GetExportResolution());
}

TEST_F(PictureExportTest, CancelledDialogOrQuestionWritesNothing) {
  velktest::TempFolder folder;
  g_savePath.clear();
  view_->ExportPicture(KestPictureFile);
  EXPECT_EQ(1, g_saveCalls);
  SetExportResolution(100);
  ExportTo(folder.File(L"cancelled.bmp"), 0);
  EXPECT_FALSE(Exists(folder.File(L"cancelled.bmp")));
  EXPECT_EQ(100, GetExportResolution());
  EXPECT_EQ(0, LiveForms.count - 1);
}

TEST_F(PictureExportTest, ResolutionQuestionLayout) {
  CExportResolutionForm* question = new CExportResolutionForm(form_, 150);
  ASSERT_NE(nullptr, question->GetHandle());
  question->Show(false);
  velktest::FlushEvents();
  EXPECT_EQ(L"Экспорт", apptest::WindowTextOf(question->GetHandle()));
  RECT frame;
  GetWindowRect(question->GetHandle(), &frame);
  EXPECT_EQ(250, frame.right - frame.left);
  EXPECT_EQ(110, frame.bottom - frame.top);
  LONG style = GetWindowLongW(question->GetHandle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  CKestSpinEdit* edit = question->GetResolutionEdit();
  EXPECT_EQ(150, edit->GetValue());
  EXPECT_FALSE(edit->IsInteger());
  EXPECT_EQ(72, edit->GetMinimum());
  EXPECT_EQ(1200, edit->GetMaximum());
  EXPECT_EQ(50, edit->GetStep());
  EXPECT_EQ(L"OK", apptest::WindowTextOf(question->GetOkButton()->GetHandle()));
  EXPECT_EQ(L"Отмена", apptest::WindowTextOf(question->GetCancelButton()->GetHandle()));
  EXPECT_EQ(1, question->GetOkButton()->GetModalResult());
  EXPECT_EQ(2, question->GetCancelButton()->GetModalResult());
  RECT ok, cancel, editRect;
  GetWindowRect(question->GetOkButton()->GetHandle(), &ok);
  GetWindowRect(question->GetCancelButton()->GetHandle(), &cancel);
  GetWindowRect(edit->GetHandle(), &editRect);
  EXPECT_EQ(100, ok.right - ok.left);
  EXPECT_EQ(25, ok.bottom - ok.top);
  EXPECT_EQ(ok.top, cancel.top);
  EXPECT_GT(ok.top, editRect.top);
  // The two buttons are centred in the form.
  RECT client;
  GetClientRect(question->GetHandle(), &client);
  MapWindowPoints(nullptr, question->GetHandle(), reinterpret_cast<POINT*>(&ok), 2);
  MapWindowPoints(nullptr, question->GetHandle(), reinterpret_cast<POINT*>(&cancel), 2);
  EXPECT_LE(std::abs(ok.left - (client.right - cancel.right)), 2);
  EXPECT_TRUE(velktest::SaveScreenshot(question->GetHandle(), L"export_resolution.bmp"));
  delete question;
}

TEST_F(PictureExportTest, TooLargeABitmapIsRefusedWithAMessage) {
  velktest::TempFolder folder;
  // The extent grows to 9,040 pixels wide: 113,000 pixels at 1200 dpi.
  new Box(&scheme_, RECT{8900, 100, 9000, 200});
  view_->UpdateScrollRange();
  velktest::DialogAnswerer boxes(IDOK);
  ExportTo(folder.File(L"huge.bmp"), 1200);
  ASSERT_EQ(1, boxes.Count());
  EXPECT_EQ(L"Ошибка", boxes.Captions()[0]);
  EXPECT_NE(std::wstring::npos, boxes.Texts()[0].find(L"10000"));
  EXPECT_FALSE(Exists(folder.File(L"huge.bmp")));
}

TEST_F(PictureExportTest, AnUnwritablePathIsReported) {
  velktest::TempFolder folder;
  const struct {
    const wchar_t* name;
    double dpi;
  } cases[] = {{L"missing\\folder\\a.bmp", 100}, {L"missing\\folder\\a.jpg", 100}, {L"missing\\folder\\a.wmf", -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::wstring path = folder.File(c.name);
    velktest::DialogAnswerer boxes(IDOK);
    ExportTo(path, c.dpi);
    ASSERT_EQ(1, boxes.Count());
    EXPECT_EQ(L"Ошибка", boxes.Captions()[0]);
    EXPECT_NE(std::wstring::npos, boxes.Texts()[0].find(L"Не удалось записать файл"));
    EXPECT_NE(std::wstring::npos, boxes.Texts()[0].find(path));
    EXPECT_FALSE(Exists(path));
  }
}

TEST_F(PictureExportTest, CopyAsPicturePutsAnEnhancedMetafileOnTheClipboard) {
  view_->ExportPicture(KestPictureClipboard);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
  HENHMETAFILE metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  ASSERT_NE(nullptr, metafile);
  ENHMETAHEADER header = {};
  ASSERT_NE(0u, GetEnhMetaFileHeader(metafile, sizeof header, &header));
  // The frame: the picture's rectangle in 0.01 mm of the screen.
  HDC screen = GetDC(nullptr);
  int hs = GetDeviceCaps(screen, HORZSIZE) * 100, hr = GetDeviceCaps(screen, HORZRES);
  int vs = GetDeviceCaps(screen, VERTSIZE) * 100, vr = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  EXPECT_NEAR(MulDiv(-20, hs, hr), header.rclFrame.left, 1);
  EXPECT_NEAR(MulDiv(420, hs, hr), header.rclFrame.right, 1);
  EXPECT_NEAR(MulDiv(-20, vs, vr), header.rclFrame.top, 1);
  EXPECT_NEAR(MulDiv(320, vs, vr), header.rclFrame.bottom, 1);
  EmptyClipboard();
  CloseClipboard();
}

TEST_F(PictureExportTest, PrintingCancelledOrFailedPrinter) {
  velktest::DialogAnswerer boxes(IDOK);
  view_->ExportPicture(KestPicturePrinter);
  EXPECT_EQ(1, g_printCalls);
  EXPECT_EQ(0, boxes.Count());
  // A printer that cannot start the document: the user is told.
  g_printChosen = true;
  view_->ExportPicture(KestPicturePrinter);
  EXPECT_EQ(2, g_printCalls);
  ASSERT_EQ(1, boxes.Count());
  EXPECT_EQ(L"Ошибка", boxes.Captions()[0]);
  EXPECT_EQ(L"Не удалось напечатать схему.", boxes.Texts()[0]);
}

// Exports the view's picture to a BMP file at 96 dpi (one picture pixel a
// scheme pixel) and loads it into image.
#define EXPORT_AT_SCREEN_SIZE(folder, name, image)                         \
  do {                                                                    \
    std::wstring exportPath = (folder).File(name);                       \
    ExportTo(exportPath, 96);                                             \
    ASSERT_TRUE(SUCCEEDED((image).Load(exportPath.c_str())));            \
    RECT pictureRect = PictureRect();                                     \
    ASSERT_EQ(pictureRect.right - pictureRect.left, (image).GetWidth());  \
    ASSERT_EQ(pictureRect.bottom - pictureRect.top, (image).GetHeight()); \
  } while (0)

bool IsDark(COLORREF c) { return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128; }

// The box around the dark pixels of the picture inside the scheme area
// [x0, x1) x [y0, y1) (the picture starts at the scheme point (-20, -20)).
RECT InkBox(CKestImage& image, int x0, int y0, int x1, int y1) {
  RECT box = {x1, y1, x0, y0};
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++) {
      if (!IsDark(image.GetPixel(x + 20, y + 20))) continue;
      if (x < box.left) box.left = x;
      if (y < box.top) box.top = y;
      if (x + 1 > box.right) box.right = x + 1;
      if (y + 1 > box.bottom) box.bottom = y + 1;
    }
  return box;
}

// A white part that writes its caption with the font the view gives it.
class CaptionBox : public CSCHBlock {
public:
  CaptionBox(SchScheme* scheme, RECT body) {
    className = "CaptionBox";
    Attach(scheme);
    rect = body;
  }
  void Paint(HDC dc) override { TextOutW(dc, rect.left + 10, rect.top + 10, L"Пульт", 5); }
};

TEST_F(PictureExportTest, ThePictureHoldsEveryPinStubAndNoSelection) {
  velktest::TempFolder folder;
  // The rightmost part (320, 220, 400, 300) gets a right pin at offset 40:
  // anchor (406, 260), stub from x 406 back to 399. The first part, a wire
  // and a junction are selected.
  CSCHBlock* right = scheme_.blocks;
  CSCHBlock* left = right->next;
  ASSERT_EQ(400, right->rect.right);
  right->SetPinCount(2);
  right->pins[0].side = kSchSideRight;
  right->pins[0].offset = 40;
  ASSERT_EQ(406, right->GetPinAnchor(0).x);
  // A second pin, on the top side but beyond its right end (offset -40):
  // anchor (440, 213), stub down to y 219. The picture reaches just past
  // the anchor: x 442.
  right->pins[1].side = kSchSideTop;
  right->pins[1].offset = -40;
  ASSERT_EQ(440, right->GetPinAnchor(1).x);
  left->flags |= kSchSelected;
  SchWire* wire = viewtest::WireBetween(&scheme_, {200, 40}, {300, 40}, 2, {});
  wire->flags |= kSchSelected;
  wire->GetEndJunction(1)->flags |= kSchSelected;
  view_->UpdateScrollRange();
  CKestImage image;
  EXPORT_AT_SCREEN_SIZE(folder, L"pins_no_selection.bmp", image);
  auto at = [&](int x, int y) { return image.GetPixel(x + 20, y + 20); };
  // The whole stub, out to its anchor.
  for (int x = 399; x <= 406; x++) EXPECT_EQ(RGB(0, 0, 0), at(x, 260)) << x;
  EXPECT_EQ(RGB(255, 255, 255), at(408, 260));
  EXPECT_EQ(442, PictureRect().right);
  for (int y = 213; y < 220; y++) EXPECT_EQ(RGB(0, 0, 0), at(440, y)) << y;
  // No dotted frame around the selected part or junction, and the selected
  // wire in its plain black pen.
  int marks = 0;
  for (int x = 98; x < 182; x++) marks += IsDark(at(x, 98)) + IsDark(at(x, 201));
  for (int y = 98; y < 202; y++) marks += IsDark(at(98, y)) + IsDark(at(181, y));
  for (int x = 295; x < 306; x++) marks += IsDark(at(x, 35)) + IsDark(at(x, 45));
  EXPECT_EQ(0, marks);
  EXPECT_EQ(RGB(0, 0, 0), at(250, 40));
  // A scheme wider and higher than the screen: the picture still reaches
  // its last pin.
  HDC screenDc = GetDC(nullptr);
  int farRight = GetDeviceCaps(screenDc, HORZRES) + 300, lowest = GetDeviceCaps(screenDc, VERTRES) + 200;
  ReleaseDC(nullptr, screenDc);
  right->rect = RECT{farRight - 80, lowest - 80, farRight, lowest};
  view_->UpdateScrollRange();
  CKestImage wide;
  EXPORT_AT_SCREEN_SIZE(folder, L"wide.bmp", wide);
  right->SetPinCount(1);
  POINT anchor = right->GetPinAnchor(0);
  ASSERT_EQ(farRight + 6, anchor.x);
  for (int x = farRight - 1; x <= anchor.x; x++) EXPECT_EQ(RGB(0, 0, 0), wide.GetPixel(x + 20, anchor.y + 20)) << x;
  EXPECT_EQ(RGB(0, 0, 0), wide.GetPixel(farRight - 40 + 20, lowest - 1 + 20));

  // The screen still marks the selection.
  RECT client;
  GetClientRect(view_->GetHandle(), &client);
  velktest::MemoryCanvas screen(client.right, client.bottom);
  view_->SetScrollOrigin(0, 0);
  view_->PaintBuffered(screen.dc());
  EXPECT_EQ(RGB(102, 102, 255), screen.At(250, 40));
  int frame = 0;
  for (int x = 98; x < 182; x++) frame += IsDark(screen.At(x, 98));
  EXPECT_GT(frame, 20);
}

TEST_F(PictureExportTest, APartAfterDownwardPinNamesWritesUprightInThePicture) {
  velktest::TempFolder folder;
  // Alone, then after a part whose top pin has a name (drawn downwards).
  scheme_.DeleteObjects();
  new CaptionBox(&scheme_, RECT{200, 100, 340, 160});
  view_->UpdateScrollRange();
  CKestImage alone;
  EXPORT_AT_SCREEN_SIZE(folder, L"caption_alone.bmp", alone);
  RECT upright = InkBox(alone, 200, 100, 340, 160);
  ASSERT_LT(upright.left, upright.right);
  EXPECT_GT(upright.right - upright.left, 2 * (upright.bottom - upright.top));

  scheme_.DeleteObjects();
  Box* before = new Box(&scheme_, RECT{20, 40, 100, 100});
  before->SetPinCount(1);
  before->pins[0].side = kSchSideTop;
  before->pins[0].offset = 40;
  before->pins[0].name = L"VCC";
  new CaptionBox(&scheme_, RECT{200, 100, 340, 160});
  view_->UpdateScrollRange();
  CKestImage after;
  EXPORT_AT_SCREEN_SIZE(folder, L"caption_after_top_pin.bmp", after);
  ASSERT_EQ(alone.GetWidth(), after.GetWidth());
  RECT box = InkBox(after, 200, 100, 340, 160);
  EXPECT_EQ(upright.left, box.left);
  EXPECT_EQ(upright.top, box.top);
  EXPECT_EQ(upright.right, box.right);
  EXPECT_EQ(upright.bottom, box.bottom);
  int differing = 0;
  for (int y = 100; y < 160; y++)
    for (int x = 200; x < 340; x++) differing += alone.GetPixel(x + 20, y + 20) != after.GetPixel(x + 20, y + 20);
  EXPECT_EQ(0, differing);
  EXPECT_TRUE(CopyFileW(folder.File(L"caption_after_top_pin.bmp").c_str(),
                        (velktest::ScreenshotFolder() + L"exported_caption_after_top_pin.bmp").c_str(), FALSE));
}

TEST_F(PictureExportTest, UnknownKindsMakeNoContext) {
  EXPECT_EQ(nullptr, BeginPictureExport(3, RECT{0, 0, 10, 10}));
  EXPECT_EQ(nullptr, BeginPictureExport(-1, RECT{0, 0, 10, 10}));
  EndPictureExport(3, nullptr);
  EXPECT_EQ(0, g_saveCalls + g_printCalls);
}

}  // namespace
