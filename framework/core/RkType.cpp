#include "framework/core/RkType.h"

#include <cstdint>

CRkType* CRkType::AddRef()
{
    ++m_refCount;
    return this;
}

void CRkType::Release()
{
    if (m_refCount > 0)
        --m_refCount;
    if (m_refCount == 0)
        delete this;
}

uint32_t CRkType::Hash() const
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this));
}
