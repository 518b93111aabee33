// The WiFi router: pins by configuration, its record, power and burn-out,
// the radio list and the links by mode and SSID, the attached antenna, and
// the settings dialog.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "component_kit.h"
#include "components/electronic/radio/antenna.h"
#include "components/electronic/radio/router.h"
#include "components/electronic/radio/router_dialog.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "foundation/vecmath.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/lists/kest_combo_box.h"
#include "scheme/database/compdb_record.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/packet.h"
#include "scheme/simulation/packet_set.h"
#include "support/live_forms.h"
#include "support/test_support.h"

namespace {

using comptest::Bench;
using comptest::LogCapture;

struct PinRow {
  const wchar_t* name;
  int kind, offset;
};

void ExpectPins(const CSCHRouter* r, const std::vector<PinRow>& rows) {
  ASSERT_EQ(r->pinCount, static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); i++) {
    SCOPED_TRACE("pin " + std::to_string(i));
    EXPECT_STREQ(r->pins[i].name, rows[i].name);
    EXPECT_EQ(r->pins[i].kind, rows[i].kind);
    EXPECT_EQ(r->pins[i].offset, rows[i].offset);
    EXPECT_EQ(r->pins[i].side, kSchSideBottom);
  }
}

TEST(Router, CreatedThroughTheRegistryWithItsDefaults) {
  Bench bench;
  auto* r = bench.Create<CSCHRouter>("Router");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->pose, nullptr);
  EXPECT_EQ(r->rect.bottom - r->rect.top, 80);
  EXPECT_EQ(r->mode, kElecRouterAccessPoint);
  EXPECT_EQ(r->onAir, 0);
  // Own power, five LAN ports, no radio: 7 pins, no spare room.
  ExpectPins(r, {{L"+", 0, 10}, {L"-", 0, 30}, {L"LAN", 2, 90}, {L"LAN", 2, 110}, {L"LAN", 2, 130},
                 {L"LAN", 2, 150}, {L"LAN", 2, 170}});
  EXPECT_EQ(r->rect.right - r->rect.left, 140);
}

TEST(Router, PinsForAConfiguration) {
  comptest::RegistryScope registry;
  auto r = comptest::NewDetached<CSCHRouter>("Router");
  comptest::DbRow lan(L"routers", {{"model", "WR-4"}, {"inType", "1"}, {"LAN", "4"}, {"powerKind", "0"},
                                   {"antenna", "2"}, {"U", "12"}, {"I", "0.5"}, {"P", "20"}, {"repeater", "1"},
                                   {"axis", "2"}, {"around", "360"}, {"along", "90"}, {"baudrate", "100"}});
  r->ApplyDbRecord(lan.Record());
  ExpectPins(r.get(), {{L"+", 0, 10}, {L"-", 0, 30}, {L"LAN", 2, 90}, {L"LAN", 2, 110}, {L"LAN", 2, 130},
                       {L"LAN", 2, 150}, {L"ВЧ", 3, 210}});
  EXPECT_STREQ(r->pins[0].description, L"Вход питания");
  EXPECT_STREQ(r->pins[2].description, L"Ethernet");
  EXPECT_STREQ(r->pins[6].description, L"Опциональное подключение внешней антенны");
  EXPECT_EQ(r->rect.right - r->rect.left, 220);
  EXPECT_EQ(r->repeaterAllowed, 1);
  EXPECT_FLOAT_EQ(r->widthAround, 360 * 3.1415927f / 180);
  EXPECT_EQ(r->baudRate, 100);

  comptest::DbRow usb(L"routers", {{"model", "WU"}, {"inType", "2"}, {"LAN", "0"}, {"powerKind", "2"},
                                   {"antenna", "1"}});
  r->ApplyDbRecord(usb.Record());
  ExpectPins(r.get(), {{L"USB", 1, 10}});
  EXPECT_STREQ(r->pins[0].description, L"USB-клиент");
  EXPECT_EQ(r->rect.right - r->rect.left, 120);

  comptest::DbRow external(L"routers", {{"model", "WE"}, {"inType", "2"}, {"powerKind", "1"}, {"antenna", "3"}});
  r->ApplyDbRecord(external.Record());
  ExpectPins(r.get(), {{L"USB", 1, 10}, {L"ВЧ", 3, 70}});
  EXPECT_STREQ(r->pins[1].description, L"Обязательное подключение внешней антенны");
}

