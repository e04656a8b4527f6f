#include "book/AssembleBook.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "book/BookHeaderRecord.h"
#include "book/BookInfo.h"
#include "book/BookOutput.h"
#include "book/BookRecLists.h"
#include "book/BuildLists.h"
#include "book/BuildOptions.h"
#include "book/Container.h"
#include "book/InfoRecList.h"
#include "book/PageLimit.h"
#include "book/RecordNames.h"
#include "book/TextSizeRecList.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"
#include "framework/core/Report.h"
#include "framework/io/File.h"

namespace {

constexpr uint32_t kScratchCapacity = 64000;
// Units of the output's name the temporary file's name starts with.
constexpr uint32_t kTempNameUnits = 32;
constexpr uint32_t kScratchGrowth = 2000;

uint32_t Count32(const CMemBuffer& list)
{
    return list.GetSize() / 4;
}

// Sum of elements [1..] of a size list.
uint64_t SumAfterFirst(const CMemBuffer& list)
{
    uint64_t sum = 0;
    for (uint32_t i = 1; i < Count32(list); ++i)
        sum += list.GetU32(i);
    return sum;
}

// Writes to a sink, remembering the first failure; later writes are skipped.
class CCheckedWriter {
public:
    explicit CCheckedWriter(IBookSink& sink) : m_sink(sink) {}
    void Write(const void* bytes, uint32_t count)
    {
        if (!m_failed && count && !m_sink.Write(bytes, count))
            m_failed = true;
    }
    void Write(const CMemBuffer& buffer) { Write(buffer.GetData(), buffer.GetSize()); }
    void Fail() { m_failed = true; }
    bool Failed() const { return m_failed; }

private:
    IBookSink& m_sink;
    bool m_failed = false;
};

// One section in file order: its records come from a list, or are the
// table record of a note set followed by its text buffer.
struct Section {
    const IRecordList* list = nullptr;
    const SidebarSet* notes = nullptr;
    const CMemBuffer* noteSizes = nullptr;
    const CMemBuffer* noteText = nullptr;
    uint32_t first = 0; // index of its first record
    uint32_t count = 0;
};

// The book file, front to back: docs/ldb-format.md, "The whole file".
// The sections after the text records, in file order.
enum SectionSlot : uint32_t {
    kSmallPageSection,
    kLargePageSection,
    kChapterSection,
    kLinkSection,
    kImageSection,
    kIndexSection,
    kMetadataSection,
    kSidebarSection,
    kFootnoteSection,
    kTextSizeSection,
    kSectionCount
};

// The record sizes of the whole book, in file order, and the first record
// index of every section.
struct Plan {
    std::vector<uint32_t> sizes;
    Section sections[kSectionCount];
};

void PlanListSection(Plan& plan, Section& section, const IRecordList& list)
{
    section.list = &list;
    section.first = static_cast<uint32_t>(plan.sizes.size());
    section.count = list.GetRecordCount();
    for (uint32_t i = 0; i < section.count; ++i)
        plan.sizes.push_back(list.GetRecordSize(i));
}

void PlanNoteSection(Plan& plan, Section& section, const SidebarSet& set, const CMemBuffer& sizes,
                     const CMemBuffer* text)
{
    section.notes = &set;
    section.noteSizes = &sizes;
    section.noteText = text;
    section.first = static_cast<uint32_t>(plan.sizes.size());
    section.count = Count32(sizes);
    if (section.count == 0)
        return;
    plan.sizes.push_back(set.GetTableRecordSize());
    for (uint32_t i = 1; i < section.count; ++i)
        plan.sizes.push_back(sizes.GetU32(i));
}

void ReportWriteError(const IBookSink& sink)
{
    ReportError("An error occurred writing the file %s.", sink.ShownName().c_str());
}

void ReportInconsistent()
{
    ReportError("The record sizes of the book do not match its records; no output file generated.");
}

// Writes the records of one section; false when a record's bytes do not
// have the size planned for it.
bool WriteSection(CCheckedWriter& writer, const Section& section, const Plan& plan, CMemBuffer& scratch)
{
    if (section.list) {
        for (uint32_t i = 0; i < section.count; ++i) {
            scratch.SetSize(0);
            section.list->AppendRecord(i, scratch);
            if (scratch.GetSize() != plan.sizes[section.first + i])
                return false;
            writer.Write(scratch);
        }
        return true;
    }
    if (section.count == 0)
        return true;
    scratch.SetSize(0);
    section.notes->AppendTableRecord(scratch);
    if (scratch.GetSize() != plan.sizes[section.first])
        return false;
    writer.Write(scratch);
    if (section.noteText)
        writer.Write(*section.noteText);
    return true;
}

} // namespace

