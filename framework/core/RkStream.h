// Byte streams in the framework's serialised form (numbers big-endian,
// except ReadU16, which keeps machine order).
#pragma once

#include <cstdint>

class CMemBuffer;

// Stream error codes (0 is success).
enum : int32_t {
    kStreamOk = 0,
    kStreamBadArgument = 1, // null argument, or data that does not fit
    kStreamWrongMode = 50,  // reading a write stream or writing a read stream
    kStreamAlreadyOpen = 51,
    kStreamNotOpen = 52,
    kStreamEndOfData = 53,
    kStreamBadFraming = 54,   // tag, type id or serial number mismatch; unknown type
    kStreamNewerVersion = 55, // format version above 0
};

enum class StreamMode : uint32_t { Read = 0, Write = 1 };

class CRkStream {
public:
    explicit CRkStream(StreamMode mode) : m_mode(mode) {}
    virtual ~CRkStream() = default;
    CRkStream(const CRkStream&) = delete;
    CRkStream& operator=(const CRkStream&) = delete;

    int32_t Open();
    int32_t Close();
    int32_t Skip(int32_t n);
    int32_t Mark();
    int32_t ResetToMark();
    bool IsOpen() const { return m_open != 0; }
    StreamMode GetMode() const { return m_mode; }

    int32_t ReadBytes(void* destination, uint32_t count, uint32_t& countRead);
    int32_t ReadBuffer(CMemBuffer& buffer, uint32_t count);
    int32_t ReadU32(uint32_t& out);
    int32_t ReadU16(uint16_t& out);
    int32_t ReadU8(uint8_t& out);
    int32_t WriteBytes(const void* source, uint32_t count);
    int32_t WriteText(const char* text);
    int32_t WriteBuffer(const CMemBuffer& buffer);
    int32_t WriteU32(uint32_t value);
    int32_t WriteU8(uint8_t value);

    // 0 when count more bytes can be read; otherwise the error a read would
    // give (52, 50, or 53 when the stream knows it holds fewer bytes). Lets
    // readers reject a length field before allocating for it.
    int32_t CheckAvailable(uint32_t count);

    virtual int32_t DoOpen() = 0;
    virtual int32_t DoClose() = 0;
    virtual int32_t GetPosition(uint32_t& position) = 0;
    virtual int32_t SetPosition(uint32_t position) = 0;
    virtual int32_t DoRead(void* destination, uint32_t count, uint32_t& countRead) = 0;
    virtual int32_t DoWrite(const void* source, uint32_t count) = 0;
    virtual bool AtEnd() = 0;
    // Bytes left to read, when the stream can tell; false when it cannot.
    virtual bool GetRemaining(uint32_t& remaining)
    {
        remaining = 0;
        return false;
    }

private:
    uint32_t m_open = 0;
    uint32_t m_mark = 0;
    StreamMode m_mode;
};

// A stream over a caller's CMemBuffer (not owned).
class CRkMemStream : public CRkStream {
public:
    CRkMemStream(CMemBuffer& buffer, StreamMode mode) : CRkStream(mode), m_buffer(&buffer) {}

    int32_t DoOpen() override { return kStreamOk; }
    int32_t DoClose() override { return kStreamOk; }
    int32_t GetPosition(uint32_t& position) override;
    int32_t SetPosition(uint32_t position) override;
    int32_t DoRead(void* destination, uint32_t count, uint32_t& countRead) override;
    int32_t DoWrite(const void* source, uint32_t count) override;
    bool AtEnd() override;
    bool GetRemaining(uint32_t& remaining) override;

private:
    CMemBuffer* m_buffer;
    uint32_t m_readPosition = 0;
};
