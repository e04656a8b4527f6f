#include "framework/platform/headless/HeadlessFileDialogImp.h"

#include "framework/platform/headless/HeadlessDesktop.h"

bool CRkHeadlessFileDialogImp::Run(uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters,
                                   uint32_t preselected, CRkString& chosenPath)
{
    return CRkHeadlessDesktop::Get().RunFileDialog(kind, title, filters, preselected, chosenPath);
}
