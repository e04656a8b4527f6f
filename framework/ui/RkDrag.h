// Messages 31 to 34: what is being dragged over a component, and the
// receiver's answer (accept or refuse).
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkMessage.h"
#include "framework/core/RkString.h"

// Drag item types; "File" is registered first and so is number 3.
enum : uint32_t {
    kDragTypeFile = 3,
};

struct RkDragItem {
    uint32_t type = kDragTypeFile;
    CRkString path; // a file's full path for kDragTypeFile
};

// The number of a drag type name, registered with the platform the first
// time it is asked for ("File" is 3); the names live in the globals.
uint32_t RegisterDragType(const CRkString& name);

class CRkDrag : public CRkMessage {
public:
    explicit CRkDrag(std::vector<RkDragItem> items) : m_items(std::move(items)) {}

    const std::vector<RkDragItem>& GetItems() const { return m_items; }
    bool IsAccepted() const { return m_accepted; }
    void SetAccepted(bool accepted) { m_accepted = accepted; }

private:
    std::vector<RkDragItem> m_items;
    bool m_accepted = false;
};