TEST(Router, RowValuesAreClamped) {
  comptest::RegistryScope registry;
  auto r = comptest::NewDetached<CSCHRouter>("Router");
  comptest::DbRow row(L"routers", {{"model", "X"}, {"inType", "1"}, {"LAN", "-3"}, {"antenna", "9"},
                                   {"axis", "5"}});
  r->ApplyDbRecord(row.Record());
  EXPECT_EQ(r->lanCount, 0);
  EXPECT_EQ(r->antennaKind, 3);
  EXPECT_EQ(r->axis, 2);
}

std::unique_ptr<CSCHRouter> SampleRouter() {
  auto r = comptest::NewDetached<CSCHRouter>("Router");
  r->inputType = 1;
  r->lanCount = 4;
  r->baudRate = 5400000;
  r->U = 12;
  r->I = 0.5f;
  r->powerKind = 0;
  r->antennaKind = 2;
  r->repeaterAllowed = 1;
  r->P = 20;
  r->axis = 1;
  r->widthAround = 2.0f;
  r->widthAlong = 0.5f;
  r->mode = kElecRouterBridge;
  r->SetSsid(L"Home");
  r->BuildPins();
  return r;
}

TEST(Router, RecordGoldenBytes) {
  comptest::RegistryScope registry;
  auto r = SampleRouter();
  std::vector<uint8_t> all = comptest::SaveBytes(r.get());
  std::vector<uint8_t> golden = comptest::Golden()
                                    .I(1)
                                    .B(4)
                                    .I(5400000)
                                    .F(12)
                                    .F(0.5f)
                                    .B(0)
                                    .I(2)
                                    .B(1)
                                    .F(20)
                                    .B(1)
                                    .F(2.0f)
                                    .F(0.5f)
                                    .B(2)
                                    .Raw("H\0o\0m\0e\0\0\0", 10)
                                    .Bytes();
  ASSERT_GT(all.size(), golden.size());
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(all.begin(), all.begin() + golden.size()), golden));
  CMemoryStream device;
  r->CSCHDevice::Save(&device);
  EXPECT_TRUE(velktest::BytesEqual(std::vector<uint8_t>(all.begin() + golden.size(), all.end()),
                                   comptest::StreamBytes(device)));

  auto copy = comptest::NewDetached<CSCHRouter>("Router");
  comptest::LoadBytes(copy.get(), all);
  copy->flags &= static_cast<unsigned char>(~kSchLoaded);
  EXPECT_TRUE(velktest::BytesEqual(comptest::SaveBytes(copy.get()), all));
  EXPECT_EQ(copy->pinCount, 7) << "the pins of the configuration read";
  EXPECT_STREQ(copy->ssid, L"Home");
}

TEST(Router, AnEmptyStoredSsidKeepsTheCurrentOne) {
  comptest::RegistryScope registry;
  auto r = SampleRouter();
  r->SetSsid(L"");
  std::vector<uint8_t> bytes = comptest::SaveBytes(r.get());
  auto other = comptest::NewDetached<CSCHRouter>("Router");
  other->SetSsid(L"Keep");
  comptest::LoadBytes(other.get(), bytes);
  EXPECT_STREQ(other->ssid, L"Keep");
  // A long SSID is cut to 16 characters.
  other->SetSsid(L"abcdefghijklmnopqrstuvwxyz");
  EXPECT_STREQ(other->ssid, L"abcdefghijklmnop");
}

