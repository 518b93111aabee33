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
    {kBeRSFlipFlopClassId, CBERSFlipFlop::Create}, {kBeDFlipFlopClassId, CBEDFlipFlop::Create},
    {kBeRegisterClassId, CBERegister::Create},     {kBeCounterClassId, CBECounter::Create},
    {kBePulsCounterClassId, CBEPulsCounter::Create}, {kBeDEMUXClassId, CBEDEMUX::Create},
    {kBeMUXClassId, CBEMUX::Create},               {kBeCoderClassId, CBECoder::Create},
};
const int kDigitalClassRowCount = sizeof(kDigitalClassRows) / sizeof(kDigitalClassRows[0]);
