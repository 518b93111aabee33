#include "blocks/engine/plugin_list.h"

#include <string>

#include "foundation/paths.h"
#include "support/test_support.h"

namespace {

// The stand-in plug-ins are built beside the test program.
std::wstring BuiltPlugin(const wchar_t* name) {
  wchar_t dir[kMaxPathChars];
  GetExeDirectory(dir);
  return std::wstring(dir) + name;
}

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

TEST(PluginList, ScanLoadsWholeModulesAndDropsIncompleteOnes) {
  velktest::TempFolder temp;
  ASSERT_TRUE(CopyFileW(BuiltPlugin(L"stand_in_plugin.dll").c_str(), temp.File(L"first.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(BuiltPlugin(L"stand_in_plugin.dll").c_str(), temp.File(L"second.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(BuiltPlugin(L"stand_in_plugin_partial.dll").c_str(), temp.File(L"partial.dll").c_str(),
                        FALSE));
  ASSERT_TRUE(temp.WriteFile(L"broken.dll", std::string("not a module")));
  ASSERT_TRUE(temp.WriteFile(L"readme.txt", std::string("ignored")));

  BePluginList list;
  list.SetFolder(temp.Path().c_str());
  list.ScanFolder();
  ASSERT_EQ(2, list.Count());
  for (BePluginModule* m = list.head; m; m = m->next) {
    EXPECT_TRUE(wcscmp(m->fileName, L"first.dll") == 0 || wcscmp(m->fileName, L"second.dll") == 0);
    ASSERT_NE(nullptr, m->module);
    for (int i = 0; i < BePluginModule::kEntryCount; ++i) EXPECT_NE(nullptr, m->entries[i]) << i;
    typedef int (*InitPluginFn)();
    EXPECT_EQ(1, reinterpret_cast<InitPluginFn>(m->entries[0])());
  }

  // A second scan starts over rather than adding to the list.
  list.ScanFolder();
  EXPECT_EQ(2, list.Count());
  list.Clear();
  EXPECT_EQ(0, list.Count());
}

TEST(PluginList, MissingFolderLeavesTheListEmpty) {
  BePluginList list;
  list.SetFolder(L"Z:\\no\\such\\folder\\");
  list.ScanFolder();
  EXPECT_EQ(0, list.Count());
}

}  // namespace
