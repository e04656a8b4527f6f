// The text records of the sidebars and footnotes.
#include <algorithm>
#include <string_view>

#include "book/ImageRecList.h"
#include "book/SidebarSet.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "markup/NoteRecords.h"
#include "markup/RecordSplit.h"

namespace {

constexpr uint32_t kMaxNoteRecords = 0xFFFF;

std::string_view EndTag(NoteKind kind)
{
    return kind == NoteKind::Sidebar ? "</sidebar>" : "</footnote>";
}

} // namespace

uint32_t BuildNoteRecords(NoteKind kind, const CMemBuffer& notes, SidebarSet& set, CMemBuffer& recordSizes,
                          ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer)
{
    if (set.IsEmpty())
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(notes.GetData()), notes.GetSize());
    const std::string_view endTag = EndTag(kind);
    recordSizes.AppendU32(0); // the table record's slot

    bool namesImage = false;
    bool imageFailed = false;
    for (uint32_t i = 0; i < set.GetCount(); ++i) {
        set.SetRecordCount(i, 0);
        const size_t start = std::min<size_t>(set.GetPosition(i), text.size());
        const size_t endTagAt = text.find(endTag, start);
        if (endTagAt == std::string_view::npos) {
            ReportError("No end tag for sidebar or footnote named %s was found.", set.GetName(i).c_str());
            continue;
        }
        size_t end = endTagAt;
        while (end > start && text[end - 1] == '\n')
            --end;
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.data() + start);
        const auto length = static_cast<uint32_t>(end - start);

        CheckNoteTags(bytes, length, set.GetName(i).c_str());
        namesImage |= CollectNoteImages(bytes, length, set.GetName(i).c_str(), images, imageDirectory, imageFailed);

        const uint32_t before = recordSizes.GetSize() / 4;
        if (CompressTextRecords(bytes, length, buffer, nullptr, recordSizes) != 0)
            return 1;
        // A count that does not fit is refused later by the record count.
        set.SetRecordCount(i, static_cast<uint16_t>(std::min(recordSizes.GetSize() / 4 - before, kMaxNoteRecords)));
    }

    if (imageFailed)
        return 1;
    if (namesImage && images.Finish() != 0)
        return 1;
    return 0;
}

uint32_t BuildSidebarRecords(const CMemBuffer& notes, SidebarSet& sidebars, CMemBuffer& recordSizes,
                             ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer)
{
    return BuildNoteRecords(NoteKind::Sidebar, notes, sidebars, recordSizes, images, imageDirectory, buffer);
}

uint32_t BuildFootnoteRecords(const CMemBuffer& notes, FootnoteSet& footnotes, CMemBuffer& recordSizes,
                              ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer)
{
    return BuildNoteRecords(NoteKind::Footnote, notes, footnotes, recordSizes, images, imageDirectory, buffer);
}
