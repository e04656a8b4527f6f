// The reference-counted root of every typed framework object.
#pragma once

#include <cstdint>

class CRkStream;

// Type ids used by the type factory to recreate objects from streams.
enum : uint32_t {
    kTypeIdData = 1,
    kTypeIdMemBuffer = 2,
    kTypeIdString = 3,
    kTypeIdArray = 4,
    kTypeIdRecord = 5,
    kTypeIdTypeHashTable = 6,
    kTypeIdColor = 7,
};

// Objects start with a reference count of 1; the Release that finds the
// count at 1 (or 0) deletes the object. Objects held by value are destroyed
// normally and never released.
class CRkType {
public:
    CRkType() = default;
    CRkType(const CRkType&) : m_refCount(1) {}
    CRkType& operator=(const CRkType&) { return *this; }

    // Serialised form (version word first); returns 0 or a stream error code.
    virtual int32_t Write(CRkStream& stream) const = 0;
    virtual int32_t Read(CRkStream& stream) = 0;
    virtual ~CRkType() = default;

    virtual CRkType* AddRef();
    virtual void Release();
    virtual uint32_t GetTypeID() const { return 0; }
    virtual bool IsEqual(const CRkType* other) const { return other == this; }
    virtual uint32_t Hash() const;

    uint32_t GetRefCount() const { return m_refCount; }

private:
    uint32_t m_refCount = 1;
};
