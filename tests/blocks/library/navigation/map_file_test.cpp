// The navigation map's file: the "*IMAGES", "*WALLS" and "*PLACES" sections
// byte for byte (text worked out from the row formats, lines ended by CR LF
// as in a text-mode file), the countdown that writes it, where relative
// names go, paths of any length, and failures: told once, the map goes on
// in memory, and the old file is never left half written.
#include <windows.h>

#include <clocale>
#include <cwchar>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "blocks/library/navigation/map_file.h"
#include "blocks/library/navigation/map_path.h"
#include "blocks/library/navigation/nav_map.h"
#include "foundation/buffer_failure_scope.h"
#include "foundation/buffers.h"
#include "kestui/core/kest_host_scope.h"
#include "nav_kit.h"
#include "support/test_support.h"

namespace {

using navtest::Camera;
using navtest::Finder;
using navtest::MessageHost;

const double kHalfPi = 1.5707963267948966;

std::string ReadText(const std::wstring& path) {
  std::vector<uint8_t> bytes = velktest::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Two images, no walls, one place.
void SeedSmallMap(NavMap* map) {
  const Mat4f a = Camera(1.5f, -2.25f, 0.5f, 0, 1, 0);
  const Mat4f b = Camera(0.25f, 0.125f, 1.0f, 0.6f, 0.8f, 0);
  ASSERT_EQ(0, map->AddImage(&a, 10.5, -20.25, 0.5));
  ASSERT_EQ(1, map->AddImage(&b, 0, 100, -1.5));
  ASSERT_TRUE(map->AddPlace(-5, 7.75, 3.0, 1));
}

// x, y with four decimals, the angle in degrees with three (0.5 rad =
// 28.6479 deg, -1.5 rad = -85.9437 deg, 3 rad = 171.8873 deg), the axis
// with eight: the floats nearest 0.6 and 0.8 are 0.60000002384 and
// 0.80000001192.
const char kSmallMapText[] =
    "*IMAGES\t2\r\n"
    "x\ty\tangle\tpxl1\tpxl2\tpxl3\tpxl4\tpxl5\tpxl6\r\n"
    "10.5000\t-20.2500\t28.648\t1.5000\t-2.2500\t0.5000\t0.00000000\t1.00000000\t0.00000000\r\n"
    "0.0000\t100.0000\t-85.944\t0.2500\t0.1250\t1.0000\t0.60000002\t0.80000001\t0.00000000\r\n"
    "*WALLS\t0\r\n"
    "sensor\tx\ty\tangle\r\n"
    "*PLACES\t1\r\n"
    "id\tx\ty\tangle\r\n"
    "1\t-5.0000\t7.7500\t171.887\r\n";

TEST(NavMapFile, SmallMapByteForByte) {
  velktest::TempFolder folder;
  NavMap map;
  SeedSmallMap(&map);
  const std::wstring path = folder.File(L"small.txt");
  ASSERT_TRUE(map.SetMapFileName(path.c_str()));
  ASSERT_TRUE(map.DumpMap());
  EXPECT_EQ(0, map.saveCountdown);
  const std::string text = ReadText(path);
  EXPECT_EQ(kSmallMapText, text);
  int lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(9, lines);
  EXPECT_FALSE(Exists(path + L".~tmp"));
}

TEST(NavMapFile, WallRows) {
  NavMap map;
  ASSERT_TRUE(map.SetRangeFinderCount(3));
  map.rangeFinders[0] = Finder(20, 0, kHalfPi, 0.5, 10, 95);
  map.rangeFinders[2] = Finder(0, 20, 0, 0.5, 10, 95);
  // Finder 2 reads 50 cm straight ahead from (0, 20): (0, 70), 0 deg;
  // finder 0 reads 50 cm to the right from (20, 0): (70, 0), the float
  // nearest pi/2 (1.57079637) in degrees is 90.0000025.
  ASSERT_EQ(0, map.AddWall(0, 0, 0, 2, 50));
  ASSERT_EQ(1, map.AddWall(0, 0, 0, 0, 50));
  int size = 0;
  char* text = FormatMapText(&map, &size);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(std::string("*IMAGES\t0\r\n"
                        "x\ty\tangle\tpxl1\tpxl2\tpxl3\tpxl4\tpxl5\tpxl6\r\n"
                        "*WALLS\t2\r\n"
                        "sensor\tx\ty\tangle\r\n"
                        "2\t0.0000\t70.0000\t0.000\r\n"
                        "0\t70.0000\t0.0000\t90.000\r\n"
                        "*PLACES\t0\r\n"
                        "id\tx\ty\tangle\r\n"),
            std::string(text, size));
  FreeBuffer(text);
}

TEST(NavMapFile, NumbersKeepTheirPointUnderARussianLocale) {
  const std::string saved = setlocale(LC_ALL, nullptr);
  if (!setlocale(LC_ALL, "Russian_Russia.1251") && !setlocale(LC_ALL, "ru-RU") && !setlocale(LC_ALL, "Russian"))
    GTEST_SKIP() << "no Russian C locale here";
  NavMap map;
  SeedSmallMap(&map);
  int size = 0;
  char* text = FormatMapText(&map, &size);
  setlocale(LC_ALL, saved.c_str());
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(std::string(kSmallMapText), std::string(text, size));
  FreeBuffer(text);
}

TEST(NavMapFile, WrittenTwoSecondsAfterTheLastChange) {
  velktest::TempFolder folder;
  NavMap map;
  const std::wstring path = folder.File(L"timed.txt");
  ASSERT_TRUE(map.SetMapFileName(path.c_str()));
  map.mode = NavMap::kModeNavigation;
  ASSERT_TRUE(map.AddPlace(1, 2, 0, 1));
  for (int i = 0; i < 3; ++i) map.Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(0.5, map.saveCountdown);
  EXPECT_FALSE(Exists(path));
  map.Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(0, map.saveCountdown);
  EXPECT_EQ(std::string("*IMAGES\t0\r\nx\ty\tangle\tpxl1\tpxl2\tpxl3\tpxl4\tpxl5\tpxl6\r\n"
                        "*WALLS\t0\r\nsensor\tx\ty\tangle\r\n"
                        "*PLACES\t1\r\nid\tx\ty\tangle\r\n1\t1.0000\t2.0000\t0.000\r\n"),
            ReadText(path));
}

TEST(NavMapFile, DeletingAMapWritesAWriteThatIsDue) {
  velktest::TempFolder folder;
  const std::wstring due = folder.File(L"due.txt"), idle = folder.File(L"idle.txt");
  NavMap* map = new NavMap;
  ASSERT_TRUE(map->SetMapFileName(due.c_str()));
  SeedSmallMap(map);
  NavMap::Delete(map);
  EXPECT_EQ(kSmallMapText, ReadText(due));
  map = new NavMap;
  ASSERT_TRUE(map->SetMapFileName(idle.c_str()));
  NavMap::Delete(map);
  EXPECT_FALSE(Exists(idle)) << "nothing was due";
}

struct PathCase {
  const wchar_t* name;
  const wchar_t* expected;  // null: none
};

TEST(NavMapFile, ResolveMapPath) {
  const PathCase cases[] = {
      {nullptr, nullptr},
      {L"", nullptr},
      {L"map.txt", L"C:\\Velk\\Robots\\map.txt"},
      {L"maps\\rover.txt", L"C:\\Velk\\Robots\\maps\\rover.txt"},
      {L"D:\\maps\\rover.txt", L"D:\\maps\\rover.txt"},
      {L"D:rover.txt", L"D:rover.txt"},
      {L"D|\\maps\\rover.txt", L"D|\\maps\\rover.txt"},
      {L"\\\\server\\maps\\rover.txt", L"\\\\server\\maps\\rover.txt"},
      {L"\\maps\\rover.txt", L"C:\\Velk\\Robots\\\\maps\\rover.txt"},
      {L"m", L"C:\\Velk\\Robots\\m"},
  };
  for (const PathCase& c : cases) {
    wchar_t* path = ResolveMapPath(c.name, L"C:\\Velk\\");
    if (!c.expected) {
      EXPECT_EQ(nullptr, path);
    } else {
      ASSERT_NE(nullptr, path) << c.name;
      EXPECT_STREQ(c.expected, path);
    }
    FreeBuffer(path);
  }
  // A name far beyond the usual 260 characters is taken whole.
  std::wstring longName(600, L'a');
  wchar_t* path = ResolveMapPath(longName.c_str(), L"C:\\Velk\\");
  ASSERT_NE(nullptr, path);
  EXPECT_EQ(L"C:\\Velk\\Robots\\" + longName, std::wstring(path));
  FreeBuffer(path);
}

TEST(NavMapFile, ARelativeNameIsWrittenIntoTheProgramsRobotsFolder) {
  wchar_t module[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
  ASSERT_GT(n, 0u);
  std::wstring folder(module, wcsrchr(module, L'\\') + 1);
  const std::wstring robots = folder + L"Robots\\";
  const bool made = CreateDirectoryW(robots.c_str(), nullptr) != 0;
  const std::wstring name = L"nav_map_test_relative.txt";

  wchar_t* resolved = ResolveMapPath(name.c_str());
  ASSERT_NE(nullptr, resolved);
  EXPECT_EQ(robots + name, std::wstring(resolved));
  FreeBuffer(resolved);

  NavMap map;
  SeedSmallMap(&map);
  ASSERT_TRUE(map.SetMapFileName(name.c_str()));
  EXPECT_TRUE(map.DumpMap());
  EXPECT_EQ(kSmallMapText, ReadText(robots + name));
  DeleteFileW((robots + name).c_str());
  if (made) RemoveDirectoryW(robots.c_str());
}

TEST(NavMapFile, PathsBeyondTheUsualLimitAreWritten) {
  velktest::TempFolder folder;
  std::wstring dir = L"\\\\?\\" + folder.Path();
  std::vector<std::wstring> made;
  for (int i = 0; i < 3; ++i) {
    dir += std::wstring(100, static_cast<wchar_t>(L'a' + i)) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    made.push_back(dir);
  }
  const std::wstring path = dir.substr(4) + L"long.txt";
  ASSERT_GT(path.size(), 300u);
  {
    NavMap map;
    SeedSmallMap(&map);
    ASSERT_TRUE(map.SetMapFileName(path.c_str()));
    EXPECT_TRUE(map.DumpMap());
  }
  EXPECT_EQ(kSmallMapText, ReadText(dir + L"long.txt"));
  EXPECT_FALSE(Exists(dir + L"long.txt.~tmp"));
  DeleteFileW((dir + L"long.txt").c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

TEST(NavMapFile, AnUnwritablePathIsToldOnceAndTheMapGoesOn) {
  velktest::TempFolder folder;
  MessageHost host;
  CKestHostScope scope(&host);
  NavMap map;
  const std::wstring path = folder.File(L"missing\\map.txt");
  ASSERT_TRUE(map.SetMapFileName(path.c_str()));
  map.mode = NavMap::kModeNavigation;
  ASSERT_TRUE(map.AddPlace(1, 2, 0, 1));
  for (int i = 0; i < 4; ++i) map.Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_EQ(0, map.saveCountdown) << "run out, and left so";
  ASSERT_EQ(1, host.Count());
  EXPECT_EQ(L"Предупреждение", host.captions[0]);
  EXPECT_NE(std::wstring::npos, host.texts[0].find(path));
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), host.flags_[0]);
  // More changes, more failed writes: nothing more is said.
  ASSERT_TRUE(map.AddPlace(3, 4, 0, 2));
  for (int i = 0; i < 4; ++i) map.Step(nullptr, 0, 0, 0, 0.5);
  EXPECT_FALSE(map.DumpMap());
  EXPECT_EQ(1, host.Count());
  EXPECT_EQ(2, map.placeCount) << "the map lives on in memory";
  // Once the folder exists the next write succeeds.
  ASSERT_TRUE(CreateDirectoryW(folder.File(L"missing").c_str(), nullptr));
  EXPECT_TRUE(map.DumpMap());
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(1, host.Count());
}

TEST(NavMapFile, NoNameNoFileNoMessage) {
  MessageHost host;
  CKestHostScope scope(&host);
  NavMap map;
  ASSERT_TRUE(map.AddPlace(1, 2, 0, 1));
  EXPECT_FALSE(map.DumpMap());
  EXPECT_EQ(2.0, map.saveCountdown);
  EXPECT_EQ(0, host.Count());
}

TEST(NavMapFile, AFailedWriteLeavesTheOldFileWhole) {
  velktest::TempFolder folder;
  MessageHost host;
  CKestHostScope scope(&host);
  const std::wstring path = folder.File(L"kept.txt");
  ASSERT_TRUE(folder.WriteFile(L"kept.txt", std::string("old map\r\n")));
  NavMap map;
  SeedSmallMap(&map);
  ASSERT_TRUE(map.SetMapFileName(path.c_str()));
  {
    // The path is resolved; the text cannot be made.
    CBufferFailureScope refuse(1);
    EXPECT_FALSE(map.DumpMap());
  }
  EXPECT_EQ("old map\r\n", ReadText(path));
  EXPECT_FALSE(Exists(path + L".~tmp"));
  EXPECT_EQ(1, host.Count());

  // A folder in the file's place: the new text is written and cannot
  // replace it; the folder stays and the temporary file goes.
  const std::wstring blocked = folder.File(L"blocked.txt");
  ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
  ASSERT_TRUE(map.SetMapFileName(blocked.c_str()));
  EXPECT_FALSE(map.DumpMap());
  EXPECT_NE(0u, GetFileAttributesW(blocked.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(Exists(blocked + L".~tmp"));
  EXPECT_EQ(2, host.Count()) << "a new name is told about again";
}

TEST(NavMapFile, ReplaceFileContentsWritesNothingHalf) {
  velktest::TempFolder folder;
  const std::wstring path = folder.File(L"whole.bin");
  std::string big(3 << 20, 'x');  // several write calls
  big[0] = 'a';
  big[big.size() - 1] = 'z';
  ASSERT_TRUE(ReplaceFileContents(path.c_str(), big.data(), static_cast<int>(big.size())));
  EXPECT_EQ(big, ReadText(path));
  ASSERT_TRUE(ReplaceFileContents(path.c_str(), "", 0));
  EXPECT_EQ("", ReadText(path));
  EXPECT_FALSE(ReplaceFileContents(folder.File(L"no\\such\\folder.bin").c_str(), "x", 1));
}

// The name handed over: the map owns it; an empty one means none. Unlike
// SetMapFileName it needs no memory, so it works with every allocation
// refused.
TEST(NavMapFile, ATakenNameBelongsToTheMap) {
  NavMap map;
  ASSERT_TRUE(map.SetMapFileName(L"old.txt"));
  wchar_t* name = DupString(L"maps\\new.txt");
  wchar_t* empty = DupString(L"");
  ASSERT_TRUE(name && empty);
  {
    CBufferFailureScope refuse(0);
    EXPECT_FALSE(map.SetMapFileName(L"other.txt"));
    EXPECT_STREQ(L"old.txt", map.mapFileName);
    map.TakeMapFileName(name);
  }
  EXPECT_EQ(name, map.mapFileName);
  map.TakeMapFileName(map.mapFileName);  // itself: kept
  EXPECT_STREQ(L"maps\\new.txt", map.mapFileName);
  map.TakeMapFileName(empty);
  EXPECT_EQ(nullptr, map.mapFileName);
  map.TakeMapFileName(nullptr);
  EXPECT_EQ(nullptr, map.mapFileName);
}

}  // namespace
