// The camera detectors: their pins, costs and captions, Start clearing the
// outputs for the whole run, the records (the strip detector's sub-name
// with and without), and the drawing of the frame and the picture.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "block_kit.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/library/navigation/detector_resources.h"
#include "blocks/library/navigation/fuzzy.h"
#include "blocks/library/navigation/navigation_classes.h"
#include "blocks/library/navigation/road_detector.h"
#include "blocks/library/navigation/strip_detector.h"
#include "support/test_support.h"

namespace {

const wchar_t kRoadCaption[] = L"Детектор дороги";
const wchar_t kStripCaption[] = L"Блок распознавания светоотражающей полосы";

struct Pin {
  const wchar_t* name;
  BeSignalType type;
  const wchar_t* description;
};

void ExpectInput(const CBEBlock* block, const Pin& pin) {
  ASSERT_EQ(1, block->inputCount);
  EXPECT_STREQ(pin.name, block->inputs[0]->name);
  EXPECT_EQ(pin.type, block->inputs[0]->type);
  EXPECT_STREQ(pin.description, block->inputs[0]->description);
}

void ExpectOutputs(const CBEBlock* block, const std::vector<Pin>& pins) {
  ASSERT_EQ(static_cast<int>(pins.size()), block->outputCount);
  for (size_t j = 0; j < pins.size(); ++j) {
    SCOPED_TRACE(j);
    EXPECT_STREQ(pins[j].name, block->outputs[j]->name);
    EXPECT_EQ(pins[j].type, block->outputs[j]->type);
    EXPECT_STREQ(pins[j].description, block->outputs[j]->description);
  }
}

class Detectors : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(bench.library.Offer(kBeRoadDetectorClassId, kRoadCaption, L"roaddetector.bmp"));
    ASSERT_TRUE(bench.library.Offer(kBeStripDetectorClassId, kStripCaption, L"stripdetector.bmp"));
  }
  blocktest::Bench bench;
};

TEST(NavigationClasses, TheDetectorsAndTheFuzzyBlockJoinTheProgramsCreatorTable) {
  // Scan sector, local map, visual navigation, the two detectors, fuzzy.
  ASSERT_EQ(6, kNavigationClassRowCount);
  BeBlockCreatorTable table;
  ASSERT_TRUE(RegisterBlockLibraryCreators(&table));
  EXPECT_EQ(CBERoadDetector::Create, table.Find(kBeRoadDetectorClassId));
  EXPECT_EQ(CBEStripDetector::Create, table.Find(kBeStripDetectorClassId));
  EXPECT_EQ(CBEFuzzy::Create, table.Find(kBeFuzzyClassId));
}

TEST_F(Detectors, TheRoadDetectorHasItsPinsCostsAndNoCaptionOfItsOwn) {
  auto* road = bench.Create<CBERoadDetector>(kBeRoadDetectorClassId);
  ASSERT_NE(nullptr, road);
  EXPECT_EQ(180, road->Width());
  EXPECT_EQ(60, road->Height());
  EXPECT_EQ(blocktest::Costs(10000000, 304114, 0), blocktest::CostsOf(road));
  EXPECT_EQ(nullptr, road->caption);
  EXPECT_STREQ(kRoadCaption, road->GetCaption());
  ExpectInput(road, {L"video", 22, L"Анализируемый видеосигнал"});
  ExpectOutputs(road, {{L"Лев.", 5, L"Уровень опасности слева (от 0 до 1)"},
                       {L"Прям.", 5, L"Уровень опасности прямо (от 0 до 1)"},
                       {L"Прав.", 5, L"Уровень опасности справа (от 0 до 1)"}});
}

TEST_F(Detectors, TheStripDetectorHasItsPinsCostsAndItsCatalogueCaption) {
  auto* strip = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
  ASSERT_NE(nullptr, strip);
  EXPECT_EQ(120, strip->Width());
  EXPECT_EQ(150, strip->Height());
  EXPECT_EQ(blocktest::Costs(100000, 2000, 0), blocktest::CostsOf(strip));
  EXPECT_STREQ(kStripCaption, strip->caption);
  EXPECT_EQ(nullptr, strip->GetSubName());
  ExpectInput(strip, {L"cam", 22, L"Вход с камеры"});
  ExpectOutputs(
      strip,
      {{L"ok", 1, L"Полоса распознана"},
       {L"D", 5,
        L"Линенейное отклонения полосы от центра изображения (от -1 до +1). Полож.направление направо"},
       {L"A", 5, L"Угол поворота полосы (рад). Полож.направление направо"},
       {L"left", 1, L"Есть ли левое разветвеление полосы"},
       {L"Aleft", 5, L"Угол поворота левого разветвеления полосы (рад)"},
       {L"right", 1, L"Есть ли правое разветвеление полосы"},
       {L"Aright", 5, L"Угол поворота правого разветвеления полосы (рад)"}});
}

