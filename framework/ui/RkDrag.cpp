#include "framework/ui/RkDrag.h"

#include <utility>
#include <vector>

#include "framework/core/RkGlobalVars.h"
#include "framework/ui/RkDragImp.h"
#include "framework/ui/RkUiPlatform.h"

namespace {

using DragTypes = std::vector<std::pair<CRkString, uint32_t>>;

DragTypes* GetDragTypes()
{
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    if (!globals)
        return nullptr;
    if (!globals->dragTypes.object) {
        globals->dragTypes.object = new DragTypes();
        globals->dragTypes.destroy = [](void* object) { delete static_cast<DragTypes*>(object); };
    }
    return static_cast<DragTypes*>(globals->dragTypes.object);
}

} // namespace

uint32_t RegisterDragType(const CRkString& name)
{
    DragTypes* types = GetDragTypes();
    if (types) {
        for (const auto& [known, number] : *types)
            if (known.Compare(name, true) == 0)
                return number;
    }
    uint32_t number = GetUiPlatform().GetDrag().RegisterType(name);
    if (types)
        types->emplace_back(name, number);
    return number;
}
