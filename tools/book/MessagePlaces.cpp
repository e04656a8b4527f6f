#include "tools/book/MessagePlaces.h"

#include "framework/core/MemBuffer.h"
#include "tools/book/ToolSource.h"

void CMessagePlaces::SetSource(const ToolSourceText& source)
{
    const CMemBuffer* asRead = source.original ? source.original.get() : source.text.get();
    m_lines.reset();
    m_offsets = source.original ? &source.offsets : nullptr;
    if (asRead)
        m_lines = std::make_unique<CSourceLines>(asRead->GetData(), asRead->GetSize(), source.utf8);
}

bool CMessagePlaces::Locate(const ReportPlace& place, SourceLocation& location) const
{
    location = SourceLocation();
    if (place.kind == ReportPlace::WholeSource)
        return true;
    if (!m_lines || place.kind == ReportPlace::None)
        return false;
    const uint64_t offset = m_offsets ? m_offsets->Original(uint32_t(place.offset)) : place.offset;
    location = m_lines->Locate(size_t(offset));
    return true;
}
