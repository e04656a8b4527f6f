#include "framework/io/DataFile.h"

#include <cstring>
#include <ctime>

namespace {

constexpr uint32_t kEmbeddedSignatureOffset = 64;
constexpr uint32_t kEmbeddedStartOffset = 78;
constexpr uint32_t kEmbeddedCreator = 0x56784463; // "VxDc"

uint32_t GetU32BE(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t GetU32LE(const uint8_t* p)
{
    return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// Reads exactly count bytes.
bool ReadExact(CFile& file, void* out, uint32_t count)
{
    uint32_t got = 0;
    return file.Read(out, count, got) == 0 && got == count;
}

} // namespace

CRkDataFile::CRkDataFile(const CRkString& path, uint32_t creator, uint32_t flags, uint32_t type)
    : CRkDataFile(CFile(path), creator, flags, type)
{
}

CRkDataFile::CRkDataFile(const CFile& file, uint32_t creator, uint32_t flags, uint32_t type)
    : m_file(file), m_type(type), m_creator(creator), m_flags(flags)
{
    m_index.SetElementSize(sizeof(Entry));
    Load();
}

CRkDataFile::~CRkDataFile()
{
    if ((m_flags & kDataFileWriteBack) && m_dirty)
        Save();
    if (m_file.IsOpen())
        m_file.Close();
}

CRkDataFile::Entry CRkDataFile::GetEntry(uint32_t i) const
{
    Entry entry;
    m_index.GetElement(i, &entry);
    return entry;
}

uint32_t CRkDataFile::Load()
{
    m_index.SetSize(0);
    m_blob.SetSize(0);
    m_loaded = false;
    m_dirty = false;
    if (!m_file.Exists() || m_file.IsDirectory())
        return 1;
    if (m_file.Open(kFileModeRead) != 0)
        return 1;
    const uint32_t err = ReadFrom(m_file);
    m_file.Close();
    if (err) {
        m_index.SetSize(0);
        m_blob.SetSize(0);
        return 1;
    }
    m_loaded = true;
    return 0;
}

// Reads the layout written by Serialize (see there); version 1 files
// store the index entries little-endian, version 2 big-endian.
uint32_t CRkDataFile::ReadFrom(CFile& file)
{
    const uint64_t length = file.GetLength();
    uint64_t start = 0;
    if ((m_flags & kDataFileEmbedded) && length > 72) {
        uint8_t signature[4];
        if (file.Seek(kEmbeddedSignatureOffset) != 0 || !ReadExact(file, signature, 4))
            return 1;
        if (GetU32BE(signature) == kEmbeddedCreator) {
            uint32_t recordStart = 0;
            if (file.Seek(kEmbeddedStartOffset) != 0 || file.ReadU32BE(recordStart) != 0)
                return 1;
            start = recordStart;
        }
    }
    if (start + 8 > length || file.Seek(static_cast<int64_t>(start)) != 0)
        return 1;
    uint32_t version = 0, count = 0;
    if (file.ReadU32BE(version) != 0 || file.ReadU32BE(count) != 0)
        return 1;
    if (version != 1 && version != 2)
        return 1;
    // Refuse a count the file cannot hold before allocating for it.
    if (count > 0x7FFFFFFFu / 12 || uint64_t(count) * 12 > length - start - 8)
        return 1;
    CMemBuffer raw(count * 12 + 1);
    raw.SetSize(count * 12);
    if (count && !ReadExact(file, raw.GetData(), count * 12))
        return 1;
    if (file.ReadRest(m_blob) != 0)
        return 1;
    m_index.SetCount(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = raw.GetData() + i * 12;
        Entry entry;
        if (version == 2)
            entry = {GetU32BE(p), GetU32BE(p + 4), GetU32BE(p + 8)};
        else
            entry = {GetU32LE(p), GetU32LE(p + 4), GetU32LE(p + 8)};
        // Every entry must lie inside the blob, not only the last one.
        if (uint64_t(entry.offset) + entry.length > m_blob.GetSize())
            return 1;
        m_index.SetElement(i, &entry);
    }
    return 0;
}

// Data file layout (numbers big-endian):
//   offset      size     field
//   0           4        version (2)
//   4           4        entry count N
//   8           12 * N   entries: key, offset into the blob, length
//   8 + 12N     rest     the blob
// With the embedded flag a device database header comes first, whose one
// record is the data file:
//   0   32  name (the file's name, NUL-terminated, zero-filled)
//   32  2   attributes (0)          34  2   version (0)
//   36  4   creation time           40  4   modification time
//   44  4   backup time (0)         48  4   modification number (0)
//   52  4   application info (0)    56  4   sort info (0)
//   60  4   type code               64  4   "VxDc" (marks the embedding)
//   68  4   unique-ID seed (0)      72  4   next record list (0)
//   76  2   record count (1)
//   78  4   offset of the data file (88)
//   82  4   record attributes (0) and unique ID (0x6F8000)
//   86  2   zero gap
//   88      the data file
void CRkDataFile::Serialize(CMemBuffer& out) const
{
    if (m_flags & kDataFileEmbedded) {
        CRkString name;
        m_file.GetName(name);
        char nameField[32] = {};
        name.ToNarrow(nameField, name.GetLength() < 31 ? name.GetLength() : 31, kEncodingDeviceLatin);
        out.Append(nameField, 32);
        out.AppendU16BE(0);
        out.AppendU16BE(0);
        const uint32_t now = static_cast<uint32_t>(std::time(nullptr));
        out.AppendU32BE(now);
        out.AppendU32BE(now);
        for (int i = 0; i < 4; ++i)
            out.AppendU32BE(0);
        out.AppendU32BE(m_type);
        out.AppendU32BE(kEmbeddedCreator);
        out.AppendU32BE(0);
        out.AppendU32BE(0);
        out.AppendU16BE(1);
        out.AppendU32BE(kEmbeddedStart);
        out.AppendU32BE(0x006F8000);
        out.AppendU16BE(0);
    }
    out.AppendU32BE(2);
    out.AppendU32BE(GetCount());
    for (uint32_t i = 0; i < GetCount(); ++i) {
        const Entry entry = GetEntry(i);
        out.AppendU32BE(entry.key);
        out.AppendU32BE(entry.offset);
        out.AppendU32BE(entry.length);
    }
    out.AppendBuffer(m_blob);
}

uint32_t CRkDataFile::Save()
{
    CMemBuffer bytes;
    Serialize(bytes);

    CRkString name, tempName;
    m_file.GetName(name);
    if (name.IsEmpty())
        return 1;
    tempName.Assign(name);
    tempName.Append(u".tmp");
    CFile* parent = m_file.GetParent();
    if (!parent)
        return 1;
    CFile temp(*parent, tempName);
    delete parent;

    if (m_file.IsOpen())
        m_file.Close();
    if (temp.Exists() && temp.Delete() != 0)
        return 1;
    uint32_t err = temp.Create(m_type, m_creator, (m_flags & kDataFileHidden) != 0);
    if (!err)
        err = temp.Open(kFileModeWrite);
    if (!err)
        err = temp.Write(bytes.GetData(), bytes.GetSize());
    if (temp.IsOpen()) {
        const uint32_t closeErr = temp.Close();
        if (!err)
            err = closeErr;
    }
    if (!err) {
        err = temp.MoveTo(m_file);
        // Where moving cannot replace a file, remove the old one first.
        if (err && m_file.Exists() && m_file.Delete() == 0)
            err = temp.MoveTo(m_file);
    }
    if (err) {
        if (temp.Exists())
            temp.Delete();
        return 1;
    }
    m_dirty = false;
    return 0;
}

uint32_t CRkDataFile::Lookup(uint32_t key) const
{
    for (uint32_t i = 0; i < GetCount(); ++i)
        if (GetEntry(i).key == key)
            return i;
    return kDataFileNoEntry;
}

uint32_t CRkDataFile::Get(uint32_t key, CMemBuffer& out) const
{
    out.SetSize(0);
    const uint32_t i = Lookup(key);
    if (i == kDataFileNoEntry)
        return 1;
    const Entry entry = GetEntry(i);
    out.Append(m_blob.GetData() + entry.offset, entry.length);
    return 0;
}

uint32_t CRkDataFile::Set(uint32_t key, const void* bytes, uint32_t n)
{
    if (!bytes && n)
        return 1;
    static const uint8_t kNothing = 0;
    if (!bytes)
        bytes = &kNothing;
    const uint32_t i = Lookup(key);
    if (i == kDataFileNoEntry) {
        const Entry entry{key, m_blob.GetSize(), n};
        m_blob.Append(bytes, n);
        m_index.AppendElement(&entry);
    } else {
        Entry entry = GetEntry(i);
        m_blob.Replace(entry.offset, entry.offset + entry.length, bytes, n);
        // Values stored behind this one move by the change in length.
        const uint32_t oldEnd = entry.offset + entry.length;
        for (uint32_t j = 0; j < GetCount(); ++j) {
            Entry other = GetEntry(j);
            if (j != i && other.offset >= oldEnd) {
                other.offset = other.offset - entry.length + n;
                m_index.SetElement(j, &other);
            }
        }
        entry.length = n;
        m_index.SetElement(i, &entry);
    }
    m_dirty = true;
    return 0;
}
