// The block property dialogs by class id. The program hands them to the
// engine's dialog table once at start-up (RegisterBlockDialogs); a block's
// ShowProperties then finds the dialog of its class there.
#pragma once

class BeBlockDialogTable;

// The rows into table (a class's dialog already there is replaced). False
// for a null table or when memory ran out on the way.
bool RegisterBlockDialogs(BeBlockDialogTable* table);
// The same into the program's table (BeBlockDialogTable::Program()).
bool RegisterBlockDialogs();

// How many classes have a dialog here.
int BlockDialogCount();
