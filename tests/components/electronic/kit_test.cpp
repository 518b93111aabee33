// The component test kit itself: what it builds, and that it puts back the
// program-wide state it changes.
#include "component_kit.h"

#include <gtest/gtest.h>

#include "components/electronic/resister.h"
#include "support/test_support.h"

namespace {

TEST(ComponentKit, RegistryScopePutsTheRowsBack) {
  std::vector<SchClassRow> before;
  for (int i = 0; i < g_schClassRegistry.Count(); i++) before.push_back(g_schClassRegistry.Row(i));
  {
    comptest::RegistryScope scope;
    EXPECT_EQ(g_schClassRegistry.Count(), kSchComponentClassCount);
    EXPECT_EQ(g_schClassRegistry.Find("Resister")->creator, CreateCSCHResister);
  }
  ASSERT_EQ(g_schClassRegistry.Count(), static_cast<int>(before.size()));
  for (size_t i = 0; i < before.size(); i++) {
    EXPECT_EQ(g_schClassRegistry.Row(static_cast<int>(i)).name, before[i].name);
    EXPECT_EQ(g_schClassRegistry.Row(static_cast<int>(i)).creator, before[i].creator);
  }
}

TEST(ComponentKit, RegistrationNeedsTheRows) {
  comptest::RegistryScope scope;
  g_schClassRegistry.Clear();
  EXPECT_FALSE(RegisterElectronicComponentCreators());
  RegisterComponentClasses();
  EXPECT_TRUE(RegisterElectronicComponentCreators());
}

TEST(ComponentKit, LogCaptureCutsTheLogBack) {
  int before = SimMessageLog::Global().GetCount();
  {
    comptest::LogCapture log;
    SimMessageLog::Global().AppendText(L"один");
    SimMessageLog::Global().AppendText(L"два");
    EXPECT_EQ(log.Count(), 2);
    EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{L"один", L"два"}));
  }
  EXPECT_EQ(SimMessageLog::Global().GetCount(), before);
}

TEST(ComponentKit, DbRowHoldsTheCellsByKey) {
  comptest::DbRow row(L"parts", {{"model", "X-1"}, {"R", "4.7"}, {"units", "1"}});
  CompDbRecord* r = row.Record();
  ASSERT_NE(r, nullptr);
  EXPECT_STREQ(r->GetTextByName("model"), "X-1");
  EXPECT_EQ(r->GetFloatByName("R"), 4.7f);
  EXPECT_EQ(r->GetIntByName("units"), 1);
  EXPECT_EQ(r->GetIntByName("missing"), 0);
  EXPECT_STREQ(row.table.GetName(), L"parts");
}

TEST(ComponentKit, GoldenBytesAreLittleEndian) {
  EXPECT_TRUE(velktest::BytesEqual(comptest::Golden().F(1.0f).I(-2).B(7).Bytes(),
                                   velktest::ParseHex("00 00 80 3F  FE FF FF FF  07")));
}

TEST(ComponentKit, BenchSourcesDriveTheirNets) {
  comptest::Bench bench;
  circuit::Part* a = bench.Source(5, 100);
  circuit::Part* b = bench.Ground();
  bench.Wire(a, 0, b, 0);
  bench.Run(1);
  float R = 0;
  EXPECT_NEAR(comptest::Bench::Read(b, 0, &R), 5.0f, 1e-5f);
  EXPECT_NEAR(R, 100.0f, 1e-3f);
  bench.Stop();
}

TEST(ComponentKit, EditHostIsRemovedWithIt) {
  CSchemeHost* before = GetSchemeHost();
  {
    comptest::EditHost host;
    EXPECT_EQ(GetSchemeHost(), &host);
  }
  EXPECT_EQ(GetSchemeHost(), before);
}

}  // namespace
