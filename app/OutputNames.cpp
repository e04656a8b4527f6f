#include "app/OutputNames.h"

#include <memory>

#include "framework/io/File.h"

namespace {

const CRkString kBookEnding(u".ldb");

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// The name without its extension, from its last "." on.
CRkString StripExtension(const CRkString& name)
{
    int32_t dot = name.Find(u'.', kFindLast);
    if (dot < 0)
        return name;
    CRkString base;
    name.Mid(base, 0, uint32_t(dot));
    return base;
}

} // namespace

CRkString CutName(const CRkString& text, uint32_t limit)
{
    if (text.GetLength() <= limit)
        return text;
    uint32_t length = limit;
    if (length > 0 && IsHighSurrogate(text.GetAt(length - 1)))
        --length; // its low half would be cut off
    CRkString cut;
    text.Mid(cut, 0, length);
    return cut;
}

CRkString BookNameForSource(const CRkString& sourceName)
{
    CRkString name = CutName(StripExtension(sourceName), kMaxBookBaseLength);
    name.Append(kBookEnding);
    return name;
}

bool IsBookName(const CRkString& name)
{
    return name.EndsWith(kBookEnding, false);
}

CFile* FirstFreeBookFile(const CFile& output)
{
    return FirstFreeBookFile(
        output, [](const CFile& file) { return file.Exists(); });
}

CFile* FirstFreeBookFile(const CFile& output, const std::function<bool(const CFile&)>& exists)
{
    if (!exists(output))
        return new CFile(output);
    CRkString name;
    output.GetName(name);
    const CRkString base = StripExtension(name);
    for (uint32_t n = 1; n <= kMaxBookNumber; ++n) {
        CRkString number;
        number.Format(u".%u", unsigned(n));
        CRkString candidate = CutName(base, kMaxBookBaseLength - number.GetLength());
        candidate.Append(number);
        candidate.Append(kBookEnding);
        std::unique_ptr<CFile> file(output.GetSibling(candidate));
        if (file && !exists(*file))
            return file.release();
    }
    return nullptr;
}
