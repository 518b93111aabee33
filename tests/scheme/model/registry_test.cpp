#include "scheme/model/class_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/memory_stream.h"
#include "scheme/model/scheme_host.h"
#include "scheme/model/block.h"
#include "scheme/model/live_counts.h"
#include "scheme/model/scheme.h"
#include "support/test_support.h"

namespace {

class Prefixed : public CSCHBlock {
public:
  Prefixed() { namePrefix = L"R"; }
};
class Plain : public CSCHBlock {};

int g_made = 0;
CSCHBlock* NewPrefixed() { return new Prefixed; }
CSCHBlock* NewPlain() { return new Plain; }
CSCHBlock* NewCounted() {
  g_made++;
  return new Plain;
}

// The program-wide registry is emptied around every test.
class ClassRegistry : public ::testing::Test {
protected:
  void SetUp() override { g_schClassRegistry.Clear(); }
  void TearDown() override { g_schClassRegistry.Clear(); }
};

TEST_F(ClassRegistry, ComponentClassesInRegistrationOrder) {
  const char* expected[kSchComponentClassCount] = {
      "DCMotor",       "T_GIDRO",        "5_GIDRO",   "GND",       "PCB",          "USB-COM",
      "PULT",          "PultComputer",   "MPW",       "MiniFit",   "PLS",          "PLS2",
      "Battery",       "Button",         "AVR",       "L6203",     "L6205",        "FDD03",
      "Multimeter",    "MAX232",         "BOARD_COMPUTER", "POWER_SUPPLY", "Router", "PoE",
      "Injector",      "Quartz",         "Capacitor", "WF",        "CWF",          "Connector2",
      "Camera",        "Encoder",        "potentiometric", "LimitSwitcher", "StdLogic", "NavReceiver",
      "Resister",      "InertialSystem", "Relay",     "BiTransistor", "Antenna",   "CMOSTransistor",
      "servo",         "URM04",          "URM37",     "SRF-05",    "SEN136B5B",    "MiniUSB",
      "HardDrive",     "diod",           "MAX485",    "FT232RL",   "Mic",          "ICE",
      "ACTUATOR"};
  RegisterComponentClasses();
  ASSERT_EQ(g_schClassRegistry.Count(), 55);
  EXPECT_EQ(g_schClassRegistry.capacity, 64);  // grown in steps of 16
  for (int i = 0; i < 55; i++) {
    EXPECT_STREQ(g_schClassRegistry.Row(i).name, expected[i]) << "row " << i + 1;
    // Each name finds its own row: names are unique.
    EXPECT_EQ(g_schClassRegistry.Find(expected[i]), &g_schClassRegistry.Row(i));
  }
}

TEST_F(ClassRegistry, LookupIsExactAndCaseSensitive) {
  RegisterComponentClasses();
  const struct {
    const char* name;
    int row;  // 0-based, -1 for none
  } cases[] = {
      {"Resister", 36}, {"resister", -1}, {"RESISTER", -1}, {"Resiste", -1}, {"Resister ", -1},
      {"diod", 49},     {"Diod", -1},     {"", -1},         {"SRF-05", 45}, {"GND", 3},
  };
  for (const auto& c : cases) {
    const SchClassRow* row = g_schClassRegistry.Find(c.name);
    if (c.row < 0)
      EXPECT_EQ(row, nullptr) << c.name;
    else
      EXPECT_EQ(row, &g_schClassRegistry.Row(c.row)) << c.name;
  }
  EXPECT_EQ(g_schClassRegistry.Find(nullptr), nullptr);
}

TEST_F(ClassRegistry, ClassWithoutCreatorFailsLikeAnUnknownName) {
  RegisterComponentClasses();
  SchScheme s;
  SchLiveCounts before = g_schLiveCounts;
  for (int i = 0; i < g_schClassRegistry.Count(); i++) {
    if (g_schClassRegistry.Row(i).creator) continue;
    EXPECT_EQ(s.CreateBlock(g_schClassRegistry.Row(i).name), nullptr) << g_schClassRegistry.Row(i).name;
  }
  EXPECT_EQ(s.CreateBlock("resister"), nullptr);
  EXPECT_EQ(s.blocks, nullptr);
  EXPECT_EQ(g_schLiveCounts.blocks, before.blocks);

  // A stream naming such a class is refused with the unknown-class message.
  CMemoryStream m;
  m.Write("SPH1\xd0\0\0\0\x01\0\0\0Resister", 21);
  m.WriteByte(0);
  for (int i = 0; i < 60; i++) m.WriteByte(0);
  m.Seek(0, 0);
  velktest::DialogAnswerer answerer(IDOK);
  EXPECT_FALSE(s.Read(&m, 0));
  ASSERT_EQ(answerer.Count(), 1);
  EXPECT_EQ(answerer.Texts()[0], L"Класс блока Resister не зарегистрирован! Последний удачный класс .");
  EXPECT_EQ(g_schLiveCounts.blocks, before.blocks);

  // The message goes through the program's host: one that keeps it shows no box.
  class KeepingHost : public CSchemeHost {
  public:
    void ShowReadError(const wchar_t* text) override { texts.push_back(text); }
    std::vector<std::wstring> texts;
  } host;
  CSchemeHostScope withHost(&host);
  m.Seek(0, 0);
  EXPECT_FALSE(s.Read(&m, 0));
  EXPECT_EQ(answerer.Count(), 1);
  ASSERT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(host.texts[0], L"Класс блока Resister не зарегистрирован! Последний удачный класс .");
}

TEST_F(ClassRegistry, SetCreatorGivesATableRowItsClass) {
  RegisterComponentClasses();
  EXPECT_TRUE(g_schClassRegistry.SetCreator("diod", NewPlain));
  EXPECT_FALSE(g_schClassRegistry.SetCreator("Diode", NewPlain));
  SchScheme s;
  CSCHBlock* b = s.CreateBlock("diod");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->className, g_schClassRegistry.Row(49).name);  // the row's own string
  EXPECT_EQ(g_schClassRegistry.Count(), 55);
}

