// Signal types of block pins: the code list, its three tables, the rule that
// says which output may feed which input, and the lookup by name.
#pragma once

// A signal type code, 0 to 40. Codes 0-36 are concrete types that outputs
// and inputs carry, 37 is unused, 38-40 are wildcards that only inputs carry.
typedef int BeSignalType;

const BeSignalType kBeSignalPwm = 0;
const BeSignalType kBeSignalBit = 1;
const BeSignalType kBeSignalChar = 2;
const BeSignalType kBeSignalShort = 3;
const BeSignalType kBeSignalInt = 4;
const BeSignalType kBeSignalFloat = 5;
const BeSignalType kBeSignalDouble = 6;
const BeSignalType kBeSignalPulseA = 7;
const BeSignalType kBeSignalPulseB = 8;
const BeSignalType kBeSignalAnalog = 9;
const BeSignalType kBeSignalUsbDPlus = 12;
const BeSignalType kBeSignalVideo = 22;
const BeSignalType kBeSignalScanSector = 30;
const BeSignalType kBeSignalLocalMap = 31;
const BeSignalType kBeSignalGlobalMap = 36;
const BeSignalType kBeSignalAnyLogical = 38;
const BeSignalType kBeSignalAnyScalar = 39;
const BeSignalType kBeSignalAnyInteger = 40;

const int kBeSignalTypeNameCount = 41;  // codes 0-40
const int kBeSignalTypeSizeCount = 38;  // codes 0-37
const int kBeLastConcreteSignalType = 36;

// The tables, indexed by code; the name of 37 is null.
extern const wchar_t* const BeSignalTypeName[kBeSignalTypeNameCount];
extern const int BeSignalTransferSize[kBeSignalTypeSizeCount];
extern const int BeSignalValueSize[kBeSignalTypeSizeCount];

// Checked reads of the tables: a code outside a table answers null or 0.
const wchar_t* GetSignalTypeName(BeSignalType type);
int GetSignalTransferSize(BeSignalType type);
int GetSignalValueSize(BeSignalType type);

// May an output of outputType feed an input of inputType. Unknown codes are
// compatible with nothing.
bool IsSignalTypeCompatible(BeSignalType outputType, BeSignalType inputType);

// The first of codes 0-36 whose name equals name exactly; 2 ("char") when
// none does (wildcard names and null included).
BeSignalType FindSignalTypeByName(const wchar_t* name);
