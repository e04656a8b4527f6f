#include "framework/core/TypeFactory.h"

#include "framework/core/RkArray.h"
#include "framework/core/RkColor.h"
#include "framework/core/RkData.h"
#include "framework/core/RkRecord.h"
#include "framework/core/RkString.h"
#include "framework/core/TypeHashTable.h"

namespace {

CRkTypeFactoryChain g_fileChain;
CRkTypeFactoryChain* g_chain = nullptr;

} // namespace

CRkType* CRkCoreTypeFactory::Create(uint32_t typeId)
{
    switch (typeId) {
    case kTypeIdData:
        return new CRkData();
    case kTypeIdMemBuffer:
        return new CMemBuffer();
    case kTypeIdString:
        return new CRkString();
    case kTypeIdArray:
        return new CRkArray();
    case kTypeIdRecord:
        return new CRkRecord();
    case kTypeIdTypeHashTable:
        return new CRkTypeHashTable();
    case kTypeIdColor:
        return new CRkColor();
    default:
        return nullptr;
    }
}

void CRkTypeFactoryChain::Push(CRkTypeFactory* factory)
{
    if (factory)
        m_head = new Node{factory, m_head};
}

CRkType* CRkTypeFactoryChain::Create(uint32_t typeId) const
{
    for (const Node* node = m_head; node; node = node->next)
        if (CRkType* object = node->factory->Create(typeId))
            return object;
    return nullptr;
}

void CRkTypeFactoryChain::Clear()
{
    while (m_head) {
        Node* node = m_head;
        m_head = node->next;
        delete node->factory;
        delete node;
    }
}

CRkTypeFactoryChain& GetTypeFactoryChain()
{
    return g_chain ? *g_chain : g_fileChain;
}

void SetTypeFactoryChain(CRkTypeFactoryChain* chain)
{
    g_chain = chain;
}

void RegisterTypeFactory(CRkTypeFactory* factory)
{
    GetTypeFactoryChain().Push(factory);
}
