// modelpicker's program-wide settings: the database folders, the command line
// with its four arguments, the tables it names, and the output and lock files
// of the hand-shake with the program that started it.
//
// Command line (the text after the program name), arguments separated by
// blanks or tabs, a double-quoted argument may hold blanks (no escapes):
//   1. table names separated by ";" (table files of the database folder
//      without ".txt")
//   2. the model to preselect (the first cell of a record)
//   3. the options of that model, "key:choice;" pairs
//   4. the output path of the script
// Further arguments are ignored; an absent or empty argument leaves its
// setting unset (empty).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/ansi_text.h"
#include "scheme/database/compdb_table.h"

struct PickerState {
  // One table per name of the first argument, in the order given.
  std::vector<std::unique_ptr<CompDbTable>> tables;
  std::string model;         // ANSI code page; empty: no preselection
  std::string options;       // ANSI code page; empty: no options
  std::wstring outputPath;   // empty: no script, nothing deleted

  int GetTableCount() const { return static_cast<int>(tables.size()); }
  // Null for an index outside the list.
  CompDbTable* GetTable(int index) const;
};

// The next argument of a command line; *position moves past it. Blanks and
// tabs before it are skipped. A quoted argument runs to the next double
// quote (or the end) and the closing quote is stepped over; an unquoted one
// runs to the next blank, tab or the end, a double quote in it being an
// ordinary character. Arguments are taken whole, whatever their length.
// Empty at the end of the line.
std::wstring GetNextArgument(const wchar_t** position);

// Appends an unloaded table of that name.
void AddTable(PickerState* state, const std::wstring& name);
// Reads up to four arguments into state (see above). The first is split at
// every ";": each piece becomes a table, an empty piece between two ";" or
// before a leading ";" too; a trailing ";" adds nothing.
void ParseCommandLine(const wchar_t* commandLine, PickerState* state);

// The program folder + "VelkDB\" becomes the component database folder and
// that + "images\" the images folder (SetComponentDbFolder, SetImagesFolder).
void InitDatabasePaths();
// The same from a given program folder (ending with its separator).
void InitDatabasePathsFrom(const std::wstring& programFolder);

// Loads every table in order; a table that cannot be read keeps its preset
// caption "Ошибка таблицы" and no records. Answers how many loaded.
int LoadTables(PickerState* state);

// The lock file of an output path: its extension replaced by ".lock", or
// ".lock" appended when the file name has none.
std::wstring LockFilePath(const std::wstring& outputPath);
// Delete the output file (at start-up) and the lock file (at exit) when an
// output path is set; a missing file is no error. Answer whether a file was
// deleted.
bool DeleteOutputFile(const PickerState& state);
bool DeleteLockFile(const PickerState& state);
