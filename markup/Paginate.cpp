#include "markup/Paginate.h"

// Not yet filled: the scanner and the layout come later. Until then no
// page, chapter, link, index, image or note entry is produced and the
// parse never fails.
bool PaginateBook(const CMemBuffer&, const CRkString&, const CMemBuffer&, PageRecList&, PageRecList&,
                  ChapterRecList&, ImageRecList&, LinkRecList&, SidebarSet&, FootnoteSet&, IndexRecList&, uint32_t)
{
    return false;
}
