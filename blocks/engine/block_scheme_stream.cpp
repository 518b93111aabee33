// The "BE5 " stream of a block scheme: magic, block count, then per block
// its class id and its record, oldest block first.
#include "blocks/engine/block_scheme.h"

#include <algorithm>

#include "blocks/engine/block.h"
#include "blocks/engine/input_pin.h"
#include "blocks/engine/output_pin.h"
#include "blocks/engine/record_io.h"
#include "foundation/plain_array.h"
#include "foundation/stream.h"
#include "kestui/core/kest_host.h"

const unsigned char kBeSchemeStreamMagic[4] = {'B', 'E', '5', ' '};

namespace {
// No block record is shorter: class id, rectangle, an empty caption, flags.
const int kMinBlockRecord = 4 + 16 + 2 + 1;

bool IsWritten(const CBEBlock* block, bool onlySelected) {
  return !onlySelected || (block->IsSelected() && !block->IsDevice());
}

void ClearOutputIds(CBEBlock* from, CBEBlock* to) {
  for (CBEBlock* block = from; block && block != to; block = block->next)
    for (int i = 0; i < block->outputCount; ++i) block->outputs[i]->savedId = 0;
}

// The outputs of the blocks read together, found by their identity in the
// stream; the first output in list order wins an identity, as when the
// scheme is walked from its head. Save numbers the outputs from 1 without a
// gap, so the index is an array by identity; a stream whose identities lie
// far beyond its count of outputs (not written by Save) is indexed by a
// list sorted by identity instead.
class OutputIndex {
public:
  // False when memory ran out.
  bool Build(CBEBlock* head, CBEBlock* stop) {
    int count = 0;
    unsigned int largest = 0;
    for (CBEBlock* block = head; block != stop; block = block->next) {
      for (int i = 0; i < block->outputCount; ++i) {
        unsigned int id = block->outputs[i]->savedId;
        if (id == 0) continue;
        ++count;
        if (id > largest) largest = id;
      }
    }
    if (count == 0) return true;
    dense_ = largest <= 2u * static_cast<unsigned int>(count) + 16u;
    if (dense_) {
      if (!byId_.Resize(static_cast<int>(largest) + 1)) return false;
    } else if (!sorted_.Resize(count)) {
      return false;
    }
    int order = 0;
    for (CBEBlock* block = head; block != stop; block = block->next) {
      for (int i = 0; i < block->outputCount; ++i) {
        BeOutputPin* output = block->outputs[i];
        unsigned int id = output->savedId;
        if (id == 0) continue;
        if (!dense_) sorted_[order] = Entry{id, order, output};
        else if (!byId_[static_cast<int>(id)]) byId_[static_cast<int>(id)] = output;
        ++order;
      }
    }
    if (!dense_) {
      std::sort(sorted_.begin(), sorted_.end(),
                [](const Entry& a, const Entry& b) { return a.id != b.id ? a.id < b.id : a.order < b.order; });
    }
    return true;
  }
  // The output of that identity, or null (always for 0).
  BeOutputPin* Find(unsigned int id) const {
    if (id == 0) return nullptr;
    if (dense_) return id < static_cast<unsigned int>(byId_.Count()) ? byId_[static_cast<int>(id)] : nullptr;
    const Entry* first = std::lower_bound(sorted_.begin(), sorted_.end(), id,
                                          [](const Entry& e, unsigned int key) { return e.id < key; });
    return first != sorted_.end() && first->id == id ? first->pin : nullptr;
  }

private:
  struct Entry {
    unsigned int id;
    int order;
    BeOutputPin* pin;
  };
  bool dense_ = true;
  CPlainArray<BeOutputPin*> byId_;
  CPlainArray<Entry> sorted_;
};
}  // namespace

