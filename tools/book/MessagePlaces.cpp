#include "tools/book/MessagePlaces.h"

void CMessagePlaces::SetSource(const uint8_t* bytes, size_t size, bool utf8)
{
    m_bytes.assign(bytes, bytes + size);
    m_utf8 = utf8;
    m_known = true;
    m_lineStart = 0;
    m_line = 1;
}

bool CMessagePlaces::Locate(const ReportPlace& place, SourceLocation& location) const
{
    location = SourceLocation();
    if (place.kind == ReportPlace::WholeSource)
        return true;
    if (!m_known || place.kind == ReportPlace::None)
        return false;
    const size_t size = m_bytes.size();
    const size_t offset = place.offset > size ? size : size_t(place.offset);
    if (offset < m_lineStart) {
        m_lineStart = 0;
        m_line = 1;
    }
    const SourceLocation within = LocateInSource(m_bytes.data() + m_lineStart, size - m_lineStart,
                                                 offset - m_lineStart, m_utf8);
    location.line = m_line + within.line - 1;
    location.column = within.column;
    // Remember the start of this line, unless the offset is the LF of a
    // CR LF (whose line began before the CR).
    const bool onLfOfCrLf = offset > 0 && offset < size && m_bytes[offset] == '\n' && m_bytes[offset - 1] == '\r';
    if (within.line > 1 && !onLfOfCrLf) {
        size_t start = offset;
        while (start > m_lineStart && m_bytes[start - 1] != '\n' && m_bytes[start - 1] != '\r')
            --start;
        m_lineStart = start;
        m_line = location.line;
    }
    return true;
}
