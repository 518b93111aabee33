// The capacitor and the quartz crystal: creation, database rows, value
// labels, the electrolytic can table, records in both voltage layouts,
// symbols, footprints and the component card of their Edit.
#include "components/electronic/discrete/capacitor.h"
#include "components/electronic/discrete/quartz.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "component_kit.h"
#include "discrete_kit.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::DbRow;
using comptest::Golden;

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

TEST(Capacitor, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* c = bench.Create<CCapacitor>("Capacitor");
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->instanceName, L"C1");
  EXPECT_STREQ(c->typeText, L"Конденсатор");
  EXPECT_EQ(c->price, 10.0);
  EXPECT_EQ(c->capacitance, 1.5e-8f);
  EXPECT_EQ(c->ratedVoltage, 6.3f);
  EXPECT_EQ(c->symbolOrientation, 0);
  EXPECT_EQ(c->kind, kElecCapacitorCeramic);
  EXPECT_EQ(c->bodyColor, RGB(85, 102, 255));
  EXPECT_EQ(c->rect.right - c->rect.left, 24);
  EXPECT_EQ(c->rect.bottom - c->rect.top, 24);
  EXPECT_EQ(c->footprintWidth, 3.0f);
  EXPECT_EQ(c->footprintLength, 5.08f);
  ASSERT_EQ(c->pinCount, 2);
  EXPECT_EQ(c->pins[0].side, kSchSideTop);
  EXPECT_EQ(c->pins[1].side, kSchSideBottom);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(c->pins[i].offset, 12);
    EXPECT_EQ(c->pins[i].name, nullptr);
  }
}

TEST(Quartz, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* q = bench.Create<CQuartz>("Quartz");
  ASSERT_NE(q, nullptr);
  EXPECT_STREQ(q->instanceName, L"Q1");
  EXPECT_STREQ(q->typeText, L"Кварцевый резонатор");
  EXPECT_EQ(q->price, 59.0);
  EXPECT_EQ(q->frequency, 16.0f);
  EXPECT_EQ(q->rect.right - q->rect.left, 24);
  EXPECT_EQ(q->rect.bottom - q->rect.top, 32);
  EXPECT_EQ(q->footprintWidth, 4.65f);
  EXPECT_EQ(q->footprintLength, 11.0f);
  ASSERT_EQ(q->pinCount, 2);
  EXPECT_EQ(q->pins[0].side, kSchSideTop);
  EXPECT_EQ(q->pins[1].side, kSchSideBottom);
  EXPECT_EQ(q->pins[0].offset, 12);
  EXPECT_EQ(q->pins[1].offset, 12);
}

TEST(Capacitor, ValueLabels) {
  struct Case {
    float capacitance, voltage;
    int kind;
    const wchar_t* label;
    const wchar_t* value;
  };
  const Case cases[] = {
      {1.5e-8f, 6.3f, kElecCapacitorCeramic, L"15.0нФ", L"15.0нФ"},
      {4.7e-11f, 6.3f, kElecCapacitorCeramic, L"47.0пФ", L"47.0пФ"},
      {1e-4f, 6.3f, kElecCapacitorElectrolytic, L"100.0мкф,6.3в", L"100.0мкф"},
      {1e-4f, 16, kElecCapacitorElectrolytic, L"100.0мкф,16в", L"100.0мкф"},
      {1e-3f, 35.9f, kElecCapacitorElectrolytic, L"1000.0мкф,35в", L"1000.0мкф"},  // volts truncated
      {4.7e-7f, 50, kElecCapacitorElectrolytic, L"0.5мкф,50в", L"0.5мкф"},
      {4.7e-8f, 50, kElecCapacitorElectrolytic, L"47.0нФ", L"47.0нФ"},  // below 1e-7: no voltage
      {1e-4f, 16, kElecCapacitorCeramic, L"100.0мкф", L"100.0мкф"},
      {2.2e-7f, 16, kElecCapacitorChip, L"0.2мкф", L"0.2мкф"},
      {1e-6f, 16, 5, L"1.0мкф", L"1.0мкф"},
  };
  for (const Case& c : cases) {
    wchar_t text[kElecCapacitorLabelChars];
    FormatCapacitorLabel(c.capacitance, c.voltage, c.kind, text, kElecCapacitorLabelChars);
    EXPECT_STREQ(text, c.label) << c.capacitance << " F " << c.voltage << " V";
    FormatCapacitorValue(c.capacitance, text, kElecCapacitorLabelChars);
    EXPECT_STREQ(text, c.value) << c.capacitance << " F";
  }
}

