// The monitor's and the graph builder's dialogs: what they show, what "OK"
// writes, the save dialog behind "Выбор", the graph builder's live RAM
// figures, its question when the program no longer fits the unit's RAM
// (answered No, and Yes with a second round confirmed or cancelled), and
// "Отмена" putting back what the open dialog wrote into the block.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "blocks/dialogs/debug/avr_plot_dlg.h"
#include "blocks/dialogs/debug/log_file_row.h"
#include "blocks/dialogs/debug/monitor_dlg.h"
#include "blocks/dialogs/dialog_driver.h"
#include "blocks/engine/debug/avr_plot.h"
#include "blocks/engine/debug/monitor.h"
#include "blocks/engine/input_pin.h"
#include "kestui/forms/kest_dialogs.h"

namespace {

using dialogtest::Choose;
using dialogtest::Close;
using dialogtest::DialogTest;
using dialogtest::Edit;
using dialogtest::Fill;
using dialogtest::Items;
using dialogtest::List;
using dialogtest::RunDialog;
using dialogtest::Spin;
using dialogtest::Text;
using dialogtest::TypeInto;

// A bench whose catalogue offers the two debugging blocks.
struct DebugBench : blocktest::Bench {
  DebugBench() {
    BeCatalogueGroup* group = library.catalogue.AddGroup(L"Отладка");
    EXPECT_TRUE(group && group->AddEntry(kBeMonitorClassId, CBEMonitor::Create, L"Вывод на экран", nullptr));
    EXPECT_TRUE(group && group->AddEntry(kBeAvrPlotClassId, CBEAvrPlot::Create, L"Построитель графика", nullptr));
  }
};

// The save dialog's fake: what it saw and what it answers.
struct FakeSave {
  int calls = 0;
  BOOL accept = TRUE;
  const wchar_t* chosen = L"C:\\logs\\plot.txt";
  std::wstring initialName, defaultExtension, title, folder;
  std::vector<wchar_t> filter;
  HWND owner = nullptr;
};
FakeSave* g_save = nullptr;

BOOL FakeSaveDialog(OPENFILENAMEW* info) {
  FakeSave& f = *g_save;
  ++f.calls;
  f.owner = info->hwndOwner;
  f.initialName = info->lpstrFile;
  f.defaultExtension = info->lpstrDefExt ? info->lpstrDefExt : L"<none>";
  f.title = info->lpstrTitle ? info->lpstrTitle : L"<none>";
  f.folder = info->lpstrInitialDir ? info->lpstrInitialDir : L"<none>";
  f.filter.clear();
  if (const wchar_t* p = info->lpstrFilter) {
    while (p[0] || p[1]) f.filter.push_back(*p++);
  }
  if (!f.accept) return FALSE;
  wcsncpy(info->lpstrFile, f.chosen, info->nMaxFile);
  return TRUE;
}

const KestCommonDialogSeam kFakeSeam = {nullptr, FakeSaveDialog, nullptr, nullptr};

class DebugDialogTest : public DialogTest {
protected:
  void SetUp() override {
    DialogTest::SetUp();
    g_save = &save;
    SetCommonDialogSeam(&kFakeSeam);
  }
  void TearDown() override {
    SetCommonDialogSeam(nullptr);
    g_save = nullptr;
    LastFileFilterIndex = 1;
    DialogTest::TearDown();
  }
  FakeSave save;
};

SIZE SizeOf(CKestControl* control) {
  RECT rect;
  GetWindowRect(control->GetHandle(), &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void ExpectBrowseButton(CBEPropertyForm* form, CKestButton* browse, int x, int y) {
  ASSERT_NE(nullptr, browse);
  EXPECT_EQ(L"Выбор", Text(browse));
  RECT rect = velktest::RectIn(form->GetHandle(), browse->GetHandle());
  EXPECT_EQ(x, rect.left);
  EXPECT_EQ(y, rect.top);
  EXPECT_EQ(80, rect.right - rect.left);
  EXPECT_EQ(24, rect.bottom - rect.top);
  EXPECT_EQ(1000, GetDlgCtrlID(browse->GetHandle()));
  EXPECT_EQ(0, browse->GetModalResult());
  ASSERT_NE(nullptr, browse->GetHint());
  EXPECT_STREQ(L"Обзор файлов", browse->GetHint());
}

void Click(CKestButton* button) {
  ASSERT_NE(nullptr, button);
  SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
  // The click reaches the form as a command of its own.
  velktest::FlushEvents();
}

// ------------------------------------------------------------ monitor

TEST_F(DebugDialogTest, MonitorShowsItsNameAndLogFileAndStoresThem) {
  DebugBench bench;
  auto* monitor = bench.Create<CBEMonitor>(kBeMonitorClassId);
  ASSERT_NE(nullptr, monitor);
  std::wstring caption = monitor->GetCaption();
  monitor->SetLogFileName(L"C:\\old.txt");
  EXPECT_TRUE(RunDialog(monitor, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, caption.c_str(), 450, 158, {L"Название:", L"Файл лога (не обязательно):"});
    auto* dlg = dynamic_cast<CMonitorDlg*>(form);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(dlg->GetNameEdit(), Edit(form, 0));
    EXPECT_EQ(dlg->GetLogFileEdit(), Edit(form, 1));
    EXPECT_EQ(caption, Text(Edit(form, 0)));
    EXPECT_EQ(100, SizeOf(Edit(form, 0)).cx);
    EXPECT_EQ(21, SizeOf(Edit(form, 0)).cy);
    EXPECT_EQ(20, SendMessageW(Edit(form, 0)->GetHandle(), EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(L"C:\\old.txt", Text(Edit(form, 1)));
    EXPECT_EQ(340, SizeOf(Edit(form, 1)).cx);
    ExpectBrowseButton(form, dlg->GetBrowseButton(), 355, 49);
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_monitor.bmp"));
    TypeInto(Edit(form, 0), L"скорость");
    TypeInto(Edit(form, 1), L"C:\\logs\\speed.txt");
  }));
  EXPECT_STREQ(L"скорость", monitor->GetCaption());
  EXPECT_STREQ(L"C:\\logs\\speed.txt", monitor->logFileName);
}

TEST_F(DebugDialogTest, MonitorWithBothTextsClearedShowsItsCatalogueCaptionAndKeepsNoLog) {
  DebugBench bench;
  auto* monitor = bench.Create<CBEMonitor>(kBeMonitorClassId);
  auto* source = bench.Source(kBeSignalChar);
  bench.Link(source, monitor);
  velktest::TempFolder folder;
  std::wstring path = folder.File(L"monitor.txt");
  monitor->SetLogFileName(path.c_str());
  EXPECT_TRUE(RunDialog(monitor, [&](CBEPropertyForm* form) {
    TypeInto(Edit(form, 0), L"");
    TypeInto(Edit(form, 1), L"");
  }));
  EXPECT_EQ(nullptr, monitor->caption);
  EXPECT_STREQ(L"Вывод на экран", monitor->GetCaption());
  EXPECT_EQ(nullptr, monitor->logFileName);
  bench.Passes(3);
  bench.Stop();
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str())) << "no log file is written";
}

TEST_F(DebugDialogTest, MonitorNameTakesTwentyCharactersAtMost) {
  DebugBench bench;
  auto* monitor = bench.Create<CBEMonitor>(kBeMonitorClassId);
  EXPECT_TRUE(RunDialog(monitor, [&](CBEPropertyForm* form) {
    TypeInto(Edit(form, 0), L"abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(L"abcdefghijklmnopqrst", Text(Edit(form, 0)));
  }));
  EXPECT_STREQ(L"abcdefghijklmnopqrst", monitor->GetCaption());
}

TEST_F(DebugDialogTest, MonitorBrowsesForTheLogFileWithoutTouchingTheBlockBeforeOk) {
  DebugBench bench;
  auto* monitor = bench.Create<CBEMonitor>(kBeMonitorClassId);
  monitor->SetLogFileName(L"C:\\old.txt");
  std::wstring caption = monitor->GetCaption();
  save.chosen = L"C:\\logs\\new.txt";
  EXPECT_FALSE(RunDialog(
      monitor,
      [&](CBEPropertyForm* form) {
        auto* dlg = dynamic_cast<CMonitorDlg*>(form);
        ASSERT_NE(nullptr, dlg);
        // Cancelled: the edit keeps its text.
        save.accept = FALSE;
        Click(dlg->GetBrowseButton());
        EXPECT_EQ(1, save.calls);
        EXPECT_EQ(L"C:\\old.txt", Text(dlg->GetLogFileEdit()));
        // Chosen: the path replaces the text.
        save.accept = TRUE;
        TypeInto(dlg->GetLogFileEdit(), L"typed.txt");
        Click(dlg->GetBrowseButton());
        EXPECT_EQ(2, save.calls);
        EXPECT_EQ(L"typed.txt", save.initialName);
        EXPECT_EQ(L"txt", save.defaultExtension);
        EXPECT_EQ(L"<none>", save.title);
        EXPECT_EQ(L"<none>", save.folder);
        std::wstring filter(save.filter.begin(), save.filter.end());
        EXPECT_EQ(std::wstring(L"txt-файлы (*.txt)\0*.txt\0Все файлы (*.*)\0*.*", 43), filter);
        EXPECT_EQ(form->GetHandle(), save.owner);
        EXPECT_EQ(L"C:\\logs\\new.txt", Text(dlg->GetLogFileEdit()));
        EXPECT_STREQ(L"C:\\old.txt", monitor->logFileName) << "not before OK";
        // The accelerator form of the command (code 1) browses too.
        SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(1000, 1), 0);
        EXPECT_EQ(3, save.calls);
      },
      Close::kCancel));
  EXPECT_STREQ(L"C:\\old.txt", monitor->logFileName);
  EXPECT_EQ(caption, monitor->GetCaption());
  EXPECT_TRUE(RunDialog(monitor, [&](CBEPropertyForm* form) {
    Click(dynamic_cast<CMonitorDlg*>(form)->GetBrowseButton());
  }));
  EXPECT_STREQ(L"C:\\logs\\new.txt", monitor->logFileName);
}

// ------------------------------------------------------------ graph builder

const std::vector<std::wstring> kPlotRows = {L"Файл лога:", L"Формат данных:", L"Макс. количество данных:",
                                             L"Интевал записи [мс]:"};

std::wstring PanelText(CKestStatusBar* bar, int panel) {
  wchar_t text[64] = {};
  LRESULT length = SendMessageW(bar->GetHandle(), SB_GETTEXTLENGTHW, panel, 0);
  if (LOWORD(length) >= 64) return L"<long>";
  SendMessageW(bar->GetHandle(), SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text));
  return text;
}

