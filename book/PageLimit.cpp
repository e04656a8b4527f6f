#include "book/PageLimit.h"

#include "book/PageRecList.h"
#include "framework/core/MessageGate.h"
#include "framework/core/Report.h"

bool CheckPageTableSize(const PageRecList& smallFontPages, const PageRecList& largeFontPages)
{
    const uint32_t small = smallFontPages.GetEntryCount();
    const uint32_t large = largeFontPages.GetEntryCount();
    const uint32_t pages = small > large ? small : large;
    if (pages <= kMaxPageEntries)
        return false;
    ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                  "Too many pages (%lu of them) for a .ldb file! Build it without page tables.",
                  static_cast<unsigned long>(pages));
    return true;
}
