// CSCHBlock::ApplyDbRecord, base: model, options, table name and price of a
// component database record. Kept apart from block.cpp because it needs the
// database tables (scheme/compdb.h).
#include "scheme/block.h"

#if __has_include("scheme/compdb.h")
#include "scheme/compdb.h"
#define VELK_SCHEME_HAS_COMPDB 1
#endif

void CSCHBlock::ApplyDbRecord(CompDbRecord* record) {
#ifdef VELK_SCHEME_HAS_COMPDB
  if (!record) return;
  CompDbTable* table = record->GetTable();
  ApplyDbFields(record->GetTextByName("model"), record->FormatOptions(),
                table ? table->GetName() : nullptr, record->GetDoubleByName("price"));
#else
  (void)record;
#endif
}
