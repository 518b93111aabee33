// The nine palette groups that every kind of programmable unit offers.
#pragma once

class BeCatalogue;
class BeBlockCreatorTable;

const int kBeCommonGroupCount = 9;

// Appends the groups "Генераторы", "Преобразователи", "Макро и DLL",
// "Математика", "Тригонометрия", "Логика", "Цифровые", "ТАУ", "Навигация" in
// this order, each with the entries of its table rows whose class exists
// (the engine's own classes, or a creator in creators), and adds the macro
// port entries to group 0, which the caller has made (made here when
// missing). False when memory ran out.
bool AddCommonCatalogueGroups(BeCatalogue* catalogue, const BeBlockCreatorTable& creators);
// The same with the program's creator table.
bool AddCommonCatalogueGroups(BeCatalogue* catalogue);

// The palette picture of a row of the common groups' table, in table order,
// whether its class exists yet or not (null for a row without a palette
// button, and past the last row). Rows are counted by CommonCatalogueRowCount.
int CommonCatalogueRowCount();
const wchar_t* CommonCatalogueRowBitmap(int row);
