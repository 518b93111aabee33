// How the library joins the program: its creators fill the engine's table,
// the common groups then offer its classes, the "Математика" palette shows
// the pictures shipped for them and places the real classes.
#include <windows.h>

#include <string>
#include <vector>

#include "block_kit.h"
#include "blocks/engine/editor/be_editor.h"
#include "blocks/engine/editor/be_view.h"
#include "blocks/library/converters/type_convertor.h"
#include "blocks/library/interfaces/interfaces_classes.h"
#include "blocks/library/control/diff.h"
#include "blocks/library/control/inertial.h"
#include "blocks/library/control/integral.h"
#include "blocks/library/control/integral_with_reload.h"
#include "blocks/library/control/limiter.h"
#include "blocks/library/control/vibro.h"
#include "blocks/library/drivers/distance_control.h"
#include "blocks/library/drivers/inertial_driver.h"
#include "blocks/library/math/abs.h"
#include "blocks/library/math/add.h"
#include "blocks/library/math/const_divider.h"
#include "blocks/library/math/div2.h"
#include "blocks/library/control/control_classes.h"
#include "blocks/library/converters/converters_classes.h"
#include "blocks/library/digital/digital_classes.h"
#include "blocks/library/drivers/drivers_classes.h"
#include "blocks/library/generators/generators_classes.h"
#include "blocks/library/logic/logic_classes.h"
#include "blocks/library/math/math_classes.h"
#include "blocks/library/math/trigonometry_classes.h"
#include "blocks/library/mcu/mcu_classes.h"
#include "blocks/library/navigation/intellect_classes.h"
#include "blocks/library/math/mul2.h"
#include "blocks/library/math/neg.h"
#include "blocks/library/math/proportional.h"
#include "blocks/library/math/sub.h"
#include "blocks/library/math/sub2.h"
#include "blocks/library/math/summator.h"
#include "blocks/library/math/trig/arccos.h"
#include "blocks/library/math/trig/arcsin.h"
#include "blocks/library/math/trig/arctan.h"
#include "blocks/library/math/trig/cos.h"
#include "blocks/library/math/trig/cotan.h"
#include "blocks/library/math/trig/deg_to_rad.h"
#include "blocks/library/math/trig/pi_to_pi.h"
#include "blocks/library/math/trig/rad_to_deg.h"
#include "blocks/library/math/trig/sin.h"
#include "blocks/library/math/trig/tan.h"
#include "blocks/library/math/vectors/arctan2.h"
#include "blocks/library/math/vectors/distance.h"
#include "blocks/library/math/vectors/length.h"
#include "blocks/library/math/vectors/norm.h"
#include "blocks/library/math/vectors/rot.h"
#include "blocks/library/mcu/interval_detector.h"
#include "blocks/library/mcu/pwm_detector.h"
#include "blocks/library/mcu/software_pwm.h"
#include "foundation/buffer_failure_scope.h"
#include "kestui/bars/kest_speedbutton.h"
#include "kestui/containers/kest_tabs.h"
#include "kestui/forms/kest_form.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "support/live_forms.h"