TEST(Router, OutOfRangeStreamValuesAreClampedAndTruncationsAreHarmless) {
  comptest::RegistryScope registry;
  auto r = SampleRouter();
  std::vector<uint8_t> bytes = comptest::SaveBytes(r.get());
  std::vector<uint8_t> bad = bytes;
  bad[18] = 9;    // antenna kind, low byte (after 4 + 1 + 4 + 4 + 4 + 1 bytes)
  bad[27] = 200;  // axis (after repeater at 22 and P at 23 .. 26)
  bad[36] = 255;  // mode (after the widths at 28 .. 35)
  auto copy = comptest::NewDetached<CSCHRouter>("Router");
  comptest::LoadBytes(copy.get(), bad);
  EXPECT_EQ(copy->antennaKind, 3);
  EXPECT_EQ(copy->axis, 2);
  EXPECT_EQ(copy->mode, 4);
  comptest::ForEachTruncation<CSCHRouter>("Router", bytes, [](CSCHRouter* c, size_t) {
    EXPECT_LE(c->mode, 4);
    EXPECT_LE(c->axis, 2);
    EXPECT_GE(c->antennaKind, 0);
    EXPECT_LE(c->antennaKind, 3);
    EXPECT_LE(static_cast<int>(wcslen(c->ssid)), 16);
  });
}

// Routers powered from their own pins at 12 V, no data ports, a built-in
// antenna, placed along the x axis.
class RadioNet : public ::testing::Test {
protected:
  CSCHRouter* Add(const wchar_t* name, unsigned char mode, const wchar_t* ssid, float x) {
    auto* r = bench.Create<CSCHRouter>("Router");
    r->SetName(name);
    r->inputType = 0;
    r->antennaKind = kElecRouterAntennaBuiltIn;
    r->BuildPins();
    r->mode = mode;
    r->SetSsid(ssid);
    poses.push_back(std::unique_ptr<Mat4f>(new Mat4f(MakePose(x))));
    r->pose = poses.back().get();
    auto* plus = bench.Source(12);
    bench.Wire(plus, 0, r, 0);
    bench.Wire(r, 1, bench.Ground(), 0);
    return r;
  }
  static Mat4f MakePose(float x) {
    Mat4f m;
    MakeIdentityMatrix(&m);
    m.at(3, 0) = x;
    return m;
  }
  void Begin() {
    bench.Build();
    bench.Start();
  }
  // One packet of that id in the router's set.
  static void Give(CSCHRouter* r, unsigned char id) {
    SchPacket* p = new SchPacket;
    p->id = id;
    r->packets->Append(p);
  }
  static bool Has(CSCHRouter* r, unsigned char id) { return r->packets && r->packets->FindId(id) >= 0; }
  static std::vector<CSCHRouter*> List() {
    std::vector<CSCHRouter*> v;
    for (CSCHRouter* r = CSCHRouter::RadioListHead(); r; r = r->next) v.push_back(r);
    return v;
  }
  void TearDown() override { bench.Stop(); }

  Bench bench;
  std::vector<std::unique_ptr<Mat4f>> poses;
};

TEST_F(RadioNet, JoiningAndLeavingTheList) {
  CSCHRouter* a = Add(L"R1", kElecRouterAccessPoint, L"net", 0);
  CSCHRouter* b = Add(L"R2", kElecRouterAccessPoint, L"net", 10);
  Begin();
  EXPECT_TRUE(List().empty());
  a->Step(1e-3f);
  b->Step(1e-3f);
  EXPECT_EQ(List(), (std::vector<CSCHRouter*>{b, a})) << "most recently joined first";
  EXPECT_EQ(a->prev, b);
  a->Step(1e-3f);
  EXPECT_EQ(List().size(), 2u) << "joining twice changes nothing";
  b->LeaveRadioList();
  EXPECT_EQ(List(), (std::vector<CSCHRouter*>{a}));
  EXPECT_EQ(a->prev, nullptr);
  bench.Stop();
  EXPECT_TRUE(List().empty()) << "a stopped router is off the air";
  EXPECT_EQ(a->packets, nullptr);
}