TEST_F(Detectors, StartClearsEveryOutputAndTheRunLeavesThemAtZero) {
  auto* road = bench.Create<CBERoadDetector>(kBeRoadDetectorClassId);
  auto* strip = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
  ASSERT_TRUE(road && strip);
  for (CBEBlock* block : {static_cast<CBEBlock*>(road), static_cast<CBEBlock*>(strip)})
    for (int j = 0; j < block->outputCount; ++j) memset(block->outputs[j]->value, 0x5A, 8);
  road->frameSeen = road->frameBusy = 1;
  road->frameHandle = 77;
  strip->frameHandle = 78;
  bench.Pass();
  EXPECT_EQ(0, road->frameSeen);
  EXPECT_EQ(0, road->frameBusy);
  EXPECT_EQ(0u, road->frameHandle);
  EXPECT_EQ(0u, strip->frameHandle);
  bench.Passes(5);
  for (CBEBlock* block : {static_cast<CBEBlock*>(road), static_cast<CBEBlock*>(strip)}) {
    for (int j = 0; j < block->outputCount; ++j) {
      SCOPED_TRACE(j);
      if (block->outputs[j]->type == kBeSignalFloat)
        EXPECT_EQ(0.0f, blocktest::ReadFloat(block, j));
      else
        EXPECT_EQ(0, blocktest::ReadInt(block, j));
      std::vector<uint8_t> low = blocktest::ValueBytes(block, j);
      EXPECT_EQ(std::vector<uint8_t>(4, 0), std::vector<uint8_t>(low.begin(), low.begin() + 4));
    }
  }
}

TEST_F(Detectors, TheRoadDetectorWritesTheBaseRecordAlone) {
  auto* road = bench.Create<CBERoadDetector>(kBeRoadDetectorClassId);
  ASSERT_NE(nullptr, road);
  road->MoveTo(40, 60);
  std::vector<uint8_t> record = blocktest::RecordBytes(road);
  auto golden = blocktest::Golden().Base(blocktest::BaseRecord::Unlinked(road->rect, 1, 3)).Bytes();
  EXPECT_TRUE(velktest::BytesEqual(record, golden));
  blocktest::ExpectTruncationsRefused<CBERoadDetector>(kBeRoadDetectorClassId, record);
}

TEST_F(Detectors, TheStripDetectorWritesItsSubNameAfterTheBaseRecord) {
  struct Case {
    const wchar_t* subName;
    const wchar_t* readBack;
  };
  // An empty sub-name is written as the terminator alone and reads back
  // absent.
  const Case cases[] = {{L"WHITE", L"WHITE"}, {nullptr, nullptr}, {L"", nullptr}, {L"БЕЛАЯ", L"БЕЛАЯ"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.subName ? c.subName : L"(absent)");
    std::unique_ptr<CBEStripDetector> strip = blocktest::NewDetached<CBEStripDetector>(kBeStripDetectorClassId);
    ASSERT_NE(nullptr, strip);
    ASSERT_TRUE(strip->SetSubName(c.subName));
    std::vector<uint8_t> record = blocktest::RecordBytes(strip.get());
    blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(strip->rect, 1, 7);
    base.caption = kStripCaption;
    auto golden = blocktest::Golden().Base(base).WStr(c.subName).Bytes();
    EXPECT_TRUE(velktest::BytesEqual(record, golden));
    std::unique_ptr<CBEStripDetector> copy = blocktest::NewDetached<CBEStripDetector>(kBeStripDetectorClassId);
    ASSERT_TRUE(copy->SetSubName(L"OLD"));
    ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
    if (c.readBack)
      EXPECT_STREQ(c.readBack, copy->GetSubName());
    else
      EXPECT_EQ(nullptr, copy->GetSubName());
  }
}

