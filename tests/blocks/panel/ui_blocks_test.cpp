// The user-interface blocks: what each is made as, its step through its
// linked item, and the user-interface block's panel inside its record.
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/payload_table.h"
#include "blocks/panel/editor/velk_ui_editor.h"
#include "blocks/panel/items/velk_ui_button.h"
#include "blocks/panel/items/velk_ui_indicator.h"
#include "blocks/panel/items/velk_ui_joystick.h"
#include "blocks/panel/items/velk_ui_trackbar.h"
#include "blocks/panel/items/velk_ui_video.h"
#include "blocks/panel/ui_blocks/be_ui_button.h"
#include "blocks/panel/ui_blocks/be_ui_indicator.h"
#include "blocks/panel/ui_blocks/be_ui_joystick.h"
#include "blocks/panel/ui_blocks/be_ui_trackbar.h"
#include "blocks/panel/ui_blocks/be_ui_video.h"
#include "foundation/memory_stream.h"
#include "modal_driver.h"
#include "scheme/model/scheme_icons.h"
#include "support/test_support.h"
#include "ui_block_fixture.h"

using namespace uitest;

namespace {

// A source block with one output of a chosen type.
class SourceBlock : public CBEBlock {
public:
  explicit SourceBlock(BeSignalType type) {
    SetOutputCount(1);
    Output(0)->type = type;
  }
};

template <class T>
void Put(BeOutputPin* pin, T v) {
  if (!pin) return;
  memset(pin->value, 0, 8);
  memcpy(pin->value, &v, sizeof(T));
}

// The producer the test stands for: the records it publishes are payloads
// it owns, released when the test ends.
class TestPublisher {
public:
  ~TestPublisher() { BePayloadTable::Program().ReleaseOwner(this); }
  // The handle of the record, registered on first use; 0 for null.
  BePayloadHandle HandleOf(const void* record) {
    if (!record) return kNoPayload;
    for (const auto& known : handles_)
      if (known.first == record && BePayloadTable::Program().Resolve(known.second)) return known.second;
    BePayloadHandle handle = BePayloadTable::Program().Add(const_cast<void*>(record), this);
    handles_.push_back({record, handle});
    return handle;
  }

private:
  std::vector<std::pair<const void*, BePayloadHandle>> handles_;
};

// A message value: counter and tag laid out as the kind says, then the
// handle in bytes 4-7.
void PutMessageHandle(BeOutputPin* pin, int counter, unsigned short tag, bool wide, BePayloadHandle handle) {
  if (!pin) return;
  memset(pin->value, 0, 8);
  if (wide) {
    short c = static_cast<short>(counter);
    memcpy(pin->value, &c, 2);
    memcpy(pin->value + 2, &tag, 2);
  } else {
    pin->value[0] = static_cast<unsigned char>(counter);
    memcpy(pin->value + 1, &tag, 2);
  }
  BePutPayloadHandle(pin->value, handle);
}

TestPublisher* g_publisher = nullptr;

// The same with the record published by the test's publisher.
void PutMessage(BeOutputPin* pin, int counter, unsigned short tag, bool wide, const void* record) {
  PutMessageHandle(pin, counter, tag, wide, g_publisher ? g_publisher->HandleOf(record) : kNoPayload);
}

// Publishes records for PutMessage while alive.
class PublisherScope {
public:
  PublisherScope() { g_publisher = &publisher; }
  ~PublisherScope() { g_publisher = nullptr; }
  TestPublisher publisher;
};

class EditorSeamUI : public CBEUI {
public:
  bool OpenEditor(UiPanel* target, CVelkUIControl* selected) override {
    ++calls;
    opened = target;
    this->selected = selected;
    return true;
  }
  int calls = 0;
  UiPanel* opened = nullptr;
  CVelkUIControl* selected = nullptr;
};

class EditorSeamButton : public CBEUIButton {
public:
  bool OpenEditor(UiPanel* target, CVelkUIControl* selected) override {
    ++calls;
    opened = target;
    this->selected = selected;
    return true;
  }
  int calls = 0;
  UiPanel* opened = nullptr;
  CVelkUIControl* selected = nullptr;
};

}  // namespace