void BeScheme::Save(CStream* stream, bool onlySelected) {
  if (romLimit > 0 && GetRomTotal(true) > romLimit) {
    GetKestHost()->ShowMessage(
        MB_OK, L"Внимание",
        L"Программа не может быть записана в микропроцессор, т.к. ее объем превышает объем ПЗУ.");
  }
  stream->Write(kBeSchemeStreamMagic, 4);
  // The count is known once the records are written; its place is kept.
  int countAt = stream->GetPosition();
  stream->WriteInt32(0);
  // Identities count from 1 within this stream, given to each output when
  // it is first needed, so the same scheme always gives the same bytes.
  // Outside a stream every identity is 0: outputs of blocks left out keep
  // 0, and inputs fed by them are written unconnected.
  unsigned int nextId = 1;
  int count = 0;
  CBEBlock* tail = GetTail();
  for (CBEBlock* block = tail; block; block = block->previous) {
    if (!IsWritten(block, onlySelected)) continue;
    ++count;
    for (int i = 0; i < block->inputCount; ++i) {
      BeOutputPin* source = block->inputs[i]->source;
      if (source && source->savedId == 0 && source->owner->scheme == this &&
          IsWritten(source->owner, onlySelected))
        source->savedId = nextId++;
    }
    for (int i = 0; i < block->outputCount; ++i) {
      if (block->outputs[i]->savedId == 0) block->outputs[i]->savedId = nextId++;
    }
    stream->WriteInt32(static_cast<int>(block->GetClassId()));
    block->Save(stream);
  }
  int end = stream->GetPosition();
  stream->Seek(countAt, 0);
  stream->WriteInt32(count);
  stream->Seek(end, 0);
  ClearOutputIds(blocks, nullptr);
}

bool BeScheme::Load(CStream* stream, bool select) {
  for (int i = 0; i < 4; ++i) {
    unsigned char b;
    if (!ReadByteChecked(stream, &b) || b != kBeSchemeStreamMagic[i]) return false;
  }
  CBEBlock* oldHead = blocks;
  unsigned int count;
  // Every record takes some bytes, so a count beyond what the stream holds
  // is a damaged stream, refused before anything is made.
  if (!ReadUInt32Checked(stream, &count) ||
      count > static_cast<unsigned int>(BytesLeft(stream) / kMinBlockRecord))
    return false;
  unsigned char wasReading = reading;
  reading = 1;
  bool ok = true;
  try {
    for (unsigned int n = 0; n < count && ok; ++n) {
      unsigned int classId;
      if (!ReadUInt32Checked(stream, &classId)) {
        ok = false;
        break;
      }
      CBEBlock* block = CreateBlock(classId);
      ok = block && block->Load(stream);
    }
  } catch (...) {
    // A block whose record cannot be taken at all (a plug-in block of an
    // older record without its module) ends the whole read: the blocks read
    // so far go, and the caller learns why.
    reading = wasReading;
    while (blocks && blocks != oldHead) delete blocks;
    throw;
  }
  reading = wasReading;
  // Links resolve among the blocks read together.
  OutputIndex outputs;
  if (ok && !outputs.Build(blocks, oldHead)) ok = false;  // memory ran out
  if (!ok) {
    // Nothing of a stream read in part stays: the new blocks are at the
    // head, and no older block links to them.
    while (blocks && blocks != oldHead) delete blocks;
    return false;
  }
  for (CBEBlock* block = blocks; block != oldHead; block = block->next) {
    for (int i = 0; i < block->inputCount; ++i) {
      BeInputPin* input = block->inputs[i];
      input->source = outputs.Find(input->savedSource);
      input->savedSource = 0;
    }
  }
  // Every link of the read is in place before any block looks at what
  // feeds it (a block may look through its source to that one's source).
  for (CBEBlock* block = blocks; block != oldHead; block = block->next) {
    block->OnLinksResolved();
    if (select) block->flags |= kBeBlockSelected;
  }
  ClearOutputIds(blocks, oldHead);
  return true;
}
