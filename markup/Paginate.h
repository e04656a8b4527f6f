// Laying the prepared text out page by page in both device fonts, which
// also runs the markup scanner that fills the book's record lists.
#pragma once

#include <cstdint>

class CMemBuffer;
class CRkString;
class PageRecList;
class ChapterRecList;
class ImageRecList;
class LinkRecList;
class SidebarSet;
class FootnoteSet;
class IndexRecList;
class IImageProbe;

// Paginates `prepared` once per font into the page lists and fills the
// other lists from the markup. `textRecordEnds` holds 0 and the end of
// every text record. Returns true when the parse failed (errors were
// reported); no book is written then. `options` are the build options
// (ExcludePageTables, Dictionary). The images are looked up through
// `probe`; by default each name is probed once in a parse.
bool PaginateBook(const CMemBuffer& prepared, const CRkString& imageDirectory, const CMemBuffer& textRecordEnds,
                  PageRecList& smallFontPages, PageRecList& largeFontPages, ChapterRecList& chapters,
                  ImageRecList& images, LinkRecList& links, SidebarSet& sidebars, FootnoteSet& footnotes,
                  IndexRecList& index, uint32_t options, IImageProbe* probe = nullptr);
