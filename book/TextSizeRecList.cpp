#include "book/TextSizeRecList.h"

#include "framework/core/MemBuffer.h"

TextSizeRecList::TextSizeRecList(const CMemBuffer& ends)
{
    const uint32_t count = ends.GetSize() / 4;
    if (count > 1)
        m_lengths.reserve(count - 1);
    for (uint32_t i = 1; i < count; ++i)
        m_lengths.push_back(static_cast<uint16_t>(ends.GetU32(i) - ends.GetU32(i - 1)));
}

uint32_t TextSizeRecList::GetRecordSize(uint32_t i) const
{
    return i == 0 ? GetTextRecordCount() * 2 : 0;
}

// Text-size record, 2 bytes per text record. Layout: docs/ldb-format.md,
// "Text-size record".
void TextSizeRecList::AppendRecord(uint32_t i, CMemBuffer& out) const
{
    if (i != 0)
        return;
    for (uint16_t length : m_lengths)
        out.AppendU16BE(length);
}
