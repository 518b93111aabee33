// The navigation map's text file: its sections "*IMAGES", "*WALLS" and
// "*PLACES", one tab-separated line per row, lines ended by CR LF as a text
// file of the system is.
#pragma once

class NavMap;

// The whole file's text as a heap block the caller frees with FreeBuffer,
// its length in *size; null when memory runs out.
char* FormatMapText(const NavMap* map, int* size);

// Writes size bytes to a temporary file beside path and then puts it in
// path's place, so path holds either its old contents or all of the new.
// Paths too long for the system's usual limit are written through their
// long form. False when anything fails (the temporary file is removed).
bool ReplaceFileContents(const wchar_t* path, const char* data, int size);
