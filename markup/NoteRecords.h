// Sidebars and footnotes: the block of them at the end of the source, the
// resolution of the references to them and their own text records.
#pragma once

#include <cstdint>

class CMemBuffer;
class ImageRecList;
class SidebarSet;
class FootnoteSet;

// Cuts the trailing block of sidebars and footnotes off `prepared` into
// `notes` (left empty when the text has none).
void SplitOffNotes(CMemBuffer& prepared, CMemBuffer& notes);

// Finds every referenced sidebar and footnote in the notes block. Returns
// true when a name was not found (reported); no book is written then.
bool ResolveNotes(const CMemBuffer& notes, SidebarSet& sidebars, FootnoteSet& footnotes);

// Build the text records of every sidebar (footnote) into `buffer` and
// their sizes into `recordSizes` (element 0 for the table record). Return
// 0, or non-zero when the records could not be built (reported).
uint32_t BuildSidebarRecords(const CMemBuffer& notes, SidebarSet& sidebars, CMemBuffer& recordSizes,
                             ImageRecList& images, CMemBuffer& buffer);
uint32_t BuildFootnoteRecords(const CMemBuffer& notes, FootnoteSet& footnotes, CMemBuffer& recordSizes,
                              ImageRecList& images, CMemBuffer& buffer);
