#include "script/editor/script_tool_file.h"

#include <cstring>
#include <new>

#include "foundation/buffers.h"
#include "foundation/encoding.h"

namespace {

// The next line, cut at its first CR or LF; false at the end of the file.
bool ReadLine(FILE* file, char* line) {
  if (!fgets(line, kScriptToolLineBytes, file)) return false;
  line[strcspn(line, "\r\n")] = 0;
  return true;
}

wchar_t* Decode(const char* line) {
  auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(line));
  return DecodeText(bytes, static_cast<int>(strlen(line)), false, kFoundationEncodingAnsi);
}

bool StartsWith(const char* line, const char* head) { return strncmp(line, head, strlen(head)) == 0; }

// One line of the elements section; false when memory ran out or the file
// ended inside an element.
struct ElementReader {
  FILE* file;
  ScriptToolItem** items;
  ScriptToolTarget* target;
  void* topGroup = nullptr;
  void* group = nullptr;

  bool AddGroup(void* parent, const char* text, bool topLevel) {
    wchar_t* caption = Decode(text);
    void* item = target ? target->AddGroup(parent, caption ? caption : L"") : nullptr;
    FreeBuffer(caption);
    if (topLevel) topGroup = item;
    group = item;
    return true;
  }

  bool AddElement(const char* descriptionText, bool* more) {
    char label[kScriptToolLineBytes];
    char insert[kScriptToolLineBytes];
    wchar_t* description = Decode(descriptionText);
    if (!ReadLine(file, label) || !ReadLine(file, insert)) {
      FreeBuffer(description);
      *more = false;
      return true;
    }
    auto* item = new (std::nothrow) ScriptToolItem(items);
    if (!item) {
      FreeBuffer(description);
      return false;
    }
    item->description = description;
    item->caretOffset = RewriteScriptInsertLine(insert);
    item->insertText = Decode(insert);
    wchar_t* caption = Decode(label);
    if (target) target->AddElement(group, caption ? caption : L"", item);
    FreeBuffer(caption);
    return true;
  }
};

}  // namespace

int RewriteScriptInsertLine(char* line) {
  int caret = 0;
  for (int i = 0; line[i]; ++i) {
    if (line[i] == '\\') {
      char c = line[i + 1];
      if (!c) break;
      if (c == '2') {
        line[i] = '|';
        line[i + 1] = '|';
      } else if (c == 'n') {
        line[i] = '\r';
        line[i + 1] = '\n';
      } else if (c == 't') {
        line[i] = ' ';
        line[i + 1] = '\t';
      } else if (c == '|') {
        line[i] = ' ';
      }
      ++i;  // the second character is taken as it now stands
    } else if (line[i] == '|') {
      line[i] = ' ';
      caret = i;
    }
  }
  return caret;
}

bool ReadScriptToolFile(FILE* file, ScriptToolItem** items, ScriptExample** examples,
                        ScriptToolTarget* target) {
  if (!file) return false;
  char line[kScriptToolLineBytes];
  ElementReader elements = {file, items, target};
  bool more = true;
  bool examplesFollow = false;
  while (more && ReadLine(file, line)) {
    if (StartsWith(line, "--")) {
      examplesFollow = true;
      break;
    }
    if (StartsWith(line, "++")) {
      elements.AddGroup(elements.topGroup, line + 2, false);
    } else if (line[0] == '+') {
      elements.AddGroup(nullptr, line + 1, true);
    } else if (line[0] == '*') {
      if (!elements.AddElement(line + 1, &more)) return false;
    }
  }
  if (!examplesFollow) return true;

  bool atEnd = false;
  while (!atEnd) {
    // Up to the line that names the next example.
    bool named = false;
    while (ReadLine(file, line)) {
      if (line[0] == '*') {
        named = true;
        break;
      }
    }
    if (!named) break;
    auto* example = new (std::nothrow) ScriptExample(examples);
    if (!example) return false;
    wchar_t* name = Decode(line + 1);
    if (target) target->AddExample(name ? name : L"", example);
    FreeBuffer(name);
    atEnd = true;
    while (ReadLine(file, line)) {
      if (StartsWith(line, "--")) {
        atEnd = false;
        break;
      }
      wchar_t* text = Decode(line);
      bool appended = example->AppendLine(text ? text : L"");
      FreeBuffer(text);
      if (!appended) return false;
    }
  }
  return true;
}

bool ReadScriptToolFile(const wchar_t* path, ScriptToolItem** items, ScriptExample** examples,
                        ScriptToolTarget* target) {
  FILE* file = path ? _wfopen(path, L"rt") : nullptr;
  if (!file) return false;
  bool ok = ReadScriptToolFile(file, items, examples, target);
  fclose(file);
  return ok;
}
