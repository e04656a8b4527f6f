#include "book/PngReencode.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"

// libpng reports errors by calling back into ErrorExit, which jumps to the
// recovery point of Decode. Everything Decode allocates lives in the plain
// Session below, owned by the caller's frame, so nothing with a destructor
// is skipped by the jump and every path frees the same way.

namespace {

// Width and height are stored as 16-bit values.
constexpr uint32_t kMaxDimension = 0xFFFF;
// The largest width and height a PNG header may give at all.
constexpr uint32_t kLargestPngDimension = 0x7FFFFFFF;
constexpr size_t kSignatureBytes = 8;

struct Source {
    CFile* file;
    const uint8_t* bytes;
    size_t length;
    size_t position;
};

struct Session {
    Source* source;
    CMemBuffer* out;
    uint32_t outStart;
    uint32_t sizeLimit;
    uint32_t failure;
    // Set by any allocation that failed; the failure is then this one.
    bool outOfMemory;
    png_structp reader;
    png_infop readInfo;
    png_structp writer;
    png_infop writeInfo;
    png_bytep block;
    png_bytepp rows;
    std::jmp_buf recovery;
};

// Reads exactly `count` bytes; false on a short read or an error.
bool ReadSource(Source& source, void* into, size_t count)
{
    if (source.file) {
        if (count > UINT32_MAX)
            return false;
        uint32_t got = 0;
        return source.file->Read(into, static_cast<uint32_t>(count), got) == 0 && got == count;
    }
    if (count > source.length - source.position)
        return false;
    std::memcpy(into, source.bytes + source.position, count);
    source.position += count;
    return true;
}

[[noreturn]] void ErrorExit(png_structp png, png_const_charp)
{
    auto* session = static_cast<Session*>(png_get_error_ptr(png));
    std::longjmp(session->recovery, 1);
}

void IgnoreWarning(png_structp, png_const_charp)
{
}

// libpng's allocations, noting a failure for the result.
png_voidp AllocateForLibrary(png_structp png, png_alloc_size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        static_cast<Session*>(png_get_mem_ptr(png))->outOfMemory = true;
    return block;
}

void FreeForLibrary(png_structp, png_voidp block)
{
    std::free(block);
}

void ReadData(png_structp png, png_bytep data, size_t length)
{
    auto* session = static_cast<Session*>(png_get_io_ptr(png));
    if (!ReadSource(*session->source, data, length))
        png_error(png, "read failed");
}

void WriteData(png_structp png, png_bytep data, size_t length)
{
    auto* session = static_cast<Session*>(png_get_io_ptr(png));
    const size_t written = session->out->GetSize() - session->outStart;
    if (length >= session->sizeLimit - written || length > UINT32_MAX - session->out->GetSize()) {
        session->failure = kReencodeTooLarge;
        png_error(png, "too large");
    }
    // No exception may cross the library: the room is made first.
    if (!session->out->TryReserve(session->out->GetSize() + static_cast<uint32_t>(length))) {
        session->outOfMemory = true;
        png_error(png, "out of memory");
    }
    session->out->Append(data, static_cast<uint32_t>(length));
}

void FlushData(png_structp)
{
}

// The whole decode and encode. Returns kReencodeOk; every failure leaves
// through ErrorExit (code in session.failure) or returns its code.
uint32_t Decode(Session& session)
{
    if (setjmp(session.recovery) != 0)
        return session.outOfMemory ? kReencodeOutOfMemory : session.failure;

    uint8_t signature[kSignatureBytes];
    if (!ReadSource(*session.source, signature, kSignatureBytes) || png_sig_cmp(signature, 0, kSignatureBytes) != 0)
        return kReencodeReadFailed;

    session.reader = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &session, ErrorExit, IgnoreWarning, &session,
                                              AllocateForLibrary, FreeForLibrary);
    if (!session.reader)
        return session.outOfMemory ? kReencodeOutOfMemory : kReencodeReadFailed;
    session.readInfo = png_create_info_struct(session.reader);
    if (!session.readInfo)
        return session.outOfMemory ? kReencodeOutOfMemory : kReencodeReadFailed;
    png_set_read_fn(session.reader, &session, ReadData);
    png_set_sig_bytes(session.reader, kSignatureBytes);
    // The size limits are checked here, after the header, so that an image
    // over them is told apart from a damaged one.
    png_set_user_limits(session.reader, kLargestPngDimension, kLargestPngDimension);

