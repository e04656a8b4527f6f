#include "book/Compressor.h"

#include <zlib.h>

#include "framework/core/MemBuffer.h"

CMemBuffer* CZLibCompressor::Compress(const CMemBuffer& source)
{
    if (source.GetSize() > kMaxTextRecordSize)
        return nullptr;
    const uLong bound = compressBound(source.GetSize());
    auto* out = new CMemBuffer(kMaxTextRecordSize);
    out->SetSize(static_cast<uint32_t>(bound));
    uint32_t length = static_cast<uint32_t>(bound);
    if (!Compress(source.GetData(), source.GetSize(), out->GetData(), length)) {
        out->Release();
        return nullptr;
    }
    out->SetSize(length);
    out->AppendU32BE(length);
    return out;
}

bool CZLibCompressor::Compress(const void* source, uint32_t sourceLength, void* dest, uint32_t& destLength)
{
    uLongf length = destLength;
    const int rc = compress(static_cast<Bytef*>(dest), &length, static_cast<const Bytef*>(source), sourceLength);
    if (rc != Z_OK)
        return false;
    destLength = static_cast<uint32_t>(length);
    return true;
}

CMemBuffer* CZLibUncompressor::Uncompress(const CMemBuffer& source, uint32_t maxSize)
{
    auto* out = new CMemBuffer(maxSize ? maxSize : 1);
    out->SetSize(maxSize);
    uint32_t length = maxSize;
    if (!Uncompress(source.GetData(), source.GetSize(), out->GetData(), length)) {
        out->Release();
        return nullptr;
    }
    out->SetSize(length);
    return out;
}

bool CZLibUncompressor::Uncompress(const void* source, uint32_t sourceLength, void* dest, uint32_t& destLength)
{
    uLongf length = destLength;
    const int rc = uncompress(static_cast<Bytef*>(dest), &length, static_cast<const Bytef*>(source), sourceLength);
    if (rc != Z_OK)
        return false;
    destLength = static_cast<uint32_t>(length);
    return true;
}

uint32_t CompressRecord(const void* source, uint32_t sourceLength, void* dest, uint32_t capacity)
{
    // A fresh compressor per chunk: no state is shared between records.
    CZLibCompressor compressor;
    uint32_t length = capacity;
    if (!compressor.Compress(source, sourceLength, dest, length))
        return 0;
    return length;
}
