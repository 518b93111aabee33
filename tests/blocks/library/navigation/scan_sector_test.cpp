// The stereo scan sector: its pins and costs, the model it publishes through
// a type-30 value (counter, tag, payload handle), its slices and the record
// that keeps their height bands, and its drawing.
#include <cstring>

#include "block_kit.h"
#include "blocks/library/navigation/scan_sector.h"
#include "foundation/buffer_failure_scope.h"

namespace {

using blocktest::BaseRecord;
using blocktest::Golden;

const wchar_t kCaption[] = L"Построитель карты видимой области по стереозрению";

std::unique_ptr<CBEScanSector> NewSector() { return blocktest::NewDetached<CBEScanSector>(kBeScanSectorClassId); }

TEST(ScanSector, IsMadeWithItsPinsCostsAndFirstSlice) {
  std::unique_ptr<CBEScanSector> s = NewSector();
  ASSERT_NE(nullptr, s);
  EXPECT_EQ(180, s->Width());
  EXPECT_EQ(60, s->Height());
  EXPECT_EQ(blocktest::Costs(10000000, 304114, 545444, true), blocktest::CostsOf(s.get()));
  ASSERT_EQ(2, s->inputCount);
  ASSERT_EQ(1, s->outputCount);
  EXPECT_EQ(kBeSignalVideo, s->Input(0)->type);
  EXPECT_STREQ(L"video 1", s->Input(0)->name);
  EXPECT_STREQ(L"Видео с левой камеры стерео видеосистемы", s->Input(0)->description);
  EXPECT_EQ(kBeSignalVideo, s->Input(1)->type);
  EXPECT_STREQ(L"video 2", s->Input(1)->name);
  EXPECT_STREQ(L"Видео с правой камеры стерео видеосистемы", s->Input(1)->description);
  EXPECT_EQ(kBeSignalScanSector, s->Output(0)->type);
  EXPECT_STREQ(L"scan sector", s->Output(0)->name);
  EXPECT_STREQ(L"Результат сканирования видимой с камер зоны", s->Output(0)->description);

  const ScanSectorModel& m = s->model;
  EXPECT_EQ(0.7853982f, m.viewAngle);
  EXPECT_EQ(0.125f, m.zMin);
  EXPECT_EQ(3.0f, m.zMax);
  EXPECT_EQ(0.0625f, m.D);
  ASSERT_EQ(1, m.sliceCount);
  EXPECT_EQ(-0.3f, m.slices[0].yMin);
  EXPECT_EQ(0.6f, m.slices[0].yMax);
  // Nothing seen yet: every column at zMax.
  for (float column : m.slices[0].columns) EXPECT_EQ(3.0f, column);
}

TEST(ScanSector, StartPublishesTheModelUnderTheTagAndStepLeavesItAlone) {
  blocktest::Bench bench;
  blocktest::PayloadScope payloads;
  ASSERT_TRUE(bench.library.Offer(kBeScanSectorClassId, kCaption));
  auto* s = bench.Create<CBEScanSector>(kBeScanSectorClassId);
  ASSERT_NE(nullptr, s);
  s->Output(0)->value[0] = 9;
  bench.Start();
  std::vector<uint8_t> v = blocktest::ValueBytes(s);
  EXPECT_EQ(0, v[0]);
  EXPECT_EQ(0x1E, v[1]);
  EXPECT_EQ(0x33, v[2]);
  EXPECT_EQ(0, v[3]);
  EXPECT_EQ(&s->model, BeResolvePayload(s->Output(0)->value));
  // A producer of scans fills the columns and advances the counter; the
  // block's step changes neither.
  s->model.slices[0].columns[7] = 1.5f;
  s->Output(0)->value[0] = 4;
  bench.Passes(3);
  EXPECT_EQ(4, s->Output(0)->value[0]);
  EXPECT_EQ(1.5f, s->model.slices[0].columns[7]);
  // After a stop the old handle is stale; the next start names the model
  // again, and the columns stayed.
  BePayloadHandle first = BeGetPayloadHandle(s->Output(0)->value);
  bench.Stop();
  EXPECT_EQ(nullptr, BePayloadTable::Program().Resolve(first));
  bench.Start();
  EXPECT_EQ(&s->model, BeResolvePayload(s->Output(0)->value));
  EXPECT_EQ(1.5f, s->model.slices[0].columns[7]);
}

TEST(ScanSector, DeletingTheBlockMakesItsValueStale) {
  blocktest::PayloadScope payloads;
  std::unique_ptr<CBEScanSector> s = NewSector();
  ASSERT_NE(nullptr, s);
  s->Start();
  unsigned char value[8];
  memcpy(value, s->Output(0)->value, 8);
  ASSERT_NE(nullptr, BeResolvePayload(value));
  s.reset();
  EXPECT_EQ(nullptr, BeResolvePayload(value));
}

TEST(ScanSector, SetSliceCountKeepsOldSlicesAndClearsNewOnes) {
  ScanSectorModel m;
  m.zMax = 4.0f;
  ASSERT_TRUE(m.SetSliceCount(2));
  m.slices[0].columns[3] = 1.0f;
  m.slices[1].yMax = 0.5f;
  ASSERT_TRUE(m.SetSliceCount(3));
  EXPECT_EQ(1.0f, m.slices[0].columns[3]);
  EXPECT_EQ(0.5f, m.slices[1].yMax);
  EXPECT_EQ(0.0f, m.slices[2].yMin);
  EXPECT_EQ(0.0f, m.slices[2].yMax);
  for (float column : m.slices[2].columns) EXPECT_EQ(4.0f, column);
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(m.SetSliceCount(50));
  }
  EXPECT_EQ(3, m.sliceCount);
  EXPECT_EQ(1.0f, m.slices[0].columns[3]);
  EXPECT_FALSE(m.SetSliceCount(-1));
  EXPECT_FALSE(m.SetSliceCount(kScanMaxSlices + 1));
  ASSERT_TRUE(m.SetSliceCount(0));
  EXPECT_EQ(nullptr, m.slices);
  EXPECT_EQ(0, m.sliceCount);
}

