#include "driver/BookPipeline.h"

#include <utility>

#include "book/AssembleBook.h"
#include "book/PageLimit.h"
#include "driver/DeferredReports.h"
#include "markup/NoteRecords.h"
#include "markup/Paginate.h"
#include "markup/RecordSplit.h"
#include "markup/SourcePrep.h"

namespace {

// The compressed text grows in steps of this size past its estimate.
constexpr uint32_t kTextGrowth = 1024 * 1024;
// The most memory the layout's held-back messages take.
constexpr size_t kHeldMessageBudget = 8u * 1024 * 1024;

} // namespace

CBookPipeline::CBookPipeline(std::unique_ptr<CMemBuffer> source, const CRkString& imageDirectory, uint32_t options)
    : m_prepared(std::move(source)), m_imageDirectory(imageDirectory), m_options(options), m_text(0, kTextGrowth)
{
    if (!m_prepared)
        m_prepared = std::make_unique<CMemBuffer>();
}

CBookPipeline::~CBookPipeline() = default;

void CBookPipeline::Prepare()
{
    PrepareSourceTextWithOffsets(*m_prepared, m_offsets);
    m_placeMap = std::make_unique<CReportPlaceMapScope>(&m_offsets);
}

void CBookPipeline::SplitNotes()
{
    m_notesBase = SplitOffNotes(*m_prepared, m_notes);
}

void CBookPipeline::DivideRecords()
{
    DivideTextRecords(m_prepared->GetData(), m_prepared->GetSize(), m_lists.textRecordEnds);
}

void CBookPipeline::StartCompression()
{
    m_text.Reserve(CompressedTextCapacity(m_prepared->GetSize()));
    m_compressor.Start(m_prepared->GetData(), m_lists.textRecordEnds, m_text, m_lists.textRecordSizes);
    m_compressing = true;
}

bool CBookPipeline::Paginate()
{
    if (m_compressing) {
        m_heldReports = std::make_unique<CDeferredReports>();
        // A flood of messages does not pile up: past the budget the records
        // are finished first, and the messages then go out as they come.
        m_heldReports->SetBudget(kHeldMessageBudget, [this] { return m_compressor.Wait(); });
    }
    return !PaginateBook(*m_prepared, m_imageDirectory, m_lists.textRecordEnds, m_recLists.smallPages,
                         m_recLists.largePages, m_recLists.chapters, m_recLists.images, m_recLists.links,
                         m_recLists.sidebars, m_recLists.footnotes, m_recLists.index, m_options);
}

bool CBookPipeline::FinishCompression()
{
    m_compressing = false;
    const bool stored = m_compressor.Wait();
    if (m_heldReports) {
        if (stored)
            m_heldReports->Replay();
        else
            m_heldReports->Discard();
        m_heldReports.reset();
    }
    if (!stored)
        m_compressor.ReportFailure();
    return stored;
}

void CBookPipeline::ReleasePreparedText()
{
    m_prepared = std::make_unique<CMemBuffer>();
}

bool CBookPipeline::ResolveNotes()
{
    return !::ResolveNotes(m_notes, m_recLists.sidebars, m_recLists.footnotes, m_notesBase);
}

bool CBookPipeline::BuildNoteRecords()
{
    const uint32_t sidebarResult = BuildSidebarRecords(m_notes, m_recLists.sidebars, m_lists.sidebarRecordSizes,
                                                       m_recLists.images, m_imageDirectory, m_sidebarText, m_notesBase);
    const uint32_t footnoteResult =
        BuildFootnoteRecords(m_notes, m_recLists.footnotes, m_lists.footnoteRecordSizes, m_recLists.images,
                             m_imageDirectory, m_footnoteText, m_notesBase);
    return sidebarResult == 0 && footnoteResult == 0;
}

bool CBookPipeline::CheckLimits()
{
    return !CountBookRecords(m_lists, m_recLists) && !CheckPageTableSize(m_recLists.smallPages, m_recLists.largePages);
}

bool CBookPipeline::Assemble(IBookSink& sink, const BookIdentity& identity)
{
    AssembleInputs inputs;
    inputs.text = &m_text;
    inputs.sidebarText = m_lists.sidebarRecordSizes.GetSize() ? &m_sidebarText : nullptr;
    inputs.footnoteText = m_lists.footnoteRecordSizes.GetSize() ? &m_footnoteText : nullptr;
    inputs.sink = &sink;
    inputs.databaseName = identity.databaseName;
    inputs.info = identity.info;
    inputs.recLists = &m_recLists;
    inputs.buildLists = &m_lists;
    inputs.options = m_options;
    inputs.creationTime = identity.creationTime;
    inputs.randomValue = identity.randomValue;
    return AssembleBook(inputs);
}
