// The five control items: creation with their blocks, records, properties,
// run-time operations and drawing.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "blocks/engine/output_pin.h"
#include "blocks/panel/items/control_item_support.h"
#include "blocks/panel/items/velk_ui_button.h"
#include "blocks/panel/items/velk_ui_indicator.h"
#include "blocks/panel/items/velk_ui_joystick.h"
#include "blocks/panel/items/velk_ui_trackbar.h"
#include "blocks/panel/items/velk_ui_video.h"
#include "blocks/panel/ui_blocks/be_ui_button.h"
#include "blocks/panel/ui_property.h"
#include "blocks/panel/ui_property_list.h"
#include "foundation/buffers.h"
#include "foundation/memory_stream.h"
#include "kestui/containers/kest_container.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_paintbox.h"
#include "gl_target.h"
#include "kestui/graphics/kest_canvas.h"
#include "support/test_support.h"
#include "ui_block_fixture.h"

using namespace uitest;

namespace {

// Holds Ctrl down for this thread's key state while alive.
class CtrlHeld {
public:
  CtrlHeld() {
    GetKeyboardState(saved_);
    BYTE keys[256];
    memcpy(keys, saved_, sizeof(keys));
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
  }
  ~CtrlHeld() { SetKeyboardState(saved_); }

private:
  BYTE saved_[256];
};

std::vector<uint8_t> Bytes(const CMemoryStream& s) {
  return std::vector<uint8_t>(s.data, s.data + s.size);
}

std::vector<uint8_t> RecordOf(CVelkUIControl* item) {
  CMemoryStream s;
  item->Save(&s);
  return Bytes(s);
}

std::wstring ScreenshotFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring bin = exe.substr(0, exe.find_last_of(L"\\/"));
  std::wstring folder = bin.substr(0, bin.find_last_of(L"\\/") + 1) + L"screenshots\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

class ControlItemTest : public UiBlockTest {
protected:
  void SetUp() override {
    UiBlockTest::SetUp();
    uiBlock = AddUIBlock(&scheme);
    panel = uiBlock->panel;
  }
  template <class T>
  T* Add(int row) {
    return static_cast<T*>(CreatePanelItem(panel, row));
  }
  CBEUI* uiBlock = nullptr;
  UiPanel* panel = nullptr;
};

}  // namespace

TEST_F(ControlItemTest, EachKindMakesItsItemAtItsDefaultSize) {
  struct Row {
    int row;
    const wchar_t* kind;
    int width, height;
  } rows[] = {{kButtonRow, L"Кнопка", 104, 32},
              {kTrackBarRow, L"Ползунок", 40, 104},
              {kJoystickRow, L"Джойстик", 100, 100},
              {kVideoRow, L"Видео", 320, 240},
              {kIndicatorRow, L"Индикатор", 64, 20}};
  for (const Row& row : rows) {
    CVelkUIControl* item = CreatePanelItem(panel, row.row);
    ASSERT_NE(nullptr, item) << row.row;
    EXPECT_STREQ(row.kind, item->kindName);
    EXPECT_EQ(row.width, item->width);
    EXPECT_EQ(row.height, item->height);
    EXPECT_EQ(nullptr, item->block);
  }
  CVelkUIControl* made = panel->items;
  EXPECT_NE(nullptr, dynamic_cast<CVelkUIButton*>(made));
  EXPECT_NE(nullptr, dynamic_cast<CVelkUITrackBar*>(made->next));
  EXPECT_NE(nullptr, dynamic_cast<CVelkUIJoystick*>(made->next->next));
  EXPECT_NE(nullptr, dynamic_cast<CVelkUIVideo*>(made->next->next->next));
  EXPECT_NE(nullptr, dynamic_cast<CVelkUIIndicator*>(made->next->next->next->next));
  auto* button = static_cast<CVelkUIButton*>(panel->items);
  EXPECT_STREQ(L"Кнопка", button->text);
  EXPECT_STREQ(L"Arial", button->fontName);
  EXPECT_EQ(16, button->fontSize);
  EXPECT_EQ(0xAAAAAAu, button->buttonColor);
  EXPECT_EQ(0xFF6633u, button->pressedColor);
  auto* slider = static_cast<CVelkUITrackBar*>(button->next);
  EXPECT_EQ(1, slider->vertical);
  EXPECT_EQ(-1.0f, slider->topValue);
  EXPECT_EQ(0.25f, slider->tickStep);
  auto* indicator = static_cast<CVelkUIIndicator*>(panel->Tail());
  EXPECT_EQ(3, indicator->decimals);
  EXPECT_STREQ(L"", indicator->text);
}

