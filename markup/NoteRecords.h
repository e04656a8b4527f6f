// Sidebars and footnotes: the block of them at the end of the source, the
// resolution of the references to them and their own text records.
#pragma once

#include <cstdint>

class CMemBuffer;
class CRkString;
class ImageRecList;
class SidebarSet;
class FootnoteSet;

enum class NoteKind { Sidebar, Footnote };

// Cuts the trailing block of sidebars and footnotes off `prepared` into
// `notes` (left empty when the text has none). The block begins at the
// first "<sidebar id=\"" or "<footnote id=\"" (exact bytes), together with
// the line feeds just before it. Returns the block's base: where it began
// in the prepared text, so that its messages point there.
uint32_t SplitOffNotes(CMemBuffer& prepared, CMemBuffer& notes);

// Finds every referenced sidebar and footnote in the notes block (start tag
// compared without regard to ASCII case) and sets each entry's position.
// Returns true when a name was not found (reported); no book is written then.
// Each entry's place becomes its start tag's (notesBase + offset).
bool ResolveNotes(const CMemBuffer& notes, SidebarSet& sidebars, FootnoteSet& footnotes, uint32_t notesBase = 0);

// Build the text records of every sidebar (footnote) into `buffer` and
// their sizes into `recordSizes` (element 0 for the table record), and load
// the images the notes name from `imageDirectory`. Return 0, or non-zero
// when no book must be written (the reason is reported): an entry without
// its end tag, a chunk that does not compress, or an image that is refused
// or cannot be loaded.
// `notesBase` is the block's base (SplitOffNotes), for the messages.
uint32_t BuildSidebarRecords(const CMemBuffer& notes, SidebarSet& sidebars, CMemBuffer& recordSizes,
                             ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer,
                             uint32_t notesBase = 0);
uint32_t BuildFootnoteRecords(const CMemBuffer& notes, FootnoteSet& footnotes, CMemBuffer& recordSizes,
                              ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer,
                              uint32_t notesBase = 0);
uint32_t BuildNoteRecords(NoteKind kind, const CMemBuffer& notes, SidebarSet& set, CMemBuffer& recordSizes,
                          ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer,
                          uint32_t notesBase = 0);

// Warns (outside batch mode) about every code that has no place in a
// sidebar or footnote. The text is built as it is. `textPlace` is where
// the text begins in the prepared text, for the messages' places.
void CheckNoteTags(const uint8_t* text, uint32_t length, const char* name, uint32_t textPlace = 0);

// Probes and lists every image the text of the note `noteName` names with
// \m="name" (or \My, \Mz). Returns true when the text names an image;
// `failed` is set when one was refused (reported): a name of 32 or more
// characters, a failed probe, a name not closed before the note ends.
bool CollectNoteImages(const uint8_t* text, uint32_t length, const char* noteName, ImageRecList& images,
                       const CRkString& imageDirectory, bool& failed, uint32_t textPlace = 0);
