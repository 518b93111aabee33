// The catalogue the device-list import looks models up in: one component
// database table per "*.txt" file of the database folder, named after the
// file up to its first ".", loaded on first use. It exists only while one
// import runs; FreeCatalogue empties it.
#pragma once

class CompDbTable;
class CompDbRecord;

// Adds a table for every "*.txt" file of the database folder (files whose
// name starts with "." are skipped).
void LoadCatalogue();
// Appends a table; the catalogue owns it from now on (it is deleted when it
// cannot be added). False when the list cannot grow.
bool AddCatalogueTable(CompDbTable* table);
// The first table named tableName (ignoring case) is loaded when it has no
// columns yet and searched for the row whose first cell equals key; with
// options, the row takes them. Null when no table has the name or the first
// such table has no row of that key.
CompDbRecord* FindCatalogueRow(const wchar_t* tableName, const char* key, const char* options);
// Deletes every table and empties the catalogue.
void FreeCatalogue();
int CatalogueTableCount();
CompDbTable* CatalogueTable(int index);
