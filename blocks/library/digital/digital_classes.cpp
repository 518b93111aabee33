#include "blocks/library/digital/digital_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/digital/coder.h"
#include "blocks/library/digital/counter.h"
#include "blocks/library/digital/d_flip_flop.h"
#include "blocks/library/digital/demux.h"
#include "blocks/library/digital/mux.h"
#include "blocks/library/digital/puls_counter.h"
#include "blocks/library/digital/register.h"
#include "blocks/library/digital/rs_flip_flop.h"

const BeLibraryClassRow kDigitalClassRows[] = {
    {kRSFlipFlopClassId, CBERSFlipFlop::Create}, {kDFlipFlopClassId, CBEDFlipFlop::Create},
    {kRegisterClassId, CBERegister::Create},     {kCounterClassId, CBECounter::Create},
    {kPulsCounterClassId, CBEPulsCounter::Create}, {kDEMUXClassId, CBEDEMUX::Create},
    {kMUXClassId, CBEMUX::Create},               {kCoderClassId, CBECoder::Create},
};
const int kDigitalClassRowCount = sizeof(kDigitalClassRows) / sizeof(kDigitalClassRows[0]);
