// The six coordinate converters as blocks: their catalogue entries, pins,
// costs, drawing and records, each step against values worked out
// independently, unlinked inputs, and the tangent plane both ways.
#include <cmath>
#include <memory>

#include "block_kit.h"
#include "blocks/library/geodesy/geodesy.h"
#include "blocks/library/geodesy/nav_controller.h"
#include "blocks/library/geodesy/plane_to_xyz.h"
#include "blocks/library/geodesy/pz90_to_xyz.h"
#include "blocks/library/geodesy/wgs84_to_xyz.h"
#include "blocks/library/geodesy/xyz_to_plane.h"
#include "blocks/library/geodesy/xyz_to_pz90.h"
#include "blocks/library/geodesy/xyz_to_wgs84.h"

namespace {

using blocktest::Bench;
using blocktest::Costs;
using blocktest::CostsOf;
using blocktest::ReadDouble;

const double kPi = 3.14159265358979323846;
double Rad(double degrees) { return degrees * kPi / 180; }

template <class T>
bool Is(CBEBlock* block) {
  return dynamic_cast<T*>(block) != nullptr;
}

struct ClassRow {
  unsigned int classId;
  const wchar_t* caption;
  const wchar_t* bitmap;
  bool (*isClass)(CBEBlock*);
  int width, height;
  Costs costs;
  const wchar_t* text;
  const wchar_t* inputs[6];
  const wchar_t* outputs[3];
  const wchar_t* firstInputDescription;
  const wchar_t* firstOutputDescription;
};
const ClassRow kClasses[] = {
    {kBeWGS84toXYZClassId, L"WGS-84 в геоцентричекие XYZ", L"wgs2xyz.bmp", Is<CBEWGS84toXYZ>, 180, 60,
     Costs(18670, 4124, 0, true), L"WGS-84 -> XYZ", {L"Шир", L"Дол", L"Выс"}, {L"x", L"y", L"z"},
     L"Широта в WGS-84 [рад]", L"Геоцентрическая координата X [м]"},
    {kBePZ90toXYZClassId, L"ПЗ-90.02 в геоцентричекие XYZ", L"pz2xyz.bmp", Is<CBEPZ90toXYZ>, 180, 60,
     Costs(18670, 4124, 0, true), L"ПЗ90 -> XYZ", {L"Шир", L"Дол", L"Выс"}, {L"x", L"y", L"z"},
     L"Широта в ПЗ-90.02 [рад]", L"Геоцентрическая координата X [м]"},
    {kBeXYZtoWGS84ClassId, L"Геоцентричекие XYZ в WGS-84", L"xyz2wgs.bmp", Is<CBEXYZtoWGS84>, 180, 60,
     Costs(118670, 8124, 0, true), L"XYZ -> WGS84", {L"x", L"y", L"z"}, {L"Шир", L"Дол", L"Выс"},
     L"Геоцентрическая координата X [м]", L"Широта в WGS-84 [рад]"},
    {kBeXYZtoPZ90ClassId, L"Геоцентричекие XYZ в ПЗ-90.02", L"xyz2pz.bmp", Is<CBEXYZtoPZ90>, 180, 60,
     Costs(118670, 8124, 0, true), L"XYZ -> ПЗ90", {L"x", L"y", L"z"}, {L"Шир", L"Дол", L"Выс"},
     L"Геоцентрическая координата X [м]", L"Широта в ПЗ-90.02 [рад]"},
    {kBeXYZtoPlaneClassId, L"Геоцентричекие XYZ в XYH на базовой плоскости", L"xyz2plane.bmp",
     Is<CBEXYZtoPlane>, 180, 110, Costs(6530, 1540, 0, false), L"Геоцентр. XYZ\nв\nXYH на плоскости",
     {L"x", L"y", L"z", L"baseX", L"baseY", L"baseZ"}, {L"X", L"Y", L"H"},
     L"Геоцентрическая координата X переводимой точки [м]", L"Плоская координата X, направление на восток [м]"},
    {kBePlaneToXYZClassId, L"XYH на базовой плоскости в геоцентричекие XYZ", L"plane2xyz.bmp",
     Is<CBEPlaneToXYZ>, 180, 110, Costs(6530, 1540, 0, false), L"XYH на плоскости\nв\nгеоцентр. XYZ",
     {L"X", L"Y", L"H", L"baseX", L"baseY", L"baseZ"}, {L"x", L"y", L"z"},
     L"Плоская координата X, направление на восток [м]", L"Геоцентрическая координата X переводимой точки [м]"},
};

TEST(CoordinateBlocks, TheNavigationGroupOffersTheDriverThenTheConverters) {
  blocktest::LibraryCatalogue library;
  const BeCatalogueGroup* group = library.Group(L"Навигация");
  ASSERT_NE(nullptr, group);
  ASSERT_GE(group->entryCount, 7);
  const BeCatalogueEntry* first = group->Entry(0);
  EXPECT_EQ(kBeNavControllerClassId, first->classId);
  EXPECT_STREQ(L"Драйвер навигационного приемника", first->caption);
  EXPECT_STREQ(L"navdrv.bmp", first->bitmap);
  std::unique_ptr<CBEBlock> driver(first->creator());
  EXPECT_TRUE(Is<CBENavController>(driver.get()));
  for (int i = 0; i < 6; ++i) {
    const ClassRow& row = kClasses[i];
    const BeCatalogueEntry* entry = group->Entry(i + 1);
    EXPECT_EQ(row.classId, entry->classId) << i;
    EXPECT_STREQ(row.caption, entry->caption) << i;
    EXPECT_STREQ(row.bitmap, entry->bitmap) << i;
    std::unique_ptr<CBEBlock> block(entry->creator());
    EXPECT_TRUE(row.isClass(block.get())) << i;
  }
}

TEST(CoordinateBlocks, PinsSizesCostsAndDrawing) {
  Bench bench;
  for (const ClassRow& row : kClasses) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    CBEBlock* block = bench.scheme.CreateBlock(row.classId);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(row.costs, CostsOf(block));
    EXPECT_EQ(RGB(255, 255, 255), block->fillColor);
    const int inputs = row.height == 110 ? 6 : 3;
    ASSERT_EQ(inputs, block->inputCount);
    ASSERT_EQ(3, block->outputCount);
    for (int i = 0; i < inputs; ++i) {
      EXPECT_EQ(kBeSignalDouble, block->inputs[i]->type);
      EXPECT_STREQ(row.inputs[i], block->inputs[i]->name) << i;
    }
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(kBeSignalDouble, block->outputs[i]->type);
      EXPECT_STREQ(row.outputs[i], block->outputs[i]->name) << i;
    }
    EXPECT_STREQ(row.firstInputDescription, block->inputs[0]->description);
    EXPECT_STREQ(row.firstOutputDescription, block->outputs[0]->description);
    if (inputs == 6) {
      const int in[6] = {10, 25, 40, 70, 85, 100};
      for (int i = 0; i < 6; ++i) EXPECT_EQ(in[i], block->inputs[i]->yOffset) << i;
      for (int i = 0; i < 3; ++i) EXPECT_EQ(in[i], block->outputs[i]->yOffset) << i;
      EXPECT_STREQ(L"Геоцентрическая координата Z начала координат базовой плоскости [м]",
                   block->inputs[5]->description);
    } else {
      // Spread over the height, as every new block's pins are.
      CBEBlock plain;
      plain.rect = block->rect;
      ASSERT_TRUE(plain.SetInputCount(3));
      for (int i = 0; i < 3; ++i) EXPECT_EQ(plain.inputs[i]->yOffset, block->inputs[i]->yOffset) << i;
    }
    EXPECT_TRUE(blocktest::DrawsCaption(block, row.text));
  }
  blocktest::Canvas canvas(420, 240);
  canvas.Paint(bench.scheme.CreateBlock(kBeXYZtoPlaneClassId), 10, 10);
  canvas.Paint(bench.scheme.CreateBlock(kBeWGS84toXYZClassId), 220, 10);
  canvas.Paint(bench.scheme.CreateBlock(kBeNavControllerClassId), 220, 80);
  canvas.Save(L"library_coordinate_converters.bmp");
}

