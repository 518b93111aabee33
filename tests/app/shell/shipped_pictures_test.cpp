// Every picture the programs load by file name is shipped beside them and
// loads: the palette bitmaps of every block catalogue, the class pictures
// that components and blocks draw (found by walking the class registry and
// the catalogues), the pictures of the component cards and the sample
// database, and the control-panel device of the panel preview.
//
// A class that joins the registry or a catalogue and draws a picture file
// adds a row to kComponentPictures or kBlockPictures (and its drawing to
// tools/make_scheme_icons.py or tools/make_block_palette.py); a class that
// draws none needs no row: the walk checks that it paints the same without
// the icons folder. A catalogue that a programmable unit builds joins
// BuildCatalogues; until it does, a block of it that draws a picture inside
// its body adds a row to kInsetBlockPictures (and its drawing to the
// picture script of its area, as tools/make_pulse_pictures.py). Blocks that
// draw a bitmap resource of the program add it to kBlockResources.
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "units/catalogues/unit_catalogues.h"
#include "units/unit_classes.h"
#include "blocks/dialogs/dialog_resources.h"
#include "blocks/engine/block.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/library/library_classes.h"
#include "blocks/engine/block_scheme.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/common_groups.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "blocks/engine/plugin/plugin_block.h"
#include "blocks/dialogs/scan_sector/scan_sector_dialog.h"
#include "blocks/library/mcu/interval_detector.h"
#include "blocks/library/navigation/local_map.h"
#include "blocks/library/navigation/scan_sector.h"
#include "blocks/library/navigation/video_navigation.h"
#include "blocks/library/navigation/detector_resources.h"
#include "script/script_resources.h"
#include "blocks/panel/panel_kinds.h"
#include "blocks/panel/ui_blocks/ui_block_entries.h"
#include "blocks/panel/ui_panel.h"
#include "components/devices/device_classes.h"
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/electronic_classes.h"
#include "foundation/memory_stream.h"
#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"
#include "scheme/database/compdb_widgets.h"
#include "scheme/model/block.h"
#include "scheme/model/class_registry.h"
#include "scheme/model/scheme_host.h"
#include "scheme/model/scheme.h"
#include "scheme/model/scheme_icons.h"
#include "script/script_block.h"
#include "support/memory_canvas.h"
#include "support/test_support.h"

