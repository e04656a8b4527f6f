#include "markup/NoteRecords.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>

#include "book/SidebarSet.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"

namespace {

constexpr std::string_view kSidebarStart = "<sidebar id=\"";
constexpr std::string_view kFootnoteStart = "<footnote id=\"";

std::string_view View(const CMemBuffer& buffer)
{
    return {reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize()};
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where the text of each name begins, for one kind of start tag: every
// start tag of the block, in order, with ASCII letters folded, the first
// tag of a name winning. A referenced name holds no double quote, so the
// name of a tag is everything up to the next one. One pass over the block
// serves every entry of the set.
class StartTagIndex {
public:
    StartTagIndex(std::string_view folded, std::string_view startTag)
    {
        for (size_t at = folded.find(startTag); at != std::string_view::npos; at = folded.find(startTag, at + 1)) {
            const size_t nameStart = at + startTag.size();
            const size_t quote = folded.find('"', nameStart);
            if (quote == std::string_view::npos)
                break;
            if (quote + 1 < folded.size() && folded[quote + 1] == '>')
                m_textStart.emplace(folded.substr(nameStart, quote - nameStart), Found{at, quote + 2});
        }
    }
    struct Found {
        size_t tag;       // where the start tag begins
        size_t textStart; // the offset just after it; npos when there is none
    };
    Found Find(std::string_view name) const
    {
        const auto it = m_textStart.find(name);
        return it == m_textStart.end() ? Found{0, std::string_view::npos} : it->second;
    }

private:
    std::map<std::string_view, Found> m_textStart;
};

bool ResolveSet(std::string_view notes, std::string_view folded, SidebarSet& set, std::string_view startTag,
                const char* missingFormat, uint32_t notesBase)
{
    if (set.IsEmpty())
        return false;
    const StartTagIndex index(folded, startTag);
    bool missing = false;
    for (uint32_t i = 0; i < set.GetCount(); ++i) {
        const StartTagIndex::Found found = index.Find(set.GetName(i));
        size_t position = found.textStart;
        if (position == std::string_view::npos) {
            ReportMessage(kReportError, MessageRule::Always, set.GetPlace(i), missingFormat, set.GetName(i).c_str());
            missing = true;
            continue;
        }
        set.SetPlace(i, ReportPlace::At(notesBase + found.tag));
        while (position < notes.size() && notes[position] == '\n')
            ++position;
        set.SetPosition(i, static_cast<uint32_t>(position));
    }
    return missing;
}

} // namespace

uint32_t SplitOffNotes(CMemBuffer& prepared, CMemBuffer& notes)
{
    notes.SetSize(0);
    const std::string_view text = View(prepared);
    const size_t start = std::min(text.find(kSidebarStart), text.find(kFootnoteStart));
    if (start == std::string_view::npos)
        return prepared.GetSize();
    size_t cut = start;
    while (cut > 0 && text[cut - 1] == '\n')
        --cut;
    notes.Append(text.data() + cut, static_cast<uint32_t>(text.size() - cut));
    prepared.SetSize(static_cast<uint32_t>(cut));
    return static_cast<uint32_t>(cut);
}

bool ResolveNotes(const CMemBuffer& notes, SidebarSet& sidebars, FootnoteSet& footnotes, uint32_t notesBase)
{
    // Each name once, in name order, however often it was referred to.
    sidebars.SortAndRemoveDuplicates();
    footnotes.SortAndRemoveDuplicates();
    const std::string_view text = View(notes);
    // The start tags are found without regard to ASCII case: search a
    // folded copy (names are stored lower-cased).
    std::string folded;
    if (!sidebars.IsEmpty() || !footnotes.IsEmpty()) {
        folded.assign(text);
        std::transform(folded.begin(), folded.end(), folded.begin(), FoldAscii);
    }
    const bool sidebarMissing =
        ResolveSet(text, folded, sidebars, kSidebarStart, "No sidebar named \"%s\" was found.", notesBase);
    const bool footnoteMissing =
        ResolveSet(text, folded, footnotes, kFootnoteStart, "No footnote named \"%s\" was found.", notesBase);
    return sidebarMissing || footnoteMissing;
}
