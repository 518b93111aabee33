#include "blocks/library/interfaces/board_uart.h"

#include <new>

#include "blocks/engine/block_dialog_table.h"

CBEBlock* CBEBoardUART::Create() { return new (std::nothrow) CBEBoardUART; }

void CBEBoardUART::Step(float dt) { StepLine(dt, kTtlLevels); }

bool CBEBoardUART::ShowProperties() { return ShowBlockDialog(this, kBeBoardUARTClassId); }
