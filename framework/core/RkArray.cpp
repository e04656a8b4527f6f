#include "framework/core/RkArray.h"

#include "framework/core/ObjectStream.h"
#include "framework/core/RkStream.h"
#include "framework/core/RkString.h"

CRkArray::CRkArray()
{
    m_items.SetElementSize(sizeof(CRkType*));
}

CRkArray::~CRkArray()
{
    RemoveAll();
}

void CRkArray::Add(CRkType* object)
{
    Insert(GetCount(), object);
}

void CRkArray::AddString(const CRkString& string)
{
    InsertString(GetCount(), string);
}

void CRkArray::Insert(uint32_t i, CRkType* object)
{
    if (!object)
        return;
    const uint32_t count = GetCount();
    if (i > count)
        i = count;
    object->AddRef();
    m_items.InsertElement(i, &object);
}

void CRkArray::InsertString(uint32_t i, const CRkString& string)
{
    CRkString* copy = new CRkString(string);
    Insert(i, copy);
    copy->Release();
}

void CRkArray::RemoveAt(uint32_t i)
{
    CRkType* object = GetAt(i);
    if (!object)
        return;
    // Remove first: the release may run code that looks at the array.
    m_items.RemoveElement(i);
    object->Release();
}

void CRkArray::RemoveAll()
{
    for (uint32_t i = GetCount(); i > 0; --i)
        RemoveAt(i - 1);
}

CRkType* CRkArray::GetAt(uint32_t i) const
{
    if (i >= GetCount())
        return nullptr;
    CRkType* object = nullptr;
    m_items.GetElement(i, &object);
    return object;
}

int32_t CRkArray::Write(CRkStream& stream) const
{
    int32_t err = stream.WriteU32(0);
    if (!err)
        err = stream.WriteU32(GetCount());
    for (uint32_t i = 0; !err && i < GetCount(); ++i)
        err = WriteObject(GetAt(i), &stream);
    return err;
}

int32_t CRkArray::Read(CRkStream& stream)
{
    RemoveAll();
    return ReadCountedItems(stream, [&]() -> int32_t {
        CRkType* object = nullptr;
        if (const int32_t err = ReadObject(&stream, &object))
            return err;
        Add(object);
        object->Release();
        return kStreamOk;
    });
}