TEST_F(UiBlockTest, EachBlockIsADeviceBlockOfItsSizeFillPinsAndCatalogueCaption) {
  struct Row {
    unsigned int classId;
    const wchar_t* caption;
    int width, height;
    COLORREF fill;
    int inputs, outputs;
  } rows[] = {{kUIBlockClassId, L"Интерфейс с пользователем", 200, 100, 0xCCCCCC, 0, 0},
              {kUIButtonBlockClassId, L"Кнопка", 60, 20, 0xFFFFFF, 0, 1},
              {kUITrackBarBlockClassId, L"Trackbar", 30, 60, 0xFFFFFF, 0, 1},
              {kUIVideoBlockClassId, L"Видео", 120, 64, 0xFFFFFF, 1, 2},
              {kUIJoystickBlockClassId, L"Джойстик", 60, 48, 0xFFFFFF, 0, 2},
              {kUIIndicatorBlockClassId, L"Индикатор", 100, 29, 0xFFFFFF, 1, 0}};
  for (const Row& row : rows) {
    CBEBlock* block = scheme.CreateBlock(row.classId);
    ASSERT_NE(nullptr, block) << std::hex << row.classId;
    EXPECT_TRUE(block->IsDevice());
    EXPECT_STREQ(row.caption, block->GetCaption());
    EXPECT_EQ(row.width, block->Width());
    EXPECT_EQ(row.height, block->Height());
    EXPECT_EQ(row.fill, block->fillColor);
    EXPECT_EQ(row.inputs, block->inputCount);
    EXPECT_EQ(row.outputs, block->outputCount);
  }
  EXPECT_TRUE(host.texts.empty());
  CBEBlock* button = scheme.FindDeviceBlock(nullptr);
  EXPECT_EQ(nullptr, button);
  // Pins as the blocks give them.
  auto* video = static_cast<CBEUIVideo*>(scheme.CreateBlock(kUIVideoBlockClassId));
  EXPECT_EQ(kBeSignalVideo, video->Input(0)->type);
  EXPECT_STREQ(L"Video", video->Input(0)->name);
  EXPECT_STREQ(L"Видео-вход", video->Input(0)->description);
  EXPECT_EQ(kBeSignalFloat, video->Output(0)->type);
  EXPECT_STREQ(L"mouseX", video->Output(0)->name);
  EXPECT_STREQ(L"mouseY", video->Output(1)->name);
  auto* joystick = scheme.CreateBlock(kUIJoystickBlockClassId);
  EXPECT_EQ(12, joystick->Output(0)->yOffset);
  EXPECT_EQ(39, joystick->Output(1)->yOffset);
  EXPECT_STREQ(L"Значение по оси Y", joystick->Output(1)->description);
  auto* indicator = scheme.CreateBlock(kUIIndicatorBlockClassId);
  EXPECT_EQ(kBeSignalAnyScalar, indicator->Input(0)->type);
  EXPECT_STREQ(L"Вход данных", indicator->Input(0)->description);
  auto* pressed = scheme.CreateBlock(kUIButtonBlockClassId);
  EXPECT_EQ(kBeSignalBit, pressed->Output(0)->type);
  EXPECT_STREQ(L"Состояние кнопки (нажата или нет)", pressed->Output(0)->description);
  EXPECT_EQ(kBeSignalFloat, scheme.CreateBlock(kUITrackBarBlockClassId)->Output(0)->type);
}

TEST_F(UiBlockTest, TheUserInterfaceBlockOwnsAPanelOnItsSchemeAndIsTheCurrentOneUntilItGoes) {
  CBEUI* first = AddUIBlock(&scheme);
  ASSERT_NE(nullptr, first->panel);
  EXPECT_EQ(&scheme, first->panel->scheme);
  EXPECT_EQ(first->panel, CurrentPanel());
  BeScheme other;
  other.Init(&ui.catalogue);
  CBEUI* second = AddUIBlock(&other);
  EXPECT_EQ(second->panel, CurrentPanel());
  // Deleting the older block leaves the current panel alone.
  delete first;
  EXPECT_EQ(second->panel, CurrentPanel());
  other.DeleteBlocks(true);
  EXPECT_EQ(nullptr, CurrentPanel());
}

TEST_F(UiBlockTest, DeletingTheUserInterfaceBlockDeletesItsItemsAndTheirBlocks) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  CVelkUIControl* button = CreatePanelItem(uiBlock->panel, kButtonRow);
  button->MakeUniqueName();
  button->CreateBlock();
  CVelkUIControl* slider = CreatePanelItem(uiBlock->panel, kTrackBarRow);
  slider->MakeUniqueName();
  slider->CreateBlock();
  EXPECT_EQ(3, scheme.GetBlockCount());
  delete uiBlock;
  EXPECT_EQ(0, scheme.GetBlockCount());
}