namespace {

// The class pictures of the components, drawn unscaled at the symbol's
// top-left corner (or x, y from it), at the symbol's size.
struct ComponentPicture {
  const char* className;
  const wchar_t* file;
  int width, height;
  int x = 0, y = 0;
};
const ComponentPicture kComponentPictures[] = {
    {"T_GIDRO", L"T.png", 30, 20},
    {"5_GIDRO", L"5.png", 40, 17},
    {"Multimeter", L"multimeter.png", 80, 100},
    {"Battery", L"battery.png", 90, 80},
    {"USB-COM", L"USB-RS232.png", 170, 40},
    {"DCMotor", L"motor.png", 96, 48},
    {"servo", L"servo.jpg", 64, 100},
    {"ACTUATOR", L"actuator.png", 64, 100},
    {"ICE", L"ICE2.jpg", 200, 240},  // a new engine has no key start
    {"Encoder", L"encoder.png", 114, 55},
    {"potentiometric", L"potentiometric.png", 107, 55},
    {"InertialSystem", L"inertial.png", 140, 140},
    {"PultComputer", L"notebook.png", 230, 157},
    {"HardDrive", L"hd.jpg", 92, 132},
    {"Mic", L"mic.png", 91, 91},
    {"Camera", L"camera.png", 96, 100},
    {"URM37", L"distsensor.png", 44, 84, 80 - 44, 0},
    {"URM04", L"distsensor.png", 44, 84, 80 - 44, 0},
    {"SEN136B5B", L"distsensor.png", 44, 84, 80 - 44, 0},
    {"SRF-05", L"distsensor.png", 44, 84, 100 - 44, 0},
};

// Pictures a class draws only in a state its new instance is not in.
const ComponentPicture kOtherStatePictures[] = {
    {"ICE", L"ICE.jpg", 200, 240},  // an engine with key start
};

// The class pictures of the blocks, at the block's size.
struct BlockPicture {
  unsigned int classId;
  const wchar_t* file;
  int width, height;
};
const BlockPicture kBlockPictures[] = {
    {kBeAvrPlotClassId, L"avrplot.bmp", 80, 40},
    {kUIButtonBlockClassId, L"button.jpg", 60, 20},
    {kUITrackBarBlockClassId, L"trackbar.jpg", 30, 60},
    {kUIVideoBlockClassId, L"video.jpg", 120, 64},
    {kUIJoystickBlockClassId, L"joystick.jpg", 60, 48},
};

// Pictures that blocks draw inside their body, for blocks that only a
// unit's own catalogue offers (made here by their class's creator): the
// picture's place in the body and its size.
struct InsetBlockPicture {
  BeBlockCreator creator;
  const wchar_t* file;
  int x, y, width, height;
};
const InsetBlockPicture kInsetBlockPictures[] = {
    {CBEIntervalDetector::Create, L"IntervalDetectorBMP.bmp", 20, 4, 80, 38},
    {CBEVideoNavigation::Create, L"videonavigationicon.bmp", 50, 20, 100, 80},
};

// Bitmap resources that blocks draw in their body (drawn by
// tools/make_detector_pictures.py and tools/make_map_block_bitmaps.py): id
// and size.
struct BlockResource {
  int id;
  int width, height;
};
const BlockResource kBlockResources[] = {
    {IDB_ROAD_DETECTOR, 48, 48},
    {IDB_STRIP_DETECTOR, 32, 32},
    {kBeScanSectorPicture, 48, 48},
    {kBeLocalMapPicture, 48, 48},
    // The scan-sector dialog's drawing (tools/make_builder_pictures.py).
    {kScanSectorDrawing, 150, 120},
    // The TWI dialog's formula (tools/make_dialog_pictures.py).
    {IDB_TWI_FORMULA, 210, 38},
};

// Palette bitmaps fit the 45 x 45 buttons of the block editor's palette.
const int kBePaletteButtonSize = 45;

// The folder of the test program, where the programs' data lies too.
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L"\\/") + 1);
}

std::wstring IconsFolder() { return ProgramFolder() + L"schemeIcons\\"; }
std::wstring DatabaseFolder() { return ProgramFolder() + L"VelkDB\\"; }

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

// Loads a shipped file: "" when it loads, else why not.
std::string LoadShipped(const std::wstring& path, CKestImage* image) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return "not shipped: " + Narrow(path);
  HRESULT loaded = image->Load(path.c_str());
  if (FAILED(loaded) || image->IsNull()) return "does not load: " + Narrow(path);
  return "";
}

// The scheme icons folder while alive (the previous one comes back).
class IconsFolderScope {
public:
  explicit IconsFolderScope(const std::wstring& folder)
      : had_(GetSchemeIconsFolder() != nullptr), saved_(had_ ? GetSchemeIconsFolder() : L"") {
    SetSchemeIconsFolder(folder.c_str());
  }
  ~IconsFolderScope() { SetSchemeIconsFolder(had_ ? saved_.c_str() : nullptr); }

private:
  bool had_;
  std::wstring saved_;
};

// The component class registry as start-up fills it while alive.
class RegistryScope {
public:
  RegistryScope() {
    for (int i = 0; i < g_schClassRegistry.Count(); i++)
      saved_.push_back({g_schClassRegistry.Row(i).name, g_schClassRegistry.Row(i).creator});
    g_schClassRegistry.Clear();
    RegisterComponentClasses();
    RegisterElectronicComponentCreators();
    RegisterDeviceComponentCreators();
    RegisterUnitComponentCreators();
  }
  ~RegistryScope() {
    g_schClassRegistry.Clear();
    for (const SchClassRow& row : saved_) g_schClassRegistry.Add(row.name, row.creator);
  }

private:
  std::vector<SchClassRow> saved_;
};

