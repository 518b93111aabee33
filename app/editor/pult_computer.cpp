#include "app/editor/pult_computer.h"

#include <new>

CSCHPultComputer::CSCHPultComputer() { typeText = L"Компьютер пульта управления"; }

CSCHBlock* CreateCSCHPultComputer() { return new (std::nothrow) CSCHPultComputer; }
