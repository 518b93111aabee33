// The simple hardware of the computers: GPIO lines driven and read against
// the unit's ground, the LPT port on its DB-25 pins, the microphone input
// and the audio system with its picture; their records.
#include <cstring>
#include <string>
#include <vector>

#include "block_kit.h"
#include "blocks/library/interfaces/audio_in.h"
#include "blocks/library/interfaces/audio_value.h"
#include "blocks/library/interfaces/dynamics.h"
#include "blocks/library/interfaces/gpio.h"
#include "blocks/library/interfaces/lpt.h"
#include "kestui/graphics/image.h"
#include "scheme/model/scheme_icons.h"
#include "scheme/simulation/net.h"
#include "scheme/simulation/pin_model.h"

namespace {

using blocktest::Bench;
using blocktest::FakeOwner;

// ------------------------------------------------------------ GPIO

// Three lines, the middle one driven by the program.
CBEGPIO* ThreeLines(Bench& bench) {
  auto* gpio = bench.Create<CBEGPIO>(kBeGPIOClassId);
  EXPECT_TRUE(gpio->SetLineCount(3));
  gpio->directions[1] = 1;
  EXPECT_TRUE(gpio->BuildPins());
  return gpio;
}

TEST(GPIO, PinsFollowTheLines) {
  Bench bench;
  auto* gpio = bench.Create<CBEGPIO>(kBeGPIOClassId);
  ASSERT_NE(nullptr, gpio);
  EXPECT_STREQ(L"GPIO", gpio->GetCaption());
  EXPECT_TRUE(gpio->IsDevice());
  EXPECT_EQ(static_cast<COLORREF>(0xCCCCCC), gpio->fillColor);
  EXPECT_EQ(150, gpio->Width());
  EXPECT_EQ(30, gpio->Height());
  EXPECT_EQ(0, gpio->lineCount);
  EXPECT_EQ(0, gpio->inputCount + gpio->outputCount);

  // One line is 30 high, not 18; read by the program.
  ASSERT_TRUE(gpio->SetLineCount(1));
  EXPECT_EQ(30, gpio->Height());
  ASSERT_EQ(1, gpio->outputCount);
  EXPECT_EQ(0, gpio->inputCount);
  EXPECT_STREQ(L"GPIO0", gpio->Output(0)->name);
  EXPECT_EQ(7, gpio->Output(0)->yOffset);

  // Three lines, the middle driven: its input at 25, the outputs at 7 and
  // 43, 54 high.
  ASSERT_TRUE(gpio->SetLineCount(3));
  gpio->directions[1] = 1;
  ASSERT_TRUE(gpio->BuildPins());
  EXPECT_EQ(54, gpio->Height());
  ASSERT_EQ(1, gpio->inputCount);
  ASSERT_EQ(2, gpio->outputCount);
  EXPECT_STREQ(L"GPIO1", gpio->Input(0)->name);
  EXPECT_EQ(25, gpio->Input(0)->yOffset);
  EXPECT_STREQ(L"GPIO0", gpio->Output(0)->name);
  EXPECT_EQ(7, gpio->Output(0)->yOffset);
  EXPECT_STREQ(L"GPIO2", gpio->Output(1)->name);
  EXPECT_EQ(43, gpio->Output(1)->yOffset);
  EXPECT_TRUE(gpio->IsDriven(1));
  EXPECT_FALSE(gpio->IsDriven(2));
  EXPECT_FALSE(gpio->IsDriven(3));

  // A smaller count drops the last lines and their pins.
  ASSERT_TRUE(gpio->SetLineCount(2));
  EXPECT_EQ(36, gpio->Height());
  EXPECT_EQ(1, gpio->inputCount);
  EXPECT_EQ(1, gpio->outputCount);
  EXPECT_STREQ(L"GPIO0", gpio->Output(0)->name);
  EXPECT_FALSE(gpio->SetLineCount(256));
  EXPECT_FALSE(gpio->SetLineCount(-1));
  EXPECT_EQ(2, gpio->lineCount);
}

TEST(GPIO, DrivenLinesAreThreePointThreeVoltsAboveTheGround) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(5);
  owner.SetGround(0.5f, 2.0f);
  CBEGPIO* gpio = ThreeLines(bench);
  gpio->firstPin = 2;
  blocktest::Source* bit = bench.Source(kBeSignalBit);
  bench.Link(bit, gpio, 0);
  bit->SetBit(true);
  bench.Pass();
  blocktest::PinDrive d = owner.Drive(3);
  EXPECT_NEAR(3.8f, d.U, 1e-5f);
  EXPECT_NEAR(252.0f, d.R, 1e-3f);
  bit->SetBit(false);
  bench.Pass();
  EXPECT_NEAR(0.5f, owner.Drive(3).U, 1e-5f);
  EXPECT_NEAR(252.0f, owner.Drive(3).R, 1e-3f);
  // Any nonzero value byte drives it; an unlinked line is low.
  blocktest::Source* c = bench.Source(kBeSignalChar);
  bench.LinkAnyway(c, 0, gpio, 0);
  c->SetInt(-128);
  bench.Pass();
  EXPECT_NEAR(3.8f, owner.Drive(3).U, 1e-5f);
  bench.Unlink(gpio, 0);
  bench.Pass();
  EXPECT_NEAR(0.5f, owner.Drive(3).U, 1e-5f);
  // The read lines are high-impedance inputs at the ground's level.
  EXPECT_NEAR(0.5f, owner.Drive(2).U, 1e-5f);
  EXPECT_NEAR(5e6f, owner.Drive(2).R, 1.0f);
  EXPECT_NEAR(5e6f, owner.Drive(0).R, 1.0f) << "not the block's pin";
}

