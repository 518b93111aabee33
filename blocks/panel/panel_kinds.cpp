#include "blocks/panel/panel_kinds.h"

#include <cwchar>
#include <vector>

namespace {
std::vector<UiItemKind>& Kinds() {
  static std::vector<UiItemKind> kinds;
  return kinds;
}

void AddKind(const wchar_t* name, int pictureId, UiItemCreator creator) {
  Kinds().push_back(UiItemKind{name, pictureId, creator});
}
}  // namespace

void RegisterPanelItemKinds() {
  Kinds().clear();
  AddKind(L"Текст", 145, nullptr);
  AddKind(L"Линия", 143, nullptr);
  AddKind(L"Картинка", 142, nullptr);
  AddKind(L"Кнопка", 141, nullptr);
  AddKind(L"Ползунок", 140, nullptr);
  AddKind(L"Джойстик", 162, nullptr);
  AddKind(L"Видео", 161, nullptr);
  AddKind(L"Индикатор", 163, nullptr);
}

int PanelItemKindCount() { return static_cast<int>(Kinds().size()); }

const UiItemKind* PanelItemKindAt(int index) {
  if (index < 0 || index >= PanelItemKindCount()) return nullptr;
  return &Kinds()[index];
}

const UiItemKind* FindPanelItemKind(const wchar_t* name) {
  if (!name) return nullptr;
  for (const UiItemKind& k : Kinds())
    if (wcscmp(k.name, name) == 0) return &k;
  return nullptr;
}
