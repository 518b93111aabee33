// Signal types of block pins: the code list, its three tables, the rule that
// says which output may feed which input, and the lookup by name.
#pragma once

// A signal type code, 0 to 40. Codes 0-36 are concrete types that outputs
// and inputs carry, 37 is unused, 38-40 are wildcards that only inputs carry.
typedef int BeSignalType;

const BeSignalType kSignalPwm = 0;
const BeSignalType kSignalBit = 1;
const BeSignalType kSignalChar = 2;
const BeSignalType kSignalShort = 3;
const BeSignalType kSignalInt = 4;
const BeSignalType kSignalFloat = 5;
const BeSignalType kSignalDouble = 6;
const BeSignalType kSignalPulseA = 7;
const BeSignalType kSignalPulseB = 8;
const BeSignalType kSignalAnalog = 9;
const BeSignalType kSignalUsbDPlus = 12;
const BeSignalType kSignalVideo = 22;
const BeSignalType kSignalAudio = 23;
const BeSignalType kSignalScanSector = 30;
const BeSignalType kSignalLocalMap = 31;
const BeSignalType kSignalGlobalMap = 36;
const BeSignalType kSignalAnyLogical = 38;
const BeSignalType kSignalAnyScalar = 39;
const BeSignalType kSignalAnyInteger = 40;

const int kSignalTypeNameCount = 41;  // codes 0-40
const int kSignalTypeSizeCount = 38;  // codes 0-37
const int kLastConcreteSignalType = 36;

// The tables, indexed by code; the name of 37 is null.
extern const wchar_t* const BeSignalTypeName[kSignalTypeNameCount];
extern const int BeSignalTransferSize[kSignalTypeSizeCount];
extern const int BeSignalValueSize[kSignalTypeSizeCount];

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
