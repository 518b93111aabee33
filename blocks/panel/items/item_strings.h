// String and stream helpers of the panel items' records.
#pragma once

class CStream;

// A copy of text in a new block (FreeBuffer); null for null or empty text
// or when memory ran out.
wchar_t* CopyItemString(const wchar_t* text);
// Bytes between the read position and the end.
int ItemBytesLeft(CStream* stream);
// Reads a zero-terminated UTF-16 string into *field (null when empty);
// false when the stream ends before the terminator (*field is then null).
bool ReadItemString(CStream* stream, wchar_t** field);
