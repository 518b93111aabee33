#include "scheme/board/pcb.h"

#include <new>

#include "foundation/stream.h"
#include "scheme/model/scheme.h"

namespace {

const COLORREF kBoardSymbolColor = RGB(0x99, 0xFF, 0x99);

// Boards being read, one inside the other. A stream that nests them deeper
// than any document does is refused before it can exhaust the stack.
int g_boardReadDepth = 0;

struct ReadDepth {
  ReadDepth() { g_boardReadDepth++; }
  ~ReadDepth() { g_boardReadDepth--; }
  ReadDepth(const ReadDepth&) = delete;
  ReadDepth& operator=(const ReadDepth&) = delete;
};

// Ends the stream for its reader: the read that follows comes up short, so
// the scheme reader that passed the stream drops the whole record.
void RefuseRecord(CStream* stream) {
  stream->Seek(0, 2);
  stream->ReadByte();
}

}  // namespace

CSCH_PCB::CSCH_PCB() {
  rect.left = 0;
  rect.top = 0;
  rect.right = 120;
  rect.bottom = 120;
  nestedScheme = nullptr;
  footprintWidth = 100.0f;
  footprintLength = 100.0f;
  price = 500.0;
}

CSCH_PCB::~CSCH_PCB() {
  if (nestedScheme) {
    SchScheme* board = nestedScheme;
    nestedScheme = nullptr;
    // Without the owner link the connectors leave this block's pins alone.
    board->ownerBlock = nullptr;
    delete board;
  }
}

void CSCH_PCB::MakeNestedScheme() {
  if (nestedScheme) return;
  nestedScheme = new (std::nothrow) SchScheme;
  if (nestedScheme) nestedScheme->ownerBlock = this;
}

void CSCH_PCB::Attach(SchScheme* target) {
  CSCHBlock::Attach(target);
  MakeNestedScheme();
}

void CSCH_PCB::Paint(HDC dc) {
  PaintBody(dc, kBoardSymbolColor);
  PaintName(dc, instanceName, RGB(0, 0, 0));
}

void CSCH_PCB::Start() {
  if (nestedScheme) nestedScheme->StartSimulation();
}

void CSCH_PCB::Step(float dt) {
  if (nestedScheme) nestedScheme->StepSimulation(dt);
}

void CSCH_PCB::Stop() {
  if (nestedScheme) nestedScheme->StopSimulation();
}

void CSCH_PCB::JoinInternalNets() {
  if (nestedScheme) nestedScheme->BuildNets();
}

void CSCH_PCB::Save(CStream* s) {
  s->Write(&footprintWidth, 4);
  s->Write(&footprintLength, 4);
  if (nestedScheme) {
    nestedScheme->Write(s, 0);
  } else {
    SchScheme empty;  // a board never attached still writes a readable record
    empty.Write(s, 0);
  }
  CSCHBlock::Save(s);
}

void CSCH_PCB::Load(CStream* s) {
  footprintWidth = s->ReadFloat();
  footprintLength = s->ReadFloat();
  MakeNestedScheme();
  if (!nestedScheme || g_boardReadDepth >= kSchMaxBoardNesting) {
    RefuseRecord(s);
    return;
  }
  bool read;
  {
    ReadDepth depth;
    read = nestedScheme->Read(s, 0);
  }
  // The base record follows the nested stream; after a nested stream that
  // did not read, its position is unknown: nothing more is read from it.
  if (!read) {
    RefuseRecord(s);
    return;
  }
  CSCHBlock::Load(s);
  FitToPins();
}

void CSCH_PCB::SaveRunState(CStream* s) {
  CSCHBlock::SaveRunState(s);
  if (nestedScheme) nestedScheme->SaveRunState(s);
}

bool CSCH_PCB::LoadRunState(CStream* s) {
  if (!CSCHBlock::LoadRunState(s)) return false;
  return nestedScheme ? nestedScheme->LoadRunState(s) : true;
}

CSCHBlock* CreateCSCH_PCB() { return new (std::nothrow) CSCH_PCB; }
