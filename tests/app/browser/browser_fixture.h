// Helpers of the database browser tests: a database folder of their own
// (tables written as ANSI files, pictures drawn in code), and, from
// tests/support, a probe that runs code inside a modal loop and window
// queries.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/ansi_text.h"
#include "kestui/graphics/image.h"
#include "scheme/database/compdb.h"
#include "support/form_queries.h"
#include "support/loop_probe.h"
#include "support/test_support.h"

namespace browsertest {

using velktest::Children;
using velktest::RectIn;
using velktest::WindowText;

// The sample database of the repository, data/VelkDB/, found from this
// header's own path (a Unix path under Wine is reached through Z:).
inline std::wstring SampleDatabaseFolder() {
  std::string file = __FILE__;
  for (int up = 0; up < 4; ++up) {
    size_t cut = file.find_last_of("/\\");
    if (cut == std::string::npos) return std::wstring();
    file.resize(cut);
  }
  std::wstring root(file.begin(), file.end());
  for (wchar_t& c : root)
    if (c == L'/') c = L'\\';
  if (!root.empty() && root[0] == L'\\') root = L"Z:" + root;
  return root + L"\\data\\VelkDB\\";
}

// Makes a database folder the component database (and its "images\" the
// images folder) while the object lives; the previous folders come back.
class DatabaseFolders {
public:
  explicit DatabaseFolders(const std::wstring& database)
      : savedDatabase_(GetComponentDbFolder()), savedImages_(GetImagesFolder()) {
    SetComponentDbFolder(database.c_str());
    SetImagesFolder((database + L"images\\").c_str());
  }
  ~DatabaseFolders() {
    SetComponentDbFolder(savedDatabase_.c_str());
    SetImagesFolder(savedImages_.c_str());
  }
  DatabaseFolders(const DatabaseFolders&) = delete;
  DatabaseFolders& operator=(const DatabaseFolders&) = delete;

private:
  std::wstring savedDatabase_;
  std::wstring savedImages_;
};

// A database folder of its own in a temporary folder.
class TestDatabase {
public:
  TestDatabase() : folders_(Create(folder_)) {}

  // Lines given in UTF-16, joined with "\r\n" and written in the ANSI code
  // page.
  void WriteTable(const std::wstring& name, const std::wstring& text) {
    std::wstring crlf;
    for (wchar_t c : text) {
      if (c == L'\n') crlf += L'\r';
      crlf += c;
    }
    ASSERT_TRUE(folder_.WriteFile(L"VelkDB\\" + name + L".txt", WideToAnsi(crlf)));
  }
  void WriteFile(const std::wstring& relative, const std::string& bytes) {
    ASSERT_TRUE(folder_.WriteFile(L"VelkDB\\" + relative, bytes));
  }
  // A picture of one colour, saved in the format its extension names.
  void WritePicture(const std::wstring& name, int width, int height, COLORREF colour) {
    CKestImage picture;
    ASSERT_TRUE(picture.Create(width, height, 24));
    HDC dc = picture.GetDC();
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    picture.ReleaseDC();
    ASSERT_TRUE(SUCCEEDED(picture.Save((ImagesFolder() + name).c_str())));
  }
  std::wstring DatabaseFolder() const { return folder_.Path() + L"VelkDB\\"; }
  std::wstring ImagesFolder() const { return DatabaseFolder() + L"images\\"; }

private:
  static std::wstring Create(const velktest::TempFolder& folder) {
    CreateDirectoryW((folder.Path() + L"VelkDB").c_str(), nullptr);
    CreateDirectoryW((folder.Path() + L"VelkDB\\images").c_str(), nullptr);
    return folder.Path() + L"VelkDB\\";
  }

  velktest::TempFolder folder_;
  DatabaseFolders folders_;
};

// Runs a function inside whatever message loop dispatches next.
using velktest::LoopProbe;

}  // namespace browsertest
