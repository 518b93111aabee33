#include "blocks/library/converters/converters_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/converters/byte_builder.h"
#include "blocks/library/converters/encoder_decoder.h"
#include "blocks/library/converters/joy_to_lr.h"
#include "blocks/library/converters/pelco_builder.h"
#include "blocks/library/converters/speed.h"
#include "blocks/library/converters/type_convertor.h"

const BeLibraryClassRow kConvertersClassRows[] = {
    {kBeTypeConvertorClassId, CBETypeConvertor::Create},
    {kBeByteBuilderClassId, CBEByteBuilder::Create},
    {kBeEncoderDecoderClassId, CBEEncoderDecoder::Create},
    {kBePelcoBuilderClassId, CBEPelcoBuilder::Create},
    {kBeSpeedClassId, CBESpeed::Create},
    {kBeJoyToLRClassId, CBEJoyToLR::Create},
};
const int kConvertersClassRowCount = sizeof(kConvertersClassRows) / sizeof(kConvertersClassRows[0]);
