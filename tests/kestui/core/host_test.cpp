// The host-services interface: installing, restoring and the base answers.
#include <windows.h>

#include "kestui/core/kest_host.h"
#include "kestui/core/kest_host_scope.h"
#include "support/test_support.h"

namespace {

class CountingHost : public CKestHost {
public:
  bool ChooseMDIWindow(CKestForm*, int* index) override {
    ++asked;
    *index = 3;
    return true;
  }
  int asked = 0;
};

}  // namespace

TEST(KestHost, ScopesInstallAndReinstallInOrder) {
  CKestHost* base = GetKestHost();
  ASSERT_NE(nullptr, base);
  CountingHost outer, inner;
  {
    CKestHostScope a(&outer);
    EXPECT_EQ(&outer, GetKestHost());
    {
      CKestHostScope b(&inner);
      EXPECT_EQ(&inner, GetKestHost());
      int index = -1;
      EXPECT_TRUE(GetKestHost()->ChooseMDIWindow(nullptr, &index));
      EXPECT_EQ(3, index);
    }
    EXPECT_EQ(&outer, GetKestHost());
  }
  EXPECT_EQ(base, GetKestHost());
  EXPECT_EQ(1, inner.asked);
  EXPECT_EQ(0, outer.asked);
}

TEST(KestHost, NullInstallsTheBaseHost) {
  CKestHost* base = GetKestHost();
  CountingHost host;
  CKestHost* previous = SetKestHost(&host);
  EXPECT_EQ(base, previous);
  EXPECT_EQ(&host, SetKestHost(nullptr));
  EXPECT_EQ(base, GetKestHost());
  EXPECT_EQ(base, SetKestHost(previous));
}

TEST(KestHost, BaseAnswersWithoutTheProgramsWindows) {
  CKestHost* base = GetKestHost();
  RECT area = {0, 0, 100, 50};
  EXPECT_EQ(nullptr, base->BeginPictureExport(0, area));  // nothing to draw into
  base->EndPictureExport(0, nullptr);                      // and nothing to finish
  EXPECT_FALSE(base->OpenHelp(nullptr, L"Torvalk5.chm", 0, 0));

  // Messages are the framework's message box.
  velktest::DialogAnswerer answer(IDOK);
  EXPECT_EQ(IDOK, base->ShowMessage(MB_OK | MB_ICONERROR, L"Ошибка", L"Не удалось"));
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Ошибка", answer.Captions()[0]);
  EXPECT_EQ(L"Не удалось", answer.Texts()[0]);

  // Starting a program that is not there fails as ShellExecuteW does.
  HINSTANCE result = base->StartProgram(nullptr, nullptr, L"C:\\нет\\такой\\программы.exe", nullptr, nullptr, SW_SHOW);
  EXPECT_LE(reinterpret_cast<INT_PTR>(result), 32);
}