TEST_F(UiBlockTest, TheSchemeDeletesItsBlocksInAnyOrderWithPanelAndControlBlocks) {
  // Control blocks older and newer than the user-interface block.
  CBEUI* uiBlock = AddUIBlock(&scheme);
  for (int row = kButtonRow; row <= kIndicatorRow; ++row) {
    CVelkUIControl* item = CreatePanelItem(uiBlock->panel, row);
    item->MakeUniqueName();
    item->CreateBlock();
  }
  CBEBlock* later = scheme.CreateBlock(kUIBlockClassId);
  ASSERT_NE(nullptr, later);
  EXPECT_EQ(7, scheme.GetBlockCount());
  scheme.DeleteBlocks(true);
  EXPECT_EQ(0, scheme.GetBlockCount());
}

TEST_F(UiBlockTest, TheSchemeStreamKeepsThePanelItemsAndTheControlBlockCaptions) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  const int rows[] = {kButtonRow, kTrackBarRow, kJoystickRow, kVideoRow, kIndicatorRow};
  for (int row : rows) {
    CVelkUIControl* item = CreatePanelItem(uiBlock->panel, row);
    item->MakeUniqueName();
    item->CreateBlock();
  }
  CreatePanelItem(uiBlock->panel, kButtonRow);  // an item without a name and block
  CMemoryStream stream;
  scheme.Save(&stream, false);
  // The record: the panel stream ("vkUI") comes first.
  ASSERT_GT(stream.size, 8);
  EXPECT_EQ(0, memcmp(stream.data, kBeSchemeStreamMagic, 4));
  bool panelMagicFound = false;
  for (int i = 0; i + 4 <= stream.size; ++i)
    if (memcmp(stream.data + i, kPanelStreamMagic, 4) == 0) panelMagicFound = true;
  EXPECT_TRUE(panelMagicFound);

  BeScheme loaded;
  loaded.Init(&ui.catalogue);
  stream.position = 0;
  ASSERT_TRUE(loaded.Load(&stream, false));
  EXPECT_EQ(6, loaded.GetBlockCount());
  UiPanel* panel = FindSchemePanel(&loaded);
  ASSERT_NE(nullptr, panel);
  ASSERT_EQ(6, panel->ItemCount());
  const wchar_t* names[] = {L"Кнопка1", L"Ползунок1", L"Джойстик1", L"Видео1", L"Индикатор1"};
  const unsigned int classes[] = {kUIButtonBlockClassId, kUITrackBarBlockClassId,
                                  kUIJoystickBlockClassId, kUIVideoBlockClassId,
                                  kUIIndicatorBlockClassId};
  CVelkUIControl* item = panel->items;
  for (int i = 0; i < 5; ++i, item = item->next) {
    EXPECT_STREQ(names[i], item->name);
    EXPECT_EQ(nullptr, item->block);  // not linked until bound
    CBEBlock* block = loaded.FindDeviceBlock(names[i]);
    ASSERT_NE(nullptr, block) << i;
    EXPECT_EQ(classes[i], block->GetClassId());
  }
  EXPECT_EQ(nullptr, item->name);
  // Opening the editor from the block binds them; the editor is closed as
  // soon as it shows.
  CBEUI* loadedUi = nullptr;
  for (CBEBlock* b = loaded.blocks; b; b = b->next)
    if (b->GetClassId() == kUIBlockClassId) loadedUi = static_cast<CBEUI*>(b);
  ASSERT_NE(nullptr, loadedUi);
  {
    paneltest::ModalDriver<CVelkUIEditor> driver([](CVelkUIEditor* form, int) {
      form->PostClose(2);
      return false;
    });
    ASSERT_TRUE(driver.Ready());
    EXPECT_TRUE(loadedUi->ShowProperties());
  }
  item = panel->items;
  for (int i = 0; i < 5; ++i, item = item->next) {
    ASSERT_NE(nullptr, item->block) << i;
    EXPECT_STREQ(names[i], item->block->caption);
    EXPECT_EQ(item, static_cast<CBEUIControl*>(item->block)->item);
  }
  loaded.DeleteBlocks(true);
}

TEST_F(UiBlockTest, ADamagedPanelStreamLeavesTheBaseRecordReadFromWhereItsReaderStopped) {
  // A panel stream whose item set names a kind nobody has, then the base
  // record of a block.
  CMemoryStream stream;
  stream.Write(kPanelStreamMagic, 4);
  stream.WriteInt32(1);
  stream.WriteStringW(L"Неизвестно");
  CBEBlock reference;
  reference.rect = RECT{10, 20, 210, 120};
  reference.SetCaption(L"Пульт");
  reference.Save(&stream);
  stream.position = 0;
  CBEUI* uiBlock = AddUIBlock(&scheme);
  EXPECT_TRUE(uiBlock->Load(&stream));
  EXPECT_EQ(0, uiBlock->panel->ItemCount());
  EXPECT_EQ(10, uiBlock->rect.left);
  EXPECT_STREQ(L"Пульт", uiBlock->caption);
  EXPECT_EQ(stream.size, stream.position);
}

