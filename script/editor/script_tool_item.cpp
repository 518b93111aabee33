#include "script/editor/script_tool_item.h"

#include "foundation/buffers.h"

ScriptToolItem::ScriptToolItem(ScriptToolItem** list) : next(list ? *list : nullptr) {
  if (list) *list = this;
}

ScriptToolItem::~ScriptToolItem() {
  FreeBuffer(description);
  FreeBuffer(insertText);
}

void DeleteScriptToolItems(ScriptToolItem** list) {
  while (list && *list) {
    ScriptToolItem* item = *list;
    *list = item->next;
    delete item;
  }
}
