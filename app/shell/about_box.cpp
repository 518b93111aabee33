#include "app/shell/about_box.h"

#include <cwchar>

#include "app/resource.h"
#include "app/shell/startup.h"
#include "kestui/buttons/kest_button.h"
#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_flow_layout.h"
#include "kestui/core/kest_host.h"
#include "kestui/graphics/kest_font.h"

const wchar_t* const kVelkAboutMakersLinkTarget = L"https://velkboard.example.org/team";
const wchar_t* const kVelkAboutSiteLinkTarget = L"https://velkboard.example.org/";

namespace {
const COLORREF kLinkColor = 0xFF0000;  // blue
const int kIconLeft = 10, kIconTop = 10;
}  // namespace

CAboutBox::CAboutBox(CKestForm* owner) {
  if (!Create(owner, L"О программе...", KEST_POS_CENTER, 400, 300, nullptr, false, false, true, true)) return;

  CKestLabel* name = new CKestLabel(this, L"Velkboard", KestPos(100, 10), false, 290, 50, -1);
  name->SetFont(new CKestFont(L"Verdana", -22, 700, true));

  wchar_t version[64];
  swprintf(version, 64, L"Версия: 5, 0, 0, %d", VELKBOARD_BUILD);
  new CKestLabel(this, version, KestPos(190, 50), false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);

  KestFlowLayout* flow = GetFlowLayout();
  if (flow) flow->cursorY = 80;
  new CKestLabel(this, L"Редактор схем и подключений программного комплекса Torvalk 5", KEST_POS_FLOW, false,
                 370, 50, -1);
  NewFlowRow();

  new CKestLabel(this, L"Разработка:", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  AddLink(L"команда Velkboard", kVelkAboutMakersLinkId);
  new CKestLabel(this, L"и её друзья", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  NewFlowRow();

  new CKestLabel(this, L"WEB-сайт: ", KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  AddLink(kVelkAboutSiteLinkTarget, kVelkAboutSiteLinkId);
  NewFlowRow();

  flow = GetFlowLayout();
  if (flow) flow->cursorY = 200;
  BeginCenteredRows();
  new CKestButton(this, L"OK", true, IDOK, KEST_POS_FLOW, 80, 25, nullptr, 1);
  CenterFlowRows();
}

CKestLabel* CAboutBox::AddLink(const wchar_t* text, int id) {
  CKestLabel* link = new CKestLabel(this, text, KEST_POS_FLOW, false, KEST_LABEL_MEASURE, KEST_LABEL_MEASURE, -1);
  link->SetFont(new CKestFont(L"Verdana", -12, 400, false, true));
  link->SetTextColor(kLinkColor);
  link->SetCursorIndex(KestCursorHand);
  if (link->GetHandle()) SetWindowLongW(link->GetHandle(), GWL_ID, id);
  return link;
}

LRESULT CAboutBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) <= 1) {
        const wchar_t* target = nullptr;
        if (LOWORD(wParam) == kVelkAboutMakersLinkId) target = kVelkAboutMakersLinkTarget;
        else if (LOWORD(wParam) == kVelkAboutSiteLinkId) target = kVelkAboutSiteLinkTarget;
        if (target) GetKestHost()->StartProgram(nullptr, nullptr, target, nullptr, nullptr, SW_SHOW);
      }
      break;
    case WM_KEST_PAINT:
      // The form's own painting: the program's icon in the top left corner.
      if (reinterpret_cast<HWND>(lParam) == window_ && IsPainting()) {
        HICON icon = ApplicationIcon ? ApplicationIcon
                                     : LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELKBOARD));
        if (icon) DrawIcon(GetPaintDC(), kIconLeft, kIconTop, icon);
      }
      break;
    default:
      break;
  }
  return CKestForm::WindowProc(message, wParam, lParam);
}