TEST_F(RadioNet, ClientLinksToTheFirstAccessPointOfItsSsid) {
  CSCHRouter* distant = Add(L"AP1", kElecRouterAccessPoint, L"net", 1e6f);  // joined first, out of reach
  CSCHRouter* near1 = Add(L"AP2", kElecRouterAccessPoint, L"net", 10);
  CSCHRouter* near2 = Add(L"AP3", kElecRouterAccessPoint, L"net", 20);
  CSCHRouter* other = Add(L"AP4", kElecRouterAccessPoint, L"other", 5);
  CSCHRouter* client = Add(L"C", kElecRouterClient, L"net", 0);
  Begin();
  Give(distant, 1);
  Give(near1, 2);
  Give(near2, 3);
  Give(other, 4);
  Give(client, 9);
  for (CSCHRouter* r : {near1, distant, near2, other}) r->Step(1e-3f);  // list: other, near2, distant, near1
  client->Step(1e-3f);
  EXPECT_TRUE(Has(client, 3)) << "the first access point of its SSID in list order";
  EXPECT_TRUE(Has(near2, 9)) << "both ways";
  EXPECT_FALSE(Has(client, 2));
  EXPECT_FALSE(Has(client, 1));
  EXPECT_FALSE(Has(client, 4)) << "another SSID";
  // Out of reach of the head's neighbour: the next one in list order that
  // it has a link with.
  near2->LeaveRadioList();
  client->Step(1e-3f);
  EXPECT_FALSE(Has(client, 1)) << "no link 1000 km away";
  EXPECT_TRUE(Has(client, 2));
}

TEST_F(RadioNet, BridgesLinkOnlyToEarlierBridges) {
  CSCHRouter* first = Add(L"B1", kElecRouterBridge, L"link", 0);
  CSCHRouter* second = Add(L"B2", kElecRouterBridge, L"link", 10);
  Begin();
  Give(first, 1);
  Give(second, 2);
  first->Step(1e-3f);
  EXPECT_FALSE(Has(first, 2)) << "no bridge joined before it";
  second->Step(1e-3f);
  EXPECT_TRUE(Has(second, 1));
  EXPECT_TRUE(Has(first, 2)) << "its partner gets the packets through the two-way merge";
}

TEST_F(RadioNet, EmptySsidJoinsButStartsNoLinkAndARepeaterReachesIt) {
  CSCHRouter* quiet = Add(L"Q", kElecRouterClient, L"", 0);
  CSCHRouter* ap = Add(L"AP", kElecRouterAccessPoint, L"", 5);
  CSCHRouter* repeater = Add(L"RP", kElecRouterRepeater, L"rep", 10);
  Begin();
  Give(quiet, 1);
  Give(ap, 2);
  Give(repeater, 3);
  ap->Step(1e-3f);
  quiet->Step(1e-3f);
  EXPECT_EQ(quiet->onAir, 1);
  EXPECT_FALSE(Has(quiet, 2));
  repeater->Step(1e-3f);
  EXPECT_TRUE(Has(repeater, 1)) << "a client, whatever its SSID";
  EXPECT_FALSE(Has(repeater, 2)) << "an access point is not a repeater's partner";
}

TEST_F(RadioNet, PowerLimits) {
  CSCHRouter* r = Add(L"R1", kElecRouterAccessPoint, L"net", 0);
  LogCapture log;
  Begin();
  r->Step(1e-3f);
  EXPECT_EQ(r->onAir, 1);
  EXPECT_EQ(log.Count(), 0);
  // Below 0.75 x 12 V across the load: silently off the air.
  SchNet* net = r->pins[0].net;
  ASSERT_NE(net, nullptr);
  r->U = 20;  // 12 V is now below 15 V
  r->Step(1e-3f);
  EXPECT_EQ(r->onAir, 0);
  EXPECT_EQ(log.Count(), 0);
  // Above 1.5 x U: burns for good.
  r->U = 7;
  r->Step(1e-3f);
  EXPECT_EQ(r->burnt, 1);
  ASSERT_EQ(log.Count(), 1);
  EXPECT_EQ(log.Messages()[0], L"Роутер \"R1\" вышел из строя.");
  r->U = 12;
  r->Step(1e-3f);
  EXPECT_EQ(r->onAir, 0);
  EXPECT_EQ(log.Count(), 1);
}

TEST_F(RadioNet, NoSupplyCurrentIsGuarded) {
  CSCHRouter* r = Add(L"R1", kElecRouterAccessPoint, L"net", 0);
  r->I = 0;
  LogCapture log;
  Begin();
  r->Step(1e-3f);
  EXPECT_EQ(r->burnt, 0);
  EXPECT_EQ(r->onAir, 1);
}

