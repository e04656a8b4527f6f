#include "book/Compressor.h"

#include <zlib.h>

#include <cstring>

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

namespace {

// One deflate state per thread, reset for every record: each record is a
// whole zlib stream of its own, byte for byte what `compress` makes, without
// allocating and clearing a fresh state for every 8192 bytes.
class CRecordDeflater {
public:
    CRecordDeflater() { m_ready = deflateInit(&m_stream, Z_DEFAULT_COMPRESSION) == Z_OK; }
    ~CRecordDeflater()
    {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    CRecordDeflater(const CRecordDeflater&) = delete;
    CRecordDeflater& operator=(const CRecordDeflater&) = delete;

    uint32_t Compress(const void* source, uint32_t sourceLength, void* dest, uint32_t capacity)
    {
        if (!m_ready || deflateReset(&m_stream) != Z_OK)
            return 0;
        m_stream.next_in = const_cast<Bytef*>(static_cast<const Bytef*>(source));
        m_stream.avail_in = sourceLength;
        m_stream.next_out = static_cast<Bytef*>(dest);
        m_stream.avail_out = capacity;
        // Anything but the stream's end means the output did not fit.
        if (deflate(&m_stream, Z_FINISH) != Z_STREAM_END)
            return 0;
        return capacity - m_stream.avail_out;
    }

private:
    z_stream m_stream{};
    bool m_ready = false;
};

} // namespace

uint32_t CompressRecord(const void* source, uint32_t sourceLength, void* dest, uint32_t capacity)
{
    thread_local CRecordDeflater deflater;
    return deflater.Compress(source, sourceLength, dest, capacity);
}

InflateResult InflateRecord(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>& out)
{
    out.clear();
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK)
        return InflateResult::Corrupt;
    // One byte more than the limit, so that overlong data shows itself.
    out.resize(limit + 1);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&stream, Z_FINISH);
    const size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    out.resize(produced);
    if (produced > limit)
        return InflateResult::TooLong;
    if (rc != Z_STREAM_END || stream.avail_in != 0)
        return InflateResult::Corrupt;
    return InflateResult::Ok;
}