TEST_F(UiBlockTest, UserInterfaceBlockOpensTheEditorOnItsOwnPanelAfterBindingIt) {
  auto* uiBlock = new EditorSeamUI;
  uiBlock->AttachToScheme(&scheme);
  CBEBlock* buttonBlock = scheme.CreateBlock(kUIButtonBlockClassId);
  buttonBlock->SetCaption(L"Пуск");
  CVelkUIControl* item = CreatePanelItem(uiBlock->panel, kButtonRow);
  item->SetName(L"Пуск");
  EXPECT_TRUE(uiBlock->ShowProperties());
  EXPECT_EQ(1, uiBlock->calls);
  EXPECT_EQ(uiBlock->panel, uiBlock->opened);
  EXPECT_EQ(nullptr, uiBlock->selected);
  EXPECT_EQ(buttonBlock, item->block);
}

TEST_F(UiBlockTest, AControlBlockOpensThePanelOfItsOwnSchemeWithItsItemSelected) {
  // Two control-panel computers; the second user-interface block is the
  // current one, yet the first computer's button edits the first panel.
  CBEUI* firstUi = AddUIBlock(&scheme);
  BeScheme other;
  other.Init(&ui.catalogue);
  CBEUI* secondUi = AddUIBlock(&other);
  ASSERT_EQ(secondUi->panel, CurrentPanel());
  auto* button = new EditorSeamButton;
  button->entry = ui.catalogue.FindEntry(kUIButtonBlockClassId);
  button->AttachToScheme(&scheme);
  button->SetCaption(L"Кнопка1");
  CVelkUIControl* item = CreatePanelItem(firstUi->panel, kButtonRow);
  item->SetName(L"Кнопка1");
  CVelkUIControl* foreign = CreatePanelItem(secondUi->panel, kButtonRow);
  foreign->SetName(L"Кнопка1");
  EXPECT_TRUE(button->ShowProperties());
  EXPECT_EQ(firstUi->panel, button->opened);
  EXPECT_EQ(item, button->selected);
  EXPECT_EQ(button, item->block);
  EXPECT_EQ(nullptr, foreign->block);
  other.DeleteBlocks(true);
}

TEST_F(UiBlockTest, AControlBlockWithoutAUserInterfaceBlockInItsSchemeOpensNothing) {
  BeScheme other;
  other.Init(&ui.catalogue);
  AddUIBlock(&other);  // a current panel of another computer exists
  auto* button = new EditorSeamButton;
  button->AttachToScheme(&scheme);
  EXPECT_FALSE(button->ShowProperties());
  EXPECT_EQ(0, button->calls);
  other.DeleteBlocks(true);
}

TEST_F(UiBlockTest, ShowPropertiesReachesTheEditorEntryWithoutTouchingTheBlockAfterwards) {
  // Through the real entry: the editor opens on the block's own panel with
  // its item selected, and the call returns the editor's answer.
  CBEUI* uiBlock = AddUIBlock(&scheme);
  CVelkUIControl* item = CreatePanelItem(uiBlock->panel, kIndicatorRow);
  item->MakeUniqueName();
  item->CreateBlock();
  bool itemSelected = false;
  paneltest::ModalDriver<CVelkUIEditor> driver([&](CVelkUIEditor* form, int) {
    itemSelected = uiBlock->panel->currentItem == item;
    form->PostClose(2);
    return false;
  });
  ASSERT_TRUE(driver.Ready());
  EXPECT_TRUE(item->block->ShowProperties());
  EXPECT_TRUE(itemSelected);
  EXPECT_EQ(2, scheme.GetBlockCount());
}

TEST_F(UiBlockTest, ButtonPressReachesTheBlocksOutput) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  auto* button = static_cast<CVelkUIButton*>(CreatePanelItem(uiBlock->panel, kButtonRow));
  button->MakeUniqueName();
  button->CreateBlock();
  CBEBlock* block = button->block;
  ASSERT_NE(nullptr, block);
  block->Output(0)->value[0] = 7;
  block->Step(0.01f);
  EXPECT_EQ(0, block->Output(0)->value[0]);
  button->OnMouseDown(button->x + 5, button->y + 5);
  block->Step(0.01f);
  EXPECT_EQ(1, block->Output(0)->value[0]);
  button->OnMouseUp(button->x + 5, button->y + 5);
  block->Step(0.01f);
  EXPECT_EQ(0, block->Output(0)->value[0]);
}