// A read line fed 3 V behind 1 ohm, with the ground at 0 V behind Rg: the
// divider gives 3 x 100000 / (Rg + 100001). At Rg = 99999 that is 1.5 V
// exactly, which reads 0.
TEST(GPIO, ReadLinesAtTheThreshold) {
  struct Case {
    float groundOhms;
    int bit;
  } cases[] = {{99999.0f, 0}, {99998.0f, 1}, {0.0f, 1}, {100000.0f, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.groundOhms);
    Bench bench;
    FakeOwner& owner = bench.UseFakeOwner(3);
    owner.SetGround(0.0f, c.groundOhms);
    CBEGPIO* gpio = ThreeLines(bench);
    owner.Feed(2, 3.0f, 1.0f);
    bench.Pass();
    EXPECT_EQ(c.bit, blocktest::ReadInt(gpio, 1));
    EXPECT_EQ(0, blocktest::ReadInt(gpio, 0)) << "an unfed line reads 0";
  }
  // The level is measured from the ground: 3 V on a ground of 2 V is 1 V.
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(3);
  owner.SetGround(2.0f, 0.0f);
  CBEGPIO* gpio = ThreeLines(bench);
  owner.Feed(2, 3.0f, 1.0f);
  bench.Pass();
  EXPECT_EQ(0, blocktest::ReadInt(gpio, 1));
  owner.Feed(2, 3.6f, 1.0f);
  bench.Pass();
  EXPECT_EQ(1, blocktest::ReadInt(gpio, 1));
}

TEST(GPIO, WithoutAUnitEveryReadLineIsLow) {
  Bench bench;
  CBEGPIO* gpio = ThreeLines(bench);
  gpio->Output(0)->value[0] = 1;
  bench.Pass();
  EXPECT_EQ(0, blocktest::ReadInt(gpio, 0));
}

// ------------------------------------------------------------ LPT

