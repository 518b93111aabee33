// Texts of the device records and database rows.
#pragma once

#include <windows.h>

class CSCHBlock;

// A database text (code page 1251) as an owned wide copy (FreeBuffer); null
// for a missing or empty text.
wchar_t* DecodeDbText(const char* text);

// Replaces the owned text in *slot by a new owned text (or null).
void ReplaceOwnedText(wchar_t** slot, wchar_t* text);

// Appends a burn-out message (format with one %s for the instance name, ""
// for a device without a name) to the simulation message log.
void ReportDevice(const CSCHBlock* block, const wchar_t* format);

// Draws the instance name in black with its left edge at x and its top at
// y, when the block has one.
void PaintDeviceName(HDC dc, const CSCHBlock* block, int x, int y);
// The width the instance name takes in the DC (0 without a name).
int DeviceNameWidth(HDC dc, const CSCHBlock* block);