TEST(CoordinateBlocks, TheRecordIsTheBaseRecordAlone) {
  for (const ClassRow& row : kClasses) {
    SCOPED_TRACE(testing::Message() << std::hex << row.classId);
    Bench bench;
    CBEBlock* block = bench.scheme.CreateBlock(row.classId);
    ASSERT_NE(nullptr, block);
    block->MoveTo(30, 40);
    std::vector<uint8_t> record = blocktest::RecordBytes(block);
    auto golden = blocktest::Golden()
                      .Base(blocktest::BaseRecord::Unlinked(block->rect, block->inputCount, 3))
                      .Bytes();
    EXPECT_TRUE(velktest::BytesEqual(golden, record));
    blocktest::ExpectTruncationsRefused<CBEBlock>(row.classId, record);
  }
}

// Sources of double values for the inputs of a block.
struct Wired {
  Bench bench;
  CBEBlock* block = nullptr;
  blocktest::Source* in[6] = {};
  explicit Wired(unsigned int classId) {
    block = bench.scheme.CreateBlock(classId);
    for (int i = 0; block && i < block->inputCount; ++i) {
      in[i] = bench.Source(kBeSignalDouble);
      bench.Link(in[i], block, i);
    }
  }
  void Set(std::initializer_list<double> values) {
    int i = 0;
    for (double v : values) in[i++]->SetDouble(v);
  }
  void Check(double x, double y, double z, double tolerance) {
    bench.Pass();
    EXPECT_NEAR(x, ReadDouble(block, 0), tolerance);
    EXPECT_NEAR(y, ReadDouble(block, 1), tolerance);
    EXPECT_NEAR(z, ReadDouble(block, 2), tolerance);
  }
};

