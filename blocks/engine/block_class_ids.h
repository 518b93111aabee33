// The class ids of the blocks that the common palette groups offer, and of
// the other blocks the engine itself looks at. A class id is what the "BE5 "
// stream stores for a block, so these values never change. The catalogue
// table of the common groups and the block library's table of creators both
// use these names, so the two cannot drift apart.
//
// Blocks that live in one place only keep their id beside their class:
// kBeMonitorClassId, kBeAvrPlotClassId, kBePluginBlockClassId (blocks/engine),
// kUIBlockClassId and the control blocks (blocks/panel), kScriptBlockClassId
// (script).
#pragma once

// Generators ("Генераторы").
const unsigned int kBeConstantClassId = 0xC075E4C1;
const unsigned int kBeMeanderClassId = 0x1446EA7D;
const unsigned int kBeSingleImpulsClassId = 0x1406E0FD;
const unsigned int kBeMonostableClassId = 0x33EE115F;
const unsigned int kBeDurationClassId = 0x33EE1160;
const unsigned int kBeEventClassId = 0x3400EBE7;

// Converters ("Преобразователи").
const unsigned int kBeTypeConvertorClassId = 0x56514112;
const unsigned int kBeByteBuilderClassId = 0x62122AAA;
const unsigned int kBeEncoderDecoderClassId = 0x52111000;
const unsigned int kBePelcoBuilderClassId = 0x052111DE;
const unsigned int kBeDistanceControlClassId = 0x00033485;
const unsigned int kBeSpeedClassId = 0x003221FF;
const unsigned int kBeInertialDriverClassId = 0x451100EE;
const unsigned int kBeJoyToLRClassId = 0x55221AAB;

// Macro blocks ("Макро и DLL") and their ports (group 0).
const unsigned int kBeMacroBlockClassId = 0x62340001;
const unsigned int kBeMacroInputClassId = 0x62340002;
const unsigned int kBeMacroOutputClassId = 0x62340003;

// Mathematics ("Математика"). The square-root entry makes a two-input
// multiplication block (the multiplier's class under its own id).
const unsigned int kBeNegClassId = 0x565141F1;
const unsigned int kBeAddClassId = 0x00004400;
const unsigned int kBeSummatorClassId = 0x565141F2;
const unsigned int kBeSubClassId = 0x00004001;
const unsigned int kBeSub2ClassId = 0x00004002;
const unsigned int kBeProportionalClassId = 0x5E5141F4;
const unsigned int kBeMul2ClassId = 0x00004100;
const unsigned int kBeDiv2ClassId = 0x00004101;
const unsigned int kBeConstDividerClassId = 0x512141E4;
const unsigned int kBeAbsClassId = 0x00004107;
const unsigned int kBeSquareRootClassId = 0x00004103;

// Trigonometry ("Тригонометрия").
const unsigned int kBeSinClassId = 0x0000410B;
const unsigned int kBeCosClassId = 0x0000410C;
const unsigned int kBeTanClassId = 0x0000410D;
const unsigned int kBeCotanClassId = 0x0000410E;
const unsigned int kBeArcsinClassId = 0x00004110;
const unsigned int kBeArccosClassId = 0x00004111;
const unsigned int kBeArctanClassId = 0x00004112;
const unsigned int kBeArctan2ClassId = 0x00004113;
const unsigned int kBeLengthClassId = 0x00004114;
const unsigned int kBeNormClassId = 0x00004115;
const unsigned int kBeDistanceClassId = 0x45301231;
const unsigned int kBeDegToRadClassId = 0x00004108;
const unsigned int kBeRadToDegClassId = 0x00004109;
const unsigned int kBePItoPIClassId = 0x0000410A;
const unsigned int kBeRotClassId = 0x0000417A;

// Logic ("Логика").
const unsigned int kBeNotClassId = 0x00004006;
const unsigned int kBeAndClassId = 0x01004002;
const unsigned int kBeAnd2ClassId = 0x00004003;
const unsigned int kBeOrClassId = 0x00004004;
const unsigned int kBeOr2ClassId = 0x00004005;
const unsigned int kBeCmpClassId = 0x00004008;
const unsigned int kBeCmp2ClassId = 0x00004009;
const unsigned int kBeGetBitClassId = 0x00004007;
const unsigned int kBeShlClassId = 0x00004010;
const unsigned int kBeShrClassId = 0x00004011;

