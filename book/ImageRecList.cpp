#include "book/ImageRecList.h"

uint32_t ImageRecList::GetRecordSize(uint32_t) const
{
    return 0;
}

void ImageRecList::AppendRecord(uint32_t, CMemBuffer&) const {}
