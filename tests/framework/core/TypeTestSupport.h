// Shared helpers for the typed-object tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "framework/core/MemBuffer.h"
#include "framework/core/ObjectStream.h"
#include "framework/core/RkStream.h"
#include "framework/core/TypeFactory.h"

// Each test starts with only the core factory registered and serial 0.
class TypeStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetTypeFactoryChain().Clear();
        RegisterTypeFactory(new CRkCoreTypeFactory);
        ResetObjectSerial();
    }
    void TearDown() override
    {
        GetTypeFactoryChain().Clear();
        ResetObjectSerial();
    }
};

// Counts live instances so tests can see exactly when objects die.
class CountedType : public CRkType {
public:
    static inline int live = 0;
    CountedType() { ++live; }
    ~CountedType() override { --live; }
    int32_t Write(CRkStream& stream) const override { return stream.WriteU32(0); }
    int32_t Read(CRkStream& stream) override
    {
        uint32_t v = 0;
        return stream.ReadU32(v);
    }
    uint32_t GetTypeID() const override { return 1000; }
};

inline std::vector<uint8_t> Bytes(const CMemBuffer& buffer)
{
    return std::vector<uint8_t>(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

inline void AppendTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

inline void AppendU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

inline void AppendBytes(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes)
{
    for (uint8_t b : bytes)
        out.push_back(b);
}

// Writes one object into a fresh buffer; returns the error code.
inline int32_t WriteToBuffer(const CRkType* object, CMemBuffer& buffer)
{
    CRkMemStream stream(buffer, StreamMode::Write);
    int32_t err = stream.Open();
    if (!err)
        err = WriteObject(object, &stream);
    return err;
}

// Reads one object from raw bytes; the stream position is reported too.
inline int32_t ReadFromBytes(const std::vector<uint8_t>& bytes, CRkType** out, uint32_t* position = nullptr)
{
    CMemBuffer buffer;
    if (!bytes.empty())
        buffer.Append(bytes.data(), uint32_t(bytes.size()));
    CRkMemStream stream(buffer, StreamMode::Read);
    int32_t err = stream.Open();
    if (!err)
        err = ReadObject(&stream, out);
    if (position)
        stream.GetPosition(*position);
    return err;
}
