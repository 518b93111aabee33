// "Поле данных": the small modal form that edits one data field of an
// interface device or one pin of a macro block: its name, its signal type
// and, when it has one, its channel.
#pragma once

#include "blocks/engine/signal_type.h"

// Field texts are read through buffers of this many wide characters, so a
// name keeps at most 63 characters.
const int kBeFieldTextChars = 64;
// The channel that stands for the robot's own number, shown as "n".
const int kBeFieldRobotChannel = 255;

// The signal types a field may have, in the order the type list offers them.
const int kBeFieldTypeCount = 18;
extern const BeSignalType kBeFieldTypes[kBeFieldTypeCount];

// name: a buffer of kBeFieldTextChars wide characters, in and out. type: in
// and out. channel: in and out; below 0 the field has no channel and the
// channel controls are not shown. True after "OK" (the three are then
// written); false, with nothing changed, otherwise. A type the list does not
// offer opens with no type selected and stays as it was unless one is chosen.
bool ShowDataFieldDialog(wchar_t* name, BeSignalType* type, int* channel);
