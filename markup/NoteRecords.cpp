#include "markup/NoteRecords.h"

// Not yet filled: sidebars and footnotes come later. Until then the
// prepared text is left whole, there is nothing to resolve, and no note
// records are built (the sizes lists stay empty, so the book has none).

void SplitOffNotes(CMemBuffer&, CMemBuffer&) {}

bool ResolveNotes(const CMemBuffer&, SidebarSet&, FootnoteSet&)
{
    return false;
}

uint32_t BuildSidebarRecords(const CMemBuffer&, SidebarSet&, CMemBuffer&, ImageRecList&, CMemBuffer&)
{
    return 0;
}

uint32_t BuildFootnoteRecords(const CMemBuffer&, FootnoteSet&, CMemBuffer&, ImageRecList&, CMemBuffer&)
{
    return 0;
}