TEST_F(UiBlockTest, SliderAndJoystickBlocksFollowTheirItems) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  auto* slider = static_cast<CVelkUITrackBar*>(CreatePanelItem(uiBlock->panel, kTrackBarRow));
  slider->CreateBlock();
  auto* joystick = static_cast<CVelkUIJoystick*>(CreatePanelItem(uiBlock->panel, kJoystickRow));
  joystick->CreateBlock();
  slider->value = 0.75f;
  joystick->xValue = -0.5f;
  joystick->yValue = 0.25f;
  slider->block->Step(0.01f);
  joystick->block->Step(0.01f);
  EXPECT_EQ(0.75f, slider->block->Output(0)->GetFloat());
  EXPECT_EQ(-0.5f, joystick->block->Output(0)->GetFloat());
  EXPECT_EQ(0.25f, joystick->block->Output(1)->GetFloat());
}

TEST_F(UiBlockTest, ControlBlocksWithoutAnItemLeaveTheirOutputsAlone) {
  const unsigned int classes[] = {kUIButtonBlockClassId, kUITrackBarBlockClassId, kUIJoystickBlockClassId,
                                  kUIVideoBlockClassId, kUIIndicatorBlockClassId};
  for (unsigned int classId : classes) {
    CBEBlock* block = scheme.CreateBlock(classId);
    for (int i = 0; i < block->outputCount; ++i) Put<float>(block->Output(i), 42.0f);
    block->Step(0.01f);
    for (int i = 0; i < block->outputCount; ++i) EXPECT_EQ(42.0f, block->Output(i)->GetFloat());
  }
}

TEST_F(UiBlockTest, IndicatorFormatsChangedValuesByTheSourceType) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  auto* indicator = static_cast<CVelkUIIndicator*>(CreatePanelItem(uiBlock->panel, kIndicatorRow));
  indicator->CreateBlock();
  CBEBlock* block = indicator->block;
  SourceBlock source(kBeSignalFloat);
  block->Input(0)->source = source.Output(0);
  struct Row {
    BeSignalType type;
    double value;
    int decimals;
    const wchar_t* expected;  // null: the text stays as it was
  } rows[] = {
      {kBeSignalFloat, 3.14159, 2, L"3.14"},
      {kBeSignalFloat, 3.14159, 2, nullptr},  // the same value again
      {kBeSignalFloat, 2.5, 3, L"2.500"},
      {kBeSignalFloat, 2.0, 0, L"2"},
      {kBeSignalFloat, NAN, 1, L"nan"},
      {kBeSignalBit, 1, 3, L"1"},
      {kBeSignalBit, 1, 3, nullptr},
      {kBeSignalBit, 0, 3, L"0"},
      {kBeSignalChar, -5, 3, L"-5"},
      {kBeSignalShort, -300, 3, L"-300"},
      {kBeSignalShort, -300, 3, nullptr},
      {kBeSignalInt, 123456789, 3, L"123456789"},
      {kBeSignalDouble, -0.125, 4, L"-0.1250"},
      {kBeSignalDouble, 1.0 / 3.0, 15, L"0.333333333333333"},
      {kBeSignalAnalog, 9, 3, nullptr},  // not a scalar it shows
  };
  for (const Row& row : rows) {
    source.Output(0)->type = row.type;
    switch (row.type) {
      case kBeSignalBit:
      case kBeSignalChar: Put<signed char>(source.Output(0), static_cast<signed char>(row.value)); break;
      case kBeSignalShort: Put<short>(source.Output(0), static_cast<short>(row.value)); break;
      case kBeSignalInt: Put<int>(source.Output(0), static_cast<int>(row.value)); break;
      case kBeSignalFloat: Put<float>(source.Output(0), static_cast<float>(row.value)); break;
      default: Put<double>(source.Output(0), row.value); break;
    }
    indicator->decimals = row.decimals;
    indicator->SetText(L"старое");
    block->Step(0.01f);
    std::wstring text = indicator->text;
    if (row.expected) {
      if (std::isnan(row.value)) {
        EXPECT_NE(L"старое", text) << "not a number always counts as changed";
      } else {
        EXPECT_EQ(std::wstring(row.expected), text) << row.type << " " << row.value;
      }
    } else {
      EXPECT_EQ(L"старое", text) << row.type << " " << row.value;
    }
  }
  // A first value of 0 bits differs from the starting pattern.
  CBEUIIndicator fresh;
  EXPECT_EQ(0xCC, fresh.lastValue[0]);
  EXPECT_EQ(0xCC, fresh.lastValue[3]);
  block->Input(0)->source = nullptr;
}

