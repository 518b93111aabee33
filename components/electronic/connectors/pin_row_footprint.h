// The footprint of a pin header, shared by the two header classes.
#pragma once

class CSCHBlock;
class PcbPainter;

// Per pin a black 2.54 mm square with a grey outline and a pale blue 0.64 mm
// lead in its centre, the row along y and centred; then the name. The
// placement is the caller's.
void PaintPinRowFootprint(PcbPainter* painter, const CSCHBlock* block, int pins);
