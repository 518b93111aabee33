#include "blocks/engine/signal_type.h"

#include <cwchar>

const wchar_t* const BeSignalTypeName[kBeSignalTypeNameCount] = {
    L"ШИМ",
    L"bit",
    L"char",
    L"short",
    L"int",
    L"float",
    L"double",
    L"Пульс канала A",
    L"Пульс канала B",
    L"Аналоговый",
    L"RS-232",
    L"USB",
    L"USB D+",
    L"SDA",
    L"SCL",
    L"SPI",
    L"SCK",
    L"Ethernet",
    L"Высокочастотный",
    L"PAL/SECAM/NTSC",
    L"CIF",
    L"PCMCIA",
    L"Видео",
    L"Аудио",
    L"Управл.камерами",
    L"Инерциальные данные",
    L"Управл.инерциал.сист.",
    L"Навигац. информация",
    L"Управл.нав.приемником",
    L"Каша",
    L"Сектор сканирования",
    L"Локальная карта",
    L"Управл.дальномером",
    L"Ответ дальномера",
    L"SATA",
    L"IDE",
    L"Глоб.карта",
    nullptr,
    L"любой логический",
    L"любой скалярный",
    L"любой целый",
};

const int BeSignalTransferSize[kBeSignalTypeSizeCount] = {
    0, 1, 1, 2, 4, 4, 8,                         // 0-6
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 7-21
    35000, 10000, 8, 1200, 40, 1200, 32,          // 22-28
    0, 5120, 8384, 8, 8, 0, 0, 1000,              // 29-36
    66};                                          // 37

const int BeSignalValueSize[kBeSignalTypeSizeCount] = {
    0, 1, 1, 2, 4, 4, 8,                         // 0-6
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 7-21
    8, 8, 3, 8, 1, 8, 1,                          // 22-28
    0, 8, 8, 1, 4, 0, 0, 8,                       // 29-36
    67};                                          // 37

const wchar_t* GetSignalTypeName(BeSignalType type) {
  if (type < 0 || type >= kBeSignalTypeNameCount) return nullptr;
  return BeSignalTypeName[type];
}

int GetSignalTransferSize(BeSignalType type) {
  // Only concrete types have sizes; 37 is never a pin's type.
  if (type < 0 || type > kBeLastConcreteSignalType) return 0;
  return BeSignalTransferSize[type];
}

int GetSignalValueSize(BeSignalType type) {
  if (type < 0 || type > kBeLastConcreteSignalType) return 0;
  return BeSignalValueSize[type];
}

namespace {
bool IsOneOf(BeSignalType type, const BeSignalType* list, int count) {
  for (int i = 0; i < count; ++i)
    if (list[i] == type) return true;
  return false;
}
}  // namespace

bool IsSignalTypeCompatible(BeSignalType outputType, BeSignalType inputType) {
  if (inputType < 0 || inputType >= kBeSignalTypeNameCount) return false;
  if (outputType < 0 || outputType >= kBeSignalTypeNameCount) return false;
  static const BeSignalType kBitLike[] = {0, 1, 7, 8, 12};
  static const BeSignalType kPictures[] = {22, 30, 31, 36};
  static const BeSignalType kScalars[] = {1, 2, 3, 4, 5, 6, 39, 40};
  static const BeSignalType kIntegers[] = {0, 1, 2, 3, 4, 40};
  switch (inputType) {
    case kBeSignalBit:
    case kBeSignalPulseA:
    case kBeSignalPulseB:
    case kBeSignalUsbDPlus:
      return IsOneOf(outputType, kBitLike, 5);
    case kBeSignalVideo:
      return IsOneOf(outputType, kPictures, 4);
    case kBeSignalAnyScalar:
      return IsOneOf(outputType, kScalars, 8);
    case kBeSignalAnyInteger:
      return IsOneOf(outputType, kIntegers, 6);
    default:
      return outputType == inputType;
  }
}

BeSignalType FindSignalTypeByName(const wchar_t* name) {
  if (!name) return kBeSignalChar;
  for (int code = 0; code <= kBeLastConcreteSignalType; ++code) {
    if (BeSignalTypeName[code] && wcscmp(BeSignalTypeName[code], name) == 0) return code;
  }
  return kBeSignalChar;
}
