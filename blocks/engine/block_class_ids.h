// The class ids of the blocks that the common palette groups offer, and of
// the other blocks the engine itself looks at. A class id is what the "BE5 "
// stream stores for a block, so these values never change. The catalogue
// table of the common groups and the block library's table of creators both
// use these names, so the two cannot drift apart.
//
// Blocks that live in one place only keep their id beside their class:
// kMonitorClassId, kAvrPlotClassId, kPluginBlockClassId (blocks/engine),
// kUIBlockClassId and the control blocks (blocks/panel), kScriptBlockClassId
// (script).
#pragma once

// Generators ("Генераторы").
const unsigned int kConstantClassId = 0xC075E4C1;
const unsigned int kMeanderClassId = 0x1446EA7D;
const unsigned int kSingleImpulsClassId = 0x1406E0FD;
const unsigned int kMonostableClassId = 0x33EE115F;
const unsigned int kDurationClassId = 0x33EE1160;
const unsigned int kEventClassId = 0x3400EBE7;

// Converters ("Преобразователи").
const unsigned int kTypeConvertorClassId = 0x56514112;
const unsigned int kByteBuilderClassId = 0x62122AAA;
const unsigned int kEncoderDecoderClassId = 0x52111000;
const unsigned int kPelcoBuilderClassId = 0x052111DE;
const unsigned int kDistanceControlClassId = 0x00033485;
const unsigned int kSpeedClassId = 0x003221FF;
const unsigned int kInertialDriverClassId = 0x451100EE;
const unsigned int kJoyToLRClassId = 0x55221AAB;

// Macro blocks ("Макро и DLL") and their ports (group 0).
const unsigned int kMacroBlockClassId = 0x62340001;
const unsigned int kMacroInputClassId = 0x62340002;
const unsigned int kMacroOutputClassId = 0x62340003;

// Mathematics ("Математика"). The square-root entry makes a two-input
// multiplication block (the multiplier's class under its own id).
const unsigned int kNegClassId = 0x565141F1;
const unsigned int kAddClassId = 0x00004400;
const unsigned int kSummatorClassId = 0x565141F2;
const unsigned int kSubClassId = 0x00004001;
const unsigned int kSub2ClassId = 0x00004002;
const unsigned int kProportionalClassId = 0x5E5141F4;
const unsigned int kMul2ClassId = 0x00004100;
const unsigned int kDiv2ClassId = 0x00004101;
const unsigned int kConstDividerClassId = 0x512141E4;
const unsigned int kAbsClassId = 0x00004107;
const unsigned int kSquareRootClassId = 0x00004103;

// Trigonometry ("Тригонометрия").
const unsigned int kSinClassId = 0x0000410B;
const unsigned int kCosClassId = 0x0000410C;
const unsigned int kTanClassId = 0x0000410D;
const unsigned int kCotanClassId = 0x0000410E;
const unsigned int kArcsinClassId = 0x00004110;
const unsigned int kArccosClassId = 0x00004111;
const unsigned int kArctanClassId = 0x00004112;
const unsigned int kArctan2ClassId = 0x00004113;
const unsigned int kLengthClassId = 0x00004114;
const unsigned int kNormClassId = 0x00004115;
const unsigned int kDistanceClassId = 0x45301231;
const unsigned int kDegToRadClassId = 0x00004108;
const unsigned int kRadToDegClassId = 0x00004109;
const unsigned int kPItoPIClassId = 0x0000410A;
const unsigned int kRotClassId = 0x0000417A;

// Logic ("Логика").
const unsigned int kNotClassId = 0x00004006;
const unsigned int kAndClassId = 0x01004002;
const unsigned int kAnd2ClassId = 0x00004003;
const unsigned int kOrClassId = 0x00004004;
const unsigned int kOr2ClassId = 0x00004005;
const unsigned int kCmpClassId = 0x00004008;
const unsigned int kCmp2ClassId = 0x00004009;
const unsigned int kGetBitClassId = 0x00004007;
const unsigned int kShlClassId = 0x00004010;
const unsigned int kShrClassId = 0x00004011;

// Digital ("Цифровые").
const unsigned int kRSFlipFlopClassId = 0x003222FE;
const unsigned int kDFlipFlopClassId = 0x003222FF;
const unsigned int kRegisterClassId = 0x003220FF;
const unsigned int kCounterClassId = 0x003220F7;
const unsigned int kPulsCounterClassId = 0x003221F9;
const unsigned int kDEMUXClassId = 0x001E5000;
const unsigned int kMUXClassId = 0x001E5001;
const unsigned int kCoderClassId = 0x003220F8;

// Control-theory links ("ТАУ"); the proportional element is listed there
// too, under its mathematics id.
const unsigned int kIntegralClassId = 0x11112222;
const unsigned int kDiffClassId = 0x11112223;
const unsigned int kInertialClassId = 0x11112224;
const unsigned int kVibroClassId = 0x11112225;
const unsigned int kLimiterClassId = 0x565141F3;
const unsigned int kIntegralWithReloadClassId = 0x11152222;

// Navigation ("Навигация").
const unsigned int kNavControllerClassId = 0x53AA4211;
const unsigned int kWGS84toXYZClassId = 0x053AA000;
const unsigned int kPZ90toXYZClassId = 0x053AA003;
const unsigned int kXYZtoWGS84ClassId = 0x053AA001;
const unsigned int kXYZtoPZ90ClassId = 0x053AA002;
const unsigned int kXYZtoPlaneClassId = 0x053AA005;
const unsigned int kPlaneToXYZClassId = 0x053AA008;

// The microcontroller pin block: disconnecting an output that feeds one
// returns its pin to input mode.
const unsigned int kPortPinBlockClassId = 0x44111AAA;

// Pulse measurement and software PWM: only the microcontroller's catalogue
// offers them ("Преобразователи", after the common entries).
const unsigned int kPWMDetectorClassId = 0x0111A000;
const unsigned int kIntervalDetectorClassId = 0x0111B001;
const unsigned int kSoftwarePWMClassId = 0x0077AACC;
