// CFile forwards to its platform implementation and adds the operations
// built on top of it: big-endian numbers, whole-buffer reads, the size of
// a closed file and unique sibling names.
#include "framework/io/File.h"

#include <cstring>
#include <memory>

#include "framework/core/MemBuffer.h"

namespace {

// A file without an implementation: results report failure, values are
// 0, false or null, and nothing happens.
constexpr uint32_t kNoImp = 1;

// How many names MakeUniqueSibling tries before it gives up.
constexpr uint32_t kMaxSiblingTries = 100000;
// CreateTemporarySibling: names taken by others before it gives up, and
// the name's random letters (5 bits each: 50 bits in all).
constexpr uint32_t kMaxTemporaryTries = 64;
constexpr uint32_t kTemporaryLetters = 10;

} // namespace

CFile::CFile() = default;

CFile::CFile(const char* path) : m_imp(CreateFileImpFromNative(path))
{
}

CFile::CFile(const char16_t* path) : m_imp(CreateFileImp(path ? CRkString(path) : CRkString()))
{
}

CFile::CFile(const CRkString& path) : m_imp(CreateFileImp(path))
{
}

CFile::CFile(const CFile& other) : m_imp(other.m_imp ? other.m_imp->Clone() : nullptr)
{
}

CFile::CFile(const CFile& folder, const CRkString& name) : m_imp(folder.m_imp ? folder.m_imp->Child(name) : nullptr)
{
}

CFile::~CFile()
{
    delete m_imp;
}

bool CFile::Exists() const
{
    return m_imp && m_imp->Exists();
}

bool CFile::IsDirectory() const
{
    return m_imp && m_imp->IsDirectory();
}

CFile* CFile::GetParent() const
{
    if (!m_imp)
        return nullptr;
    IFileImp* parent = m_imp->GetParent();
    return parent ? new CFile(parent) : nullptr;
}

void CFile::GetName(CRkString& out) const
{
    if (m_imp)
        m_imp->GetName(out);
}

void CFile::GetPath(CRkString& out) const
{
    if (m_imp)
        m_imp->GetPath(out);
}

void CFile::GetFolder(CRkString& out) const
{
    if (m_imp)
        m_imp->GetFolder(out);
}

bool CFile::IsSameFile(const CFile& other) const
{
    return m_imp && other.m_imp && m_imp->IsSameFile(*other.m_imp);
}

uint32_t CFile::Delete()
{
    return m_imp ? m_imp->Delete() : kNoImp;
}

uint32_t CFile::CreateDirectory()
{
    return m_imp ? m_imp->CreateDirectory() : kNoImp;
}

uint32_t CFile::Create(uint32_t type, uint32_t creator, bool hidden)
{
    return m_imp ? m_imp->Create(type, creator, hidden) : kNoImp;
}

uint32_t CFile::CopyTo(const CFile& destination)
{
    return m_imp && destination.m_imp ? m_imp->CopyTo(*destination.m_imp) : kNoImp;
}

uint32_t CFile::MoveTo(const CFile& destination)
{
    return m_imp && destination.m_imp ? m_imp->MoveTo(*destination.m_imp) : kNoImp;
}

uint32_t CFile::Rename(const CRkString& newName)
{
    return m_imp ? m_imp->Rename(newName) : kNoImp;
}

uint32_t CFile::Open(uint32_t mode)
{
    return m_imp ? m_imp->Open(mode) : kNoImp;
}

uint32_t CFile::Close()
{
    return m_imp ? m_imp->Close() : kNoImp;
}

bool CFile::IsOpen() const
{
    return m_imp && m_imp->IsOpen();
}

uint32_t CFile::Read(void* buffer, uint32_t count, uint32_t& countRead)
{
    countRead = 0;
    return m_imp ? m_imp->Read(buffer, count, countRead) : kNoImp;
}

uint32_t CFile::Write(const void* bytes, uint32_t count)
{
    return m_imp ? m_imp->Write(bytes, count) : kNoImp;
}

uint32_t CFile::WriteText(const char* text)
{
    if (!text)
        return m_imp ? 0 : kNoImp;
    const size_t n = std::strlen(text);
    if (n > UINT32_MAX)
        return 1;
    return Write(text, uint32_t(n));
}

// A short read (the end of the file) is a failure: out is then 0.
uint32_t CFile::ReadU32BE(uint32_t& out)
{
    uint8_t b[4];
    uint32_t got = 0;
    out = 0;
    if (Read(b, 4, got) != 0 || got != 4)
        return 1;
    out = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
    return 0;
}

uint32_t CFile::ReadU16BE(uint16_t& out)
{
    uint8_t b[2];
    uint32_t got = 0;
    out = 0;
    if (Read(b, 2, got) != 0 || got != 2)
        return 1;
    out = uint16_t((b[0] << 8) | b[1]);
    return 0;
}

