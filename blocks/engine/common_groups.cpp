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
    {0, kConstantClassId, L"Константа", L"constant.bmp", kConstantClassId, nullptr},
    {0, kMeanderClassId, L"Генератор меандра", L"meander.bmp", kMeanderClassId, nullptr},
    {0, kSingleImpulsClassId, L"Одиночный импульс", L"singleimpuls.bmp",
     kSingleImpulsClassId, nullptr},
    {0, kMonostableClassId, L"Ждущий мультивибратор", L"monostable.bmp",
     kMonostableClassId, nullptr},
    {0, kDurationClassId, L"Продлеватель импульсов", L"duration.bmp", kDurationClassId, nullptr},
    {0, kEventClassId, L"Детектор событий", L"event.bmp", kEventClassId, nullptr},
    {1, kTypeConvertorClassId, L"Преобразователь типов данных", L"typeconvertor.bmp",
     kTypeConvertorClassId, nullptr},
    {1, kByteBuilderClassId, L"Формирователь байта", L"bytebuilder.bmp",
     kByteBuilderClassId, nullptr},
    {1, kEncoderDecoderClassId, L"Дешифратор абсолютного энкодера", L"encoderdecoder.bmp",
     kEncoderDecoderClassId, nullptr},
    {1, kPelcoBuilderClassId, L"Драйвер управления камерами", L"pelco.bmp",
     kPelcoBuilderClassId, nullptr},
    {1, kDistanceControlClassId, L"Драйвер управления дальномером", L"urm04.bmp",
     kDistanceControlClassId, nullptr},
    {1, kSpeedClassId, L"Положение в скорость", L"pos2speed.bmp", kSpeedClassId, nullptr},
    {1, kInertialDriverClassId, L"Драйвер инерциальной системы", L"inertialdriver.bmp",
     kInertialDriverClassId, nullptr},
    {1, kJoyToLRClassId, L"Пересчет координат джойстика в сигнал для левого и правого привода",
     L"joy2LR.bmp", kJoyToLRClassId, nullptr},
    {2, kBeMacroBlockClassId, L"Макроблок", L"macro.bmp", kBeMacroBlockClassId, CBEMacro::Create},
    {-1, kBeMacroInputClassId, L"Вход макроблока", nullptr,
     kBeMacroInputClassId, CBEMacroInput::Create},
    {-1, kBeMacroOutputClassId, L"Выход макроблока", nullptr, kBeMacroOutputClassId,
     CBEMacroOutput::Create},
    {3, kNegClassId, L"Смена знака", L"neg.bmp", kNegClassId, nullptr},
    {3, kAddClassId, L"Сложение с константой", L"add.bmp", kAddClassId, nullptr},
    {3, kSummatorClassId, L"Сумматор", L"sum.bmp", kSummatorClassId, nullptr},
    {3, kSubClassId, L"Вычитание константы", L"sub.bmp", kSubClassId, nullptr},
    {3, kSub2ClassId, L"Разность", L"sub2.bmp", kSub2ClassId, nullptr},
    {3, kProportionalClassId, L"Пропорциональное звено", L"K.bmp", kProportionalClassId, nullptr},
    {3, kMul2ClassId, L"Умножение", L"mul2.bmp", kMul2ClassId, nullptr},
    {3, kDiv2ClassId, L"Деление", L"div2.bmp", kDiv2ClassId, nullptr},
    {3, kConstDividerClassId, L"Деление константы на число", L"constdivider.bmp",
     kConstDividerClassId, nullptr},
    {3, kAbsClassId, L"Модуль", L"abs.bmp", kAbsClassId, nullptr},
    // The square-root row makes a two-input multiplication block; offering it
    // on the palette would give the user a multiplier where a root was asked
    // for, so it has no button. The row itself stays, so that stored blocks
    // of this class read back as before.
    {3, kSquareRootClassId, L"Корень квадратный", nullptr, kMul2ClassId, nullptr},
    {4, kSinClassId, L"Синус", L"sin.bmp", kSinClassId, nullptr},
    {4, kCosClassId, L"Косинус", L"cos.bmp", kCosClassId, nullptr},
    {4, kTanClassId, L"Тангенс", L"tan.bmp", kTanClassId, nullptr},
    {4, kCotanClassId, L"Котангенс", L"cotan.bmp", kCotanClassId, nullptr},
    {4, kArcsinClassId, L"Арксинус", L"asin.bmp", kArcsinClassId, nullptr},
    {4, kArccosClassId, L"Арккосинус", L"acos.bmp", kArccosClassId, nullptr},
    {4, kArctanClassId, L"Арктангенс", L"atan.bmp", kArctanClassId, nullptr},
    {4, kArctan2ClassId, L"Арктангенс от двух аргументов", L"atan2.bmp", kArctan2ClassId, nullptr},
    {4, kLengthClassId, L"Длина вектора", L"length.bmp", kLengthClassId, nullptr},
    {4, kNormClassId, L"Нормировка вектора", L"norm.bmp", kNormClassId, nullptr},
    {4, kDistanceClassId, L"Расстояние между точками", L"distance.bmp", kDistanceClassId, nullptr},
    {4, kDegToRadClassId, L"Градусы в радианы", L"deg2rad.bmp", kDegToRadClassId, nullptr},
    {4, kRadToDegClassId, L"Радианы в градусы", L"rad2deg.bmp", kRadToDegClassId, nullptr},
    {4, kPItoPIClassId, L"Привести угол в диапазон от -π до π", L"PI2PI.bmp",
     kPItoPIClassId, nullptr},
    {4, kRotClassId, L"Плоский поворот вектора на угол a", L"rot.bmp", kRotClassId, nullptr},
    {5, kNotClassId, L"Элемент НЕ", L"not.bmp", kNotClassId, nullptr},
    {5, kAndClassId, L"Побитовая операция \"И\" с константой", L"and.bmp", kAndClassId, nullptr},
    {5, kAnd2ClassId, L"Элемент И", L"and2.bmp", kAnd2ClassId, nullptr},
    {5, kOrClassId, L"Побитовая операция ИЛИ с константой", L"or.bmp", kOrClassId, nullptr},
    {5, kOr2ClassId, L"Элемент ИЛИ", L"or2.bmp", kOr2ClassId, nullptr},
    {5, kCmpClassId, L"Сравнение с константой", L"cmp.bmp", kCmpClassId, nullptr},
    {5, kCmp2ClassId, L"Сравнение двух сигналов", L"cmp2.bmp", kCmp2ClassId, nullptr},
    {5, kGetBitClassId, L"Получить бит числа", L"bit.bmp", kGetBitClassId, nullptr},
    {5, kShlClassId, L"Левый сдвиг", L"shl.bmp", kShlClassId, nullptr},
    {5, kShrClassId, L"Правый сдвиг", L"shr.bmp", kShrClassId, nullptr},
    {6, kRSFlipFlopClassId, L"RS-триггер", L"rs.bmp", kRSFlipFlopClassId, nullptr},
    {6, kDFlipFlopClassId, L"D-триггер", L"D.bmp", kDFlipFlopClassId, nullptr},
    {6, kRegisterClassId, L"Регистр", L"register.bmp", kRegisterClassId, nullptr},
    {6, kCounterClassId, L"Счетчик", L"counter.bmp", kCounterClassId, nullptr},
    {6, kPulsCounterClassId, L"Счетчик для инкрементного датчика", L"pulscounter.bmp",
     kPulsCounterClassId, nullptr},
    {6, kDEMUXClassId, L"Демультиплексор", L"demux.bmp", kDEMUXClassId, nullptr},
    {6, kMUXClassId, L"Мультиплексор", L"mux.bmp", kMUXClassId, nullptr},
    {6, kCoderClassId, L"Приоритетный шифратор", L"coder.bmp", kCoderClassId, nullptr},
    {7, kProportionalClassId, L"Пропорциональное звено", L"K.bmp", kProportionalClassId, nullptr},
    {7, kIntegralClassId, L"Интегральное звено", L"integral.bmp", kIntegralClassId, nullptr},
    {7, kDiffClassId, L"Дифференциальное звено", L"diff.bmp", kDiffClassId, nullptr},
    {7, kInertialClassId, L"Апериодическое звено", L"inertial.bmp", kInertialClassId, nullptr},
    {7, kVibroClassId, L"Колебательное звено", L"vibro.bmp", kVibroClassId, nullptr},
    {7, kLimiterClassId, L"Нелинейный элемент типа \"Ограничение\"", L"limiter.bmp",
     kLimiterClassId, nullptr},
    {7, kIntegralWithReloadClassId, L"Интегральное звено с перезагрузкой", L"integralwithreload.bmp",
     kIntegralWithReloadClassId,
     nullptr},
    {8, kNavControllerClassId, L"Драйвер навигационного приемника", L"navdrv.bmp",
     kNavControllerClassId, nullptr},
    {8, kWGS84toXYZClassId, L"WGS-84 в геоцентричекие XYZ", L"wgs2xyz.bmp",
     kWGS84toXYZClassId, nullptr},
    {8, kPZ90toXYZClassId, L"ПЗ-90.02 в геоцентричекие XYZ", L"pz2xyz.bmp",
     kPZ90toXYZClassId, nullptr},
    {8, kXYZtoWGS84ClassId, L"Геоцентричекие XYZ в WGS-84", L"xyz2wgs.bmp",
     kXYZtoWGS84ClassId, nullptr},
    {8, kXYZtoPZ90ClassId, L"Геоцентричекие XYZ в ПЗ-90.02", L"xyz2pz.bmp",
     kXYZtoPZ90ClassId, nullptr},
    {8, kXYZtoPlaneClassId, L"Геоцентричекие XYZ в XYH на базовой плоскости", L"xyz2plane.bmp",
     kXYZtoPlaneClassId,
     nullptr},
    {8, kPlaneToXYZClassId, L"XYH на базовой плоскости в геоцентричекие XYZ", L"plane2xyz.bmp",
     kPlaneToXYZClassId,
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