TEST(LPT, PinsNamesAndDescriptions) {
  Bench bench;
  auto* lpt = bench.Create<CBELPT>(kBeLPTClassId);
  ASSERT_NE(nullptr, lpt);
  EXPECT_STREQ(L"LPT", lpt->GetCaption());
  EXPECT_TRUE(lpt->IsDevice());
  EXPECT_EQ(150, lpt->Width());
  EXPECT_EQ(250, lpt->Height());
  EXPECT_EQ(static_cast<COLORREF>(0xCCCCCC), lpt->fillColor);
  ASSERT_EQ(12, lpt->inputCount);
  ASSERT_EQ(9, lpt->outputCount);
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(L"D" + std::to_wstring(k), std::wstring(lpt->Input(k)->name));
    EXPECT_EQ(L"Бит " + std::to_wstring(k) + L" данных (пин " + std::to_wstring(k + 2) + L")",
              std::wstring(lpt->Input(k)->description));
    EXPECT_EQ(k + 2, kLptInputConnectorPin[k]);
  }
  const wchar_t* controls[4][2] = {{L"/STROBE", L"Инверсный строб (пин 1)"},
                                   {L"/AutoLF", L"Инверсный AutoLF (пин 14)"},
                                   {L"Init", L"Сигнал Initiate printer (пин 16)"},
                                   {L"/SelectPrn", L"Инверсный сигнал Select printer (пин 17)"}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_STREQ(controls[k][0], lpt->Input(8 + k)->name);
    EXPECT_STREQ(controls[k][1], lpt->Input(8 + k)->description);
    EXPECT_STREQ(controls[k][0], lpt->Output(k)->name);
    EXPECT_STREQ(controls[k][1], lpt->Output(k)->description);
  }
  const wchar_t* status[5][2] = {{L"Error", L"Сигнал Error (пин 15)"},
                                 {L"Select", L"Сигнал Select status (пин 13)"},
                                 {L"PaperEnd", L"Сигнал PaperEnd (пин 12)"},
                                 {L"/Busy", L"Инверсный сигнал Busy (пин 11)"},
                                 {L"Ack", L"Сигнал Ack (пин 10)"}};
  for (int k = 0; k < 5; ++k) {
    EXPECT_STREQ(status[k][0], lpt->Output(4 + k)->name);
    EXPECT_STREQ(status[k][1], lpt->Output(4 + k)->description);
  }
  EXPECT_EQ((std::vector<int>{1, 14, 16, 17}), std::vector<int>(kLptInputConnectorPin + 8, kLptInputConnectorPin + 12));
  EXPECT_EQ((std::vector<int>{1, 14, 16, 17, 15, 13, 12, 11, 10}),
            std::vector<int>(kLptOutputConnectorPin, kLptOutputConnectorPin + 9));
  for (int k = 0; k < 12; ++k) EXPECT_EQ(kBeSignalBit, lpt->Input(k)->type);
  for (int k = 0; k < 9; ++k) EXPECT_EQ(kBeSignalBit, lpt->Output(k)->type);
}

// The port's connector pin k is the unit's pin first pin + k - 1; here the
// first pin is 2 and the ground 1 V behind 3 ohms.
class LptPins : public ::testing::Test {
protected:
  void SetUp() override {
    owner = &bench.UseFakeOwner(19);
    owner->SetGround(1.0f, 3.0f);
    lpt = bench.Create<CBELPT>(kBeLPTClassId);
    lpt->firstPin = 2;
  }
  static int Pin(int connector) { return 2 + connector - 1; }
  Bench bench;
  FakeOwner* owner = nullptr;
  CBELPT* lpt = nullptr;
};

TEST_F(LptPins, UnconnectedInputsDriveTheirPinsHigh) {
  bench.Pass();
  for (int k = 0; k < 12; ++k) {
    blocktest::PinDrive d = owner->Drive(Pin(kLptInputConnectorPin[k]));
    EXPECT_NEAR(6.0f, d.U, 1e-5f) << k;
    EXPECT_NEAR(503.0f, d.R, 1e-3f) << k;
  }
  EXPECT_NEAR(5e6f, owner->Drive(0).R, 1.0f) << "below the port";
  EXPECT_NEAR(5e6f, owner->Drive(1).R, 1.0f);
}

TEST_F(LptPins, ALowInputDrivesTheGroundThroughTwentyOhms) {
  blocktest::Source* zero = bench.Source(kBeSignalBit);
  blocktest::Source* one = bench.Source(kBeSignalBit);
  zero->SetBit(false);
  one->SetBit(true);
  bench.Link(zero, lpt, 3);  // D3, pin 5
  bench.Link(one, lpt, 4);   // D4, pin 6
  bench.Link(zero, lpt, 8);  // /STROBE, pin 1
  bench.Pass();
  EXPECT_NEAR(1.0f, owner->Drive(Pin(5)).U, 1e-5f);
  EXPECT_NEAR(23.0f, owner->Drive(Pin(5)).R, 1e-4f);
  EXPECT_NEAR(6.0f, owner->Drive(Pin(6)).U, 1e-5f);
  EXPECT_NEAR(1.0f, owner->Drive(Pin(1)).U, 1e-5f);
}