TEST_F(RadioNet, AttachedAntennaGivesTheRadioButNotTheSavedFields) {
  CSCHRouter* r = Add(L"R1", kElecRouterClient, L"net", 0);
  r->antennaKind = kElecRouterAntennaExternal;
  r->BuildPins();
  ASSERT_EQ(r->pinCount, 3);
  ASSERT_NE(r->pins[0].wire, nullptr);
  auto* antenna = bench.Create<CSCHAntenna>("Antenna");
  Mat4f antennaPose = MakePose(3);
  antenna->pose = &antennaPose;
  antenna->axis = 0;
  antenna->widthAround = 0.25f;
  antenna->centreFrequency = 2450;
  antenna->bandwidth = 100;
  bench.Wire(r, 2, antenna, 0);
  CSCHRouter* ap = Add(L"AP", kElecRouterAccessPoint, L"net", 10);
  Begin();
  ap->Step(1e-3f);
  r->Step(1e-3f);
  EXPECT_EQ(r->onAir, 0) << "the antenna has not been on the air yet";
  antenna->Step(1e-3f);
  r->Step(1e-3f);
  EXPECT_EQ(r->onAir, 1);
  EXPECT_EQ(r->RadioPose(), &antennaPose);
  EXPECT_EQ(r->radioAxis, 0);
  EXPECT_FLOAT_EQ(r->radioAround, 0.25f);
  EXPECT_EQ(r->axis, 0);
  EXPECT_FLOAT_EQ(r->widthAround, 1.0f) << "the saved settings stay the user's";
  EXPECT_NE(r->pose, &antennaPose);
}

// Finds the router dialog among the live forms.
CRouterDialog* OpenDialog() {
  for (int i = LiveForms.count - 1; i >= 0; i--)
    if (auto* d = dynamic_cast<CRouterDialog*>(LiveForms.forms[i])) return d;
  return nullptr;
}

struct DialogCase {
  unsigned char repeater, mode;
  int entries, selected;
};

TEST(RouterDialog, ModeListWithAndWithoutTheRepeater) {
  comptest::RegistryScope registry;
  const DialogCase cases[] = {{0, 1, 4, 1}, {0, 4, 4, -1}, {1, 4, 5, 4}, {1, 0, 5, 0}};
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.repeater) + " " + std::to_string(c.mode));
    auto r = SampleRouter();
    r->repeaterAllowed = c.repeater;
    r->mode = c.mode;
    auto* dialog = new CRouterDialog;
    ASSERT_TRUE(dialog->Build(r.get()));
    EXPECT_EQ(dialog->modeList->GetCount(), c.entries);
    EXPECT_EQ(dialog->modeList->GetSelectedIndex(), c.selected);
    wchar_t text[64] = {};
    dialog->modeList->GetItemText(3, text);
    EXPECT_STREQ(text, L"Multi-point Bridge");
    // Applied with no selection the mode stays.
    dialog->Apply(r.get());
    EXPECT_EQ(r->mode, c.mode);
    delete dialog;
    velktest::DropQuitRequests();
  }
  velktest::FlushEvents();
}

TEST(RouterDialog, OkStoresTheModeAndSsid) {
  comptest::RegistryScope registry;
  auto r = SampleRouter();
  auto* dialog = new CRouterDialog;
  ASSERT_TRUE(dialog->Build(r.get()));
  wchar_t* ssid = dialog->ssidEdit->GetText();
  EXPECT_STREQ(ssid, L"Home");
  FreeBuffer(ssid);
  wchar_t* antenna = dialog->antennaLabel->GetTextCopy();
  EXPECT_STREQ(antenna, L"Антенна: встроенная");
  FreeBuffer(antenna);
  dialog->modeList->SetSelectedIndex(0);
  dialog->ssidEdit->SetText(L"Office");
  dialog->Show(false);
  velktest::FlushEvents();
  std::wstring shot = comptest::ScreenshotFolder() + L"router_dialog.bmp";
  EXPECT_TRUE(velktest::SaveWindowBitmap(dialog->GetHandle(), shot));
  dialog->Apply(r.get());
  EXPECT_EQ(r->mode, kElecRouterClient);
  EXPECT_STREQ(r->ssid, L"Office");
  delete dialog;
  velktest::FlushEvents();
  velktest::DropQuitRequests();
}

