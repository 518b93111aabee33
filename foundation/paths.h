// Path helpers. "/", "\" and "|" all end a directory part; the extension is
// the text after the last "." of the file name. Index 0 of a path is never
// examined. A null destination only measures.
#pragma once

#include <cstddef>

const int kFoundationMaxPathChars = 260;

inline bool IsPathSeparator(wchar_t c) { return c == L'/' || c == L'\\' || c == L'|'; }

int ChangeFileExtension(wchar_t* dst, const wchar_t* src, const wchar_t* ext);
int GetFileExtension(wchar_t* out, const wchar_t* path);
int GetFileName(wchar_t* out, const wchar_t* path);
int GetDirectoryPart(wchar_t* dst, const wchar_t* src);
wchar_t* DupDirectoryPart(const wchar_t* path);
// buffer holds kFoundationMaxPathChars characters (or is null to measure).
int GetModulePath(wchar_t* buffer);
wchar_t* DupModulePath();
// Fills buffer (kFoundationMaxPathChars) with the program's folder including its last
// separator and returns the address just after it.
wchar_t* GetExeDirectory(wchar_t* buffer);
