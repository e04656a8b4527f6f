#include "driver/OutputPaths.h"

#include <memory>

#include "book/RecordNames.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"

std::string ShownPath(const CFile& file, size_t limit)
{
    CRkString path;
    file.GetPath(path);
    std::string shown = DeviceLatinText(path);
    if (shown.size() > limit)
        shown.resize(limit);
    return shown;
}

bool InImageDirectory(const CFile& folder, const CRkString& imageDirectory)
{
    const CFile images(imageDirectory);
    if (!images.IsDirectory())
        return false;
    std::unique_ptr<CFile> at(folder.ResolveLinks());
    while (at) {
        if (at->IsSameFile(images))
            return true;
        std::unique_ptr<CFile> parent(at->GetParent());
        CRkString before, after;
        at->GetPath(before);
        if (parent)
            parent->GetPath(after);
        if (!parent || after.GetLength() >= before.GetLength())
            break;
        at = std::move(parent);
    }
    return false;
}
