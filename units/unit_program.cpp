#include "units/unit_program.h"

#include "blocks/engine/block_host.h"
#include "blocks/engine/block_scheme.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme_stream.h"

void InitUnitProgram(BeScheme* program, BeCatalogue* catalogue, CSCHBlock* unit) {
  if (!program) return;
  program->Init(catalogue);
  program->owner = unit;
}

bool EditUnitProgram(CSCHBlock* unit, BeScheme* program) {
  if (program) GetBlockHost()->OpenBlockEditor(program, unit ? unit->instanceName : nullptr);
  return false;
}

void WriteUnitProgram(BeScheme* program, CStream* stream) {
  if (program && stream) program->Save(stream, false);
}

bool ReadUnitProgram(BeScheme* program, CStream* stream) {
  if (!program || !stream) return false;
  if (program->Load(stream, false)) return true;
  MarkSchemeRecordBroken(stream);
  return false;
}
