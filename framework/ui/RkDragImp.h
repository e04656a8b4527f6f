// The platform's drag and drop: the names of the data types that can be
// dragged, and which components take drops.
#pragma once

#include <cstdint>

class CRkString;
class IRkComponentImp;

class IRkDragImp {
public:
    virtual ~IRkDragImp() = default;
    // The number of a type name; a name registered again keeps its number.
    virtual uint32_t RegisterType(const CRkString& name) = 0;
    // Makes `target` a drop target (its host then gets the drag messages)
    // or stops it being one.
    virtual void SetDropTarget(IRkComponentImp& target, bool on) = 0;
};