// Records the component cards and answers every message.
class CardHost : public CKestHost, public CSchemeHost {
public:
  void ShowComponentCard(const wchar_t*, const wchar_t* pictureFile) override {
    pictures.push_back(pictureFile ? pictureFile : L"");
  }
  int ShowMessage(UINT, const wchar_t*, const wchar_t* text) override {
    messages.push_back(text ? text : L"");
    return IDOK;
  }
  std::vector<std::wstring> pictures;
  std::vector<std::wstring> messages;
};

// How much of a picture shows on the canvas at (x, y): the share of its
// pixels whose colour is there (each channel within 8).
double ShareShown(const velktest::MemoryCanvas& canvas, const CKestImage& picture, int x, int y) {
  int same = 0;
  int total = picture.GetWidth() * picture.GetHeight();
  for (int py = 0; py < picture.GetHeight(); ++py) {
    for (int px = 0; px < picture.GetWidth(); ++px) {
      COLORREF want = picture.GetPixel(px, py);
      COLORREF got = canvas.At(x + px, y + py);
      if (std::abs(GetRValue(want) - GetRValue(got)) <= 8 && std::abs(GetGValue(want) - GetGValue(got)) <= 8 &&
          std::abs(GetBValue(want) - GetBValue(got)) <= 8)
        ++same;
    }
  }
  return total > 0 ? static_cast<double>(same) / total : 0.0;
}

// Whether two canvases of one size hold the same pixels.
bool SamePixels(const velktest::MemoryCanvas& a, const velktest::MemoryCanvas& b, int width, int height) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

// The catalogues of the programs: the common groups of every unit, the
// script block, the plug-in entry, the user-interface blocks of the panel's
// computer, and the debugging blocks of the units' "Отладка" tabs.
void BuildCatalogues(BeCatalogue* catalogue) {
  BeCatalogueGroup* hidden = catalogue->AddGroup(nullptr);
  ASSERT_NE(nullptr, hidden);
  ASSERT_TRUE(AddCommonCatalogueGroups(catalogue));
  ASSERT_TRUE(AddPluginCatalogueEntry(catalogue));
  ASSERT_TRUE(AddScriptBlockEntry(catalogue->AddGroup(kScriptBlockGroup)));
  ASSERT_TRUE(AddUserInterfaceBlockEntries(hidden));
  BeCatalogueGroup* debug = catalogue->AddGroup(L"Отладка");
  ASSERT_TRUE(debug->AddEntry(kBeMonitorClassId, CBEMonitor::Create, L"Вывод на экран", L"out.bmp"));
  ASSERT_TRUE(debug->AddEntry(kBeAvrPlotClassId, CBEAvrPlot::Create, L"Построитель графика", L"avrploticon.bmp"));
}

TEST(ShippedPictures, EveryPaletteBitmapOfEveryCatalogueIsShippedAndLoads) {
  std::set<std::wstring> files;
  // Every row of the common groups, its class built yet or not.
  for (int row = 0; row < CommonCatalogueRowCount(); ++row)
    if (const wchar_t* bitmap = CommonCatalogueRowBitmap(row)) files.insert(bitmap);
  BeCatalogue catalogue, board, pult, avr;
  BuildCatalogues(&catalogue);
  // The units' own catalogues, with the classes the program knows.
  BeBlockCreatorTable creators;
  ASSERT_TRUE(RegisterBlockLibraryCreators(&creators));
  ASSERT_TRUE(FillBoardComputerCatalogue(&board, creators));
  ASSERT_TRUE(FillPultComputerCatalogue(&pult, creators));
  ASSERT_TRUE(FillAvrCatalogue(&avr, creators));
  for (const BeCatalogue* c : {&catalogue, &board, &pult, &avr}) {
    for (int g = 0; g < c->groupCount; ++g) {
      const BeCatalogueGroup* group = c->Group(g);
      for (int i = 0; i < group->entryCount; ++i)
        if (group->Entry(i)->bitmap) files.insert(group->Entry(i)->bitmap);
    }
  }
  EXPECT_GE(files.size(), 70u);
  for (const wchar_t* named : {L"macro.bmp", L"plugin.bmp", L"js.bmp", L"pwmdetector.bmp", L"IntervalDetector.bmp", L"pwm.bmp",
                               L"videonavigation.bmp"})
    EXPECT_EQ(1u, files.count(named)) << Narrow(named);
  for (const std::wstring& file : files) {
    CKestImage image;
    std::string why = LoadShipped(IconsFolder() + file, &image);
    EXPECT_EQ("", why);
    if (!why.empty()) continue;
    EXPECT_GT(image.GetWidth(), 0) << Narrow(file);
    EXPECT_LE(image.GetWidth(), kBePaletteButtonSize) << Narrow(file);
    EXPECT_LE(image.GetHeight(), kBePaletteButtonSize) << Narrow(file);
  }
}

