// Checked reads for block records. A scheme stream may come from another
// process (the clipboard) or a damaged file, so every field read reports
// whether the stream still held it.
#pragma once

class CStream;

// Reads exactly length bytes; false (with the buffer's unread part as it
// was) when fewer were left.
bool ReadExact(CStream* stream, void* data, int length);
bool ReadInt32Checked(CStream* stream, int* value);
bool ReadUInt32Checked(CStream* stream, unsigned int* value);
bool ReadByteChecked(CStream* stream, unsigned char* value);
bool ReadFloatChecked(CStream* stream, float* value);
bool ReadDoubleChecked(CStream* stream, double* value);
// A zero-terminated UTF-16LE string into a new heap block (FreeBuffer), null
// for an empty one; false when the stream ends before the terminator.
bool ReadStringWChecked(CStream* stream, wchar_t** text);
// Bytes left between the position and the end.
int BytesLeft(CStream* stream);