TEST_F(LptPins, StatusLinesArePulledUpAndReadTheRestOfTheirNet) {
  bench.Pass();
  // Nothing else on the nets: the rest reads 0, without the pull-up.
  for (int r = 0; r < 9; ++r) EXPECT_EQ(0, blocktest::ReadInt(lpt, r)) << r;
  for (int r = 4; r < 9; ++r) {
    blocktest::PinDrive d = owner->Drive(Pin(kLptOutputConnectorPin[r]));
    EXPECT_NEAR(6.0f, d.U, 1e-5f) << r;
    EXPECT_NEAR(503.0f, d.R, 1e-3f) << r;
  }
  // Driven to 5 V above the ground through a small resistance: 1.
  owner->Feed(Pin(10), 6.0f, 1e-3f);  // Ack
  owner->Feed(Pin(11), 2.0f, 1e-3f);  // /Busy: 1 V above the ground
  owner->Feed(Pin(14), 6.0f, 1e-3f);  // /AutoLF, read back by output 1
  bench.Pass();
  EXPECT_EQ(1, blocktest::ReadInt(lpt, 8));
  EXPECT_EQ(0, blocktest::ReadInt(lpt, 7));
  EXPECT_EQ(1, blocktest::ReadInt(lpt, 1));
  EXPECT_EQ(0, blocktest::ReadInt(lpt, 4));
}

// ------------------------------------------------------------ audio

TEST(AudioIn, TakesTheMicrophonesValue) {
  Bench bench;
  FakeOwner& owner = bench.UseFakeOwner(3);
  auto* mic = bench.Create<CBEAudioIn>(kBeAudioInClassId);
  ASSERT_NE(nullptr, mic);
  EXPECT_STREQ(L"AudioIn", mic->GetCaption());
  EXPECT_TRUE(mic->IsDevice());
  EXPECT_EQ(150, mic->Width());
  EXPECT_EQ(30, mic->Height());
  ASSERT_EQ(1, mic->outputCount);
  EXPECT_STREQ(L"Audio", mic->Output(0)->name);
  EXPECT_STREQ(L"Оцифрованный звук с микрофона", mic->Output(0)->description);
  EXPECT_EQ(kBeSignalAudio, mic->Output(0)->type);
  mic->pinIndex = 1;  // ground on pin 1, the signal on pin 2

  // A microphone points its signal net's source at its audio value.
  BeAudioSource clip = {{7, 0x22, 0xEA, 0, 0x11, 0x22, 0x33, 0x44}};
  SchNet* signal = owner.Net(2);
  signal->sourceKind = kSourceAudio;
  signal->source = reinterpret_cast<SchSignalSource*>(&clip);
  bench.Pass();
  EXPECT_EQ((std::vector<uint8_t>{7, 0x22, 0xEA, 0, 0x11, 0x22, 0x33, 0x44}), blocktest::ValueBytes(mic));
  // Another kind, or no source: the sound handle goes, the rest stays.
  signal->sourceKind = kSchSourceSerial;
  bench.Pass();
  EXPECT_EQ((std::vector<uint8_t>{7, 0x22, 0xEA, 0, 0, 0, 0, 0}), blocktest::ValueBytes(mic));
  signal->sourceKind = kSourceAudio;
  bench.Pass();
  signal->source = nullptr;
  bench.Pass();
  EXPECT_EQ((std::vector<uint8_t>{7, 0x22, 0xEA, 0, 0, 0, 0, 0}), blocktest::ValueBytes(mic));
  // The ground pin's net is not read.
  owner.Net(1)->sourceKind = kSourceAudio;
  owner.Net(1)->source = reinterpret_cast<SchSignalSource*>(&clip);
  bench.Pass();
  EXPECT_EQ(0, blocktest::ValueBytes(mic)[4]);
  owner.Net(1)->source = nullptr;
}

// Restores the program-wide sound when it ends.
class SoundScope {
public:
  SoundScope() : saved_(BeCurrentSound) {}
  ~SoundScope() { BeCurrentSound = saved_; }

private:
  uint32_t saved_;
};

