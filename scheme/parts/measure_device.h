// The base of the measuring instruments.
#pragma once

#include "scheme/model/block.h"

// A measuring instrument. Every live one is in a program-wide list, in
// construction order, so that each can take a distinct letter. The list
// counts the devices named by each letter as their names change, so that
// finding a free letter costs a constant however many devices there are.
class CSCHMeasureDevice : public CSCHBlock {
public:
  CSCHMeasureDevice();
  ~CSCHMeasureDevice() override;

  static int GetListCount();
  // The i-th live measuring device (walking the list), null out of range.
  static CSCHMeasureDevice* GetListItem(int i);
  // The first capital letter "A" to "Z" that no listed device has as its
  // instance name (exact comparison); 0 when all 26 are in use.
  static wchar_t GetFreeLetter();

protected:
  void InstanceNameChanging(const wchar_t* from, const wchar_t* to) override;

private:
  // Links of the list, oldest first.
  CSCHMeasureDevice* prevDevice_ = nullptr;
  CSCHMeasureDevice* nextDevice_ = nullptr;
};
