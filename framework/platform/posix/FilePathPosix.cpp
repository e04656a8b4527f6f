// Path handling of the POSIX file implementation: the UTF-8 byte mapping,
// the folder/name split and the implementations derived from a path.
#include <cstring>

#include "framework/platform/posix/FileImpPosix.h"

namespace {

constexpr char16_t kSeparator = u'/';
constexpr char16_t kEscapeBase = 0xDC00; // a stray byte b becomes kEscapeBase + b

bool IsContinuation(uint8_t b, uint8_t low = 0x80, uint8_t high = 0xBF)
{
    return b >= low && b <= high;
}

// Length of the well-formed UTF-8 sequence at p (at most n bytes), 0 when
// the bytes there do not start one. Overlong forms, encoded surrogates and
// code points above U+10FFFF are not well formed.
size_t SequenceLength(const uint8_t* p, size_t n)
{
    const uint8_t b = p[0];
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return n >= 2 && IsContinuation(p[1]) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const uint8_t low = b == 0xE0 ? 0xA0 : 0x80;
        const uint8_t high = b == 0xED ? 0x9F : 0xBF;
        return n >= 3 && IsContinuation(p[1], low, high) && IsContinuation(p[2]) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const uint8_t low = b == 0xF0 ? 0x90 : 0x80;
        const uint8_t high = b == 0xF4 ? 0x8F : 0xBF;
        return n >= 4 && IsContinuation(p[1], low, high) && IsContinuation(p[2]) && IsContinuation(p[3]) ? 4 : 0;
    }
    return 0;
}

void AppendCodePoint(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

int32_t FindLastSeparator(const CRkString& path)
{
    const char16_t* units = path.GetChars();
    for (uint32_t i = path.GetLength(); i > 0; --i)
        if (units[i - 1] == kSeparator)
            return int32_t(i - 1);
    return -1;
}

} // namespace

void NativePathToUnits(const char* bytes, size_t n, CRkString& out)
{
    std::u16string units;
    units.reserve(n);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes);
    size_t i = 0;
    while (i < n) {
        const size_t len = SequenceLength(p + i, n - i);
        if (len == 0) {
            units.push_back(char16_t(kEscapeBase + p[i]));
            ++i;
            continue;
        }
        uint32_t cp = len == 1 ? p[i] : p[i] & (0x7F >> len);
        for (size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (p[i + k] & 0x3F);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(char16_t(0xD800 + (cp >> 10)));
            units.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(char16_t(cp));
        }
        i += len;
    }
    out.Assign(units.data(), uint32_t(units.size()));
}

bool UnitsToNativePath(const CRkString& path, std::string& out)
{
    out.clear();
    const char16_t* units = path.GetChars();
    const uint32_t n = path.GetLength();
    out.reserve(n);
    for (uint32_t i = 0; i < n; ++i) {
        const char16_t u = units[i];
        if (u == 0)
            return false;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            AppendCodePoint(out, 0x10000 + ((uint32_t(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            out.push_back(char(u - kEscapeBase));
        } else {
            AppendCodePoint(out, u);
        }
    }
    return true;
}

CPosixFileImp::CPosixFileImp(const CRkString& path) : m_path(path)
{
    const int32_t slash = FindLastSeparator(path);
    if (slash < 0) {
        m_folder.Assign(path);
        m_name.Assign(path);
    } else {
        // The root keeps its separator: "/a" lies in "/".
        path.Mid(m_folder, 0, slash == 0 ? 1 : uint32_t(slash));
        path.Mid(m_name, uint32_t(slash) + 1, path.GetLength() - uint32_t(slash) - 1);
    }
    m_nativeValid = UnitsToNativePath(path, m_native);
}

IFileImp* CPosixFileImp::Clone() const
{
    return new CPosixFileImp(m_path);
}

IFileImp* CPosixFileImp::Child(const CRkString& name) const
{
    CRkString path(m_path);
    if (!path.IsEmpty() && path.GetAt(path.GetLength() - 1) != kSeparator)
        path.Append(kSeparator);
    path.Append(name);
    return new CPosixFileImp(path);
}

IFileImp* CPosixFileImp::Sibling(const CRkString& name) const
{
    const int32_t slash = FindLastSeparator(m_path);
    CRkString path;
    if (slash >= 0)
        m_path.Mid(path, 0, uint32_t(slash) + 1);
    path.Append(name);
    return new CPosixFileImp(path);
}

IFileImp* CPosixFileImp::GetParent() const
{
    return new CPosixFileImp(m_folder);
}

IFileImp* CreateFileImp(const CRkString& path)
{
    return new CPosixFileImp(path);
}

IFileImp* CreateFileImpFromNative(const char* path)
{
    CRkString units;
    if (path)
        NativePathToUnits(path, std::strlen(path), units);
    return new CPosixFileImp(units);
}