TEST_F(ControlItemTest, ItemCreatesRenamesAndDeletesItsBlock) {
  struct Row {
    int row;
    unsigned int classId;
    const wchar_t* first;
    const wchar_t* second;
  } rows[] = {{kButtonRow, kUIButtonBlockClassId, L"Кнопка1", L"Кнопка2"},
              {kTrackBarRow, kUITrackBarBlockClassId, L"Ползунок1", L"Ползунок2"},
              {kJoystickRow, kUIJoystickBlockClassId, L"Джойстик1", L"Джойстик2"},
              {kVideoRow, kUIVideoBlockClassId, L"Видео1", L"Видео2"},
              {kIndicatorRow, kUIIndicatorBlockClassId, L"Индикатор1", L"Индикатор2"}};
  for (const Row& row : rows) {
    CVelkUIControl* item = CreatePanelItem(panel, row.row);
    item->MakeUniqueName();
    item->CreateBlock();
    ASSERT_NE(nullptr, item->block) << row.row;
    EXPECT_EQ(row.classId, item->block->GetClassId());
    EXPECT_STREQ(row.first, item->block->caption);
    EXPECT_EQ(item, static_cast<CBEUIControl*>(item->block)->item);
    EXPECT_EQ(item->block, scheme.FindDeviceBlock(row.first));
    CBEBlock* block = item->block;
    item->CreateBlock();  // a second call makes no second block
    EXPECT_EQ(block, item->block);
    EXPECT_EQ(1, CountClass(&scheme, row.classId));
    item->MakeUniqueName();
    EXPECT_STREQ(row.second, block->caption);
    delete item;
    EXPECT_EQ(0, CountClass(&scheme, row.classId));
  }
  EXPECT_EQ(1, scheme.GetBlockCount());  // the user-interface block
}

TEST_F(ControlItemTest, PastedControlsAreRenamedAndGetBlocksOfTheirNewNames) {
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->MakeUniqueName();
  button->CreateBlock();
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->SetName(L"Газ");
  slider->CreateBlock();
  slider->topValue = 5.0f;
  panel->SetAllSelected(true);
  CMemoryStream set;
  panel->WriteItems(&set, true);
  set.position = 0;
  ASSERT_TRUE(panel->ReadItems(&set, true));
  ASSERT_EQ(4, panel->ItemCount());
  CVelkUIControl* pastedButton = button->next->next;
  CVelkUIControl* pastedSlider = pastedButton->next;
  EXPECT_STREQ(L"Кнопка2", pastedButton->name);
  EXPECT_STREQ(L"Ползунок1", pastedSlider->name);
  ASSERT_NE(nullptr, pastedButton->block);
  EXPECT_STREQ(L"Кнопка2", pastedButton->block->caption);
  ASSERT_NE(nullptr, pastedSlider->block);
  EXPECT_EQ(kUITrackBarBlockClassId, pastedSlider->block->GetClassId());
  EXPECT_EQ(5.0f, static_cast<CVelkUITrackBar*>(pastedSlider)->topValue);
  EXPECT_EQ(5, scheme.GetBlockCount());
}

TEST_F(ControlItemTest, DeletingTheBlockFirstLeavesTheItemWithoutOne) {
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->CreateBlock();
  delete button->block;
  EXPECT_EQ(nullptr, button->block);
  delete button;
  EXPECT_EQ(1, scheme.GetBlockCount());
}

TEST_F(ControlItemTest, AnItemStaysWithoutABlockWhenTheSchemeCannotMakeIt) {
  BeCatalogue empty;
  empty.AddGroup(nullptr);
  BeScheme bare;
  bare.Init(&empty);
  UiPanel lonely(&bare);
  CVelkUIControl* item = CreatePanelItem(&lonely, kJoystickRow);
  item->MakeUniqueName();
  item->CreateBlock();
  EXPECT_EQ(nullptr, item->block);
  EXPECT_EQ(0, bare.GetBlockCount());
  EXPECT_EQ(1u, host.texts.size());  // the scheme told the user
}

