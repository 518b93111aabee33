// An element of the script editor's tree, read from the language-element
// file: a piece of script to insert at the caret. The list is newest first
// and owned by the editor.
#pragma once

class ScriptToolItem {
public:
  // Links the new element in front of *list, with no texts and offset 0.
  explicit ScriptToolItem(ScriptToolItem** list);
  // Frees both texts.
  ~ScriptToolItem();
  ScriptToolItem(const ScriptToolItem&) = delete;
  ScriptToolItem& operator=(const ScriptToolItem&) = delete;

  ScriptToolItem* next;
  wchar_t* description = nullptr;  // owned; may be none
  wchar_t* insertText = nullptr;   // owned
  int caretOffset = 0;             // characters from the start of insertText
};

// Deletes a whole list and empties it.
void DeleteScriptToolItems(ScriptToolItem** list);
