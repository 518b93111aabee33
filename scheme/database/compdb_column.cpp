#include "scheme/database/compdb_column.h"

#include <cstring>

#include "foundation/buffers.h"
#include "scheme/database/compdb_table.h"
#include "scheme/database/compdb_text.h"

using namespace compdb_text;

CompDbColumn::CompDbColumn(CompDbTable* table) {
  if (table) table->AddColumn(this);
}

CompDbColumn::~CompDbColumn() {
  FreeBuffer(caption_);
  FreeBuffer(key_);
  FreeBuffer(choices_);
}

void CompDbColumn::SetName(const char* text) { ReplaceString(&caption_, text); }

void CompDbColumn::SetExportName(const char* text) { ReplaceString(&key_, text); }

void CompDbColumn::SetChoices(const char* text) {
  FreeBuffer(choices_);
  choices_ = nullptr;
  choiceCount_ = 0;
  if (!text || !*text) return;
  size_t n = strlen(text);
  char* list = static_cast<char*>(AllocBuffer(n + 2));
  if (!list) return;
  int count = 1;
  for (size_t i = 0; i < n; ++i) {
    list[i] = text[i] == ';' ? 0 : text[i];
    if (text[i] == ';') ++count;
  }
  list[n] = 0;
  list[n + 1] = 0;
  choices_ = list;
  choiceCount_ = count;
}

const char* CompDbColumn::GetChoice(int n) const {
  if (!choices_ || n < 0 || n >= choiceCount_) return nullptr;
  const char* p = choices_;
  for (int i = 0; i < n; ++i) p += strlen(p) + 1;
  return SkipBlanks(p);
}