// Every component class of the registry paints: the classes of the table
// their shipped picture at the symbol's corner, every other class the same
// as without any icons folder (it loads no picture).
TEST(ShippedPictures, EveryComponentClassDrawsItsShippedPicture) {
  RegistryScope registry;
  velktest::TempFolder empty;
  SchScheme scheme;
  velktest::MemoryCanvas gallery(1400, 260);
  int galleryX = 5;
  int made = 0;
  for (int i = 0; i < g_schClassRegistry.Count(); ++i) {
    const SchClassRow& row = g_schClassRegistry.Row(i);
    if (!row.creator) continue;
    CSCHBlock* block = scheme.CreateBlock(row.name);
    ASSERT_NE(nullptr, block) << row.name;
    ++made;
    block->MoveTo(20, 20);
    const ComponentPicture* listed = nullptr;
    for (const ComponentPicture& p : kComponentPictures)
      if (strcmp(p.className, row.name) == 0) listed = &p;
    velktest::MemoryCanvas without(400, 300), with(400, 300);
    {
      IconsFolderScope icons(empty.Path());
      block->Paint(without.dc());
    }
    {
      IconsFolderScope icons(IconsFolder());
      block->Paint(with.dc());
    }
    if (!listed) {
      EXPECT_TRUE(SamePixels(without, with, 400, 300))
          << row.name << " paints something of the icons folder: add it to kComponentPictures";
      continue;
    }
    CKestImage picture;
    std::string why = LoadShipped(IconsFolder() + listed->file, &picture);
    ASSERT_EQ("", why) << row.name;
    EXPECT_EQ(listed->width, picture.GetWidth()) << row.name;
    EXPECT_EQ(listed->height, picture.GetHeight()) << row.name;
    EXPECT_GE(ShareShown(with, picture, 20 + listed->x, 20 + listed->y), 0.9)
        << row.name << " does not draw " << Narrow(listed->file);
    block->MoveTo(galleryX, 10);
    block->Paint(gallery.dc());
    galleryX += listed->x + listed->width + 15;
  }
  EXPECT_GT(made, 30);
  gallery.Save(L"shipped_component_pictures.bmp");
  for (const ComponentPicture& p : kOtherStatePictures) {
    CKestImage picture;
    EXPECT_EQ("", LoadShipped(IconsFolder() + p.file, &picture)) << p.className;
    EXPECT_EQ(p.width, picture.GetWidth()) << p.className;
    EXPECT_EQ(p.height, picture.GetHeight()) << p.className;
  }
}

