// A scheme document on disk: whether its file can be used, reading it,
// writing it with a check read from the file itself, and its backup name.
#pragma once

#include <string>

class SchScheme;

enum class SchemeFileAccess {
  kReadWrite,  // the file exists and opens for reading and writing
  kMissing,    // neither the file nor (possibly) its folder exists
  kUnusable,   // it exists but cannot be used: locked, no access, a folder
};

// Opens the file for reading and writing (others may read meanwhile) and
// closes it again.
SchemeFileAccess ProbeSchemeFile(const wchar_t* path);

// Adds the objects of the file's "SPH1" stream to scheme; false (scheme
// unchanged) when the file cannot be read or does not parse.
bool ReadSchemeFile(const wchar_t* path, SchScheme* scheme);

// Writes scheme's whole "SPH1" stream to the file in one piece, then reads
// the file back into a scratch scheme. True only when both succeeded.
bool WriteSchemeFile(SchScheme* scheme, const wchar_t* path);

// The path with its file name's extension replaced by ".~vlkx" (appended
// when the name has none).
std::wstring SchemeBackupPath(const wchar_t* path);