TEST_F(UiBlockTest, IndicatorCutsTextThatDoesNotFit) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  auto* indicator = static_cast<CVelkUIIndicator*>(CreatePanelItem(uiBlock->panel, kIndicatorRow));
  indicator->CreateBlock();
  SourceBlock source(kBeSignalDouble);
  Put<double>(source.Output(0), 1e300);
  indicator->block->Input(0)->source = source.Output(0);
  indicator->decimals = 15;
  indicator->block->Step(0.01f);
  std::wstring text = indicator->text;
  EXPECT_EQ(63u, text.size());
  EXPECT_EQ(L"1000000000", text.substr(0, 10));
  indicator->block->Input(0)->source = nullptr;
}

TEST_F(UiBlockTest, IndicatorWithoutALinkedInputLeavesTheText) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  auto* indicator = static_cast<CVelkUIIndicator*>(CreatePanelItem(uiBlock->panel, kIndicatorRow));
  indicator->CreateBlock();
  indicator->SetText(L"7");
  indicator->block->Step(0.01f);
  EXPECT_STREQ(L"7", indicator->text);
}

TEST_F(UiBlockTest, VideoBlockFillsTheSlotOfThePictureKindAndLetsAStalledPictureGo) {
  PublisherScope published;
  CBEUI* uiBlock = AddUIBlock(&scheme);
  auto* video = static_cast<CVelkUIVideo*>(CreatePanelItem(uiBlock->panel, kVideoRow));
  video->CreateBlock();
  auto* block = static_cast<CBEUIVideo*>(video->block);
  SourceBlock source(kBeSignalVideo);
  block->Input(0)->source = source.Output(0);
  int camera = 0, sector = 0, local = 0, global = 0;
  const void* records[4] = {&camera, &sector, &local, &global};

  // A camera frame with a new counter takes slot 0.
  PutMessage(source.Output(0), 1, 0x33EE, false, &camera);
  block->Step(0.01f);
  EXPECT_EQ(&camera, video->pictures[0]);
  EXPECT_EQ(kUICameraFrameCountdown, block->countdown);
  // The counter stops: the frame stays 120 steps, then goes.
  for (int i = 0; i < kUICameraFrameCountdown - 1; ++i) block->Step(0.01f);
  EXPECT_EQ(&camera, video->pictures[0]);
  block->Step(0.01f);
  EXPECT_EQ(nullptr, video->pictures[0]);
  block->Step(0.01f);
  EXPECT_EQ(nullptr, video->pictures[0]);

  // The table of kinds: source type, counter, tag, wide counter, slot taken
  // (-1 none).
  struct Row {
    BeSignalType type;
    int counter;
    unsigned short tag;
    bool wide;
    int slot;
  } rows[] = {
      {kBeSignalVideo, 2, 0x33EE, false, 0},       {kBeSignalVideo, 3, 0x331E, false, 1},
      {kBeSignalScanSector, 4, 0x331E, false, 1},  {kBeSignalVideo, 300, 0x332E, true, 2},
      {kBeSignalLocalMap, 301, 0x332E, true, 2},   {kBeSignalGlobalMap, 302, 0x332F, true, 3},
      {kBeSignalVideo, 303, 0x332F, true, 3},      {kBeSignalScanSector, 5, 0x33EE, false, -1},
      {kBeSignalLocalMap, 6, 0x331E, false, -1},   {kBeSignalVideo, 7, 0x1234, false, -1},
  };
  for (const Row& row : rows) {
    // Every slot holds something before the step.
    for (int k = 0; k < 4; ++k) video->pictures[k] = records[k];
    source.Output(0)->type = row.type;
    PutMessage(source.Output(0), row.counter, row.tag, row.wide, row.slot >= 0 ? records[row.slot] : &camera);
    block->Step(0.01f);
    for (int k = 0; k < 4; ++k) {
      if (k == row.slot) EXPECT_EQ(records[k], video->pictures[k]) << row.tag << " slot " << k;
      else EXPECT_EQ(nullptr, video->pictures[k]) << row.tag << " slot " << k;
    }
  }
  // A null handle matches nothing.
  for (int k = 0; k < 4; ++k) video->pictures[k] = records[k];
  source.Output(0)->type = kBeSignalVideo;
  PutMessage(source.Output(0), 9, 0x33EE, false, nullptr);
  block->Step(0.01f);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(nullptr, video->pictures[k]);

  // A local map arriving after camera frames clears the camera slot at once.
  PutMessage(source.Output(0), 10, 0x33EE, false, &camera);
  block->Step(0.01f);
  EXPECT_EQ(&camera, video->pictures[0]);
  PutMessage(source.Output(0), 11, 0x332E, true, &local);
  block->Step(0.01f);
  EXPECT_EQ(nullptr, video->pictures[0]);
  EXPECT_EQ(&local, video->pictures[2]);
  EXPECT_EQ(kUIMapCountdown, block->countdown);

  // Unlinked: every slot cleared, the mouse position on the outputs.
  block->Input(0)->source = nullptr;
  video->pictures[2] = &local;
  video->mouseX = -0.5f;
  video->mouseY = 1.0f;
  block->Step(0.01f);
  EXPECT_EQ(nullptr, video->pictures[2]);
  EXPECT_EQ(-0.5f, block->Output(0)->GetFloat());
  EXPECT_EQ(1.0f, block->Output(1)->GetFloat());
}

