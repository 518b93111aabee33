#include "scheme/simulation/sim_log.h"

#include <gtest/gtest.h>

#include <string>

#include "scheme/model/block.h"
#include "scheme/simulation/pin_model.h"

namespace {

TEST(SimMessageLog, FormatsWideArgumentsAndReturnsTheStoredText) {
  SimMessageLog log;
  const wchar_t* text = log.AppendFormat(L"Резистор \"%ls\" вышел из строя! %d %.2f", L"R1", 7, 2.5);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, L"Резистор \"R1\" вышел из строя! 7 2.50");
  ASSERT_EQ(log.GetCount(), 1);
  EXPECT_EQ(log.GetItem(0), text);  // the stored copy itself
  EXPECT_EQ(log.GetItem(1), nullptr);
  EXPECT_EQ(log.GetItem(-1), nullptr);
}

// Burn-out messages are written with "%s" for the instance name, which is
// wide text.
TEST(SimMessageLog, PlainStringConversionTakesWideText) {
  SimMessageLog log;
  EXPECT_STREQ(log.AppendFormat(L"Резистор \"%s\" вышел из строя!", L"R12"),
               L"Резистор \"R12\" вышел из строя!");
  EXPECT_STREQ(log.AppendFormat(L"[%5s][%-5s][%.2s]", L"R12", L"C3", L"VT10"), L"[  R12][C3   ][VT]");
  EXPECT_STREQ(log.AppendFormat(L"[%*s][%-*.*s]", 4, L"X1", 4, 1, L"DD1"), L"[  X1][D   ]");
  EXPECT_STREQ(log.AppendFormat(L"%c%c %s", L'Ж', L'R', L"Батарея"), L"ЖR Батарея");
  // Conversions that name their size stay as written.
  EXPECT_STREQ(log.AppendFormat(L"%ls/%hs/%lc", L"R1", "narrow", L'Щ'), L"R1/narrow/Щ");
  // A doubled percent sign is no conversion; numbers are untouched.
  EXPECT_STREQ(log.AppendFormat(L"100%% %s %d %5.1f %lld %I64d %x", L"B1", -7, 2.25, 1ll << 40,
                                 -(1ll << 33), 255u),
               L"100% B1 -7   2.2 1099511627776 -8589934592 ff");
  // A conversion cut off at the end of the format.
  EXPECT_STREQ(log.AppendFormat(L"%s: %", L"R5"), L"R5: ");
  EXPECT_EQ(log.GetCount(), 7);
}

TEST(SimMessageLog, BurnOutLogsTheInstanceName) {
  SimMessageLog& log = SimMessageLog::Global();
  int before = log.GetCount();
  CSCHBlock part;
  part.SetName(L"R12");
  EXPECT_TRUE(BurnIfOver(&part, 0.3f, 0.25f, L"Резистор \"%s\" вышел из строя!"));
  EXPECT_EQ(part.burnt, 1);
  ASSERT_EQ(log.GetCount(), before + 1);
  EXPECT_STREQ(log.GetItem(before), L"Резистор \"R12\" вышел из строя!");
  log.Resize(before);
}

TEST(SimMessageLog, AppendTextKeepsPercentSignsLiterally) {
  SimMessageLog log;
  EXPECT_STREQ(log.AppendText(L"100% %s %d"), L"100% %s %d");
  EXPECT_STREQ(log.AppendFormat(L"%ls", L"50% %n"), L"50% %n");
  EXPECT_STREQ(log.AppendText(nullptr), L"");
  EXPECT_EQ(log.GetCount(), 3);
}

TEST(SimMessageLog, CapacityGrowsInSteps) {
  SimMessageLog log;
  EXPECT_EQ(log.GetCapacity(), 0);
  for (int i = 0; i < 16; ++i) log.AppendFormat(L"%d", i);
  EXPECT_EQ(log.GetCapacity(), 16);
  log.AppendFormat(L"%d", 16);
  EXPECT_EQ(log.GetCount(), 17);
  EXPECT_EQ(log.GetCapacity(), 32);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(std::to_wstring(i), log.GetItem(i));
}

TEST(SimMessageLog, ResizeDropsTextsAndEmptiesNewSlots) {
  SimMessageLog log;
  for (int i = 0; i < 20; ++i) log.AppendFormat(L"m%d", i);
  ASSERT_TRUE(log.Resize(3));
  EXPECT_EQ(log.GetCount(), 3);
  EXPECT_EQ(log.GetCapacity(), 16);
  EXPECT_STREQ(log.GetItem(2), L"m2");
  ASSERT_TRUE(log.Resize(5));
  EXPECT_EQ(log.GetItem(3), nullptr);
  EXPECT_EQ(log.GetItem(4), nullptr);
  EXPECT_STREQ(log.AppendText(L"next"), L"next");
  EXPECT_EQ(log.GetCount(), 6);
  EXPECT_TRUE(log.Resize(-4));
  EXPECT_EQ(log.GetCount(), 0);
}

TEST(SimMessageLog, ClearLeavesAnEmptyLogThatTakesNewMessages) {
  SimMessageLog log;
  for (int i = 0; i < 40; ++i) log.AppendFormat(L"%d", i);
  log.Clear();
  EXPECT_EQ(log.GetCount(), 0);
  EXPECT_EQ(log.GetCapacity(), 0);
  EXPECT_EQ(log.GetItem(0), nullptr);
  EXPECT_STREQ(log.AppendFormat(L"again %ls", L"x"), L"again x");
  EXPECT_EQ(log.GetCount(), 1);
  EXPECT_EQ(log.GetCapacity(), 16);
}

TEST(SimMessageLog, LongTextsAreCutTo511Characters) {
  SimMessageLog log;
  std::wstring name(3000, L'Ж');  // a class name as long as a file could hold
  const wchar_t* text = log.AppendFormat(L"Класс блока %ls не зарегистрирован!", name.c_str());
  ASSERT_NE(text, nullptr);
  std::wstring stored = text;
  ASSERT_EQ(stored.size(), 511u);
  EXPECT_EQ(stored.substr(0, 12), L"Класс блока ");
  EXPECT_EQ(stored.substr(12), std::wstring(499, L'Ж'));

  // Exactly 511 characters fit whole; 512 lose the last one.
  std::wstring fits(511, L'a');
  EXPECT_EQ(std::wstring(log.AppendFormat(L"%ls", fits.c_str())), fits);
  std::wstring over = fits + L"b";
  EXPECT_EQ(std::wstring(log.AppendText(over.c_str())), fits);
}

TEST(SimMessageLog, CutNeverSplitsASurrogatePair) {
  SimMessageLog log;
  std::wstring text(510, L'a');
  text += L"\xD83D\xDE00";  // one character outside the BMP at 510..511
  text += L"tail";
  std::wstring stored = log.AppendText(text.c_str());
  EXPECT_EQ(stored, std::wstring(510, L'a'));
}

TEST(SimMessageLog, GlobalLogIsOneInstance) {
  SimMessageLog& log = SimMessageLog::Global();
  EXPECT_EQ(&log, &SimMessageLog::Global());
  int before = log.GetCount();
  log.AppendFormat(L"Батарея %ls", L"B1");
  EXPECT_EQ(log.GetCount(), before + 1);
  EXPECT_STREQ(log.GetItem(before), L"Батарея B1");
  log.Resize(before);
}

}  // namespace
