// The records the language-element file gives the script editor: the
// elements of the tree (a piece of script to insert at the caret) and the
// example programs of the examples list. Each list is newest first and
// owned by the editor.
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

class ScriptExample {
public:
  // Links the new example in front of *list, with no text.
  explicit ScriptExample(ScriptExample** list);
  // Frees the text.
  ~ScriptExample();
  ScriptExample(const ScriptExample&) = delete;
  ScriptExample& operator=(const ScriptExample&) = delete;

  // Appends a line, after CR LF when the text has lines already. False when
  // memory ran out (the text is as it was).
  bool AppendLine(const wchar_t* line);

  wchar_t* text = nullptr;  // owned; its lines joined by CR LF
  ScriptExample* next;
};

// Deletes a whole list and empties it.
void DeleteScriptToolItems(ScriptToolItem** list);
void DeleteScriptExamples(ScriptExample** list);