namespace {

// The "Математика" entries in their order: class id, caption, picture (null:
// no button), the class made.
struct MathEntry {
  unsigned int classId;
  const wchar_t* caption;
  const wchar_t* bitmap;
  bool (*isClass)(CBEBlock*);
};
template <class T>
bool Is(CBEBlock* block) {
  return dynamic_cast<T*>(block) != nullptr;
}
const MathEntry kMathEntries[] = {
    {kBeNegClassId, L"Смена знака", L"neg.bmp", Is<CBENeg>},
    {kBeAddClassId, L"Сложение с константой", L"add.bmp", Is<CBEAdd>},
    {kBeSummatorClassId, L"Сумматор", L"sum.bmp", Is<CBESummator>},
    {kBeSubClassId, L"Вычитание константы", L"sub.bmp", Is<CBESub>},
    {kBeSub2ClassId, L"Разность", L"sub2.bmp", Is<CBESub2>},
    {kBeProportionalClassId, L"Пропорциональное звено", L"K.bmp", Is<CBEProportional>},
    {kBeMul2ClassId, L"Умножение", L"mul2.bmp", Is<CBEMul2>},
    {kBeDiv2ClassId, L"Деление", L"div2.bmp", Is<CBEDiv2>},
    {kBeConstDividerClassId, L"Деление константы на число", L"constdivider.bmp", Is<CBEConstDivider>},
    {kBeAbsClassId, L"Модуль", L"abs.bmp", Is<CBEAbs>},
    {kBeSquareRootClassId, L"Корень квадратный", nullptr, Is<CBEMul2>},
};
const int kMathEntryCount = sizeof kMathEntries / sizeof kMathEntries[0];

// The "Тригонометрия" entries in their order.
const MathEntry kTrigonometryEntries[] = {
    {kBeSinClassId, L"Синус", L"sin.bmp", Is<CBESin>},
    {kBeCosClassId, L"Косинус", L"cos.bmp", Is<CBECos>},
    {kBeTanClassId, L"Тангенс", L"tan.bmp", Is<CBETan>},
    {kBeCotanClassId, L"Котангенс", L"cotan.bmp", Is<CBECotan>},
    {kBeArcsinClassId, L"Арксинус", L"asin.bmp", Is<CBEArcsin>},
    {kBeArccosClassId, L"Арккосинус", L"acos.bmp", Is<CBEArccos>},
    {kBeArctanClassId, L"Арктангенс", L"atan.bmp", Is<CBEArctan>},
    {kBeArctan2ClassId, L"Арктангенс от двух аргументов", L"atan2.bmp", Is<CBEArctan2>},
    {kBeLengthClassId, L"Длина вектора", L"length.bmp", Is<CBELength>},
    {kBeNormClassId, L"Нормировка вектора", L"norm.bmp", Is<CBENorm>},
    {kBeDistanceClassId, L"Расстояние между точками", L"distance.bmp", Is<CBEDistance>},
    {kBeDegToRadClassId, L"Градусы в радианы", L"deg2rad.bmp", Is<CBEDegToRad>},
    {kBeRadToDegClassId, L"Радианы в градусы", L"rad2deg.bmp", Is<CBERadToDeg>},
    {kBePItoPIClassId, L"Привести угол в диапазон от -π до π", L"PI2PI.bmp", Is<CBEPItoPI>},
    {kBeRotClassId, L"Плоский поворот вектора на угол a", L"rot.bmp", Is<CBERot>},
};
const int kTrigonometryEntryCount = sizeof kTrigonometryEntries / sizeof kTrigonometryEntries[0];

TEST(LibraryClasses, RegistrationFillsTheProgramsCreatorTable) {
  blocktest::CreatorScope restore;
  BeBlockCreatorTable& program = BeBlockCreatorTable::Program();
  program.Clear();
  ASSERT_TRUE(RegisterBlockLibraryCreators());
  // Every area's rows are registered.
  EXPECT_EQ(10, kMathClassRowCount);
  EXPECT_EQ(kMathClassRowCount + kTrigonometryClassRowCount + kConvertersClassRowCount + kLogicClassRowCount +
                kGeneratorsClassRowCount + kDigitalClassRowCount + kInterfaceClassRowCount + kControlClassRowCount +
                kMcuClassRowCount + kDriversClassRowCount + kIntellectClassRowCount,
            BlockLibraryClassCount());
  EXPECT_EQ(BlockLibraryClassCount(), program.Count());
  EXPECT_EQ(CBEAdd::Create, program.Find(kBeAddClassId));
  EXPECT_EQ(CBEMul2::Create, program.Find(kBeMul2ClassId));
  EXPECT_EQ(CBEPItoPI::Create, program.Find(kBePItoPIClassId));
  EXPECT_EQ(CBEDistance::Create, program.Find(kBeDistanceClassId));
  EXPECT_EQ(CBETypeConvertor::Create, program.Find(kBeTypeConvertorClassId));
  EXPECT_EQ(nullptr, program.Find(kBeSquareRootClassId)) << "made by the multiplier's creator";
  // Registering again changes nothing; a row already there stays.
  ASSERT_TRUE(RegisterBlockLibraryCreators());
  EXPECT_EQ(BlockLibraryClassCount(), program.Count());
  // Refused memory is reported.
  program.Clear();
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(RegisterBlockLibraryCreators());
  }
  EXPECT_FALSE(RegisterBlockLibraryCreators(nullptr));