TEST(Capacitor, ElectrolyticDiameterTable) {
  struct Case {
    float capacitance, voltage, clamped, diameter;
  };
  const Case cases[] = {
      {1e-4f, 25, 25, 6.3f},     {1e-4f, 50, 50, 8},       {1e-4f, 500, 400, 22},
      {1e-4f, 16, 16, 5},        {1e-4f, 350, 350, 16},    {1e-4f, 1, 6.3f, 5},
      {4.7e-7f, 16, 50, 5},      {1e-7f, 200, 100, 5},     {1e-9f, 75, 75, 5},
      {1e-6f, 350, 350, 6.3f},   {1e-6f, 351, 351, 8},     {2.2e-6f, 250, 250, 8},
      {2.2e-6f, 251, 251, 10},   {3.3e-6f, 200, 200, 8},   {4.7e-6f, 161, 161, 10},
      {1e-5f, 63, 63, 5},        {1e-5f, 400, 400, 13},    {2.2e-5f, 201, 201, 13},
      {3.3e-5f, 251, 251, 16},   {4.7e-5f, 5, 10, 5},      {2.2e-4f, 6.3f, 6.3f, 6},
      {2.2e-4f, 300, 250, 18},   {3.3e-4f, 6.3f, 6.3f, 6.3f}, {3.3e-4f, 101, 101, 22},
      {4.7e-4f, 10, 10, 8},      {4.7e-4f, 64, 64, 16},    {1e-3f, 6.3f, 6.3f, 8},
      {1e-3f, 63, 63, 16},       {2.2e-3f, 35, 35, 16},    {3.3e-3f, 25, 25, 16},
      {3.3e-3f, 26, 26, 18},     {4.7e-3f, 16, 16, 16},    {6.8e-3f, 11, 11, 18},
      {1e-2f, 6.3f, 6.3f, 16},   {1e-2f, 7, 7, 18},        {1.5e-2f, 1, 6.3f, 18},
      {2.2e-2f, 100, 6.3f, 18},
  };
  for (const Case& c : cases) {
    float U = c.voltage, D = 0;
    ASSERT_TRUE(GetElectrolyticDiameter(c.capacitance, &U, &D)) << c.capacitance;
    EXPECT_EQ(U, c.clamped) << c.capacitance << " F " << c.voltage << " V";
    EXPECT_EQ(D, c.diameter) << c.capacitance << " F " << c.voltage << " V";
  }
  // Values without a row change nothing.
  for (float capacitance : {6.8e-5f, 1.1e-4f, 3e-2f, NAN}) {
    float U = 25, D = -1;
    EXPECT_FALSE(GetElectrolyticDiameter(capacitance, &U, &D)) << capacitance;
    EXPECT_EQ(U, 25.0f);
    EXPECT_EQ(D, -1.0f);
  }
  // A voltage that is no number is taken as the lowest of the row.
  float U = NAN, D = 0;
  EXPECT_TRUE(GetElectrolyticDiameter(1e-4f, &U, &D));
  EXPECT_EQ(U, 6.3f);
  EXPECT_EQ(D, 5.0f);
}