// Every block of the catalogues draws: the classes of the table their
// shipped picture over their rectangle, every other block the same as
// without any icons folder.
TEST(ShippedPictures, EveryBlockDrawsItsShippedPicture) {
  BeCatalogue catalogue;
  BuildCatalogues(&catalogue);
  BeScheme scheme;
  scheme.Init(&catalogue);
  velktest::TempFolder empty;
  velktest::MemoryCanvas gallery(500, 120);
  int galleryX = 5;
  std::set<unsigned int> drawn;
  for (int g = 0; g < catalogue.groupCount; ++g) {
    const BeCatalogueGroup* group = catalogue.Group(g);
    for (int i = 0; i < group->entryCount; ++i) {
      const BeCatalogueEntry* entry = group->Entry(i);
      // A plug-in block stands for a block of a plug-in module, which this
      // test has none of.
      if (entry->classId == kBePluginBlockClassId || drawn.count(entry->classId)) continue;
      drawn.insert(entry->classId);
      CBEBlock* block = scheme.CreateBlock(entry->classId);
      ASSERT_NE(nullptr, block) << std::hex << entry->classId;
      OffsetRect(&block->rect, 20 - block->rect.left, 20 - block->rect.top);
      const BlockPicture* listed = nullptr;
      for (const BlockPicture& p : kBlockPictures)
        if (p.classId == entry->classId) listed = &p;
      velktest::MemoryCanvas without(400, 300), with(400, 300);
      {
        IconsFolderScope icons(empty.Path());
        block->Draw(without.dc());
      }
      {
        IconsFolderScope icons(IconsFolder());
        block->Draw(with.dc());
      }
      if (!listed) {
        EXPECT_TRUE(SamePixels(without, with, 400, 300))
            << std::hex << entry->classId << " draws something of the icons folder: add it to kBlockPictures";
        continue;
      }
      CKestImage picture;
      std::string why = LoadShipped(IconsFolder() + listed->file, &picture);
      ASSERT_EQ("", why);
      EXPECT_EQ(listed->width, picture.GetWidth()) << Narrow(listed->file);
      EXPECT_EQ(listed->height, picture.GetHeight()) << Narrow(listed->file);
      EXPECT_EQ(listed->width, block->rect.right - block->rect.left) << Narrow(listed->file);
      EXPECT_EQ(listed->height, block->rect.bottom - block->rect.top) << Narrow(listed->file);
      EXPECT_GE(ShareShown(with, picture, 20, 20), 0.9) << "block does not draw " << Narrow(listed->file);
      OffsetRect(&block->rect, galleryX - block->rect.left, 10 - block->rect.top);
      block->Draw(gallery.dc());
      galleryX += listed->width + 15;
    }
  }
  for (const BlockPicture& p : kBlockPictures) EXPECT_EQ(1u, drawn.count(p.classId)) << Narrow(p.file);
  gallery.Save(L"shipped_block_pictures.bmp");
}

TEST(ShippedPictures, BlocksOfTheUnitsOwnCataloguesDrawTheirShippedPictures) {
  velktest::MemoryCanvas gallery(400, 330);
  int galleryX = 5;
  for (const InsetBlockPicture& p : kInsetBlockPictures) {
    std::unique_ptr<CBEBlock> block(p.creator());
    ASSERT_NE(nullptr, block) << Narrow(p.file);
    CKestImage picture;
    ASSERT_EQ("", LoadShipped(IconsFolder() + p.file, &picture));
    EXPECT_EQ(p.width, picture.GetWidth()) << Narrow(p.file);
    EXPECT_EQ(p.height, picture.GetHeight()) << Narrow(p.file);
    OffsetRect(&block->rect, 20 - block->rect.left, 20 - block->rect.top);
    velktest::MemoryCanvas with(400, 300);
    {
      IconsFolderScope icons(IconsFolder());
      block->Draw(with.dc());
    }
    EXPECT_GE(ShareShown(with, picture, 20 + p.x, 20 + p.y), 0.9) << "block does not draw " << Narrow(p.file);
    OffsetRect(&block->rect, galleryX - block->rect.left, 10 - block->rect.top);
    {
      IconsFolderScope icons(IconsFolder());
      block->Draw(gallery.dc());
    }
    galleryX += block->rect.right - block->rect.left + 15;
  }
  gallery.Save(L"shipped_inset_block_pictures.bmp");
}

