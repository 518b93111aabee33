// The component database: the program-wide folders its tables (see
// compdb_table.h) and pictures are read from.
#pragma once

// Program-wide folders, each kept as a copy. The database folder ends with a
// separator; a table is read from the folder + its name + ".txt".
void SetComponentDbFolder(const wchar_t* path);
const wchar_t* GetComponentDbFolder();  // never null ("" until set)
void SetImagesFolder(const wchar_t* path);
const wchar_t* GetImagesFolder();  // never null ("" until set)