TEST(Capacitor, DatabaseRows) {
  struct Case {
    const char *C, *units, *U, *type, *color;
    float capacitance, voltage;
    int kind;
    COLORREF colour;
    float width, length;
  };
  const COLORREF kBlue = RGB(85, 102, 255);
  const Case cases[] = {
      {"100", "0", "25", "1", "1", 1e-4f, 25, 1, RGB(235, 138, 41), 6.3f, 6.3f},
      {"100", "0", "50", "1", "2", 1e-4f, 50, 1, RGB(150, 151, 119), 8, 8},
      {"100", "0", "500", "1", "3", 1e-4f, 400, 1, RGB(0, 0, 0), 22, 22},
      {"0.47", "0", "16", "1", "0", 4.7e-7f, 50, 1, kBlue, 5, 5},
      {"68", "0", "16", "1", "4", 6.8e-5f, 16, 1, kBlue, 3, 5.08f},  // no row; colour 4 keeps blue
      {"15", "1", "50", "0", "-1", 1.5e-8f, 50, 0, kBlue, 3, 5.08f},
      {"47", "2", "50", "0", "0", 4.7e-11f, 50, 0, kBlue, 3, 5.08f},
      {"2.2", "7", "16", "2", "0", 2.2e-6f, 16, 2, kBlue, 1.2f, 3.2f},  // other units: microfarads
      {"1", "0", "16", "9", "0", 1e-6f, 16, 9, kBlue, 3, 5.08f},       // another kind keeps the size
  };
  for (const Case& c : cases) {
    Bench bench;
    auto* cap = bench.Create<CCapacitor>("Capacitor");
    DbRow row(L"capacitors", {{"model", "K50-35"}, {"C", c.C}, {"units", c.units}, {"U", c.U},
                              {"type", c.type}, {"color", c.color}, {"price", "12.5"}});
    cap->ApplyDbRecord(row.Record());
    SCOPED_TRACE(std::string(c.C) + " units " + c.units + " U " + c.U);
    EXPECT_FLOAT_EQ(cap->capacitance, c.capacitance);
    EXPECT_EQ(cap->ratedVoltage, c.voltage);
    EXPECT_EQ(cap->kind, c.kind);
    EXPECT_EQ(cap->bodyColor, c.colour);
    EXPECT_EQ(cap->footprintWidth, c.width);
    EXPECT_EQ(cap->footprintLength, c.length);
    EXPECT_STREQ(cap->model, "K50-35");
    EXPECT_STREQ(cap->tableName, L"capacitors");
    EXPECT_EQ(cap->price, 12.5);
  }
}

TEST(Capacitor, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"capacitors");
  ASSERT_TRUE(table.loaded);
  ASSERT_GE(table.table.GetRecordCount(), 3);
  auto c = comptest::NewDetached<CCapacitor>("Capacitor");
  ASSERT_TRUE(c);
  int kinds[3] = {0, 0, 0};
  for (int i = 0; i < table.table.GetRecordCount(); i++) {
    c->ApplyDbRecord(table.table.GetRecord(i));
    EXPECT_GT(c->capacitance, 0.0f) << i;
    if (c->kind >= 0 && c->kind < 3) kinds[c->kind]++;
    EXPECT_GT(c->footprintWidth, 0.0f);
  }
  // Every kind has a row.
  for (int k = 0; k < 3; k++) EXPECT_GT(kinds[k], 0) << k;
}

TEST(Capacitor, OrientationTurnsThePins) {
  const int sides[4][2] = {{kSchSideTop, kSchSideBottom}, {kSchSideRight, kSchSideLeft},
                           {kSchSideBottom, kSchSideTop}, {kSchSideLeft, kSchSideRight}};
  for (int o = 0; o < 4; o++) {
    CCapacitor c;
    c.symbolOrientation = o;
    c.UpdateBodySize();
    EXPECT_EQ(c.pins[0].side, sides[o][0]) << o;
    EXPECT_EQ(c.pins[1].side, sides[o][1]) << o;
  }
}

TEST(Capacitor, RecordBeforeTheBaseRecord) {
  Bench bench;
  auto* c = bench.Create<CCapacitor>("Capacitor");
  DbRow row(L"capacitors", {{"model", "K50-35"}, {"C", "100"}, {"units", "0"}, {"U", "25"},
                            {"type", "1"}, {"color", "1"}});
  c->ApplyDbRecord(row.Record());
  c->symbolOrientation = 1;
  std::vector<uint8_t> expected = Golden()
                                      .B(0x81)        // orientation 1, the voltage a float
                                      .F(1e-4f)       // capacitance
                                      .F(25)          // rated voltage
                                      .B(1)           // electrolytic
                                      .I(0x00298AEB)  // RGB(235, 138, 41)
                                      .Bytes();
  EXPECT_TRUE(velktest::BytesEqual(disctest::FieldsBefore(c), expected));
}