CAvrPlotDlg* PlotDlg(CBEPropertyForm* form) { return dynamic_cast<CAvrPlotDlg*>(form); }

// A graph builder fed by a source of that type (none: unlinked), in a
// unit of that RAM size.
CBEAvrPlot* MakePlot(DebugBench& bench, int ramLimit, BeSignalType type = -1) {
  bench.scheme.ramLimit = ramLimit;
  auto* plot = bench.Create<CBEAvrPlot>(kBeAvrPlotClassId);
  if (plot && type >= 0) {
    bench.Link(bench.Source(type), plot);
    plot->UpdateRamCost();
  }
  return plot;
}

TEST_F(DebugDialogTest, PlotShowsItsSettingsAndTheRamOfTheProgram) {
  DebugBench bench;
  CBEAvrPlot* plot = MakePlot(bench, 2048, kBeSignalShort);
  ASSERT_NE(nullptr, plot);
  plot->SetLogFileName(L"C:\\plot.txt");
  plot->interval = 10;
  plot->capacity = 300;
  plot->format = CBEAvrPlot::kTimeAndValue;
  plot->UpdateRamCost();
  EXPECT_TRUE(RunDialog(plot, [&](CBEPropertyForm* form) {
    dialogtest::ExpectFrame(form, L"Построитель графика", 400, 280, kPlotRows);
    CAvrPlotDlg* dlg = PlotDlg(form);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(L"C:\\plot.txt", Text(Edit(form, 0)));
    EXPECT_EQ(298, SizeOf(Edit(form, 0)).cx);
    ExpectBrowseButton(form, dlg->GetBrowseButton(), 310, 20);
    EXPECT_EQ((std::vector<std::wstring>{L"Только значения (время фиксировано)",
                                         L"Время + значение в момент изменения"}),
              Items(List(form, 1)));
    EXPECT_EQ(1, List(form, 1)->GetSelectedIndex());
    EXPECT_EQ(320, SizeOf(List(form, 1)).cx);
    CKestSpinEdit* count = Spin(form, 2);
    ASSERT_EQ(dlg->GetCountEdit(), count);
    EXPECT_EQ(L"300", Text(count));
    EXPECT_EQ(1, count->GetMinimum());
    EXPECT_EQ(4000, count->GetMaximum());
    EXPECT_EQ(1, count->GetStep());
    CKestSpinEdit* interval = Spin(form, 3);
    ASSERT_EQ(dlg->GetIntervalEdit(), interval);
    EXPECT_EQ(L"10", Text(interval));
    EXPECT_EQ(2, interval->GetMinimum());
    EXPECT_EQ(40000, interval->GetMaximum());
    EXPECT_EQ(2, interval->GetStep());
    CKestStatusBar* bar = dlg->GetStatusBar();
    ASSERT_NE(nullptr, bar);
    // The status bar asks for 19 pixels; the common control keeps at least
    // its font's height.
    EXPECT_NEAR(19, SizeOf(bar).cy, 1);
    EXPECT_TRUE(GetWindowLongW(bar->GetHandle(), GWL_STYLE) & SBARS_SIZEGRIP);
    ASSERT_EQ(5, bar->GetPanelCount());
    int edges[5] = {};
    SendMessageW(bar->GetHandle(), SB_GETPARTS, 5, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(110, edges[0]);
    EXPECT_EQ(170, edges[1]);
    EXPECT_EQ(300, edges[2]);
    EXPECT_EQ(360, edges[3]);
    EXPECT_EQ(L"\t\tИсп.RAM [байт]:", PanelText(bar, 0));
    // 300 samples of time and value: (2 + 1 + 1) x 300.
    EXPECT_EQ(L"1200", PanelText(bar, 1));
    EXPECT_EQ(L"\t\tВсего RAM [байт]:", PanelText(bar, 2));
    EXPECT_EQ(L"2048", PanelText(bar, 3));
    EXPECT_EQ(L"", PanelText(bar, 4));
    EXPECT_TRUE(velktest::SaveScreenshot(form->GetHandle(), L"dialogs_avr_plot.bmp"));
    TypeInto(Edit(form, 0), L"C:\\logs\\new.txt");
    TypeInto(interval, L"100");
    Choose(List(form, 1), 0, CBN_SELENDOK);
    TypeInto(count, L"50");
  }));
  EXPECT_STREQ(L"C:\\logs\\new.txt", plot->logFileName);
  EXPECT_EQ(100, plot->interval);
  EXPECT_EQ(CBEAvrPlot::kValuesOnly, plot->format);
  EXPECT_EQ(50, plot->capacity);
  EXPECT_EQ(100, plot->ram);
}

struct RamCase {
  BeSignalType source;  // -1: unlinked
  int count;
  int format;
  const wchar_t* used;
};

TEST_F(DebugDialogTest, PlotUsedRamFollowsTheFormatAndTheCountAtOnce) {
  // Sample sizes: short 2, unlinked 4, double 8; time and value add a
  // byte, and one more from 256 samples on.
  const RamCase cases[] = {
      {kBeSignalShort, 4000, 0, L"8000"},  {kBeSignalShort, 4000, 1, L"16000"}, {-1, 4000, 0, L"16000"},
      {-1, 100, 1, L"500"},                {kBeSignalDouble, 255, 1, L"2295"},  {kBeSignalDouble, 256, 1, L"2560"},
      {kBeSignalChar, 1, 0, L"1"},
  };
  DebugBench bench;
  // Another block's RAM counts in the program's.
  CBEAvrPlot* other = MakePlot(bench, 100000, kBeSignalChar);
  other->capacity = 7;
  other->UpdateRamCost();
  for (const RamCase& c : cases) {
    SCOPED_TRACE(c.used);
    CBEAvrPlot* plot = MakePlot(bench, 100000, c.source);
    EXPECT_TRUE(RunDialog(plot, [&](CBEPropertyForm* form) {
      CAvrPlotDlg* dlg = PlotDlg(form);
      ASSERT_NE(nullptr, dlg);
      Choose(dlg->GetFormatList(), c.format, CBN_SELENDOK);
      TypeInto(dlg->GetCountEdit(), std::to_wstring(c.count).c_str());
      EXPECT_EQ(c.format, plot->format) << "written as soon as it changes";
      EXPECT_EQ(c.count, plot->capacity);
      EXPECT_EQ(std::to_wstring(_wtoi(c.used) + 7), PanelText(dlg->GetStatusBar(), 1));
      EXPECT_EQ(L"100000", PanelText(dlg->GetStatusBar(), 3));
    }));
    EXPECT_EQ(_wtoi(c.used), plot->ram);
    delete plot;
  }
}

TEST_F(DebugDialogTest, PlotCancelPutsTheFormatTheCountAndTheRamBack) {
  DebugBench bench;
  CBEAvrPlot* plot = MakePlot(bench, 2048, kBeSignalShort);
  plot->SetLogFileName(L"C:\\plot.txt");
  std::vector<uint8_t> before = blocktest::RecordBytes(plot);
  int ram = plot->ram;
  for (Close close : {Close::kCancel, Close::kEscape, Close::kCloseBox}) {
    EXPECT_FALSE(RunDialog(
        plot,
        [&](CBEPropertyForm* form) {
          CAvrPlotDlg* dlg = PlotDlg(form);
          Choose(dlg->GetFormatList(), 1, CBN_SELENDOK);
          TypeInto(dlg->GetCountEdit(), L"4000");
          EXPECT_EQ(16000, plot->ram) << "shown while open";
          TypeInto(dlg->GetIntervalEdit(), L"300");
          TypeInto(dlg->GetLogFileEdit(), L"");
        },
        close));
    EXPECT_EQ(before, blocktest::RecordBytes(plot));
    EXPECT_EQ(ram, plot->ram);
    EXPECT_STREQ(L"C:\\plot.txt", plot->logFileName);
  }
}

TEST_F(DebugDialogTest, PlotWithoutRamLimitAsksNothing) {
  DebugBench bench;
  CBEAvrPlot* plot = MakePlot(bench, -1, kBeSignalDouble);
  velktest::DialogAnswerer answerer(IDYES);
  EXPECT_TRUE(RunDialog(plot, [&](CBEPropertyForm* form) {
    // A format changed from the keyboard tells only CBN_SELCHANGE.
    Choose(PlotDlg(form)->GetFormatList(), 1, CBN_SELCHANGE);
    EXPECT_EQ(CBEAvrPlot::kTimeAndValue, plot->format);
    // 100 doubles with their time: (8 + 1) x 100.
    EXPECT_EQ(L"900", PanelText(PlotDlg(form)->GetStatusBar(), 1));
    TypeInto(PlotDlg(form)->GetCountEdit(), L"4000");
    EXPECT_EQ(L"-1", PanelText(PlotDlg(form)->GetStatusBar(), 3));
  }));
  EXPECT_EQ(0, answerer.Count());
  // (8 + 1 + 1) x 4000.
  EXPECT_EQ(40000, plot->ram);
}

// ------------------------------------------------------------ the RAM question

struct PlotRound {
  Fill fill;
  Close close;
};

std::vector<PlotRound>* g_rounds = nullptr;
size_t g_nextRound = 0;

void CloseAs(CBEPropertyForm* form, Close close) {
  switch (close) {
    case Close::kOk: SendMessageW(form->GetOkButton()->GetHandle(), BM_CLICK, 0, 0); break;
    case Close::kCancel: SendMessageW(form->GetCancelButton()->GetHandle(), BM_CLICK, 0, 0); break;
    case Close::kEscape: PostMessageW(GetFocus() ? GetFocus() : form->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0); break;
    case Close::kCloseBox: PostMessageW(form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
  }
}

// Answers each new form of the dialog in turn.
void CALLBACK AnswerRounds(HWND, UINT, UINT_PTR, DWORD) {
  CBEPropertyForm* form = dialogtest::OpenForm();
  if (!form || !IsWindowVisible(form->GetHandle()) || GetPropW(form->GetHandle(), L"VelkTestRound")) return;
  if (!g_rounds || g_nextRound >= g_rounds->size()) return;
  SetPropW(form->GetHandle(), L"VelkTestRound", reinterpret_cast<HANDLE>(1));
  PlotRound& round = (*g_rounds)[g_nextRound++];
  if (round.fill) round.fill(form);
  CloseAs(form, round.close);
}

// Runs the block's dialog with the rounds answering its forms; answers the
// dialog's result.
bool RunRounds(CBEBlock* block, std::vector<PlotRound> rounds) {
  g_rounds = &rounds;
  g_nextRound = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, AnswerRounds);
  EXPECT_NE(0u, timer);
  bool answer = block->ShowProperties();
  KillTimer(nullptr, timer);
  velktest::FlushEvents();
  EXPECT_EQ(rounds.size(), g_nextRound) << "every round was shown";
  EXPECT_EQ(nullptr, dialogtest::OpenForm()) << "the dialog is gone";
  g_rounds = nullptr;
  return answer;
}

// What the message boxes shown while it is alive offer: owner, buttons and
// an icon.
class BoxInspector {
public:
  struct Box {
    HWND owner;
    bool yes, no, ok, icon;
  };
  BoxInspector() {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~BoxInspector() {
    if (hook_) UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  BoxInspector(const BoxInspector&) = delete;
  BoxInspector& operator=(const BoxInspector&) = delete;
  std::vector<Box> boxes;

private:
  static BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (_wcsicmp(cls, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      *reinterpret_cast<bool*>(found) = true;
    return TRUE;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) {
      HWND box = reinterpret_cast<HWND>(wParam);
      wchar_t cls[16] = {};
      GetClassNameW(box, cls, 16);
      if (wcscmp(cls, L"#32770") == 0 && !GetPropW(box, L"VelkTestInspected")) {
        SetPropW(box, L"VelkTestInspected", reinterpret_cast<HANDLE>(1));
        Box seen = {GetWindow(box, GW_OWNER), GetDlgItem(box, IDYES) != nullptr, GetDlgItem(box, IDNO) != nullptr,
                    GetDlgItem(box, IDOK) != nullptr, false};
        EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&seen.icon));
        current_->boxes.push_back(seen);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static BoxInspector* current_;
  HHOOK hook_ = nullptr;
};
BoxInspector* BoxInspector::current_ = nullptr;

// 4000 shorts take 8000 bytes: more than a unit of 2048.
Fill TooMany(const wchar_t* path) {
  return [path](CBEPropertyForm* form) {
    TypeInto(PlotDlg(form)->GetLogFileEdit(), path);
    TypeInto(PlotDlg(form)->GetIntervalEdit(), L"20");
    TypeInto(PlotDlg(form)->GetCountEdit(), L"4000");
  };
}

TEST_F(DebugDialogTest, PlotAsksWhenTheProgramOutgrowsTheRamAndNoKeepsIt) {
  DebugBench bench;
  CBEAvrPlot* plot = MakePlot(bench, 2048, kBeSignalShort);
  velktest::DialogAnswerer answerer(IDNO);
  BoxInspector inspector;
  EXPECT_TRUE(RunRounds(plot, {{TooMany(L"a.txt"), Close::kOk}}));
  ASSERT_EQ(1, answerer.Count());
  ASSERT_EQ(1u, inspector.boxes.size());
  EXPECT_EQ(frame->GetHandle(), inspector.boxes[0].owner) << "owned by the main window";
  EXPECT_TRUE(inspector.boxes[0].yes);
  EXPECT_TRUE(inspector.boxes[0].no);
  EXPECT_FALSE(inspector.boxes[0].ok);
  EXPECT_TRUE(inspector.boxes[0].icon);
  EXPECT_EQ(L"Ошибка", answerer.Captions()[0]);
  EXPECT_EQ(L"Превышен объем RAM микропроцессора! Исправить?", answerer.Texts()[0]);
  EXPECT_EQ(4000, plot->capacity);
  EXPECT_EQ(8000, plot->ram);
  EXPECT_STREQ(L"a.txt", plot->logFileName);
}

TEST_F(DebugDialogTest, PlotYesOpensTheDialogAgainOnWhatWasStored) {
  DebugBench bench;
  CBEAvrPlot* plot = MakePlot(bench, 2048, kBeSignalShort);
  velktest::DialogAnswerer answerer(IDYES);
  Fill second = [&](CBEPropertyForm* form) {
    CAvrPlotDlg* dlg = PlotDlg(form);
    EXPECT_EQ(L"a.txt", Text(dlg->GetLogFileEdit()));
    EXPECT_EQ(L"20", Text(dlg->GetIntervalEdit()));
    EXPECT_EQ(L"4000", Text(dlg->GetCountEdit()));
    EXPECT_EQ(L"8000", PanelText(dlg->GetStatusBar(), 1));
    TypeInto(dlg->GetCountEdit(), L"1000");
    EXPECT_EQ(L"2000", PanelText(dlg->GetStatusBar(), 1));
  };
  EXPECT_TRUE(RunRounds(plot, {{TooMany(L"a.txt"), Close::kOk}, {second, Close::kOk}}));
  EXPECT_EQ(1, answerer.Count()) << "the second round fits";
  EXPECT_EQ(1000, plot->capacity);
  EXPECT_EQ(2000, plot->ram);
}

TEST_F(DebugDialogTest, PlotYesThenCancelKeepsTheFirstRoundAndCountsAsAChange) {
  DebugBench bench;
  CBEAvrPlot* plot = MakePlot(bench, 2048, kBeSignalShort);
  velktest::DialogAnswerer answerer(IDYES);
  Fill second = [&](CBEPropertyForm* form) {
    CAvrPlotDlg* dlg = PlotDlg(form);
    Choose(dlg->GetFormatList(), 1, CBN_SELENDOK);
    TypeInto(dlg->GetCountEdit(), L"10");
    TypeInto(dlg->GetLogFileEdit(), L"b.txt");
  };
  // The block changed in the first round, so the dialog answers true: the
  // document is marked as modified.
  EXPECT_TRUE(RunRounds(plot, {{TooMany(L"a.txt"), Close::kOk}, {second, Close::kCancel}}));
  EXPECT_EQ(1, answerer.Count());
  EXPECT_STREQ(L"a.txt", plot->logFileName);
  EXPECT_EQ(20, plot->interval);
  EXPECT_EQ(CBEAvrPlot::kValuesOnly, plot->format);
  EXPECT_EQ(4000, plot->capacity);
  EXPECT_EQ(8000, plot->ram);
}

TEST_F(DebugDialogTest, PlotCommandsBeforeTheDialogIsReadyChangeNothing) {
  DebugBench bench;
  CBEAvrPlot* plot = MakePlot(bench, 2048, kBeSignalShort);
  CAvrPlotDlg dlg(plot);
  ASSERT_TRUE(dlg.Build());
  EXPECT_FALSE(dlg.IsReady());
  dlg.GetCountEdit()->SetIntValue(4000);
  dlg.GetFormatList()->SetSelectedIndex(1);
  HWND list = dlg.GetFormatList()->GetHandle();
  SendMessageW(dlg.GetHandle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELENDOK),
               reinterpret_cast<LPARAM>(list));
  SendMessageW(dlg.GetHandle(), WM_COMMAND, MAKEWPARAM(1000, 0), 0);
  EXPECT_EQ(100, plot->capacity);
  EXPECT_EQ(CBEAvrPlot::kValuesOnly, plot->format);
  EXPECT_EQ(0, save.calls);
  dlg.UpdateRamUse();
  EXPECT_EQ(4000, plot->capacity);
  EXPECT_EQ(16000, plot->ram);
}

TEST_F(DebugDialogTest, BothDialogsRefuseABlockOfAnotherClass) {
  DebugBench bench;
  CBEBlock* other = bench.Create<CBEBlock>(kBeAddClassId);
  int forms = LiveForms.count;
  EXPECT_FALSE(ShowMonitorDialog(other));
  EXPECT_FALSE(ShowAvrPlotDialog(other));
  EXPECT_FALSE(ShowMonitorDialog(nullptr));
  EXPECT_FALSE(ShowAvrPlotDialog(nullptr));
  EXPECT_EQ(forms, LiveForms.count);
}

}  // namespace
