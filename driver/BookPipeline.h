// The steps that turn a source text into a book, as one object: the build,
// the tool's `pages`, the benchmark and the fuzz targets all run them here.
//
// The stages, in the order they must be called:
//   Prepare            the three preparation passes over the source
//   SplitNotes         cuts off the trailing block of sidebars and footnotes
//   DivideRecords      the text record ends (TextRecordEnds)
//   StartCompression   compresses the records, on a second thread if it can
//   Paginate           lays the text out in both fonts, filling the lists
//   FinishCompression  waits for the records
//   ResolveNotes       finds every referenced sidebar and footnote
//   BuildNoteRecords   the sidebar and footnote records
//   CheckLimits        the record count and the page-table sizes
//   Assemble           writes the book
// A caller calls only the stages it needs, but none out of order: `pages`
// stops after Paginate without compressing. FinishCompression may also
// come before Paginate (the benchmark times the two apart); the layout's
// messages are then not held back.
//
// Success and failure: a stage that can fail returns true when it
// succeeded and the next stage may run, false when it failed. A stage
// reports its own problems; whoever ran it reports what a failure means for
// the whole (for a build, that no book was written).
#pragma once

#include <cstdint>
#include <memory>

#include "book/BookRecLists.h"
#include "book/BuildLists.h"
#include "driver/TextRecordCompressor.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/ReportPlace.h"
#include "framework/core/RkString.h"
#include "markup/SourcePrep.h"

class CBookInfo;
class CDeferredReports;
class IBookSink;

// What Assemble needs besides the compiled lists.
struct BookIdentity {
    const char* databaseName = nullptr; // NUL-terminated, at most 29 characters
    const CBookInfo* info = nullptr;    // null: all five strings empty
    uint32_t creationTime = 0;          // seconds since 1970-01-01 UTC
    uint32_t randomValue = 0;           // the book header record's value
};

class CBookPipeline {
public:
    // `source` is the whole source as read; `imageDirectory` is where its
    // images lie (empty: none); `options` the build options
    // (ExcludePageTables, Dictionary).
    CBookPipeline(std::unique_ptr<CMemBuffer> source, const CRkString& imageDirectory, uint32_t options);
    ~CBookPipeline();
    CBookPipeline(const CBookPipeline&) = delete;
    CBookPipeline& operator=(const CBookPipeline&) = delete;

    // From here on, until the pipeline goes, the places of messages are
    // offsets of the prepared text traced back to the source as given.
    void Prepare();
    void SplitNotes();
    void DivideRecords();
    // The layout only reads the text and the record ends, so the records
    // are compressed while it runs.
    void StartCompression();
    // While the records are still being compressed, the layout's messages
    // are held back until FinishCompression, so that a record that does not
    // compress ends the build as if it had been compressed first. True when
    // the layout succeeded.
    bool Paginate();
    // True when every record was stored; the messages held back by Paginate
    // then go out. Otherwise they are dropped and the record that did not
    // compress is reported. Throws std::bad_alloc when memory ran out.
    bool FinishCompression();
    // Frees the prepared text, which no later stage reads.
    void ReleasePreparedText();
    bool ResolveNotes();
    // Builds both kinds even when the first fails, so that every problem is
    // reported in one run.
    bool BuildNoteRecords();
    bool CheckLimits();
    // True when the book was written to `sink` (see AssembleBook).
    bool Assemble(IBookSink& sink, const BookIdentity& identity);

    // The prepared text (after SplitNotes without its notes block); empty
    // after ReleasePreparedText.
    const CMemBuffer& PreparedText() const { return *m_prepared; }
    const CMemBuffer& Notes() const { return m_notes; }
    // Where the notes block began in the prepared text (SplitOffNotes).
    uint32_t NotesBase() const { return m_notesBase; }
    const BuildLists& Lists() const { return m_lists; }
    const BookRecLists& RecLists() const { return m_recLists; }

private:
    std::unique_ptr<CMemBuffer> m_prepared;
    CRkString m_imageDirectory;
    uint32_t m_options;
    CPreparedOffsets m_offsets;
    // After the offsets it reads.
    std::unique_ptr<CReportPlaceMapScope> m_placeMap;
    CMemBuffer m_notes;
    uint32_t m_notesBase = 0;
    BuildLists m_lists;
    BookRecLists m_recLists;
    CMemBuffer m_text;
    CMemBuffer m_sidebarText;
    CMemBuffer m_footnoteText;
    // After the buffers it writes into, so that its thread ends first.
    CTextRecordCompressor m_compressor;
    bool m_compressing = false;
    // After the compressor: the held messages go out (or are dropped)
    // before its thread is joined.
    std::unique_ptr<CDeferredReports> m_heldReports;
};