TEST(Capacitor, OlderRecordKeepsTheVoltageAsAnInteger) {
  comptest::RegistryScope registry;
  auto source = comptest::NewDetached<CCapacitor>("Capacitor");
  ASSERT_TRUE(source);
  source->SetName(L"C7");
  source->SetModel("K50-35");
  std::vector<uint8_t> bytes = Golden()
                                   .B(0x01)  // orientation 1, bit 7 clear
                                   .F(1e-4f)
                                   .I(16)  // the voltage as a 32-bit integer
                                   .B(1)
                                   .I(0)
                                   .Bytes();
  std::vector<uint8_t> base = disctest::BaseRecord(source.get());
  bytes.insert(bytes.end(), base.begin(), base.end());
  auto c = comptest::NewDetached<CCapacitor>("Capacitor");
  ASSERT_TRUE(c);
  comptest::LoadBytes(c.get(), bytes);
  EXPECT_EQ(c->symbolOrientation, 1);
  EXPECT_EQ(c->capacitance, 1e-4f);
  EXPECT_EQ(c->ratedVoltage, 16.0f);
  EXPECT_EQ(c->kind, kElecCapacitorElectrolytic);
  EXPECT_EQ(c->bodyColor, RGB(0, 0, 0));
  EXPECT_EQ(c->footprintWidth, 5.0f);  // 100 uF at 16 V
  EXPECT_EQ(c->pins[0].side, kSchSideRight);
  EXPECT_STREQ(c->instanceName, L"C7");
  EXPECT_STREQ(c->model, "K50-35");
  // Saved again it takes the new layout.
  c->flags &= ~kSchLoaded;
  std::vector<uint8_t> again = disctest::FieldsBefore(c.get());
  ASSERT_EQ(again.size(), 14u);
  EXPECT_EQ(again[0], 0x81);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(again.begin() + 5, again.begin() + 9),
                                   Golden().F(16).Bytes()));
}

TEST(Capacitor, RecordRoundTripAndEveryTruncation) {
  Bench bench;
  auto* c = bench.Create<CCapacitor>("Capacitor");
  DbRow row(L"capacitors", {{"model", "K50-35"}, {"C", "100"}, {"units", "0"}, {"U", "25"},
                            {"type", "1"}, {"color", "2"}});
  c->ApplyDbRecord(row.Record());
  c->symbolOrientation = 3;
  c->UpdateBodySize();
  std::vector<uint8_t> bytes = comptest::SaveBytes(c);
  auto copy = comptest::NewDetached<CCapacitor>("Capacitor");
  ASSERT_TRUE(copy);
  comptest::LoadBytes(copy.get(), bytes);
  EXPECT_EQ(copy->capacitance, 1e-4f);
  EXPECT_EQ(copy->ratedVoltage, 25.0f);
  EXPECT_EQ(copy->kind, 1);
  EXPECT_EQ(copy->symbolOrientation, 3);
  EXPECT_EQ(copy->bodyColor, RGB(150, 151, 119));
  EXPECT_EQ(copy->footprintWidth, 6.3f);
  EXPECT_EQ(copy->pins[0].side, kSchSideLeft);
  EXPECT_STREQ(copy->instanceName, L"C1");
  copy->flags &= ~kSchLoaded;
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), bytes));

  comptest::ForEachTruncation<CCapacitor>("Capacitor", bytes, [&](CCapacitor* t, size_t n) {
    EXPECT_EQ(t->symbolOrientation, n >= 1 ? 3 : 0);
    // A field cut in the middle keeps the bytes it has.
    if (n >= 5 || n <= 1) {
      EXPECT_EQ(t->capacitance, n >= 5 ? 1e-4f : 0.0f);
    }
    if (n >= 9) {
      EXPECT_EQ(t->ratedVoltage, 25.0f);
    }
    EXPECT_EQ(t->kind, n >= 10 ? 1 : 0);
    if (n >= 14) {
      EXPECT_EQ(t->bodyColor, RGB(150, 151, 119));
    }
    EXPECT_TRUE(std::isfinite(t->footprintWidth));
    EXPECT_TRUE(std::isfinite(t->ratedVoltage));
  });
}

