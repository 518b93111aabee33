// An example program of the script editor's examples list, read from the
// language-element file. The list is newest first and owned by the editor.
#pragma once

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
void DeleteScriptExamples(ScriptExample** list);
