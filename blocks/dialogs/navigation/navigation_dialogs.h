// The property dialogs of the navigation drivers and detectors: the
// navigation-receiver driver's coordinate system, the strip detector's
// sub-name and the inertial driver's protocol name. Each answers true after
// it changed the block, and false, with the block untouched, when it was
// cancelled or for a block of another class.
#pragma once

class CBEBlock;

// "Система координат:": geocentric XYZ, WGS-84 or ПЗ-90.02; on "OK" the
// outputs 1 to 6 take the names and descriptions of the chosen system
// (links kept).
bool ShowNavControllerDialog(CBEBlock* block);
// "Распознавание светоотпражающей полосы": the strip's sub-name; an empty
// edit clears it (any strip is then recognised).
bool ShowStripDetectorDialog(CBEBlock* block);
// The framework's input box, "Название протокола"; an empty text keeps the
// name and answers false.
bool ShowInertialDriverDialog(CBEBlock* block);
