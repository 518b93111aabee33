#include "modelpicker/script_export.h"

#include <windows.h>

#include <clocale>
#include <cstdio>
#include <vector>

#include "modelpicker/picker_state.h"
#include "scheme/database/compdb_column.h"

namespace {

// "%f" of value with "." as the decimal point whatever the C locale says.
std::string FormatFixed(double value) {
  int needed = snprintf(nullptr, 0, "%f", value);
  if (needed < 0) return "0.000000";
  std::vector<char> buffer(static_cast<size_t>(needed) + 1);
  snprintf(buffer.data(), buffer.size(), "%f", value);
  std::string text(buffer.data());
  const lconv* conv = localeconv();
  char point = conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
  if (point != '.') {
    for (char& c : text) {
      if (c == point) c = '.';
    }
  }
  return text;
}

}  // namespace

std::string EscapeScriptText(const char* text) {
  std::string result;
  if (!text) return result;
  for (const char* p = text; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c == '"') {
      result += "\\\"";
    } else if (c == 0xFF) {
      result += "\\xFF";
    } else {
      result += *p;
    }
  }
  return result;
}

std::string FormatScript(CompDbTable* table, CompDbRecord* record) {
  std::string script;
  if (!table || !record) return script;
  for (int i = 0; i < table->GetColumnCount(); ++i) {
    CompDbColumn* column = table->GetColumn(i);
    if (!column || !column->IsExported()) continue;
    std::string line = "$.";
    line += column->GetExportName();
    line += " = ";
    if (column->GetDivisor() != 0) {
      line += FormatFixed(record->GetDouble(i) / column->GetDivisor());
    } else if (column->IsStringExport()) {
      line += '"';
      line += EscapeScriptText(record->GetText(i));
      line += '"';
    } else {
      line += record->GetText(i);
    }
    line += '\n';
    script += line;
  }
  script += "$.options = \"";
  script += record->FormatOptions();
  script += "\"\n";
  std::string name = WideToAnsi(table->GetName());
  script += "( if (findString $.name \"" + name + "\")==undefined then $.name = uniqueName \"" +
            name + "\" )\n";
  return script;
}

bool WriteScriptStream(FILE* file, const std::string& text) {
  if (!file) return false;
  bool written = text.empty() || fwrite(text.data(), 1, text.size(), file) == text.size();
  if (fflush(file) != 0) written = false;
  if (ferror(file)) written = false;
  if (fclose(file) != 0) written = false;
  return written;
}

bool WriteScriptFile(const std::wstring& path, const std::string& text) {
  if (path.empty()) return false;
  FILE* file = _wfopen(path.c_str(), L"wt");
  if (!file) return false;
  if (WriteScriptStream(file, text)) return true;
  DeleteFileW(path.c_str());
  return false;
}