TEST(Dynamics, AnnouncesANewClipForFiftyPasses) {
  SoundScope sound;
  Bench bench;
  auto* speaker = bench.Create<CBEDynamics>(kBeDynamicsClassId);
  ASSERT_NE(nullptr, speaker);
  EXPECT_STREQ(L"Аудио-система", speaker->GetCaption());
  EXPECT_TRUE(speaker->IsDevice());
  EXPECT_EQ(83, speaker->Width());
  EXPECT_EQ(80, speaker->Height());
  ASSERT_EQ(1, speaker->inputCount);
  EXPECT_EQ(0, speaker->outputCount);
  EXPECT_EQ(kBeSignalAudio, speaker->Input(0)->type);
  EXPECT_EQ(nullptr, speaker->Input(0)->name);
  EXPECT_STREQ(L"Вход аудио-информации", speaker->Input(0)->description);

  blocktest::Source* audio = bench.Source(kBeSignalAudio);
  bench.Link(audio, speaker, 0);
  audio->SetBytes({5, 0x22, 0xEA, 0, 0x78, 0x56, 0x34, 0x12});
  int announced = 0;
  for (int pass = 0; pass < 60; ++pass) {
    bench.Pass();
    if (BeCurrentSound == 0x12345678u) {
      EXPECT_EQ(pass, announced) << "announced in the first passes, one after another";
      ++announced;
    } else {
      EXPECT_EQ(0u, BeCurrentSound);
    }
  }
  EXPECT_EQ(50, announced);
  // A new clip number announces again, with the handle of the moment.
  audio->SetBytes({6, 0x22, 0xEA, 0, 1, 0, 0, 0});
  bench.Pass();
  EXPECT_EQ(1u, BeCurrentSound);
  audio->SetBytes({6, 0x22, 0xEA, 0, 2, 0, 0, 0});
  bench.Pass();
  EXPECT_EQ(2u, BeCurrentSound);
  // Without the marker: silent at once.
  audio->SetBytes({7, 0x23, 0xEA, 0, 2, 0, 0, 0});
  bench.Pass();
  EXPECT_EQ(0u, BeCurrentSound);
  // From an output of another type: silent too.
  audio->SetBytes({8, 0x22, 0xEA, 0, 2, 0, 0, 0});
  audio->SetType(kBeSignalInt);
  bench.Pass();
  EXPECT_EQ(0u, BeCurrentSound);
  audio->SetType(kBeSignalAudio);
  bench.Pass();
  EXPECT_EQ(2u, BeCurrentSound);
  // Unlinked: silent.
  bench.Unlink(speaker, 0);
  bench.Pass();
  EXPECT_EQ(0u, BeCurrentSound);
  // Start forgets the last clip: the same clip is announced in a new run.
  bench.Link(audio, speaker, 0);
  bench.Passes(60);
  EXPECT_EQ(0u, BeCurrentSound);
  bench.Stop();
  bench.Pass();
  EXPECT_EQ(2u, BeCurrentSound);
  EXPECT_EQ(49, speaker->countdown);
}

// While alive, the scheme icons folder is the one given; the previous one
// comes back, and the picture is loaded anew, when it ends.
class IconsFolderScope {
public:
  explicit IconsFolderScope(const std::wstring& folder) {
    had_ = GetSchemeIconsFolder() != nullptr;
    if (had_) saved_ = GetSchemeIconsFolder();
    SetSchemeIconsFolder(folder.c_str());
    CBEDynamics::Picture().Destroy();
  }
  ~IconsFolderScope() {
    SetSchemeIconsFolder(had_ ? saved_.c_str() : nullptr);
    CBEDynamics::Picture().Destroy();
  }

private:
  bool had_ = false;
  std::wstring saved_;
};

TEST(Dynamics, DrawsItsPictureStretchedOverTheBody) {
  {
    // Missing: nothing at all.
    velktest::TempFolder empty;
    IconsFolderScope scope(empty.Path());
    auto speaker = blocktest::NewDetached<CBEDynamics>(kBeDynamicsClassId);
    blocktest::Canvas canvas(120, 120);
    EXPECT_TRUE(canvas.Draw(speaker.get(), 10, 10));
    EXPECT_EQ(0, canvas.Ink(0, 0, 119, 119));
  }
  IconsFolderScope scope(blocktest::ShippedIconsFolder());
  auto speaker = blocktest::NewDetached<CBEDynamics>(kBeDynamicsClassId);
  blocktest::Canvas canvas(200, 200);
  ASSERT_TRUE(canvas.Draw(speaker.get(), 10, 10));
  // The frame on the edges, the magnet dark on the left, a red wave on the
  // right, the panel light between.
  auto dark = [](COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; };
  EXPECT_TRUE(dark(canvas.At(10, 10)));
  EXPECT_TRUE(dark(canvas.At(92, 89)));
  EXPECT_TRUE(dark(canvas.At(10 + 16, 10 + 40)));
  COLORREF wave = canvas.At(10 + 40 + 22, 10 + 40);
  EXPECT_GT(GetRValue(wave), 150);
  EXPECT_LT(GetGValue(wave), 100);
  COLORREF panel = canvas.At(10 + 5, 10 + 5);
  EXPECT_GT(GetRValue(panel), 200);
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(94, 50)) << "nothing right of the body";
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(50, 91)) << "nothing below it";
  // Stretched over a larger body.
  speaker->rect = RECT{0, 0, 166, 160};
  blocktest::Canvas large(200, 200);
  large.Draw(speaker.get(), 10, 10);
  EXPECT_TRUE(dark(large.At(10 + 32, 10 + 80)));
  COLORREF bigWave = large.At(10 + 2 * (40 + 22), 10 + 80);
  EXPECT_GT(GetRValue(bigWave), 150);
  EXPECT_TRUE(dark(large.At(174, 168)));
}