  // A catalogue built with the program's table offers the real classes.
  ASSERT_TRUE(RegisterBlockLibraryCreators());
  BeCatalogue catalogue;
  catalogue.AddGroup(nullptr);
  ASSERT_TRUE(AddCommonCatalogueGroups(&catalogue));
  BeScheme scheme;
  scheme.Init(&catalogue);
  blocktest::KitHost host;
  CKestHostScope scope(&host);
  for (const MathEntry& entry : kTrigonometryEntries) {
    CBEBlock* block = scheme.CreateBlock(entry.classId);
    ASSERT_NE(nullptr, block) << std::hex << entry.classId;
    EXPECT_TRUE(entry.isClass(block)) << std::hex << entry.classId;
  }
  EXPECT_TRUE(Is<CBETypeConvertor>(scheme.CreateBlock(kBeTypeConvertorClassId)));
  for (const MathEntry& entry : kMathEntries) {
    CBEBlock* block = scheme.CreateBlock(entry.classId);
    ASSERT_NE(nullptr, block) << std::hex << entry.classId;
    EXPECT_TRUE(entry.isClass(block)) << std::hex << entry.classId;
  }
  EXPECT_TRUE(host.texts.empty());
}

TEST(LibraryClasses, TheMathGroupHoldsItsEntriesInOrder) {
  blocktest::LibraryCatalogue library;
  const BeCatalogueGroup* math = library.Group(L"Математика");
  ASSERT_NE(nullptr, math);
  ASSERT_EQ(kMathEntryCount, math->entryCount);
  for (int i = 0; i < kMathEntryCount; ++i) {
    const BeCatalogueEntry* entry = math->Entry(i);
    EXPECT_EQ(kMathEntries[i].classId, entry->classId) << i;
    EXPECT_STREQ(kMathEntries[i].caption, entry->caption) << i;
    if (kMathEntries[i].bitmap) {
      EXPECT_STREQ(kMathEntries[i].bitmap, entry->bitmap) << i;
    } else {
      EXPECT_EQ(nullptr, entry->bitmap) << i;
    }
    CBEBlock* block = entry->creator();
    ASSERT_NE(nullptr, block);
    EXPECT_TRUE(kMathEntries[i].isClass(block)) << i;
    delete block;
  }
  // The proportional element stands in "ТАУ" too; made from there it is
  // the same class and keeps the "Математика" entry.
  const BeCatalogueGroup* control = library.Group(L"ТАУ");
  ASSERT_NE(nullptr, control);
  const BeCatalogueEntry* again = nullptr;
  for (int i = 0; i < control->entryCount; ++i)
    if (control->Entry(i)->classId == kBeProportionalClassId) again = control->Entry(i);
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(again->creator, math->Entry(5)->creator);
  EXPECT_EQ(library.catalogue.FindEntry(kBeProportionalClassId), math->Entry(5));
}

