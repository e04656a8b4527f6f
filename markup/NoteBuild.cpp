// The text records of the sidebars and footnotes.
#include <algorithm>
#include <string_view>
#include <vector>

#include "book/ImageRecList.h"
#include "book/SidebarSet.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"
#include "markup/NoteRecords.h"
#include "markup/RecordSplit.h"

namespace {

constexpr uint32_t kMaxNoteRecords = 0xFFFF;

std::string_view EndTag(NoteKind kind)
{
    return kind == NoteKind::Sidebar ? "</sidebar>" : "</footnote>";
}

std::string_view StartTag(NoteKind kind)
{
    return kind == NoteKind::Sidebar ? "<sidebar id=\"" : "<footnote id=\"";
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithFolded(std::string_view text, size_t at, std::string_view lowerTag)
{
    if (text.size() - at < lowerTag.size())
        return false;
    for (size_t k = 0; k < lowerTag.size(); ++k)
        if (FoldAscii(text[at + k]) != lowerTag[k])
            return false;
    return true;
}

// Where every end tag of the block begins (exact bytes), in order.
std::vector<size_t> FindEndTags(std::string_view text, std::string_view endTag)
{
    std::vector<size_t> found;
    for (size_t at = text.find(endTag); at != std::string_view::npos; at = text.find(endTag, at + endTag.size()))
        found.push_back(at);
    return found;
}

// Where every whole start tag of the block begins, in order: the tag's
// opening, its name up to the next double quote, and ">", found without
// regard to ASCII case, as the references are resolved. Each byte is
// looked at a bounded number of times: the quote search of one tag stops
// at the latest at the quote that ends the next tag's opening.
std::vector<size_t> FindStartTags(std::string_view text, std::string_view startTag)
{
    std::vector<size_t> found;
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        if (!StartsWithFolded(text, at, startTag))
            continue;
        const size_t quote = text.find('"', at + startTag.size());
        if (quote == std::string_view::npos)
            break;
        if (quote + 1 < text.size() && text[quote + 1] == '>')
            found.push_back(at);
    }
    return found;
}

// The first offset of `offsets` at or after `from`; npos when there is none.
size_t FirstFrom(const std::vector<size_t>& offsets, size_t from)
{
    const auto it = std::lower_bound(offsets.begin(), offsets.end(), from);
    return it == offsets.end() ? std::string_view::npos : *it;
}

} // namespace

uint32_t BuildNoteRecords(NoteKind kind, const CMemBuffer& notes, SidebarSet& set, CMemBuffer& recordSizes,
                          ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer, uint32_t notesBase)
{
    if (set.IsEmpty())
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(notes.GetData()), notes.GetSize());
    const std::string_view endTag = EndTag(kind);
    recordSizes.AppendU32(0); // the table record's slot

    // The tags are found once for all entries, so that the time stays
    // linear in the block however many entries lack an end tag.
    const std::vector<size_t> endTags = FindEndTags(text, endTag);
    const std::vector<size_t> startTags = FindStartTags(text, StartTag(kind));

    bool namesImage = false;
    bool imageFailed = false;
    bool endTagMissing = false;
    for (uint32_t i = 0; i < set.GetCount(); ++i) {
        set.SetRecordCount(i, 0);
        const size_t start = std::min<size_t>(set.GetPosition(i), text.size());
        const size_t endTagAt = FirstFrom(endTags, start);
        // An end tag after the next start tag of this kind belongs to that
        // tag: this entry has none. So no two texts of one kind overlap.
        const size_t nextStart = FirstFrom(startTags, start);
        if (endTagAt == std::string_view::npos || nextStart < endTagAt) {
            ReportMessage(kReportError, MessageRule::Always, set.GetPlace(i),
                          "No end tag for sidebar or footnote named %s was found.", set.GetName(i).c_str());
            endTagMissing = true;
            continue;
        }
        size_t end = endTagAt;
        while (end > start && text[end - 1] == '\n')
            --end;
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.data() + start);
        const auto length = static_cast<uint32_t>(end - start);

        const auto textPlace = static_cast<uint32_t>(notesBase + start);
        CheckNoteTags(bytes, length, set.GetName(i).c_str(), textPlace);
        namesImage |=
            CollectNoteImages(bytes, length, set.GetName(i).c_str(), images, imageDirectory, imageFailed, textPlace);

        const uint32_t before = recordSizes.GetSize() / 4;
        if (CompressTextRecords(bytes, length, buffer, nullptr, recordSizes, textPlace) != 0)
            return 1;
        // A count that does not fit is refused later by the record count.
        set.SetRecordCount(i, static_cast<uint16_t>(std::min(recordSizes.GetSize() / 4 - before, kMaxNoteRecords)));
    }

    if (imageFailed)
        return 1;
    // The images are loaded even when an end tag is missing, so that their
    // problems show in the same run.
    const bool loadFailed = namesImage && images.Finish() != 0;
    return loadFailed || endTagMissing ? 1 : 0;
}

uint32_t BuildSidebarRecords(const CMemBuffer& notes, SidebarSet& sidebars, CMemBuffer& recordSizes,
                             ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer,
                             uint32_t notesBase)
{
    return BuildNoteRecords(NoteKind::Sidebar, notes, sidebars, recordSizes, images, imageDirectory, buffer, notesBase);
}

uint32_t BuildFootnoteRecords(const CMemBuffer& notes, FootnoteSet& footnotes, CMemBuffer& recordSizes,
                              ImageRecList& images, const CRkString& imageDirectory, CMemBuffer& buffer,
                              uint32_t notesBase)
{
    return BuildNoteRecords(NoteKind::Footnote, notes, footnotes, recordSizes, images, imageDirectory, buffer,
                            notesBase);
}