TEST_F(ControlItemTest, ButtonRecordHasTheFieldsInOrder) {
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->x = 1;
  button->y = 2;
  button->width = 3;
  button->height = 4;
  button->latching = 1;
  button->group = 2;
  ReplaceString(&button->text, L"A");
  ReplaceString(&button->fontName, L"B");
  button->fontStyle = 5;
  EXPECT_TRUE(velktest::BytesEqual(RecordOf(button), velktest::ParseHex(R"(
      00 00  00 00                      // no name, no hint
      01 00 00 00  02 00 00 00  03 00 00 00  04 00 00 00
      01                                // latching
      02 00 00 00                       // group
      41 00 00 00                       // "A"
      00                                // not pressed
      42 00 00 00                       // "B"
      05                                // style
      10 00                             // size 16
      00 00 00 00  AA AA AA 00  33 66 FF 00)")));
}

TEST_F(ControlItemTest, SliderJoystickVideoAndIndicatorRecords) {
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->width = 0x28;
  slider->height = 0x68;
  EXPECT_TRUE(velktest::BytesEqual(RecordOf(slider), velktest::ParseHex(R"(
      00 00 00 00  00 00 00 00  00 00 00 00  28 00 00 00  68 00 00 00
      01  14 00 00 00  0C 00 00 00  05 00 00 00  00
      00 00 00 00  00 00 00 00  00 00 80 BF  00 00 80 3F
      01  00 00 80 3E)")));
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);
  joystick->maxX = 2.0f;
  joystick->maxY = 0.5f;
  joystick->axisLock = 1;
  joystick->autoReturn = 0;
  EXPECT_TRUE(velktest::BytesEqual(RecordOf(joystick), velktest::ParseHex(R"(
      00 00 00 00  00 00 00 00  00 00 00 00  64 00 00 00  64 00 00 00
      00 00 00 40  00 00 00 3F  01  00)")));
  auto* video = Add<CVelkUIVideo>(kVideoRow);
  EXPECT_TRUE(velktest::BytesEqual(RecordOf(video), velktest::ParseHex(R"(
      00 00 00 00  00 00 00 00  00 00 00 00  40 01 00 00  F0 00 00 00)")));
  auto* indicator = Add<CVelkUIIndicator>(kIndicatorRow);
  indicator->decimals = 7;
  EXPECT_TRUE(velktest::BytesEqual(RecordOf(indicator), velktest::ParseHex(R"(
      00 00 00 00  00 00 00 00  00 00 00 00  40 00 00 00  14 00 00 00  07)")));
}

TEST_F(ControlItemTest, RecordsReadBackAndEveryCutRecordFailsWithoutHarm) {
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->SetName(L"Пуск");
  ReplaceString(&button->hint, L"Запуск мотора");
  button->latching = 1;
  button->group = -3;
  button->pressed = 1;
  button->fontStyle = 7;
  button->fontSize = 44;
  button->textColor = 0x123456;
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->vertical = 0;
  slider->thumbWidth = 30;
  slider->defaultValue = 0.5f;
  slider->step = 0.1f;
  slider->topValue = 10.0f;
  slider->bottomValue = -10.0f;
  slider->showTicks = 0;
  slider->tickStep = 2.0f;
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);
  joystick->maxX = 3.0f;
  joystick->autoReturn = 0;
  auto* video = Add<CVelkUIVideo>(kVideoRow);
  video->x = 17;
  auto* indicator = Add<CVelkUIIndicator>(kIndicatorRow);
  indicator->decimals = 12;
  const int rows[] = {kButtonRow, kTrackBarRow, kJoystickRow, kVideoRow, kIndicatorRow};
  CVelkUIControl* original = panel->items;
  UiPanel other(&scheme);
  for (int row : rows) {
    std::vector<uint8_t> record = RecordOf(original);
    CVelkUIControl* copy = CreatePanelItem(&other, row);
    CMemoryStream in;
    in.Write(record.data(), static_cast<int>(record.size()));
    in.position = 0;
    EXPECT_TRUE(copy->Load(&in)) << row;
    EXPECT_EQ(static_cast<int>(record.size()), in.position);
    EXPECT_TRUE(velktest::BytesEqual(RecordOf(copy), record)) << row;
    for (size_t cut = 0; cut < record.size(); ++cut) {
      CVelkUIControl* partial = CreatePanelItem(&other, row);
      CMemoryStream shorter;
      shorter.Write(record.data(), static_cast<int>(cut));
      shorter.position = 0;
      EXPECT_FALSE(partial->Load(&shorter)) << row << " cut at " << cut;
      EXPECT_LE(shorter.position, static_cast<int>(cut));
      delete partial;
    }
    original = original->next;
  }
  // The slider's value restarts at its default value.
  auto* loadedSlider = static_cast<CVelkUITrackBar*>(other.items->next);
  EXPECT_EQ(0.5f, loadedSlider->value);
  EXPECT_STREQ(L"Запуск мотора", other.items->hint);
}

TEST_F(ControlItemTest, IndicatorDecimalsAreBroughtIntoRangeOnLoad) {
  const struct {
    int stored;
    int loaded;
  } rows[] = {{0, 0}, {15, 15}, {16, 15}, {127, 15}, {-1, 0}, {-128, 0}};
  for (const auto& row : rows) {
    auto* indicator = Add<CVelkUIIndicator>(kIndicatorRow);
    std::vector<uint8_t> record = RecordOf(indicator);
    record.back() = static_cast<uint8_t>(row.stored);
    CMemoryStream in;
    in.Write(record.data(), static_cast<int>(record.size()));
    in.position = 0;
    EXPECT_TRUE(indicator->Load(&in));
    EXPECT_EQ(row.loaded, indicator->decimals) << row.stored;
  }
}

TEST_F(ControlItemTest, PropertiesOfEachKindInOrder) {
  struct Row {
    int row;
    std::vector<std::wstring> labels;
  } rows[] = {
      {kButtonRow,
       {L"Название:", L"Подсказка:", L"X:", L"Y:", L"Ширина:", L"Высота:", L"Текст:", L"Фиксируемая:",
        L"Нажата:", L"Группа:", L"Шрифт:", L"Стиль шрифта:", L"Размер шрифта:", L"Цвет текста:",
        L"Цвет кнопки:", L"Цвет в наж.сост.:"}},
      {kTrackBarRow,
       {L"Название:", L"Подсказка:", L"X:", L"Y:", L"Ширина:", L"Высота:", L"Вертикальный:",
        L"Ширина канавки:", L"Ширина ползунка:", L"Размер ползунка:", L"Автовозврат:",
        L"Знач.по умолч.:", L"Шаг:", L"Верх/лев.значение:", L"Нижн/прав.значение:", L"Показать риски:",
        L"Шиг рисок:"}},
      {kJoystickRow,
       {L"Название:", L"Подсказка:", L"X:", L"Y:", L"Макс. знач. X:", L"Макс. знач. Y:",
        L"Привязка к осям:", L"Автовозврат:"}},
      {kVideoRow, {L"Название:", L"Подсказка:", L"X:", L"Y:", L"Ширина:", L"Высота:"}},
      {kIndicatorRow,
       {L"Название:", L"Подсказка:", L"X:", L"Y:", L"Ширина:", L"Высота:", L"Цифр после зап.:"}},
  };
  for (const Row& row : rows) {
    CVelkUIControl* item = CreatePanelItem(panel, row.row);
    UiPropertyList list;
    list.Init();
    list.owner = item;
    item->BuildProperties(&list);
    ASSERT_EQ(static_cast<int>(row.labels.size()), list.count) << row.row;
    for (int i = 0; i < list.count; ++i) EXPECT_EQ(row.labels[i], list.At(i)->label) << row.row;
  }
  // Types, fields and ranges of a few.
  auto* button = static_cast<CVelkUIButton*>(panel->items);
  UiPropertyList list;
  list.Init();
  list.owner = button;
  button->BuildProperties(&list);
  EXPECT_EQ(UiPropBool, list.At(7)->type);
  EXPECT_EQ(&button->latching, list.At(7)->value);
  EXPECT_FALSE(list.At(9)->ranged);
  EXPECT_EQ(UiPropFontName, list.At(10)->type);
  EXPECT_EQ(UiPropFontStyle, list.At(11)->type);
  EXPECT_TRUE(list.At(12)->ranged);
  EXPECT_EQ(5, list.At(12)->min.i);
  EXPECT_EQ(100, list.At(12)->max.i);
  EXPECT_EQ(UiPropColor, list.At(15)->type);
  EXPECT_EQ(&button->pressedColor, list.At(15)->value);
  auto* slider = static_cast<CVelkUITrackBar*>(button->next);
  UiPropertyList sliderList;
  sliderList.Init();
  sliderList.owner = slider;
  slider->BuildProperties(&sliderList);
  EXPECT_EQ(&slider->grooveWidth, sliderList.At(7)->value);
  EXPECT_EQ(32, sliderList.At(7)->max.i);
  EXPECT_EQ(1e24f, sliderList.At(12)->max.f);
  EXPECT_EQ(0.0001f, sliderList.At(16)->min.f);
  auto* joystick = static_cast<CVelkUIJoystick*>(slider->next);
  UiPropertyList joystickList;
  joystickList.Init();
  joystickList.owner = joystick;
  joystick->BuildProperties(&joystickList);
  EXPECT_EQ(0.00001f, joystickList.At(4)->min.f);
  EXPECT_EQ(1e10f, joystickList.At(5)->max.f);
  EXPECT_EQ(&joystick->maxY, joystickList.At(5)->value);
}

TEST_F(ControlItemTest, ButtonPressesReleasesLatchesAndGroups) {
  auto* button = Add<CVelkUIButton>(kButtonRow);  // at (0, 0), 104 x 32
  // Plain: pressed while held, released on the release inside.
  button->OnMouseDown(10, 10);
  EXPECT_EQ(1, button->pressed);
  button->OnMouseMove(200, 10);  // dragged off: back to its latched state
  EXPECT_EQ(0, button->pressed);
  button->OnMouseMove(103, 31);  // inside again
  EXPECT_EQ(1, button->pressed);
  button->OnMouseUp(10, 10);
  EXPECT_EQ(0, button->pressed);
  EXPECT_EQ(0, button->captured);
  button->OnMouseMove(10, 10);  // not captured: nothing
  EXPECT_EQ(0, button->pressed);
  // Latching: pressed and released twice ends released, once ends pressed.
  button->latching = 1;
  button->OnMouseDown(10, 10);
  button->OnMouseUp(10, 10);
  EXPECT_EQ(1, button->pressed);
  button->OnMouseDown(10, 10);
  button->OnMouseUp(10, 10);
  EXPECT_EQ(0, button->pressed);
  // Released outside: keeps its state.
  button->latching = 0;
  button->OnMouseDown(10, 10);
  button->OnMouseUp(104, 10);
  EXPECT_EQ(1, button->pressed);
  button->pressed = 0;
  // Released with Ctrl held: a plain button stays pressed.
  button->OnMouseDown(10, 10);
  {
    CtrlHeld ctrl;
    button->OnMouseUp(10, 10);
  }
  EXPECT_EQ(1, button->pressed);
  button->pressed = 0;
  // Keys: Enter and Space press and release; other keys do nothing.
  button->OnKeyDown(VK_RETURN);
  EXPECT_EQ(1, button->pressed);
  button->OnKeyUp(VK_RETURN);
  EXPECT_EQ(0, button->pressed);
  button->OnKeyDown('A');
  EXPECT_EQ(0, button->pressed);
  button->OnKeyDown(VK_SPACE);
  {
    CtrlHeld ctrl;
    button->OnKeyUp(VK_SPACE);
  }
  EXPECT_EQ(1, button->pressed);
  button->pressed = 0;
  // Groups: pressing the second of group 1 releases the first.
  auto* second = Add<CVelkUIButton>(kButtonRow);
  auto* other = Add<CVelkUIButton>(kButtonRow);
  button->group = 1;
  second->group = 1;
  other->group = 2;
  button->latching = second->latching = 1;
  button->OnMouseDown(1, 1);
  button->OnMouseUp(1, 1);
  other->pressed = 1;
  EXPECT_EQ(1, button->pressed);
  second->OnMouseDown(1, 1);
  second->OnMouseUp(1, 1);
  EXPECT_EQ(0, button->pressed);
  EXPECT_EQ(1, second->pressed);
  EXPECT_EQ(1, other->pressed);
  // Group 0 is no group.
  other->group = 0;
  auto* loose = Add<CVelkUIButton>(kButtonRow);
  loose->pressed = 1;
  other->OnKeyDown(VK_RETURN);
  EXPECT_EQ(1, loose->pressed);
}

TEST_F(ControlItemTest, SliderConvertsBetweenValuesAndPixels) {
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->height = 104;
  struct ToPixel {
    float value;
    int pixel;
  } toPixel[] = {{-1.0f, 8}, {1.0f, 96}, {0.0f, 52}, {0.5f, 74}, {-2.0f, -36}};
  for (const auto& row : toPixel) EXPECT_EQ(row.pixel, slider->ValueToPixel(row.value)) << row.value;
  struct ToValue {
    float step;
    int pixel;
    float value;
  } toValue[] = {{0.0f, 8, -1.0f}, {0.0f, 96, 1.0f}, {0.0f, 52, 0.0f}, {0.0f, 0, -1.0f},
                 {0.0f, 500, 1.0f}, {0.5f, 65, 0.5f}, {0.5f, 40, -0.5f}, {0.5f, 96, 1.0f}};
  for (const auto& row : toValue) {
    slider->step = row.step;
    EXPECT_FLOAT_EQ(row.value, slider->PixelToValue(row.pixel)) << row.step << " " << row.pixel;
  }
  slider->step = 0.0f;
  // Horizontal, at x = 100, reversed range.
  slider->vertical = 0;
  slider->x = 100;
  slider->width = 104;
  slider->topValue = 1.0f;
  slider->bottomValue = -1.0f;
  EXPECT_EQ(108, slider->ValueToPixel(1.0f));
  EXPECT_EQ(196, slider->ValueToPixel(-1.0f));
  EXPECT_FLOAT_EQ(0.5f, slider->PixelToValue(130));
  EXPECT_FLOAT_EQ(-1.0f, slider->PixelToValue(1000));
  EXPECT_FLOAT_EQ(1.0f, slider->PixelToValue(-1000));
  // Degenerate: equal ends, a track too short for its margins.
  slider->topValue = slider->bottomValue = 2.0f;
  EXPECT_EQ(108, slider->ValueToPixel(5.0f));
  EXPECT_FLOAT_EQ(2.0f, slider->PixelToValue(150));
  slider->topValue = -1.0f;
  slider->bottomValue = 1.0f;
  for (int length : {16, 10, 1}) {
    slider->width = length;
    float v = slider->PixelToValue(105);
    EXPECT_FLOAT_EQ(-1.0f, v) << length;
    slider->ValueToPixel(0.3f);
  }
}

TEST_F(ControlItemTest, SliderDragsTheThumbAndReturnsToItsDefault) {
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);  // vertical, 40 x 104 at (0, 0)
  slider->OnMouseDown(20, 90);  // far from the thumb at 52
  EXPECT_EQ(0, slider->dragging);
  slider->OnMouseDown(75, 52);  // too far across
  EXPECT_EQ(0, slider->dragging);
  slider->OnMouseDown(25, 55);  // on the thumb, 3 below its centre
  ASSERT_EQ(1, slider->dragging);
  EXPECT_EQ(3, slider->grabOffset);
  slider->OnMouseMove(25, 99);  // the thumb to 96: the bottom value
  EXPECT_FLOAT_EQ(1.0f, slider->value);
  slider->OnMouseUp(25, 99);
  EXPECT_FLOAT_EQ(1.0f, slider->value);
  EXPECT_EQ(0, slider->dragging);
  slider->OnMouseMove(25, 10);  // not dragging: nothing
  EXPECT_FLOAT_EQ(1.0f, slider->value);
  slider->autoReturn = 1;
  slider->defaultValue = 0.25f;
  slider->OnMouseDown(20, 96);
  slider->OnMouseMove(20, 8);
  EXPECT_FLOAT_EQ(-1.0f, slider->value);
  slider->OnMouseUp(20, 8);
  EXPECT_FLOAT_EQ(0.25f, slider->value);
}

TEST_F(ControlItemTest, SliderTicksStepFromTheDefaultTowardBothEndsAtMostOnePerPixel) {
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  int ticks[256];
  int count = slider->TickPixels(ticks, 256);
  ASSERT_EQ(9, count);
  EXPECT_EQ(52, ticks[0]);
  std::vector<int> rest(ticks + 1, ticks + count);
  std::sort(rest.begin(), rest.end());
  EXPECT_EQ((std::vector<int>{8, 19, 30, 41, 63, 74, 85, 96}), rest);
  // A tick step far below a pixel: thinned to at most one per pixel.
  slider->tickStep = 0.0001f;
  count = slider->TickPixels(ticks, 256);
  EXPECT_GT(count, 40);
  EXPECT_LE(count, 89);
  for (int i = 2; i < count; ++i) EXPECT_NE(ticks[i - 1], ticks[i]) << i;
  // No tick step, or equal ends: only the default's tick, or none.
  slider->tickStep = 0.0f;
  EXPECT_EQ(0, slider->TickPixels(ticks, 256));
  slider->tickStep = 0.5f;
  slider->topValue = slider->bottomValue = 1.0f;
  EXPECT_EQ(1, slider->TickPixels(ticks, 256));
}

TEST_F(ControlItemTest, JoystickFollowsTheDragWithinItsTravel) {
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);  // 100 x 100 at (0, 0), centre (50, 50)
  joystick->maxX = 2.0f;
  joystick->OnMouseDown(80, 50);  // far from the knob
  EXPECT_EQ(0, joystick->dragging);
  joystick->OnMouseDown(52, 47);
  ASSERT_EQ(1, joystick->dragging);
  EXPECT_EQ(2, joystick->grabX);
  EXPECT_EQ(-3, joystick->grabY);
  struct Row {
    int dx, dy;  // from the grab point
    unsigned char lock;
    float x, y;
  } rows[] = {{60, 0, 0, 2.0f, 0.0f},      {20, 0, 0, 1.0f, 0.0f},   {0, -40, 0, 0.0f, 1.0f},
              {0, 100, 0, 0.0f, -1.0f},    {30, -10, 1, 1.5f, 0.0f}, {10, -30, 1, 0.0f, 0.75f},
              {-20, -20, 1, 0.0f, 0.5f},   {-40, 40, 0, -2.0f, -1.0f}};
  for (const Row& row : rows) {
    joystick->axisLock = row.lock;
    joystick->OnMouseMove(52 + row.dx, 47 + row.dy);
    EXPECT_FLOAT_EQ(row.x, joystick->xValue) << row.dx << "," << row.dy;
    EXPECT_FLOAT_EQ(row.y, joystick->yValue) << row.dx << "," << row.dy;
  }
  // The knob now sits at the deflection: a press there grabs it again.
  joystick->OnMouseUp(0, 0);
  EXPECT_EQ(0, joystick->dragging);
  EXPECT_FLOAT_EQ(0.0f, joystick->xValue);  // auto-return
  joystick->autoReturn = 0;
  joystick->axisLock = 0;
  joystick->OnMouseDown(50, 50);
  joystick->OnMouseMove(70, 40);
  joystick->OnMouseUp(70, 40);
  EXPECT_FLOAT_EQ(1.0f, joystick->xValue);
  EXPECT_FLOAT_EQ(0.25f, joystick->yValue);
  EXPECT_EQ(20, joystick->KnobOffset().x);
  EXPECT_EQ(-10, joystick->KnobOffset().y);
  joystick->OnMouseDown(71, 41);
  EXPECT_EQ(1, joystick->dragging);
  EXPECT_EQ(1, joystick->grabX);
  // With auto-return but Ctrl held, the values stay.
  joystick->autoReturn = 1;
  {
    CtrlHeld ctrl;
    joystick->OnMouseUp(71, 41);
  }
  EXPECT_FLOAT_EQ(1.0f, joystick->xValue);
  // A maximum of 0 puts the knob at the centre instead of dividing by it.
  joystick->maxX = 0.0f;
  EXPECT_EQ(0, joystick->KnobOffset().x);
}

TEST_F(ControlItemTest, VideoMousePositionIsNormalisedToTheWindow) {
  auto* video = Add<CVelkUIVideo>(kVideoRow);
  video->x = 10;
  video->y = 20;
  struct Row {
    int px, py;
    float mx, my;
  } rows[] = {{170, 140, 0.0f, 0.0f}, {10, 20, -1.0f, -1.0f}, {330, 260, 1.0f, 1.0f},
              {90, 200, -0.5f, 0.5f}};
  for (const Row& row : rows) {
    video->OnMouseDown(row.px, row.py);
    EXPECT_FLOAT_EQ(row.mx, video->mouseX);
    EXPECT_FLOAT_EQ(row.my, video->mouseY);
  }
  video->width = 1;
  video->height = 0;
  video->OnMouseDown(500, 500);
  EXPECT_EQ(0.0f, video->mouseX);
  EXPECT_EQ(0.0f, video->mouseY);
}

TEST_F(ControlItemTest, BlendColorsReadsMinusOneAsWhite) {
  EXPECT_EQ(BlendColors(0x204080, 0xFFFFFF, 100), BlendColors(0x204080, 0xFFFFFFFF, 100));
  // Each channel (a x (256 - w) + b x w) / 256.
  EXPECT_EQ(RGB((0x80 * 52 + 255 * 204) / 256, (0x40 * 52 + 255 * 204) / 256, (0x20 * 52 + 255 * 204) / 256),
            BlendColors(RGB(0x80, 0x40, 0x20), 0xFFFFFFFF, 204));
}

TEST_F(ControlItemTest, ItemsDrawTheirLooks) {
  paneltest::Dib dib(400, 300, 0xCCCCCC);
  // Button at (10, 10), 104 x 32, without text.
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->x = 10;
  button->y = 10;
  ReplaceString(&button->text, nullptr);
  button->DrawBackground(dib.dc());
  button->DrawFace(dib.dc());  // not pressed: nothing
  EXPECT_EQ(RGB(0, 0, 0), dib.At(11, 25));  // outline
  // Row i = 10 of the face: weight (28 - 10) x 204 / 28.
  EXPECT_EQ(BlendColors(0xAAAAAA, 0xFFFFFF, 18 * 204 / 28), dib.At(50, 22));
  EXPECT_EQ(RGB(255, 255, 255), dib.At(50, 12));  // the white bevel along the top
  button->pressed = 1;
  button->DrawFace(dib.dc());
  EXPECT_EQ(BlendColors(BlendColors(0xAAAAAA, 0xFFFFFF, 18 * 204 / 28), 0xFF6633, 128), dib.At(50, 22));
  // Video: black with its caption.
  auto* video = Add<CVelkUIVideo>(kVideoRow);
  video->x = 150;
  video->y = 10;
  video->width = 200;
  video->height = 100;
  video->DrawBackground(dib.dc());
  EXPECT_EQ(RGB(0, 0, 0), dib.At(160, 20));
  video->DrawFace(dib.dc());
  bool white = false;
  for (int px = 220; px < 280; ++px)
    for (int py = 50; py < 70; ++py)
      if (dib.At(px, py) == RGB(255, 255, 255)) white = true;
  EXPECT_TRUE(white);
  // Indicator: grey left and top, white right and bottom.
  auto* indicator = Add<CVelkUIIndicator>(kIndicatorRow);
  indicator->x = 10;
  indicator->y = 60;
  indicator->DrawBackground(dib.dc());
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), dib.At(10, 70));
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), dib.At(40, 60));
  EXPECT_EQ(RGB(255, 255, 255), dib.At(74, 70));
  EXPECT_EQ(RGB(255, 255, 255), dib.At(40, 80));
  // Slider: the sunken groove and the thumb at the default value.
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->x = 100;
  slider->y = 150;
  slider->DrawBackground(dib.dc());
  EXPECT_EQ(RGB(0x66, 0x66, 0x66), dib.At(120, 160));  // inside the groove, x 118 to 123
  EXPECT_EQ(RGB(0, 0, 0), dib.At(110, 150 + 52));      // the default tick, left of the groove
  EXPECT_EQ(RGB(0, 0, 0), dib.At(127, 150 + 63));      // a tick right of the groove
  slider->DrawFace(dib.dc());
  EXPECT_EQ(RGB(0xCC, 0xCC, 0xCC), dib.At(120, 150 + 52));  // the thumb face
  // Joystick: lit first segment, shaded second; the knob's cap at the centre.
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);
  joystick->x = 250;
  joystick->y = 150;
  joystick->DrawBackground(dib.dc());
  EXPECT_EQ(RGB(0xEE, 0xEE, 0xEE), dib.At(297, 180));  // (cx - 3, cy - 20): segment 1
  EXPECT_EQ(RGB(0x66, 0x66, 0x66), dib.At(296, 160));  // segment 2
  EXPECT_EQ(RGB(0x66, 0x66, 0x66), dib.At(320, 203));  // segment 13
  joystick->DrawFace(dib.dc());
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), dib.At(300, 200));
  EXPECT_EQ(RGB(0x66, 0x66, 0x66), dib.At(300, 187));
}

