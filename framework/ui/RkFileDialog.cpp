#include "framework/ui/RkFileDialog.h"

#include <memory>

#include "framework/application/RkApplication.h"
#include "framework/application/RkFileMessage.h"
#include "framework/io/File.h"
#include "framework/ui/RkUiPlatform.h"

std::vector<RkFileFilter> BuildFileFilters(uint32_t kind, const std::vector<RkFileType>& types, uint32_t& preselected)
{
    std::vector<RkFileFilter> filters;
    RkFileFilter all{CRkString(u"All Files (*.*)"), CRkString(u"*.*")};
    bool allFirst = kind == kFileDialogOpen && types.size() >= 5;
    bool allLast = !allFirst && types.size() < 5 && !(kind == kFileDialogSave && !types.empty());
    if (allFirst)
        filters.push_back(all);
    for (const RkFileType& type : types) {
        RkFileFilter filter;
        filter.text = type.description;
        filter.text.Append(u" (*");
        filter.text.Append(type.ending);
        filter.text.Append(u")");
        filter.pattern.Assign(u"*");
        filter.pattern.Append(type.ending);
        filters.push_back(filter);
    }
    if (allLast)
        filters.push_back(all);
    preselected = allFirst ? 1 : 0;
    return filters;
}

bool RunFileDialog(uint32_t kind, const CRkString& title, const std::vector<RkFileType>& types,
                   IRkMessageTarget* target, uint16_t confirmMessage, uint16_t cancelMessage)
{
    uint32_t preselected = 0;
    std::vector<RkFileFilter> filters = BuildFileFilters(kind, types, preselected);
    std::unique_ptr<IRkFileDialogImp> dialog(GetUiPlatform().CreateFileDialog());
    CRkString path;
    bool chosen = dialog && dialog->Run(kind, title, filters, preselected, path);
    if (!target)
        target = CRkApplication::Get();
    if (!target)
        return chosen;
    if (chosen) {
        CRkFileMessage message{CFile(path)};
        target->HandleMessage(confirmMessage, &message);
    } else if (cancelMessage != 0) {
        target->HandleMessage(cancelMessage, nullptr);
    }
    return chosen;
}