// The audio system's picture is ours, shipped beside the program: the
// block's size, a dark frame round a light panel.
TEST(Dynamics, ItsPictureIsShipped) {
  std::wstring path = blocktest::ShippedIconsFolder() + kDynamicsPicture;
  CKestImage image;
  ASSERT_TRUE(SUCCEEDED(image.Load(path.c_str())));
  EXPECT_EQ(83, image.GetWidth());
  EXPECT_EQ(80, image.GetHeight());
  COLORREF frame = image.GetPixel(0, 0);
  EXPECT_LT(GetRValue(frame), 80);
  COLORREF panel = image.GetPixel(5, 5);
  EXPECT_GT(GetRValue(panel), 200);
  EXPECT_GT(GetBValue(panel), 200);
}

// The area's blocks as the view paints them, for the screenshot.
TEST(InterfaceDrawing, TheDeviceBlocksAsTheViewPaintsThem) {
  IconsFolderScope scope(blocktest::ShippedIconsFolder());
  Bench bench;
  auto* speaker = bench.Create<CBEDynamics>(kBeDynamicsClassId);
  auto* gpio = ThreeLines(bench);
  auto* lpt = bench.Create<CBELPT>(kBeLPTClassId);
  auto* mic = bench.Create<CBEAudioIn>(kBeAudioInClassId);
  auto* com = bench.Create<CBEBlock>(kBeCOMPortClassId);
  auto* wifi = bench.Create<CBEBlock>(kBeWiFiClassId);
  blocktest::Canvas canvas(760, 340);
  canvas.Paint(lpt, 60, 20);
  canvas.Paint(gpio, 300, 20);
  canvas.Paint(mic, 300, 110);
  canvas.Paint(speaker, 300, 180);
  canvas.Paint(com, 500, 20);
  canvas.Paint(wifi, 500, 80);
  canvas.Save(L"library_interfaces.bmp");
  // Each block drew its body (the device blocks' bodies are filled).
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), canvas.At(60 + 90, 20 + 3));
  EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), canvas.At(505, 25));
  EXPECT_TRUE(blocktest::DrawsCaption(com, L"COM-порт"));
  EXPECT_TRUE(blocktest::DrawsCaption(wifi, L"Модуль WiFi"));
  EXPECT_TRUE(blocktest::DrawsCaption(gpio, L"GPIO"));
}

// ------------------------------------------------------------ records

