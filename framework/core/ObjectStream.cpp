#include "framework/core/ObjectStream.h"

#include "framework/core/RkStream.h"
#include "framework/core/RkType.h"
#include "framework/core/TypeFactory.h"

namespace {

constexpr uint32_t kBeginTag = 0x42547970; // "BTyp"
constexpr uint32_t kEndTag = 0x45547970;   // "ETyp"

uint32_t g_fileSerial = 0;
uint32_t* g_serial = nullptr;
uint32_t g_nesting = 0;

uint32_t& SerialCounter()
{
    return g_serial ? *g_serial : g_fileSerial;
}

// Limits recursion through nested containers read from untrusted data.
class NestingGuard {
public:
    NestingGuard() { ++g_nesting; }
    ~NestingGuard() { --g_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
    bool TooDeep() const { return g_nesting > kMaxObjectNesting; }
};

int32_t ExpectU32(CRkStream& stream, uint32_t expected)
{
    uint32_t value = 0;
    const int32_t err = stream.ReadU32(value);
    if (err)
        return err;
    return value == expected ? kStreamOk : kStreamBadFraming;
}

// Reads the framed body into an object the factory already created.
int32_t ReadFramed(CRkStream& stream, CRkType& object, uint32_t typeId)
{
    int32_t err = ExpectU32(stream, kBeginTag);
    if (!err)
        err = ExpectU32(stream, object.GetTypeID());
    uint32_t serial = 0;
    if (!err)
        err = stream.ReadU32(serial);
    if (!err)
        err = object.Read(stream);
    if (!err)
        err = ExpectU32(stream, kEndTag);
    if (!err)
        err = ExpectU32(stream, typeId);
    if (!err)
        err = ExpectU32(stream, serial);
    return err;
}

} // namespace

uint32_t NextObjectSerial()
{
    return SerialCounter()++;
}

void ResetObjectSerial(uint32_t value)
{
    SerialCounter() = value;
}

void SetObjectSerialCounter(uint32_t* counter)
{
    g_serial = counter;
}

int32_t WriteObject(const CRkType* object, CRkStream* stream)
{
    if (!stream || !object)
        return kStreamBadArgument;
    const uint32_t typeId = object->GetTypeID();
    const uint32_t serial = NextObjectSerial();
    int32_t err = stream->WriteU32(kBeginTag);
    if (!err)
        err = stream->WriteU32(typeId);
    if (!err)
        err = stream->WriteU32(serial);
    if (!err)
        err = object->Write(*stream);
    if (!err)
        err = stream->WriteU32(kEndTag);
    if (!err)
        err = stream->WriteU32(typeId);
    if (!err)
        err = stream->WriteU32(serial);
    return err;
}

int32_t ReadObject(CRkStream* stream, CRkType** out)
{
    if (!out)
        return kStreamBadArgument;
    *out = nullptr;
    if (!stream)
        return kStreamBadArgument;
    NestingGuard guard;
    if (guard.TooDeep())
        return kStreamBadArgument;

    // Peek at the tag and type id, then go back so the object reads the
    // whole framed form itself.
    int32_t err = stream->Mark();
    if (err)
        return err;
    err = ExpectU32(*stream, kBeginTag);
    uint32_t typeId = 0;
    if (!err)
        err = stream->ReadU32(typeId);
    const int32_t resetErr = stream->ResetToMark();
    if (err)
        return err;
    if (resetErr)
        return resetErr;

    CRkType* object = GetTypeFactoryChain().Create(typeId);
    if (!object)
        return kStreamBadFraming;
    err = ReadFramed(*stream, *object, typeId);
    if (err) {
        object->Release();
        return err;
    }
    *out = object;
    return kStreamOk;
}

int32_t ReadCountedItems(CRkStream& stream, const std::function<int32_t()>& readItem)
{
    uint32_t version = 0;
    uint32_t count = 0;
    int32_t err = stream.ReadU32(version);
    if (err)
        return err;
    if (version > 0)
        return kStreamNewerVersion;
    if ((err = stream.ReadU32(count)) != 0)
        return err;
    for (uint32_t i = 0; i < count; ++i)
        if ((err = readItem()) != 0)
            return err;
    return kStreamOk;
}