TEST(LibraryClasses, TheTrigonometryAndConvertersGroupsHoldTheirEntries) {
  blocktest::LibraryCatalogue library;
  const BeCatalogueGroup* trigonometry = library.Group(L"Тригонометрия");
  ASSERT_NE(nullptr, trigonometry);
  ASSERT_EQ(kTrigonometryEntryCount, trigonometry->entryCount);
  for (int i = 0; i < kTrigonometryEntryCount; ++i) {
    const BeCatalogueEntry* entry = trigonometry->Entry(i);
    EXPECT_EQ(kTrigonometryEntries[i].classId, entry->classId) << i;
    EXPECT_STREQ(kTrigonometryEntries[i].caption, entry->caption) << i;
    EXPECT_STREQ(kTrigonometryEntries[i].bitmap, entry->bitmap) << i;
    CBEBlock* block = entry->creator();
    ASSERT_NE(nullptr, block);
    EXPECT_TRUE(kTrigonometryEntries[i].isClass(block)) << i;
    delete block;
  }
  // Of the converters, the type converter comes first; the others have no
  // creator yet and are not offered.
  const BeCatalogueGroup* converters = library.Group(L"Преобразователи");
  ASSERT_NE(nullptr, converters);
  ASSERT_GE(converters->entryCount, 1);
  const BeCatalogueEntry* entry = converters->Entry(0);
  EXPECT_EQ(kBeTypeConvertorClassId, entry->classId);
  EXPECT_STREQ(L"Преобразователь типов данных", entry->caption);
  EXPECT_STREQ(L"typeconvertor.bmp", entry->bitmap);
  CBEBlock* block = entry->creator();
  EXPECT_TRUE(Is<CBETypeConvertor>(block));
  delete block;
}

// "ТАУ" holds the proportional link of "Математика" and the library's
// control links, in the catalogue's order; "Преобразователи" the two
// drivers. The microcontroller's pulse blocks have creators but no common
// entry: only that unit's catalogue lists them.
TEST(LibraryClasses, TheControlGroupAndTheDriversAreTheLibrarysClasses) {
  blocktest::LibraryCatalogue library;
  const BeCatalogueGroup* control = library.Group(L"ТАУ");
  ASSERT_NE(nullptr, control);
  const MathEntry links[] = {
      {kBeProportionalClassId, L"Пропорциональное звено", L"K.bmp", Is<CBEProportional>},
      {kBeIntegralClassId, L"Интегральное звено", L"integral.bmp", Is<CBEIntegral>},
      {kBeDiffClassId, L"Дифференциальное звено", L"diff.bmp", Is<CBEDiff>},
      {kBeInertialClassId, L"Апериодическое звено", L"inertial.bmp", Is<CBEInertial>},
      {kBeVibroClassId, L"Колебательное звено", L"vibro.bmp", Is<CBEVibro>},
      {kBeLimiterClassId, L"Нелинейный элемент типа \"Ограничение\"", L"limiter.bmp", Is<CBELimiter>},
      {kBeIntegralWithReloadClassId, L"Интегральное звено с перезагрузкой", L"integralwithreload.bmp",
       Is<CBEIntegralWithReload>},
  };
  ASSERT_EQ(7, control->entryCount);
  for (int i = 0; i < 7; ++i) {
    const BeCatalogueEntry* entry = control->Entry(i);
    EXPECT_EQ(links[i].classId, entry->classId) << i;
    EXPECT_STREQ(links[i].caption, entry->caption) << i;
    EXPECT_STREQ(links[i].bitmap, entry->bitmap) << i;
    CBEBlock* block = entry->creator();
    ASSERT_NE(nullptr, block) << i;
    EXPECT_TRUE(links[i].isClass(block)) << i;
    delete block;
  }
  const BeCatalogueEntry* distance = library.catalogue.FindEntry(kBeDistanceControlClassId);
  const BeCatalogueEntry* inertial = library.catalogue.FindEntry(kBeInertialDriverClassId);
  ASSERT_NE(nullptr, distance);
  ASSERT_NE(nullptr, inertial);
  EXPECT_STREQ(L"urm04.bmp", distance->bitmap);
  EXPECT_STREQ(L"inertialdriver.bmp", inertial->bitmap);
  std::unique_ptr<CBEBlock> d(distance->creator()), n(inertial->creator());
  EXPECT_TRUE(Is<CBEDistanceControl>(d.get()));
  EXPECT_TRUE(Is<CBEInertialDriver>(n.get()));
  const BeCatalogueGroup* converters = library.Group(L"Преобразователи");
  ASSERT_NE(nullptr, converters);
  int drivers = 0;
  for (int i = 0; i < converters->entryCount; ++i)
    drivers += converters->Entry(i) == distance || converters->Entry(i) == inertial;
  EXPECT_EQ(2, drivers);
  for (unsigned int id : {kBePWMDetectorClassId, kBeIntervalDetectorClassId, kBeSoftwarePWMClassId}) {
    EXPECT_EQ(nullptr, library.catalogue.FindEntry(id)) << std::hex << id;
    BeBlockCreator creator = library.creators.Find(id);
    ASSERT_NE(nullptr, creator) << std::hex << id;
    std::unique_ptr<CBEBlock> block(creator());
    EXPECT_NE(nullptr, block.get());
  }
  EXPECT_TRUE(Is<CBEPWMDetector>(std::unique_ptr<CBEBlock>(library.creators.Find(kBePWMDetectorClassId)()).get()));
  EXPECT_TRUE(Is<CBEIntervalDetector>(
      std::unique_ptr<CBEBlock>(library.creators.Find(kBeIntervalDetectorClassId)()).get()));
  EXPECT_TRUE(Is<CBESoftwarePWM>(std::unique_ptr<CBEBlock>(library.creators.Find(kBeSoftwarePWMClassId)()).get()));
}