TEST_F(ControlItemTest, ScreenshotOfAPanelWithEveryControl) {
  paneltest::CanvasHost canvas;
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->SetPosition(16, 16);
  auto* pressed = Add<CVelkUIButton>(kButtonRow);
  pressed->SetPosition(16, 64);
  pressed->pressed = 1;
  ReplaceString(&pressed->text, L"Нажата");
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->SetPosition(150, 16);
  auto* horizontal = Add<CVelkUITrackBar>(kTrackBarRow);
  horizontal->vertical = 0;
  horizontal->SetPosition(16, 140);
  horizontal->width = 200;
  horizontal->height = 40;
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);
  joystick->SetPosition(220, 20);
  auto* video = Add<CVelkUIVideo>(kVideoRow);
  video->SetPosition(400, 16);
  auto* indicator = Add<CVelkUIIndicator>(kIndicatorRow);
  indicator->SetPosition(16, 200);
  indicator->selected = 1;
  HWND window = canvas.box->GetHandle();
  canvas.panel = panel;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  velktest::FlushEvents();
  HDC dc = GetDC(window);
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 410, 30));  // the video's black
  EXPECT_EQ(RGB(0x99, 0x99, 0x99), GetPixel(dc, 16, 215));  // between two handles
  ReleaseDC(window, dc);
  EXPECT_TRUE(velktest::SaveWindowBitmap(canvas.frame->GetHandle(), ScreenshotFolder() + L"panel_controls.bmp"));
  canvas.panel = nullptr;
  panel->ForgetCanvas(canvas.box);
}