// Pictures that blocks copy from Velkboard's bitmap resources into the
// middle of their body (tools/make_map_block_bitmaps.py): linked into the
// program, 48 x 48, and drawn by their block.
TEST(ShippedPictures, BlocksDrawTheirBitmapResources) {
  struct ResourcePicture {
    BeBlockCreator creator;
    int resource;
  } pictures[] = {{CBEScanSector::Create, kBeScanSectorPicture}, {CBELocalMap::Create, kBeLocalMapPicture}};
  for (const ResourcePicture& p : pictures) {
    SCOPED_TRACE(p.resource);
    CKestImage picture;
    ASSERT_TRUE(SUCCEEDED(picture.LoadFromResource(GetModuleHandleW(nullptr), p.resource)));
    EXPECT_EQ(48, picture.GetWidth());
    EXPECT_EQ(48, picture.GetHeight());
    std::unique_ptr<CBEBlock> block(p.creator());
    ASSERT_NE(nullptr, block);
    OffsetRect(&block->rect, 20 - block->rect.left, 20 - block->rect.top);
    velktest::MemoryCanvas canvas(300, 400);
    block->Draw(canvas.dc());
    int x = (block->rect.left + block->rect.right - 48) / 2, y = (block->rect.top + block->rect.bottom - 48) / 2;
    EXPECT_GE(ShareShown(canvas, picture, x, y), 0.99);
  }
}

TEST(ShippedPictures, TheBitmapResourcesOfBlocksAreLinkedIntoThePrograms) {
  for (const BlockResource& r : kBlockResources) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(r.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, bitmap) << "resource " << r.id;
    BITMAP info = {};
    EXPECT_EQ(static_cast<int>(sizeof info), GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(r.width, info.bmWidth) << "resource " << r.id;
    EXPECT_EQ(r.height, info.bmHeight) << "resource " << r.id;
    DeleteObject(bitmap);
  }
}

// The block dialogs' add and arrow buttons show the script editor's pictures.
static_assert(IDB_DIALOG_ADD == IDB_SCRIPT_PIN_ADD && IDB_DIALOG_UP == IDB_SCRIPT_PIN_UP &&
                  IDB_DIALOG_DOWN == IDB_SCRIPT_PIN_DOWN,
              "the dialogs' add and arrow pictures are the script editor's");

// The script editor's 16 x 16 pictures share the program's resources with
// the palette's and the blocks' pictures: each id names its own picture.
TEST(ShippedPictures, TheScriptEditorsPicturesKeepTheirOwnIds) {
  const int ids[] = {IDB_SCRIPT_PIN_ADD, IDB_SCRIPT_PIN_DELETE, IDB_SCRIPT_PIN_UP,  IDB_SCRIPT_PIN_DOWN,
                     IDB_SCRIPT_GROUP,   IDB_SCRIPT_GROUP_OPEN,  IDB_SCRIPT_EXAMPLE, IDB_SCRIPT_ELEMENT};
  for (int id : ids) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, bitmap) << "resource " << id;
    BITMAP info = {};
    EXPECT_EQ(static_cast<int>(sizeof info), GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(16, info.bmWidth) << "resource " << id;
    EXPECT_EQ(16, info.bmHeight) << "resource " << id;
    DeleteObject(bitmap);
  }
}

// The component cards show pictures of the database's images folder: the
// quartz crystal's and one per capacitor kind.
TEST(ShippedPictures, ComponentCardsShowShippedDatabasePictures) {
  RegistryScope registry;
  CardHost host;
  CKestHostScope kestScope(&host);
  CSchemeHostScope scope(&host);
  SchScheme scheme;
  CSCHBlock* quartz = scheme.CreateBlock("Quartz");
  ASSERT_NE(nullptr, quartz);
  quartz->Edit();
  for (int kind : {kElecCapacitorCeramic, kElecCapacitorElectrolytic, kElecCapacitorChip}) {
    auto* capacitor = static_cast<CCapacitor*>(scheme.CreateBlock("Capacitor"));
    ASSERT_NE(nullptr, capacitor);
    capacitor->kind = kind;
    capacitor->Edit();
  }
  ASSERT_EQ(4u, host.pictures.size());
  for (const std::wstring& file : host.pictures) {
    ASSERT_FALSE(file.empty());
    CKestImage image;
    EXPECT_EQ("", LoadShipped(DatabaseFolder() + L"images\\" + file, &image));
  }
}

