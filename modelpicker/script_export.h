// The 3ds Max script that modelpicker writes for the chosen model: one
// assignment per exported column, the options, and the object's new name.
//
//   $.<key> = <value / divisor, "%f">        numeric export (divisor not 0)
//   $.<key> = "<text, escaped>"              string export ("key:$")
//   $.<key> = <text>                         any other exported column
//   $.options = "<key:choice;...>"
//   ( if (findString $.name "<table>")==undefined then $.name = uniqueName "<table>" )
//
// Lines end in "\n" here; the file is written in text mode, so each ends in
// CR LF on disk. Texts are the tables' 8-bit text, the table name converted to
// the ANSI code page; nothing is cut.
#pragma once

#include <cstdio>
#include <string>

#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"

// A string cell for the script: every double quote gets a backslash before
// it and every byte 0xFF (the letter "я" in code page 1251) becomes the four
// characters \xFF; other bytes, backslashes included, stay as they are.
std::string EscapeScriptText(const char* text);

// The whole script for a record of the table.
std::string FormatScript(CompDbTable* table, CompDbRecord* record);

// Writes text to an open text-mode file and closes it; false when a write or
// the close failed.
bool WriteScriptStream(FILE* file, const std::string& text);
// Creates or truncates path in text mode and writes text. On any failure the
// file is not left half-written (it is deleted) and false is answered.
bool WriteScriptFile(const std::wstring& path, const std::string& text);
