#include "framework/core/RkString.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/core/CharTable.h"
#include "framework/core/Crc32.h"
#include "framework/core/RkStream.h"
#include "framework/core/WideFormat.h"

namespace {

constexpr uint32_t kInitialUnitBytes = 128;
constexpr uint32_t kFormatUnits = 1024;
constexpr uint32_t kFormatLimit = 1023;
constexpr char kSubstitute = 0x2D;
constexpr uint32_t kReadChunkUnits = 4096;

bool KnownEncoding(int encoding)
{
    return encoding == kEncodingDeviceLatin0 || encoding == kEncodingDeviceLatin || encoding == kEncodingMacRoman;
}

uint32_t NarrowLength(const char* bytes)
{
    return bytes ? static_cast<uint32_t>(std::strlen(bytes)) : 0;
}

uint32_t WideLength(const char16_t* units)
{
    uint32_t n = 0;
    if (units)
        while (units[n])
            ++n;
    return n;
}

// Allocation failure throws, as the units' buffer does.
void* Allocate(size_t bytes)
{
    void* p = std::malloc(bytes ? bytes : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

int Normalise(int difference)
{
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}

} // namespace

uint32_t ConvertToUnicode(const char* bytes, uint32_t n, int encoding, char16_t* out)
{
    if (!KnownEncoding(encoding) || !bytes || !out)
        return 0;
    const bool mac = encoding == kEncodingMacRoman;
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t b = static_cast<uint8_t>(bytes[i]);
        out[i] = mac ? MacRomanToUnicode(b) : DeviceLatinToUnicode(b);
    }
    return n;
}

uint32_t ConvertFromUnicode(const char16_t* units, uint32_t n, int encoding, char* out, char substitute)
{
    if (!KnownEncoding(encoding) || !units || !out)
        return 0;
    const bool mac = encoding == kEncodingMacRoman;
    for (uint32_t i = 0; i < n; ++i) {
        const CharInfo* info = FindCharInfo(units[i]);
        if (!info)
            out[i] = substitute;
        else
            out[i] = static_cast<char>(mac ? info->macRoman : info->deviceLatin);
    }
    return n;
}

char16_t FoldCase(char16_t unit)
{
    const CharInfo* info = FindCharInfo(unit);
    return info ? info->lower : unit;
}

CRkString::CRkString() : m_units(kInitialUnitBytes)
{
    m_units.SetElementSize(2);
    SetLength(0);
}

CRkString::CRkString(const char16_t* units, uint32_t n) : CRkString()
{
    Assign(units, n);
}

CRkString::CRkString(const char16_t* units) : CRkString()
{
    Assign(units);
}

CRkString::CRkString(const CRkString& other) : CRkType(other), m_length(other.m_length), m_units(other.m_units)
{
}

CRkString::CRkString(const char* bytes, uint32_t n, int encoding) : CRkString()
{
    Assign(bytes, n, encoding);
}

CRkString::CRkString(const char* bytes, int encoding) : CRkString()
{
    Assign(bytes, encoding);
}

CRkString& CRkString::operator=(const CRkString& other)
{
    Assign(other);
    return *this;
}

CRkString::~CRkString()
{
    std::free(m_narrow);
}

// Sets the unit count to n and writes the terminator after it.
void CRkString::SetLength(uint32_t n)
{
    m_units.SetCount(n + 1);
    reinterpret_cast<char16_t*>(m_units.GetData())[n] = 0;
    m_length = n;
}

const char16_t* CRkString::GetChars() const
{
    return reinterpret_cast<const char16_t*>(m_units.GetData());
}

void CRkString::Assign(const char16_t* units, uint32_t n)
{
    m_length = 0;
    Append(units, n);
}

void CRkString::Assign(const char16_t* units)
{
    Assign(units, WideLength(units));
}

void CRkString::Assign(const CRkString& other)
{
    if (&other != this)
        Assign(other.GetChars(), other.m_length);
}

void CRkString::Assign(const char* bytes, uint32_t n, int encoding)
{
    SetLength(0);
    Append(bytes, n, encoding);
}

void CRkString::Assign(const char* bytes, int encoding)
{
    Assign(bytes, NarrowLength(bytes), encoding);
}

void CRkString::Append(const char16_t* units, uint32_t n)
{
    if (!units || n == 0) {
        SetLength(m_length);
        return;
    }
    const auto from = reinterpret_cast<uintptr_t>(units);
    const auto block = reinterpret_cast<uintptr_t>(m_units.GetData());
    if (from >= block && from < block + m_units.GetCapacity()) {
        // The source lies in this string's own block, which may move.
        const size_t bytes = static_cast<size_t>(n) * 2;
        char16_t* copy = static_cast<char16_t*>(Allocate(bytes));
        std::memcpy(copy, units, bytes);
        Append(copy, n);
        std::free(copy);
        return;
    }
    const uint32_t old = m_length;
    SetLength(old + n);
    std::memcpy(m_units.GetData() + static_cast<size_t>(old) * 2, units, static_cast<size_t>(n) * 2);
}

void CRkString::Append(const char16_t* units)
{
    Append(units, WideLength(units));
}

void CRkString::Append(const CRkString& other)
{
    Append(other.GetChars(), other.m_length);
}

void CRkString::Append(const char* bytes, uint32_t n, int encoding)
{
    const uint32_t old = m_length;
    m_units.SetCount(old + n + 1);
    auto* out = reinterpret_cast<char16_t*>(m_units.GetData()) + old;
    const uint32_t produced = ConvertToUnicode(bytes, n, encoding, out);
    SetLength(old + produced);
}

void CRkString::Append(const char* bytes, int encoding)
{
    Append(bytes, NarrowLength(bytes), encoding);
}

void CRkString::Format(const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CRkString::AppendFormat(const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

// The text is formatted into a buffer of its own before the string changes,
// so the format and the arguments may point into the string itself.
void CRkString::FormatV(const char16_t* format, va_list args)
{
    char16_t buffer[kFormatUnits];
    va_list ap;
    va_copy(ap, args);
    WideFormatV(buffer, kFormatLimit, format, ap);
    va_end(ap);
    Assign(buffer);
}

void CRkString::AppendFormatV(const char16_t* format, va_list args)
{
    char16_t buffer[kFormatUnits];
    va_list ap;
    va_copy(ap, args);
    WideFormatV(buffer, kFormatLimit, format, ap);
    va_end(ap);
    Append(buffer);
}

void CRkString::Mid(CRkString& out, uint32_t start, uint32_t count) const
{
    // Clamped so that a range beyond the end cannot read past the units.
    if (start > m_length)
        start = m_length;
    if (count > m_length - start)
        count = m_length - start;
    if (&out == this) {
        CRkString copy(GetChars() + start, count);
        out.Assign(copy);
    } else {
        out.Assign(GetChars() + start, count);
    }
}

void CRkString::Crop(uint32_t start, uint32_t count)
{
    Mid(*this, start, count);
}

void CRkString::Trim()
{
    const char16_t* units = GetChars();
    uint32_t first = 0, last = m_length;
    while (first < last && units[first] == u' ')
        ++first;
    while (last > first && units[last - 1] == u' ')
        --last;
    if (first != 0 || last != m_length)
        Crop(first, last - first);
}

int CRkString::Compare(const CRkString& other, bool caseSensitive) const
{
    const char16_t* a = GetChars();
    const char16_t* b = other.GetChars();
    for (;; ++a, ++b) {
        const char16_t x = caseSensitive ? *a : FoldCase(*a);
        const char16_t y = caseSensitive ? *b : FoldCase(*b);
        if (x != y)
            return Normalise(static_cast<int>(x) - static_cast<int>(y));
        if (!x)
            return 0;
    }
}

int CRkString::CompareRange(const CRkString& other, uint32_t start, uint32_t count, bool caseSensitive) const
{
    CRkString part;
    Mid(part, start, count);
    return part.Compare(other, caseSensitive);
}

bool CRkString::StartsWith(const CRkString& other, bool caseSensitive) const
{
    if (other.m_length > m_length)
        return false;
    return CompareRange(other, 0, other.m_length, caseSensitive) == 0;
}

bool CRkString::EndsWith(const CRkString& other, bool caseSensitive) const
{
    if (other.m_length > m_length)
        return false;
    return CompareRange(other, m_length - other.m_length, other.m_length, caseSensitive) == 0;
}

int32_t CRkString::Find(char16_t ch, uint32_t flags) const
{
    const bool exact = (flags & kFindExact) != 0;
    const char16_t key = exact ? ch : FoldCase(ch);
    const char16_t* units = GetChars();
    int32_t found = -1;
    for (uint32_t i = 0; i < m_length; ++i) {
        const char16_t unit = exact ? units[i] : FoldCase(units[i]);
        if (unit == key) {
            found = static_cast<int32_t>(i);
            if (!(flags & kFindLast))
                break;
        }
    }
    return found;
}

uint32_t CRkString::CountChar(char16_t ch) const
{
    const char16_t key = FoldCase(ch);
    const char16_t* units = GetChars();
    uint32_t count = 0;
    for (uint32_t i = 0; i < m_length; ++i)
        if (FoldCase(units[i]) == key)
            ++count;
    return count;
}

void CRkString::RemoveChar(char16_t ch)
{
    const char16_t key = FoldCase(ch);
    auto* units = reinterpret_cast<char16_t*>(m_units.GetData());
    uint32_t kept = 0;
    for (uint32_t i = 0; i < m_length; ++i)
        if (FoldCase(units[i]) != key)
            units[kept++] = units[i];
    SetLength(kept);
}

char16_t* CRkString::CopyChars() const
{
    const size_t bytes = (static_cast<size_t>(m_length) + 1) * 2;
    auto* copy = static_cast<char16_t*>(Allocate(bytes));
    std::memcpy(copy, GetChars(), bytes);
    return copy;
}

const char* CRkString::GetNarrow(int encoding) const
{
    void* block = std::realloc(m_narrow, static_cast<size_t>(m_length) + 1);
    if (!block)
        throw std::bad_alloc();
    m_narrow = static_cast<char*>(block);
    const uint32_t n = ConvertFromUnicode(GetChars(), m_length, encoding, m_narrow, kSubstitute);
    m_narrow[n] = 0;
    return m_narrow;
}

char* CRkString::CopyNarrow(int encoding) const
{
    auto* copy = static_cast<char*>(Allocate(static_cast<size_t>(m_length) + 1));
    const uint32_t n = ConvertFromUnicode(GetChars(), m_length, encoding, copy, kSubstitute);
    copy[n] = 0;
    return copy;
}

char* CRkString::ToNarrow(char* dest, uint32_t maxChars, int encoding) const
{
    if (!dest)
        return dest;
    const uint32_t count = maxChars < m_length ? maxChars : m_length;
    const uint32_t n = ConvertFromUnicode(GetChars(), count, encoding, dest, kSubstitute);
    dest[n] = 0;
    return dest;
}

// Serialised form:
//   offset 0  u32 version (0), big-endian
//   offset 4  u32 length in units, big-endian
//   offset 8  length x 2 bytes: the units, low byte first
int32_t CRkString::Write(CRkStream& stream) const
{
    int32_t err = stream.WriteU32(0);
    if (!err)
        err = stream.WriteU32(m_length);
    if (err || m_length == 0)
        return err;
    CMemBuffer bytes(m_length * 2);
    const char16_t* units = GetChars();
    for (uint32_t i = 0; i < m_length; ++i) {
        const uint8_t pair[2] = {static_cast<uint8_t>(units[i]), static_cast<uint8_t>(units[i] >> 8)};
        bytes.Append(pair, 2);
    }
    return stream.WriteBuffer(bytes);
}

int32_t CRkString::Read(CRkStream& stream)
{
    uint32_t version = 0, length = 0;
    int32_t err = stream.ReadU32(version);
    if (err)
        return err;
    if (version > 0)
        return kStreamNewerVersion;
    if ((err = stream.ReadU32(length)) != 0)
        return err;
    // Read in pieces so that a damaged length cannot demand a huge block
    // before the data runs out.
    CRkString text;
    uint8_t chunk[kReadChunkUnits * 2];
    char16_t units[kReadChunkUnits];
    for (uint32_t done = 0; done < length;) {
        const uint32_t n = length - done < kReadChunkUnits ? length - done : kReadChunkUnits;
        uint32_t got = 0;
        if ((err = stream.ReadBytes(chunk, n * 2, got)) != 0)
            return err;
        for (uint32_t i = 0; i < n; ++i)
            units[i] = static_cast<char16_t>(chunk[2 * i] | (chunk[2 * i + 1] << 8));
        text.Append(units, n);
        done += n;
    }
    Assign(text);
    return kStreamOk;
}

bool CRkString::IsEqual(const CRkType* other) const
{
    if (!other || other->GetTypeID() != kTypeIdString)
        return false;
    return Compare(*static_cast<const CRkString*>(other), true) == 0;
}

uint32_t CRkString::Hash() const
{
    CCRC32Hash hash;
    const char16_t* units = GetChars();
    for (uint32_t i = 0; i < m_length; ++i) {
        hash.Update(static_cast<uint8_t>(units[i]));
        hash.Update(static_cast<uint8_t>(units[i] >> 8));
    }
    return hash.GetValue();
}
