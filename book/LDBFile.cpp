#include "book/LDBFile.h"

#include <cstring>

#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"

namespace {

bool ReadFully(CFile& file, void* buffer, uint32_t count)
{
    auto* p = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        uint32_t got = 0;
        if (file.Read(p, count, got) != 0 || got == 0 || got > count)
            return false;
        p += got;
        count -= got;
    }
    return true;
}

// Reads bytes [offset, offset + count) of a file that is opened and closed here.
bool ProbeBytes(const CFile& source, uint32_t offset, void* out, uint32_t count)
{
    CFile file(source);
    if (file.Open(kFileModeRead) != 0)
        return false;
    const bool ok = file.Seek(offset, kSeekFromStart) == 0 && ReadFully(file, out, count);
    file.Close();
    return ok;
}

} // namespace

CLDBFile::CLDBFile(const CFile& file) : m_file(file)
{
    m_valid = Load();
    if (!m_valid) {
        m_header = LDBHeader();
        m_offsets.clear();
    }
}

CLDBFile::~CLDBFile()
{
    Close();
}

void CLDBFile::Close()
{
    if (m_file.IsOpen())
        m_file.Close();
}

bool CLDBFile::Load()
{
    if (!m_file.IsOpen() && m_file.Open(kFileModeRead) != 0)
        return false;
    m_fileSize = m_file.GetLength();
    uint8_t head[kContainerHeaderSize];
    if (m_fileSize < kContainerHeaderSize || m_file.Seek(0, kSeekFromStart) != 0 ||
        !ReadFully(m_file, head, kContainerHeaderSize))
        return false;
    // Everything but the next-record-list field, which is not read.
    m_header = ReadLDBHeader(head);
    m_header.nextRecordList = 0;
    std::memcpy(m_name, m_header.name, kDatabaseNameField);
    m_name[kDatabaseNameField] = 0;

    // The list must lie within the file before anything is allocated for it.
    const uint32_t count = m_header.recordCount;
    const uint32_t listBytes = count * kRecordEntrySize;
    if (m_fileSize < uint64_t(kContainerHeaderSize) + listBytes)
        return false;
    std::vector<uint8_t> list(listBytes);
    if (listBytes && !ReadFully(m_file, list.data(), listBytes))
        return false;
    m_offsets.resize(count);
    for (uint32_t i = 0; i < count; ++i)
        m_offsets[i] = ReadRecordEntry(list.data() + i * kRecordEntrySize).offset;
    return true;
}

uint32_t CLDBFile::GetRecordOffset(uint32_t i) const
{
    return m_valid && i < m_offsets.size() ? m_offsets[i] : 0;
}

uint32_t CLDBFile::GetRecordSize(uint32_t i) const
{
    if (!m_valid || i >= m_offsets.size())
        return 0;
    const uint64_t start = m_offsets[i];
    const uint64_t end = i + 1 < m_offsets.size() ? m_offsets[i + 1] : m_fileSize;
    return end > start ? static_cast<uint32_t>(end - start) : 0;
}

uint32_t CLDBFile::ReadRecord(uint32_t i, CMemBuffer& out)
{
    if (!m_valid || i >= m_offsets.size())
        return 1;
    const uint64_t offset = m_offsets[i];
    const uint32_t size = GetRecordSize(i);
    if (offset > m_fileSize || size > m_fileSize - offset)
        return 1;
    if (!m_file.IsOpen() && m_file.Open(kFileModeRead) != 0)
        return 1;
    out.SetSize(size);
    if (size == 0)
        return 0;
    if (m_file.Seek(static_cast<int64_t>(offset), kSeekFromStart) != 0 || !ReadFully(m_file, out.GetData(), size)) {
        out.SetSize(0);
        return 1;
    }
    return 0;
}

bool CLDBFile::IsComplete() const
{
    if (!m_valid)
        return false;
    // Every record must start after the list, in order, and within the file;
    // the last one then ends exactly at the end of the file.
    uint64_t previous = FirstRecordOffset(static_cast<uint32_t>(m_offsets.size()));
    for (uint32_t offset : m_offsets) {
        if (offset < previous || offset > m_fileSize)
            return false;
        previous = offset;
    }
    return m_offsets.empty() ? m_fileSize == previous : true;
}

uint32_t CLDBFile::ProbeType(const CFile& file)
{
    uint8_t bytes[4];
    return ProbeBytes(file, kTypeCodeAt, bytes, 4) ? ReadU32At(bytes) : 0;
}

uint32_t CLDBFile::ProbeCreator(const CFile& file)
{
    uint8_t bytes[4];
    return ProbeBytes(file, kCreatorCodeAt, bytes, 4) ? ReadU32At(bytes) : 0;
}

bool CLDBFile::ProbeName(const CFile& file, CRkString& out)
{
    char name[kDatabaseNameField + 1] = {};
    if (!ProbeBytes(file, 0, name, kDatabaseNameField))
        return false;
    out.Assign(name, static_cast<uint32_t>(std::strlen(name)), kEncodingDeviceLatin);
    return true;
}
