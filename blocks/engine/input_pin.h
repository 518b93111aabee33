// An input of a simulation block. The input alone holds a link: the output
// it reads from and the three coordinates of the link's route.
#pragma once

#include <windows.h>

#include "blocks/engine/signal_type.h"

class CBEBlock;
class BeOutputPin;

class BeInputPin {
public:
  explicit BeInputPin(CBEBlock* owner) : owner(owner) {}
  BeInputPin(const BeInputPin&) = delete;
  BeInputPin& operator=(const BeInputPin&) = delete;

  // (owner left, owner top + y offset).
  POINT GetPosition() const;

  // The link drawn from this input to its source with the pen selected in
  // the DC; nothing for an unconnected input.
  void DrawLink(HDC dc) const;
  // The link segment under (x, y): 0 the piece leaving the input, 1 the
  // vertical piece at x1, 2 the piece at route y, 3 the vertical piece at
  // x2, 4 the piece reaching the source; -1 for none or no link.
  int HitTestLink(int x, int y) const;
  // The rectangle the link's route spans; false for an unconnected input.
  bool GetLinkBounds(RECT* rect) const;
  // Does the link go round (the source lies right of the input minus 20).
  bool LinkDetours() const;

  // Turns savedSource into the first output of the owner's scheme (from the
  // list head, each block's outputs in order) with that saved identity;
  // identity 0 or no match leaves the input unconnected. Clears savedSource.
  void ResolveSource();

  // Fields, in this order.
  BeSignalType type = kBeSignalBit;
  CBEBlock* owner;
  BeOutputPin* source = nullptr;  // the linked output, null when unconnected
  // The identity of the source read from a stream, until ResolveSource;
  // kept apart from source so that an identity is never taken for a link.
  unsigned int savedSource = 0;
  int routeX1 = 0;
  int routeY = 0;
  int routeX2 = 0;
  int yOffset = 0;
  const wchar_t* name = nullptr;         // not owned
  const wchar_t* description = nullptr;  // not owned

private:
  int LinkPoints(POINT* points) const;  // 4 or 6 points from the input; 0 unconnected
};