// The pictures of the palette buttons are ours, shipped beside the program:
// each fits its 45 x 45 button, the background colour in the corner (drawn
// transparent) and a black-framed body inside.
TEST(LibraryClasses, EveryMathPictureIsShipped) {
  for (const MathEntry& entry : kMathEntries) {
    if (!entry.bitmap) continue;
    SCOPED_TRACE(testing::Message() << entry.bitmap);
    std::wstring path = blocktest::ShippedIconsFolder() + entry.bitmap;
    CKestImage image;
    ASSERT_TRUE(SUCCEEDED(image.Load(path.c_str())));
    EXPECT_GT(image.GetWidth(), 0);
    EXPECT_LE(image.GetWidth(), kBePaletteButtonSize);
    EXPECT_GT(image.GetHeight(), 0);
    EXPECT_LE(image.GetHeight(), kBePaletteButtonSize);
    EXPECT_EQ(RGB(255, 0, 255), image.GetPixel(0, 0));
    int black = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
      for (int x = 0; x < image.GetWidth(); ++x) black += image.GetPixel(x, y) == RGB(0, 0, 0);
    EXPECT_GT(black, 0);
  }
}

// ------------------------------------------------------------ the palette

class Frame : public CKestForm {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SCHEME_MODIFIED) return 0;
    return CKestForm::WindowProc(message, wParam, lParam);
  }
};

class MathPaletteTest : public ::testing::Test {
protected:
  void SetUp() override {
    hadFolder_ = GetSchemeIconsFolder() != nullptr;
    if (hadFolder_) savedFolder_ = GetSchemeIconsFolder();
    SetSchemeIconsFolder(blocktest::ShippedIconsFolder().c_str());
    frame = new Frame;
    ASSERT_TRUE(frame->Create(nullptr, L"Velkboard", KestPos(10, 10), 1000, 760, nullptr, true, true, true, true));
    ASSERT_TRUE(frame->CreateMDIClient());
    frame->Show(false);
  }
  void TearDown() override {
    velktest::CloseAllLiveForms();
    SetSchemeIconsFolder(hadFolder_ ? savedFolder_.c_str() : nullptr);
  }
  std::vector<CKestSpdBtn*> Buttons(CBEEditor* editor) const {
    std::vector<CKestSpdBtn*> buttons;
    HWND tabs = editor->GetTabs()->GetHandle();
    for (HWND child = GetWindow(tabs, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      auto* button = dynamic_cast<CKestSpdBtn*>(GetControlFromHandle(child));
      if (button) buttons.push_back(button);
    }
    return buttons;
  }

  blocktest::Bench bench;
  Frame* frame = nullptr;

private:
  bool hadFolder_ = false;
  std::wstring savedFolder_;
};

TEST_F(MathPaletteTest, APaletteButtonPlacesTheRealClass) {
  auto* editor = new CBEEditor(frame, &bench.scheme);
  ASSERT_TRUE(editor->GetHandle());
  MoveWindow(editor->GetHandle(), 0, 0, 900, 640, TRUE);
  velktest::FlushEvents();
  CKestTabControl* tabs = editor->GetTabs();
  // Tabs from group 1: "Математика" is group 4, tab 3.
  ASSERT_STREQ(L"Математика", tabs->GetCaption(3));
  tabs->SelectTab(3);
  SendMessageW(editor->GetHandle(), WM_COMMAND, MAKEWPARAM(0, 0), reinterpret_cast<LPARAM>(tabs->GetHandle()));
  velktest::FlushEvents();
  std::vector<CKestSpdBtn*> buttons = Buttons(editor);
  ASSERT_EQ(10u, buttons.size()) << "every entry but the square root";
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_STREQ(kMathEntries[i].caption, buttons[i]->GetHint()) << i;
    EXPECT_NE(nullptr, buttons[i]->GetImage()) << i;
  }