TEST(Quartz, RecordAfterTheBaseRecordAndEveryTruncation) {
  Bench bench;
  auto* q = bench.Create<CQuartz>("Quartz");
  q->frequency = 1.8432f;
  EXPECT_TRUE(velktest::BytesEqual(comptest::FieldsAfter<CSCHBlock>(q), Golden().F(1.8432f).Bytes()));
  std::vector<uint8_t> bytes = comptest::SaveBytes(q);
  comptest::ForEachTruncation<CQuartz>("Quartz", bytes, [&](CQuartz* t, size_t n) {
    if (n == bytes.size()) {
      EXPECT_EQ(t->frequency, 1.8432f);
      EXPECT_STREQ(t->instanceName, L"Q1");
    } else if (n <= bytes.size() - 4) {
      EXPECT_EQ(t->frequency, 0.0f);
    }
  });
  // The base ApplyDbRecord reads no frequency.
  DbRow row(L"quartz", {{"model", "HC-49S 8 MHz"}, {"F", "8"}, {"price", "20"}});
  q->ApplyDbRecord(row.Record());
  EXPECT_EQ(q->frequency, 1.8432f);
  EXPECT_EQ(q->price, 20.0);
}

TEST(Capacitor, SchemeStreamKeepsBothParts) {
  Bench bench;
  auto* c = bench.Create<CCapacitor>("Capacitor");
  c->capacitance = 2.2e-3f;
  c->ratedVoltage = 35;
  c->kind = kElecCapacitorElectrolytic;
  c->UpdateBodySize();
  auto* q = bench.Create<CQuartz>("Quartz");
  q->frequency = 8;
  auto copy = comptest::ReadBack(bench.scheme);
  ASSERT_TRUE(copy);
  ASSERT_EQ(copy->BlockCount(), 2);
  CCapacitor* c2 = nullptr;
  CQuartz* q2 = nullptr;
  for (CSCHBlock* b = copy->blocks; b; b = b->next) {
    if (!c2) c2 = dynamic_cast<CCapacitor*>(b);
    if (!q2) q2 = dynamic_cast<CQuartz*>(b);
  }
  ASSERT_NE(c2, nullptr);
  ASSERT_NE(q2, nullptr);
  EXPECT_EQ(c2->capacitance, 2.2e-3f);
  EXPECT_EQ(c2->footprintWidth, 16.0f);
  EXPECT_EQ(q2->frequency, 8.0f);
  EXPECT_STREQ(q2->className, "Quartz");
}

TEST(Capacitor, NoElectricalModel) {
  // Between a source and ground neither part drives its pins: the source
  // sees the open pins only.
  for (const char* name : {"Capacitor", "Quartz"}) {
    Bench bench;
    CSCHBlock* part = bench.Create<CSCHBlock>(name);
    ASSERT_NE(part, nullptr);
    auto* source = bench.Source(5, 1);
    auto* ground = bench.Ground();
    bench.Wire(source, 0, part, 0);
    bench.Wire(part, 1, ground, 0);
    bench.Run(10, 0.01f);
    float R = 0;
    EXPECT_NEAR(Bench::Read(source, 0, &R), 0.0f, 1e-6f) << name;
    EXPECT_NEAR(R, 5e6f, 1) << name;
    EXPECT_EQ(part->burnt, 0);
    bench.Stop();
  }
}

// ------------------------------------------------------------ cards

TEST(Capacitor, EditShowsTheCardOfItsKind) {
  struct Case {
    int kind;
    float capacitance, voltage;
    double price;
    const wchar_t* text;
    const wchar_t* picture;
  };
  const Case cases[] = {
      {0, 1.5e-8f, 50, 10, L"Керамический конденсатор 15.0нФ. Цена 10.00 руб.", L"sys/DOC000207936.jpg"},
      {1, 1e-4f, 25, 12.5, L"Электролитический конденсатор 100.0мкф, 25в. Цена 12.50 руб.",
       L"sys/electrolytic.jpg"},
      {1, 1e-4f, 6.3f, 3, L"Электролитический конденсатор 100.0мкф, 6в. Цена 3.00 руб.",
       L"sys/electrolytic.jpg"},
      {2, 4.7e-11f, 50, 0.5, L"ЧИП-конденсатор 0805, 47.0пФ. Цена 0.50 руб.", L"sys/cap0805.jpg"},
      {7, 1e-6f, 50, 1, L"Конденсатор 1.0мкф. Цена 1.00 руб.", nullptr},
  };
  for (const Case& c : cases) {
    Bench bench;
    auto* cap = bench.Create<CCapacitor>("Capacitor");
    cap->kind = c.kind;
    cap->capacitance = c.capacitance;
    cap->ratedVoltage = c.voltage;
    cap->price = c.price;
    disctest::CardHost host;
    EXPECT_FALSE(cap->Edit());
    EXPECT_EQ(host.cards, 1);
    EXPECT_EQ(host.calls, 0);  // not the model browser
    EXPECT_EQ(host.text, c.text);
    EXPECT_EQ(host.hasPicture, c.picture != nullptr);
    if (c.picture) {
      EXPECT_EQ(host.picture, c.picture);
    }
  }
}

