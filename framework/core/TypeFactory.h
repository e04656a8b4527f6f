// Creating typed objects from their numeric type ids: factories, the
// process-wide chain that asks them newest first, and the core factory.
#pragma once

#include <cstdint>

class CRkType;

class CRkTypeFactory {
public:
    virtual ~CRkTypeFactory() = default;
    // A new object (reference count 1) of that type, or null.
    virtual CRkType* Create(uint32_t typeId) = 0;
};

// Ids 1-7: CRkData, CMemBuffer, CRkString, CRkArray, CRkRecord,
// CRkTypeHashTable, CRkColor.
class CRkCoreTypeFactory : public CRkTypeFactory {
public:
    CRkType* Create(uint32_t typeId) override;
};

// A singly linked list of factories, newest first. The chain owns the
// factories pushed onto it and deletes them when cleared or destroyed.
class CRkTypeFactoryChain {
public:
    CRkTypeFactoryChain() = default;
    ~CRkTypeFactoryChain() { Clear(); }
    CRkTypeFactoryChain(const CRkTypeFactoryChain&) = delete;
    CRkTypeFactoryChain& operator=(const CRkTypeFactoryChain&) = delete;

    void Push(CRkTypeFactory* factory);
    // The first answer of the factories, newest first; null if none knows the id.
    CRkType* Create(uint32_t typeId) const;
    void Clear();
    bool IsEmpty() const { return m_head == nullptr; }

private:
    struct Node {
        CRkTypeFactory* factory;
        Node* next;
    };
    Node* m_head = nullptr;
};

// The process-wide chain. Until the global variables block owns one, a
// file-level chain serves; the globals attach their own with
// SetTypeFactoryChain(&theirs) and detach with SetTypeFactoryChain(nullptr).
CRkTypeFactoryChain& GetTypeFactoryChain();
void SetTypeFactoryChain(CRkTypeFactoryChain* chain);
// Pushes the factory (taking ownership) at the head of the process chain;
// a null factory is ignored.
void RegisterTypeFactory(CRkTypeFactory* factory);