uint32_t CFile::WriteU32BE(uint32_t value)
{
    const uint8_t b[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    return Write(b, 4);
}

uint32_t CFile::WriteU16BE(uint16_t value)
{
    const uint8_t b[2] = {uint8_t(value >> 8), uint8_t(value)};
    return Write(b, 2);
}

uint32_t CFile::ReadRest(CMemBuffer& buffer)
{
    if (!IsOpen())
        return 1;
    const uint64_t length = GetLength();
    const uint64_t position = GetPosition();
    if (position == kFilePositionNone)
        return 1;
    const uint64_t rest = position < length ? length - position : 0;
    if (rest > UINT32_MAX)
        return 1;
    return ReadInto(buffer, uint32_t(rest));
}

// The buffer ends up holding exactly the bytes read; fewer than count
// (the file ended early) is a failure.
uint32_t CFile::ReadInto(CMemBuffer& buffer, uint32_t count)
{
    if (!IsOpen())
        return 1;
    buffer.SetSize(count);
    uint32_t got = 0;
    const uint32_t result = Read(buffer.GetData(), count, got);
    buffer.SetSize(got);
    return result != 0 || got != count ? 1 : 0;
}

uint64_t CFile::GetLength() const
{
    return m_imp ? m_imp->GetLength() : 0;
}

uint64_t CFile::GetSize()
{
    if (!m_imp)
        return 0;
    if (m_imp->IsOpen())
        return m_imp->GetLength();
    if (m_imp->Open(kFileModeRead) != 0)
        return 0;
    const uint64_t size = m_imp->GetLength();
    m_imp->Close();
    return size;
}

uint32_t CFile::SetLength(uint64_t n)
{
    return m_imp ? m_imp->SetLength(n) : kNoImp;
}

uint64_t CFile::GetPosition() const
{
    return m_imp ? m_imp->GetPosition() : kFilePositionNone;
}

uint32_t CFile::Seek(int64_t position, uint32_t origin)
{
    return m_imp ? m_imp->Seek(position, origin) : kNoImp;
}

bool CFile::GetModificationDate(FileDate& out) const
{
    return m_imp && m_imp->GetModificationDate(out);
}

// baseName + "-" + eight upper-case hex digits of the millisecond tick; a
// name already in use is skipped by counting up, so the result never names
// an existing file (at the time of the call).
CFile* CFile::MakeUniqueSibling(const CRkString& baseName) const
{
    if (!m_imp)
        return nullptr;
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    uint32_t stamp = m_imp->GetTickCount();
    for (uint32_t tries = 0; tries < kMaxSiblingTries; ++tries, ++stamp) {
        CRkString name(baseName);
        char16_t suffix[9];
        suffix[0] = u'-';
        for (int i = 0; i < 8; ++i)
            suffix[1 + i] = kHex[(stamp >> (28 - 4 * i)) & 0xF];
        name.Append(suffix, 9);
        std::unique_ptr<IFileImp> sibling(m_imp->Sibling(name));
        if (!sibling)
            return nullptr;
        if (!sibling->Exists())
            return new CFile(sibling.release());
    }
    return nullptr;
}

CFile* CFile::GetSibling(const CRkString& name) const
{
    return m_imp ? new CFile(m_imp->Sibling(name)) : nullptr;
}

bool CFile::GetFullPath(const CRkString& path, CRkString& out)
{
    return ExpandFullPath(path, out);
}

bool CFile::FindMatching(const CRkString& pattern, std::vector<CRkString>& out)
{
    return FindMatchingPaths(pattern, out);
}

uint32_t CFile::CreateExclusive()
{
    return m_imp ? m_imp->CreateExclusive() : kNoImp;
}

uint32_t CFile::Flush()
{
    return m_imp ? m_imp->Flush() : kNoImp;
}

bool CFile::PathNamesOpenFile() const
{
    return m_imp && m_imp->PathNamesOpenFile();
}

bool CFile::IsNameTooLong() const
{
    return m_imp && m_imp->IsNameTooLong();
}

uint32_t CFile::GetKind() const
{
    return m_imp ? m_imp->GetKind() : kFileKindMissing;
}

CFile* CFile::ResolveLinks() const
{
    IFileImp* resolved = m_imp ? m_imp->ResolveLinks() : nullptr;
    return resolved ? new CFile(resolved) : nullptr;
}

void CFile::RemoveOnInterrupt(bool on)
{
    if (m_imp)
        m_imp->RemoveOnInterrupt(on);
}

// ".vx" and ten random letters and digits: 13 bytes whatever the name of
// the file it stands beside, so any name the folder allows can be written
// through it. A name someone else holds is skipped; any other failure ends
// the search at once.
CFile* CFile::CreateTemporarySibling() const
{
    if (!m_imp)
        return nullptr;
    static constexpr char16_t kLetters[] = u"abcdefghijklmnopqrstuvwxyz234567";
    for (uint32_t tries = 0; tries < kMaxTemporaryTries; ++tries) {
        uint8_t random[kTemporaryLetters];
        if (!GetUnpredictableBytes(random, kTemporaryLetters))
            return nullptr;
        CRkString name(u".vx");
        for (uint8_t byte : random)
            name.Append(kLetters[byte & 31]);
        std::unique_ptr<IFileImp> sibling(m_imp->Sibling(name));
        if (!sibling)
            return nullptr;
        // Marked before it exists, so that no moment is left in which an
        // interruption would leave it behind.
        sibling->RemoveOnInterrupt(true);
        if (sibling->CreateExclusive() == 0)
            return new CFile(sibling.release());
        sibling->RemoveOnInterrupt(false);
        if (!sibling->Exists())
            return nullptr;
    }
    return nullptr;
}

CFile* CFile::GetSettingsFolder()
{
    IFileImp* imp = CreateSettingsFolderImp();
    return imp ? new CFile(imp) : nullptr;
}

CFile* CFile::GetDocumentsFolder()
{
    IFileImp* imp = CreateDocumentsFolderImp();
    return imp ? new CFile(imp) : nullptr;
}
