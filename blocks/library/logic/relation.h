// What the comparison blocks share: the six relations, their symbols, the
// comparisons with the rule for not-a-number, the pentagon they are drawn
// as, and their type byte.
#pragma once

#include <windows.h>

#include <cstdint>

#include "blocks/engine/signal_type.h"

class CBEBlock;
class CStream;

// The relation codes, in the order the dialogs list them.
const unsigned char kRelationEqual = 0;
const unsigned char kRelationNotEqual = 1;
const unsigned char kRelationLess = 2;
const unsigned char kRelationGreater = 3;
const unsigned char kRelationLessOrEqual = 4;
const unsigned char kRelationGreaterOrEqual = 5;
const int kRelationCount = 6;

// "=", "≠", "<", ">", "≤", "≥"; "?" for a code above 5.
const wchar_t* RelationSymbol(unsigned char relation);

// Whether a relation b holds: 1 or 0; -1 for a code above 5 (nothing is
// written then). With a not-a-number side only "≠" holds.
int CompareIntegers(int64_t a, int64_t b, unsigned char relation);
int CompareReals(double a, double b, unsigned char relation);

// A and B, eight-byte cells, compared in the type: bit as unsigned bytes,
// char, short and int signed, float and double real. 1, 0, or -1 for a
// code above 5 or a type outside bit..double.
int CompareCells(const unsigned char* a, const unsigned char* b, BeSignalType type, unsigned char relation);

// The block's rectangle with its right side drawn to a point: (left, top),
// (right - 15, top), (right, middle), (right - 15, bottom), (left, bottom),
// filled with the block's fill colour and outlined with the DC's pen.
void DrawArrowBody(CBEBlock* block, HDC dc);

// A type byte of bit..double; false for a cut record or another code.
bool ReadComparisonType(CStream* stream, BeSignalType* type);