TEST_F(Detectors, EveryCutOfAStripRecordIsRefusedAndTheSchemeReadsBack) {
  std::unique_ptr<CBEStripDetector> strip = blocktest::NewDetached<CBEStripDetector>(kBeStripDetectorClassId);
  ASSERT_NE(nullptr, strip);
  strip->SetCaption(nullptr);
  ASSERT_TRUE(strip->SetSubName(L"WHITE"));
  std::vector<uint8_t> record = blocktest::RecordBytes(strip.get());
  blocktest::ForEachTruncation<CBEStripDetector>(
      kBeStripDetectorClassId, record, [&](CBEStripDetector* block, size_t n, bool loaded) {
        EXPECT_EQ(n == record.size(), loaded);
        if (!loaded) {
          EXPECT_EQ(nullptr, block->GetSubName());
          EXPECT_STREQ(kStripCaption, block->caption);
        } else {
          EXPECT_STREQ(L"WHITE", block->GetSubName());
        }
      });

  auto* placed = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
  auto* plain = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
  ASSERT_TRUE(placed && plain);
  ASSERT_TRUE(placed->SetSubName(L"WHITE"));
  plain->MoveTo(300, 0);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  std::vector<CBEStripDetector*> read = blocktest::BlocksOf<CBEStripDetector>(copy.get());
  ASSERT_EQ(2u, read.size());
  int withName = read[0]->GetSubName() ? 0 : 1;
  EXPECT_STREQ(L"WHITE", read[withName]->GetSubName());
  EXPECT_EQ(nullptr, read[1 - withName]->GetSubName());
  EXPECT_EQ(300, read[1 - withName]->rect.left);
}

TEST_F(Detectors, TheStripDetectorsPropertiesAreTheRegisteredDialog) {
  auto* strip = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
  ASSERT_NE(nullptr, strip);
  {
    blocktest::DialogScope dialogs;
    EXPECT_FALSE(strip->ShowProperties());
  }
  blocktest::DialogScope dialogs;
  static CBEBlock* shown = nullptr;
  dialogs.Set(kBeStripDetectorClassId, [](CBEBlock* block) {
    shown = block;
    return static_cast<CBEStripDetector*>(block)->SetSubName(L"BLUE");
  });
  EXPECT_TRUE(strip->ShowProperties());
  EXPECT_EQ(strip, shown);
  EXPECT_STREQ(L"BLUE", strip->GetSubName());
}

// Whether the canvas shows the program's bitmap resource with its top-left
// corner at (x, y).
::testing::AssertionResult ShowsResource(const blocktest::Canvas& canvas, int id, int x, int y, int size) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return ::testing::AssertionFailure() << "resource " << id << " does not load";
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  int differ = 0;
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) differ += GetPixel(dc, px, py) != canvas.At(x + px, y + py);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  if (info.bmWidth != size || info.bmHeight != size)
    return ::testing::AssertionFailure() << "resource " << id << " is " << info.bmWidth << " x " << info.bmHeight;
  if (differ) return ::testing::AssertionFailure() << differ << " pixels differ";
  return ::testing::AssertionSuccess();
}

TEST_F(Detectors, BothDrawARaisedFrameWithTheirPictureInTheCentre) {
  auto* road = bench.Create<CBERoadDetector>(kBeRoadDetectorClassId);
  auto* strip = bench.Create<CBEStripDetector>(kBeStripDetectorClassId);
  ASSERT_TRUE(road && strip);
  blocktest::Canvas canvas(360, 180);
  EXPECT_TRUE(canvas.Draw(road, 10, 10));
  EXPECT_TRUE(canvas.Draw(strip, 220, 10));
  // Road: 180 x 60 at (10, 10), picture 48 x 48 at (76, 16).
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(10, 10));
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), canvas.At(189, 69));
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), canvas.At(20, 40));
  EXPECT_TRUE(ShowsResource(canvas, IDB_ROAD_DETECTOR, 76, 16, 48));
  // Strip: 120 x 150 at (220, 10), picture 32 x 32 at (264, 69).
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), canvas.At(339, 159));
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), canvas.At(230, 30));
  EXPECT_TRUE(ShowsResource(canvas, IDB_STRIP_DETECTOR, 264, 69, 32));
  canvas.Save(L"library_detectors.bmp");
}

}  // namespace