TEST(CoordinateBlocks, TheGeodeticBlocksConvertTheirInputsInPinOrder) {
  // Moscow at 200 m, worked out at 40 digits on each ellipsoid.
  Wired wgs(kBeWGS84toXYZClassId);
  wgs.Set({Rad(55.75), Rad(37.6), 200});
  wgs.Check(2850655.9004476167582, 2195300.5774997572547, 5248992.1874512549311, 1e-6);
  Wired pz(kBePZ90toXYZClassId);
  pz.Set({Rad(55.75), Rad(37.6), 200});
  pz.Check(2850677.434980723285, 2195317.1613227846228, 5248913.1091615810877, 1e-6);

  Wired back(kBeXYZtoWGS84ClassId);
  back.Set({2850655.9004476167582, 2195300.5774997572547, 5248992.1874512549311});
  back.bench.Pass();
  EXPECT_NEAR(Rad(55.75), ReadDouble(back.block, 0), Rad(1e-5));
  EXPECT_DOUBLE_EQ(Rad(37.6), ReadDouble(back.block, 1));
  EXPECT_NEAR(199.6, ReadDouble(back.block, 2), 0.3);
  // 10 km over the Andes, back from ПЗ-90.02.
  Wired high(kBeXYZtoPZ90ClassId);
  BeGeoVector p = Pz90ToGeocentric(Rad(10), Rad(-70), 10000);
  high.Set({p.x, p.y, p.z});
  high.Check(Rad(10), Rad(-70), 10000, 1e-6);
}

TEST(CoordinateBlocks, UnlinkedInputsReadZero) {
  Bench bench;
  CBEBlock* toXyz = bench.scheme.CreateBlock(kBeWGS84toXYZClassId);
  CBEBlock* toWgs = bench.scheme.CreateBlock(kBeXYZtoWGS84ClassId);
  CBEBlock* toPlane = bench.scheme.CreateBlock(kBeXYZtoPlaneClassId);
  CBEBlock* fromPlane = bench.scheme.CreateBlock(kBePlaneToXYZClassId);
  bench.Pass();
  EXPECT_EQ(kBeWgs84A, ReadDouble(toXyz, 0));
  EXPECT_EQ(0.0, ReadDouble(toXyz, 1));
  EXPECT_EQ(0.0, ReadDouble(toXyz, 2));
  // The centre of the Earth: longitude 0, near the north pole, minus b.
  EXPECT_EQ(0.0, ReadDouble(toWgs, 1));
  EXPECT_NEAR(kPi / 2, ReadDouble(toWgs, 0), 3e-5);
  EXPECT_NEAR(-6356752.3, ReadDouble(toWgs, 2), 1.0);
  for (CBEBlock* plane : {toPlane, fromPlane})
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0.0, ReadDouble(plane, i));
}

TEST(CoordinateBlocks, TheTangentPlaneAtASimpleBasePoint) {
  Wired to(kBePlaneToXYZClassId);
  to.Set({10, 20, 0, kBeWgs84A, 0, 0});
  to.Check(kBeWgs84A, 10, 20, 1e-9);
  Wired from(kBeXYZtoPlaneClassId);
  from.Set({kBeWgs84A, 10, 20, kBeWgs84A, 0, 0});
  from.Check(10, 20, 0, 1e-9);
  // An all-zero base point: (H, X, Y) and (y, z, x).
  to.Set({1, 2, 3, 0, 0, 0});
  to.Check(3, 1, 2, 0);
  from.Set({1, 2, 3, 0, 0, 0});
  from.Check(2, 3, 1, 0);
}

TEST(CoordinateBlocks, TheTangentPlaneBothWaysAtSeveralBasePoints) {
  // A plane point (X east, Y north, H up) lies at (R + H)·up + X·east +
  // Y·north of the sphere's frame at the base point.
  const double bases[][3] = {
      {2860955.53, 2193805.89, 5243971.75}, {-4643982.39, 2553050.93, -3537273.24}, {1207340.6, 439436.1, 7244276.8}};
  const double points[][3] = {{100, 200, 5}, {-2500, 1200, -30}, {0, 0, 400000}};
  for (const auto& b : bases) {
    const double R = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
    const double lon = std::atan2(b[1], b[0]), lat = std::atan2(b[2], std::hypot(b[0], b[1]));
    const double east[3] = {-std::sin(lon), std::cos(lon), 0};
    const double north[3] = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    for (const auto& q : points) {
      double expected[3];
      for (int i = 0; i < 3; ++i) expected[i] = (R + q[2]) * b[i] / R + q[0] * east[i] + q[1] * north[i];
      Wired to(kBePlaneToXYZClassId);
      to.Set({q[0], q[1], q[2], b[0], b[1], b[2]});
      to.Check(expected[0], expected[1], expected[2], 1e-6 * R);
      Wired from(kBeXYZtoPlaneClassId);
      from.Set({expected[0], expected[1], expected[2], b[0], b[1], b[2]});
      from.Check(q[0], q[1], q[2], 1e-6);
    }
  }
}

}  // namespace