TEST(ScanSector, RecordIsTheBaseThenTheGeometryAndTheSliceBands) {
  std::unique_ptr<CBEScanSector> s = NewSector();
  ASSERT_NE(nullptr, s);
  std::vector<uint8_t> record = blocktest::RecordBytes(s.get());
  auto golden = Golden()
                    .Base(BaseRecord::Unlinked(s->rect, 2, 1))
                    .F(0.0625f)
                    .F(0.125f)
                    .F(3.0f)
                    .F(0.7853982f)
                    .I16(1)
                    .F(-0.3f)
                    .F(0.6f)
                    .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(record, golden));
  blocktest::ExpectTruncationsRefused<CBEScanSector>(kBeScanSectorClassId, record);
}

TEST(ScanSector, LoadTakesTheGeometryAndResizesTheSlices) {
  std::unique_ptr<CBEScanSector> s = NewSector();
  ASSERT_NE(nullptr, s);
  s->model.slices[0].columns[0] = 2.0f;
  RECT r = s->rect;
  auto three = Golden()
                   .Base(BaseRecord::Unlinked(r, 2, 1))
                   .F(0.1f)
                   .F(0.2f)
                   .F(6.0f)
                   .F(1.0f)
                   .I16(3)
                   .F(-1.0f)
                   .F(0.0f)
                   .F(0.0f)
                   .F(1.0f)
                   .F(1.0f)
                   .F(2.0f)
                   .Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(s.get(), three));
  const ScanSectorModel& m = s->model;
  EXPECT_EQ(0.1f, m.D);
  EXPECT_EQ(0.2f, m.zMin);
  EXPECT_EQ(6.0f, m.zMax);
  EXPECT_EQ(1.0f, m.viewAngle);
  ASSERT_EQ(3, m.sliceCount);
  EXPECT_EQ(-1.0f, m.slices[0].yMin);
  EXPECT_EQ(0.0f, m.slices[0].yMax);
  EXPECT_EQ(1.0f, m.slices[2].yMin);
  EXPECT_EQ(2.0f, m.slices[2].yMax);
  // The slice kept keeps its columns; the new ones see nothing (the loaded zMax).
  EXPECT_EQ(2.0f, m.slices[0].columns[0]);
  for (float column : m.slices[1].columns) EXPECT_EQ(6.0f, column);
  EXPECT_TRUE(velktest::BytesEqual(three, blocktest::RecordBytes(s.get())));

  // A record with no slices loads with none.
  auto none = Golden().Base(BaseRecord::Unlinked(r, 2, 1)).F(0.1f).F(0.2f).F(6.0f).F(1.0f).I16(0).Bytes();
  ASSERT_TRUE(blocktest::LoadBytes(s.get(), none));
  EXPECT_EQ(0, s->model.sliceCount);
  EXPECT_EQ(nullptr, s->model.slices);
}

TEST(ScanSector, RefusedMemoryLeavesTheBlockAsItWas) {
  std::unique_ptr<CBEScanSector> s = NewSector();
  ASSERT_NE(nullptr, s);
  auto three = Golden().Base(BaseRecord::Unlinked(s->rect, 2, 1)).F(0.1f).F(0.2f).F(6.0f).F(1.0f).I16(3)
                   .F(0).F(0).F(0).F(0).F(0).F(0).Bytes();
  std::vector<uint8_t> before = blocktest::RecordBytes(s.get());
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(blocktest::LoadBytes(s.get(), three));
  }
  EXPECT_TRUE(velktest::BytesEqual(before, blocktest::RecordBytes(s.get())));
}

TEST(ScanSector, DrawsAGreyRaisedFrameWithItsPictureInTheMiddle) {
  std::unique_ptr<CBEScanSector> s = NewSector();
  ASSERT_NE(nullptr, s);
  blocktest::Canvas canvas(200, 80);
  EXPECT_TRUE(canvas.Draw(s.get(), 10, 10));
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), canvas.At(189, 69));  // shadow edge
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), canvas.At(20, 40));   // fill
  // The 48 x 48 picture centred at (100, 40): its left 66 .. 113 spans
  // the cameras' dark bar on its row 42 (x 12 .. 35 of the picture).
  EXPECT_EQ(RGB(0, 0, 0), canvas.At(76 + 12, 16 + 41));
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), canvas.At(76 + 1, 16 + 46));
  EXPECT_GT(canvas.Count(76, 16, 123, 63, RGB(30, 70, 200)), 20);
  canvas.Save(L"library_scan_sector.bmp");
}

TEST(ScanSector, PropertiesOpenTheDialogRegisteredForTheClass) {
  std::unique_ptr<CBEScanSector> b = NewSector();
  ASSERT_NE(nullptr, b);
  blocktest::DialogScope dialogs;
  EXPECT_FALSE(b->ShowProperties());
  static CBEBlock* shown;
  shown = nullptr;
  dialogs.Set(kBeScanSectorClassId, [](CBEBlock* block) {
    shown = block;
    return true;
  });
  EXPECT_TRUE(b->ShowProperties());
  EXPECT_EQ(b.get(), shown);
}

}  // namespace
