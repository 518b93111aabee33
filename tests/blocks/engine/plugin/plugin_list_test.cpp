#include "blocks/engine/plugin/plugin_host.h"
#include "blocks/engine/plugin/plugin_list.h"
#include "blocks/engine/plugin/plugin_module.h"

#include <string>
#include <vector>

#include "blocks/engine/engine_fixture.h"
#include "plugin_fixture.h"
#include "support/test_support.h"

namespace {

using plugtest::BuiltPlugin;
using plugtest::ProgramPlugins;

TEST(PluginList, SetFolderKeepsACopyAndNullClearsIt) {
  BePluginList list;
  wchar_t path[] = L"C:\\x\\Plugins\\";
  list.SetFolder(path);
  path[0] = L'D';
  EXPECT_STREQ(L"C:\\x\\Plugins\\", list.folder);
  list.SetFolder(nullptr);
  EXPECT_EQ(nullptr, list.folder);
  list.ScanFolder();
  EXPECT_EQ(0, list.Count());
}

// The file names of folder's "*.dll" in the order the system lists them.
std::vector<std::wstring> ListedDlls(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST(PluginList, ScanKeepsWholeModulesNewestFirstAndDropsTheRestSilently) {
  betest::RecordedMessages messages;
  velktest::TempFolder temp;
  const std::pair<const wchar_t*, const wchar_t*> files[] = {
      {L"test_plugin.dll", L"first.dll"},
      {L"stand_in_plugin.dll", L"second.dll"},
      {L"test_plugin.dll", L"third.dll"},
      {L"stand_in_plugin_partial.dll", L"partial.dll"},  // no "LoadBlock"
  };
  for (const auto& f : files) ASSERT_TRUE(CopyFileW(BuiltPlugin(f.first).c_str(), temp.File(f.second).c_str(), FALSE));
  ASSERT_TRUE(temp.WriteFile(L"broken.dll", std::string("not a module")));
  ASSERT_TRUE(temp.WriteFile(L"readme.txt", std::string("ignored")));

  BePluginList list;
  list.SetFolder(temp.Path().c_str());
  list.ScanFolder();
  // The modules that loaded whole, the one found last at the head.
  std::vector<std::wstring> expected;
  for (const std::wstring& name : ListedDlls(temp.Path())) {
    if (name == L"first.dll" || name == L"second.dll" || name == L"third.dll") expected.insert(expected.begin(), name);
  }
  ASSERT_EQ(3u, expected.size());
  std::vector<std::wstring> listed;
  const BePluginModule* previous = nullptr;
  for (const BePluginModule* m = list.head; m; m = m->next) {
    listed.push_back(m->fileName);
    EXPECT_EQ(previous, m->previous);
    previous = m;
    ASSERT_NE(nullptr, m->module);
    EXPECT_TRUE(m->InitPlugin && m->Init && m->DestroyBlock && m->InitBlock && m->TickBlock &&
                m->DoneBlock && m->BlockPropertyDlg && m->SaveBlock && m->LoadBlock);
  }
  EXPECT_EQ(expected, listed);
  EXPECT_EQ(nullptr, GetInitialisingPluginModule());

  // The kinds in registration order; RegisterBlock answered the new counts.
  BePluginModule* first = list.FindModule(L"first.dll");
  ASSERT_NE(nullptr, first);
  ASSERT_EQ(3, first->kindCount);
  EXPECT_STREQ(L"Сумматор", first->kinds[0].name);
  EXPECT_STREQ(L"Генератор", first->kinds[1].name);
  EXPECT_STREQ(L"Пустой", first->kinds[2].name);
  EXPECT_EQ(3, plugtest::Query(first, plugtest::kRegistered));
  // A module that registers nothing stays.
  ASSERT_NE(nullptr, list.FindModule(L"second.dll"));
  EXPECT_EQ(0, list.FindModule(L"second.dll")->kindCount);
  EXPECT_TRUE(messages.texts.empty());

  // A second scan starts over rather than adding to the list.
  list.ScanFolder();
  EXPECT_EQ(3, list.Count());
  list.Clear();
  EXPECT_EQ(0, list.Count());
}

TEST(PluginList, FindModuleIgnoresLetterCase) {
  ProgramPlugins plugins({{L"test_plugin.dll", L"Test_Plugin.dll"}});
  ASSERT_TRUE(plugins.Copied());
  BePluginList& list = ProgramPluginList();
  ASSERT_EQ(1, list.Count());
  EXPECT_EQ(list.head, list.FindModule(L"TEST_PLUGIN.DLL"));
  EXPECT_EQ(list.head, list.FindModule(L"test_plugin.dll"));
  EXPECT_EQ(nullptr, list.FindModule(L"test_plugin"));
  EXPECT_EQ(nullptr, list.FindModule(L""));
  EXPECT_EQ(nullptr, list.FindModule(nullptr));
}

TEST(PluginList, MissingFolderLeavesTheListEmpty) {
  BePluginList list;
  list.SetFolder(L"Z:\\no\\such\\folder\\");
  list.ScanFolder();
  EXPECT_EQ(0, list.Count());
}

BePluginHandle BE_PLUGIN_CALL NoBlock(BePluginHostBlock*) { return 0; }

TEST(PluginList, RegisterBlockOutsideInitialisationDoesNothing) {
  ProgramPlugins plugins({{L"test_plugin.dll", L"a.dll"}});
  BePluginModule* m = plugins.Find(L"a.dll");
  ASSERT_NE(nullptr, m);
  EXPECT_EQ(0, kBeHostCallbacks.RegisterBlock(NoBlock, L"Поздний"));
  EXPECT_EQ(3, m->kindCount);
  // Refused kinds while a module is not being initialised, and kinds a
  // module would add with a null creator or without a name.
  EXPECT_FALSE(m->AddKind(nullptr, L"x"));
  EXPECT_FALSE(m->AddKind(NoBlock, nullptr));
  EXPECT_FALSE(m->AddKind(NoBlock, L""));
  EXPECT_EQ(3, m->kindCount);
  EXPECT_EQ(1, m->FindKind(L"Генератор"));
  EXPECT_EQ(-1, m->FindKind(L"генератор"));  // letter case counts
}

TEST(PluginList, FolderPathsMayBeLongerThan260Units) {
  velktest::TempFolder temp;
  // Three nested folders of 100 characters each, named through the prefix
  // that lifts the system's own length limit.
  std::wstring folder = L"\\\\?\\" + temp.Path();
  std::vector<std::wstring> made;
  for (int i = 0; i < 3; ++i) {
    folder += std::wstring(100, static_cast<wchar_t>(L'a' + i)) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    made.push_back(folder);
  }
  ASSERT_GT(folder.size(), 300u);
  std::wstring dll = folder + L"long.dll";
  ASSERT_TRUE(CopyFileW(BuiltPlugin(L"test_plugin.dll").c_str(), dll.c_str(), FALSE));
  {
    BePluginList list;
    list.SetFolder(folder.c_str());
    list.ScanFolder();
    ASSERT_EQ(1, list.Count());
    EXPECT_STREQ(L"long.dll", list.head->fileName);
    EXPECT_EQ(3, list.head->kindCount);
  }
  DeleteFileW(dll.c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

}  // namespace