TEST_F(ClassRegistry, EmptyRegistryCreatesNothing) {
  SchScheme s;
  SchLiveCounts before = g_schLiveCounts;
  EXPECT_EQ(s.CreateBlock("Resister"), nullptr);
  EXPECT_EQ(s.CreateBlock(nullptr), nullptr);
  EXPECT_EQ(s.blocks, nullptr);
  EXPECT_EQ(g_schLiveCounts.blocks, before.blocks);
}

TEST_F(ClassRegistry, FirstMatchingRowWinsAndRowsGrowInSixteens) {
  for (int i = 0; i < 16; i++) ASSERT_TRUE(g_schClassRegistry.Add("Filler", NewPlain));
  EXPECT_EQ(g_schClassRegistry.capacity, 16);
  ASSERT_TRUE(g_schClassRegistry.Add("Twice", NewCounted));
  ASSERT_TRUE(g_schClassRegistry.Add("Twice", NewPrefixed));
  EXPECT_EQ(g_schClassRegistry.capacity, 32);
  EXPECT_EQ(g_schClassRegistry.Count(), 18);
  SchScheme s;
  g_made = 0;
  CSCHBlock* b = s.CreateBlock("Twice");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(g_made, 1);
  EXPECT_EQ(b->className, g_schClassRegistry.Row(16).name);
}

TEST_F(ClassRegistry, CreateBlockAttachesPlacesAndNames) {
  static const char kName[] = "Resister";  // one string the rows and blocks share
  ASSERT_TRUE(g_schClassRegistry.Add(kName, NewPrefixed));
  ASSERT_TRUE(g_schClassRegistry.Add("Plain", NewPlain));
  SchScheme s;
  char asked[] = "Resister";  // a different string with the same bytes
  CSCHBlock* r1 = s.CreateBlock(asked);
  ASSERT_NE(r1, nullptr);
  EXPECT_EQ(s.blocks, r1);
  EXPECT_EQ(r1->scheme, &s);
  EXPECT_EQ(r1->className, kName);
  EXPECT_STREQ(r1->instanceName, L"R1");
  EXPECT_EQ(r1->rect.left, 100);
  EXPECT_EQ(r1->rect.top, 50);
  EXPECT_EQ(r1->rect.right, 180);
  EXPECT_EQ(r1->rect.bottom, 150);

  CSCHBlock* r2 = s.CreateBlock("Resister");
  ASSERT_NE(r2, nullptr);
  EXPECT_EQ(s.blocks, r2);
  EXPECT_EQ(r2->next, r1);
  EXPECT_EQ(r2->className, r1->className);  // shared, never copied
  EXPECT_STREQ(r2->instanceName, L"R2");
  EXPECT_EQ(r2->rect.top, 150 + 60);

  CSCHBlock* p = s.CreateBlock("Plain");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->instanceName, nullptr);  // no prefix, no designator
  delete r1;  // freeing a block leaves the shared name alone
  EXPECT_STREQ(r2->className, "Resister");
  EXPECT_STREQ(g_schClassRegistry.Row(0).name, "Resister");
}

}  // namespace
