// What the tests of the discrete parts share beyond the component kit: the
// bytes a record writes before the base block record, and a host that
// records the component card an Edit asks for.
#pragma once

#include <string>
#include <vector>

#include "component_kit.h"

namespace disctest {

// The bytes the block's Save writes before the CSCHBlock record that ends
// it. A test failure when the record does not end with the base record.
template <class T>
std::vector<uint8_t> FieldsBefore(T* block) {
  std::vector<uint8_t> full = comptest::SaveBytes(block);
  CMemoryStream base;
  block->CSCHBlock::Save(&base);
  std::vector<uint8_t> tail = comptest::StreamBytes(base);
  if (tail.size() > full.size() || !std::equal(tail.begin(), tail.end(), full.end() - tail.size())) {
    ADD_FAILURE() << "the record does not end with the base record";
    return {};
  }
  return std::vector<uint8_t>(full.begin(), full.end() - tail.size());
}

// The base block record of the block.
inline std::vector<uint8_t> BaseRecord(CSCHBlock* block) {
  CMemoryStream base;
  block->CSCHBlock::Save(&base);
  return comptest::StreamBytes(base);
}

// While alive, the program's host records the component cards asked for.
class CardHost : public comptest::EditHost {
public:
  void ShowComponentCard(const wchar_t* description, const wchar_t* pictureFile) override {
    cards++;
    text = description ? description : L"";
    picture = pictureFile ? pictureFile : L"";
    hasPicture = pictureFile != nullptr;
  }
  int cards = 0;
  std::wstring text, picture;
  bool hasPicture = false;
};

}  // namespace disctest