// The one sample row whose picture file is missing on purpose: the browser
// and modelpicker tests show how a missing picture looks.
const char kMissingOnPurpose[] = "sla12.png";

// Every picture that a row of a sample database table names lies in the
// database's images folder and loads (but the one missing on purpose).
TEST(ShippedPictures, EverySampleDatabasePictureLoads) {
  std::wstring savedDb = GetComponentDbFolder();
  std::wstring savedImages = GetImagesFolder();
  SetComponentDbFolder(DatabaseFolder().c_str());
  SetImagesFolder((DatabaseFolder() + L"images\\").c_str());
  int tables = 0, pictures = 0;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((DatabaseFolder() + L"*.txt").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, find);
  do {
    std::wstring name = found.cFileName;
    name = name.substr(0, name.size() - 4);
    CompDbTable table(name.c_str());
    EXPECT_TRUE(table.Load()) << Narrow(name);
    ++tables;
    for (int r = 0; r < table.GetRecordCount(); ++r) {
      CompDbRecord* record = table.GetRecord(r);
      const char* image = record->GetTextByName("image");
      if (!image || !*image || strcmp(image, kMissingOnPurpose) == 0) continue;
      ++pictures;
      CKestImage* picture = LoadCompDbPicture(record);
      EXPECT_NE(nullptr, picture) << Narrow(name) << " row " << r << ": " << image;
      delete picture;
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
  SetComponentDbFolder(savedDb.c_str());
  SetImagesFolder(savedImages.c_str());
  EXPECT_GT(tables, 10);
  EXPECT_GT(pictures, 5);
}

// The resistors of the palette come from the table "resisters".
TEST(ShippedPictures, TheSampleDatabaseHoldsThePalettesResistorTable) {
  std::wstring savedDb = GetComponentDbFolder();
  SetComponentDbFolder(DatabaseFolder().c_str());
  CompDbTable table(L"resisters");
  bool loaded = table.Load();
  int rows = table.GetRecordCount();
  SetComponentDbFolder(savedDb.c_str());
  EXPECT_TRUE(loaded);
  EXPECT_GE(rows, 4);
}

// The panel preview draws the panel into the device picture "screen.png"
// of the program folder: a 32-bit picture with alpha around the preview's
// area.
TEST(ShippedPictures, ThePanelDevicePictureIsShipped) {
  CKestImage device;
  ASSERT_TRUE(LoadScreenPicture(&device));
  EXPECT_EQ(32, device.GetBPP());
  EXPECT_TRUE(device.HasAlphaChannel());
  EXPECT_GE(device.GetWidth(), kPanelPreviewLeft + kPanelPreviewWidth);
  EXPECT_GE(device.GetHeight(), kPanelPreviewTop + kPanelPreviewHeight);
  // An empty panel's stream carries it as its preview, without a message.
  CardHost host;
  CKestHostScope kestScope(&host);
  CSchemeHostScope scope(&host);
  RegisterPanelItemKinds();
  BeScheme scheme;
  UiPanel panel(&scheme);
  CMemoryStream stream;
  panel.Save(&stream);
  EXPECT_TRUE(host.messages.empty());
  // Magic, no items, then the preview's width and height.
  ASSERT_GE(stream.size, 16);
  int width, height;
  memcpy(&width, stream.data + 8, 4);
  memcpy(&height, stream.data + 12, 4);
  EXPECT_EQ(device.GetWidth(), width);
  EXPECT_EQ(device.GetHeight(), height);
}

}  // namespace