TEST(Quartz, EditShowsTheCardWithItsPackage) {
  struct Case {
    float frequency;
    const wchar_t* text;
  };
  const Case cases[] = {
      {1.8432f, L"Кварцевый резонатор HC-49U на 1.843МГц. Цена 59.00 руб."},
      {16, L"Кварцевый резонатор HC-49S на 16.000МГц. Цена 59.00 руб."},
      {2, L"Кварцевый резонатор HC-49S на 2.000МГц. Цена 59.00 руб."},
  };
  for (const Case& c : cases) {
    Bench bench;
    auto* q = bench.Create<CQuartz>("Quartz");
    q->frequency = c.frequency;
    disctest::CardHost host;
    EXPECT_FALSE(q->Edit());
    EXPECT_EQ(host.cards, 1);
    EXPECT_EQ(host.text, c.text);
    EXPECT_EQ(host.picture, L"quartz.jpg");
  }
}

// ------------------------------------------------------------ drawing

TEST(Capacitor, SymbolPlatesLeadsAndLabels) {
  Bench bench;
  auto* c = bench.Create<CCapacitor>("Capacitor");
  comptest::SymbolCanvas canvas(140, 60);
  EXPECT_TRUE(canvas.Paint(c, 10, 10));  // 10..34 x 10..34
  EXPECT_EQ(canvas.Pixel(22, 14), kBlack);  // upper lead
  EXPECT_EQ(canvas.Pixel(22, 30), kBlack);  // lower lead
  EXPECT_EQ(canvas.Pixel(12, 19), kBlack);  // plates
  EXPECT_EQ(canvas.Pixel(32, 25), kBlack);
  EXPECT_EQ(canvas.Pixel(22, 22), kWhite);  // the gap between them
  EXPECT_EQ(canvas.Pixel(12, 22), kWhite);
  EXPECT_GT(canvas.InkIn(36, 10, 140, 22), 0);  // name
  EXPECT_GT(canvas.InkIn(36, 23, 140, 40), 0);  // label
  EXPECT_EQ(canvas.InkIn(16, 0, 30, 9), 0);     // no "+" on a ceramic part
  EXPECT_TRUE(canvas.Save(L"capacitor_symbol.bmp"));

  // Turned: leads left and right, plates upright; an electrolytic "+".
  canvas.Clear();
  c->symbolOrientation = 1;
  c->kind = kElecCapacitorElectrolytic;
  c->capacitance = 1e-4f;
  c->ratedVoltage = 16;
  c->UpdateBodySize();
  EXPECT_TRUE(canvas.Paint(c, 10, 10));
  EXPECT_EQ(canvas.Pixel(14, 22), kBlack);
  EXPECT_EQ(canvas.Pixel(30, 22), kBlack);
  EXPECT_EQ(canvas.Pixel(19, 12), kBlack);
  EXPECT_EQ(canvas.Pixel(25, 32), kBlack);
  EXPECT_EQ(canvas.Pixel(22, 22), kWhite);
  EXPECT_EQ(canvas.Pixel(22, 14), kWhite);
  EXPECT_GT(canvas.InkIn(26, 5, 34, 18), 0);  // "+" at (26, 5)
  EXPECT_TRUE(canvas.Save(L"capacitor_symbol_electrolytic.bmp"));
}

