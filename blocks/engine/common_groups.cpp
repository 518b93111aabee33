#include "blocks/engine/common_groups.h"

#include "blocks/engine/block.h"
#include "blocks/engine/block_creator_table.h"
#include "blocks/engine/catalogue.h"
#include "blocks/engine/catalogue_entry.h"
#include "blocks/engine/catalogue_group.h"
#include "blocks/engine/macro/macro.h"
#include "blocks/engine/macro/macro_input.h"
#include "blocks/engine/macro/macro_output.h"

namespace {
const wchar_t* const kGroupNames[kBeCommonGroupCount] = {
    L"Генераторы", L"Преобразователи", L"Макро и DLL", L"Математика", L"Тригонометрия",
    L"Логика",     L"Цифровые",        L"ТАУ",         L"Навигация"};
const int kMacroGroup = 2;

// One row of the common table. madeBy names the class whose creator makes
// the block (its own id for every row but one). A row whose bitmap is null
// gets no palette button.
struct CommonRow {
  int group;  // index into kGroupNames; -1 for group 0
  unsigned int classId;
  const wchar_t* caption;
  const wchar_t* bitmap;
  unsigned int madeBy;
  BeBlockCreator engineCreator;  // the engine's own classes
};

// The square-root row makes a two-input multiplication block; offering it
// on the palette would give the user a multiplier where a root was asked
// for, so it has no button. The row itself stays, so that stored blocks of
// this class read back as before.
const unsigned int kSquareRootClassId = 0x00004103;
const unsigned int kMultiplyClassId = 0x00004100;

const CommonRow kRows[] = {
    {0, 0xC075E4C1, L"Константа", L"constant.bmp", 0xC075E4C1, nullptr},
    {0, 0x1446EA7D, L"Генератор меандра", L"meander.bmp", 0x1446EA7D, nullptr},
    {0, 0x1406E0FD, L"Одиночный импульс", L"singleimpuls.bmp", 0x1406E0FD, nullptr},
    {0, 0x33EE115F, L"Ждущий мультивибратор", L"monostable.bmp", 0x33EE115F, nullptr},
    {0, 0x33EE1160, L"Продлеватель импульсов", L"duration.bmp", 0x33EE1160, nullptr},
    {0, 0x3400EBE7, L"Детектор событий", L"event.bmp", 0x3400EBE7, nullptr},
    {1, 0x56514112, L"Преобразователь типов данных", L"typeconvertor.bmp", 0x56514112, nullptr},
    {1, 0x62122AAA, L"Формирователь байта", L"bytebuilder.bmp", 0x62122AAA, nullptr},
    {1, 0x52111000, L"Дешифратор абсолютного энкодера", L"encoderdecoder.bmp", 0x52111000, nullptr},
    {1, 0x052111DE, L"Драйвер управления камерами", L"pelco.bmp", 0x052111DE, nullptr},
    {1, 0x00033485, L"Драйвер управления дальномером", L"urm04.bmp", 0x00033485, nullptr},
    {1, 0x003221FF, L"Положение в скорость", L"pos2speed.bmp", 0x003221FF, nullptr},
    {1, 0x451100EE, L"Драйвер инерциальной системы", L"inertialdriver.bmp", 0x451100EE, nullptr},
    {1, 0x55221AAB, L"Пересчет координат джойстика в сигнал для левого и правого привода",
     L"joy2LR.bmp", 0x55221AAB, nullptr},
    {2, kBeMacroBlockClassId, L"Макроблок", L"macro.bmp", kBeMacroBlockClassId, CBEMacro::Create},
    {-1, kBeMacroInputClassId, L"Вход макроблока", nullptr, kBeMacroInputClassId, CBEMacroInput::Create},
    {-1, kBeMacroOutputClassId, L"Выход макроблока", nullptr, kBeMacroOutputClassId,
     CBEMacroOutput::Create},
    {3, 0x565141F1, L"Смена знака", L"neg.bmp", 0x565141F1, nullptr},
    {3, 0x00004400, L"Сложение с константой", L"add.bmp", 0x00004400, nullptr},
    {3, 0x565141F2, L"Сумматор", L"sum.bmp", 0x565141F2, nullptr},
    {3, 0x00004001, L"Вычитание константы", L"sub.bmp", 0x00004001, nullptr},
    {3, 0x00004002, L"Разность", L"sub2.bmp", 0x00004002, nullptr},
    {3, 0x5E5141F4, L"Пропорциональное звено", L"K.bmp", 0x5E5141F4, nullptr},
    {3, kMultiplyClassId, L"Умножение", L"mul2.bmp", kMultiplyClassId, nullptr},
    {3, 0x00004101, L"Деление", L"div2.bmp", 0x00004101, nullptr},
    {3, 0x512141E4, L"Деление константы на число", L"constdivider.bmp", 0x512141E4, nullptr},
    {3, 0x00004107, L"Модуль", L"abs.bmp", 0x00004107, nullptr},
    {3, kSquareRootClassId, L"Корень квадратный", nullptr, kMultiplyClassId, nullptr},
    {4, 0x0000410B, L"Синус", L"sin.bmp", 0x0000410B, nullptr},
    {4, 0x0000410C, L"Косинус", L"cos.bmp", 0x0000410C, nullptr},
    {4, 0x0000410D, L"Тангенс", L"tan.bmp", 0x0000410D, nullptr},
    {4, 0x0000410E, L"Котангенс", L"cotan.bmp", 0x0000410E, nullptr},
    {4, 0x00004110, L"Арксинус", L"asin.bmp", 0x00004110, nullptr},
    {4, 0x00004111, L"Арккосинус", L"acos.bmp", 0x00004111, nullptr},
    {4, 0x00004112, L"Арктангенс", L"atan.bmp", 0x00004112, nullptr},
    {4, 0x00004113, L"Арктангенс от двух аргументов", L"atan2.bmp", 0x00004113, nullptr},
    {4, 0x00004114, L"Длина вектора", L"length.bmp", 0x00004114, nullptr},
    {4, 0x00004115, L"Нормировка вектора", L"norm.bmp", 0x00004115, nullptr},
    {4, 0x45301231, L"Расстояние между точками", L"distance.bmp", 0x45301231, nullptr},
    {4, 0x00004108, L"Градусы в радианы", L"deg2rad.bmp", 0x00004108, nullptr},
    {4, 0x00004109, L"Радианы в градусы", L"rad2deg.bmp", 0x00004109, nullptr},
    {4, 0x0000410A, L"Привести угол в диапазон от -π до π", L"PI2PI.bmp", 0x0000410A, nullptr},
    {4, 0x0000417A, L"Плоский поворот вектора на угол a", L"rot.bmp", 0x0000417A, nullptr},
    {5, 0x00004006, L"Элемент НЕ", L"not.bmp", 0x00004006, nullptr},
    {5, 0x01004002, L"Побитовая операция \"И\" с константой", L"and.bmp", 0x01004002, nullptr},
    {5, 0x00004003, L"Элемент И", L"and2.bmp", 0x00004003, nullptr},
    {5, 0x00004004, L"Побитовая операция ИЛИ с константой", L"or.bmp", 0x00004004, nullptr},
    {5, 0x00004005, L"Элемент ИЛИ", L"or2.bmp", 0x00004005, nullptr},
    {5, 0x00004008, L"Сравнение с константой", L"cmp.bmp", 0x00004008, nullptr},
    {5, 0x00004009, L"Сравнение двух сигналов", L"cmp2.bmp", 0x00004009, nullptr},
    {5, 0x00004007, L"Получить бит числа", L"bit.bmp", 0x00004007, nullptr},
    {5, 0x00004010, L"Левый сдвиг", L"shl.bmp", 0x00004010, nullptr},
    {5, 0x00004011, L"Правый сдвиг", L"shr.bmp", 0x00004011, nullptr},
    {6, 0x003222FE, L"RS-триггер", L"rs.bmp", 0x003222FE, nullptr},
    {6, 0x003222FF, L"D-триггер", L"D.bmp", 0x003222FF, nullptr},
    {6, 0x003220FF, L"Регистр", L"register.bmp", 0x003220FF, nullptr},
    {6, 0x003220F7, L"Счетчик", L"counter.bmp", 0x003220F7, nullptr},
    {6, 0x003221F9, L"Счетчик для инкрементного датчика", L"pulscounter.bmp", 0x003221F9, nullptr},
    {6, 0x001E5000, L"Демультиплексор", L"demux.bmp", 0x001E5000, nullptr},
    {6, 0x001E5001, L"Мультиплексор", L"mux.bmp", 0x001E5001, nullptr},
    {6, 0x003220F8, L"Приоритетный шифратор", L"coder.bmp", 0x003220F8, nullptr},
    {7, 0x5E5141F4, L"Пропорциональное звено", L"K.bmp", 0x5E5141F4, nullptr},
    {7, 0x11112222, L"Интегральное звено", L"integral.bmp", 0x11112222, nullptr},
    {7, 0x11112223, L"Дифференциальное звено", L"diff.bmp", 0x11112223, nullptr},
    {7, 0x11112224, L"Апериодическое звено", L"inertial.bmp", 0x11112224, nullptr},
    {7, 0x11112225, L"Колебательное звено", L"vibro.bmp", 0x11112225, nullptr},
    {7, 0x565141F3, L"Нелинейный элемент типа \"Ограничение\"", L"limiter.bmp", 0x565141F3, nullptr},
    {7, 0x11152222, L"Интегральное звено с перезагрузкой", L"integralwithreload.bmp", 0x11152222,
     nullptr},
    {8, 0x53AA4211, L"Драйвер навигационного приемника", L"navdrv.bmp", 0x53AA4211, nullptr},
    {8, 0x053AA000, L"WGS-84 в геоцентричекие XYZ", L"wgs2xyz.bmp", 0x053AA000, nullptr},
    {8, 0x053AA003, L"ПЗ-90.02 в геоцентричекие XYZ", L"pz2xyz.bmp", 0x053AA003, nullptr},
    {8, 0x053AA001, L"Геоцентричекие XYZ в WGS-84", L"xyz2wgs.bmp", 0x053AA001, nullptr},
    {8, 0x053AA002, L"Геоцентричекие XYZ в ПЗ-90.02", L"xyz2pz.bmp", 0x053AA002, nullptr},
    {8, 0x053AA005, L"Геоцентричекие XYZ в XYH на базовой плоскости", L"xyz2plane.bmp", 0x053AA005,
     nullptr},
    {8, 0x053AA008, L"XYH на базовой плоскости в геоцентричекие XYZ", L"plane2xyz.bmp", 0x053AA008,
     nullptr},
};
const int kRowCount = sizeof(kRows) / sizeof(kRows[0]);

BeBlockCreator CreatorOf(const CommonRow& row, const BeBlockCreatorTable& creators) {
  if (row.engineCreator) return row.engineCreator;
  return creators.Find(row.madeBy);
}
}  // namespace