    png_read_info(session.reader, session.readInfo);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    int interlace = 0;
    int compression = 0;
    int filter = 0;
    png_get_IHDR(session.reader, session.readInfo, &width, &height, &bitDepth, &colorType, &interlace, &compression,
                 &filter);
    if (colorType != PNG_COLOR_TYPE_GRAY && colorType != PNG_COLOR_TYPE_PALETTE)
        return kReencodeColorType;
    if (width > kMaxDimension || height > kMaxDimension)
        return kReencodeTooLargeToDecode;

    png_colorp palette = nullptr;
    int paletteSize = 0;
    const bool hasPalette =
        png_get_PLTE(session.reader, session.readInfo, &palette, &paletteSize) == PNG_INFO_PLTE && paletteSize > 0;

    png_set_interlace_handling(session.reader);
    png_read_update_info(session.reader, session.readInfo);
    const size_t rowBytes = png_get_rowbytes(session.reader, session.readInfo);
    if (rowBytes == 0 || height == 0)
        return kReencodeReadFailed;
    if (rowBytes > kMaxDecodedImageBytes / height)
        return kReencodeTooLargeToDecode;

    session.block = static_cast<png_bytep>(std::calloc(height, rowBytes));
    session.rows = static_cast<png_bytepp>(std::calloc(height, sizeof(png_bytep)));
    if (!session.block || !session.rows)
        return kReencodeOutOfMemory;
    for (png_uint_32 y = 0; y < height; ++y)
        session.rows[y] = session.block + static_cast<size_t>(y) * rowBytes;

    session.writer = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, &session, ErrorExit, IgnoreWarning, &session,
                                               AllocateForLibrary, FreeForLibrary);
    if (!session.writer)
        return session.outOfMemory ? kReencodeOutOfMemory : kReencodeReadFailed;
    session.writeInfo = png_create_info_struct(session.writer);
    if (!session.writeInfo)
        return session.outOfMemory ? kReencodeOutOfMemory : kReencodeReadFailed;
    png_set_write_fn(session.writer, &session, WriteData, FlushData);
    png_set_filter(session.writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(session.writer, session.writeInfo, width, height, bitDepth, colorType, PNG_INTERLACE_NONE, compression,
                 filter);
    if (hasPalette)
        png_set_PLTE(session.writer, session.writeInfo, palette, paletteSize);

    // Decode completely before writing, so a damaged image writes nothing.
    png_read_image(session.reader, session.rows);

    png_write_info(session.writer, session.writeInfo);
    png_write_image(session.writer, session.rows);
    png_write_end(session.writer, nullptr);
    return kReencodeOk;
}

uint32_t Reencode(Source& source, CMemBuffer& out, uint32_t sizeLimit)
{
    Session session{};
    session.source = &source;
    session.out = &out;
    session.outStart = out.GetSize();
    session.sizeLimit = sizeLimit;
    session.failure = kReencodeReadFailed;

    const uint32_t result = Decode(session);

    if (session.reader)
        png_destroy_read_struct(&session.reader, session.readInfo ? &session.readInfo : nullptr, nullptr);
    if (session.writer)
        png_destroy_write_struct(&session.writer, session.writeInfo ? &session.writeInfo : nullptr);
    std::free(session.rows);
    std::free(session.block);
    if (result != kReencodeOk)
        out.SetSize(session.outStart);
    return result;
}

} // namespace

uint32_t ReencodePngFile(CFile& file, CMemBuffer& out, uint32_t sizeLimit)
{
    Source source{&file, nullptr, 0, 0};
    return Reencode(source, out, sizeLimit);
}

uint32_t ReencodePngBytes(const uint8_t* bytes, size_t length, CMemBuffer& out, uint32_t sizeLimit)
{
    Source source{nullptr, bytes, bytes ? length : 0, 0};
    return Reencode(source, out, sizeLimit);
}