TEST(Quartz, SymbolCrystalBetweenPlates) {
  Bench bench;
  auto* q = bench.Create<CQuartz>("Quartz");
  comptest::SymbolCanvas canvas(140, 60);
  EXPECT_TRUE(canvas.Paint(q, 10, 10));  // 10..34 x 10..42
  EXPECT_EQ(canvas.Pixel(22, 12), kBlack);
  EXPECT_EQ(canvas.Pixel(12, 15), kBlack);
  EXPECT_EQ(canvas.Pixel(10, 26), kBlack);  // the crystal's outline
  EXPECT_EQ(canvas.Pixel(22, 20), kBlack);
  EXPECT_EQ(canvas.Pixel(22, 26), kWhite);  // not filled
  EXPECT_EQ(canvas.Pixel(12, 37), kBlack);
  EXPECT_EQ(canvas.Pixel(22, 40), kBlack);
  EXPECT_EQ(canvas.Pixel(22, 17), kWhite);
  EXPECT_GT(canvas.InkIn(37, 10, 140, 25), 0);
  EXPECT_GT(canvas.InkIn(37, 26, 140, 42), 0);
  EXPECT_TRUE(canvas.Save(L"quartz_symbol.bmp"));
}

TEST(Capacitor, Footprints) {
  Bench bench;
  auto* c = bench.Create<CCapacitor>("Capacitor");
  {
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(c));  // ceramic 3 x 5.08
    EXPECT_EQ(board.At(0, 0), RGB(85, 102, 255));
    EXPECT_EQ(board.At(0, 2.3f), RGB(85, 102, 255));
    EXPECT_EQ(board.At(1.4f, 2.4f), kWhite);  // rounded ends
    EXPECT_EQ(board.At(0, 2.8f), kWhite);
  }
  {
    c->kind = kElecCapacitorElectrolytic;
    c->capacitance = 1e-4f;
    c->ratedVoltage = 25;
    c->UpdateBodySize();  // D 6.3
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(c));
    EXPECT_EQ(board.At(0, 0), RGB(204, 224, 255));
    EXPECT_EQ(board.At(2.6f, 0), RGB(85, 102, 255));
    EXPECT_EQ(board.At(0, -2.6f), RGB(85, 102, 255));
    EXPECT_EQ(board.At(3.4f, 0), kWhite);
  }
  {
    c->kind = kElecCapacitorChip;
    c->UpdateBodySize();  // 1.2 x 3.2
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(c));
    EXPECT_EQ(board.At(0, 0), RGB(204, 102, 51));
    EXPECT_EQ(board.At(0, -1.1f), RGB(204, 224, 255));
    EXPECT_EQ(board.At(0, 1.1f), RGB(204, 224, 255));
    EXPECT_EQ(board.At(0, 1.8f), kWhite);
    EXPECT_EQ(board.At(0.8f, 0), kWhite);
  }
  {
    c->kind = 5;
    comptest::FootprintCanvas board(20, 300, 300);
    EXPECT_TRUE(board.Paint(c));
    EXPECT_EQ(board.InkCount(), 0);
  }
}

TEST(Quartz, Footprint) {
  Bench bench;
  auto* q = bench.Create<CQuartz>("Quartz");
  comptest::FootprintCanvas board(20, 300, 300);
  EXPECT_TRUE(board.Paint(q));
  EXPECT_EQ(board.At(0, 0), RGB(224, 224, 224));
  EXPECT_EQ(board.At(0, 5.8f), kWhite);
  // The inner outline 0.5 mm in: a grey line between the outer edge and
  // the inside.
  int grey = 0;
  for (float x = 1.5f; x < 2.2f; x += 0.05f)
    if (board.At(x, 0) == RGB(153, 153, 153)) grey++;
  EXPECT_GT(grey, 0);
  EXPECT_EQ(board.At(-2.5f, 0), kWhite);
}

TEST(Capacitor, ScreenshotOfPartsOnTheBoard) {
  Bench bench;
  comptest::FootprintCanvas board(12, 480, 200);
  struct Shown {
    int kind;
    float capacitance, voltage, x;
  };
  const Shown shown[] = {{0, 1.5e-8f, 50, -15}, {1, 1e-4f, 25, -6}, {1, 1e-3f, 35, 5}, {2, 1e-7f, 16, 11}};
  for (const Shown& s : shown) {
    auto* c = bench.Create<CCapacitor>("Capacitor");
    c->kind = s.kind;
    c->capacitance = s.capacitance;
    c->ratedVoltage = s.voltage;
    c->UpdateBodySize();
    c->boardX = s.x;
    EXPECT_TRUE(board.Paint(c));
  }
  auto* q = bench.Create<CQuartz>("Quartz");
  q->boardX = 17;
  EXPECT_TRUE(board.Paint(q));
  EXPECT_TRUE(board.Save(L"capacitor_quartz_footprints.bmp"));
}

}  // namespace
