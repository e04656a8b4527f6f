// zlib compression of text records and the matching decompression: the one
// place in the program that compresses and decompresses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "book/BookFormat.h"

class CMemBuffer;

// kMaxTextRecordSize (BookFormat.h) is the largest chunk of text that
// becomes one text record.

class ICompress {
public:
    virtual ~ICompress() = default;
    // Compresses a buffer of at most kMaxTextRecordSize bytes into a new
    // buffer (released by the caller) holding the zlib output followed by
    // the compressed length as a big-endian u32. Null when the source is
    // too large or zlib fails.
    virtual CMemBuffer* Compress(const CMemBuffer& source) = 0;
    // On entry destLength holds the capacity of dest. On success it holds
    // the compressed size and the result is true; on failure (including
    // output that does not fit) the result is false and destLength is
    // left as it was.
    virtual bool Compress(const void* source, uint32_t sourceLength, void* dest, uint32_t& destLength) = 0;
};

class CZLibCompressor final : public ICompress {
public:
    CMemBuffer* Compress(const CMemBuffer& source) override;
    bool Compress(const void* source, uint32_t sourceLength, void* dest, uint32_t& destLength) override;
};

class IUncompress {
public:
    virtual ~IUncompress() = default;
    // Decompresses one whole zlib stream into a new buffer (released by the
    // caller) of at most maxSize bytes. Null on damaged data or when the
    // result would be larger than maxSize.
    virtual CMemBuffer* Uncompress(const CMemBuffer& source, uint32_t maxSize) = 0;
    // Same contract as ICompress's raw operation, in the other direction.
    virtual bool Uncompress(const void* source, uint32_t sourceLength, void* dest, uint32_t& destLength) = 0;
};

class CZLibUncompressor final : public IUncompress {
public:
    CMemBuffer* Uncompress(const CMemBuffer& source, uint32_t maxSize) override;
    bool Uncompress(const void* source, uint32_t sourceLength, void* dest, uint32_t& destLength) override;
};

// Compresses one chunk into dest (capacity bytes) and returns the stored
// size. Returns 0 when the chunk cannot be stored: zlib failed or its
// output does not fit the capacity (incompressible data). A non-empty chunk
// never compresses to 0 bytes, so 0 always means failure; the caller must
// then stop the build with an error.
uint32_t CompressRecord(const void* source, uint32_t sourceLength, void* dest, uint32_t capacity);

enum class InflateResult {
    Ok,
    TooLong, // the data decompresses to more than the limit
    Corrupt, // not one whole zlib stream (damaged, cut short, or followed by more bytes)
};

// Decompresses one zlib-compressed record of at most limit bytes into out,
// telling a record that is too long from one that is damaged; for reading
// books (the tool's dump and check).
InflateResult InflateRecord(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>& out);