TEST_F(UiBlockTest, VideoBlockShowsNoPictureForAStaleHandle) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  auto* video = static_cast<CVelkUIVideo*>(CreatePanelItem(uiBlock->panel, kVideoRow));
  video->CreateBlock();
  auto* block = static_cast<CBEUIVideo*>(video->block);
  SourceBlock source(kBeSignalVideo);
  block->Input(0)->source = source.Output(0);
  BePayloadTable& table = BePayloadTable::Program();
  int frameA = 0, frameB = 0;
  int owner = 0;

  // A live frame is shown; once its producer releases it, the same value
  // (same counter, same handle) shows nothing, at once.
  BePayloadHandle a = table.Add(&frameA, &owner);
  ASSERT_NE(kNoPayload, a);
  PutMessageHandle(source.Output(0), 1, 0x33EE, false, a);
  block->Step(0.01f);
  EXPECT_EQ(&frameA, video->pictures[0]);
  ASSERT_TRUE(table.Release(a));
  block->Step(0.01f);
  for (int k = 0; k < kUiVideoSlotCount; ++k) EXPECT_EQ(nullptr, video->pictures[k]) << k;

  // The slot is taken again by another frame: the old handle still names
  // nothing, the new one its own frame.
  BePayloadHandle b = table.Add(&frameB, &owner);
  ASSERT_NE(kNoPayload, b);
  EXPECT_EQ(a & 0xFFFFu, b & 0xFFFFu) << "the freed slot is reused";
  PutMessageHandle(source.Output(0), 2, 0x33EE, false, a);
  block->Step(0.01f);
  EXPECT_EQ(nullptr, video->pictures[0]);
  PutMessageHandle(source.Output(0), 3, 0x33EE, false, b);
  block->Step(0.01f);
  EXPECT_EQ(&frameB, video->pictures[0]);

  // The producer going takes its frames with it.
  EXPECT_EQ(1, table.ReleaseOwner(&owner));
  block->Step(0.01f);
  EXPECT_EQ(nullptr, video->pictures[0]);
  block->Input(0)->source = nullptr;
}

namespace {
// A 24-bit BMP file of one colour.
std::string SolidBmp(int w, int h, unsigned char r, unsigned char g, unsigned char b) {
  int row = (w * 3 + 3) & ~3;
  int dataSize = row * h;
  std::string bytes(54 + dataSize, '\0');
  auto put32 = [&](int at, int v) { memcpy(&bytes[at], &v, 4); };
  auto put16 = [&](int at, short v) { memcpy(&bytes[at], &v, 2); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54 + dataSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  put16(26, 1);
  put16(28, 24);
  put32(34, dataSize);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bytes[54 + y * row + 3 * x] = static_cast<char>(b);
      bytes[54 + y * row + 3 * x + 1] = static_cast<char>(g);
      bytes[54 + y * row + 3 * x + 2] = static_cast<char>(r);
    }
  return bytes;
}

// Points the scheme icons at a folder while alive.
class IconsFolderScope {
public:
  explicit IconsFolderScope(const std::wstring& folder) {
    const wchar_t* old = GetSchemeIconsFolder();
    had_ = old != nullptr;
    if (old) saved_ = old;
    SetSchemeIconsFolder(folder.c_str());
  }
  ~IconsFolderScope() { SetSchemeIconsFolder(had_ ? saved_.c_str() : nullptr); }

private:
  bool had_ = false;
  std::wstring saved_;
};
}  // namespace

