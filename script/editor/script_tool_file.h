// The language-element file "jstool.txt": 8-bit ANSI text, read line by
// line (pieces of at most 255 bytes). First the language elements:
//   "+" text      a top-level group (at the root)
//   "++" text     a subgroup, last child of the current top-level group
//   "*" text      an element described by text; the next line is its label,
//                 the line after that its insert text
//   "--"          ends the elements
// then the examples: a line "*" name starts one, its text runs up to a line
// beginning with "--" or the end of the file. Other lines are ignored.
#pragma once

#include <cstdio>

#include "script/editor/script_example.h"
#include "script/editor/script_tool_item.h"

// Where the reader puts what it found: the editor's tree and examples list,
// or a test's record of them. A group handle of null is the root.
class ScriptToolTarget {
public:
  virtual ~ScriptToolTarget() = default;
  // A group item with the text as the last child of parent; its handle.
  virtual void* AddGroup(void* parent, const wchar_t* text) = 0;
  // An element item labelled label as the last child of parent.
  virtual void AddElement(void* parent, const wchar_t* label, ScriptToolItem* item) = 0;
  // A row named name at the end of the examples list.
  virtual void AddExample(const wchar_t* name, ScriptExample* example) = 0;
};

// Bytes of a line the reader takes at a time (with the terminator).
const int kScriptToolLineBytes = 256;

// Rewrites an insert-text line in place (its length stays): backslash-2
// becomes "||", backslash-n CR LF, backslash-t a space and a tab,
// backslash-bar a space and a bar; a bare bar becomes a space and marks the
// caret. Answers the caret offset (the last mark; 0 without one).
int RewriteScriptInsertLine(char* line);

// Reads an open file into the two lists (newest first) and the target.
// Answers false when memory ran out (what was read stays).
bool ReadScriptToolFile(FILE* file, ScriptToolItem** items, ScriptExample** examples,
                        ScriptToolTarget* target);
// The same for a file named path; false when it cannot be opened (nothing
// added).
bool ReadScriptToolFile(const wchar_t* path, ScriptToolItem** items, ScriptExample** examples,
                        ScriptToolTarget* target);
