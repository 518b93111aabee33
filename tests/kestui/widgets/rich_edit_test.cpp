// The rich edit: its text through memory and files, its colours, and the
// stream callbacks on their own (bounds, growth, failing file calls).
#include <windows.h>
#include <richedit.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/buffers.h"
#include "kestui/widgets/kest_rich_edit.h"
#include "widgets_fixture.h"

using namespace widgettest;

namespace {

using RichEditTest = WidgetFormTest<400, 300>;

const wchar_t kText[] = L"Схема робота\r\nвторая строка: R1 = 10 кОм";

std::wstring TextOf(CKestRichEdit* edit) {
  wchar_t* text = edit->GetText();
  std::wstring result = text ? text : L"";
  FreeBuffer(text);
  return result;
}

CKestRichEdit* MakeEdit(WidgetForm* form, int y) {
  return new CKestRichEdit(form, 4, KestPos(10, y), 300, 80, false, true, true);
}

TEST_F(RichEditTest, RoundTripThroughMemory) {
  CKestRichEdit* first = MakeEdit(form, 10);
  ASSERT_NE(nullptr, first->GetHandle());
  first->SetText(kText);
  const std::wstring shown = TextOf(first);
  ASSERT_FALSE(shown.empty());

  ASSERT_TRUE(first->SaveToMemory(SF_RTF));
  ASSERT_GT(first->GetSavedSize(), 5u);
  EXPECT_EQ(0, memcmp(first->GetSavedData(), "{\\rtf", 5));
  CKestRichEdit* second = MakeEdit(form, 100);
  ASSERT_TRUE(second->LoadFromMemory(first->GetSavedData(), first->GetSavedSize(), SF_RTF));
  EXPECT_EQ(shown, TextOf(second));

  // Plain UTF-16 text as well.
  ASSERT_TRUE(first->SaveToMemory(SF_TEXT | SF_UNICODE));
  std::wstring plain(reinterpret_cast<const wchar_t*>(first->GetSavedData()),
                     first->GetSavedSize() / sizeof(wchar_t));
  EXPECT_NE(std::wstring::npos, plain.find(L"вторая строка: R1 = 10 кОм"));
  ASSERT_TRUE(second->LoadFromMemory(first->GetSavedData(), first->GetSavedSize(),
                                     SF_TEXT | SF_UNICODE));
  EXPECT_EQ(shown, TextOf(second));

  // An empty source empties the edit.
  ASSERT_TRUE(second->LoadFromMemory(nullptr, 0, SF_TEXT));
  EXPECT_EQ(L"", TextOf(second));
  EXPECT_FALSE(second->LoadFromMemory(nullptr, 4, SF_TEXT));
}

TEST_F(RichEditTest, EveryTruncationOfASavedTextLoadsWithoutHarm) {
  CKestRichEdit* first = MakeEdit(form, 10);
  first->SetText(kText);
  ASSERT_TRUE(first->SaveToMemory(SF_RTF));
  std::vector<uint8_t> bytes(first->GetSavedData(), first->GetSavedData() + first->GetSavedSize());
  CKestRichEdit* second = MakeEdit(form, 100);
  for (size_t n = 0; n <= bytes.size(); ++n) {
    // Each cut copy lives in a block of exactly n bytes.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    second->LoadFromMemory(cut.data(), cut.size(), SF_RTF);
    EXPECT_LE(TextOf(second).size(), TextOf(first).size()) << n;
  }
  EXPECT_EQ(TextOf(first), TextOf(second));
}

TEST_F(RichEditTest, RoundTripThroughAFileAndFailures) {
  velktest::TempFolder folder;
  const std::wstring path = folder.File(L"текст.rtf");
  CKestRichEdit* first = MakeEdit(form, 10);
  first->SetText(kText);
  ASSERT_TRUE(first->SaveToFile(path.c_str(), SF_RTF));
  std::vector<uint8_t> saved = velktest::ReadWholeFile(path);
  ASSERT_GT(saved.size(), 5u);
  EXPECT_EQ(0, memcmp(saved.data(), "{\\rtf", 5));
  CKestRichEdit* second = MakeEdit(form, 100);
  ASSERT_TRUE(second->LoadFromFile(path.c_str(), SF_RTF));
  EXPECT_EQ(TextOf(first), TextOf(second));

  // A missing file or folder is a failure and the text stays.
  EXPECT_FALSE(second->LoadFromFile(folder.File(L"нет.rtf").c_str(), SF_RTF));
  EXPECT_FALSE(second->SaveToFile(folder.File(L"нет\\папки.rtf").c_str(), SF_RTF));
  EXPECT_FALSE(second->LoadFromFile(nullptr, SF_RTF));
  EXPECT_EQ(TextOf(first), TextOf(second));
}

TEST_F(RichEditTest, BackgroundColourGoesToTheControl) {
  CKestRichEdit* edit = MakeEdit(form, 10);
  edit->SetBackColor(RGB(10, 20, 30));
  EXPECT_EQ(RGB(10, 20, 30), edit->GetBackColor());
  // EM_SETBKGNDCOLOR answers the colour set before.
  EXPECT_EQ(RGB(10, 20, 30),
            static_cast<COLORREF>(SendMessageW(edit->GetHandle(), EM_SETBKGNDCOLOR, 0, RGB(1, 1, 1))));
  edit->SetText(L"abc");
  edit->SetTextColor(RGB(200, 0, 0));
  CHARFORMAT2W format = {};
  format.cbSize = sizeof(format);
  SendMessageW(edit->GetHandle(), EM_SETSEL, 0, -1);
  SendMessageW(edit->GetHandle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(RGB(200, 0, 0), format.crTextColor);
  EXPECT_TRUE(edit->SetParagraphAlignment(PFA_CENTER));
  // Enter makes new lines.
  EXPECT_TRUE(SendMessageW(edit->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
}

TEST_F(RichEditTest, MemoryReaderNeverReadsPastItsSource) {
  // The source is followed by bytes it does not own.
  std::vector<uint8_t> block = {'a', 'b', 'c', 'd', 'e', 0xCC, 0xCC, 0xCC};
  KestRichEditSource source = {block.data(), 5, 0};
  uint8_t buffer[16];
  std::vector<uint8_t> read;
  const LONG chunks[] = {2, 0, 2, 7, 7};
  for (LONG chunk : chunks) {
    memset(buffer, 0x55, sizeof(buffer));
    LONG done = -1;
    ASSERT_EQ(0u, KestRichEditReadMemory(reinterpret_cast<DWORD_PTR>(&source), buffer, chunk, &done));
    ASSERT_GE(done, 0);
    ASSERT_LE(done, chunk);
    read.insert(read.end(), buffer, buffer + done);
    EXPECT_EQ(0x55, buffer[done]);  // nothing written beyond what was read
  }
  EXPECT_EQ((std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e'}), read);
  EXPECT_EQ(5u, source.position);
  // Bad arguments fail without touching anything.
  LONG done = 9;
  EXPECT_EQ(1u, KestRichEditReadMemory(0, buffer, 4, &done));
  EXPECT_EQ(0, done);
  EXPECT_EQ(1u, KestRichEditReadMemory(reinterpret_cast<DWORD_PTR>(&source), buffer, -1, &done));
  KestRichEditSource broken = {block.data(), 5, 6};
  EXPECT_EQ(1u, KestRichEditReadMemory(reinterpret_cast<DWORD_PTR>(&broken), buffer, 4, &done));
  EXPECT_EQ(0, done);
}

TEST_F(RichEditTest, MemoryWriterGrowsItsBlock) {
  KestRichEditBuffer target = {nullptr, 0, 0};
  std::vector<uint8_t> expected;
  uint8_t chunk[3000];
  for (int round = 0; round < 5; ++round) {
    memset(chunk, 'a' + round, sizeof(chunk));
    LONG done = 0;
    ASSERT_EQ(0u, KestRichEditWriteMemory(reinterpret_cast<DWORD_PTR>(&target), chunk,
                                          sizeof(chunk), &done));
    EXPECT_EQ(static_cast<LONG>(sizeof(chunk)), done);
    expected.insert(expected.end(), chunk, chunk + sizeof(chunk));
  }
  EXPECT_TRUE(velktest::BytesEqual(target.data, target.size, expected));
  EXPECT_GE(target.capacity, target.size);
  LONG done = 7;
  EXPECT_EQ(1u, KestRichEditWriteMemory(reinterpret_cast<DWORD_PTR>(&target), chunk, -5, &done));
  EXPECT_EQ(0, done);
  EXPECT_EQ(1u, KestRichEditWriteMemory(0, chunk, 5, &done));
  EXPECT_EQ(expected.size(), target.size);
  FreeBuffer(target.data);
}

TEST_F(RichEditTest, FailingFileCallsAnswerOne) {
  uint8_t buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  LONG done = 5;
  EXPECT_EQ(1u, KestRichEditReadFile(reinterpret_cast<DWORD_PTR>(INVALID_HANDLE_VALUE), buffer, 8, &done));
  EXPECT_EQ(0, done);
  EXPECT_EQ(1u, KestRichEditWriteFile(0, buffer, 8, &done));

  velktest::TempFolder folder;
  const std::wstring path = folder.File(L"поток.bin");
  // A file open only for writing cannot be read, and the other way round.
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  EXPECT_EQ(0u, KestRichEditWriteFile(reinterpret_cast<DWORD_PTR>(file), buffer, 8, &done));
  EXPECT_EQ(8, done);
  EXPECT_EQ(1u, KestRichEditReadFile(reinterpret_cast<DWORD_PTR>(file), buffer, 8, &done));
  CloseHandle(file);
  file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  EXPECT_EQ(1u, KestRichEditWriteFile(reinterpret_cast<DWORD_PTR>(file), buffer, 8, &done));
  uint8_t back[16] = {};
  EXPECT_EQ(0u, KestRichEditReadFile(reinterpret_cast<DWORD_PTR>(file), back, 16, &done));
  EXPECT_EQ(8, done);
  EXPECT_EQ(0, memcmp(back, buffer, 8));
  EXPECT_EQ(0u, KestRichEditReadFile(reinterpret_cast<DWORD_PTR>(file), back, 16, &done));
  EXPECT_EQ(0, done);  // the end of the file
  CloseHandle(file);
}

}  // namespace
