// The scheme layer's service interface: installing, restoring and the base
// answers.
#include <windows.h>

#include <string>

#include "scheme/model/scheme_host.h"
#include "support/test_support.h"

namespace {

class CountingSchemeHost : public CSchemeHost {
public:
  bool OpenSchemeEditor(SchScheme*, int mode, int, int) override {
    modes += std::to_wstring(mode);
    return true;
  }
  std::wstring modes;
};

}  // namespace

TEST(SchemeHost, ScopesInstallAndReinstallInOrder) {
  CSchemeHost* base = GetSchemeHost();
  ASSERT_NE(nullptr, base);
  CountingSchemeHost outer, inner;
  {
    CSchemeHostScope a(&outer);
    EXPECT_EQ(&outer, GetSchemeHost());
    {
      CSchemeHostScope b(&inner);
      EXPECT_TRUE(GetSchemeHost()->OpenSchemeEditor(nullptr, 2, 0, 0));
    }
    EXPECT_EQ(&outer, GetSchemeHost());
  }
  EXPECT_EQ(base, GetSchemeHost());
  EXPECT_EQ(L"2", inner.modes);
  EXPECT_EQ(L"", outer.modes);
  // Null installs the base host again.
  CSchemeHost* previous = SetSchemeHost(&outer);
  EXPECT_EQ(&outer, SetSchemeHost(nullptr));
  EXPECT_EQ(base, GetSchemeHost());
  SetSchemeHost(previous);
}

TEST(SchemeHost, BaseAnswersWithoutTheProgramsWindows) {
  CSchemeHost* base = GetSchemeHost();
  EXPECT_FALSE(base->OpenSchemeEditor(nullptr, 2, 0, 0));
  base->ShowComponentModel(L"Резисторы", "MLT-0.25", nullptr);  // nothing to show, nothing happens
  base->ShowComponentCard(L"Конденсатор", L"capacitor.jpg");

  // Read errors are the system's message box "Ошибка".
  velktest::DialogAnswerer answer(IDOK);
  base->ShowReadError(L"Файл повреждён");
  ASSERT_EQ(1, answer.Count());
  EXPECT_EQ(L"Ошибка", answer.Captions()[0]);
  EXPECT_EQ(L"Файл повреждён", answer.Texts()[0]);
}