TEST_F(ControlItemTest, OpenGLDrawingRunsInARenderingContext) {
  paneltest::CanvasHost canvas;
  paneltest::GlTarget target(canvas.box->GetHandle());
  // Mesa's software renderer (tools/deps.sh) gives Wine its contexts.
  ASSERT_TRUE(target.Ready()) << "no OpenGL rendering context on this display";
  glViewport(0, 0, kPanelCanvasWidth, kPanelCanvasHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kPanelCanvasWidth, kPanelCanvasHeight, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  auto* button = Add<CVelkUIButton>(kButtonRow);
  button->SetPosition(10, 10);
  button->pressedColor = RGB(255, 0, 0);
  button->DrawGL();  // not pressed: nothing
  button->pressed = 1;
  auto* slider = Add<CVelkUITrackBar>(kTrackBarRow);
  slider->SetPosition(200, 10);
  auto* joystick = Add<CVelkUIJoystick>(kJoystickRow);
  joystick->SetPosition(300, 10);
  joystick->xValue = 0.5f;
  for (CVelkUIControl* item = panel->items; item; item = item->next) item->DrawGL();
  DrawGLFrame(500, 10, 540, 50, RGB(0, 0, 255), RGB(255, 255, 255), RGB(0, 0, 0));
  glFinish();
  unsigned char pixel[4] = {};
  // Row 0 of glReadPixels is the bottom of the viewport.
  glReadPixels(50, kPanelCanvasHeight - 1 - 25, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  EXPECT_EQ(255, pixel[0]);
  EXPECT_EQ(0, pixel[2]);
  glReadPixels(220, kPanelCanvasHeight - 1 - 62, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  EXPECT_EQ(0xCC, pixel[0]);  // the slider's thumb at the value 0
  glReadPixels(520, kPanelCanvasHeight - 1 - 30, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  EXPECT_EQ(255, pixel[2]);
  // The joystick's knob cap (grey 0.6) at its deflection of 20 pixels.
  glReadPixels(370, kPanelCanvasHeight - 1 - 60, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  EXPECT_NEAR(153, pixel[0], 1);
  EXPECT_EQ(GL_NO_ERROR, static_cast<int>(glGetError()));
}