bool AddCommonCatalogueGroups(BeCatalogue* catalogue, const BeBlockCreatorTable& creators) {
  if (!catalogue) return false;
  if (catalogue->groupCount == 0 && !catalogue->AddGroup(nullptr)) return false;
  BeCatalogueGroup* hidden = catalogue->Group(0);
  BeCatalogueGroup* groups[kBeCommonGroupCount] = {};
  bool ok = true;
  int row = 0;
  for (int g = 0; g < kBeCommonGroupCount; ++g) {
    groups[g] = catalogue->AddGroup(kGroupNames[g]);
    if (!groups[g]) return false;
    // The rows of this group, and the port rows that follow the macro
    // group's own rows in the table.
    for (; row < kRowCount && (kRows[row].group == g || kRows[row].group < 0); ++row) {
      const CommonRow& r = kRows[row];
      BeBlockCreator creator = CreatorOf(r, creators);
      if (!creator) continue;
      BeCatalogueGroup* target = r.group < 0 ? hidden : groups[g];
      ok = target->AddEntry(r.classId, creator, r.caption, r.bitmap) && ok;
    }
  }
  return ok;
}

bool AddCommonCatalogueGroups(BeCatalogue* catalogue) {
  return AddCommonCatalogueGroups(catalogue, BeBlockCreatorTable::Program());
}