TEST(HardwareRecords, GoldenBytesRoundTripsAndTruncations) {
  {
    auto gpio = blocktest::NewDetached<CBEGPIO>(kBeGPIOClassId);
    ASSERT_TRUE(gpio->SetLineCount(3));
    gpio->directions[1] = 1;
    ASSERT_TRUE(gpio->BuildPins());
    gpio->firstPin = 0x0102;
    blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(gpio->rect, 1, 2);
    base.flags = kBeBlockDevice;
    auto golden = blocktest::Golden().B(3).I16(0x0102).B(0).B(1).B(0).Base(base).Bytes();
    std::vector<uint8_t> record = blocktest::RecordBytes(gpio.get());
    EXPECT_TRUE(velktest::BytesEqual(record, golden));
    auto copy = blocktest::NewDetached<CBEGPIO>(kBeGPIOClassId);
    ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
    EXPECT_EQ(3, copy->lineCount);
    EXPECT_EQ(0x0102, copy->firstPin);
    EXPECT_TRUE(copy->IsDriven(1));
    EXPECT_EQ(54, copy->Height());
    EXPECT_STREQ(L"GPIO2", copy->Output(1)->name);
    blocktest::ExpectTruncationsRefused<CBEGPIO>(kBeGPIOClassId, record);
    // A direction other than 0 and 1 is damage.
    std::vector<uint8_t> bad = record;
    bad[4] = 2;
    std::vector<uint8_t> before = blocktest::RecordBytes(copy.get());
    EXPECT_FALSE(blocktest::LoadBytes(copy.get(), bad));
    EXPECT_TRUE(velktest::BytesEqual(blocktest::RecordBytes(copy.get()), before));
  }
  {
    auto lpt = blocktest::NewDetached<CBELPT>(kBeLPTClassId);
    lpt->firstPin = 0x0304;
    blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(lpt->rect, 12, 9);
    base.flags = kBeBlockDevice;
    auto golden = blocktest::Golden().I16(0x0304).B(0).Base(base).Bytes();
    std::vector<uint8_t> record = blocktest::RecordBytes(lpt.get());
    EXPECT_TRUE(velktest::BytesEqual(record, golden));
    blocktest::ExpectTruncationsRefused<CBELPT>(kBeLPTClassId, record);
    // The zero byte is skipped whatever it holds.
    record[2] = 9;
    auto copy = blocktest::NewDetached<CBELPT>(kBeLPTClassId);
    ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
    EXPECT_EQ(0x0304, copy->firstPin);
  }
  {
    auto mic = blocktest::NewDetached<CBEAudioIn>(kBeAudioInClassId);
    mic->pinIndex = 0x0107;  // the record keeps the low byte
    blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(mic->rect, 0, 1);
    base.flags = kBeBlockDevice;
    auto golden = blocktest::Golden().B(7).B(0).Base(base).Bytes();
    std::vector<uint8_t> record = blocktest::RecordBytes(mic.get());
    EXPECT_TRUE(velktest::BytesEqual(record, golden));
    blocktest::ExpectTruncationsRefused<CBEAudioIn>(kBeAudioInClassId, record);
    record[1] = 0xFF;
    auto copy = blocktest::NewDetached<CBEAudioIn>(kBeAudioInClassId);
    ASSERT_TRUE(blocktest::LoadBytes(copy.get(), record));
    EXPECT_EQ(7, copy->pinIndex);
  }
  {
    auto speaker = blocktest::NewDetached<CBEDynamics>(kBeDynamicsClassId);
    blocktest::BaseRecord base = blocktest::BaseRecord::Unlinked(speaker->rect, 1, 0);
    base.flags = kBeBlockDevice;
    auto golden = blocktest::Golden().Base(base).Bytes();
    std::vector<uint8_t> record = blocktest::RecordBytes(speaker.get());
    EXPECT_TRUE(velktest::BytesEqual(record, golden));
  }
}

TEST(HardwareRecords, SchemeRoundTrip) {
  Bench bench;
  CBEGPIO* gpio = ThreeLines(bench);
  gpio->firstPin = 12;
  blocktest::Source* bit = bench.Source(kBeSignalBit);
  bench.Link(bit, gpio, 0);
  auto* lpt = bench.Create<CBELPT>(kBeLPTClassId);
  bench.Link(bit, lpt, 8);
  lpt->firstPin = 30;
  bench.Create<CBEDynamics>(kBeDynamicsClassId);
  std::unique_ptr<BeScheme> copy = bench.ReadBack();
  ASSERT_NE(nullptr, copy);
  auto gpios = blocktest::BlocksOf<CBEGPIO>(copy.get());
  ASSERT_EQ(1u, gpios.size());
  EXPECT_EQ(12, gpios[0]->firstPin);
  ASSERT_NE(nullptr, gpios[0]->Input(0)->source);
  auto lpts = blocktest::BlocksOf<CBELPT>(copy.get());
  ASSERT_EQ(1u, lpts.size());
  EXPECT_EQ(30, lpts[0]->firstPin);
  EXPECT_EQ(gpios[0]->Input(0)->source, lpts[0]->Input(8)->source);
  EXPECT_EQ(1u, blocktest::BlocksOf<CBEDynamics>(copy.get()).size());
}

}  // namespace
