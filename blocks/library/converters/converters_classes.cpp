#include "blocks/library/converters/converters_classes.h"

#include "blocks/engine/block_class_ids.h"
#include "blocks/library/converters/type_convertor.h"

const BeLibraryClassRow kConvertersClassRows[] = {
    {kBeTypeConvertorClassId, CBETypeConvertor::Create},
};
const int kConvertersClassRowCount = sizeof(kConvertersClassRows) / sizeof(kConvertersClassRows[0]);
