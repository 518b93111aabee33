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
