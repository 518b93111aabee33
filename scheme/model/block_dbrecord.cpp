// CSCHBlock::ApplyDbRecord, base: model, options, table name and price of a
// component database record. Kept apart from block.cpp because it needs the
// database tables (scheme/database/).
#include "scheme/model/block.h"

#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"

void CSCHBlock::ApplyDbRecord(CompDbRecord* record) {
  if (!record) return;
  CompDbTable* table = record->GetTable();
  ApplyDbFields(record->GetTextByName("model"), record->FormatOptions(),
                table ? table->GetName() : nullptr, record->GetDoubleByName("price"));
}