  // Each button places its class where the view is clicked.
  CBEView* view = editor->GetView();
  for (size_t i = 0; i < buttons.size(); ++i) {
    HWND button = buttons[i]->GetHandle();
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    velktest::FlushEvents();
    ASSERT_EQ(kMathEntries[i].classId, view->GetPendingClass()) << i;
    int before = bench.scheme.GetBlockCount();
    int x = 100 + 150 * static_cast<int>(i % 4), y = 60 + 90 * static_cast<int>(i / 4);
    SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    velktest::FlushEvents();
    ASSERT_EQ(before + 1, bench.scheme.GetBlockCount()) << i;
    CBEBlock* placed = bench.scheme.blocks;
    EXPECT_EQ(kMathEntries[i].classId, placed->GetClassId()) << i;
    EXPECT_TRUE(kMathEntries[i].isClass(placed)) << i;
  }
  InvalidateRect(view->GetHandle(), nullptr, TRUE);
  UpdateWindow(editor->GetHandle());
  velktest::FlushEvents();
  velktest::SaveScreenshot(editor->GetHandle(), L"library_math_palette.bmp");
  // Placing needs no message box: every class is known.
  EXPECT_TRUE(bench.host.texts.empty());
}

// The pictures of these groups' buttons are drawn elsewhere; what a button
// does once pressed (the view's pending class) places the real classes.
TEST_F(MathPaletteTest, TrigonometryAndConverterClassesArePlacedInTheView) {
  auto* editor = new CBEEditor(frame, &bench.scheme);
  ASSERT_TRUE(editor->GetHandle());
  MoveWindow(editor->GetHandle(), 0, 0, 900, 640, TRUE);
  velktest::FlushEvents();
  CKestTabControl* tabs = editor->GetTabs();
  ASSERT_STREQ(L"Преобразователи", tabs->GetCaption(1));
  ASSERT_STREQ(L"Тригонометрия", tabs->GetCaption(4));
  std::vector<MathEntry> entries(kTrigonometryEntries, kTrigonometryEntries + kTrigonometryEntryCount);
  entries.push_back({kBeTypeConvertorClassId, L"Преобразователь типов данных", L"typeconvertor.bmp",
                     Is<CBETypeConvertor>});
  CBEView* view = editor->GetView();
  for (size_t i = 0; i < entries.size(); ++i) {
    view->SetPendingClass(entries[i].classId);
    int before = bench.scheme.GetBlockCount();
    int x = 60 + 160 * static_cast<int>(i % 5), y = 40 + 120 * static_cast<int>(i / 5);
    SendMessageW(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(view->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    velktest::FlushEvents();
    ASSERT_EQ(before + 1, bench.scheme.GetBlockCount()) << i;
    CBEBlock* placed = bench.scheme.blocks;
    EXPECT_EQ(entries[i].classId, placed->GetClassId()) << i;
    EXPECT_STREQ(entries[i].caption, placed->GetCaption()) << i;
    EXPECT_TRUE(entries[i].isClass(placed)) << i;
  }
  InvalidateRect(view->GetHandle(), nullptr, TRUE);
  UpdateWindow(editor->GetHandle());
  velktest::FlushEvents();
  velktest::SaveScreenshot(editor->GetHandle(), L"library_trigonometry_placed.bmp");
  EXPECT_TRUE(bench.host.texts.empty());
}

}  // namespace