// Closes the router dialog with a result once it runs its modal loop.
int g_closeResult = 0;
void CALLBACK CloseDialog(HWND, UINT, UINT_PTR id, DWORD) {
  CRouterDialog* d = OpenDialog();
  if (!d) return;
  KillTimer(nullptr, id);
  if (g_closeResult == 1) d->ssidEdit->SetText(L"Changed");
  d->PostClose(g_closeResult);
}

TEST(RouterDialog, EditRunsTheDialog) {
  comptest::RegistryScope registry;
  auto r = SampleRouter();
  r->antennaKind = kElecRouterAntennaNone;
  EXPECT_FALSE(r->Edit()) << "no radio, no dialog";
  r->antennaKind = kElecRouterAntennaExternal;
  for (int result : {2, 1}) {
    g_closeResult = result;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, CloseDialog);
    ASSERT_NE(timer, 0u);
    bool changed = r->Edit();
    KillTimer(nullptr, timer);
    velktest::FlushEvents();
    velktest::DropQuitRequests();  // the dialog was the first form: its end asks to quit
    EXPECT_EQ(changed, result == 1);
    EXPECT_STREQ(r->ssid, result == 1 ? L"Changed" : L"Home") << "Cancel changes nothing";
    EXPECT_EQ(r->mode, kElecRouterBridge);
  }
  g_closeResult = 0;
}

TEST(Router, SymbolIsAYellowBodyWithItsTitle) {
  comptest::RegistryScope registry;
  auto r = SampleRouter();
  r->SetName(L"R1");
  r->SetModel("WR-4");
  comptest::SymbolCanvas canvas(280, 140);
  EXPECT_TRUE(canvas.Paint(r.get(), 30, 30));
  EXPECT_EQ(canvas.Pixel(40, 100), RGB(255, 255, 153));
  EXPECT_GT(canvas.InkIn(30, 0, 250, 28), 0) << "the name above";
  canvas.Save(L"router.bmp");
}

}  // namespace

namespace {

TEST(Router, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"routers");
  ASSERT_TRUE(table.loaded);
  auto r = comptest::NewDetached<CSCHRouter>("Router");
  // Own power, four LAN ports, built-in antenna: 6 pins, 120 px.
  CompDbRecord* home = table.Find("WR-740N");
  ASSERT_NE(home, nullptr);
  r->ApplyDbRecord(home);
  EXPECT_EQ(r->pinCount, 6);
  EXPECT_EQ(r->rect.right - r->rect.left, 120);
  EXPECT_FLOAT_EQ(r->U, 9);
  EXPECT_FLOAT_EQ(r->widthAround, 2 * 3.1415927f);
  // PoE on the one LAN port, optional external antenna: LAN and RF pins.
  CompDbRecord* outdoor = table.Find("WA-5210G");
  ASSERT_NE(outdoor, nullptr);
  r->ApplyDbRecord(outdoor);
  ASSERT_EQ(r->pinCount, 2);
  EXPECT_STREQ(r->pins[0].name, L"LAN");
  EXPECT_STREQ(r->pins[1].name, L"ВЧ");
  EXPECT_EQ(r->repeaterAllowed, 1);
}

TEST(Antenna, SampleDatabaseRows) {
  comptest::RegistryScope registry;
  comptest::SampleTable table(L"antennas");
  ASSERT_TRUE(table.loaded);
  auto a = comptest::NewDetached<CSCHAntenna>("Antenna");
  CompDbRecord* active = table.Find("AMP-2420");
  ASSERT_NE(active, nullptr);
  a->ApplyDbRecord(active);
  EXPECT_EQ(a->active, 1);
  EXPECT_FLOAT_EQ(a->U, 12);
  EXPECT_FLOAT_EQ(a->gain, 20);
  CompDbRecord* panel = table.Find("ANT-2414D");
  ASSERT_NE(panel, nullptr);
  a->ApplyDbRecord(panel);
  EXPECT_EQ(a->active, 0);
  EXPECT_EQ(a->axis, 2);
  EXPECT_FLOAT_EQ(a->widthAround, 30 * 3.1415927f / 180);
}

}  // namespace
