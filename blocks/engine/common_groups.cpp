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

const CommonRow kRows[] = {
    {0, kBeConstantClassId, L"Константа", L"constant.bmp", kBeConstantClassId, nullptr},
    {0, kBeMeanderClassId, L"Генератор меандра", L"meander.bmp", kBeMeanderClassId, nullptr},
    {0, kBeSingleImpulsClassId, L"Одиночный импульс", L"singleimpuls.bmp",
     kBeSingleImpulsClassId, nullptr},
    {0, kBeMonostableClassId, L"Ждущий мультивибратор", L"monostable.bmp",
     kBeMonostableClassId, nullptr},
    {0, kBeDurationClassId, L"Продлеватель импульсов", L"duration.bmp", kBeDurationClassId, nullptr},
    {0, kBeEventClassId, L"Детектор событий", L"event.bmp", kBeEventClassId, nullptr},
    {1, kBeTypeConvertorClassId, L"Преобразователь типов данных", L"typeconvertor.bmp",
     kBeTypeConvertorClassId, nullptr},
    {1, kBeByteBuilderClassId, L"Формирователь байта", L"bytebuilder.bmp",
     kBeByteBuilderClassId, nullptr},
    {1, kBeEncoderDecoderClassId, L"Дешифратор абсолютного энкодера", L"encoderdecoder.bmp",
     kBeEncoderDecoderClassId, nullptr},
    {1, kBePelcoBuilderClassId, L"Драйвер управления камерами", L"pelco.bmp",
     kBePelcoBuilderClassId, nullptr},
    {1, kBeDistanceControlClassId, L"Драйвер управления дальномером", L"urm04.bmp",
     kBeDistanceControlClassId, nullptr},
    {1, kBeSpeedClassId, L"Положение в скорость", L"pos2speed.bmp", kBeSpeedClassId, nullptr},
    {1, kBeInertialDriverClassId, L"Драйвер инерциальной системы", L"inertialdriver.bmp",
     kBeInertialDriverClassId, nullptr},
    {1, kBeJoyToLRClassId, L"Пересчет координат джойстика в сигнал для левого и правого привода",
     L"joy2LR.bmp", kBeJoyToLRClassId, nullptr},
    {2, kBeMacroBlockClassId, L"Макроблок", L"macro.bmp", kBeMacroBlockClassId, CBEMacro::Create},
    {-1, kBeMacroInputClassId, L"Вход макроблока", nullptr,
     kBeMacroInputClassId, CBEMacroInput::Create},
    {-1, kBeMacroOutputClassId, L"Выход макроблока", nullptr, kBeMacroOutputClassId,
     CBEMacroOutput::Create},
    {3, kBeNegClassId, L"Смена знака", L"neg.bmp", kBeNegClassId, nullptr},
    {3, kBeAddClassId, L"Сложение с константой", L"add.bmp", kBeAddClassId, nullptr},
    {3, kBeSummatorClassId, L"Сумматор", L"sum.bmp", kBeSummatorClassId, nullptr},
    {3, kBeSubClassId, L"Вычитание константы", L"sub.bmp", kBeSubClassId, nullptr},
    {3, kBeSub2ClassId, L"Разность", L"sub2.bmp", kBeSub2ClassId, nullptr},
    {3, kBeProportionalClassId, L"Пропорциональное звено", L"K.bmp", kBeProportionalClassId, nullptr},
    {3, kBeMul2ClassId, L"Умножение", L"mul2.bmp", kBeMul2ClassId, nullptr},
    {3, kBeDiv2ClassId, L"Деление", L"div2.bmp", kBeDiv2ClassId, nullptr},
    {3, kBeConstDividerClassId, L"Деление константы на число", L"constdivider.bmp",
     kBeConstDividerClassId, nullptr},
    {3, kBeAbsClassId, L"Модуль", L"abs.bmp", kBeAbsClassId, nullptr},
    // The square-root row makes a two-input multiplication block; offering it
    // on the palette would give the user a multiplier where a root was asked
    // for, so it has no button. The row itself stays, so that stored blocks
    // of this class read back as before.
    {3, kBeSquareRootClassId, L"Корень квадратный", nullptr, kBeMul2ClassId, nullptr},
    {4, kBeSinClassId, L"Синус", L"sin.bmp", kBeSinClassId, nullptr},
    {4, kBeCosClassId, L"Косинус", L"cos.bmp", kBeCosClassId, nullptr},
    {4, kBeTanClassId, L"Тангенс", L"tan.bmp", kBeTanClassId, nullptr},
    {4, kBeCotanClassId, L"Котангенс", L"cotan.bmp", kBeCotanClassId, nullptr},
    {4, kBeArcsinClassId, L"Арксинус", L"asin.bmp", kBeArcsinClassId, nullptr},
    {4, kBeArccosClassId, L"Арккосинус", L"acos.bmp", kBeArccosClassId, nullptr},
    {4, kBeArctanClassId, L"Арктангенс", L"atan.bmp", kBeArctanClassId, nullptr},
    {4, kBeArctan2ClassId, L"Арктангенс от двух аргументов", L"atan2.bmp", kBeArctan2ClassId, nullptr},
    {4, kBeLengthClassId, L"Длина вектора", L"length.bmp", kBeLengthClassId, nullptr},
    {4, kBeNormClassId, L"Нормировка вектора", L"norm.bmp", kBeNormClassId, nullptr},
    {4, kBeDistanceClassId, L"Расстояние между точками", L"distance.bmp", kBeDistanceClassId, nullptr},
    {4, kBeDegToRadClassId, L"Градусы в радианы", L"deg2rad.bmp", kBeDegToRadClassId, nullptr},
    {4, kBeRadToDegClassId, L"Радианы в градусы", L"rad2deg.bmp", kBeRadToDegClassId, nullptr},
    {4, kBePItoPIClassId, L"Привести угол в диапазон от -π до π", L"PI2PI.bmp",
     kBePItoPIClassId, nullptr},
    {4, kBeRotClassId, L"Плоский поворот вектора на угол a", L"rot.bmp", kBeRotClassId, nullptr},
    {5, kBeNotClassId, L"Элемент НЕ", L"not.bmp", kBeNotClassId, nullptr},
    {5, kBeAndClassId, L"Побитовая операция \"И\" с константой", L"and.bmp", kBeAndClassId, nullptr},
    {5, kBeAnd2ClassId, L"Элемент И", L"and2.bmp", kBeAnd2ClassId, nullptr},
    {5, kBeOrClassId, L"Побитовая операция ИЛИ с константой", L"or.bmp", kBeOrClassId, nullptr},
    {5, kBeOr2ClassId, L"Элемент ИЛИ", L"or2.bmp", kBeOr2ClassId, nullptr},
    {5, kBeCmpClassId, L"Сравнение с константой", L"cmp.bmp", kBeCmpClassId, nullptr},
    {5, kBeCmp2ClassId, L"Сравнение двух сигналов", L"cmp2.bmp", kBeCmp2ClassId, nullptr},
    {5, kBeGetBitClassId, L"Получить бит числа", L"bit.bmp", kBeGetBitClassId, nullptr},
    {5, kBeShlClassId, L"Левый сдвиг", L"shl.bmp", kBeShlClassId, nullptr},
    {5, kBeShrClassId, L"Правый сдвиг", L"shr.bmp", kBeShrClassId, nullptr},
    {6, kBeRSFlipFlopClassId, L"RS-триггер", L"rs.bmp", kBeRSFlipFlopClassId, nullptr},
    {6, kBeDFlipFlopClassId, L"D-триггер", L"D.bmp", kBeDFlipFlopClassId, nullptr},
    {6, kBeRegisterClassId, L"Регистр", L"register.bmp", kBeRegisterClassId, nullptr},
    {6, kBeCounterClassId, L"Счетчик", L"counter.bmp", kBeCounterClassId, nullptr},
    {6, kBePulsCounterClassId, L"Счетчик для инкрементного датчика", L"pulscounter.bmp",
     kBePulsCounterClassId, nullptr},
    {6, kBeDEMUXClassId, L"Демультиплексор", L"demux.bmp", kBeDEMUXClassId, nullptr},
    {6, kBeMUXClassId, L"Мультиплексор", L"mux.bmp", kBeMUXClassId, nullptr},
    {6, kBeCoderClassId, L"Приоритетный шифратор", L"coder.bmp", kBeCoderClassId, nullptr},
    {7, kBeProportionalClassId, L"Пропорциональное звено", L"K.bmp", kBeProportionalClassId, nullptr},
    {7, kBeIntegralClassId, L"Интегральное звено", L"integral.bmp", kBeIntegralClassId, nullptr},
    {7, kBeDiffClassId, L"Дифференциальное звено", L"diff.bmp", kBeDiffClassId, nullptr},
    {7, kBeInertialClassId, L"Апериодическое звено", L"inertial.bmp", kBeInertialClassId, nullptr},
    {7, kBeVibroClassId, L"Колебательное звено", L"vibro.bmp", kBeVibroClassId, nullptr},
    {7, kBeLimiterClassId, L"Нелинейный элемент типа \"Ограничение\"", L"limiter.bmp",
     kBeLimiterClassId, nullptr},
    {7, kBeIntegralWithReloadClassId, L"Интегральное звено с перезагрузкой", L"integralwithreload.bmp",
     kBeIntegralWithReloadClassId,
     nullptr},
    {8, kBeNavControllerClassId, L"Драйвер навигационного приемника", L"navdrv.bmp",
     kBeNavControllerClassId, nullptr},
    {8, kBeWGS84toXYZClassId, L"WGS-84 в геоцентричекие XYZ", L"wgs2xyz.bmp",
     kBeWGS84toXYZClassId, nullptr},
    {8, kBePZ90toXYZClassId, L"ПЗ-90.02 в геоцентричекие XYZ", L"pz2xyz.bmp",
     kBePZ90toXYZClassId, nullptr},
    {8, kBeXYZtoWGS84ClassId, L"Геоцентричекие XYZ в WGS-84", L"xyz2wgs.bmp",
     kBeXYZtoWGS84ClassId, nullptr},
    {8, kBeXYZtoPZ90ClassId, L"Геоцентричекие XYZ в ПЗ-90.02", L"xyz2pz.bmp",
     kBeXYZtoPZ90ClassId, nullptr},
    {8, kBeXYZtoPlaneClassId, L"Геоцентричекие XYZ в XYH на базовой плоскости", L"xyz2plane.bmp",
     kBeXYZtoPlaneClassId,
     nullptr},
    {8, kBePlaneToXYZClassId, L"XYH на базовой плоскости в геоцентричекие XYZ", L"plane2xyz.bmp",
     kBePlaneToXYZClassId,
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

int CommonCatalogueRowCount() { return kRowCount; }

const wchar_t* CommonCatalogueRowBitmap(int row) {
  return row >= 0 && row < kRowCount ? kRows[row].bitmap : nullptr;
}