bool CountBookRecords(const BuildLists& lists, BookRecLists& rec)
{
    if (!rec.index.IsGrouped())
        rec.index.Group();
    uint64_t total = Count32(lists.textRecordSizes);
    total += PageRecordCount(rec.smallPages.GetEntryCount());
    total += PageRecordCount(rec.largePages.GetEntryCount());
    total += rec.chapters.GetRecordCount();
    total += rec.images.GetRecordCount();
    total += rec.links.GetRecordCount();
    total += rec.index.GetRecordCount();
    total += 2;
    total += Count32(lists.sidebarRecordSizes);
    total += Count32(lists.footnoteRecordSizes);
    total += 1;
    if (total >= kMaxBookRecords) {
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "Too many records (%ld of them) for a .ldb file!", static_cast<long>(total));
        return true;
    }
    return false;
}

bool AssembleBook(const AssembleInputs& in)
{
    if (!in.text || (!in.output && !in.sink) || !in.recLists || !in.buildLists)
        return false;
    BookRecLists& rec = *in.recLists;
    const BuildLists& lists = *in.buildLists;
    if (!rec.index.IsGrouped())
        rec.index.Group();
    // The header and the entries hold 16-bit page numbers.
    if (CheckPageTableSize(rec.smallPages, rec.largePages))
        return false;

    // The metadata record: title, author, copyright, publisher, eISBN.
    InfoRecList info;
    const CBookInfo empty;
    const CBookInfo& book = in.info ? *in.info : empty;
    for (const CRkString* field : {&book.title, &book.author, &book.copyright, &book.publisher, &book.eISBN})
        info.Add(DeviceLatinText(*field));
    const TextSizeRecList textSizes(lists.textRecordEnds);

    // Every record's size, in file order.
    Plan plan;
    plan.sizes.push_back(kBookHeaderRecordSize);
    const uint32_t textRecords = Count32(lists.textRecordSizes) ? Count32(lists.textRecordSizes) - 1 : 0;
    for (uint32_t i = 1; i <= textRecords; ++i)
        plan.sizes.push_back(lists.textRecordSizes.GetU32(i));
    Section* s = plan.sections;
    PlanListSection(plan, s[kSmallPageSection], rec.smallPages);
    PlanListSection(plan, s[kLargePageSection], rec.largePages);
    PlanListSection(plan, s[kChapterSection], rec.chapters);
    PlanListSection(plan, s[kLinkSection], rec.links);
    PlanListSection(plan, s[kImageSection], rec.images);
    PlanListSection(plan, s[kIndexSection], rec.index);
    PlanListSection(plan, s[kMetadataSection], info);
    PlanNoteSection(plan, s[kSidebarSection], rec.sidebars, lists.sidebarRecordSizes, in.sidebarText);
    PlanNoteSection(plan, s[kFootnoteSection], rec.footnotes, lists.footnoteRecordSizes, in.footnoteText);
    PlanListSection(plan, s[kTextSizeSection], textSizes);
    plan.sizes.push_back(kEndMarkerSize);

    const uint64_t recordCount = plan.sizes.size();
    if (recordCount > 0xFFFF) {
        ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                      "Too many records (%ld of them) for a .ldb file!", static_cast<long>(recordCount));
        return false;
    }
    // The buffers must hold exactly the records the size lists announce.
    const uint64_t sidebarBytes = in.sidebarText ? in.sidebarText->GetSize() : 0;
    const uint64_t footnoteBytes = in.footnoteText ? in.footnoteText->GetSize() : 0;
    if (SumAfterFirst(lists.textRecordSizes) != in.text->GetSize() ||
        SumAfterFirst(lists.sidebarRecordSizes) != sidebarBytes ||
        SumAfterFirst(lists.footnoteRecordSizes) != footnoteBytes || textSizes.GetTextRecordCount() != textRecords) {
        ReportInconsistent();
        return false;
    }

    // Container header and record list, with the offsets worked out here.
    LDBHeader header;
    if (in.databaseName)
        std::strncpy(header.name, in.databaseName, 31);
    header.attributes = kContainerAttributes;
    header.creationTime = in.creationTime;
    header.modificationTime = in.creationTime + 1;
    header.type = (in.options & Dictionary) ? kDictionaryTypeCode : kBookTypeCode;
    header.creator = kCreatorCode;
    header.recordCount = static_cast<uint16_t>(recordCount);

    CMemBuffer front(FirstRecordOffset(static_cast<uint32_t>(recordCount)) + kBookHeaderRecordSize);
    AppendLDBHeader(header, front);
    uint64_t offset = FirstRecordOffset(static_cast<uint32_t>(recordCount));
    for (uint32_t i = 0; i < recordCount; ++i) {
        if (offset > 0xFFFFFFFFu) {
            ReportMessage(kReportError, MessageRule::Always, ReportPlace::Whole(),
                          "The book is too large for a .ldb file.");
            return false;
        }
        AppendRecordEntry(static_cast<uint32_t>(offset), 0, kFirstUniqueId + i, front);
        offset += plan.sizes[i];
    }
    front.AppendU16BE(0);

    // Book header record: the counts and first indexes of the sections.
    BookHeaderRecord v;
    v.features = kBaseFeatures | ((in.options & Dictionary) ? kDictionaryFeature : 0);
    v.smallEntries = static_cast<uint16_t>(rec.smallPages.GetEntryCount());
    v.largeEntries = static_cast<uint16_t>(rec.largePages.GetEntryCount());
    v.firstAfterText = static_cast<uint16_t>(textRecords + 1);
    v.smallRecords = static_cast<uint16_t>(s[kSmallPageSection].count);
    v.firstSmall = static_cast<uint16_t>(s[kSmallPageSection].first);
    v.largeRecords = static_cast<uint16_t>(s[kLargePageSection].count);
    v.firstLarge = static_cast<uint16_t>(s[kLargePageSection].first);
    v.chapterCount = static_cast<uint16_t>(s[kChapterSection].count);
    v.firstChapter = static_cast<uint16_t>(s[kChapterSection].first);
    v.linkCount = static_cast<uint16_t>(s[kLinkSection].count);
    v.firstLink = static_cast<uint16_t>(s[kLinkSection].first);
    v.imageCount = static_cast<uint16_t>(s[kImageSection].count);
    v.firstImage = static_cast<uint16_t>(s[kImageSection].first);
    v.indexCount = static_cast<uint16_t>(s[kIndexSection].count);
    v.firstIndex = static_cast<uint16_t>(s[kIndexSection].first);
    v.metadataIndex = static_cast<uint16_t>(s[kMetadataSection].first);
    v.sidebarCount = static_cast<uint16_t>(s[kSidebarSection].count);
    v.firstSidebar = static_cast<uint16_t>(s[kSidebarSection].first);
    v.footnoteCount = static_cast<uint16_t>(s[kFootnoteSection].count);
    v.firstFootnote = static_cast<uint16_t>(s[kFootnoteSection].first);
    v.textSizeIndex = static_cast<uint16_t>(s[kTextSizeSection].first);
    v.randomValue = in.randomValue;
    AppendBookHeaderRecord(v, front);

    // Without a sink of the caller's, a temporary file beside the output
    // takes the book and replaces the output only when whole.
    std::unique_ptr<CBookFileOutput> fileOutput;
    IBookSink* sink = in.sink;
    if (!sink) {
        fileOutput = std::make_unique<CBookFileOutput>(*in.output);
        if (fileOutput->Prepare() != BookOutputCheck::Ready) {
            ReportWriteError(*fileOutput);
            return false;
        }
        sink = fileOutput.get();
    }
    CCheckedWriter writer(*sink);
    writer.Write(front);
    writer.Write(*in.text);
    CMemBuffer scratch(kScratchCapacity, kScratchGrowth);
    bool consistent = true;
    for (const Section& section : plan.sections) {
        if (!WriteSection(writer, section, plan, scratch)) {
            consistent = false;
            break;
        }
    }
    scratch.SetSize(0);
    AppendEndMarker(scratch);
    writer.Write(scratch);

    if (!consistent || writer.Failed() || !sink->Finish()) {
        if (fileOutput)
            fileOutput->Abandon();
        if (consistent)
            ReportWriteError(*sink);
        else
            ReportInconsistent();
        return false;
    }
    ReportStatus("Done.");
    return true;
}