// Digital ("Цифровые").
const unsigned int kBeRSFlipFlopClassId = 0x003222FE;
const unsigned int kBeDFlipFlopClassId = 0x003222FF;
const unsigned int kBeRegisterClassId = 0x003220FF;
const unsigned int kBeCounterClassId = 0x003220F7;
const unsigned int kBePulsCounterClassId = 0x003221F9;
const unsigned int kBeDEMUXClassId = 0x001E5000;
const unsigned int kBeMUXClassId = 0x001E5001;
const unsigned int kBeCoderClassId = 0x003220F8;

// Control-theory links ("ТАУ"); the proportional element is listed there
// too, under its mathematics id.
const unsigned int kBeIntegralClassId = 0x11112222;
const unsigned int kBeDiffClassId = 0x11112223;
const unsigned int kBeInertialClassId = 0x11112224;
const unsigned int kBeVibroClassId = 0x11112225;
const unsigned int kBeLimiterClassId = 0x565141F3;
const unsigned int kBeIntegralWithReloadClassId = 0x11152222;

// Navigation ("Навигация").
const unsigned int kBeNavControllerClassId = 0x53AA4211;
const unsigned int kBeWGS84toXYZClassId = 0x053AA000;
const unsigned int kBePZ90toXYZClassId = 0x053AA003;
const unsigned int kBeXYZtoWGS84ClassId = 0x053AA001;
const unsigned int kBeXYZtoPZ90ClassId = 0x053AA002;
const unsigned int kBeXYZtoPlaneClassId = 0x053AA005;
const unsigned int kBePlaneToXYZClassId = 0x053AA008;

// The microcontroller pin block: disconnecting an output that feeds one
// returns its pin to input mode.
const unsigned int kBePortPinBlockClassId = 0x44111AAA;

// Interface devices: the ports, adapters and simple hardware of the
// computers (hidden group 0 of the units' catalogues, made by the units).
const unsigned int kBeCOMPortClassId = 0x63331134;
const unsigned int kBeBoardUARTClassId = 0x63332134;
const unsigned int kBeLANClassId = 0x55FF07A5;
const unsigned int kBeUSBClassId = 0x55FF17A0;
const unsigned int kBeWiFiClassId = 0x55FF07A8;
const unsigned int kBeGPIOClassId = 0x45EE231A;
const unsigned int kBeLPTClassId = 0x0532FFF1;
const unsigned int kBeAudioInClassId = 0x0532FFF2;
const unsigned int kBeDynamicsClassId = 0x53412FFA;
// Pulse measurement and software PWM: only the microcontroller's catalogue
// offers them ("Преобразователи", after the common entries).
const unsigned int kBePWMDetectorClassId = 0x0111A000;
const unsigned int kBeIntervalDetectorClassId = 0x0111B001;
const unsigned int kBeSoftwarePWMClassId = 0x0077AACC;

// The on-board computer's "Интеллект" blocks (map builders, navigation,
// detectors, fuzzy logic): offered once their classes exist.
const unsigned int kBeScanSectorClassId = 0x44451AAA;
const unsigned int kBeLocalMapClassId = 0x04451120;
const unsigned int kBeVideoNavigationClassId = 0x001150AA;
const unsigned int kBeRoadDetectorClassId = 0x44451AAB;
const unsigned int kBeStripDetectorClassId = 0x00A03312;
const unsigned int kBeFuzzyClassId = 0x44451AAC;
// The microcontroller's peripherals (hidden group 0 of its catalogue, made
// by the microcontroller from its model).
const unsigned int kBeAvrUARTClassId = 0x63331133;
const unsigned int kBeAvrSPIClassId = 0xEEEFF11B;
const unsigned int kBeAvrTWIClassId = 0xEEEFF11A;
const unsigned int kBeAvrTimerClassId = 0x1E1E1E00;
const unsigned int kBeAvrADCClassId = 0x52100ADC;
