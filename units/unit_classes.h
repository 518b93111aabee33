// The programmable units and the control panel in the class registry.
#pragma once

// Gives the registry rows "AVR", "BOARD_COMPUTER", "PULT" and
// "PultComputer" their creators; call it after RegisterComponentClasses.
// False when a row could not take its creator.
bool RegisterUnitComponentCreators();