TEST_F(UiBlockTest, UserInterfaceAndIndicatorBlocksDrawThemselves) {
  paneltest::Dib dib(300, 200, 0xFFFFFF);
  CBEUI* uiBlock = AddUIBlock(&scheme);
  uiBlock->rect = RECT{10, 10, 210, 110};
  uiBlock->SetCaption(L"Не это");
  uiBlock->Draw(dib.dc());
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), dib.At(15, 15));
  EXPECT_EQ(RGB(0, 0, 0), dib.At(10, 50));  // the body's frame
  int dark = 0;
  for (int x = 20; x < 200; ++x)
    for (int y = 15; y < 105; ++y)
      if (dib.At(x, y) == RGB(0, 0, 0)) ++dark;
  EXPECT_GT(dark, 20);  // the title text

  paneltest::Dib panelDib(200, 100, 0xFFFFFF);
  CBEBlock* indicator = scheme.CreateBlock(kUIIndicatorBlockClassId);
  indicator->rect = RECT{20, 20, 120, 49};
  indicator->Draw(panelDib.dc());
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), panelDib.At(25, 22));    // outer fill
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), panelDib.At(119, 40));   // outer shadow edge
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), panelDib.At(30, 35));    // inner frame, its dark left edge
  EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), panelDib.At(114, 35));   // inner frame, its light right edge
  int black = 0;
  for (int x = 31; x < 114; ++x)
    for (int y = 26; y < 43; ++y)
      if (panelDib.At(x, y) == RGB(0, 0, 0)) ++black;
  EXPECT_GT(black, 5);  // "3.14"
}

TEST_F(UiBlockTest, ControlBlocksDrawTheirClassPictureStretchedAndTheCaptionBelow) {
  velktest::TempFolder folder;
  ASSERT_TRUE(folder.WriteFile(L"joystick.jpg", SolidBmp(4, 4, 0, 200, 0)));
  IconsFolderScope icons(folder.Path());
  paneltest::Dib dib(200, 120, 0xFFFFFF);
  CBEBlock* block = scheme.CreateBlock(kUIJoystickBlockClassId);
  block->rect = RECT{20, 10, 80, 58};
  block->SetCaption(L"Джойстик1");
  block->Draw(dib.dc());
  EXPECT_EQ(RGB(0, 200, 0), dib.At(21, 11));
  EXPECT_EQ(RGB(0, 200, 0), dib.At(78, 56));
  EXPECT_EQ(RGB(255, 255, 255), dib.At(81, 30));
  int dark = 0;
  for (int x = 0; x < 200; ++x)
    for (int y = 59; y < 100; ++y)
      if (dib.At(x, y) == RGB(0, 0, 0)) ++dark;
  EXPECT_GT(dark, 10);  // the caption below
}

TEST_F(UiBlockTest, TheUserInterfaceRecordIsThePanelStreamThenTheBaseRecord) {
  CBEUI* uiBlock = AddUIBlock(&scheme);
  uiBlock->rect = RECT{5, 6, 205, 106};
  CVelkUIControl* item = CreatePanelItem(uiBlock->panel, kIndicatorRow);
  item->SetName(L"Т");
  CMemoryStream record;
  uiBlock->Save(&record);
  CMemoryStream panelOnly;
  uiBlock->panel->Save(&panelOnly);
  CMemoryStream baseOnly;
  uiBlock->CBEBlock::Save(&baseOnly);
  ASSERT_EQ(panelOnly.size + baseOnly.size, record.size);
  EXPECT_EQ(0, memcmp(record.data, panelOnly.data, panelOnly.size));
  EXPECT_EQ(0, memcmp(record.data + panelOnly.size, baseOnly.data, baseOnly.size));
  EXPECT_EQ(0, memcmp(record.data, kPanelStreamMagic, 4));
  // Read back into another block: the item and the rectangle.
  BeScheme other;
  other.Init(&ui.catalogue);
  CBEUI* copy = AddUIBlock(&other);
  record.position = 0;
  EXPECT_TRUE(copy->Load(&record));
  EXPECT_EQ(record.size, record.position);
  ASSERT_EQ(1, copy->panel->ItemCount());
  EXPECT_STREQ(L"Т", copy->panel->items->name);
  EXPECT_EQ(5, copy->rect.left);
  EXPECT_EQ(106, copy->rect.bottom);
  other.DeleteBlocks(true);
}
